#pragma once
#include "app/CGridloomDoc.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

// A document on a profile in a temporary folder, with scripted prompts.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("orlimber-doc-" + std::to_string(::getpid()) + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        profile_ = std::make_unique<CProfile>((dir_ / "OrlimberSTD.ini").string());
    }
    void TearDown() override {
        doc_.reset();
        std::filesystem::remove_all(dir_);
    }

    CProfile& Profile() { return *profile_; }
    std::string ProfilePath() const { return (dir_ / "OrlimberSTD.ini").string(); }

    // A fresh document of `kind` with `columns` x `rows` cells, built as File New does.
    CGridloomDoc& NewDoc(int kind = 0, int columns = 10, int rows = 10) {
        doc_ = std::make_unique<CGridloomDoc>(*profile_);
        doc_->Settings().kind = kind;
        doc_->Settings().columns = columns;
        doc_->Settings().rows = rows;
        doc_->OnFileNew();
        return *doc_;
    }

    ScriptedMessageBox prompts_;
    IMessageBox::Installation installed_{prompts_};
    std::filesystem::path dir_;
    std::unique_ptr<CProfile> profile_;
    std::unique_ptr<CGridloomDoc> doc_;
};

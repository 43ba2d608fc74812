#pragma once
#include "document/CGridloomDoc.h"
#include "platform/CProfile.h"
#include "platform/MessageBox.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

// A document on a profile in a temporary folder, with scripted prompts.
class DocTest : public ::testing::Test {
protected:
    void SetUp() override { profile_ = std::make_unique<CProfile>(ProfilePath()); }
    void TearDown() override { doc_.reset(); }

    CProfile& Profile() { return *profile_; }
    std::string ProfilePath() const { return folder_.File("OrlimberSTD.ini"); }

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
    TempFolder folder_{"doc"};
    const std::filesystem::path& dir_ = folder_.Path();
    std::unique_ptr<CProfile> profile_;
    std::unique_ptr<CGridloomDoc> doc_;
};

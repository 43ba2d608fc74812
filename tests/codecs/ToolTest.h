#pragma once
#include "ExternalTools.h"

#include "image/core/CRaster.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

// A test that compares with the independent picture tools: it is skipped unless every tool it
// names is installed, and gets a folder of its own for the files they read and write.
class ToolTest : public ::testing::Test {
protected:
    explicit ToolTest(std::vector<std::string> tools) : tools_(std::move(tools)) {}

    // Derived fixtures call this first and return when the test was skipped.
    void SetUp() override;

    std::string Write(const std::string& name, const std::vector<BYTE>& bytes) const;
    // Runs a command that must succeed.
    static void Run(const std::string& command);
    // The PNM picture or the text a command prints (empty, with a failure, when it fails).
    static ExternalTools::Pnm Read(const std::string& command);
    static std::string Text(const std::string& command);

    std::string dir_;

private:
    std::vector<std::string> tools_;
    std::optional<TempFolder> folder_;
};

// Largest channel difference between a picture and a reference read from the top (1000 when
// the sizes differ), and the same for its alpha (missing alpha reads as opaque).
int MaxDifference(const CRaster& image, const ExternalTools::Pnm& reference);
int MaxAlphaDifference(const CRaster& image, const ExternalTools::Pnm& alpha);
// The picture as a PNM reference (rows from the top).
ExternalTools::Pnm ToPnm(const CRaster& image);

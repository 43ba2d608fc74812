#include "ToolTest.h"

#include <algorithm>
#include <cstdlib>

using ExternalTools::Pnm;

void ToolTest::SetUp() {
    for (const std::string& tool : tools_) {
        if (!ExternalTools::Have(tool))
            GTEST_SKIP() << tool << " missing (scripts/setup.sh installs it)";
    }
    folder_.emplace("codecs");
    dir_ = folder_->Path().string();
}

std::string ToolTest::Write(const std::string& name, const std::vector<BYTE>& bytes) const {
    const std::string path = dir_ + "/" + name;
    ExternalTools::WriteFile(path, bytes);
    return path;
}

void ToolTest::Run(const std::string& command) {
    ASSERT_TRUE(ExternalTools::Run(command)) << command;
}

Pnm ToolTest::Read(const std::string& command) {
    const auto out = ExternalTools::Run(command);
    EXPECT_TRUE(out) << command;
    const auto pnm = out ? ExternalTools::ParsePnm(*out) : std::nullopt;
    EXPECT_TRUE(pnm) << command;
    return pnm.value_or(Pnm{});
}

std::string ToolTest::Text(const std::string& command) {
    const auto out = ExternalTools::Run(command);
    EXPECT_TRUE(out) << command;
    return out ? std::string(out->begin(), out->end()) : std::string();
}

int MaxDifference(const CRaster& image, const Pnm& reference) {
    if (image.GetWidth() != reference.width || image.GetHeight() != reference.height)
        return 1000;
    int worst = 0;
    for (DWORD top = 0; top < reference.height; ++top) {
        for (DWORD x = 0; x < reference.width; ++x) {
            const RGBQUAD c = image.GetPixelColor(LONG(x), LONG(reference.height - 1 - top), false);
            worst = std::max({worst, std::abs(c.rgbRed - reference.Red(x, top)),
                              std::abs(c.rgbGreen - reference.Green(x, top)),
                              std::abs(c.rgbBlue - reference.Blue(x, top))});
        }
    }
    return worst;
}

int MaxAlphaDifference(const CRaster& image, const Pnm& alpha) {
    if (image.GetWidth() != alpha.width || image.GetHeight() != alpha.height)
        return 1000;
    int worst = 0;
    for (DWORD top = 0; top < alpha.height; ++top) {
        for (DWORD x = 0; x < alpha.width; ++x) {
            const LONG y = LONG(alpha.height - 1 - top);
            const int ours = image.IsAlphaValid() ? image.GetAlpha(LONG(x), y) : 255;
            worst = std::max(worst, std::abs(ours - alpha.Red(x, top)));
        }
    }
    return worst;
}

Pnm ToPnm(const CRaster& image) {
    Pnm p;
    p.width = image.GetWidth();
    p.height = image.GetHeight();
    p.rgb.reserve(std::size_t{p.width} * p.height * 3);
    for (DWORD top = 0; top < p.height; ++top) {
        for (DWORD x = 0; x < p.width; ++x) {
            const RGBQUAD c = image.GetPixelColor(LONG(x), LONG(p.height - 1 - top), false);
            p.rgb.insert(p.rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    }
    return p;
}

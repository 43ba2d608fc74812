#include "tests/support/TempFolder.h"

#include "view/GestureHelpDocument.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Output(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen(command.c_str(), "r"), ::pclose);
    if (!pipe)
        return out;
    std::array<char, 512> buffer{};
    while (std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe.get()))
        out += buffer.data();
    return out;
}

int Count(const std::string& text, const std::string& word) {
    int n = 0;
    for (std::size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + 1))
        ++n;
    return n;
}

} // namespace

// Poppler reads the document back: its pages, its rows' words, and the shapes drawn.
TEST(GestureHelp, OneRowPerGestureWithItsShapeLayerAndCommand) {
    const TempFolder folder("gesture-help");
    const std::string pdf = folder.File("Orlimber - Mouse Gestures.pdf");
    ASSERT_TRUE(GestureHelpDocument::WritePdf(pdf));

    const std::string info = Output("pdfinfo '" + pdf + "'");
    const std::size_t pages = info.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << info;
    EXPECT_EQ(std::stoi(info.substr(pages + 6)), 4) << info;
    EXPECT_NE(info.find("Orlimber - Mouse Gestures\n"), std::string::npos) << info;

    const std::string text = Output("pdftotext -layout '" + pdf + "' -");
    EXPECT_EQ(Count(text, "any layer"), 6) << text;
    EXPECT_EQ(Count(text, "background"), 7 + 2);
    EXPECT_EQ(Count(text, "foreground"), 7 + 2); // and two commands that name the layer
    EXPECT_EQ(Count(text, "Make the maze layer active"), 5);
    EXPECT_EQ(Count(text, "Print"), 1);
    EXPECT_EQ(Count(text, "reverse-backslash"), 1);
    EXPECT_EQ(Count(text, "Grow From Selector tool"), 1);
    EXPECT_EQ(Count(text, "Command"), 4); // each page's heading

    // The first row's shape (the circle), enlarged to 100 pixels: a black frame around grey.
    const std::string base = folder.File("page");
    Output("pdftoppm -r 150 -f 1 -l 1 '" + pdf + "' '" + base + "'");
    std::ifstream in(base + "-1.ppm", std::ios::binary);
    std::string magic;
    int width = 0, height = 0, maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    ASSERT_EQ(magic, "P6");
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    auto at = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
        return std::array<int, 3>{rgb[i], rgb[i + 1], rgb[i + 2]};
    };
    const int left = 150, top = 150 + 130;
    EXPECT_EQ(at(left + 1, top + 50), (std::array<int, 3>{0, 0, 0}));
    EXPECT_EQ(at(left + 6, top + 6), (std::array<int, 3>{200, 200, 200}));
    EXPECT_EQ(at(left - 10, top + 50), (std::array<int, 3>{255, 255, 255}));
    // Somewhere on the circle, the red of its first segments.
    bool red = false;
    for (int y = top; y < top + 100 && !red; ++y)
        for (int x = left; x < left + 100 && !red; ++x)
            red = at(x, y)[0] > 200 && at(x, y)[1] < 60 && at(x, y)[2] < 100;
    EXPECT_TRUE(red);
}

TEST(GestureHelp, AFolderThatCannotBeWrittenIsAFailure) {
    EXPECT_FALSE(GestureHelpDocument::WritePdf("/nonexistent-folder/help.pdf"));
}

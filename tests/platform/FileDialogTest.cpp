#include "platform/FileDialog.h"

#include <gtest/gtest.h>

TEST(FileDialog, FiltersSplitIntoPairsUpToTheTerminator) {
    const auto e = IFileDialog::ParseFilter("Mazes (*.wkz)|*.wkz|All Files (*.*)|*.*||");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_EQ(e[0].text, "Mazes (*.wkz)");
    EXPECT_EQ(e[0].pattern, "*.wkz");
    EXPECT_EQ(e[1].pattern, "*.*");
    EXPECT_EQ(IFileDialog::ParseFilter("A|*.a").size(), 1u);
    EXPECT_TRUE(IFileDialog::ParseFilter("").empty());
    EXPECT_TRUE(IFileDialog::ParseFilter("no pattern").empty());
}

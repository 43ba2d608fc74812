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

TEST(FileDialog, ScriptedAnswersThenCancelsAndHeadlessCancels) {
    EXPECT_FALSE(IFileDialog::Current().Show({}).ok);
    ScriptedFileDialog scripted;
    IFileDialog::Installation use(scripted);
    scripted.Answer("/tmp/a.wkz", 2);
    FileDialogRequest save;
    save.open = false;
    const FileDialogAnswer a = IFileDialog::Current().Show(save);
    EXPECT_TRUE(a.ok);
    EXPECT_EQ(a.path, "/tmp/a.wkz");
    EXPECT_EQ(a.filterIndex, 2);
    EXPECT_FALSE(IFileDialog::Current().Show(save).ok);
    ASSERT_EQ(scripted.Requests().size(), 2u);
    EXPECT_FALSE(scripted.Requests()[0].open);
}

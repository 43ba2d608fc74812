#include "net/FileDownload.h"
#include "net/CWebGrab.h"
#include "net/IConnectivity.h"
#include "platform/MessageBox.h"
#include "tests/support/TestHttpServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace {

struct ScriptedNet : IConnectivity {
    bool IsConnected(int force) override {
        asked.push_back(force);
        return answers.empty() ? false : [this] {
            const bool a = answers.front();
            answers.erase(answers.begin());
            return a;
        }();
    }
    std::vector<bool> answers;
    std::vector<int> asked;
};

std::string Read(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class FileDownloadTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("orlimber-download-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::filesystem::path dir_;
    ScriptedMessageBox box_;
    IMessageBox::Installation installed_{box_};
};

} // namespace

TEST_F(FileDownloadTest, OnlyWholeAnswersAreWrittenLessTheirLastByte) {
    TestHttpServer server;
    TestHttpServer::Route file;
    file.body = std::string("GIF89a\0\xff data", 13) + "!";
    server.Add("/p/a%20mask.gif", file);
    ScriptedNet net;
    net.answers = {true, true, true, true};
    CWebGrab grab;
    FileDownload download(net, grab);

    const std::string target = (dir_ / "a.gif").string();
    EXPECT_EQ(download.Fetch(server.Url("/p/a mask.gif"), "MASK", target), target);
    EXPECT_EQ(Read(target), file.body.substr(0, file.body.size() - 1));
    EXPECT_EQ(download.Length(), 13u);
    EXPECT_EQ(server.Requests().back().path, "/p/a%20mask.gif");

    // A missing file or a dead host leave the old file alone.
    EXPECT_EQ(download.Fetch(server.Url("/p/none.gif"), "MASK", target), "");
    EXPECT_EQ(download.Error(), "The server answered 404");
    EXPECT_EQ(Read(target), file.body.substr(0, file.body.size() - 1));
    EXPECT_EQ(download.Fetch("http://127.0.0.1:1/x", "MASK", target), "");
    EXPECT_FALSE(download.Error().empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);

    const std::string temp = download.Fetch(server.Url("/p/a mask.gif"), "MASK", "TEMP");
    ASSERT_FALSE(temp.empty());
    EXPECT_EQ(std::filesystem::path(temp).filename().string().rfind("MASK", 0), 0u);
    EXPECT_EQ(Read(temp), file.body.substr(0, file.body.size() - 1));
    std::filesystem::remove(temp);
    EXPECT_TRUE(box_.ShownBoxes().empty());
}

TEST_F(FileDownloadTest, OfflineTheUserIsAskedABoundedNumberOfTimes) {
    ScriptedNet net;
    CWebGrab grab;
    FileDownload download(net, grab);
    const std::string target = (dir_ / "x").string();
    EXPECT_EQ(download.Fetch("http://127.0.0.1:1/x", "T", target), "");
    EXPECT_EQ(box_.ShownBoxes().size(), size_t(FileDownload::kMaxConnectionPrompts));
    EXPECT_EQ(box_.ShownBoxes()[0].text, FileDownload::kNoConnectionText);
    EXPECT_EQ(net.asked, (std::vector<int>{0, 1, 1, 1}));

    box_.Clear();
    net.asked.clear();
    box_.Answer(IDCANCEL);
    EXPECT_EQ(download.Fetch("http://127.0.0.1:1/x", "T", target), "");
    EXPECT_EQ(box_.ShownBoxes().size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(target));
}

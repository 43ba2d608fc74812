#include "platform/CProfile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ProfileTest : public ::testing::Test {
protected:
    TempFolder folder_{"profile"};
    const std::filesystem::path& dir_ = folder_.Path();
    std::string path_ = (dir_ / "Orlimber" / "OrlimberSTD.ini").string();
};

} // namespace

TEST_F(ProfileTest, DefaultPathFollowsXdgConfigHome) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_CONFIG_HOME", dir_.c_str(), 1);
    EXPECT_EQ(CProfile::DefaultPath(), path_);
    if (old)
        ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
}

TEST_F(ProfileTest, ValuesWrittenByOneProcessAreReadByAnother) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CProfile p(path_);
        const bool ok = p.WriteProfileInt("size", "WIDTH", 42) &&
                        p.WriteProfileString("install", "path", "/opt/or limber/\nline2\\") &&
                        p.WriteProfileBinary("FONT", "LOGFONT", {0, 1, 0xFE, 0xFF}) &&
                        p.WriteProfileInt("size", "HEIGHT", -7);
        ::_exit(ok ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    CProfile p(path_);
    EXPECT_EQ(p.GetProfileInt("size", "WIDTH", 0), 42);
    EXPECT_EQ(p.GetProfileInt("size", "HEIGHT", 0), -7);
    EXPECT_EQ(p.GetProfileInt("size", "MISSING", 5), 5);
    EXPECT_EQ(p.GetProfileString("install", "path"), "/opt/or limber/\nline2\\");
    std::vector<BYTE> bytes;
    ASSERT_TRUE(p.GetProfileBinary("FONT", "LOGFONT", bytes));
    EXPECT_EQ(bytes, (std::vector<BYTE>{0, 1, 0xFE, 0xFF}));
    EXPECT_FALSE(p.GetProfileBinary("size", "WIDTH", bytes));
}

TEST_F(ProfileTest, DamagedFileStartsFromDefaults) {
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    {
        std::ofstream out(path_);
        out << "[size]\nWIDTH=int:12\ngarbage line\n";
    }
    CProfile p(path_);
    EXPECT_EQ(p.GetProfileInt("size", "WIDTH", 3), 3);
    // Writing repairs the file.
    EXPECT_TRUE(p.WriteProfileInt("size", "WIDTH", 9));
    EXPECT_EQ(CProfile(path_).GetProfileInt("size", "WIDTH", 3), 9);
}

TEST_F(ProfileTest, DamagedFileIsKeptAsideAndReportedOnce) {
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(path_).parent_path());
    const std::string bad = path_ + ".bad";
    { std::ofstream(bad) << "an older damaged profile"; }
    const std::string damaged = "[size]\nWIDTH=int:12\ngarbage line\n";
    { std::ofstream(path_) << damaged; }

    CProfile p(path_);
    EXPECT_EQ(p.SetAsidePath(), bad);
    EXPECT_FALSE(fs::exists(path_));
    std::ifstream kept(bad);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
    const std::string notice = p.TakeSetAsideNotice();
    EXPECT_NE(notice.find(bad), std::string::npos) << notice;
    EXPECT_NE(notice.find("line 3"), std::string::npos) << notice;
    EXPECT_EQ(p.TakeSetAsideNotice(), "");
    // The next write starts a good file; the damaged one stays aside.
    EXPECT_TRUE(p.WriteProfileInt("size", "WIDTH", 9));
    EXPECT_EQ(CProfile(path_).TakeSetAsideNotice(), "");
    EXPECT_TRUE(fs::exists(bad));

    // A profile too large to be one is not read at all.
    { std::ofstream(path_) << "[size]\n"; }
    fs::resize_file(path_, CProfile::kMaxBytes + 1);
    CProfile large(path_);
    EXPECT_EQ(large.GetProfileInt("size", "WIDTH", 3), 3);
    EXPECT_NE(large.TakeSetAsideNotice().find("larger than"), std::string::npos);
    EXPECT_EQ(fs::file_size(bad), CProfile::kMaxBytes + 1);

    // A good profile is read as ever and reports nothing.
    CProfile fresh(path_);
    EXPECT_TRUE(fresh.TakeSetAsideNotice().empty());
    EXPECT_TRUE(fresh.SetAsidePath().empty());
}

// A value the file cannot hold drops the whole file, as a garbage line does.
TEST_F(ProfileTest, MalformedValuesAreRefused) {
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path());
    for (const char* bad :
         {"X=int:12a", "X=hex:0g", "X=hex:abc", "X=real:1.5", "X=str:tab\\q", "=int:1", "X=int"}) {
        {
            std::ofstream out(path_);
            out << "[size]\nWIDTH=int:12\n" << bad << "\n";
        }
        EXPECT_EQ(CProfile(path_).GetProfileInt("size", "WIDTH", 3), 3) << bad;
    }
    {
        std::ofstream out(path_);
        out << "[size]\nWIDTH=int:12\nX=hex:0aFf\n";
    }
    std::vector<BYTE> bytes;
    ASSERT_TRUE(CProfile(path_).GetProfileBinary("size", "X", bytes));
    EXPECT_EQ(bytes, (std::vector<BYTE>{0x0A, 0xFF}));
}

TEST_F(ProfileTest, NumbersStoredAsTextStillRead) {
    CProfile p(path_);
    p.WriteProfileString("Settings", "SEED", "123");
    EXPECT_EQ(p.GetProfileInt("Settings", "SEED", 0), 123);
    p.WriteProfileString("Settings", "SEED", "12x");
    EXPECT_EQ(p.GetProfileInt("Settings", "SEED", 4), 4);
}

TEST_F(ProfileTest, BatchWritesOnceWhenTheGroupEnds) {
    CProfile p(path_);
    {
        CProfile::Batch outer(p);
        p.WriteProfileInt("size", "cellx", 10);
        {
            CProfile::Batch inner(p);
            p.WriteProfileInt("size", "celly", 20);
        }
        // Still held back: another reader sees nothing yet.
        EXPECT_EQ(CProfile(path_).GetProfileInt("size", "cellx", -1), -1);
        EXPECT_EQ(p.GetProfileInt("size", "celly", -1), 20);
    }
    CProfile reread(path_);
    EXPECT_EQ(reread.GetProfileInt("size", "cellx", -1), 10);
    EXPECT_EQ(reread.GetProfileInt("size", "celly", -1), 20);
}

#include "image/core/CRasterIOFile.h"
#include "image/core/CRasterMemFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

TEST(MemFile, GrowsInSixtyFourKibSteps) {
    CRasterMemFile f;
    EXPECT_EQ(f.Write("x", 1, 1), 0u); // not open yet
    ASSERT_TRUE(f.Open());
    EXPECT_FALSE(f.Open());
    const std::string ten(10, 'a');
    EXPECT_EQ(f.Write(ten.data(), 1, 10), 10u);
    EXPECT_EQ(f.Capacity(), 65536);
    EXPECT_EQ(f.Size(), 10);
    EXPECT_EQ(f.Tell(), 10);
    std::vector<BYTE> big(65536 - 10, 'b');
    EXPECT_EQ(f.Write(big.data(), 2, big.size() / 2), big.size() / 2);
    EXPECT_EQ(f.Size(), 65536);
    EXPECT_EQ(f.Capacity(), 65536); // ending exactly at the capacity does not grow
    EXPECT_TRUE(f.PutC('c'));
    EXPECT_EQ(f.Capacity(), 131072);
    EXPECT_EQ(f.Write(nullptr, 1, 1), 0u);
    EXPECT_EQ(f.Write(ten.data(), 0, 10), 0u);
    EXPECT_EQ(f.Write(ten.data(), SIZE_MAX, 2), 0u); // size x count overflows

    std::vector<BYTE> out = f.DetachBuffer();
    ASSERT_EQ(out.size(), 65537u);
    EXPECT_EQ(out[0], 'a');
    EXPECT_EQ(out[65536], 'c');
    EXPECT_EQ(f.GetBuffer(), nullptr);
    EXPECT_EQ(f.Size(), -1);
}

TEST(MemFile, ReadSeekAndEndConditions) {
    const BYTE data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    CRasterMemFile f(data, sizeof data);
    BYTE buf[12] = {};
    EXPECT_EQ(f.Read(buf, 4, 3), 2u); // 10 bytes copied, two whole elements
    EXPECT_EQ(buf[9], 9);
    EXPECT_TRUE(f.Eof());
    EXPECT_TRUE(f.Seek(-5, 0));
    EXPECT_EQ(f.Tell(), 0);
    EXPECT_FALSE(f.Seek(0, 3));
    EXPECT_TRUE(f.Seek(-2, 2));
    EXPECT_EQ(f.GetC(), 8);
    EXPECT_TRUE(f.Seek(1, 1));
    EXPECT_EQ(f.GetC(), -1);
    EXPECT_EQ(f.Error(), 0);
    EXPECT_TRUE(f.Seek(20, 0));
    EXPECT_EQ(f.Read(buf, 1, 1), 0u);
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.Error(), 1);
    EXPECT_EQ(f.Scanf("%d", buf), 0);

    CRasterMemFile none;
    EXPECT_FALSE(none.Seek(0, 0));
    EXPECT_EQ(none.Tell(), -1);
    EXPECT_EQ(none.Error(), -1);
    EXPECT_TRUE(none.Eof());
    EXPECT_FALSE(none.Flush());
    EXPECT_FALSE(none.PutC(1));
    EXPECT_EQ(none.GetC(), -1);
}

TEST(MemFile, GetSStopsAfterLineFeedAndFailsOnAnUnterminatedTail) {
    const BYTE data[5] = {'a', 'b', '\n', 'c', 'd'};
    CRasterMemFile f(data, sizeof data);
    char line[10];
    ASSERT_NE(f.GetS(line, 10), nullptr);
    EXPECT_STREQ(line, "ab\n");
    EXPECT_EQ(f.GetS(line, 10), nullptr);
    CRasterMemFile g(data, sizeof data);
    ASSERT_NE(g.GetS(line, 3), nullptr); // capacity 3: two bytes and the terminator
    EXPECT_STREQ(line, "ab");
}

TEST(MemFile, CallersBufferIsNeverWrittenAndGapsAreZeroFilled) {
    BYTE data[4] = {1, 2, 3, 4};
    CRasterMemFile f(data, sizeof data);
    ASSERT_TRUE(f.Seek(1, 0));
    EXPECT_TRUE(f.PutC(9));
    EXPECT_EQ(data[1], 2); // copied, not written in place
    ASSERT_TRUE(f.Seek(8, 0));
    EXPECT_EQ(f.Write("z", 1, 1), 1u);
    EXPECT_EQ(f.Size(), 9);
    const BYTE* b = f.GetBuffer();
    const BYTE expected[9] = {1, 9, 3, 4, 0, 0, 0, 0, 'z'};
    EXPECT_EQ(std::memcmp(b, expected, 9), 0);
    EXPECT_TRUE(f.Close());
    EXPECT_EQ(f.GetBuffer(), nullptr);
    const BYTE after[4] = {1, 2, 3, 4};
    EXPECT_EQ(std::memcmp(data, after, 4), 0);

    // An owned stream: a gap left by a seek past the end reads back as zeros.
    CRasterMemFile g;
    ASSERT_TRUE(g.Open());
    g.Write("abcd", 1, 4);
    g.Seek(0, 0);
    g.Write("A", 1, 1);
    g.Seek(2, 0);
    g.Write("XYZ", 1, 3); // over the end: two bytes replaced, one appended
    EXPECT_EQ(std::memcmp(g.GetBuffer(), "AbXYZ", 5), 0);
    g.Seek(70000, 0);
    EXPECT_TRUE(g.PutC('!'));
    EXPECT_EQ(g.Size(), 70001);
    EXPECT_EQ(g.GetBuffer()[0], 'A');
    for (int i = 5; i < 70000; ++i)
        ASSERT_EQ(g.GetBuffer()[i], 0);
}

class IOFileTest : public ::testing::Test {
protected:
    TempFolder folder_{"iofile"};
    std::filesystem::path path_ = folder_.Path() / "file.bin";
};

TEST_F(IOFileTest, OwnedFileRoundTripAndSize) {
    {
        CRasterIOFile f;
        ASSERT_TRUE(f.Open(path_.c_str(), "wb"));
        EXPECT_FALSE(f.Open(path_.c_str(), "wb"));
        EXPECT_EQ(f.Write("hello\nworld", 1, 11), 11u);
        EXPECT_TRUE(f.PutC('!'));
        EXPECT_TRUE(f.Close());
        EXPECT_EQ(f.GetFile(), nullptr);
    }
    CRasterIOFile f;
    ASSERT_TRUE(f.Open(path_.c_str(), "rb"));
    EXPECT_EQ(f.GetC(), 'h');
    EXPECT_EQ(f.Size(), 12);
    EXPECT_EQ(f.Tell(), 1); // Size puts the position back
    char line[16];
    ASSERT_NE(f.GetS(line, 16), nullptr);
    EXPECT_STREQ(line, "ello\n");
    EXPECT_TRUE(f.Seek(-1, 2));
    EXPECT_EQ(f.GetC(), '!');
    EXPECT_EQ(f.GetC(), -1);
    EXPECT_TRUE(f.Eof());
    EXPECT_EQ(f.Error(), 0);
}

TEST_F(IOFileTest, CallersFileStaysOpenAndUnopenedStreamAnswersEmpty) {
    std::FILE* fp = std::fopen(path_.c_str(), "w+b");
    ASSERT_NE(fp, nullptr);
    {
        CRasterIOFile f(fp);
        EXPECT_EQ(f.Write("abc", 1, 3), 3u);
        EXPECT_TRUE(f.Close());
    }
    EXPECT_EQ(std::fseek(fp, 0, SEEK_SET), 0); // still open
    EXPECT_EQ(std::fgetc(fp), 'a');
    std::fclose(fp);

    CRasterIOFile none;
    BYTE b;
    EXPECT_EQ(none.Read(&b, 1, 1), 0u);
    EXPECT_FALSE(none.Seek(0, 0));
    EXPECT_EQ(none.Size(), -1);
    EXPECT_EQ(none.Error(), -1);
    EXPECT_TRUE(none.Eof());
    EXPECT_EQ(none.GetC(), -1);
    EXPECT_EQ(none.Scanf("%d", &b), -1);
    EXPECT_TRUE(none.Close());
}

TEST(IOFile, AFullDiskMakesCloseFail) {
    CRasterIOFile f;
    if (!f.Open("/dev/full", "wb"))
        GTEST_SKIP() << "no /dev/full";
    const std::string data(100, 'x');
    f.Write(data.data(), 1, data.size()); // buffered: the failure shows when flushed
    EXPECT_FALSE(f.Close());
}

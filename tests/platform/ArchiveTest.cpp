#include "platform/AtomicFile.h"
#include "platform/CArchive.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

std::vector<BYTE> StoreString(const std::string& s) {
    CArchive ar = CArchive::ForStoring();
    ar.WriteRawString(s);
    return ar.TakeData();
}

} // namespace

TEST(CArchive, NumbersAreLittleEndian) {
    CArchive ar = CArchive::ForStoring();
    ar << 2.0 << std::int32_t(-2) << WORD(0x1234) << BYTE(7) << RECT{1, 2, 3, 4} << POINT{5, -6};
    const auto& d = ar.Data();
    ASSERT_EQ(d.size(), 8u + 4 + 2 + 1 + 16 + 8);
    EXPECT_EQ(d[7], 0x40); // 2.0 = 0x4000000000000000
    EXPECT_EQ(d[8], 0xFE);
    EXPECT_EQ(d[11], 0xFF);
    EXPECT_EQ(d[12], 0x34);
    EXPECT_EQ(d[13], 0x12);

    CArchive in = CArchive::ForLoading(ar.Data());
    double v;
    std::int32_t i;
    WORD w;
    BYTE b;
    RECT r;
    POINT p;
    in >> v >> i >> w >> b >> r >> p;
    EXPECT_FALSE(in.Failed());
    EXPECT_EQ(v, 2.0);
    EXPECT_EQ(i, -2);
    EXPECT_EQ(w, 0x1234);
    EXPECT_EQ(b, 7);
    EXPECT_EQ(r.bottom, 4);
    EXPECT_EQ(p.y, -6);
    EXPECT_EQ(in.Remaining(), 0u);
}

TEST(CArchive, StringPrefixBoundaries) {
    struct Case {
        std::size_t length;
        std::size_t prefix;
    };
    for (const Case c : {Case{0, 1}, Case{254, 1}, Case{255, 3}, Case{65533, 3}, Case{65534, 7},
                         Case{65535, 7}, Case{70000, 7}}) {
        const std::string s(c.length, 'a');
        const auto bytes = StoreString(s);
        ASSERT_EQ(bytes.size(), c.length + c.prefix) << c.length;
        if (c.prefix == 3) {
            EXPECT_EQ(bytes[0], 0xFF);
        }
        if (c.prefix == 7) {
            EXPECT_EQ(bytes[1], 0xFF);
            EXPECT_EQ(bytes[2], 0xFF);
        }
        CArchive in = CArchive::ForLoading(bytes);
        EXPECT_EQ(in.ReadRawString(), s);
        EXPECT_FALSE(in.Failed());
    }
}

TEST(CArchive, TruncatedInputFailsAtEveryCut) {
    CArchive ar = CArchive::ForStoring();
    ar << 1.0 << std::string(300, 'x') << std::int32_t(5);
    const auto full = ar.TakeData();
    for (std::size_t cut = 0; cut < full.size(); ++cut) {
        CArchive in = CArchive::ForLoading(std::vector<BYTE>(full.begin(), full.begin() + cut));
        double v;
        std::string s;
        std::int32_t i = 99;
        in >> v >> s >> i;
        EXPECT_TRUE(in.Failed()) << cut;
        EXPECT_EQ(i, 0) << cut;
    }
}

TEST(CArchive, HostileLengthsAreRefusedWithoutAllocating) {
    // A 32-bit length of 4 GB with three bytes behind it.
    const std::vector<BYTE> hostile = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 'b', 'c'};
    CArchive in = CArchive::ForLoading(hostile);
    EXPECT_TRUE(in.ReadRawString().empty());
    EXPECT_TRUE(in.Failed());
    CArchive counts = CArchive::ForLoading(std::vector<BYTE>(16));
    EXPECT_TRUE(counts.CanRead(4, 4));
    EXPECT_FALSE(counts.CanRead(5, 4));
    EXPECT_FALSE(counts.CanRead(UINT64_MAX / 2, 4));
    EXPECT_TRUE(counts.ReadByteVector(1ull << 40).empty());
    EXPECT_TRUE(counts.Failed());
}

TEST(CArchive, TextIsWindows1252OnDisk) {
    CArchive ar = CArchive::ForStoring();
    ar << std::string("\xC3\xA9");
    ASSERT_EQ(ar.Data().size(), 2u);
    EXPECT_EQ(ar.Data()[1], 0xE9);
    CArchive in = CArchive::ForLoading(ar.Data());
    std::string s;
    in >> s;
    EXPECT_EQ(s, "\xC3\xA9");
}

TEST(AtomicFile, ReplacesOnlyAfterACompleteWrite) {
    const TempFolder folder("atomic");
    const auto& dir = folder.Path();
    const std::string path = (dir / "doc.wkz").string();
    std::string error;
    ASSERT_TRUE(AtomicFile::Write(path, std::string("first"), error)) << error;
    ASSERT_TRUE(AtomicFile::Write(path, std::string("second"), error)) << error;
    std::ifstream in(path);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "second");
    // A folder that does not exist fails and reports it.
    EXPECT_FALSE(AtomicFile::Write((dir / "missing" / "x").string(), std::string("x"), error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir),
                            std::filesystem::directory_iterator()),
              1);
    CArchive loaded = CArchive::LoadFile(path, 6);
    EXPECT_FALSE(loaded.Failed());
    EXPECT_EQ(loaded.Remaining(), 6u);
    EXPECT_TRUE(CArchive::LoadFile(path, 5).Failed()); // over the limit
    EXPECT_TRUE(CArchive::LoadFile((dir / "nope").string(), 6).Failed());
    // A folder fails like any unreadable file, without an exception.
    const CArchive folderRead = CArchive::LoadFile(dir.string(), 6);
    EXPECT_TRUE(folderRead.Failed());
    EXPECT_NE(folderRead.Error().find("folder"), std::string::npos) << folderRead.Error();
}

TEST(AtomicFile, WritesOnlyOntoRegularFilesAndLeavesAnythingElseAsItWas) {
    namespace fs = std::filesystem;
    const TempFolder folder("atomic-nodes");
    std::string error;
    const auto kindOf = [](const std::string& path) { return fs::symlink_status(path).type(); };

    const std::string fifo = folder.File("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(AtomicFile::Write(fifo, std::string("x"), error));
    EXPECT_NE(error.find("FIFO"), std::string::npos) << error;
    EXPECT_EQ(kindOf(fifo), fs::file_type::fifo);

    // A device of our own (the system's /dev/null is never put at risk); only where the
    // system lets us make one.
    const std::string device = folder.File("null");
    if (::mknod(device.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
        EXPECT_FALSE(AtomicFile::Write(device, std::string("x"), error));
        EXPECT_NE(error.find("device"), std::string::npos) << error;
        EXPECT_EQ(kindOf(device), fs::file_type::character);
    }

    // A loop of links: refused with the system's reason, both links kept.
    const std::string a = folder.File("a");
    const std::string b = folder.File("b");
    fs::create_symlink("b", a);
    fs::create_symlink("a", b);
    EXPECT_FALSE(AtomicFile::Write(a, std::string("x"), error));
    EXPECT_NE(error.find(std::strerror(ELOOP)), std::string::npos) << error;
    EXPECT_EQ(kindOf(a), fs::file_type::symlink);
    EXPECT_EQ(kindOf(b), fs::file_type::symlink);

    // A link through a link to a FIFO is refused the same way.
    const std::string toPipe = folder.File("to-pipe");
    fs::create_symlink("pipe", toPipe);
    EXPECT_FALSE(AtomicFile::Write(toPipe, std::string("x"), error));
    EXPECT_EQ(kindOf(fifo), fs::file_type::fifo);

    // A link to a regular file is written through and stays a link.
    const std::string real = folder.File("real.wkz");
    const std::string link = folder.File("link.wkz");
    { std::ofstream(real) << "old"; }
    fs::create_symlink("real.wkz", link);
    ASSERT_TRUE(AtomicFile::Write(link, std::string("new"), error)) << error;
    EXPECT_EQ(kindOf(link), fs::file_type::symlink);
    std::ifstream in(real);
    std::string content;
    in >> content;
    EXPECT_EQ(content, "new");
    // Nothing was left behind next to the nodes.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder.Path()), fs::directory_iterator()),
              fs::exists(device) ? 7 : 6);
}

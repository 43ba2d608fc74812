// Document files and saves under hostile input and failing file systems: every refusal names
// its reason and leaves both the open maze and the file on disk as they were.
#include "tests/support/DocTestSupport.h"

#include "document/WkzFieldRanges.h"
#include "document/WkzFileCommands.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/LittleEndian.h"

#include <climits>
#include <cmath>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<BYTE> ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::vector<BYTE>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

mode_t ModeOf(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
    return st.st_mode & 07777;
}

// Files a save writes before renaming them into place.
int TemporaryFilesIn(const fs::path& folder) {
    int count = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        count += entry.path().filename().string().starts_with(".") ? 1 : 0;
    return count;
}

// Offsets in a version 2 file whose name and tiler id are empty.
constexpr std::size_t kKind = 8 + 4;
constexpr std::size_t kHeaderInts = kKind + 4 + 1; // flags, grid count, scale, ...
constexpr std::size_t HeaderInt(int index) {
    return kHeaderInts + 4 * static_cast<std::size_t>(index);
}
constexpr std::size_t kFirstGrid = HeaderInt(16) + 1 + 4 + 4 + 24; // tiler id, marker, rings
constexpr std::size_t kInnerRadius = kFirstGrid + 8 + 4 + 1 + 4 * 5;
constexpr std::size_t kRing0Count = kInnerRadius + 8;

struct HeaderCase {
    const char* field; // as the refusal names it; null when the value is taken
    int index;
    std::int32_t value;
};

class HostileDocumentTest : public DocTest {
protected:
    CGridloomDoc& MadeBox() {
        CGridloomDoc& doc = NewDoc(KIND_BOX, 6, 5);
        doc.OnGenerateMaze();
        doc.formatVersion = 2.0;
        EXPECT_TRUE(doc.Settings().name.empty());
        EXPECT_TRUE(doc.Settings().tilerId.empty());
        return doc;
    }

    static std::vector<BYTE> Snapshot(CGridloomDoc& doc) {
        CArchive ar = CArchive::ForStoring();
        EXPECT_TRUE(doc.Serialize(ar));
        return ar.TakeData();
    }

    static bool Load(CGridloomDoc& doc, const std::vector<BYTE>& bytes) {
        doc.pendingMessage.clear();
        CArchive ar = CArchive::ForLoading(bytes);
        return doc.Serialize(ar);
    }

    // Opens `path` in a child process that is stopped after a few seconds, so that an open
    // which blocks or eats all memory fails the test instead of hanging it.
    void ExpectRefusedQuickly(const std::string& path, const char* reason) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::alarm(5);
            CGridloomDoc doc(Profile());
            doc.OnFileNew();
            const bool refused = !WkzFileCommands::OpenFile(doc, path);
            const bool named = doc.pendingMessage.find(path) != std::string::npos &&
                               doc.pendingMessage.find(reason) != std::string::npos;
            ::_exit(refused && named && doc.GridCount() == 1 ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
            << path << (WIFSIGNALED(status) ? " killed by a signal" : " not refused");
    }
};

} // namespace

TEST_F(HostileDocumentTest, HeaderValuesOutsideTheSettingsRangesAreRefused) {
    CGridloomDoc& doc = MadeBox();
    const std::vector<BYTE> good = Snapshot(doc);
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&good[HeaderInt(7)]), 6);  // columns
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&good[HeaderInt(12)]), 1); // height multiplier

    const HeaderCase cases[] = {
        {"number of columns", 7, INT_MIN},
        {"number of columns", 7, -1},
        {"number of columns", 7, 100001},
        {"number of columns", 7, INT_MAX},
        {"number of rows", 10, -1},
        {"number of rows", 10, INT_MAX},
        {"cell size", 2, -1},
        {"cell size", 2, 100001},
        {"cell size", 2, INT_MIN},
        {nullptr, 2, 100000},
        {"page width", 8, 0},
        {"page width", 8, INT_MIN},
        {"page width", 8, INT_MAX},
        {nullptr, 8, 10'000'000},
        {"page height", 11, 250},
        {"page height", 11, -1},
        {"page height", 11, INT_MAX},
        {nullptr, 11, 10'000'000},
        {"left margin", 4, INT_MIN},
        {"left margin", 4, INT_MAX},
        {nullptr, 4, -10'000'000},
        {"top margin", 6, 10'000'001},
        {"width multiplier", 9, 0},
        {"width multiplier", 9, INT_MAX},
        {"height multiplier", 12, INT_MIN},
        {"height multiplier", 12, -1},
        {"height multiplier", 12, 2},
        {nullptr, 13, INT_MIN}, // seed
        {nullptr, 13, -1},
        {nullptr, 3, INT_MIN}, // cursor column
        {nullptr, 5, INT_MAX},
        {nullptr, 1, INT_MIN}, // grid count: ignored
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << "field " << c.index << " = " << c.value);
        std::vector<BYTE> bytes = good;
        PutLittleEndian(&bytes[HeaderInt(c.index)], c.value);
        const std::vector<BYTE> before = Snapshot(doc);
        if (c.field != nullptr) {
            EXPECT_FALSE(Load(doc, bytes));
            EXPECT_NE(doc.pendingMessage.find(c.field), std::string::npos) << doc.pendingMessage;
            EXPECT_EQ(Snapshot(doc), before);
            continue;
        }
        ASSERT_TRUE(Load(doc, bytes)) << doc.pendingMessage;
        // What a file may hold, the document can draw and grow from.
        EXPECT_GT(doc.GetCellWidth(), 0);
        EXPECT_LT(doc.GetCellHeight(), 0);
        doc.OnGenerateMaze();
        ASSERT_TRUE(Load(doc, good));
    }

    // Flags are brought to the values the program gives them.
    for (const std::int32_t tiled : {INT_MIN, -1, 0, 1, INT_MAX}) {
        std::vector<BYTE> bytes = good;
        PutLittleEndian(&bytes[HeaderInt(15)], tiled);
        PutLittleEndian(&bytes[HeaderInt(0)], tiled);
        ASSERT_TRUE(Load(doc, bytes)) << doc.pendingMessage;
        EXPECT_EQ(doc.Settings().tiled, tiled > 0 ? 1 : 0);
        EXPECT_EQ(doc.docFlags, tiled & 0x30);
    }
    EXPECT_TRUE(prompts_.ShownBoxes().empty());
}

TEST_F(HostileDocumentTest, GridRecordsOutsideTheSettingsRangesAreRefused) {
    CGridloomDoc& doc = MadeBox();
    const std::vector<BYTE> good = Snapshot(doc);
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&good[kInnerRadius - 4]), 2); // sub-version
    const std::vector<BYTE> before = good;
    for (const std::int32_t cells : {INT_MIN, -1, 0, 10001, INT_MAX}) {
        std::vector<BYTE> bytes = good;
        PutLittleEndian(&bytes[kRing0Count], cells);
        EXPECT_FALSE(Load(doc, bytes)) << cells;
        EXPECT_NE(doc.pendingMessage.find("inner-ring cells"), std::string::npos);
    }
    for (const double radius : {0.0, 1.0, -0.5, 1e300, std::nan(""), HUGE_VAL}) {
        std::vector<BYTE> bytes = good;
        std::memcpy(&bytes[kInnerRadius], &radius, 8);
        EXPECT_FALSE(Load(doc, bytes)) << radius;
        EXPECT_NE(doc.pendingMessage.find("inner radius"), std::string::npos);
    }
    EXPECT_EQ(Snapshot(doc), before);
}

TEST_F(HostileDocumentTest, UnknownKindsAreRefusedByName) {
    CGridloomDoc& doc = MadeBox();
    doc.seedPoints.push_back({1, 1});
    const std::vector<BYTE> good = Snapshot(doc);
    for (const std::int32_t kind : {17, -1, INT_MIN, INT_MAX}) {
        for (const double version : {2.0, 1.0}) {
            doc.formatVersion = version;
            const std::vector<BYTE> before = Snapshot(doc);
            std::vector<BYTE> bytes = before;
            PutLittleEndian(&bytes[version == 2.0 ? kKind : 8], kind);
            EXPECT_FALSE(Load(doc, bytes));
            EXPECT_NE(doc.pendingMessage.find("kind " + std::to_string(kind) + ","),
                      std::string::npos)
                << doc.pendingMessage;
            EXPECT_EQ(Snapshot(doc), before);
        }
    }
    doc.formatVersion = 2.0;
    EXPECT_EQ(Snapshot(doc), good);
}

TEST_F(HostileDocumentTest, MessagesCarryTheirReason) {
    CGridloomDoc& doc = MadeBox();
    // A picture stored as a GIF that is not one.
    auto picture = std::make_unique<CRaster>(3, 2, 24, CRaster::kTypeBmp);
    CLogicalRectTracker object;
    object.SetImage(std::move(picture), CLogicalRectTracker::kindPicture);
    object.SetLogicalRect(0, 0, 1000, -1000);
    doc.layerObjects = {object};
    std::vector<BYTE> bytes = Snapshot(doc);
    std::size_t type = 0;
    for (std::size_t i = 8; i + 2 < bytes.size() && type == 0; ++i)
        if (bytes[i] == 'B' && bytes[i + 1] == 'M' &&
            GetLittleEndian<std::int32_t>(&bytes[i - 8]) == CRaster::kTypeBmp)
            type = i - 8;
    ASSERT_NE(type, 0u);
    PutLittleEndian<std::int32_t>(&bytes[type], CRaster::kTypeGif);
    EXPECT_FALSE(Load(doc, bytes));
    const std::string colon = "A picture cannot be read: ";
    const std::size_t at = doc.pendingMessage.find(colon);
    ASSERT_NE(at, std::string::npos) << doc.pendingMessage;
    EXPECT_NE(doc.pendingMessage[at + colon.size()], ')') << doc.pendingMessage;

    // A version no program wrote prints as a short number.
    std::vector<BYTE> newer = Snapshot(doc);
    const double hostile = 1e300;
    std::memcpy(newer.data(), &hostile, 8);
    EXPECT_FALSE(Load(doc, newer));
    EXPECT_NE(doc.pendingMessage.find("{1e+300}"), std::string::npos) << doc.pendingMessage;
    EXPECT_LT(doc.pendingMessage.size(), 200u);
    const double three = 3.0;
    std::memcpy(newer.data(), &three, 8);
    EXPECT_FALSE(Load(doc, newer));
    EXPECT_NE(doc.pendingMessage.find("{3.0}"), std::string::npos);
}

TEST_F(HostileDocumentTest, OpenRefusesWhatIsNotADocumentFileQuickly) {
    const std::string fifo = folder_.File("pipe.wkz");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string large = folder_.File("large.wkz");
    { std::ofstream(large).put('x'); }
    fs::resize_file(large, WkzFieldRanges::kMaxFileBytes + 1); // sparse: costs no disk
    ExpectRefusedQuickly(folder_.Path().string(), "folder");
    ExpectRefusedQuickly(fifo, "not a regular file");
    ExpectRefusedQuickly("/dev/zero", "not a regular file");
    ExpectRefusedQuickly(large, "larger than");
}

TEST_F(HostileDocumentTest, ReadOnlyFilesAreReplacedOnlyAfterAYes) {
    CGridloomDoc& doc = MadeBox();
    const std::string path = folder_.File("kept.wkz");
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    WriteAll(path, old);
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);

    prompts_.Answer(IDNO);
    EXPECT_FALSE(WkzFileCommands::SaveFile(doc, path));
    ASSERT_EQ(prompts_.ShownBoxes().size(), 1u);
    EXPECT_NE(prompts_.ShownBoxes()[0].text.find("read-only"), std::string::npos);
    EXPECT_EQ(prompts_.ShownBoxes()[0].type & 0xF, UINT(MB_YESNO));
    EXPECT_EQ(ReadAll(path), old);

    prompts_.Answer(IDYES);
    EXPECT_TRUE(WkzFileCommands::SaveFile(doc, path)) << doc.pendingMessage;
    EXPECT_EQ(ReadAll(path), Snapshot(doc));
    EXPECT_EQ(ModeOf(path), 0444u);
    EXPECT_EQ(prompts_.ShownBoxes().size(), 2u);
}

TEST_F(HostileDocumentTest, SavesWriteThroughLinksAndHonourTheUmask) {
    CGridloomDoc& doc = MadeBox();
    fs::create_directory(folder_.Path() / "real");
    const std::string target = folder_.File("real/maze.wkz");
    WriteAll(target, {'o', 'l', 'd'});
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    const std::string link = folder_.File("link.wkz");
    fs::create_symlink("real/maze.wkz", link);

    EXPECT_TRUE(WkzFileCommands::SaveFile(doc, link)) << doc.pendingMessage;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(target), Snapshot(doc));
    EXPECT_EQ(ModeOf(target), 0640u);
    // Nothing was left next to the link or the target.
    EXPECT_EQ(TemporaryFilesIn(folder_.Path()), 0);
    EXPECT_EQ(TemporaryFilesIn(folder_.Path() / "real"), 0);

    // A link to a file not there yet creates it at the link's target.
    fs::create_symlink("real/new.wkz", folder_.File("dangling.wkz"));
    const mode_t old = ::umask(077);
    const bool saved = WkzFileCommands::SaveFile(doc, folder_.File("dangling.wkz"));
    const bool fresh = WkzFileCommands::SaveFile(doc, folder_.File("private.wkz"));
    ::umask(old);
    ASSERT_TRUE(saved && fresh) << doc.pendingMessage;
    EXPECT_EQ(ModeOf(folder_.File("real/new.wkz")), 0600u);
    EXPECT_EQ(ModeOf(folder_.File("private.wkz")), 0600u);
    EXPECT_TRUE(fs::is_symlink(folder_.File("dangling.wkz")));
}

// The file size limit stands in for a full disk anywhere: the write fails part-way.
TEST_F(HostileDocumentTest, AFailedWriteKeepsTheOldFileAndSaysWhy) {
    CGridloomDoc& doc = NewDoc(KIND_BOX, 300, 300);
    const std::string path = folder_.File("big.wkz");
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    WriteAll(path, old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{4096, 4096};
        ::setrlimit(RLIMIT_FSIZE, &size);
        const bool refused = !WkzFileCommands::SaveFile(doc, path);
        const bool why = doc.pendingMessage.find("File too large") != std::string::npos &&
                         doc.pendingMessage.find("rights") == std::string::npos;
        ::_exit(refused && why ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(ReadAll(path), old);
    EXPECT_EQ(TemporaryFilesIn(folder_.Path()), 0);
}

TEST_F(HostileDocumentTest, AFullFileSystemIsReportedAsSuch) {
    const fs::path small = folder_.Path() / "small";
    fs::create_directory(small);
    if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k") != 0)
        GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
    CGridloomDoc& doc = NewDoc(KIND_BOX, 300, 300);
    const std::string path = (small / "maze.wkz").string();
    const std::vector<BYTE> old = {'o', 'l', 'd'};
    WriteAll(path, old);
    const bool saved = WkzFileCommands::SaveFile(doc, path);
    const std::vector<BYTE> after = ReadAll(path);
    const auto left = std::distance(fs::directory_iterator(small), fs::directory_iterator());
    ::umount(small.c_str());
    EXPECT_FALSE(saved);
    EXPECT_NE(doc.pendingMessage.find("No space left on device"), std::string::npos)
        << doc.pendingMessage;
    EXPECT_EQ(after, old);
    EXPECT_EQ(left, 1);
}

#include "document/WkzReader.h"
#include "document/WkzWriter.h"
#include "maze/TemplateKind.h"
#include "platform/LittleEndian.h"
#include "tests/support/WkzSamples.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using WkzSamples::Sample;

std::vector<BYTE> Write(const WkzContent& c) {
    CArchive ar = CArchive::ForStoring();
    std::string error;
    EXPECT_TRUE(WkzWriter::Write(c, ar, error)) << error;
    return ar.TakeData();
}

WkzReader::Result Read(const std::vector<BYTE>& bytes) {
    CArchive ar = CArchive::ForLoading(bytes);
    return WkzReader::Read(ar);
}

void ExpectSameGrids(const WkzContent& a, const WkzContent& b) {
    ASSERT_EQ(a.grids.size(), b.grids.size());
    for (std::size_t g = 0; g < a.grids.size(); ++g) {
        EXPECT_EQ(a.grids[g].width, b.grids[g].width);
        EXPECT_EQ(a.grids[g].height, b.grids[g].height);
        EXPECT_EQ(a.grids[g].gridType, b.grids[g].gridType);
        EXPECT_EQ(a.grids[g].innerRadius, b.grids[g].innerRadius);
        EXPECT_EQ(a.grids[g].ring0Count, b.grids[g].ring0Count);
        EXPECT_TRUE(a.grids[g].cells == b.grids[g].cells) << "grid " << g;
    }
}

// Version 2 bytes with the settings block of one 1 x 1 Box cell, written by hand.
class ByteBuilder {
public:
    ByteBuilder& D(double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, 8);
        return Raw(u, 8);
    }
    ByteBuilder& I(std::int32_t v) { return Raw(static_cast<std::uint32_t>(v), 4); }
    ByteBuilder& W(WORD v) { return Raw(v, 2); }
    ByteBuilder& S(const std::string& s) {
        bytes.push_back(static_cast<BYTE>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return *this;
    }
    ByteBuilder& Zeros(int ints) {
        for (int i = 0; i < ints; ++i)
            I(0);
        return *this;
    }
    std::vector<BYTE> bytes;

private:
    ByteBuilder& Raw(std::uint64_t v, int n) {
        for (int i = 0; i < n; ++i)
            bytes.push_back(static_cast<BYTE>(v >> (8 * i)));
        return *this;
    }
};

// Offsets in a version 2 file of Sample(): the name "Café template" is 13 bytes in
// Windows-1252, the tiler id "Bricks" 6.
constexpr std::size_t kSampleName = 1 + 13;
constexpr std::size_t kSampleColumns = 8 + 4 + 4 + kSampleName + 4 * 7;
constexpr std::size_t kSampleMarker = 8 + 4 + 4 + kSampleName + 4 * 14 + 4 + 4 + 1 + 6;
constexpr std::size_t kSampleRingCount = kSampleMarker + 4;

} // namespace

TEST(WkzFormat, BoxFileMatchesTheLayoutByteForByte) {
    WkzContent c;
    c.kind = KIND_BOX;
    c.name = "Box";
    c.flags = 0x10;
    c.scale = 400;
    c.cursorColumn = -1;
    c.cursorRow = -1;
    c.columns = 1;
    c.rows = 1;
    c.seed = 7;
    c.tilerId = "T";
    GridRecord g;
    g.sideCount = 4;
    g.gridType = GRID_POLYGON;
    g.width = 1;
    g.height = 1;
    g.cells = {{CELL_START, 0x0005}};
    c.grids = {g};
    c.seedPoints = {{0, 0}};

    ByteBuilder b;
    b.D(2.0).S("WKZ").I(0).S("Box").I(0x10).I(1).I(400).I(-1).I(0).I(-1).I(0).I(1).I(7499).I(1);
    b.I(1).I(9499).I(1).I(7).I(0).I(0).S("T").I(0).I(0).Zeros(6);
    b.D(1.0).I(0).S("").I(4).I(1).I(1).I(1).I(2).D(0.05).I(15).Zeros(3).W(CELL_START).W(5);
    b.I(0).I(1).I(0).I(0).Zeros(24);
    EXPECT_EQ(Write(c), b.bytes);

    c.version = 1.0;
    ByteBuilder v1;
    v1.D(1.0).I(0).S("Box").I(0x10).I(1).I(400).I(-1).I(0).I(-1).I(0).I(1).I(7499).I(1);
    v1.I(1).I(9499).I(1).I(7).I(0).Zeros(3);
    v1.D(1.0).I(0).S("").I(4).I(1).I(1).I(1).I(2).D(0.05).I(15).Zeros(3).W(CELL_START).W(5);
    EXPECT_EQ(Write(c), v1.bytes);
}

TEST(WkzFormat, BothVersionsRoundTripEveryKind) {
    for (const TemplateInfo& t : TemplateTables::All()) {
        SCOPED_TRACE(t.kind);
        const WkzContent c = Sample(t.kind);
        const auto v2 = Write(c);
        auto r = Read(v2);
        ASSERT_TRUE(r.Ok()) << r.message;
        const WkzContent& back = r.content;
        EXPECT_EQ(back.version, 2.0);
        EXPECT_EQ(back.name, c.name);
        EXPECT_EQ(back.flags, c.flags);
        EXPECT_EQ(back.tilerId, c.tilerId);
        EXPECT_EQ(back.tiled, 1);
        EXPECT_EQ(back.ringCounts, c.ringCounts);
        ExpectSameGrids(back, c);
        ASSERT_EQ(back.objects.size(), 1u);
        EXPECT_EQ(back.objects[0].GetText(), "Start here");
        EXPECT_EQ(back.objects[0].GetFont(), c.objects[0].GetFont());
        ASSERT_EQ(back.seedPoints.size(), 2u);
        EXPECT_EQ(back.seedPoints[1], CPoint(2, 1));
        EXPECT_EQ(Write(back), v2);

        WkzContent old = c;
        old.version = 1.0;
        auto r1 = Read(Write(old));
        ASSERT_TRUE(r1.Ok()) << r1.message;
        EXPECT_EQ(r1.content.version, 1.0);
        EXPECT_EQ(r1.content.seed, c.seed);
        EXPECT_EQ(r1.content.columns, c.columns);
        EXPECT_EQ(r1.content.ringCounts, c.ringCounts);
        EXPECT_TRUE(r1.content.objects.empty());
        EXPECT_TRUE(r1.content.seedPoints.empty());
        EXPECT_TRUE(r1.content.tilerId.empty());
        ExpectSameGrids(r1.content, c);
    }
}

TEST(WkzFormat, GridsKeepTheirOwnSize) {
    WkzContent c = Sample(KIND_HEX, 4, 3);
    c.grids[2].width = 2;
    c.grids[2].height = 5;
    c.grids[2].cells.assign(10, MazeCell{CELL_BLACKENED, 0});
    auto r = Read(Write(c));
    ASSERT_TRUE(r.Ok()) << r.message;
    EXPECT_EQ(r.content.grids[2].width, 2);
    EXPECT_EQ(r.content.grids[2].height, 5);
    EXPECT_EQ(r.content.grids[1].width, 4);
}

TEST(WkzFormat, VersionsFromThreeOnAreRefusedBothWays) {
    for (double v : {3.0, 7.5, std::nan("")}) {
        WkzContent c = Sample(KIND_BOX);
        c.version = v;
        CArchive out = CArchive::ForStoring();
        std::string error;
        EXPECT_FALSE(WkzWriter::Write(c, out, error));
        EXPECT_TRUE(out.Data().empty());
        if (v == 3.0) {
            EXPECT_EQ(error, "ERROR: Save WKZ File format {3.0} is greater than the maximum "
                             "version supported by this program.  Please contact support: "
                             "support@orlimber.example");
        }
        c.version = 2.0;
        auto bytes = Write(c);
        std::memcpy(bytes.data(), &v, 8);
        auto r = Read(bytes);
        // No program ever wrote a version that is not a number.
        EXPECT_EQ(r.status,
                  std::isnan(v) ? WkzReader::Status::badMagic : WkzReader::Status::versionTooNew);
        if (v == 7.5) {
            EXPECT_EQ(r.message, "ERROR: WKZ File format {7.5} is greater than the maximum version "
                                 "supported by this program.  Please contact support to "
                                 "upgrade: support@orlimber.example");
        }
    }
}

// Bytes of another kind of file begin with no version this program ever wrote (the first
// eight bytes of a text read as a tiny number), and are named as no maze at all rather than
// as a maze of some unknown kind.
TEST(WkzFormat, ForeignBytesAreNotAMazeDocument) {
    const auto good = Write(Sample(KIND_BOX));
    for (const std::string& text : {std::string("root:x:0:0:root:/root:/bin/bash\n"),
                                    std::string("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n"),
                                    std::string(64, '\0'), std::string("\x89PNG\r\n\x1a\n")}) {
        auto bytes = good;
        std::copy(text.begin(), text.end(), bytes.begin());
        const auto r = Read(bytes);
        EXPECT_EQ(r.status, WkzReader::Status::badMagic) << r.message;
        EXPECT_NE(r.message.find("not a maze document"), std::string::npos) << r.message;
    }
    for (const double v : {0.0, 0.999, -1.0, 1e-300, -HUGE_VAL, HUGE_VAL}) {
        auto bytes = good;
        std::memcpy(bytes.data(), &v, 8);
        EXPECT_EQ(Read(bytes).status, WkzReader::Status::badMagic) << v;
    }
}

TEST(WkzFormat, MagicAndUpgradeMarkerStopTheLoad) {
    auto bytes = Write(Sample(KIND_BOX));
    auto bad = bytes;
    bad[9] = 'X';
    auto r = Read(bad);
    EXPECT_EQ(r.status, WkzReader::Status::badMagic);
    EXPECT_EQ(r.message, "ERROR: This file is not a maze document; Orlimber does not recognize "
                         "it as a valid WKZ file.  Loading has stopped.");

    auto marked = Write(Sample(KIND_BOX));
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&marked[kSampleMarker]), 0);
    PutLittleEndian<std::int32_t>(&marked[kSampleMarker], 1);
    r = Read(marked);
    EXPECT_EQ(r.status, WkzReader::Status::upgradeMarker);
    EXPECT_EQ(r.message, "ERROR: WKZ File format {2.0} is greater than the maximum version "
                         "supported by this program.  Please contact support to upgrade. "
                         "email: support@orlimber.example");
}

TEST(WkzFormat, EveryTruncationIsRefused) {
    for (double version : {1.0, 2.0}) {
        WkzContent c = Sample(KIND_TRIANGULAR, 2, 1);
        c.version = version;
        const auto bytes = Write(c);
        ASSERT_TRUE(Read(bytes).Ok());
        for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
            auto r = Read(std::vector<BYTE>(bytes.begin(), bytes.begin() + cut));
            ASSERT_FALSE(r.Ok()) << "cut at " << cut;
            EXPECT_FALSE(r.message.empty());
            EXPECT_TRUE(r.content.grids.empty());
        }
    }
}

TEST(WkzFormat, HostileCountsAndForeignGridsAreRefused) {
    const WkzContent c = Sample(KIND_BOX, 2, 2);
    const auto good = Write(c);
    const std::size_t ringCount = kSampleRingCount;
    const std::size_t grid = ringCount + 4 + 24;
    const std::size_t sides = grid + 8 + 4 + 1;
    auto damaged = [&](std::size_t at, std::int32_t value) {
        auto bytes = good;
        PutLittleEndian(&bytes[at], value);
        auto r = Read(bytes);
        return r.status == WkzReader::Status::damaged;
    };
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&good[sides]), 4);
    EXPECT_TRUE(damaged(ringCount, -1));
    EXPECT_TRUE(damaged(ringCount, 0x7FFFFFFF));
    EXPECT_TRUE(damaged(sides, 6));          // a hexagon record in a Box maze
    EXPECT_TRUE(damaged(sides + 4, 2));      // a ring grid in a Box maze
    EXPECT_TRUE(damaged(sides + 8, -2));     // negative width
    EXPECT_TRUE(damaged(sides + 8, 100000)); // 100000 x 2 cells: more than the file holds
    EXPECT_TRUE(damaged(sides + 8, 0x40000000));
    EXPECT_TRUE(damaged(sides + 12, 0x40000000));
    WkzContent tall = c; // no cells at all, but two billion rows of them
    tall.grids[0].width = 0;
    tall.grids[0].height = 0x7FFFFFFF;
    tall.grids[0].cells.clear();
    EXPECT_EQ(Read(Write(tall)).status, WkzReader::Status::damaged);
    tall.grids[0].height = 0;
    EXPECT_TRUE(Read(Write(tall)).Ok());
    const std::size_t cells = sides + 12 + 4 + 4 + 8 + 4 + 12;
    auto bytes = good;
    PutLittleEndian<WORD>(&bytes[cells + 2], 0x0010); // side 5 of a square
    EXPECT_EQ(Read(bytes).status, WkzReader::Status::damaged);
    const std::size_t objects = cells + 4 * 4;
    ASSERT_EQ(GetLittleEndian<std::int32_t>(&good[objects]), 1);
    EXPECT_TRUE(damaged(objects, -1));
    EXPECT_TRUE(damaged(objects, 0x7FFFFFFF));
    EXPECT_TRUE(damaged(good.size() - 96 - 16 - 4, 0x10000000)); // seed point count
    // Columns times rows beyond the cell cap.
    EXPECT_TRUE(damaged(kSampleColumns, 3000000)); // x 2 rows
    EXPECT_TRUE(damaged(kSampleColumns, -1));
    // A grid type of 0 still reads as a polygon grid.
    EXPECT_FALSE(damaged(sides + 4, 0));
}

TEST(WkzFormat, UnknownKindsAreRefusedWithTheirNumber) {
    WkzContent c = Sample(KIND_BOX);
    c.kind = 17;
    c.grids.clear();
    for (double version : {2.0, 1.0}) {
        c.version = version;
        auto r = Read(Write(c));
        EXPECT_EQ(r.status, WkzReader::Status::unknownKind);
        EXPECT_NE(r.message.find("kind 17,"), std::string::npos) << r.message;
        EXPECT_TRUE(r.content.objects.empty());
    }
}

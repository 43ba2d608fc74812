#include "TestPictures.h"

#include "image/codecs/CRasterCodec.h"
#include "image/codecs/CRasterFormats.h"
#include "image/core/CRaster.h"
#include "image/core/CRasterMemFile.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

std::vector<BYTE> Encoded(DWORD type, int bpp = 24) {
    CRaster image = TestPictures::Make(12, 9, bpp);
    std::vector<BYTE> bytes;
    EXPECT_TRUE(image.EncodeToMemory(bytes, type)) << image.GetLastError();
    return bytes;
}

TEST(Dispatch, UnknownIdsAndUnwritableFormatsFailWithTheirTexts) {
    CRaster image = TestPictures::Make(4, 4, 24);
    std::vector<BYTE> bytes;
    for (DWORD type : {0u, 16u, 100u}) {
        EXPECT_FALSE(image.EncodeToMemory(bytes, type));
        EXPECT_STREQ(image.GetLastError(), "Encode: Unknown format");
    }
    EXPECT_FALSE(image.EncodeToMemory(bytes, CRaster::kTypeWmf));
    EXPECT_STREQ(image.GetLastError(), "Save WMF not supported");
    EXPECT_TRUE(bytes.empty());
    const BYTE junk[] = {1, 2, 3};
    EXPECT_FALSE(image.DecodeFromMemory(junk, 16));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_FALSE(image.Decode(nullptr, CRaster::kTypeBmp));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
    EXPECT_FALSE(image.Encode(nullptr, CRaster::kTypeBmp));
    EXPECT_STREQ(image.GetLastError(), "null file handler");

    CRaster empty;
    EXPECT_FALSE(empty.EncodeToMemory(bytes, CRaster::kTypePng));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");
}

// The argument check says true for what may be written; every writer acts on that sense,
// so a writer reading it backwards refuses good pictures or goes on with an empty one.
TEST(Dispatch, EncodeArgumentCheckPassesGoodArgumentsAndEveryWriterRefusesAnEmptyPicture) {
    CRaster image = TestPictures::Make(4, 4, 24);
    CRasterMemFile stream;
    ASSERT_TRUE(stream.Open());
    EXPECT_TRUE(image.CheckEncodeArgs(&stream));
    EXPECT_FALSE(image.CheckEncodeArgs(nullptr));
    EXPECT_STREQ(image.GetLastError(), "null file handler");
    CRaster empty;
    EXPECT_FALSE(empty.CheckEncodeArgs(&stream));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!");

    for (DWORD type = 1; type < 16; ++type) {
        const CRasterFormats::Entry* entry = CRasterFormats::Find(type);
        if (!entry || !entry->writable)
            continue;
        const int bpp = type == CRaster::kTypeWbmp ? 1 : 24;
        std::vector<BYTE> bytes;
        CRaster good = TestPictures::Make(6, 5, type == CRaster::kTypePgx ? 8 : bpp);
        if (type == CRaster::kTypePgx)
            good.SetGrayPalette();
        EXPECT_TRUE(good.EncodeToMemory(bytes, type)) << entry->name << good.GetLastError();
        EXPECT_FALSE(bytes.empty()) << entry->name;

        std::unique_ptr<CRasterCodec> codec = CRasterFormats::MakeCodec(type);
        CRasterMemFile out;
        ASSERT_TRUE(out.Open());
        EXPECT_FALSE(codec->Encode(out)) << entry->name;
        EXPECT_EQ(out.Size(), 0) << entry->name;
    }
}

TEST(Dispatch, EncodeToMemoryRefusesAFilledBuffer) {
    CRaster image = TestPictures::Make(4, 4, 8);
    std::vector<BYTE> bytes{1, 2};
    EXPECT_FALSE(image.EncodeToMemory(bytes, CRaster::kTypeBmp));
    EXPECT_STREQ(image.GetLastError(), "the buffer must be empty");
    EXPECT_EQ(bytes, (std::vector<BYTE>{1, 2}));
}

// Detection tries every format from where the stream stands, rewinding to that place (not to
// 0) before each try, and a failed decode leaves the caller's picture as it was.
TEST(Dispatch, DetectionRewindsToTheStartingPositionAndFailureKeepsThePicture) {
    for (DWORD type : {CRaster::kTypeBmp, CRaster::kTypePng, CRaster::kTypeIco, CRaster::kTypeTga,
                       CRaster::kTypePcx}) {
        std::vector<BYTE> data(7, 0xEE);
        const std::vector<BYTE> picture = Encoded(type, type == CRaster::kTypeTga ? 24 : 8);
        data.insert(data.end(), picture.begin(), picture.end());
        CRasterMemFile stream(data.data(), data.size());
        ASSERT_TRUE(stream.Seek(7, 0));
        CRaster image;
        ASSERT_TRUE(image.Decode(&stream, CRaster::kTypeUnknown)) << type << image.GetLastError();
        EXPECT_EQ(image.GetType(), type);
        EXPECT_EQ(image.GetWidth(), 12u);
    }

    CRaster kept = TestPictures::Make(5, 5, 24);
    const auto before = TestPictures::Snapshot(kept);
    const BYTE junk[40] = {0x42, 0x4D, 1, 2, 3};
    EXPECT_FALSE(kept.DecodeFromMemory(junk, CRaster::kTypeUnknown));
    EXPECT_STREQ(kept.GetLastError(), "Decode: Unknown or wrong format");
    EXPECT_EQ(TestPictures::Snapshot(kept), before);
    EXPECT_FALSE(kept.DecodeFromMemory(junk, CRaster::kTypePng));
    EXPECT_EQ(TestPictures::Snapshot(kept), before);
}

// A picture whose signature names its format, read without a type, fails with that reader's
// reason (damaged data, over the budget), not with "unknown format".
TEST(Dispatch, DetectionReportsTheReasonOfTheFormatTheSignatureClaims) {
    for (DWORD type : {CRaster::kTypeBmp, CRaster::kTypePng, CRaster::kTypeGif, CRaster::kTypeTif,
                       CRaster::kTypeJpg}) {
        std::vector<BYTE> bytes = Encoded(type);
        CRaster small;
        small.Info().decode.budget = 100; // far less than 12 x 9 pixels hold
        EXPECT_FALSE(small.DecodeFromMemory(bytes, CRaster::kTypeUnknown)) << type;
        EXPECT_NE(std::string(small.GetLastError()).find("limit"), std::string::npos)
            << type << ": " << small.GetLastError();

        bytes.resize(bytes.size() / 2);
        CRaster cut;
        if (!cut.DecodeFromMemory(bytes, CRaster::kTypeUnknown)) {
            EXPECT_STRNE(cut.GetLastError(), "Decode: Unknown or wrong format") << type;
        }
    }
}

TEST(Dispatch, LoadFallsBackToDetectionAndKeepsTheAskedFormatsText) {
    const TempFolder folder("dispatch");
    const std::string path = folder.File("load.png");
    CRaster source = TestPictures::Make(12, 9, 24);
    ASSERT_TRUE(source.Save(path, CRaster::kTypePng));
    CRaster image;
    ASSERT_TRUE(image.Load(path, CRaster::kTypeTga));
    EXPECT_EQ(image.GetType(), CRaster::kTypePng);
    EXPECT_TRUE(TestPictures::SameColors(source, image));

    std::ofstream(path, std::ios::binary) << "this is no picture at all, not even a short one";
    EXPECT_FALSE(image.Load(path, CRaster::kTypePcx));
    EXPECT_STREQ(image.GetLastError(), "Can't read PCX image");
    EXPECT_FALSE(image.Load(path));
    EXPECT_STREQ(image.GetLastError(), "Decode: Unknown or wrong format");
    std::filesystem::remove(path);
    EXPECT_FALSE(image.Load(path, CRaster::kTypePng));
}

// Bytes that start like an icon directory of 54272 entries and are nothing at all: the count
// that the icon reader saw while detection tried it must not stay on the picture.
TEST(Dispatch, FailedLoadLeavesAnEmptyPictureWithoutFrameCounts) {
    const TempFolder folder("dispatch");
    const std::string path = folder.File("counts.tga");
    std::ofstream(path, std::ios::binary) << std::string("\0\0\1\0\0\xD4", 6) << "garbage";
    for (const DWORD asked : {CRaster::kTypeTga, CRaster::kTypeUnknown}) {
        CRaster image = TestPictures::Make(5, 5, 8);
        EXPECT_FALSE(image.Load(path, asked)) << asked;
        EXPECT_EQ(image.GetNumFrames(), 0) << asked;
        EXPECT_FALSE(image.IsValid()) << asked;
        EXPECT_STRNE(image.GetLastError(), "") << asked;
    }
    std::filesystem::remove(path);
    CRaster missing = TestPictures::Make(5, 5, 8);
    EXPECT_FALSE(missing.Load(path));
    EXPECT_FALSE(missing.IsValid());

    // Decoding from memory keeps the picture as it was, its count included.
    const std::vector<BYTE> bytes{0, 0, 1, 0, 0, 0xD4, 'x'};
    CRaster kept = TestPictures::Make(5, 5, 8);
    kept.Info().numFrames = 3;
    EXPECT_FALSE(kept.DecodeFromMemory(bytes, CRaster::kTypeUnknown));
    EXPECT_EQ(kept.GetNumFrames(), 3);
    EXPECT_TRUE(kept.IsValid());
}

TEST(Dispatch, FailedSaveLeavesTheOldFile) {
    const TempFolder folder("dispatch");
    const std::string path = folder.File("save.bmp");
    CRaster source = TestPictures::Make(6, 6, 8);
    ASSERT_TRUE(source.Save(path, CRaster::kTypeBmp));
    const auto size = std::filesystem::file_size(path);
    EXPECT_FALSE(source.Save(path, CRaster::kTypeTga + 100));
    CRaster four = TestPictures::Make(6, 6, 4);
    EXPECT_FALSE(four.Save(path, CRaster::kTypeTga));
    EXPECT_EQ(std::filesystem::file_size(path), size);
    CRaster back;
    EXPECT_TRUE(back.Load(path, CRaster::kTypeBmp));
    EXPECT_TRUE(TestPictures::SameColors(source, back));
}

TEST(Dispatch, FilesAndResources) {
    const std::vector<BYTE> bytes = Encoded(CRaster::kTypeBmp);
    CRaster image;
    EXPECT_FALSE(image.LoadResource({}, CRaster::kTypeBmp));
    EXPECT_STREQ(image.GetLastError(), "Unable to load resource!");
    // A bitmap resource is the file without its 14-byte file header.
    ASSERT_TRUE(image.LoadResource(std::span(bytes).subspan(14), CRaster::kTypeBmp));
    EXPECT_EQ(image.GetWidth(), 12u);

    std::FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(image.EncodeToFILE(f, CRaster::kTypePng));
    std::rewind(f);
    CRaster back;
    ASSERT_TRUE(back.DecodeFromFILE(f, CRaster::kTypeUnknown));
    EXPECT_TRUE(TestPictures::SameColors(image, back));
    std::fclose(f);
}

// A header-only request (escape flag -1) reports the size without decoding pixels.
TEST(Dispatch, HeaderOnlyRequestsGiveTheSize) {
    for (DWORD type : {CRaster::kTypeBmp, CRaster::kTypePng, CRaster::kTypeIco, CRaster::kTypeTga,
                       CRaster::kTypePcx}) {
        CRaster image;
        image.SetEscape(-1);
        ASSERT_TRUE(
            image.DecodeFromMemory(Encoded(type, 8 + 16 * (type == CRaster::kTypeTga)), type))
            << type;
        EXPECT_FALSE(image.IsValid());
        EXPECT_EQ(image.GetWidth(), 12u);
        EXPECT_EQ(image.GetHeight(), 9u);
        if (type == CRaster::kTypeBmp) {
            EXPECT_STREQ(image.GetLastError(), "output dimensions returned");
        }
    }
}

TEST(Dispatch, EscapeFlagCancelsLongDecodes) {
    for (DWORD type : {CRaster::kTypeBmp, CRaster::kTypeTga, CRaster::kTypePcx}) {
        CRaster image;
        image.SetEscape(1);
        EXPECT_FALSE(image.DecodeFromMemory(Encoded(type), type));
        EXPECT_STREQ(image.GetLastError(), "Cancelled");
    }
}

} // namespace

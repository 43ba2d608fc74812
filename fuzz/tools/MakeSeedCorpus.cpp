// Writes the fuzz seeds built from the tests' own file builders into the corpus folders under
// the folder given (fuzz/corpus in the sources):
//   build/orlimber_make_seed_corpus fuzz/corpus
// wkz_reader gets documents of each layout and the shapes hostile files took, packed_dib
// clipboard bitmaps of each header size, wmf metafiles and tle tile sets that ask for far more
// than their few bytes are worth.
// Seeds added to those folders by other means are left alone.
#include "document/WkzWriter.h"
#include "image/core/CRaster.h"
#include "maze/TemplateKind.h"
#include "platform/CArchive.h"
#include "tests/codecs/MetafileBombs.h"
#include "tests/support/PackedDib.h"
#include "tests/support/WkzSamples.h"
#include "tests/tiles/TileSetBombs.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class SeedFolder {
public:
    explicit SeedFolder(std::filesystem::path path) : path_(std::move(path)) {
        std::filesystem::create_directories(path_);
    }

    void Save(const std::string& name, const std::vector<BYTE>& bytes) const {
        const std::filesystem::path file = path_ / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        if (!out.flush())
            throw std::runtime_error("cannot write " + file.string());
    }

private:
    std::filesystem::path path_;
};

std::vector<BYTE> Document(const WkzContent& content) {
    CArchive ar = CArchive::ForStoring();
    std::string error;
    if (!WkzWriter::Write(content, ar, error))
        throw std::runtime_error("cannot encode a seed document: " + error);
    return ar.TakeData();
}

// A small box maze holding `count` flat grey pictures of `side` x `side` stored as PNG: a few
// kilobytes each, but together far beyond what a document may hold once read.
WkzContent ManyPictures(int count, DWORD side) {
    auto picture = std::make_shared<CRaster>(side, side, 24, CRaster::kTypePng);
    for (LONG y = 0; y < LONG(side); ++y)
        for (LONG x = 0; x < LONG(side); ++x)
            picture->BlindSetPixelColor(x, y, RGBQUAD{90, 90, 90, 0});
    auto png = std::make_shared<std::vector<BYTE>>();
    if (!CRaster(*picture).EncodeToMemory(*png, CRaster::kTypePng))
        throw std::runtime_error("cannot encode a seed picture");
    WkzContent c = WkzSamples::Sample(KIND_BOX, 3, 3);
    for (int i = 0; i < count; ++i) {
        CLogicalRectTracker object;
        object.SetImage(picture, CLogicalRectTracker::kindPicture, png);
        object.SetLogicalRect(0, 0, 1000, -1000);
        c.objects.push_back(object);
    }
    return c;
}

void DocumentSeeds(const SeedFolder& folder) {
    using WkzSamples::Sample;
    for (int kind : {KIND_BOX, KIND_HEX, KIND_OCTAGON_BOX, KIND_CIRCULAR}) {
        WkzContent c = Sample(kind, 2, 2);
        folder.Save("v2_kind" + std::to_string(kind) + ".wkz", Document(c));
        c.version = 1.0;
        folder.Save("v1_kind" + std::to_string(kind) + ".wkz", Document(c));
    }
    // The shapes hostile files took: one field at a limit each, a kind without a template
    // holding objects, a version no program wrote.
    WkzContent c = Sample(KIND_BOX, 2, 2);
    c.heightMultiplier = INT_MIN;
    folder.Save("hostile_height_multiplier.wkz", Document(c));
    c = Sample(KIND_BOX, 2, 2);
    c.widthMultiplier = 0;
    c.xOffset = INT_MAX;
    folder.Save("hostile_multiplier_offset.wkz", Document(c));
    c = Sample(KIND_CIRCULAR, 2, 2);
    c.grids[0].innerRadius = std::nan("");
    c.grids[0].ring0Count = -1;
    folder.Save("hostile_ring_grid.wkz", Document(c));
    c = Sample(KIND_BOX, 2, 2);
    c.kind = 17;
    folder.Save("hostile_unknown_kind.wkz", Document(c));
    std::vector<BYTE> newer = Document(Sample(KIND_BOX, 2, 2));
    const double hostile = 1e300;
    std::memcpy(newer.data(), &hostile, 8);
    folder.Save("hostile_version.wkz", newer);
    c = Sample(KIND_BOX, 2, 2);
    c.tiled = INT_MIN;
    c.flags = -1;
    c.pageHeight = 251;
    c.scale = 100000;
    folder.Save("limits_accepted.wkz", Document(c));
    folder.Save("hostile_many_pictures.wkz", Document(ManyPictures(9, 4000)));
}

void PackedDibSeeds(const SeedFolder& folder) {
    for (DWORD size : {12u, 40u, 56u, 124u})
        folder.Save("rgb24_header" + std::to_string(size), TrueColour(size).Bytes());
    folder.Save("rle8", Rle8().Bytes());
    PackedDib sixteen;
    sixteen.width = 2;
    sixteen.height = -1;
    sixteen.bpp = 16;
    sixteen.compression = 3;
    sixteen.extra = {0x00, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0};
    sixteen.rows = {0xE0, 0x07, 0x00, 0xF8};
    folder.Save("bitfields16_topdown", sixteen.Bytes());
}

void MetafileSeeds(const SeedFolder& folder) {
    folder.Save("full-rectangles.emf", MetafileBombs::FullRectanglesEmf(1000));
    folder.Save("full-rectangles.wmf", MetafileBombs::FullRectanglesWmf(1000));
    folder.Save("star-polygon.emf", MetafileBombs::StarPolygonEmf(2000));
    folder.Save("zigzag-polygon.emf", MetafileBombs::ZigzagPolygonEmf(2000));
    // Smaller than the tests' bombs, so that the fuzzer's runs stay quick; the same shapes.
    folder.Save("poly-text.emf", MetafileBombs::PolyTextEmf(400, 1600));
    folder.Save("pattern-brushes.emf", MetafileBombs::PatternBrushesEmf(2, 2600));
    folder.Save("stretched-rle.emf", MetafileBombs::StretchedRleEmf(2600));
}

std::vector<BYTE> Text(const std::string& text) {
    return {text.begin(), text.end()};
}

void TileSetSeeds(const SeedFolder& folder) {
    // The fuzz target's folder holds "s.bmp".
    folder.Save("huge-tiles.tle", Text(TileSetBombs::HugeTiles("s.bmp", 100000, 40)));
    folder.Save("many-sheet-lines.tle", Text(TileSetBombs::ManySheetLines("s.bmp", "s.bmp", 1661)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s corpus-folder (fuzz/corpus)\n", argv[0]);
        return 2;
    }
    const std::filesystem::path corpus = argv[1];
    try {
        DocumentSeeds(SeedFolder(corpus / "wkz_reader"));
        PackedDibSeeds(SeedFolder(corpus / "packed_dib"));
        MetafileSeeds(SeedFolder(corpus / "wmf"));
        TileSetSeeds(SeedFolder(corpus / "tle"));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}

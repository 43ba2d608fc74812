#include "tiles/CBMPTiler.h"

#include "image/codecs/CancellableLoad.h"
#include "image/core/PictureBudget.h"
#include "platform/CBitmap.h"
#include "platform/CDC.h"
#include "platform/IDcBackEnd.h"
#include "platform/TextFormat.h"
#include "res/TileSheetArt.h"
#include "tiles/TileFileName.h"
#include "tiles/TleNumbers.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <ctime>
#include <fstream>
#include <new>

namespace {

// A context that records what it draws (a metafile, a PDF) rather than setting pixels.
bool Recorded(CDC& dc) {
    return dc.BackEnd() && !dc.BackEnd()->Raster();
}

// A recording keeps about the tile's own pixels however large the cell is drawn: its reader
// stretches them, while a copy scaled up to the recording's resolution would repeat every
// pixel hundreds of times in every cell. The copy has the cell's shape, as readers that keep a
// picture's aspect would otherwise leave gaps in a cell that is not square.
const CRaster* AtMost(const CTileInfo& tile, int width, int height) {
    const double scale =
        std::min(1.0, std::max(double(tile.Width()) / width, double(tile.Height()) / height));
    return tile.ScaledTo(std::max(1, static_cast<int>(std::lround(width * scale))),
                         std::max(1, static_cast<int>(std::lround(height * scale))));
}

bool Contains(std::string_view text, std::string_view key) {
    return text.find(key) != std::string_view::npos;
}

bool SameLetters(std::string_view text, std::string_view letters) {
    std::string a(text), b(letters);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

// A picture the program drew itself, as a 24-bit raster with its overlay colour marked
// transparent the way a TRANSRGBCOLOR line marks a sheet's.
void FromPixels(const PixelPicture& picture, CRaster& out, bool transparent) {
    out.Destroy();
    if (picture.width <= 0 || !out.Create(DWORD(picture.width), DWORD(picture.height), 24))
        return;
    for (int y = 0; y < picture.height; ++y) {
        const std::uint32_t* row = &picture.pixels[std::size_t(y) * std::size_t(picture.width)];
        for (int x = 0; x < picture.width; ++x) {
            RGBQUAD c;
            c.rgbRed = BYTE(row[x] >> 16), c.rgbGreen = BYTE(row[x] >> 8), c.rgbBlue = BYTE(row[x]);
            out.BlindSetPixelColor(x, picture.height - 1 - y, c);
        }
    }
    if (transparent) {
        RGBQUAD key;
        key.rgbRed = 255, key.rgbGreen = 0, key.rgbBlue = 255;
        out.SetTransparentIndex(0);
        out.SetTransparentColor(key);
    }
}

const CRaster& PlaceholderRaster() {
    static const CRaster picture = [] {
        CRaster r;
        FromPixels(TileSheetArt::Placeholder(), r, false);
        return r;
    }();
    return picture;
}

} // namespace

CBMPTiler::CBMPTiler() : sheet_(std::make_shared<CRaster>()), groups_(kKinds) {}

void CBMPTiler::Reset() {
    // Tiles handed out earlier keep the sheet they point at.
    sheet_ = std::make_shared<CRaster>();
    mask_.Destroy();
    groups_.assign(kKinds, CTileGroupInfo{});
    for (std::string* field : {&bmpFile, &maskFile, &name, &creditLine, &uniqueId, &copyright,
                               &copyrightDate, &moreInfo, &url, &use, &comments, &tleVersion})
        field->clear();
    revision.assign(1, '1'); // "1"; a plain assignment trips a GCC 12 false warning
    rotateSol_ = rotateSolAngle_ = reseed_ = flags_ = versionFlag_ = 0;
    // Every parse starts from no tile size: a set without PIXELSWIDE/HIGH cuts no tiles.
    tileWidth_ = tileHeight_ = 0;
    transparent_ = RGBQUAD{};
    transparentSet_ = false;
    problem_.clear();
    NewSeed();
}

bool CBMPTiler::LoadFromFile(const std::string& path, const std::string& folderName,
                             Pictures pictures) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(kMaxFileBytes, '\0');
    if (in)
        in.read(bytes.data(), std::streamsize(kMaxFileBytes));
    if (!in && !in.eof()) {
        folder.clear();
        Reset();
        return false;
    }
    bytes.resize(std::size_t(in.gcount()));
    bytes.resize(std::min(bytes.size(), bytes.find('\0')));
    folder = folderName;
    return Parse(bytes, 0, 0, pictures) != 0;
}

int CBMPTiler::Parse(std::string_view text, int tileResourceId, int imageResourceId,
                     Pictures pictures) {
    const std::string keptFolder = folder;
    Reset();
    folder = keptFolder;
    const bool builtIn = tileResourceId != 0;
    if (builtIn) {
        FromPixels(TileSheetArt::Sheet(imageResourceId), *sheet_, true);
        text = TileSheetArt::Definition(tileResourceId);
    }
    std::string utf8 = Cp1252ToUtf8(text);
    utf8.append("\r\n");
    if (utf8.size() <= 1)
        return 1;
    std::string_view rest = utf8;
    while (!rest.empty()) {
        const auto end = rest.find('\n');
        std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view{} : rest.substr(end + 1);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.front() != ';')
            ParseLine(line, builtIn);
    }
    Finish(builtIn, pictures);
    return 1;
}

void CBMPTiler::Finish(bool builtIn, Pictures pictures) {
    if (pictures == Pictures::Skip)
        return;
    try {
        ReadPictures(builtIn);
    } catch (const std::bad_alloc&) {
        sheet_ = std::make_shared<CRaster>();
        mask_.Destroy();
        problem_ = kPictureOutOfMemory;
        PlaceTiles();
    }
}

void CBMPTiler::ReadPictures(bool builtIn) {
    bool sheetRead = builtIn;
    if (!builtIn && !bmpFile.empty())
        sheetRead = LoadPicture(*sheet_, bmpFile);
    if (!maskFile.empty())
        LoadPicture(mask_, maskFile);
    if (sheetRead && transparentSet_)
        SetTransparent({});
    PlaceTiles();
}

void CBMPTiler::PlaceTiles() {
    int tooLarge = 0, outside = 0;
    std::pair<int, int> largest;
    for (CTileGroupInfo& group : groups_) {
        for (CTileInfo& tile : group.tiles) {
            if (tile.tileWidth > kMaxTileSide || tile.tileHeight > kMaxTileSide) {
                ++tooLarge;
                largest = {tile.tileWidth, tile.tileHeight};
                tile.Place(nullptr);
                continue;
            }
            tile.Place(sheet_);
            outside += sheet_->IsValid() && tile.tileWidth > 0 && tile.tileHeight > 0 &&
                       !tile.HasPicture();
        }
    }
    if (!problem_.empty())
        return;
    if (tooLarge > 0)
        problem_ = Format("The tile set \"%s\" asks for tiles of %d x %d pixels; a tile may be at "
                          "most %d x %d pixels, so its tiles are not drawn.",
                          name.c_str(), largest.first, largest.second, kMaxTileSide, kMaxTileSide);
    else if (outside > 0)
        problem_ = Format("%d tiles of the tile set \"%s\" lie outside its picture of %u x %u "
                          "pixels and are not drawn.",
                          outside, name.c_str(), unsigned(sheet_->GetWidth()),
                          unsigned(sheet_->GetHeight()));
}

void CBMPTiler::ParseLine(std::string_view line, bool builtIn) {
    const auto colon = line.find(':');
    const std::string_view value =
        colon == std::string_view::npos ? std::string_view{} : line.substr(colon + 1);
    const std::string text(value);
    if (Contains(line, "TLEVERSION:")) {
        tleVersion = text;
        versionFlag_ = TleNumbers::Real(value) > 1.5 ? 1 : 0;
    }
    const std::pair<std::string_view, std::string*> plain[] = {{"NAME:", &name},
                                                               {"REVISION:", &revision},
                                                               {"UNIQUEID:", &uniqueId},
                                                               {"CREDITLINE:", &creditLine},
                                                               {"COPYRIGHT:", &copyright},
                                                               {"COPYRIGHTDATE:", &copyrightDate},
                                                               {"MOREINFO:", &moreInfo},
                                                               {"URL:", &url},
                                                               {"USE:", &use},
                                                               {"COMMENTS:", &comments}};
    for (const auto& [key, field] : plain)
        if (Contains(line, key))
            *field = text;
    // Pictures are read once the text is done: many BMPFILE lines cost one reading.
    if (Contains(line, "BMPFILE:") && !builtIn) {
        bmpFile = text;
        transparentSet_ = false;
    }
    if (Contains(line, "MASKFILE:"))
        maskFile = text;
    if (Contains(line, "PIXELSWIDE:"))
        tileWidth_ = TleNumbers::Int(value);
    if (Contains(line, "PIXELSHIGH:"))
        tileHeight_ = TleNumbers::Int(value);
    if (Contains(line, "TRANSRGBCOLOR:"))
        SetTransparent(value);
    if (Contains(line, "ROTATESOL:")) {
        rotateSol_ = TleNumbers::Int(value);
        flags_ |= kRotateSol;
    }
    if (Contains(line, "ROTATESOLANGLE:"))
        rotateSolAngle_ = TleNumbers::Int(value);
    if (Contains(line, "TILE:"))
        AddTile(TleNumbers::Trim(value), 0);
    if (Contains(line, "TILEO:")) {
        const std::string all = TleNumbers::Trim(value);
        const auto comma = all.find(',');
        const double percent = std::clamp(TleNumbers::Real(all.substr(0, comma)), 0.0, 100.0);
        // A line without a kind after the opacity adds an empty-kind tile, as TILE would.
        AddTile(comma == std::string::npos ? std::string_view{}
                                           : std::string_view(all).substr(comma + 1),
                static_cast<int>(percent));
    }
}

bool CBMPTiler::LoadPicture(CRaster& picture, std::string_view value) {
    picture.Destroy();
    const auto path = TileFileName::Resolve(folder, value);
    if (!path)
        return false;
    if (CancellableLoad::Load(picture, *path))
        return true;
    if (problem_.empty())
        problem_ = Format("The picture \"%s\" of the tile set \"%s\" could not be read: %s",
                          std::string(TleNumbers::Trim(value)).c_str(), name.c_str(),
                          picture.GetLastError());
    picture.Destroy();
    return false;
}

void CBMPTiler::SetTransparent(std::string_view value) {
    if (!value.empty()) {
        const unsigned rgb = TleNumbers::Hex(TleNumbers::Trim(value));
        transparent_.rgbRed = BYTE(rgb >> 16);
        transparent_.rgbGreen = BYTE(rgb >> 8);
        transparent_.rgbBlue = BYTE(rgb);
        // As the line was read: it marks the sheet named before it, none named after it.
        transparentSet_ = !bmpFile.empty() || sheet_->IsValid();
        return;
    }
    if (!sheet_->IsValid())
        return;
    if (sheet_->GetBpp() < 24)
        sheet_->IncreaseBpp(24);
    sheet_->SetTransparentIndex(0);
    sheet_->SetTransparentColor(transparent_);
}

void CBMPTiler::AddTile(std::string_view value, int opacity) {
    const std::string_view kindText = value.substr(0, value.find(','));
    const int kind = KindFromName(kindText);
    if (kind < 0 || kind >= kKinds)
        return;
    groups_[std::size_t(kind)].AddTile(value, tileWidth_, tileHeight_, opacity);
}

int CBMPTiler::KindFromName(std::string_view raw, int& flags) {
    const int base = TleNumbers::Int(raw);
    std::string text = TleNumbers::Trim(raw);
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    int kind = Contains(text, "STOP")       ? kStop
               : Contains(text, "START")    ? kStart
               : Contains(text, "BLACKEN")  ? kBlacken
               : Contains(text, "SOLUTION") ? kSolution
                                            : base;
    const std::tuple<std::string_view, int, int> joins[] = {{"CROSSOVER", 20, kCrossover},
                                                            {"JOIN-NS-EW", 20, kCrossover},
                                                            {"JOIN-NW-SE", 21, kJoinNwSe},
                                                            {"JOIN-NE-SW", 22, kJoinNeSw}};
    for (const auto& [key, k, bit] : joins) {
        if (Contains(text, key)) {
            kind = k;
            flags |= bit;
        }
    }
    if (Contains(text, "TEMPLATE"))
        kind = 0;
    if (text.size() == 1) {
        const char c = text[0];
        kind = c == 'W' ? 8 : c == 'S' ? 4 : c == 'E' ? 2 : c == 'N' ? 1 : kind;
    } else if (text.size() == 2) {
        const std::pair<std::string_view, int> pairs[] = {{"SW", 12}, {"SE", 6}, {"NE", 3}};
        for (const auto& [letters, k] : pairs) {
            if (SameLetters(text, letters)) {
                kind = k;
                break;
            }
        }
        for (const auto& [letters, k] :
             {std::pair<std::string_view, int>{"NW", 9}, {"NS", 5}, {"EW", 10}})
            if (SameLetters(text, letters))
                kind = k;
    } else if (text.size() == 3) {
        for (const auto& [letters, k] :
             {std::pair<std::string_view, int>{"NSE", 7}, {"ESW", 14}, {"NEW", 11}, {"NSW", 13}})
            if (SameLetters(text, letters))
                kind = k;
    } else if (text.size() == 4 && SameLetters(text, "NSEW")) {
        kind = 15;
    }
    return kind;
}

void CBMPTiler::NewSeed() {
    seed_ = static_cast<std::int64_t>(std::time(nullptr));
}

void CBMPTiler::ResetRandom() {
    if (reseed_) {
        NewSeed();
        reseed_ = 0;
    }
    random_.srand(static_cast<std::uint32_t>(seed_ & 0xFFFFFFFF));
}

void CBMPTiler::DrawTile(CDC& dc, int kind, const CRect& rect, bool visible) {
    if (kind < 0 || kind >= kKinds)
        return;
    const CTileGroupInfo& group = groups_[std::size_t(kind)];
    // The pick happens whether or not the tile shows, so hiding a layer never changes which
    // alternatives the others get.
    const CTileInfo* tile = group.Empty() ? nullptr : group.PickTile(random_);
    if (!visible)
        return;
    CRect device = rect;
    dc.LPtoDP(&device);
    device.NormalizeRect();
    if (device.IsRectEmpty())
        return;
    const CRaster* picture = !tile          ? &PlaceholderRaster()
                             : Recorded(dc) ? AtMost(*tile, device.Width(), device.Height())
                                            : tile->ScaledTo(device.Width(), device.Height());
    if (!picture)
        return;
    if (!tile) {
        picture->DrawLogicalRect(dc, rect);
        return;
    }
    CPoint corner = device.TopLeft();
    dc.DPtoLP(&corner);
    picture->Draw(dc, corner.x, corner.y, device.Width(), device.Height());
}

bool CBMPTiler::RenderPreview(CRaster& image, int width, int height) {
    CBitmap bitmap;
    if (width <= 0 || height <= 0 || !bitmap.CreateBitmap32(width, height))
        return false;
    CDC dc;
    dc.CreateCompatibleDC(nullptr);
    CBitmap* old = dc.SelectObject(&bitmap);
    dc.SetMapMode(MM_TEXT);
    dc.PatBlt(0, 0, width, height, WHITENESS);
    ResetRandom();
    static constexpr int kSample[3][3] = {{2, 14, 8}, {6, 11, 12}, {3, 8, 1}};
    const int w = width / 3, h = height / 3;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            DrawTile(dc, kSample[row][column],
                     CRect(column * w, row * h, (column + 1) * w, (row + 1) * h), true);
    dc.SelectObject(old);
    return image.CreateFromBitmap(bitmap);
}

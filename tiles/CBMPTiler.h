#pragma once
#include "image/core/CRaster.h"
#include "platform/CRect.h"
#include "platform/CrtRandom.h"
#include "tiles/CTileGroupInfo.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class CDC;

// One tile set: the sheet, the optional mask and the tiles of each kind, read from a
// definition text (a ".tle" file or a built-in set). It owns its random sequence, so
// drawing never changes which maze a seed grows.
class CBMPTiler {
public:
    static constexpr int kKinds = 23;
    static constexpr int kSolution = 16, kBlacken = 17, kStart = 18, kStop = 19;
    static constexpr std::size_t kMaxFileBytes = 40000;
    // A tile larger than this on a side is no tile; a set that asks for one draws none.
    static constexpr int kMaxTileSide = 4096;
    enum Flags { kCrossover = 0x1, kJoinNwSe = 0x2, kJoinNeSw = 0x4, kRotateSol = 0x10 };

    CBMPTiler();

    // Whether a parse reads the set's pictures, or only its text (to list it).
    enum class Pictures { Load, Skip };
    // Reads at most 40000 bytes of a definition file (up to its first NUL) and parses it;
    // pictures are looked for in `folder`. False, with the tiler reset, when the file can't
    // be read.
    bool LoadFromFile(const std::string& path, const std::string& folder,
                      Pictures pictures = Pictures::Load);
    // Resets and parses `text` (Windows-1252); with a non-zero `tileResourceId` the built-in
    // pair (`imageResourceId` sheet, `tileResourceId` text) is used instead. The sheet is the
    // one the last BMPFILE line names, read once when the text is done (under the picture
    // budget, Escape stopping it), and the tiles are views into it.
    int Parse(std::string_view text, int tileResourceId = 0, int imageResourceId = 0,
              Pictures pictures = Pictures::Load);
    // Why the last parse draws less than its text asks for (tiles too large or off the
    // sheet, a sheet that could not be read); empty when nothing is amiss.
    const std::string& Problem() const { return problem_; }

    // Picks a tile of `kind` and, when `visible`, draws it stretched into the logical `rect`.
    void DrawTile(CDC& dc, int kind, const CRect& rect, bool visible);
    void ResetRandom();
    void NewSeed();
    // The 3 x 3 sample maze as a `width` by `height` picture.
    bool RenderPreview(CRaster& image, int width, int height);

    // The group of a kind text; `flags` collects the join and crossing bits it names.
    static int KindFromName(std::string_view text, int& flags);
    int KindFromName(std::string_view text) { return KindFromName(text, flags_); }

    const CTileGroupInfo& Group(int kind) const { return groups_[std::size_t(kind)]; }
    const CRaster& Sheet() const { return *sheet_; }
    const CRaster& Mask() const { return mask_; }
    int TileWidth() const { return tileWidth_; }
    int TileHeight() const { return tileHeight_; }
    int Flags() const { return flags_; }
    int RotateSol() const { return rotateSol_; }
    int RotateSolAngle() const { return rotateSolAngle_; }
    int VersionFlag() const { return versionFlag_; }
    std::int64_t Seed() const { return seed_; }
    void SetSeed(std::int64_t seed) { seed_ = seed; }

    std::string bmpFile, maskFile, name, revision = "1", creditLine, uniqueId, folder, copyright,
                                         copyrightDate, moreInfo, url, use, comments, tleVersion;

private:
    void Reset();
    void ParseLine(std::string_view line, bool builtIn);
    // Reads the pictures the text named and places the tiles on the sheet.
    void Finish(bool builtIn, Pictures pictures);
    void ReadPictures(bool builtIn);
    // False with the reason in problem_ when a named picture is there but cannot be read.
    bool LoadPicture(CRaster& picture, std::string_view value);
    void SetTransparent(std::string_view value);
    void AddTile(std::string_view value, int opacity);
    void PlaceTiles();

    std::shared_ptr<CRaster> sheet_;
    CRaster mask_;
    std::vector<CTileGroupInfo> groups_;
    int tileWidth_ = 0, tileHeight_ = 0;
    int rotateSol_ = 0, rotateSolAngle_ = 0;
    int reseed_ = 0;
    int versionFlag_ = 0;
    RGBQUAD transparent_;
    bool transparentSet_ = false; // by a line after the last BMPFILE line
    std::string problem_;
    int flags_ = 0;
    std::int64_t seed_ = 0;
    CrtRandom random_;
};

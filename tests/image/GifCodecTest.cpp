#include "image/codecs/CRasterGIF.h"
#include "image/core/CRasterMemFile.h"
#include "platform/CrtRandom.h"

#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

namespace fs = std::filesystem;

// A palette picture whose colours are all distinct, filled with a pattern of every index.
CRaster MakeIndexed(DWORD w, DWORD h, int bpp, unsigned seed = 1) {
    CRaster img(w, h, static_cast<DWORD>(bpp), CRaster::kTypeGif);
    for (DWORD i = 0; i < img.GetNumColors(); ++i)
        img.SetPaletteColor(i, static_cast<BYTE>(i * 37 + 11), static_cast<BYTE>(255 - i),
                            static_cast<BYTE>(i * 5));
    CrtRandom rng;
    rng.srand(seed);
    const int colors = 1 << bpp;
    for (LONG y = 0; y < static_cast<LONG>(h); ++y)
        for (LONG x = 0; x < static_cast<LONG>(w); ++x)
            img.SetPixelIndex(
                x, y, static_cast<BYTE>((rng.rand() % 4 == 0 ? rng.rand() : x / 3 + y) % colors));
    return img;
}

CRaster MakeTrueColor(DWORD w, DWORD h) {
    CRaster img(w, h, 24, CRaster::kTypeGif);
    for (LONG y = 0; y < static_cast<LONG>(h); ++y)
        for (LONG x = 0; x < static_cast<LONG>(w); ++x)
            img.SetPixelColor(x, y,
                              RGBQUAD{static_cast<BYTE>(x * 7), static_cast<BYTE>(y * 13),
                                      static_cast<BYTE>((x * y) & 0xFF), 0});
    return img;
}

std::vector<BYTE> EncodeGif(CRasterGIF& gif) {
    CRasterMemFile out;
    out.Open();
    EXPECT_TRUE(gif.Encode(out)) << gif.GetLastError();
    return out.DetachBuffer();
}

std::vector<BYTE> EncodeGif(const CRaster& image, int option = 0) {
    CRasterGIF gif;
    gif.Copy(image);
    gif.SetCodecOption(static_cast<DWORD>(option), CRaster::kTypeGif);
    return EncodeGif(gif);
}

bool DecodeGif(const std::vector<BYTE>& bytes, CRasterGIF& gif) {
    CRasterMemFile in(bytes.data(), bytes.size());
    return gif.Decode(in, gif.Info().decode);
}

::testing::AssertionResult SameColors(const CRaster& a, const CRaster& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight())
        return ::testing::AssertionFailure() << "size " << a.GetWidth() << "x" << a.GetHeight()
                                             << " vs " << b.GetWidth() << "x" << b.GetHeight();
    for (LONG y = 0; y < static_cast<LONG>(a.GetHeight()); ++y)
        for (LONG x = 0; x < static_cast<LONG>(a.GetWidth()); ++x) {
            const RGBQUAD p = a.GetPixelColor(x, y, false), q = b.GetPixelColor(x, y, false);
            if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue)
                return ::testing::AssertionFailure() << "pixel " << x << "," << y;
        }
    return ::testing::AssertionSuccess();
}

// ImageMagick, the independent reader and writer the files are checked against.
class Magick {
public:
    static bool Available() { return std::system("command -v convert-im6.q16 >/dev/null") == 0; }

    fs::path Path(const std::string& name) const { return dir_.Path() / name; }
    void WriteFile(const fs::path& p, const std::vector<BYTE>& bytes) const {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    std::vector<BYTE> ReadFile(const fs::path& p) const {
        std::ifstream in(p, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    bool Run(const std::string& args) const {
        return std::system(("convert-im6.q16 " + args + " 2>/dev/null").c_str()) == 0;
    }
    // The picture ImageMagick reads from `gif` (frame `frame`), as a 24-bit image.
    bool Read(const std::vector<BYTE>& gif, CRaster& out, int frame = 0) const {
        const auto in = Path("in.gif"), ppm = Path("out.ppm");
        WriteFile(in, gif);
        // Appended: GCC 12 at -O3 reports a false overlap for a literal added in front.
        std::string args(1, '\'');
        args.append(in.string()).append("[").append(std::to_string(frame));
        if (!Run(args.append("]' -depth 8 ppm:").append(ppm.string())))
            return false;
        return ParsePpm(ReadFile(ppm), out);
    }
    void WritePpm(const fs::path& p, const CRaster& img) const {
        std::ostringstream s;
        s << "P6\n" << img.GetWidth() << ' ' << img.GetHeight() << "\n255\n";
        std::string text = s.str();
        std::vector<BYTE> bytes(text.begin(), text.end());
        for (LONG y = static_cast<LONG>(img.GetHeight()) - 1; y >= 0; --y)
            for (LONG x = 0; x < static_cast<LONG>(img.GetWidth()); ++x) {
                const RGBQUAD c = img.GetPixelColor(x, y, false);
                bytes.insert(bytes.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
            }
        WriteFile(p, bytes);
    }

    static bool ParsePpm(const std::vector<BYTE>& bytes, CRaster& out) {
        std::string head(bytes.begin(), bytes.begin() + std::min<std::size_t>(bytes.size(), 64));
        std::istringstream s(head);
        std::string magic;
        int w = 0, h = 0, max = 0;
        s >> magic >> w >> h >> max;
        if (magic != "P6" || w <= 0 || h <= 0)
            return false;
        const std::size_t start = static_cast<std::size_t>(s.tellg()) + 1;
        if (bytes.size() < start + static_cast<std::size_t>(w) * h * 3)
            return false;
        out.Create(static_cast<DWORD>(w), static_cast<DWORD>(h), 24);
        std::size_t k = start;
        for (LONG y = h - 1; y >= 0; --y)
            for (LONG x = 0; x < w; ++x, k += 3)
                out.SetPixelColor(x, y, RGBQUAD{bytes[k + 2], bytes[k + 1], bytes[k], 0});
        return true;
    }

private:
    TempFolder dir_{"gif"};
};

} // namespace

TEST(GifCodec, RoundTripsEveryDepthAndCompressor) {
    for (const int bpp : {1, 4, 8}) {
        for (const int option : {0, 1, 2}) {
            for (const auto& [w, h] :
                 {std::pair{1u, 1u}, std::pair{7u, 3u}, std::pair{333u, 41u}}) {
                const CRaster src = MakeIndexed(w, h, bpp);
                CRasterGIF back;
                ASSERT_TRUE(DecodeGif(EncodeGif(src, option), back)) << bpp << " " << option;
                EXPECT_EQ(back.GetBpp(), bpp);
                EXPECT_TRUE(SameColors(src, back)) << bpp << " " << option << " " << w;
                EXPECT_EQ(back.GetNumFrames(), 1);
            }
        }
    }
}

TEST(GifCodec, TrueColorMosaicReadsBackWhole) {
    // Sizes around the 17x15 tile, including narrow and short pictures whose first tile
    // is smaller than the screen in one direction only.
    for (const DWORD w : {1u, 2u, 16u, 17u, 18u, 20u, 40u})
        for (const DWORD h : {1u, 14u, 15u, 16u, 20u}) {
            const CRaster src = MakeTrueColor(w, h);
            CRasterGIF back;
            ASSERT_TRUE(DecodeGif(EncodeGif(src), back)) << w << "x" << h;
            EXPECT_TRUE(SameColors(src, back)) << w << "x" << h;
        }
}

TEST(GifCodec, MosaicTilesHaveTheirPlaces) {
    const auto bytes = EncodeGif(MakeTrueColor(20, 20));
    // Image descriptors: offsets and sizes of the four tiles.
    std::vector<std::array<int, 4>> tiles;
    for (std::size_t i = 0; i + 9 < bytes.size(); ++i) {
        if (bytes[i] == 0x2C && i >= 8 && bytes[i - 8] == 0x21 && bytes[i - 7] == 0xF9)
            tiles.push_back({bytes[i + 1] | bytes[i + 2] << 8, bytes[i + 3] | bytes[i + 4] << 8,
                             bytes[i + 5] | bytes[i + 6] << 8, bytes[i + 7] | bytes[i + 8] << 8});
    }
    const std::vector<std::array<int, 4>> expected = {
        {0, 0, 17, 15}, {17, 0, 3, 15}, {0, 15, 17, 5}, {17, 15, 3, 5}};
    EXPECT_EQ(tiles, expected);
}

TEST(GifCodec, CommentLoopAndTransparency) {
    CRaster src = MakeIndexed(10, 10, 4);
    src.SetTransparentIndex(3);
    CRasterGIF gif;
    gif.Copy(src);
    gif.SetComment(std::string(300, 'c'));
    EXPECT_EQ(gif.GetComment().size(), 255u);
    const auto bytes = EncodeGif(gif);
    CRasterGIF back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    EXPECT_EQ(back.GetComment(), std::string(255, 'c'));
    EXPECT_EQ(back.GetTransparentIndex(), 3);
    // A transparent 4-bit frame: the palette entries past the table are white.
    EXPECT_EQ(back.GetNumColors(), 16u);

    CRaster a = MakeIndexed(6, 5, 8, 1), b = MakeIndexed(6, 5, 8, 2);
    CRaster* frames[] = {&a, &b};
    for (const int loops : {0, 1, 5}) {
        CRasterGIF anim;
        anim.SetLoops(loops);
        CRasterMemFile out;
        out.Open();
        ASSERT_TRUE(anim.EncodeAnimated(out, frames, true, false));
        const auto data = out.DetachBuffer();
        const std::string text(data.begin(), data.end());
        const auto at = text.find("NETSCAPE2.0");
        if (loops == 1) {
            EXPECT_EQ(at, std::string::npos);
        } else {
            ASSERT_NE(at, std::string::npos);
            EXPECT_EQ(data[at + 13] | data[at + 14] << 8, std::max(0, loops - 1));
        }
        CRasterGIF second;
        second.Info().frame = 1;
        ASSERT_TRUE(DecodeGif(data, second));
        EXPECT_EQ(second.GetNumFrames(), 2);
        EXPECT_TRUE(SameColors(b, second));
        // Read back as the writer takes it, so that writing it again stores the same block.
        EXPECT_EQ(second.GetLoops(), loops);
        CRasterGIF third;
        third.Info().frame = 2;
        EXPECT_FALSE(DecodeGif(data, third));
        EXPECT_EQ(third.GetNumFrames(), 2);
    }
}

TEST(GifCodec, AnimatedRefusesBadFrames) {
    CRaster good = MakeIndexed(4, 4, 8), empty, truecolor = MakeTrueColor(4, 4);
    CRasterMemFile out;
    out.Open();
    CRasterGIF gif;
    EXPECT_FALSE(gif.EncodeAnimated(out, {}, false, false));
    EXPECT_STREQ(gif.GetLastError(), "multipage GIF, no images!");
    CRaster* withNull[] = {&good, nullptr};
    EXPECT_FALSE(gif.EncodeAnimated(out, withNull, false, false));
    EXPECT_STREQ(gif.GetLastError(), "Bad image pointer");
    CRaster* withEmpty[] = {&good, &empty};
    EXPECT_FALSE(gif.EncodeAnimated(out, withEmpty, false, false));
    EXPECT_STREQ(gif.GetLastError(), "Empty image");
    CRaster* withTrue[] = {&good, &truecolor};
    EXPECT_FALSE(gif.EncodeAnimated(out, withTrue, false, false));
    EXPECT_STREQ(gif.GetLastError(), "CRasterGIF::Encode cannot create animated GIFs with a true "
                                     "color frame. Use DecreaseBpp before");
}

TEST(GifCodec, HostileFilesFailOrDecodeWithinBounds) {
    const auto good = EncodeGif(MakeIndexed(30, 20, 8));
    CRasterGIF gif;
    EXPECT_FALSE(DecodeGif({'G', 'I', 'F'}, gif));
    std::vector<BYTE> wrong = good;
    wrong[3] = '7' + 2;
    EXPECT_FALSE(DecodeGif(wrong, gif));
    // Every truncation either fails or yields a picture of the screen size.
    for (std::size_t cut = 0; cut < good.size(); cut += 3) {
        CRasterGIF t;
        if (DecodeGif(std::vector<BYTE>(good.begin(), good.begin() + cut), t)) {
            EXPECT_EQ(t.GetWidth(), 30u);
            EXPECT_EQ(t.GetHeight(), 20u);
        }
    }
    // A huge screen with a tiny frame: the screen allocation is refused by the size limit.
    std::vector<BYTE> huge = good;
    huge[6] = huge[7] = huge[8] = huge[9] = 0xFF;
    CRasterGIF h;
    DecodeGif(huge, h);
}

TEST(GifCodec, AgreesWithImageMagick) {
    if (!Magick::Available())
        GTEST_SKIP() << "ImageMagick is not installed";
    Magick magick;
    // Ours, read by ImageMagick.
    for (const int bpp : {1, 4, 8})
        for (const int option : {0, 1, 2}) {
            const CRaster src = MakeIndexed(123, 45, bpp, 7);
            CRaster seen;
            ASSERT_TRUE(magick.Read(EncodeGif(src, option), seen)) << bpp << " " << option;
            EXPECT_TRUE(SameColors(src, seen)) << bpp << " " << option;
        }
    const CRaster mosaic = MakeTrueColor(50, 37);
    // ImageMagick reads a mosaic as placed frames; flattened they are the whole picture.
    const auto in = magick.Path("m.gif"), ppm = magick.Path("m.ppm");
    magick.WriteFile(in, EncodeGif(mosaic));
    ASSERT_TRUE(magick.Run(in.string() + " -layers flatten -depth 8 ppm:" + ppm.string()));
    CRaster flat;
    ASSERT_TRUE(Magick::ParsePpm(magick.ReadFile(ppm), flat));
    EXPECT_TRUE(SameColors(mosaic, flat));

    // ImageMagick's files, read by us: plain and interlaced.
    for (const char* extra : {"", "-interlace GIF"}) {
        const CRaster src = MakeIndexed(64, 37, 8, 3);
        const auto p = magick.Path("src.ppm"), g = magick.Path("im.gif");
        magick.WritePpm(p, src);
        ASSERT_TRUE(magick.Run(p.string() + " " + std::string(extra) + " " + g.string()));
        CRasterGIF back;
        ASSERT_TRUE(DecodeGif(magick.ReadFile(g), back)) << extra;
        EXPECT_TRUE(SameColors(src, back)) << extra;
    }
}

namespace {

// giflib's converter, a second independent reader and writer.
bool GiflibAvailable() {
    return std::system("command -v gif2rgb >/dev/null") == 0;
}

bool GiflibRead(const Magick& files, const std::vector<BYTE>& gif, DWORD w, DWORD h, CRaster& out) {
    const auto in = files.Path("g.gif"), rgb = files.Path("g.rgb");
    files.WriteFile(in, gif);
    if (std::system(("gif2rgb -1 -o " + rgb.string() + " " + in.string() + " 2>/dev/null").c_str()))
        return false;
    const auto bytes = files.ReadFile(rgb);
    if (bytes.size() != std::size_t(w) * h * 3)
        return false;
    out.Create(w, h, 24);
    std::size_t k = 0;
    for (LONG y = static_cast<LONG>(h) - 1; y >= 0; --y)
        for (LONG x = 0; x < static_cast<LONG>(w); ++x, k += 3)
            out.SetPixelColor(x, y, RGBQUAD{bytes[k + 2], bytes[k + 1], bytes[k], 0});
    return true;
}

} // namespace

TEST(GifCodec, AgreesWithGiflib) {
    if (!GiflibAvailable())
        GTEST_SKIP() << "giflib's tools are not installed";
    Magick files;
    for (const int bpp : {1, 4, 8})
        for (const int option : {0, 1, 2}) {
            const CRaster src = MakeIndexed(97, 31, bpp, 5);
            CRaster seen;
            ASSERT_TRUE(GiflibRead(files, EncodeGif(src, option), 97, 31, seen));
            EXPECT_TRUE(SameColors(src, seen)) << bpp << " " << option;
        }
    // A file giflib writes from raw colours decodes to what giflib itself reads from it.
    const CRaster src = MakeTrueColor(40, 30);
    std::vector<BYTE> rgb;
    for (LONG y = 29; y >= 0; --y)
        for (LONG x = 0; x < 40; ++x) {
            const RGBQUAD c = src.GetPixelColor(x, y, false);
            rgb.insert(rgb.end(), {c.rgbRed, c.rgbGreen, c.rgbBlue});
        }
    const auto raw = files.Path("src.rgb"), gif = files.Path("lib.gif");
    files.WriteFile(raw, rgb);
    ASSERT_EQ(
        std::system(
            ("gif2rgb -1 -s 40 30 " + raw.string() + " >" + gif.string() + " 2>/dev/null").c_str()),
        0);
    const auto bytes = files.ReadFile(gif);
    CRasterGIF ours;
    ASSERT_TRUE(DecodeGif(bytes, ours));
    CRaster theirs;
    ASSERT_TRUE(GiflibRead(files, bytes, 40, 30, theirs));
    EXPECT_TRUE(SameColors(ours, theirs));
}

TEST(GifCodec, FramesComposeByDisposal) {
    auto solid = [](DWORD w, DWORD h, BYTE index, LONG x, LONG y, BYTE disposal) {
        CRaster f(w, h, 8, CRaster::kTypeGif);
        for (DWORD i = 0; i < 256; ++i)
            f.SetPaletteColor(i, static_cast<BYTE>(i), static_cast<BYTE>(i * 3), 9);
        f.Clear(index);
        f.SetOffset(x, y);
        f.Info().disposal = disposal;
        return f;
    };
    for (const BYTE middleDisposal : {1, 2, 3}) {
        CRaster a = solid(4, 4, 1, 0, 0, 1), b = solid(2, 2, 2, 1, 1, middleDisposal),
                c = solid(1, 1, 3, 0, 0, 1);
        CRaster* frames[] = {&a, &b, &c};
        CRasterGIF anim;
        CRasterMemFile out;
        out.Open();
        ASSERT_TRUE(anim.EncodeAnimated(out, frames, false, true));
        const auto data = out.DetachBuffer();
        CRasterGIF last;
        last.Info().frame = 2;
        last.Info().retrieveAllFrames = 1;
        ASSERT_TRUE(DecodeGif(data, last));
        ASSERT_EQ(last.GetFrameListSize(), 3u);
        // Top-left pixel is storage row 3.
        EXPECT_EQ(last.GetPixelIndex(0, 3), 3);
        const BYTE centre = last.GetPixelIndex(1, 2);
        const BYTE corner = last.GetPixelIndex(3, 0);
        switch (middleDisposal) {
        case 1:
            EXPECT_EQ(centre, 2);
            EXPECT_EQ(corner, 1);
            break; // left in place
        case 2:
            EXPECT_EQ(centre, 0);
            EXPECT_EQ(corner, 0);
            break; // cleared to the background
        case 3:
            EXPECT_EQ(centre, 1);
            EXPECT_EQ(corner, 1);
            break; // back to the first frame
        }
        EXPECT_EQ(last.GetFrame(1)->GetPixelIndex(1, 2), 2);
    }
}

TEST(GifCodec, ManyHugeTilesAreRefusedQuickly) {
    // No global table, a 4000x4000 screen and a thousand full-size frames of a few bytes:
    // the mosaic path would paint a 48 MB picture a thousand times over.
    std::vector<BYTE> gif{'G', 'I', 'F', '8', '9', 'a', 0xA0, 0x0F, 0xA0, 0x0F, 0, 0, 0};
    auto frame = [&](int w, int h) {
        gif.insert(gif.end(), {0x2C,
                               0,
                               0,
                               0,
                               0,
                               BYTE(w & 0xFF),
                               BYTE(w >> 8),
                               BYTE(h & 0xFF),
                               BYTE(h >> 8),
                               0x80,
                               0,
                               0,
                               0,
                               255,
                               255,
                               255,
                               2,
                               1,
                               0x44,
                               0});
    };
    frame(3999, 3999);
    for (int i = 0; i < 1000; ++i)
        frame(4000, 4000);
    gif.push_back(0x3B);
    CRasterGIF decoded;
    EXPECT_FALSE(DecodeGif(gif, decoded));
    EXPECT_STREQ(decoded.GetLastError(), "GIF tiles overlap the picture too often");
}

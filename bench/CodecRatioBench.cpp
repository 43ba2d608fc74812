// Our codecs against the outside tools doing the same work, pair by pair in one run: each
// iteration times our call (processor time of this thread, page faults included) and then one
// run of the tool as a child process (its processor time, start included). The counters give
// the medians and their ratio; "net" subtracts the tool's own start and input, measured by a
// run that reads the same input and writes nothing. ImageMagick runs on one thread, as we do.
#include "image/core/CRaster.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr DWORD kWidth = 4000;
constexpr DWORD kHeight = 3000;
constexpr int kRuns = 5;

const TempFolder& Folder() {
    static const TempFolder folder("codec-ratio");
    return folder;
}

std::string Path(const std::string& name) {
    return Folder().File(name);
}

// A photograph stand-in: smooth light with some sensor noise, texture and hard edges.
CRaster MakePhoto(DWORD width = kWidth, DWORD height = kHeight) {
    CRaster p(width, height, 24);
    DWORD state = 1;
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = p.GetBits(y);
        for (DWORD x = 0; x < width; ++x) {
            state = state * 214013u + 2531011u;
            const int noise = static_cast<int>((state >> 16) & 7);
            const int edge = ((x / 250 + y / 190) % 3) * 40;
            row[3 * x] = static_cast<BYTE>((x / 20 + noise + edge) & 0xFF);
            row[3 * x + 1] = static_cast<BYTE>((y / 14 + noise + (x * y) / 60000) & 0xFF);
            row[3 * x + 2] = static_cast<BYTE>(((x + y) / 30 + noise / 2 + edge) & 0xFF);
        }
    }
    return p;
}

// A drawn picture: white with thin dark walls, as the program exports mazes.
CRaster MakeFlat(DWORD bpp) {
    CRaster p(kWidth, kHeight, bpp);
    if (bpp == 8)
        p.SetGrayPalette();
    const BYTE white = 255;
    for (DWORD y = 0; y < kHeight; ++y) {
        BYTE* row = p.GetBits(y);
        const bool wallRow = y % 40 < 2;
        for (DWORD x = 0; x < kWidth; ++x) {
            const bool wall = wallRow ? (x / 40 + y / 40) % 3 != 0 : x % 40 < 2 && (x + y) % 7 != 0;
            const BYTE v = wall ? 0 : white;
            if (bpp == 8)
                row[x] = v;
            else
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = v;
        }
    }
    return p;
}

const CRaster& Photo() {
    static const CRaster p = MakePhoto();
    return p;
}

// A 16-megapixel camera's frame.
const CRaster& Photo16() {
    static const CRaster p = MakePhoto(4608, 3456);
    return p;
}

const CRaster& Flat() {
    static const CRaster p = MakeFlat(24);
    return p;
}

// ImageMagick writes a picture whose colours are all grey with one sample; this is ours.
const CRaster& FlatGrey() {
    static const CRaster p = MakeFlat(8);
    return p;
}

// 8 bits for the GIF rows: the photo reduced to the standard palette.
const CRaster& PhotoIndexed() {
    static const CRaster p = [] {
        CRaster c(Photo());
        c.DecreaseBpp(8, false);
        return c;
    }();
    return p;
}

std::vector<BYTE> Encoded(const CRaster& picture, DWORD type, DWORD option,
                          const std::string& file) {
    CRaster copy(picture);
    copy.SetCodecOption(option, type);
    std::vector<BYTE> out;
    if (!copy.EncodeToMemory(out, type))
        std::abort();
    std::ofstream(Path(file), std::ios::binary)
        .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    return out;
}

// Raw top-down RGB rows, ImageMagick's input for the encoders.
std::string RawRgb(const CRaster& picture, const std::string& file) {
    std::ofstream f(Path(file), std::ios::binary);
    std::vector<BYTE> row(picture.GetWidth() * 3);
    for (DWORD top = 0; top < picture.GetHeight(); ++top) {
        const BYTE* in = picture.GetBits(picture.GetHeight() - 1 - top);
        for (DWORD x = 0; x < picture.GetWidth(); ++x) {
            if (picture.GetBpp() == 24) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            } else {
                const RGBQUAD p = picture.GetPaletteColor(in[x]);
                row[3 * x] = p.rgbRed;
                row[3 * x + 1] = p.rgbGreen;
                row[3 * x + 2] = p.rgbBlue;
            }
        }
        f.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
    }
    return "rgb:" + Path(file);
}

double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Processor time of one run of the tool, or a negative value when it cannot run.
double ToolSeconds(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

std::vector<std::string> Magick(std::vector<std::string> args) {
    args.insert(args.begin(), "convert-im6.q16");
    return args;
}

struct Pair {
    std::function<void()> ours;
    std::vector<std::string> tool;
    std::vector<std::string> toolBase; // the tool's start and input alone; empty: none
};

void RunPair(benchmark::State& state, const Pair& pair) {
    setenv("MAGICK_THREAD_LIMIT", "1", 1);
    std::vector<double> ours, tool, base;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        pair.ours();
        const double mine = ThreadSeconds() - start;
        ours.push_back(mine);
        const double theirs = ToolSeconds(pair.tool);
        if (theirs < 0) {
            state.SkipWithError("outside tool missing or failed");
            return;
        }
        tool.push_back(theirs);
        if (!pair.toolBase.empty())
            base.push_back(std::max(0.0, ToolSeconds(pair.toolBase)));
        state.SetIterationTime(mine);
    }
    const double o = Median(ours), t = Median(tool);
    state.counters["ours_ms"] = o * 1e3;
    state.counters["tool_ms"] = t * 1e3;
    state.counters["ratio"] = t > 0 ? o / t : 0;
    if (!base.empty()) {
        const double net = t - Median(base);
        state.counters["tool_net_ms"] = net * 1e3;
        state.counters["ratio_net"] = net > 0 ? o / net : 0;
    }
}

void Decode(const std::vector<BYTE>& bytes, DWORD type) {
    CRaster image;
    if (!image.DecodeFromMemory(bytes, type))
        std::abort();
    benchmark::DoNotOptimize(image.GetBits(0));
}

std::size_t Encode(const CRaster& picture, DWORD type, DWORD option) {
    CRaster& p = const_cast<CRaster&>(picture);
    p.SetCodecOption(option, type);
    std::vector<BYTE> out;
    if (!p.EncodeToMemory(out, type))
        std::abort();
    return out.size();
}

void BM_JpegDecodePhoto(benchmark::State& s) {
    static const auto bytes = Encoded(Photo(), CRaster::kTypeJpg, 0, "photo.jpg");
    RunPair(s, {[] { Decode(bytes, CRaster::kTypeJpg); },
                {"djpeg", "-outfile", "/dev/null", Path("photo.jpg")},
                {}});
}

void BM_JpegDecodePhoto16MP(benchmark::State& s) {
    static const auto bytes = Encoded(Photo16(), CRaster::kTypeJpg, 0, "photo16.jpg");
    RunPair(s, {[] { Decode(bytes, CRaster::kTypeJpg); },
                {"djpeg", "-outfile", "/dev/null", Path("photo16.jpg")},
                {}});
}

void BM_JpegDecodeFlat(benchmark::State& s) {
    static const auto bytes = Encoded(Flat(), CRaster::kTypeJpg, 0, "flat.jpg");
    RunPair(s, {[] { Decode(bytes, CRaster::kTypeJpg); },
                {"djpeg", "-outfile", "/dev/null", Path("flat.jpg")},
                {}});
}

void BM_GifDecode(benchmark::State& s) {
    static const auto bytes = Encoded(PhotoIndexed(), CRaster::kTypeGif, 0, "photo.gif");
    RunPair(s, {[] { Decode(bytes, CRaster::kTypeGif); }, Magick({Path("photo.gif"), "null:"}),
                Magick({"-size", "1x1", "xc:white", "null:"})});
}

void BM_GifEncode(benchmark::State& s) {
    static const std::string miff = [] {
        Encoded(PhotoIndexed(), CRaster::kTypeGif, 0, "photo.gif");
        ToolSeconds(Magick({Path("photo.gif"), Path("photo.miff")}));
        return Path("photo.miff");
    }();
    RunPair(s, {[] { benchmark::DoNotOptimize(Encode(PhotoIndexed(), CRaster::kTypeGif, 0)); },
                Magick({miff, Path("out.gif")}), Magick({miff, "null:"})});
}

void MagickDecodePair(benchmark::State& s, const CRaster& picture, DWORD type, DWORD option,
                      const std::string& file) {
    const auto bytes = Encoded(picture, type, option, file);
    RunPair(s, {[&bytes, type] { Decode(bytes, type); }, Magick({Path(file), "null:"}),
                Magick({"-size", "1x1", "xc:white", "null:"})});
}

void MagickEncodePair(benchmark::State& s, const CRaster& picture, DWORD type, DWORD option,
                      const std::string& raw, const std::vector<std::string>& out) {
    const std::string input = RawRgb(picture, raw);
    const std::string size = std::to_string(kWidth) + "x" + std::to_string(kHeight);
    std::vector<std::string> args{"-size", size, "-depth", "8", input};
    std::vector<std::string> base = args;
    base.push_back("null:");
    args.insert(args.end(), out.begin(), out.end());
    std::size_t bytes = 0;
    RunPair(s, {[&] { bytes = Encode(picture, type, option); }, Magick(args), Magick(base)});
    s.counters["bytes"] = double(bytes);
    const std::string written = out.back().substr(out.back().find(':') + 1);
    s.counters["tool_bytes"] = double(std::filesystem::file_size(written));
}

void BM_PngDecode(benchmark::State& s) {
    MagickDecodePair(s, Photo(), CRaster::kTypePng, 0, "photo.png");
}

void BM_PngEncode(benchmark::State& s) {
    MagickEncodePair(s, Photo(), CRaster::kTypePng, 0, "photo.rgb", {"PNG24:" + Path("out.png")});
}

void BM_TiffLzwDecode(benchmark::State& s) {
    MagickDecodePair(s, Photo(), CRaster::kTypeTif, 5, "photo_lzw.tif");
}

void BM_TiffLzwEncode(benchmark::State& s) {
    MagickEncodePair(s, Photo(), CRaster::kTypeTif, 5, "photo.rgb",
                     {"-compress", "LZW", "TIFF:" + Path("out.tif")});
}

void BM_TiffLzwDecodeFlat(benchmark::State& s) {
    MagickDecodePair(s, Flat(), CRaster::kTypeTif, 5, "flat_lzw.tif");
}

void BM_TiffLzwEncodeFlat(benchmark::State& s) {
    MagickEncodePair(s, Flat(), CRaster::kTypeTif, 5, "flat.rgb",
                     {"-compress", "LZW", "TIFF:" + Path("out_flat.tif")});
}

void BM_TiffLzwEncodeFlatGrey(benchmark::State& s) {
    MagickEncodePair(s, FlatGrey(), CRaster::kTypeTif, 5, "flat_grey.rgb",
                     {"-compress", "LZW", "TIFF:" + Path("out_flat_grey.tif")});
}

} // namespace

#define PAIR(name)                                                                                 \
    BENCHMARK(name)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(kRuns)
PAIR(BM_JpegDecodePhoto);
PAIR(BM_JpegDecodePhoto16MP);
PAIR(BM_JpegDecodeFlat);
PAIR(BM_GifDecode);
PAIR(BM_GifEncode);
PAIR(BM_PngDecode);
PAIR(BM_PngEncode);
PAIR(BM_TiffLzwDecode);
PAIR(BM_TiffLzwEncode);
PAIR(BM_TiffLzwDecodeFlat);
PAIR(BM_TiffLzwEncodeFlat);
PAIR(BM_TiffLzwEncodeFlatGrey);

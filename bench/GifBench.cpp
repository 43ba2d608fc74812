#include "image/codecs/CRasterGIF.h"
#include "image/core/CRasterMemFile.h"
#include "platform/CrtRandom.h"
#include "tests/support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

constexpr DWORD kSide = 2000;

// A photograph-like 8-bit picture: smooth areas with noise, so every compressor has work.
const CRaster& Picture() {
    static const CRaster picture = [] {
        CRaster img(kSide, kSide, 8, CRaster::kTypeGif);
        img.SetStdPalette();
        CrtRandom rng;
        for (DWORD y = 0; y < kSide; ++y) {
            BYTE* row = img.GetBits(y);
            for (DWORD x = 0; x < kSide; ++x)
                row[x] = static_cast<BYTE>((x / 40 + y / 25) * 7 +
                                           (rng.rand() % 8 == 0 ? rng.rand() % 5 : 0));
        }
        return img;
    }();
    return picture;
}

std::vector<BYTE> Encode(int option) {
    CRasterGIF gif;
    gif.Copy(Picture());
    gif.SetCodecOption(static_cast<DWORD>(option), CRaster::kTypeGif);
    CRasterMemFile out;
    out.Open();
    gif.Encode(out);
    return out.DetachBuffer();
}

void BM_GifEncode(benchmark::State& state) {
    const int option = static_cast<int>(state.range(0));
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = Encode(option).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_GifEncode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_GifDecode(benchmark::State& state) {
    const auto data = Encode(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        CRasterMemFile in(data.data(), data.size());
        CRasterGIF gif;
        benchmark::DoNotOptimize(gif.Decode(in, gif.Info().decode));
    }
}
BENCHMARK(BM_GifDecode)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// ImageMagick doing the same work in the same run, for the ratio. Each run includes its start
// (measured alone by the "start" case, to subtract).
class MagickFiles {
public:
    MagickFiles() {
        const auto gif = Encode(0);
        std::ofstream(Path("in.gif"), std::ios::binary)
            .write(reinterpret_cast<const char*>(gif.data()),
                   static_cast<std::streamsize>(gif.size()));
        Run("convert-im6.q16 " + Path("in.gif") + " " + Path("in.miff"));
    }
    std::string Path(const char* name) const { return dir_.File(name); }
    static void Run(const std::string& command) {
        if (std::system((command + " 2>/dev/null").c_str()) != 0)
            std::abort();
    }

private:
    TempFolder dir_{"gif-bench"};
};

const MagickFiles& Files() {
    static const MagickFiles files;
    return files;
}

void BM_MagickStart(benchmark::State& state) {
    if (std::system("command -v convert-im6.q16 >/dev/null") != 0) {
        state.SkipWithError("ImageMagick is not installed");
        return;
    }
    const std::string cmd = "convert-im6.q16 -size 1x1 xc:red null:";
    for (auto _ : state)
        MagickFiles::Run(cmd);
}
BENCHMARK(BM_MagickStart)->Unit(benchmark::kMillisecond);

void BM_MagickEncode(benchmark::State& state) {
    if (std::system("command -v convert-im6.q16 >/dev/null") != 0) {
        state.SkipWithError("ImageMagick is not installed");
        return;
    }
    const std::string cmd =
        "convert-im6.q16 " + Files().Path("in.miff") + " " + Files().Path("out.gif");
    for (auto _ : state)
        MagickFiles::Run(cmd);
}
BENCHMARK(BM_MagickEncode)->Unit(benchmark::kMillisecond);

void BM_MagickDecode(benchmark::State& state) {
    if (std::system("command -v convert-im6.q16 >/dev/null") != 0) {
        state.SkipWithError("ImageMagick is not installed");
        return;
    }
    const std::string cmd = "convert-im6.q16 " + Files().Path("in.gif") + " null:";
    for (auto _ : state)
        MagickFiles::Run(cmd);
}
BENCHMARK(BM_MagickDecode)->Unit(benchmark::kMillisecond);

} // namespace

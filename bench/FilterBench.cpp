// The filter preview's fixed chain (median 4, the 5 x 5 kernel of centre 8 over 32, the 3 x 3
// mean) on a 4000 x 4000 colour picture, beside ImageMagick doing the same three steps on the
// same pixels, and on the preview's own 325 x 420 crop. ImageMagick's time is the processor
// time of its process (start and raw pixel reading included); compare it with the CPU column.
#include "dialogs/CImageFilter.h"
#include "image/core/CRaster.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSide = 4000;
const std::string kConvert = "convert-im6.q16";

// Smooth gradients with a little noise, closer to a drawn picture than pure noise.
CRaster MakePicture(DWORD width, DWORD height) {
    CRaster p(width, height, 24);
    DWORD state = 1;
    for (DWORD y = 0; y < height; ++y) {
        BYTE* row = p.GetBits(y);
        for (DWORD x = 0; x < width; ++x) {
            state = state * 214013u + 2531011u;
            const BYTE noise = static_cast<BYTE>((state >> 16) & 15);
            row[3 * x] = static_cast<BYTE>(x / 16 + noise);
            row[3 * x + 1] = static_cast<BYTE>(y / 16 + noise);
            row[3 * x + 2] = static_cast<BYTE>((x + y) / 32 + noise);
        }
    }
    return p;
}

const CRaster& Large() {
    static const CRaster picture = MakePicture(kSide, kSide);
    return picture;
}

// The large picture as raw rows for ImageMagick, removed when the program ends.
class RawPicture {
public:
    RawPicture()
        : path_((std::filesystem::temp_directory_path() /
                 ("orlimber_filterbench_" + std::to_string(getpid()) + ".rgb"))
                    .string()) {
        std::ofstream f(path_, std::ios::binary);
        const CRaster& p = Large();
        std::vector<BYTE> row(kSide * 3);
        for (DWORD top = 0; top < kSide; ++top) {
            const BYTE* in = p.GetBits(kSide - 1 - top);
            for (DWORD x = 0; x < kSide; ++x) {
                row[3 * x] = in[3 * x + 2];
                row[3 * x + 1] = in[3 * x + 1];
                row[3 * x + 2] = in[3 * x];
            }
            f.write(reinterpret_cast<const char*>(row.data()), std::streamsize(row.size()));
        }
    }
    ~RawPicture() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

double ChildSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RunChain(benchmark::State& state, const CRaster& source) {
    for (auto _ : state) {
        state.PauseTiming();
        CRaster picture = source;
        state.ResumeTiming();
        if (!CImageFilter::ApplyFixedChain(picture))
            state.SkipWithError("filter failed");
        benchmark::DoNotOptimize(picture.GetBits(0));
    }
}

void BM_FixedChain4000(benchmark::State& state) {
    RunChain(state, Large());
}

void BM_FixedChainPreview(benchmark::State& state) {
    static const CRaster preview =
        MakePicture(CImageFilter::kPreviewWidth, CImageFilter::kPreviewHeight);
    RunChain(state, preview);
}

void BM_MagickFixedChain4000(benchmark::State& state) {
    if (std::system(("command -v " + kConvert + " >/dev/null").c_str()) != 0) {
        state.SkipWithError("ImageMagick missing");
        return;
    }
    static const RawPicture raw;
    const std::string command =
        kConvert + " -size 4000x4000 -depth 8 rgb:" + raw.Path() +
        " -statistic Median 4x4 -define convolve:scale=!"
        " -morphology Convolve 5x5:1,1,1,1,1,1,1,1,1,1,1,1,8,1,1,1,1,1,1,1,1,1,1,1,1"
        " -morphology Convolve 3x3:1,1,1,1,1,1,1,1,1 -depth 8 rgb:/dev/null";
    for (auto _ : state) {
        const double before = ChildSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("ImageMagick failed");
        state.SetIterationTime(ChildSeconds() - before);
    }
}

} // namespace

BENCHMARK(BM_FixedChainPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FixedChain4000)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_MagickFixedChain4000)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(2);

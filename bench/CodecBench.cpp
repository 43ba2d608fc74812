// Decoding and encoding a 4000 x 4000 colour picture as PNG, BMP, lossless JP2, PPM and Sun
// raster, beside ImageMagick doing
// the same work on the same picture. ImageMagick's time is the processor time of its process
// (including its start and reading or writing raw pixels, small against the coding itself);
// compare it with the CPU column of our cases, which stays fair on a busy machine.
#include "image/CRaster.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr DWORD kSide = 4000;
const std::string kConvert = "convert-im6.q16";

std::string TempFile(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("orlimber_bench_" + name)).string();
}

// Removes the cases' files from the temporary folder when the program ends.
struct TempFileSweeper {
    ~TempFileSweeper() {
        std::error_code error;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::temp_directory_path(), error)) {
            if (entry.path().filename().string().starts_with("orlimber_bench_"))
                std::filesystem::remove(entry.path(), error);
        }
    }
} sweeper;

// Smooth gradients with a little noise, closer to a drawn picture than pure noise.
CRaster& Picture() {
    static CRaster picture = [] {
        CRaster p(kSide, kSide, 24);
        DWORD state = 1;
        for (DWORD y = 0; y < kSide; ++y) {
            BYTE* row = p.GetBits(y);
            for (DWORD x = 0; x < kSide; ++x) {
                state = state * 214013u + 2531011u;
                const BYTE noise = static_cast<BYTE>((state >> 16) & 7);
                row[3 * x] = static_cast<BYTE>(x / 16 + noise);
                row[3 * x + 1] = static_cast<BYTE>(y / 16 + noise);
                row[3 * x + 2] = static_cast<BYTE>((x + y) / 32);
            }
        }
        return p;
    }();
    return picture;
}

// The file name extension ImageMagick knows each format by.
std::string Extension(DWORD type) {
    static const std::map<DWORD, std::string> names = {{CRaster::kTypePng, "png"},
                                                       {CRaster::kTypeBmp, "bmp"},
                                                       {CRaster::kTypeJp2, "jp2"},
                                                       {CRaster::kTypePnm, "ppm"},
                                                       {CRaster::kTypeRas, "ras"}};
    return names.at(type);
}

// JPEG 2000 is measured lossless, which quality 100 asks for.
CRaster& Source(DWORD type) {
    static CRaster lossless = [] {
        CRaster view;
        view.ShareFrom(&Picture());
        view.SetJpegQuality(100);
        return view;
    }();
    return type == CRaster::kTypeJp2 ? lossless : Picture();
}

const std::vector<BYTE>& Encoded(DWORD type) {
    static std::map<DWORD, std::vector<BYTE>> files;
    std::vector<BYTE>& out = files[type];
    if (out.empty()) {
        Source(type).EncodeToMemory(out, type);
        const std::string name = TempFile("in." + Extension(type));
        std::ofstream(name, std::ios::binary)
            .write(reinterpret_cast<const char*>(out.data()), std::streamsize(out.size()));
    }
    return out;
}

const std::string& RawFile() {
    static const std::string name = [] {
        const std::string n = TempFile("in.rgb");
        std::ofstream f(n, std::ios::binary);
        CRaster& p = Picture();
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
        return n;
    }();
    return name;
}

void Decode(benchmark::State& state, DWORD type) {
    const std::vector<BYTE>& bytes = Encoded(type);
    for (auto _ : state) {
        CRaster image;
        if (!image.DecodeFromMemory(bytes, type))
            state.SkipWithError(image.GetLastError());
        benchmark::DoNotOptimize(image.GetBits(0));
    }
}

void Encode(benchmark::State& state, DWORD type) {
    CRaster& picture = Source(type);
    for (auto _ : state) {
        std::vector<BYTE> out;
        if (!picture.EncodeToMemory(out, type))
            state.SkipWithError(picture.GetLastError());
        benchmark::DoNotOptimize(out.data());
    }
}

// Processor time used by finished child processes.
double ChildSeconds() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval& t) { return double(t.tv_sec) + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void RunMagick(benchmark::State& state, const std::string& command) {
    if (std::system(("command -v " + kConvert + " >/dev/null").c_str()) != 0) {
        state.SkipWithError("ImageMagick missing");
        return;
    }
    for (auto _ : state) {
        const double before = ChildSeconds();
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("ImageMagick failed");
        state.SetIterationTime(ChildSeconds() - before);
    }
}

void BM_DecodePng(benchmark::State& s) {
    Decode(s, CRaster::kTypePng);
}
void BM_DecodeBmp(benchmark::State& s) {
    Decode(s, CRaster::kTypeBmp);
}
void BM_EncodePng(benchmark::State& s) {
    Encode(s, CRaster::kTypePng);
}
void BM_EncodeBmp(benchmark::State& s) {
    Encode(s, CRaster::kTypeBmp);
}

void BM_MagickDecodePng(benchmark::State& s) {
    Encoded(CRaster::kTypePng);
    RunMagick(s, kConvert + " " + TempFile("in.png") + " -depth 8 rgb:/dev/null");
}
void BM_MagickDecodeBmp(benchmark::State& s) {
    Encoded(CRaster::kTypeBmp);
    RunMagick(s, kConvert + " " + TempFile("in.bmp") + " -depth 8 rgb:/dev/null");
}
void BM_MagickEncodePng(benchmark::State& s) {
    RunMagick(s, kConvert + " -size 4000x4000 -depth 8 rgb:" + RawFile() +
                     " PNG24:" + TempFile("out.png"));
}
void BM_MagickEncodeBmp(benchmark::State& s) {
    RunMagick(s, kConvert + " -size 4000x4000 -depth 8 rgb:" + RawFile() +
                     " BMP3:" + TempFile("out.bmp"));
}

void MagickDecode(benchmark::State& s, DWORD type) {
    Encoded(type);
    RunMagick(s, kConvert + " " + TempFile("in." + Extension(type)) + " -depth 8 rgb:/dev/null");
}
void MagickEncode(benchmark::State& s, DWORD type, const std::string& target) {
    RunMagick(s, kConvert + " -size 4000x4000 -depth 8 rgb:" + RawFile() + " " + target +
                     TempFile("out." + Extension(type)));
}

void BM_DecodeJp2(benchmark::State& s) {
    Decode(s, CRaster::kTypeJp2);
}
void BM_EncodeJp2(benchmark::State& s) {
    Encode(s, CRaster::kTypeJp2);
}
void BM_MagickDecodeJp2(benchmark::State& s) {
    MagickDecode(s, CRaster::kTypeJp2);
}
void BM_MagickEncodeJp2(benchmark::State& s) {
    MagickEncode(s, CRaster::kTypeJp2, "-quality 100 JP2:");
}
void BM_DecodePpm(benchmark::State& s) {
    Decode(s, CRaster::kTypePnm);
}
void BM_EncodePpm(benchmark::State& s) {
    Encode(s, CRaster::kTypePnm);
}
void BM_MagickDecodePpm(benchmark::State& s) {
    MagickDecode(s, CRaster::kTypePnm);
}
void BM_MagickEncodePpm(benchmark::State& s) {
    MagickEncode(s, CRaster::kTypePnm, "PPM:");
}
void BM_DecodeRas(benchmark::State& s) {
    Decode(s, CRaster::kTypeRas);
}
void BM_EncodeRas(benchmark::State& s) {
    Encode(s, CRaster::kTypeRas);
}
void BM_MagickDecodeRas(benchmark::State& s) {
    MagickDecode(s, CRaster::kTypeRas);
}
void BM_MagickEncodeRas(benchmark::State& s) {
    MagickEncode(s, CRaster::kTypeRas, "SUN:");
}

} // namespace

BENCHMARK(BM_DecodePng)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodePng)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodePng)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodePng)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodeBmp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodeBmp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeBmp)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodeBmp)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodeJp2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);
BENCHMARK(BM_MagickDecodeJp2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeJp2)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(3);
BENCHMARK(BM_MagickEncodeJp2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodePpm)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodePpm)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodePpm)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodeRas)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodeRas)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeRas)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodeRas)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);

// Decoding and encoding a 4000 x 4000 colour picture as PNG, BMP, JPEG (quality 90, 2x2
// sampling), TIFF (JPEG, the colour default, and LZW), lossless JP2, PPM and Sun raster, beside
// ImageMagick doing the same work on the same picture. ImageMagick's time is the processor time of
// its process (including its start and reading or writing raw pixels, small against the coding
// itself); compare it with the CPU column of our cases, which stays fair on a busy machine.
#include "image/core/CRaster.h"
#include "tests/support/TempFolder.h"

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
    static const TempFolder folder("codec-bench");
    return folder.File(name);
}

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

// A format as the cases write it: type id, codec option, file name of the encoded picture and
// quality (JPEG 2000 is measured lossless, which quality 100 asks for).
struct Kind {
    DWORD type;
    DWORD option;
    const char* file;
    float quality = 90;
};
constexpr Kind kPng{CRaster::kTypePng, 0, "in.png"};
constexpr Kind kBmp{CRaster::kTypeBmp, 0, "in.bmp"};
constexpr Kind kJpeg{CRaster::kTypeJpg, 0, "in.jpg"};
constexpr Kind kTiffJpeg{CRaster::kTypeTif, 0, "in_jpeg.tif"};
constexpr Kind kTiffLzw{CRaster::kTypeTif, 5, "in_lzw.tif"};
constexpr Kind kJp2{CRaster::kTypeJp2, 0, "in.jp2", 100};
constexpr Kind kPpm{CRaster::kTypePnm, 0, "in.ppm"};
constexpr Kind kRas{CRaster::kTypeRas, 0, "in.ras"};

// The shared picture with the kind's codec option and quality set.
CRaster& PictureAs(const Kind& kind) {
    CRaster& p = Picture();
    p.SetCodecOption(kind.option, kind.type);
    p.SetJpegQuality(kind.quality);
    return p;
}

const std::vector<BYTE>& Encoded(const Kind& kind) {
    static std::map<std::string, std::vector<BYTE>> cache;
    std::vector<BYTE>& out = cache[kind.file];
    if (out.empty()) {
        PictureAs(kind).EncodeToMemory(out, kind.type);
        std::ofstream(TempFile(kind.file), std::ios::binary)
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

void Decode(benchmark::State& state, const Kind& kind) {
    const std::vector<BYTE>& bytes = Encoded(kind);
    for (auto _ : state) {
        CRaster image;
        if (!image.DecodeFromMemory(bytes, kind.type))
            state.SkipWithError(image.GetLastError());
        benchmark::DoNotOptimize(image.GetBits(0));
    }
}

void Encode(benchmark::State& state, const Kind& kind) {
    CRaster& picture = PictureAs(kind);
    for (auto _ : state) {
        std::vector<BYTE> out;
        if (!picture.EncodeToMemory(out, kind.type))
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

void MagickDecode(benchmark::State& s, const Kind& kind) {
    Encoded(kind);
    RunMagick(s, kConvert + " " + TempFile(kind.file) + " -depth 8 rgb:/dev/null");
}

void MagickEncode(benchmark::State& s, const std::string& options) {
    RunMagick(s, kConvert + " -size 4000x4000 -depth 8 rgb:" + RawFile() + " " + options);
}

void BM_DecodePng(benchmark::State& s) {
    Decode(s, kPng);
}
void BM_DecodeBmp(benchmark::State& s) {
    Decode(s, kBmp);
}
void BM_EncodePng(benchmark::State& s) {
    Encode(s, kPng);
}
void BM_EncodeBmp(benchmark::State& s) {
    Encode(s, kBmp);
}
void BM_DecodeJpeg(benchmark::State& s) {
    Decode(s, kJpeg);
}
void BM_EncodeJpeg(benchmark::State& s) {
    Encode(s, kJpeg);
}
void BM_DecodeTiffJpeg(benchmark::State& s) {
    Decode(s, kTiffJpeg);
}
void BM_EncodeTiffJpeg(benchmark::State& s) {
    Encode(s, kTiffJpeg);
}
void BM_DecodeTiffLzw(benchmark::State& s) {
    Decode(s, kTiffLzw);
}
void BM_EncodeTiffLzw(benchmark::State& s) {
    Encode(s, kTiffLzw);
}

void BM_MagickDecodePng(benchmark::State& s) {
    MagickDecode(s, kPng);
}
void BM_MagickDecodeBmp(benchmark::State& s) {
    MagickDecode(s, kBmp);
}
void BM_MagickEncodePng(benchmark::State& s) {
    MagickEncode(s, "PNG24:" + TempFile("out.png"));
}
void BM_MagickEncodeBmp(benchmark::State& s) {
    MagickEncode(s, "BMP3:" + TempFile("out.bmp"));
}
void BM_MagickDecodeJpeg(benchmark::State& s) {
    MagickDecode(s, kJpeg);
}
void BM_MagickEncodeJpeg(benchmark::State& s) {
    MagickEncode(s, "-quality 90 -sampling-factor 2x2 JPEG:" + TempFile("out.jpg"));
}
void BM_MagickDecodeTiffJpeg(benchmark::State& s) {
    MagickDecode(s, kTiffJpeg);
}
void BM_MagickEncodeTiffJpeg(benchmark::State& s) {
    MagickEncode(s, "-quality 90 -compress JPEG TIFF:" + TempFile("out.tif"));
}
void BM_MagickDecodeTiffLzw(benchmark::State& s) {
    MagickDecode(s, kTiffLzw);
}
void BM_MagickEncodeTiffLzw(benchmark::State& s) {
    MagickEncode(s, "-compress LZW TIFF:" + TempFile("out.tif"));
}
void BM_DecodeJp2(benchmark::State& s) {
    Decode(s, kJp2);
}
void BM_EncodeJp2(benchmark::State& s) {
    Encode(s, kJp2);
}
void BM_MagickDecodeJp2(benchmark::State& s) {
    MagickDecode(s, kJp2);
}
void BM_MagickEncodeJp2(benchmark::State& s) {
    MagickEncode(s, "-quality 100 JP2:" + TempFile("out.jp2"));
}
void BM_DecodePpm(benchmark::State& s) {
    Decode(s, kPpm);
}
void BM_EncodePpm(benchmark::State& s) {
    Encode(s, kPpm);
}
void BM_MagickDecodePpm(benchmark::State& s) {
    MagickDecode(s, kPpm);
}
void BM_MagickEncodePpm(benchmark::State& s) {
    MagickEncode(s, "PPM:" + TempFile("out.ppm"));
}
void BM_DecodeRas(benchmark::State& s) {
    Decode(s, kRas);
}
void BM_EncodeRas(benchmark::State& s) {
    Encode(s, kRas);
}
void BM_MagickDecodeRas(benchmark::State& s) {
    MagickDecode(s, kRas);
}
void BM_MagickEncodeRas(benchmark::State& s) {
    MagickEncode(s, "SUN:" + TempFile("out.ras"));
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
BENCHMARK(BM_DecodeJpeg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodeJpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeJpeg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodeJpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodeTiffJpeg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodeTiffJpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeTiffJpeg)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodeTiffJpeg)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_DecodeTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickDecodeTiffLzw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
BENCHMARK(BM_EncodeTiffLzw)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MagickEncodeTiffLzw)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(3);
// OpenJPEG codes large pictures on several threads: its processor time is the fair measure.
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

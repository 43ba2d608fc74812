// Small files declaring huge pictures (JPEG, TIFF, JPEG 2000), decoded as a user's load would
// decode them: the time of one decode, and the peak memory of a child process doing it once.
#include "image/core/CRaster.h"
#include "tests/support/PictureBombs.h"

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

double PeakMegabytes(const PictureBombs::Bomb& bomb) {
    const pid_t child = fork();
    if (child == 0) {
        CRaster image;
        _exit(image.DecodeFromMemory(bomb.bytes, bomb.type) ? 1 : 0);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

void Decode(benchmark::State& state, const PictureBombs::Bomb& bomb) {
    bool decoded = false;
    for (auto _ : state) {
        CRaster image;
        decoded = image.DecodeFromMemory(bomb.bytes, bomb.type);
        benchmark::DoNotOptimize(image);
    }
    state.counters["bytes"] = double(bomb.bytes.size());
    state.counters["peak_MB"] = PeakMegabytes(bomb);
    state.counters["decoded"] = decoded ? 1 : 0;
}

const bool registered = [] {
    for (const PictureBombs::Bomb& bomb : PictureBombs::All())
        benchmark::RegisterBenchmark(bomb.name.c_str(), Decode, bomb)
            ->Unit(benchmark::kMillisecond);
    return true;
}();

} // namespace

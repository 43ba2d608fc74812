// Gesture network training as it runs at a first start, loading the weights file that
// spares later starts the training, and recognising a stroke.
#include "gesture/CMouseGesture.h"
#include "platform/CProfile.h"
#include "platform/CrtRandom.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

class ScratchFolder {
public:
    ScratchFolder()
        : path_(std::filesystem::temp_directory_path() /
                ("orlimber-gesture-bench-" + std::to_string(::getpid()))) {
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string File(const char* name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void Train(benchmark::State& state, const char* errorBound) {
    const ScratchFolder folder;
    CProfile profile(folder.File("OrlimberSTD.ini"));
    if (errorBound)
        profile.WriteProfileString("MouseGestures", "m_error", errorBound);
    for (auto _ : state) {
        CrtRandom random;
        CMouseGesture gesture(random);
        gesture.Train(profile);
        benchmark::DoNotOptimize(gesture.GetNet().Weights().data());
        const CMouseGestureLearn& learn = gesture.GetLearner();
        state.counters["steps"] = learn.LastCycle() + (learn.Stopped() ? 0 : 1);
    }
}

void BM_TrainAllCycles(benchmark::State& state) {
    Train(state, "0");
}
void BM_TrainDefaults(benchmark::State& state) {
    Train(state, nullptr);
}

void BM_LoadWeights(benchmark::State& state) {
    const ScratchFolder folder;
    const std::string path = folder.File("mouse.qv1.dat");
    CrtRandom random;
    CMouseGesture gesture(random);
    gesture.SaveWeights(path);
    for (auto _ : state)
        benchmark::DoNotOptimize(gesture.LoadWeights(path));
}

// A wobbly stroke of `n` points along a circle, as a hand might draw it.
void Recognize(benchmark::State& state) {
    const auto n = static_cast<int>(state.range(0));
    CrtRandom random;
    CMouseGesture gesture(random);
    for (auto _ : state) {
        gesture.StartStroke(300, 100);
        for (int i = 1; i < n; ++i) {
            const double t = 6.283185 * i / n;
            gesture.AddPoint(static_cast<LONG>(300 + 200 * std::sin(t) + random.rand() % 3),
                             static_cast<LONG>(300 - 200 * std::cos(t) + random.rand() % 3));
        }
        benchmark::DoNotOptimize(gesture.Recognize());
    }
}

void BM_Recognize(benchmark::State& state) {
    Recognize(state);
}

} // namespace

BENCHMARK(BM_Recognize)->Arg(17)->Arg(5000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TrainAllCycles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TrainDefaults)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadWeights)->Unit(benchmark::kMicrosecond);

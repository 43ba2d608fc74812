#!/usr/bin/env bash
# Checks the include layers and the formatting, then builds and runs the whole suite: the
# normal build, every fuzz target on its corpus for a bounded time, the network and fetch tests
# under ThreadSanitizer, then the suite again under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/check-layers.sh
scripts/check-format.sh
jobs=$(nproc)
fuzz_seconds=${ORLIMBER_FUZZ_SECONDS:-20}

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
(cd build && ctest -j "$jobs" --output-on-failure)

# A packager may pick any build type: the optimised one, tests included, has to compile
# without warnings too (GCC's -O3 analysis warns where the others do not), and the headless
# tests (well under a minute) show that optimisation changed no result.
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DORLIMBER_TESTS=ON \
  -DORLIMBER_BENCH=OFF >/dev/null
cmake --build build-release -j "$jobs"
(cd build-release && ctest -j "$jobs" --output-on-failure -LE ui --timeout 120)

if ls fuzz/fuzz_*.cpp >/dev/null 2>&1; then
  CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORLIMBER_FUZZ=ON -DORLIMBER_UI=OFF >/dev/null
  cmake --build build-fuzz -j "$jobs"
  # Crashing and slow inputs are kept in the build tree, not dropped into the sources.
  artifacts=build-fuzz/artifacts
  mkdir -p "$artifacts"
  for src in fuzz/fuzz_*.cpp; do
    name=$(basename "$src" .cpp)
    corpus=fuzz/corpus/${name#fuzz_}
    work=$(mktemp -d)
    [ -d "$corpus" ] && cp -r "$corpus"/. "$work"/
    echo "fuzzing $name for ${fuzz_seconds}s"
    build-fuzz/fuzz/"$name" -max_total_time="$fuzz_seconds" -print_final_stats=0 \
      -artifact_prefix="$artifacts/" "$work" 2>&1 | tail -n 2
    rm -rf "$work"
  done
fi

# The workers, transfers, probes, pane pictures and downloads under ThreadSanitizer: only the
# programs of their headless tests are built, and only those tests run, so this takes minutes.
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIMBER_TSAN=ON \
  -DORLIMBER_UI=OFF -DORLIMBER_BENCH=OFF >/dev/null
cmake --build build-tsan -j "$jobs" --target test_net test_dialogs test_app
(cd build-tsan && TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1" ctest -j "$jobs" \
  --output-on-failure --no-tests=error \
  -R '^(FetchService|WebGrab|Echo|Connectivity|PanePicture|WebPageCache|ProbeStop|AdLinkActions|FileDownload|AdPane)')

cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DORLIMBER_SANITIZE=ON >/dev/null
cmake --build build-asan -j "$jobs"
cd build-asan
ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$PWD/../tests/lsan.supp:print_suppressions=0 \
  UBSAN_OPTIONS=print_stacktrace=1 ctest -j "$jobs" --output-on-failure

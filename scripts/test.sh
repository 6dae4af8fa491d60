#!/usr/bin/env bash
# Checks the layout of every C++ file, then builds everything and runs every test: a
# plain optimised build, then the same tests under AddressSanitizer +
# UndefinedBehaviorSanitizer (with double-to-int overflow), then the controller's
# threaded code and the tuner's evaluation threads under ThreadSanitizer.
# Between the first two, a Clang build of everything but the desktop program, whose fuzz
# targets then run for 20 s each. Every build treats warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

echo "== layout (.clang-format)"
find common simulator controller tests bench fuzz \( -name '*.cpp' -o -name '*.h' \) -print0 |
  xargs -0 clang-format --dry-run --Werror
echo "== layers (includes point down)"
bash scripts/check-layers.sh

jobs=$(nproc)
# Programs that open windows run on a virtual display when there is no real one.
run_tests() {
  if [ -z "${DISPLAY:-}" ]; then
    xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir "$1" --output-on-failure -j "$jobs"
  else
    ctest --test-dir "$1" --output-on-failure -j "$jobs"
  fi
}

echo "== optimised build"
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build -j "$jobs"
run_tests build
# The golden runs once more with the beams marched one at a time, as on a processor
# without vector instructions.
MARLUNE_BEAM_VECTORS=none ctest --test-dir build -R '^(Golden|SimulationRun)' --output-on-failure -j "$jobs"
bash scripts/package.sh build

echo "== Clang (warnings as errors) and the fuzz targets"
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_FUZZERS=ON \
  -DSANITIZE=address,undefined -DBUILD_APP=OFF -DBUILD_BENCHMARKS=OFF -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-fuzz -j "$jobs"
bash scripts/fuzz.sh 20

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=address,undefined,float-cast-overflow -DBUILD_BENCHMARKS=OFF \
  -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1 run_tests build-asan

echo "== ThreadSanitizer (controller, then the tuner's threads)"
cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread -DBUILD_SIMULATOR=OFF -DBUILD_BENCHMARKS=OFF \
  -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-tsan -j "$jobs"
run_tests build-tsan
# Only the tuner's tests that start threads (the evaluation, the search and the program),
# which keeps this build to the world library and the tuner.
cmake -S . -B build-tsan-tuner -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=thread -DBUILD_APP=OFF -DBUILD_CONTROLLER=OFF \
  -DBUILD_BENCHMARKS=OFF -DWARNINGS_AS_ERRORS=ON >/dev/null
cmake --build build-tsan-tuner -j "$jobs" --target tuner_tuning_tests
TSAN_OPTIONS=suppressions=$PWD/tests/tuner/tsan.supp \
  ctest --test-dir build-tsan-tuner -R '^(TableEvaluation|TableTuning|TunerProgram)\.' --output-on-failure -j "$jobs"

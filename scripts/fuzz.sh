#!/usr/bin/env bash
# Builds the libFuzzer targets with clang++ (AddressSanitizer + UndefinedBehaviorSanitizer)
# in build-fuzz/ and runs each for SECONDS (default 20) on its seed corpus in
# fuzz/corpus/<target>/. Fails on the first finding; the input that caused it is left in
# build-fuzz/findings/. The seed corpora are only read: what a run discovers goes to
# build-fuzz/corpus/, which the next run starts from too.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
build=build-fuzz
targets=(inference_file_fuzz table_situations_fuzz frame_reassembler_fuzz command_decoder_fuzz
         runner_options_fuzz tuner_options_fuzz front_file_fuzz score_options_fuzz trundel_options_fuzz room_file_fuzz
         fll_engine_fuzz fis_engine_fuzz table_file_fuzz)
# The engine readers' faults were driven by size: their inputs may reach past the 64 KB
# fuzzylite is given from the first run on (libFuzzer would otherwise grow its length
# limit from the seeds' 2 KB only slowly), and the formats' keywords help the fuzzer into
# their sections.
engine_options="-max_len=131072 -len_control=0 -dict=fuzz/engine-files.dict"
declare -A options=(
  [fll_engine_fuzz]=$engine_options
  [fis_engine_fuzz]=$engine_options
  [table_file_fuzz]=$engine_options
)

CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_FUZZERS=ON \
  -DSANITIZE=address,undefined -DBUILD_APP=OFF -DBUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}"

mkdir -p "$build/findings"
for target in "${targets[@]}"; do
  mkdir -p "$build/corpus/$target"
  log="$build/findings/$target.log"
  # shellcheck disable=SC2086 # the options are words to split
  if ! ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=fuzz/fuzzylite-leaks.supp \
      "$build/bin/$target" -max_total_time="$seconds" -print_final_stats=1 ${options[$target]:-} \
      -artifact_prefix="$build/findings/$target-" "$build/corpus/$target" "fuzz/corpus/$target" >"$log" 2>&1; then
    tail -n 40 "$log"
    echo "fuzz: $target found a fault; its input is in $build/findings/" >&2
    exit 1
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  echo "fuzz: $target: ${runs:-?} inputs in ${seconds} s, no finding"
done

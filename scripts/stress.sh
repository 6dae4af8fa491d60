#!/usr/bin/env bash
# Runs the tests that race real time (the controller against the emulated robot, the
# link's thread, the tuner's Ctrl-C, the desktop program's paced runs and keys) ROUNDS
# times (default 5), each round beside one busy process per core, as on a loaded machine.
# Run it before changing anything timed. Builds what it needs in the optimised build
# directory `build/`, as the test script does. The last line reads "N passed, M failed",
# counting rounds, and the exit status is 1 if any failed; a failed round's log is kept
# under build/stress/.
set -euo pipefail
cd "$(dirname "$0")/.."

rounds=${1:-5}
if ! [[ "$rounds" =~ ^[1-9][0-9]*$ ]]; then
  echo "usage: scripts/stress.sh [ROUNDS]   (ROUNDS: a whole number from 1, default 5)" >&2
  exit 2
fi

# The tests' names as CTest lists them; the desktop program's run tests are whole binaries.
realtime='^(TrundelContreEmulateur|ReceptionTest|RobotOnTheLine|PortTest|CommandTest|TunerProgram|TrundelFidelity)\.|^marlune_(run|inference)_tests$'
targets=(behaviour_trundel_tests link_tests emulator_tests tuner_tuning_tests marlune_run_tests marlune_inference_tests)

jobs=$(nproc)
if [ ! -f build/CMakeCache.txt ]; then
  cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DWARNINGS_AS_ERRORS=ON >/dev/null
fi
cmake --build build -j "$jobs" --target "${targets[@]}"

busy=()
stop_busy() {
  for pid in "${busy[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${busy[@]}"; do wait "$pid" 2>/dev/null || true; done
}
trap stop_busy EXIT
for _ in $(seq "$jobs"); do
  yes >/dev/null &
  busy+=("$!")
done

rm -rf build/stress
mkdir -p build/stress
passed=0
failed=0
for round in $(seq "$rounds"); do
  log="build/stress/round-$round.log"
  start=$(date +%s)
  if ctest --test-dir build -R "$realtime" --output-on-failure -j "$jobs" >"$log" 2>&1; then
    passed=$((passed + 1))
    echo "round $round: passed in $(($(date +%s) - start)) s"
    rm -f "$log"
  else
    failed=$((failed + 1))
    echo "round $round: FAILED in $(($(date +%s) - start)) s, log in $log:"
    grep -E '^[[:space:]]+[0-9]+ - ' "$log" || true
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]

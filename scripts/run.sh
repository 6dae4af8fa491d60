#!/usr/bin/env bash
# Builds the project and starts Marlune with the tuned table, so the robot drives as soon
# as a run starts (arguments replace it: marlune [TABLE] [--seed N]). Without a display it
# says so and shows what the headless runner does instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)"
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ] && [ -x build/bin/marlune ]; then
  if [ $# -eq 0 ]; then
    set -- tables/tuned.ifi
  fi
  exec build/bin/marlune "$@"
fi
echo "No display: Marlune needs one; running the headless runner build/bin/marlune-run instead."
exec build/bin/marlune-run --seed 42 --table tables/example.ifi "$@"

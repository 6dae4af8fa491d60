#!/usr/bin/env bash
# Records a video of Trundel driving the emulated robot, with no display needed: the README's
# GIF is made with
#   bash scripts/record-trundel.sh tables/trundel-tuned.txt rooms/living-room.txt 20 docs/trundel-living-room.gif
# Usage: record-trundel.sh TABLE ROOM SECONDS VIDEO.gif|VIDEO.mp4 (after a build in build/).
# The video follows the robot's own time (a frame every 30 ms of it); the controller runs
# in real time, so two recordings differ a little where its timing did.
set -euo pipefail
[ $# -eq 4 ] || { echo "Usage: $0 TABLE ROOM SECONDS VIDEO" >&2; exit 2; }
table=$(realpath "$1") room=$2 seconds=$3 video=$4
bin=$(cd "$(dirname "$0")/.." && pwd)/build/bin
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bin/trundel-robot" --room "$room" --video "$video" --link "$work/robot" >"$work/robot.out" &
robot=$!
for _ in $(seq 100); do [ -s "$work/robot.out" ] && break; sleep 0.1; done
# Trundel runs until a key or the end of its input: a pipe held open for the run's length.
(cd "$work" && sleep "$seconds" | "$bin/trundel" --table "$table" "$work/robot" >/dev/null) || true
kill -INT "$robot"
wait "$robot"

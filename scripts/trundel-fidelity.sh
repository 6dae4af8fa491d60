#!/usr/bin/env bash
# How closely trundel-tune's simulated drive agrees with the real thing: trundel driving
# trundel-robot over the pseudo-terminal in real time, from the same room, start and table.
# Prints both reports side by side; distance and contacts are the figures compared.
#   scripts/trundel-fidelity.sh ROOM X,Y,DEG TABLE [SECONDS] [BUILD]
# Real time: run it on a quiet machine, a loaded one delays the controller's answers.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: $0 ROOM X,Y,DEG TABLE [SECONDS] [BUILD]" >&2; exit 2; }
room=$1 pose=$2 table=$3 seconds=${4:-20} bin=${5:-build}/bin
work=$(mktemp -d)
trap 'kill "$robot" 2>/dev/null || true; rm -rf "$work"' EXIT

"$bin/trundel-robot" --room "$room" --start "$pose" --report "$work/real" --link "$work/line" >"$work/robot.log" 2>&1 &
robot=$!
for _ in $(seq 100); do [ -e "$work/line" ] && break; sleep 0.05; done
# A keyboard that never presses a key: the controller stops on the signal only.
sleep $((seconds + 5)) | "$bin/trundel" --table "$table" "$work/line" >"$work/trundel.log" 2>&1 &
controller=$!
sleep "$seconds"
kill -INT "$controller"
wait "$controller" || true
kill -INT "$robot"
wait "$robot" || true
# The simulation drives as many frames as the controller was given: the real run's
# start-up (the controller's, before it asks for the stream) is not driving time.
frames=$(awk '$1 == "frames" { print $2 }' "$work/real")
"$bin/trundel-tune" --drive "$pose" --table "$table" --seconds "$(awk -v f="$frames" 'BEGIN { print f * 0.015 }')" \
  "$room" >"$work/simulated"
echo "key real simulated"
join <(sort "$work/real") <(sort "$work/simulated")
awk '$1 == "distance_mm" { d[FILENAME] = $2 }
  END { r = d[ARGV[1]]; s = d[ARGV[2]]; printf "distance_difference %.1f %%\n", (r > 0) ? 100 * (s - r) / r : 0 }' \
  "$work/real" "$work/simulated"

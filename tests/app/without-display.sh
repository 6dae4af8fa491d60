#!/bin/sh
# marlune without any display: --help and --version still answer (exit 0), and anything
# else gets one French line saying why it cannot start (exit 1), not Qt's abort.
# Usage: without-display.sh PATH_TO_MARLUNE
set -u
program=$1
unset WAYLAND_DISPLAY QT_QPA_PLATFORM
failed=0
fail() { echo "without-display.sh: $*" >&2; failed=1; }

check() {  # expected code, expected line count, pattern of the first line, DISPLAY, arguments...
  code=$1 lines=$2 pattern=$3 display=$4
  shift 4
  if [ -n "$display" ]; then
    output=$(DISPLAY=$display "$program" "$@" 2>&1)
  else
    output=$(env -u DISPLAY "$program" "$@" 2>&1)
  fi
  status=$?
  [ "$status" = "$code" ] || fail "marlune $* (DISPLAY '$display'): exit $status instead of $code: $output"
  [ "$(printf '%s\n' "$output" | wc -l)" = "$lines" ] || fail "marlune $* (DISPLAY '$display'): '$output' is not $lines line(s)"
  printf '%s\n' "$output" | head -n 1 | grep -q -- "$pattern" || fail "marlune $*: '$output' does not match '$pattern'"
}

check 0 1 '^marlune [0-9]' '' --version
check 0 1 '^marlune [0-9]' ':4097' --version
help_lines=$(env -u DISPLAY "$program" --help | wc -l)
[ "$help_lines" -gt 5 ] || fail "marlune --help printed $help_lines lines"
check 0 "$help_lines" '^Usage: marlune' '' tables/none.ifi --help
check 1 1 "^marlune : aucun affichage (DISPLAY n'est pas défini)" ''
check 1 1 "^marlune : l'affichage « :4097 » ne répond pas" ':4097' --seed 3
exit $failed

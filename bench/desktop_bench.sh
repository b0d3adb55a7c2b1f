#!/usr/bin/env bash
# Desktop benchmark: the long steps of a large race day (log extraction, Tolv
# creation, odds import, Pirune creation, the batch) run through the desktop
# program's windows, offscreen, against the same tolv-cli commands on the same
# home; prints each pair and their ratio.
#
#   bench/desktop_bench.sh TOLV_CLI TOLV_DESKTOP_BENCH [SIZE_MB] [RUNS]
#
# The day is the one of bench/race_day_bench.sh (about SIZE_MB, default 100,
# of generated forum logs with the sample day's other inputs), in a home of
# its own. Every step runs RUNS times (default 3); the best time of each
# counts. The aim: every step within 1.2x of tolv-cli. No time is asserted.
set -euo pipefail

. "$(dirname "$0")/common.sh"
DESKTOP=${2:-}
if [ $# -ge 2 ]; then set -- "$1" "${@:3}"; fi
bench_args 12 "$@"
RUNS=${3:-3}
if [ ! -x "$DESKTOP" ]; then
  echo "bench: $DESKTOP is not an executable tolv-desktop-bench (build it first: make build)" >&2
  exit 2
fi
if ! [[ $RUNS =~ ^[1-9][0-9]*$ ]]; then
  echo "bench: RUNS must be a whole number above 0, not \"$RUNS\"" >&2
  exit 2
fi

race_day_home desktop-home
echo "Logs: $(cat "${LOG_FILES[@]}" | wc -c | awk '{ printf "%.1f", $1 / 1048576 }') MB in ${#LOG_FILES[@]} files"
QT_QPA_PLATFORM=offscreen "$DESKTOP" "$CLI" "$H" "$DAY" "$RUNS"

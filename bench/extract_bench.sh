#!/usr/bin/env bash
# Log extraction benchmark: times `tolv-cli extract` on large forum logs
# against `grep -c` of the header mark 日目 on the same files, in the same run.
#
#   bench/extract_bench.sh TOLV_CLI [SIZE_MB]
#
# SIZE_MB is the total size of the three generated logs (default 100). The logs
# are generated once by tools/gen_logs.py into a cache folder,
# $TOLV_BENCH_CACHE or else scratch/bench/ in the checkout, and reused while
# the generator is unchanged. Every command runs 3 times, interleaved, after
# one warm-up read of the logs; the best time of each counts. The ratio
# extract/grep is what to watch (aim: at most 2); the machines are noisy, so
# compare ratios, not seconds.
set -euo pipefail

. "$(dirname "$0")/common.sh"
bench_args 14 "$@"
RUNS=3
LOGS=$CACHE/logs-${SIZE}mb-$DAY
bench_logs
expected_records=$(awk '$1 == "total" { print $4 }' "$LOGS/MANIFEST")
bytes=$(cat "${LOG_FILES[@]}" | wc -c)

# --- a home whose TOLV.INI points at them ------------------------------------
make_home() {  # HOME CUT_FILE_STYLE
  rm -rf "$1"
  mkdir -p "$1"
  {
    printf '[FILE]\r\n'
    printf 'LogFile%d=%s\r\n' 1 "${LOG_FILES[0]}" 2 "${LOG_FILES[1]}" 3 "${LOG_FILES[2]}"
    printf 'LogFflag%d=True\r\n' 1 2 3
    printf 'CutFileFolder=OutPut/\r\nCutFileSty=%s\r\nSOFT_CUT=0\r\n' "$2"
  } | iconv -f UTF-8 -t CP932 >"$1/TOLV.INI"
}
HOME_CUT=$CACHE/home-cutfile
HOME_NOCUT=$CACHE/home-nocutfile
make_home "$HOME_CUT" 0
make_home "$HOME_NOCUT" 2

# --- timing ------------------------------------------------------------------
MARK=$(printf '\x93\xfa\x96\xda')  # 日目 in CP932

# grep's output goes to a file: with /dev/null as its output GNU grep stops at
# the first match and the baseline would measure nothing.
run_grep() { LC_ALL=C grep -c "$MARK" "${LOG_FILES[@]}" >"$CACHE/grep.out"; }
# a second reference: reading the logs and writing as many bytes
COPY=$CACHE/copy
mkdir -p "$COPY"
run_copy() { cp "${LOG_FILES[@]}" "$COPY/"; }
run_extract() { "$CLI" --quiet --home "$1" --date "$DAY" extract; }

echo "Warming the page cache ..."
cat "${LOG_FILES[@]}" >/dev/null
for ((i = 1; i <= RUNS; i++)); do
  echo "Run $i of $RUNS ..."
  time_one grep run_grep
  time_one copy run_copy
  time_one extract run_extract "$HOME_CUT"
  time_one extract_nocut run_extract "$HOME_NOCUT"
done

rm -rf "$COPY"

# --- check what was timed ----------------------------------------------------
index=$HOME_CUT/DATA/$DAY.DAT
records=$(($(wc -c <"$index") / 40))
lines=$(LC_ALL=C grep -c "$MARK" "${LOG_FILES[@]}" | awk -F: '{ s += $NF } END { print s }')
status="as expected"
if [ "$records" != "$expected_records" ]; then
  status="WRONG: expected $expected_records"
fi

g=$(best grep)
e=$(best extract)
n=$(best extract_nocut)
echo
echo "Log extraction benchmark, day $DAY: 3 logs, $(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1048576 }') MB," \
  "$lines lines holding 日目, $records cut records ($status)"
echo "tolv-cli: $CLI"
echo
printf '%-44s %10s %9s   %s\n' "command" "best (s)" "MB/s" "runs (s)"
row() {  # LABEL NAME
  local b
  b=$(best "$2")
  printf '%-44s %10s %9s  %s\n' "$1" "$b" "$(awk -v b="$bytes" -v t="$b" 'BEGIN { if (t > 0) printf "%.0f", b / 1048576 / t; else print "-" }')" "$(runs "$2")"
}
row "grep -c (the header mark, baseline)" grep
row "tolv-cli extract (cut file, CutFileSty=0)" extract
row "tolv-cli extract (no cut file, CutFileSty=2)" extract_nocut
row "cp of the logs (reference: read + write)" copy
echo
c=$(best copy)
awk -v e="$e" -v n="$n" -v g="$g" -v c="$c" 'BEGIN {
  if (g <= 0) { print "ratio extract/grep: grep took no measurable time"; exit }
  r = e / g
  printf "ratio extract/grep: %.2f (aim: at most 2.00)%s\n", r, (r <= 2 ? "" : "  -- above the aim")
  printf "ratio extract without cut file/grep: %.2f\n", n / g
  if (c > 0) printf "ratio extract/cp: %.2f\n", e / c
}'
if [ "$status" != "as expected" ]; then
  echo "bench: the cut index does not hold the records the logs were generated with" >&2
  exit 1
fi

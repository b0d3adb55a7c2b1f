#!/usr/bin/env bash
# Tolv creation benchmark: times `tolv-cli create` (aggregation, odds import
# and listings) on a large race day, as a ratio to `tolv-cli extract` of the
# same day in the same run, at two sizes so that the growth with the number of
# cut records shows.
#
#   bench/create_bench.sh TOLV_CLI [SIZE_MB]
#
# SIZE_MB (default 100) is the larger day's log size; the smaller day has
# half of it. Logs are generated once by tools/gen_logs.py into
# $TOLV_BENCH_CACHE or scratch/bench/ (python3 needed the first time). The
# race cards and PAT98 odds files of examples/sample-day serve the day
# (2026-12-06); create runs once with PAT98 odds (source 1) and once with the
# MJH data (source 4). Best of 3 runs each.
set -euo pipefail

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  sed -n '2,15s/^# \{0,1\}//p' "$0"
  [ $# -ge 1 ] && exit 0 || exit 2
fi
CLI=$1
SIZE=${2:-100}
DAY=20261206
RUNS=3
[ -x "$CLI" ] || { echo "bench: $CLI is not an executable tolv-cli" >&2; exit 2; }
case $CLI in /*) ;; *) CLI=$PWD/$CLI ;; esac
ROOT=$(cd "$(dirname "$0")/.." && pwd)
CACHE=${TOLV_BENCH_CACHE:-$ROOT/scratch/bench}
HALF=$(awk -v s="$SIZE" 'BEGIN { print s / 2 }')

logs_for() {  # SIZE -> folder with BENCH1..3.LOG
  local dir=$CACHE/logs-${1}mb-$DAY
  if [ ! -f "$dir/MANIFEST" ] || [ "$ROOT/tools/gen_logs.py" -nt "$dir/MANIFEST" ]; then
    echo "Generating $1 MB of forum logs into $dir (once) ..." >&2
    rm -rf "$dir"
    python3 "$ROOT/tools/gen_logs.py" --out "$dir" --size-mb "$1" --day "$DAY" >&2
  fi
  echo "$dir"
}

make_home() {  # HOME LOGDIR ODDS_SOURCE
  rm -rf "$1"
  mkdir -p "$1"
  cp -R "$ROOT/examples/sample-day/cards" "$ROOT/examples/sample-day/odds" "$1/"
  {
    printf '[FILE]\r\n'
    printf 'LogFile%d=%s\r\n' 1 "$2/BENCH1.LOG" 2 "$2/BENCH2.LOG" 3 "$2/BENCH3.LOG"
    printf 'LogFflag%d=True\r\n' 1 2 3
    printf 'CutFileSty=2\r\nDenFileFolder=cards/\r\nDenFlag=3\r\n'
    printf '[ODDS]\r\nPAT=%s\r\nPATFolder=odds/\r\nMIN=1\r\nMAX=9999\r\n' "$3"
    printf '[OTHER]\r\nMinW=2\r\nMaxW=999\r\n'
  } | iconv -f UTF-8 -t CP932 >"$1/TOLV.INI"
}

now() { date +%s.%N; }
best_of() {  # COMMAND... -> best seconds
  local best="" t0 t1 t
  for ((i = 1; i <= RUNS; i++)); do
    t0=$(now)
    "$@" >/dev/null 2>&1
    t1=$(now)
    t=$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.3f", b - a }')
    if [ -z "$best" ] || awk -v t="$t" -v b="$best" 'BEGIN { exit !(t < b) }'; then best=$t; fi
  done
  echo "$best"
}

printf '%-8s %10s %10s %12s %12s %10s %10s\n' "logs" "records" "extract s" "create(98) s" "create(MJH) s" "ratio 98" "ratio MJH"
declare -A rec create98
for size in "$HALF" "$SIZE"; do
  logs=$(logs_for "$size")
  home98=$CACHE/create-home-$size-1
  homeMjh=$CACHE/create-home-$size-4
  make_home "$home98" "$logs" 1
  make_home "$homeMjh" "$logs" 4
  "$CLI" --quiet --home "$homeMjh" --date $DAY extract
  cat "$logs"/BENCH*.LOG >/dev/null
  e=$(best_of "$CLI" --quiet --home "$home98" --date $DAY extract)
  c98=$(best_of "$CLI" --quiet --home "$home98" --date $DAY create)
  cm=$(best_of "$CLI" --quiet --home "$homeMjh" --date $DAY create)
  records=$(($(wc -c <"$home98/DATA/$DAY.DAT") / 40))
  rec[$size]=$records
  create98[$size]=$c98
  printf '%-8s %10d %10s %12s %12s %10.2f %10.2f\n' "${size}MB" "$records" "$e" "$c98" "$cm" \
    "$(awk -v c="$c98" -v e="$e" 'BEGIN { print c / e }')" "$(awk -v c="$cm" -v e="$e" 'BEGIN { print c / e }')"
done
awk -v r1="${rec[$HALF]}" -v r2="${rec[$SIZE]}" -v t1="${create98[$HALF]}" -v t2="${create98[$SIZE]}" 'BEGIN {
  printf "\ngrowth: %.2fx the cut records took %.2fx the create time (linear: the same factor)\n", r2 / r1, t2 / t1 }'

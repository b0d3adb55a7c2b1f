#!/usr/bin/env bash
# History benchmark: the history database on large race days, as ratios to
# baselines measured in the same run.
#
#   bench/history_bench.sh TOLV_CLI [SIZE_MB] [RUNS] [DAYS]
#
# The day is the race day of bench/race_day_bench.sh (SIZE_MB of generated
# forum logs, default 100, with the race cards, odds and results of
# examples/sample-day), run through extract, create and hits. Then:
# - `history import` of the day against `extract` of the same day (aim: at
#   most 2x);
# - the same day stored DAYS times (default 100, under consecutive dates whose
#   files are hard links of the day's), and `stats programs` and `backtest`
#   (also with --list) over all of them, against `cat` of the database and
#   against the aim of 2 s each;
# - the database size per stored day.
# Every timed command runs RUNS times (default 3); the best time counts. These
# machines are noisy: compare ratios, not seconds.
set -euo pipefail

. "$(dirname "$0")/common.sh"
bench_args 18 "$@"
RUNS=${3:-3}
NDAYS=${4:-100}
for v in "$RUNS" "$NDAYS"; do
  if ! [[ $v =~ ^[1-9][0-9]*$ ]]; then
    echo "bench: RUNS and DAYS must be whole numbers above 0, not \"$v\"" >&2
    exit 2
  fi
done
command -v python3 >/dev/null || { echo "bench: python3 is needed to generate the logs" >&2; exit 2; }

bench_cache history-home

bench_logs

cli() { "$CLI" --quiet --home "$H" --date "$DAY" "$@"; }
run_cli() {  # ARGS... -> runs tolv-cli, failing the bench on an error
  if ! cli "$@" >"$CACHE/step.out" 2>"$CACHE/step.err"; then
    echo "bench: tolv-cli $* failed:" >&2
    cat "$CACHE/step.err" >&2
    exit 1
  fi
}

bench_home "$H"

echo "Preparing the day in $H ..."
run_cli extract
# The program lists: the 300 programs that post the most (names and the
# backtest's --list).
LC_ALL=C cut -c3-6 <(fold -w 40 "$H/DATA/$DAY.DAT") | LC_ALL=C sort | LC_ALL=C uniq -c | LC_ALL=C sort -k1,1nr -k2 |
  awk -v name="$(printf '\xcd\xde\xdd\xc1')" 'NR <= 300 { printf "%s%s%02d\r\n", $2, name, NR % 100 }' >"$H/TOLVSOFT.LST"
head -c 1200 "$H/TOLVSOFT.LST" >"$H/TOP.LST"
run_cli schedule
run_cli create
run_cli hits

run_cat() { cat "$@" | cat >/dev/null; }

echo "Warming the page cache ..."
cat "${LOG_FILES[@]}" >/dev/null
for ((run = 1; run <= RUNS; run++)); do
  echo "Import run $run of $RUNS ..."
  time_one extract run_cli extract
  time_one import run_cli history import
done
one_day_bytes=$(stat -c %s "$H/history.sqlite")

# --- many days: the day's files under consecutive dates ------------------------
echo "Storing the day $NDAYS times ..."
rm -f "$H/history.sqlite" "$H/history.sqlite-wal" "$H/history.sqlite-shm"
FIRST=20270101
dates=$(python3 -c "
import datetime
d = datetime.date(2027, 1, 1)
for i in range($NDAYS):
    print((d + datetime.timedelta(days=i)).strftime('%Y%m%d'))")
for d in $dates; do
  ln -f "$H/DATA/$DAY.DAT" "$H/DATA/$d.DAT"
  ln -f "$H/DATA/Sei$DAY.DAT" "$H/DATA/Sei$d.DAT"
  for f in "$H"/DATA/W${DAY}_??.DAT; do
    ln -f "$f" "$H/DATA/W${d}_${f: -6}"
  done
done
LAST=$(tail -n 1 <<<"$dates")
now_us
t0=$REPLY
run_cli history import --from "$FIRST" --to "$LAST"
now_us
bulk=$(((REPLY - t0)))
# Fold the write-ahead log into the file before measuring it.
run_cli history list
db_bytes=$(stat -c %s "$H/history.sqlite")
wal_bytes=$(stat -c %s "$H/history.sqlite-wal" 2>/dev/null || echo 0)

for ((run = 1; run <= RUNS; run++)); do
  echo "Figures run $run of $RUNS ..."
  time_one cat run_cat "$H/history.sqlite"
  time_one stats run_cli stats programs --format csv
  time_one backtest run_cli backtest --format csv
  time_one backtest-list run_cli backtest --list TOP.LST --format csv
  time_one backtest-wide run_cli backtest --bet wide --format csv
done

# --- the table -------------------------------------------------------------------
records=$(($(wc -c <"$H/DATA/$DAY.DAT") / 40))
programs=$(LC_ALL=C cut -c3-6 <(fold -w 40 "$H/DATA/$DAY.DAT") | LC_ALL=C sort -u | wc -l)
ratio() { awk -v s="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", s / b; else print "-" }'; }
echo
echo "History benchmark, day $DAY: $(awk -v b="$(cat "${LOG_FILES[@]}" | wc -c)" 'BEGIN { printf "%.1f", b / 1048576 }') MB" \
  "of logs, $programs programs, $records cut records; $NDAYS stored days; best of $RUNS"
echo "tolv-cli: $CLI"
echo
printf '%-26s %9s  %-20s %9s %8s\n' "step" "step s" "baseline" "base s" "ratio"
printf '%-26s %9s  %-20s %9s %8s\n' "history import (1 day)" "$(best import)" "extract" "$(best extract)" \
  "$(ratio "$(best import)" "$(best extract)")"
for name in stats backtest backtest-list backtest-wide; do
  case $name in
    stats) label="stats programs" ;;
    backtest) label="backtest" ;;
    backtest-list) label="backtest --list" ;;
    backtest-wide) label="backtest --bet wide" ;;
  esac
  printf '%-26s %9s  %-20s %9s %8s\n' "$label ($NDAYS days)" "$(best $name)" "cat of the database" "$(best cat)" \
    "$(ratio "$(best $name)" "$(best cat)")"
  printf '%-26s %9s  %-20s %9s %8s\n' "" "" "aim" "2.000" "$(ratio "$(best $name)" 2)"
done
echo
awk -v b="$one_day_bytes" -v t="$db_bytes" -v w="$wal_bytes" -v n="$NDAYS" -v s="$bulk" 'BEGIN {
  printf "database: %.2f MB after one day; %.1f MB (+ %.1f MB log) for %d days, %.2f MB a day\n",
         b / 1048576, t / 1048576, w / 1048576, n, (t + w) / 1048576 / n
  printf "import of the %d days: %.1f s, %.2f s a day\n", n, s / 1e6, s / 1e6 / n
}'
i=$(best import); e=$(best extract)
awk -v i="$i" -v e="$e" 'BEGIN { r = i / e; printf "import / extract: %.2f (aim: at most 2.00)%s\n", r, (r <= 2 ? "" : "  -- above the aim") }'

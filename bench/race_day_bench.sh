#!/usr/bin/env bash
# Race-day benchmark: times every tolv-cli step of a large race day and prints
# each as a ratio to a baseline measured in the same run.
#
#   bench/race_day_bench.sh TOLV_CLI [SIZE_MB] [RUNS]
#
# The day (2026-12-06, three meetings, all 36 races): about SIZE_MB (default
# 100) of forum logs in three files with the WARS posts of thousands of
# programs (tools/gen_logs.py), and the race cards, PAT98 odds files, MJH
# text, forum odds log and results files of examples/sample-day. The logs are
# generated once into $TOLV_BENCH_CACHE, else the folder bench-data beside
# TOLV_CLI's build tree, and reused while the generator is unchanged; the
# home is made afresh on every run. Every step runs RUNS times (default 3),
# each time right after its baseline; the best time of each counts.
#
# Baselines: `extract` against `grep -c` of the header mark 日目 over the logs,
# the whole `batch` against `cat` over all its input files, every other step
# against `cat` over the files it reads (cat's output goes through a pipe, so
# that it really reads). The aim: the batch within 3x of reading its inputs
# once. These machines are noisy: compare ratios, not seconds.
set -euo pipefail

. "$(dirname "$0")/common.sh"
bench_args 21 "$@"
RUNS=${3:-3}
if ! [[ $RUNS =~ ^[1-9][0-9]*$ ]]; then
  echo "bench: RUNS must be a whole number above 0, not \"$RUNS\"" >&2
  exit 2
fi
race_day_home race-day-home

# --- the steps and the files they read ---------------------------------------
shopt -s nullglob
files_of() {  # KIND -> the input files, one per line
  case $1 in
    logs) printf '%s\n' "${LOG_FILES[@]}" ;;
    cards) printf '%s\n' "$H"/cards/* ;;
    odds) printf '%s\n' "$H"/odds/[UZ]O-*.JRA ;;
    results) printf '%s\n' "$H"/odds/ks-*.JRA ;;
    cut) printf '%s\n' "$H/DATA/$DAY.DAT" ;;
    schedule) printf '%s\n' "$H/DATA/${DAY}開催.DAT" ;;
    tolv) printf '%s\n' "$H"/DATA/W${DAY}_??.DAT ;;
    lists) printf '%s\n' "$H/TOLV.INI" "$H/TOLVSOFT.LST" "$H/PIRUNE.LST" ;;
    forum-odds) printf '%s\n' "$H/logs/ODDS1206.LOG" ;;
    bets) printf '%s\n' "$H/DATA/~B$DAY.TXT" ;;
    tolv-wars) printf '%s\n' "$H"/OutPut/Tolv_WARS${DAY}_*.TXT "$H/DATA/Sei$DAY.DAT" ;;
    listings) printf '%s\n' "$H"/OutPut/W${DAY}_??.TXT "$H"/OutPut/Tolv_WARS${DAY}_*.TXT "$H"/OutPut/H[TW]${DAY}*.[Tt][Xx][Tt] ;;
  esac
}
inputs() {  # KIND... -> sets INPUT_FILES
  INPUT_FILES=()
  local k f
  for k in "$@"; do
    while IFS= read -r f; do [ -n "$f" ] && INPUT_FILES+=("$f"); done < <(files_of "$k")
  done
}

# name | tolv-cli arguments | baseline (grep or cat) | input kinds
STEPS=(
  "extract|extract|grep|logs"
  "schedule|schedule|cat|cards"
  "create|create|cat|cut schedule odds lists"
  "odds|odds|cat|tolv odds"
  "text|text|cat|tolv"
  "wars|wars|cat|tolv"
  "pirune|pirune|cat|cut schedule odds lists"
  "forum-odds|forum-odds|cat|forum-odds"
  "hits|hits|cat|results tolv"
  "bets send|--answer overwrite bets send 中山 --rows all|cat|tolv odds"
  "bets send-wars|--answer append bets send-wars tolv|cat|tolv-wars odds"
  "bets merge|--answer ok bets merge|cat|bets"
  "bets sort|--answer ok bets sort|cat|bets"
  "bets summary|bets summary|cat|bets"
  "export patbet|--answer no bets export patbet|cat|bets"
  "export betauto|--answer no bets export betauto|cat|bets"
  "export bakenjuku|bets export bakenjuku|cat|bets"
  "pad|--answer ok pad|cat|listings"
  "batch|--answer ok batch|cat|logs cards odds lists"
)

MARK=$(printf '\x93\xfa\x96\xda')  # 日目 in CP932

# grep's output goes to a file: writing to /dev/null, GNU grep stops at the
# first match and would measure nothing.
run_grep() { LC_ALL=C grep -c "$MARK" "$@" >"$CACHE/grep.out"; }
run_cat() { cat "$@" | cat >/dev/null; }
run_step() {  # ARGS (a string) -> runs tolv-cli, failing the bench on an error
  local -a args
  read -ra args <<<"$1"
  if ! cli "${args[@]}" >"$CACHE/step.out" 2>"$CACHE/step.err"; then
    echo "bench: tolv-cli ${args[*]} failed:" >&2
    cat "$CACHE/step.err" >&2
    exit 1
  fi
}

echo "Warming the page cache ..."
cat "${LOG_FILES[@]}" >/dev/null
declare -A bytes
for ((run = 1; run <= RUNS; run++)); do
  echo "Run $run of $RUNS ..."
  for entry in "${STEPS[@]}"; do
    IFS='|' read -r name args base kinds <<<"$entry"
    read -ra kind_list <<<"$kinds"
    inputs "${kind_list[@]}"
    bytes[$name]=$(cat "${INPUT_FILES[@]}" | wc -c)
    if [ "$base" = grep ]; then
      time_one "base:$name" run_grep "${INPUT_FILES[@]}"
      time_one "cat:$name" run_cat "${INPUT_FILES[@]}"
    else
      time_one "base:$name" run_cat "${INPUT_FILES[@]}"
    fi
    time_one "$name" run_step "$args"
  done
done

# --- the table ---------------------------------------------------------------
records=$(($(wc -c <"$H/DATA/$DAY.DAT") / 40))
programs=$(LC_ALL=C cut -c3-6 <(fold -w 40 "$H/DATA/$DAY.DAT") | LC_ALL=C sort -u | wc -l)
echo
echo "Race-day benchmark, day $DAY: 3 logs of $(awk -v b="${bytes[extract]}" 'BEGIN { printf "%.1f", b / 1048576 }') MB," \
  "$programs programs, $records cut records, 36 races; best of $RUNS"
echo "tolv-cli: $CLI"
echo
printf '%-17s %10s %9s  %-9s %10s %8s\n' "step" "input MB" "step s" "baseline" "base s" "ratio"
for entry in "${STEPS[@]}"; do
  IFS='|' read -r name args base kinds <<<"$entry"
  s=$(best "$name")
  b=$(best "base:$name")
  label=$base
  [ "$base" = cat ] || label="grep -c"
  printf '%-17s %10s %9s  %-9s %10s %8s\n' "$name" \
    "$(awk -v b="${bytes[$name]}" 'BEGIN { printf "%.2f", b / 1048576 }')" "$s" "$label" "$b" \
    "$(awk -v s="$s" -v b="$b" 'BEGIN { if (b > 0) printf "%.2f", s / b; else print "-" }')"
  if [ "$base" = grep ]; then
    c=$(best "cat:$name")
    printf '%-17s %10s %9s  %-9s %10s %8s\n' "" "" "" "cat" "$c" \
      "$(awk -v s="$s" -v b="$c" 'BEGIN { if (b > 0) printf "%.2f", s / b; else print "-" }')"
  fi
done
echo
awk -v s="$(best batch)" -v b="$(best base:batch)" 'BEGIN {
  if (b <= 0) { print "batch: cat took no measurable time"; exit }
  r = s / b
  printf "batch / cat of its inputs: %.2f (aim: at most 3.00)%s\n", r, (r <= 3 ? "" : "  -- above the aim")
}'
echo "(steps on small inputs mostly measure the start of a process; cat starts one too)"

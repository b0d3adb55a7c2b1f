#!/usr/bin/env bash
# Runs the libFuzzer targets one after the other, each for a bounded time.
#
#   fuzz/run.sh BUILD_DIR [SECONDS] [TARGET...]
#
# BUILD_DIR is the clang build configured with -DTOLV_FUZZ=ON (make fuzz uses
# build-fuzz); SECONDS the time per target (default 60); without TARGETs every
# target runs. Each target starts from its seeds in fuzz/corpus/<target>/
# (and the words of its format in fuzz/dict/<target>.dict, where there is one),
# copied into BUILD_DIR/fuzz-corpus/<target>/ where the corpus grows (the
# committed seeds stay as they are). A crash, leak, sanitizer report, hang
# (10 s per input) or memory blow-up (2 GB) is a finding: its input is kept in
# BUILD_DIR/fuzz-findings/<target>/, and the script ends with status 1 after
# the summary. Reproduce one with: BUILD_DIR/fuzz/<target> FILE
set -uo pipefail

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  sed -n '2,14s/^# \{0,1\}//p' "$0"
  [ $# -ge 1 ] && exit 0 || exit 2
fi
BUILD=$(cd "$1" 2>/dev/null && pwd) || { echo "fuzz: no build folder $1" >&2; exit 2; }
SECONDS_EACH=${2:-60}
shift $(($# >= 2 ? 2 : 1))
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ALL=(fuzz_log_extraction fuzz_software_list fuzz_profile fuzz_pat_odds fuzz_target_csv fuzz_mjh_text
     fuzz_forum_odds fuzz_kol_records fuzz_results fuzz_pending_bets fuzz_lzh fuzz_history_import)
if [ $# -gt 0 ]; then TARGETS=("$@"); else TARGETS=("${ALL[@]}"); fi
if ! [[ $SECONDS_EACH =~ ^[0-9]+$ ]] || [ "$SECONDS_EACH" -lt 1 ]; then
  echo "fuzz: SECONDS must be a whole number above 0, not \"$SECONDS_EACH\"" >&2
  exit 2
fi

# Inputs of a log or a text file may be long; binary records are short.
max_len() {
  case $1 in
    fuzz_log_extraction | fuzz_forum_odds | fuzz_mjh_text | fuzz_results | fuzz_target_csv | fuzz_history_import) echo 16384 ;;
    fuzz_kol_records | fuzz_pat_odds) echo 8192 ;;
    *) echo 4096 ;;
  esac
}

declare -a summary
failed=0
for t in "${TARGETS[@]}"; do
  exe=$BUILD/fuzz/$t
  if [ ! -x "$exe" ]; then
    echo "fuzz: $exe is missing (build the target fuzz-targets in $BUILD)" >&2
    exit 2
  fi
  corpus=$BUILD/fuzz-corpus/$t
  findings=$BUILD/fuzz-findings/$t
  mkdir -p "$corpus" "$findings"
  cp -n "$ROOT/fuzz/corpus/$t/"* "$corpus/" 2>/dev/null || true
  log=$BUILD/fuzz-findings/$t.log
  dict=()
  [ -f "$ROOT/fuzz/dict/$t.dict" ] && dict=(-dict="$ROOT/fuzz/dict/$t.dict")
  echo "== $t: ${SECONDS_EACH}s"
  (cd "$findings" && TMPDIR=${TMPDIR:-/tmp} \
    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    "$exe" -max_total_time="$SECONDS_EACH" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$t")" \
      -artifact_prefix="$findings/" -print_final_stats=1 "${dict[@]}" "$corpus" >"$log" 2>&1)
  status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' | tail -1)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*')
  if [ $status -eq 0 ]; then
    summary+=("$(printf '%-22s %-9s %12s runs  cov %s' "$t" "ok" "${runs:-?}" "${cov:-?}")")
  else
    failed=1
    artifact=$(ls -t "$findings" 2>/dev/null | head -1)
    summary+=("$(printf '%-22s %-9s %12s runs  cov %s  input: %s' "$t" "FINDING" "${runs:-?}" "${cov:-?}" "$findings/$artifact")")
    grep -m3 -E 'ERROR|runtime error|SUMMARY' "$log" | sed 's/^/    /'
    echo "   (whole report: $log)"
  fi
done
echo
echo "Fuzzing summary (${SECONDS_EACH}s per target):"
printf '%s\n' "${summary[@]}"
exit $failed

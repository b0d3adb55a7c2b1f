#!/usr/bin/env bash
# Runs the sample season (examples/sample-season, eight race days from
# 2026-09-12 to 2026-10-04) through tolv-cli in a scratch copy of its home
# folder: for each day in turn the batch run (extraction, トルブ, WARS, ぴるね,
# PAD) and the hit check, then the hits of every program over the season, as
# marked in the Tolv data files.
#
#   tools/season.sh [--history] TOLV_CLI [HOME]
#
# TOLV_CLI is the tolv-cli to run. HOME is the scratch home to use; it must
# not exist yet or be empty. Without it a fresh folder is made with mktemp.
# The home is kept afterwards; remove it when done. The last line printed is
# "Season: FIRST-LAST in HOME" (processing days yyyymmdd).
#
# --history: then the track record of the season: `history import`, `stats
# programs` and `backtest` over its days (once more with the votes of the
# programs of GOOD.LST only), and the chart of the programs' return saved as
# HOME/season-chart.png by the desktop program (TOLV_GUI, by default the tolv
# beside TOLV_CLI's folder: ../ui/tolv), run offscreen. A part this build has
# no command for is skipped with a line saying so.
#
# Needs only bash, coreutils (od, ...), gawk or mawk and iconv: no Python.
set -euo pipefail

usage() {
  sed -n '2,23s/^# \{0,1\}//p' "$0"
}

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  usage
  [ $# -ge 1 ] && exit 0 || exit 2
fi

HISTORY=0
if [ "$1" = "--history" ]; then
  HISTORY=1
  shift
  [ $# -ge 1 ] || { usage; exit 2; }
fi
CLI=$1
if [ ! -x "$CLI" ]; then
  echo "season: $CLI is not an executable tolv-cli (build it first: make build)" >&2
  exit 2
fi
case $CLI in /*) ;; *) CLI=$PWD/$CLI ;; esac

ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/sample_home.sh
. "$ROOT/tools/sample_home.sh"
scratch_home season "$SEASON" "${@:2}"

# The processing days: one JRA-VAN race card archive DByymmdd.LZH per day.
DAYS=()
for card in "$H"/cards/DB??????.LZH; do
  name=$(basename "$card" .LZH)
  DAYS+=("20${name:2}")
done
if [ ${#DAYS[@]} -eq 0 ]; then
  echo "season: no race days in $H/cards" >&2
  exit 1
fi

# One line per Tolv record of the given files: hit flag (1 or 0), payout,
# then the codes of the programs that posted the pick.
tolv_records() {
  local f
  for f in "$@"; do
    od -A n -v -t u1 -w167 "$f"
  done | awk '{
    hit = ($152 == 255 && $153 == 255) ? 1 : 0
    pay = 0
    for (i = 154; i <= 159; i++) if ($i >= 48 && $i <= 57) pay = pay * 10 + $i - 48
    share = $22 + 256 * $23
    if (share > 63) share = 63
    line = hit " " pay
    for (s = 0; s < share; s++) line = line " " sprintf("%04d", $(24 + 2 * s) + 256 * $(25 + 2 * s))
    print line
  }'
}

echo "Sample season in $H: ${#DAYS[@]} days, ${DAYS[0]} to ${DAYS[${#DAYS[@]} - 1]}"
printf '  %-8s  %7s  %8s  %10s  %9s  %s\n' day records programs "Tolv picks" "hit picks" results
for day in "${DAYS[@]}"; do
  for step in "--answer ok batch" "hits"; do
    read -ra args <<<"$step"
    # Each day lies in the past: start-up would purge its pending bets as
    # more than a week old, so tolv-cli takes the day itself as today.
    if ! out=$(TOLV_TODAY=$day "$CLI" --home "$H" --date "$day" "${args[@]}" 2>&1); then
      printf '%s\n' "$out" >&2
      echo "season: \"tolv-cli --home $H --date $day $step\" failed; the home is kept in $H" >&2
      exit 1
    fi
  done
  index=$H/DATA/$day.DAT
  files=("$H"/DATA/W${day}_??.DAT)
  counts=$(tolv_records "${files[@]}" | awk '{ n++; h += $1 } END { print n + 0, h + 0 }')
  printf '  %-8s  %7d  %8d  %10d  %9d  %d races\n' "$day" $(($(wc -c <"$index") / 40)) \
    "$(fold -b -w 40 "$index" | cut -b3-6 | LC_ALL=C sort -u | wc -l)" ${counts% *} ${counts#* } \
    $(($(wc -c <"$H/DATA/Sei$day.DAT") / 110))
done

echo
echo "Programs over the season (picks of the Tolv data files, 100 yen a pick; hits as marked by tolv-cli hits):"
printf '  %-4s  %-8s  %6s  %5s  %8s  %10s  %7s\n' code name picks hits hits/pick return 回収率
names=$(iconv -f CP932 -t UTF-8 <"$H/TOLVSOFT.LST" | tr -d '\r' | grep -E '^[0-9]{4}')
tolv_records "$H"/DATA/W????????_??.DAT | awk -v names="$names" '
  BEGIN { n = split(names, l, "\n"); for (i = 1; i <= n; i++) name[substr(l[i], 1, 4)] = substr(l[i], 5) }
  { for (i = 3; i <= NF; i++) { picks[$i]++; if ($1) { hits[$i]++; back[$i] += $2 } } }
  END {
    for (c in picks)
      printf "%s\t%s\t%d\t%d\t%.1f\t%d\t%.1f\n", c, (c in name ? name[c] : "?"), picks[c], hits[c],
        100 * hits[c] / picks[c], back[c], back[c] / picks[c]
  }' | LC_ALL=C sort -t "$(printf '\t')" -k7,7gr -k1,1 |
  while IFS=$'\t' read -r code name picks hits rate back roi; do
    # names line up by their CP932 length, the width they take on a terminal
    printf '  %-4s  %s%*s  %6d  %5d  %7s%%  %10d  %6s%%\n' "$code" "$name" \
      $((8 - $(printf '%s' "$name" | iconv -f UTF-8 -t CP932 | wc -c))) "" "$picks" "$hits" "$rate" "$back" "$roi"
  done
FIRST=${DAYS[0]} LAST=${DAYS[${#DAYS[@]} - 1]}
if [ "$HISTORY" = 1 ]; then
  # The track record, once this tolv-cli keeps a history of the days.
  history_step() {
    echo
    echo "== tolv-cli --home $H --date $LAST $*"
    TOLV_TODAY=$LAST "$CLI" --home "$H" --date "$LAST" "$@"
  }
  echo
  # (a tolv-cli without the command answers `history --help` with its own help)
  if ! "$CLI" --help 2>/dev/null | grep -qE '^  history( |$)' || ! "$CLI" history --help >/dev/null 2>&1; then
    echo "season: this tolv-cli has no history command yet; history import, program figures," \
      "backtest and chart skipped"
  else
    history_step history import --from "$FIRST" --to "$LAST"
    history_step stats programs --from "$FIRST" --to "$LAST"
    history_step backtest --from "$FIRST" --to "$LAST"
    # the same, counting only the votes of the season's good programs
    history_step backtest --from "$FIRST" --to "$LAST" --list GOOD.LST --votes 2-999
    GUI=${TOLV_GUI:-$(dirname "$CLI")/../ui/tolv}
    CHART=$H/season-chart.png
    # Qt wants a runtime folder of the user's; a scratch one where none is set.
    if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
      XDG_RUNTIME_DIR=$H/.runtime
      mkdir -p -m 700 "$XDG_RUNTIME_DIR"
      export XDG_RUNTIME_DIR
    fi
    echo
    if [ ! -x "$GUI" ] || ! QT_QPA_PLATFORM=offscreen "$GUI" --help 2>/dev/null | grep -q -- '--save-chart'; then
      echo "season: no desktop program with --save-chart at $GUI; chart skipped"
    elif QT_QPA_PLATFORM=offscreen TOLV_TODAY=$LAST "$GUI" --home "$H" --date "$LAST" \
      --save-chart "$CHART" && [ -s "$CHART" ]; then
      echo "Chart of the season (成績分析): $CHART"
    else
      echo "season: the desktop program wrote no chart to $CHART" >&2
      exit 1
    fi
  fi
fi

echo
echo "Season: $FIRST-$LAST in $H"

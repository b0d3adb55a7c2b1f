#!/usr/bin/env bash
# Runs the sample race day (examples/sample-day, Sunday 2026-12-06) through
# tolv-cli in a scratch copy of its home folder, then shows what was written.
#
#   tools/demo.sh TOLV_CLI [HOME]
#
# TOLV_CLI is the tolv-cli to run (make demo passes build/src/cli/tolv-cli).
# HOME is the scratch home to use; it must not exist yet or be empty. Without
# it a fresh folder is made with mktemp. The home is kept afterwards so that
# its files can be looked at; remove it when done.
#
# Needs only bash, coreutils (od, dd, fold, ...), cmp (diffutils) and iconv
# (libc-bin): no Python.
set -euo pipefail

usage() {
  sed -n '2,13s/^# \{0,1\}//p' "$0"
}

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  usage
  [ $# -ge 1 ] && exit 0 || exit 2
fi

CLI=$1
if [ ! -x "$CLI" ]; then
  echo "demo: $CLI is not an executable tolv-cli (build it first: make build)" >&2
  exit 2
fi
case $CLI in /*) ;; *) CLI=$PWD/$CLI ;; esac

ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/sample_home.sh
. "$ROOT/tools/sample_home.sh"
sample_home demo "${@:2}"

if [ -t 1 ]; then BOLD=$'\033[1m' PLAIN=$'\033[0m'; else BOLD="" PLAIN=""; fi
section() {
  printf '\n%s== %s%s\n' "$BOLD" "$*" "$PLAIN"
}

# Every output is compared byte for byte with examples/sample-day/expected/
# (the version in the banner lines included); a difference fails the demo
# when it ends, after everything has been shown.
MISMATCHES=0
mismatch() {  # WHAT
  MISMATCHES=$((MISMATCHES + 1))
  echo "Differs from expected: $*"
}
fail_on_mismatches() {
  local status=$?
  if [ "$status" -eq 0 ] && [ "$MISMATCHES" -ne 0 ]; then
    echo "demo: $MISMATCHES output(s) differ from examples/sample-day/expected/" >&2
    exit 1
  fi
}
trap fail_on_mismatches EXIT

to_utf8() {
  iconv -f CP932 -t UTF-8 | tr -d '\r'
}

course_name() {
  case $1 in
    01) echo 札幌 ;; 02) echo 函館 ;; 03) echo 福島 ;; 04) echo 新潟 ;; 05) echo 東京 ;;
    06) echo 中山 ;; 07) echo 中京 ;; 08) echo 京都 ;; 09) echo 阪神 ;; 10) echo 小倉 ;;
    *) echo "?" ;;
  esac
}

# A CP932 field for display; bytes that are no CP932 text are left out.
field() {
  printf '%s' "$1" | iconv -c -f CP932 -t UTF-8 2>/dev/null || true
}

# One 40-byte cut record (CP932 bytes): course code and name, program code,
# race number, line tag, six picks.
show_record() {
  local LC_ALL=C
  local n=$1 rec=$2 name
  name=$(course_name "${rec:0:2}")
  printf '  %5d  %s %s %-4s %-4s [%s] [%s|%s|%s|%s|%s|%s]\n' "$n" "$(field "${rec:0:2}")" "$name" \
    "$(field "${rec:2:4}")" "$(field "${rec:6:2}")" "$(field "${rec:8:2}")" \
    "$(field "${rec:10:5}")" "$(field "${rec:15:5}")" "$(field "${rec:20:5}")" \
    "$(field "${rec:25:5}")" "$(field "${rec:30:5}")" "$(field "${rec:35:5}")"
}

section "Sample race day $DAY in $H"
echo "tolv-cli: $CLI ($("$CLI" --version))"
echo "Home folder as copied:"
(cd "$H" && find . -type f ! -path './odds/*' | LC_ALL=C sort | sed 's/^\.\//  /')
if [ -d "$H/odds" ]; then
  (
    cd "$H/odds"
    pat=$(find . -maxdepth 1 -type f -name '[UZ]O-*.JRA' | sed 's/^\.\///' | LC_ALL=C sort)
    echo "  odds/: $(grep -c . <<<"$pat") PAT odds files ($(head -n 1 <<<"$pat") ... $(tail -n 1 <<<"$pat"))"
    find . -maxdepth 1 -type f ! -name '[UZ]O-*.JRA' | LC_ALL=C sort | sed 's/^\.\//  odds\//'
  )
fi
echo "Settings (TOLV.INI, [FILE] section):"
to_utf8 <"$H/TOLV.INI" | sed -n '/^\[FILE\]/,/^$/p' | sed '/^$/d; s/^/  /'

# The day's steps, in the order of a race day. Each entry is a tolv-cli
# command and its arguments, run as `tolv-cli --home H --date DAY ENTRY`;
# other global options (--answer ok, --odds 5-300, ...) go first in the entry.
# A step whose command this tolv-cli does not have yet is skipped.
#
# Before the races: the odds converters, then the batch run (section 一括処理
# of the sample TOLV.INI: log extraction, Tolv creation, WARS-format output,
# Pirune creation and the PAD file, whose line-count questions are answered OK).
STEPS=(
  "forum-odds"
  "convert kol98 kol/J261206.LZH --out kol"
  "odds-status"
  "--answer ok batch"
)
# Then the user's pending bets - picks from two grids and from the
# WARS-format file, merged, sorted, summed up and exported - and, after the
# races, the hits.
AFTER_STEPS=(
  "bets send 中山 --rows 1,2,3"
  "--answer append bets send 阪神 --wide --rows 1,2"
  "--answer append bets send-wars tolv"
  "--answer ok bets merge"
  "--answer ok bets sort"
  "bets summary"
  "--answer no bets export patbet"
  "--answer no bets export betauto"
  "bets export bakenjuku"
  "hits"
)

HELP=$("$CLI" --help 2>&1 || true)

# The command of a step entry: its first word that is no option or option value.
step_command() {
  local skip=0 a
  for a in "$@"; do
    if [ "$skip" -eq 1 ]; then
      skip=0
      continue
    fi
    case $a in
      --odds | --votes | --answer | --home | --date) skip=1 ;;
      -*) ;;
      *)
        echo "$a"
        return
        ;;
    esac
  done
}

# Whether tolv-cli lists the command among its subcommands in --help.
knows_command() {
  grep -qE "^  $1( |\$)" <<<"$HELP"
}

run_steps() {
  local step command status
  for step in "$@"; do
    read -ra args <<<"$step"
    section "tolv-cli --home $H --date $DAY $step"
    command=$(step_command "${args[@]}")
    if ! knows_command "$command"; then
      echo "demo: this tolv-cli has no command \"$command\" yet; step skipped"
      continue
    fi
    status=0
    "$CLI" --home "$H" --date "$DAY" "${args[@]}" || status=$?
    if [ "$status" -ne 0 ]; then
      echo "demo: the step \"$step\" stopped with exit status $status; the home is kept in $H" >&2
      exit "$status"
    fi
  done
}

# The sample day lies in the past: start-up would purge its pending bets as
# more than a week old, so tolv-cli takes the day itself as today.
export TOLV_TODAY=$DAY
run_steps "${STEPS[@]}"

# ---------------------------------------------------------------------------
# The converted odds: the forum's odds posts and the KOL predicted odds as
# PAT98 files, against examples/sample-day/expected/forum-odds/ and kol/.

same_odds_files() {  # CAPTION WRITTEN_FOLDER EXPECTED_FOLDER
  local caption=$1 written=$2 kept=$3 f name differ=0 count=0
  for f in "$kept"/*.JRA; do
    name=$(basename "$f")
    count=$((count + 1))
    if ! cmp -s "$written/$name" "$f"; then
      differ=1
      mismatch "$written/$name"
    fi
  done
  for f in "$written"/*.JRA; do
    [ -e "$f" ] || continue
    if [ ! -f "$kept/$(basename "$f")" ]; then
      differ=1
      mismatch "$f (not expected)"
    fi
  done
  [ "$differ" = 0 ] && echo "$caption: $count files as expected ($(basename "$kept")/)."
  return 0
}
if [ -d "$SAMPLE/expected/forum-odds" ]; then
  section "Converted odds"
  same_odds_files "Forum odds (WarsOdds/)" "$H/WarsOdds" "$SAMPLE/expected/forum-odds"
  same_odds_files "KOL predicted odds (kol/)" "$H/kol" "$SAMPLE/expected/kol"
fi

# ---------------------------------------------------------------------------
# Log extraction: the cut index and the cut file.

INDEX=$H/DATA/$DAY.DAT
CUT=$H/OutPut/WARS$DAY.TXT
section "Cut index $INDEX"
size=$(wc -c <"$INDEX")
records=$((size / 40))
echo "$size bytes = $records records of 40 bytes"
echo
echo "First 3 records as bytes:"
od -A d -t x1z -w20 -N 120 "$INDEX" | sed 's/^/  /'
echo
echo "First 12 records as fields (course, program, race, tag, six picks):"
printf '  %5s  %-6s %-4s %-4s %-3s %s\n' "#" course prog race tag picks
shown=$((records < 12 ? records : 12))
for ((i = 0; i < shown; i++)); do
  show_record "$((i + 1))" "$(dd if="$INDEX" bs=40 skip="$i" count=1 status=none)"
done
echo
echo "Records per course:"
fold -b -w 40 "$INDEX" | cut -b1-2 | LC_ALL=C sort | uniq -c | while read -r count code; do
  printf '  %s %s %6d\n' "$code" "$(course_name "$code")" "$count"
done
echo "Programs in the cut index: $(fold -b -w 40 "$INDEX" | cut -b3-6 | LC_ALL=C sort -u | wc -l)"

if [ -f "$SAMPLE/expected/$DAY.DAT" ]; then
  if cmp -s "$INDEX" "$SAMPLE/expected/$DAY.DAT" && cmp -s "$CUT" "$SAMPLE/expected/WARS$DAY.TXT"; then
    echo "Cut index and cut file: byte for byte as expected (examples/sample-day/expected/)."
  else
    mismatch "cut index or cut file (see tools/gen_sample_day.py --check $H)"
  fi
fi

section "Cut file $CUT (first 20 lines, in UTF-8)"
echo "$(wc -l <"$CUT") lines, $(wc -c <"$CUT") bytes"
head -n 20 "$CUT" | to_utf8 | sed 's/^/  |/'

# ---------------------------------------------------------------------------
# The meeting schedule, built from the race cards in cards/ (DenFlag 3:
# the JRA-VAN archive of the day above 50000 bytes).

SCHEDULE=$H/DATA/${DAY}開催.DAT
section "Meeting schedule $SCHEDULE"
if [ -f "$SCHEDULE" ]; then
  size=$(wc -c <"$SCHEDULE")
  count=$((size / 67))
  echo "$size bytes = $count records of 67 bytes"
  echo
  printf '  %3s  %-4s %s %s %-2s %-2s %-4s %-2s %-4s %-5s %-5s  %s\n' "#" course 回 日 R 面 距離 頭 年齢 class 発走 "race name"
  zero=0
  for ((i = 0; i < count; i++)); do
    rec=$(dd if="$SCHEDULE" bs=67 skip="$i" count=1 status=none | head -c 57)
    (
      LC_ALL=C
      printf '  %3d  %s   %s  %s %s %s %s %s %s %s    %s  %s\n' "$((i + 1))" "$(field "${rec:0:4}")" \
        "$(field "${rec:4:1}")" "$(field "${rec:5:1}")" "$(field "${rec:6:2}")" "$(field "${rec:8:2}")" \
        "$(field "${rec:10:4}")" "$(field "${rec:14:2}")" "$(field "${rec:16:4}")" "$(field "${rec:20:2}")" \
        "$(field "${rec:52:5}")" "$(field "${rec:22:30}" | sed 's/ *$//')"
    )
    nonzero=$(dd if="$SCHEDULE" bs=67 skip="$i" count=1 status=none | tail -c 10 | tr -d '\000' | wc -c)
    [ "$nonzero" -eq 0 ] && zero=$((zero + 1))
  done
  echo
  echo "Records whose 10 reserved bytes are all zero: $zero of $count"
  if cmp -s "$SCHEDULE" "$SAMPLE/expected/${DAY}開催.DAT"; then
    echo "Meeting schedule: byte for byte as expected (examples/sample-day/expected/${DAY}開催.DAT)."
  else
    mismatch "meeting schedule $SCHEDULE (see tools/gen_sample_day.py --check $H)"
  fi
else
  echo "Not built (the schedule step did not run)."
fi

# ---------------------------------------------------------------------------
# The Tolv selection: data files, listings and the WARS-format file.

TOLV_EXPECTED=$SAMPLE/expected/tolv
shopt -s nullglob
tolv_files=("$H/DATA/W${DAY}_"??.DAT)
if [ ${#tolv_files[@]} -gt 0 ]; then
  section "Tolv data files"
  for f in "${tolv_files[@]}"; do
    echo "  $f: $(($(wc -c <"$f") / 167)) picks"
  done
  LISTING=$H/OutPut/W${DAY}_06.TXT
  if [ -f "$LISTING" ]; then
    section "Listing $LISTING (first 16 lines, in UTF-8)"
    head -n 16 "$LISTING" | to_utf8 | sed 's/^/  |/'
  fi
  WARS=$(ls "$H"/OutPut/Tolv_WARS${DAY}* 2>/dev/null | head -n 1 || true)
  if [ -n "$WARS" ]; then
    section "WARS-format file $WARS (first 18 lines, in UTF-8)"
    head -n 18 "$WARS" | to_utf8 | sed 's/^/  |/'
  fi
  echo
  differ=0
  outputs=("${tolv_files[@]}")
  for f in "${tolv_files[@]}"; do outputs+=("${f%.DAT}.IDX"); done
  outputs+=("$H"/OutPut/W${DAY}_??.TXT)
  [ -n "$WARS" ] && outputs+=("$WARS")
  for f in "${outputs[@]}"; do
    if ! cmp -s "$f" "$TOLV_EXPECTED/$(basename "$f")"; then
      differ=1
      mismatch "$f"
    fi
  done
  [ "$differ" = 0 ] && echo "Tolv data, index, listings and WARS file: as expected (examples/sample-day/expected/tolv/)."
fi
shopt -u nullglob

# ---------------------------------------------------------------------------
# ぴるね: the base program's candidates ranked by the other programs' votes.

PIRUNE_TEXT=$H/OutPut/HT${DAY}.txt
if [ -f "$PIRUNE_TEXT" ]; then
  section "ぴるね listing $PIRUNE_TEXT (first 10 lines, in UTF-8)"
  head -n 10 "$PIRUNE_TEXT" | to_utf8 | sed 's/^/  |/'
  echo
  if cmp -s "$PIRUNE_TEXT" "$SAMPLE/expected/pirune/HT${DAY}.txt" &&
    cmp -s "$H/OutPut/HW${DAY}_0870.TXT" "$SAMPLE/expected/pirune/HW${DAY}_0870.TXT" &&
    cmp -s "$H/DATA/HA${DAY}.DAT" "$SAMPLE/expected/pirune/HA${DAY}.DAT"; then
    echo "ぴるね selection, listing and WARS file: as expected (examples/sample-day/expected/pirune/)."
  else
    mismatch "ぴるね output (examples/sample-day/expected/pirune/)"
  fi
fi

# ---------------------------------------------------------------------------
# Pending bets, then results and hits.

run_steps "${AFTER_STEPS[@]}"

RESULTS=$H/DATA/Sei$DAY.DAT
if [ -f "$RESULTS" ]; then
  section "Results file $RESULTS"
  echo "$(wc -c <"$RESULTS") bytes = $(($(wc -c <"$RESULTS") / 711)) races of 711 bytes (PAT98)"
fi
# The WARS viewer checks the file against the results and shows the copy
# with the hits marked (written beside it, its name ending in "S").
section "tolv-cli --home $H --date $DAY show tolv-wars (first 16 lines)"
SHOWN=$("$CLI" --home "$H" --date "$DAY" show tolv-wars | tr -d '\r')
head -n 16 <<<"$SHOWN" | sed 's/^/  |/'
echo
echo "Races hit: $(grep -c '的中！' <<<"$SHOWN") of $(grep -cE '^ ?[0-9]+R ' <<<"$SHOWN")"
HITS=$(ls "$H"/OutPut/Tolv_WARS${DAY}*S 2>/dev/null | head -n 1 || true)
[ -n "$HITS" ] && echo "The marked copy: $HITS"
BETS=$H/DATA/~B$DAY.TXT
if [ -f "$BETS" ]; then
  section "Pending bets $BETS (first 8 lines, in UTF-8)"
  echo "$(wc -l <"$BETS") bets"
  head -n 8 "$BETS" | to_utf8 | sed 's/^/  |/'
fi

# Everything the day wrote after the batch, against examples/sample-day/expected/race-day/.
RACE_DAY=$SAMPLE/expected/race-day
if [ -d "$RACE_DAY" ]; then
  echo
  differ=0
  for kept in "$RACE_DAY"/*; do
    name=$(basename "$kept")
    case $name in
      wPAD.TXT) written=$H/$name ;;
      ~B* | Sei* | W*_??.DAT) written=$H/DATA/$name ;;
      *) written=$H/OutPut/$name ;;
    esac
    if ! cmp -s "$written" "$kept"; then
      differ=1
      mismatch "$written"
    fi
  done
  [ "$differ" = 0 ] && echo "PAD file, pending bets, exports, results and hits: as expected (examples/sample-day/expected/race-day/)."
fi

section "Done: what was written where"
echo "Home folder: $H"
report() {  # CAPTION FILE... : up to three files of a kind, else the first and a count
  local caption=$1 f
  shift
  local files=()
  for f in "$@"; do [ -f "$f" ] && files+=("$f"); done
  [ ${#files[@]} -eq 0 ] && return 0
  if [ ${#files[@]} -gt 3 ]; then
    printf '  %-22s %s (and %d more like it)\n' "$caption" "${files[0]}" $((${#files[@]} - 1))
    return 0
  fi
  for f in "${files[@]}"; do
    printf '  %-22s %s\n' "$caption" "$f"
    caption=""
  done
}
shopt -s nullglob
report "cut index" "$INDEX"
report "cut file" "$CUT"
report "meeting schedule" "$SCHEDULE"
report "Tolv data" "$H"/DATA/W${DAY}_??.DAT
report "Tolv listings" "$H"/OutPut/W${DAY}_??.TXT
report "Tolv WARS file" "$H"/OutPut/Tolv_WARS${DAY}*
report "ぴるね" "$H"/DATA/HA${DAY}.DAT "$H"/OutPut/HT${DAY}* "$H"/OutPut/HW${DAY}*
report "PAD file" "$H"/wPAD.TXT "$H"/PAD.PAD
report "forum odds (PAT98)" "$H"/WarsOdds/ZO-*.JRA
report "KOL odds (PAT98)" "$H"/kol/ZO-*.JRA
report "results" "$RESULTS"
report "pending bets" "$BETS"
report "パッとベッと" "$H"/OutPut/*_?.BET
report "Bet Auto" "$H"/OutPut/${DAY}.lst
report "馬券塾" "$H"/OutPut/馬券塾${DAY}.TXT
shopt -u nullglob
echo "Remove it with: rm -rf '$H'"

# ---------------------------------------------------------------------------
# The sample season (examples/sample-season): eight race days in a home of
# their own inside the scratch folder, then the programs' track record.

section "Sample season: tools/season.sh --history $CLI $H/season"
"$ROOT/tools/season.sh" --history "$CLI" "$H/season"

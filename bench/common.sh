# Sourced by the benchmark scripts: the checks of their first two arguments.
#
#   bench_args USAGE_LINES "$@"
#
# Prints the script's header comment (lines 2..USAGE_LINES) for -h/--help or
# when no argument is given. Sets CLI (tolv-cli, made absolute), SIZE (MB of
# logs, default 100), DAY (the generated race day), ROOT (the checkout) and
# CACHE (where generated logs are kept: $TOLV_BENCH_CACHE or scratch/bench).

bench_args() {
  local lines=$1
  shift
  if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
    sed -n "2,${lines}s/^# \{0,1\}//p" "$0"
    [ $# -ge 1 ] && exit 0 || exit 2
  fi
  CLI=$1
  SIZE=${2:-100}
  DAY=20261206
  if [ ! -x "$CLI" ]; then
    echo "bench: $CLI is not an executable tolv-cli (build it first: make build)" >&2
    exit 2
  fi
  case $CLI in /*) ;; *) CLI=$PWD/$CLI ;; esac
  if ! [[ $SIZE =~ ^[0-9]+([.][0-9]+)?$ ]] || [ "$(awk -v s="$SIZE" 'BEGIN { print (s > 0) }')" != 1 ]; then
    echo "bench: SIZE_MB must be a number above 0, not \"$SIZE\"" >&2
    exit 2
  fi
  ROOT=$(cd "$(dirname "$0")/.." && pwd)
  CACHE=${TOLV_BENCH_CACHE:-$ROOT/scratch/bench}
}

# Generates SIZE MB of forum logs of DAY into $LOGS once and keeps them while
# the generator is unchanged (its output goes to stdout); sets LOG_FILES.
bench_logs() {
  local fresh=1 src
  if [ ! -f "$LOGS/MANIFEST" ]; then
    fresh=0
  else
    for src in "$ROOT/tools/gen_logs.py" "$ROOT/tools/wars_forum.py"; do
      [ "$src" -nt "$LOGS/MANIFEST" ] && fresh=0
    done
  fi
  if [ "$fresh" = 0 ]; then
    command -v python3 >/dev/null || { echo "bench: python3 is needed to generate the logs" >&2; exit 2; }
    echo "Generating ${SIZE} MB of forum logs into $LOGS (once) ..." >&2
    rm -rf "$LOGS"
    python3 "$ROOT/tools/gen_logs.py" --out "$LOGS" --size-mb "$SIZE" --day "$DAY"
  fi
  LOG_FILES=("$LOGS/BENCH1.LOG" "$LOGS/BENCH2.LOG" "$LOGS/BENCH3.LOG")
}

# A fresh home HOME: the sample day with the generated logs in place of its own.
bench_home() {
  local home=$1 sample=$ROOT/examples/sample-day
  rm -rf "$home"
  mkdir -p "$home"
  cp -R "$sample/." "$home/"
  rm -rf "$home/expected" "$home/README.md" "$home/logs/FORUM1.LOG" "$home/logs/FORUM3.LOG" "$home/logs/FH1206.LOG"
  iconv -f CP932 -t UTF-8 "$sample/TOLV.INI" |
    sed -e "s|^LogFile1=.*|LogFile1=${LOG_FILES[0]}|" -e "s|^LogFile2=.*|LogFile2=${LOG_FILES[1]}|" \
      -e "s|^LogFile3=.*|LogFile3=${LOG_FILES[2]}|" |
    iconv -f UTF-8 -t CP932 >"$home/TOLV.INI"
}

# The cache folder beside TOLV_CLI's build tree ($TOLV_BENCH_CACHE else
# bench-data), the logs' folder in it and the home HOME_NAME there; the day is
# taken as today (start-up keeps its pending bets). Sets CACHE, LOGS and H.
bench_cache() {
  local build
  build=$(cd "$(dirname "$CLI")/../.." && pwd)  # .../src/cli/tolv-cli -> the build tree
  CACHE=${TOLV_BENCH_CACHE:-$build/bench-data}
  mkdir -p "$CACHE"
  CACHE=$(cd "$CACHE" && pwd)
  LOGS=$CACHE/logs-${SIZE}mb-$DAY
  H=$CACHE/$1
  export TOLV_TODAY=$DAY
  export XDG_CONFIG_HOME=$CACHE/config
  unset TOLV_HOME
}

# Makes the race day's home in $CACHE/NAME: the sample day with SIZE MB of
# generated logs (made once and kept), the logs read, the program lists
# written from the programs that post the most, Tolv, the WARS file and
# Pirune made. Sets CACHE, LOGS, LOG_FILES, H and the function cli.
race_day_home() {
  bench_cache "$1"
  bench_logs >/dev/null

  cli() { "$CLI" --quiet --home "$H" --date "$DAY" "$@"; }
  bench_home "$H"

  echo "Preparing the home $H ..."
  cli extract
  # The program lists name programs that post in the logs: Pirune the 9 that
  # post the most, the program-name list the 300 that post the most.
  lists() {  # COUNT -> lines "cccc" + name, CP932
    LC_ALL=C cut -c3-6 <(fold -w 40 "$H/DATA/$DAY.DAT") | LC_ALL=C sort | LC_ALL=C uniq -c | LC_ALL=C sort -k1,1nr -k2 |
      awk -v n="$1" -v name="$(printf '\xcd\xde\xdd\xc1')" 'NR <= n { printf "%s%s%02d\r\n", $2, name, NR % 100 }'
  }
  lists 9 >"$H/PIRUNE.LST"
  lists 300 >"$H/TOLVSOFT.LST"
  cli schedule
  cli create
  cli wars
  cli pirune
}

# Wall-clock time in microseconds, read without starting a process (bash 5).
now_us() {
  if [ -n "${EPOCHREALTIME:-}" ]; then REPLY=${EPOCHREALTIME/[.,]/}; else REPLY=$(($(date +%s%N) / 1000)); fi
}

# time_one NAME COMMAND...: runs the command and adds its time (µs) to the
# runs of NAME; best NAME prints the best of them in seconds.
declare -A times
time_one() {
  local name=$1 t0 t1
  shift
  now_us
  t0=$REPLY
  "$@"
  now_us
  t1=$REPLY
  times[$name]="${times[$name]:-} $(((t1 - t0)))"
}
best() { tr ' ' '\n' <<<"${times[$1]:-}" | awk 'NF { if (b == "" || $1 < b) b = $1 } END { printf "%.3f", b / 1e6 }'; }
# The runs of NAME in seconds, "0.412 0.398".
runs() { tr ' ' '\n' <<<"${times[$1]:-}" | awk 'NF { printf "%s%.3f", (n++ ? " " : ""), $1 / 1e6 }'; }

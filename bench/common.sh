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

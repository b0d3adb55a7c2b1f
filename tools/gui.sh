#!/usr/bin/env bash
# Opens the desktop program on a scratch copy of the sample race day
# (examples/sample-day, Sunday 2026-12-06).
#
#   tools/gui.sh TOLV [HOME]
#
# TOLV is the desktop program to run (make gui passes build/src/ui/tolv).
# HOME is the scratch home to use; it must not exist yet or be empty. Without
# it a fresh folder is made with mktemp. The home is kept afterwards so that
# its files can be looked at; remove it when done.
set -euo pipefail

usage() {
  sed -n '2,10s/^# \{0,1\}//p' "$0"
}

if [ $# -lt 1 ] || [ "$1" = "-h" ] || [ "$1" = "--help" ]; then
  usage
  [ $# -ge 1 ] && exit 0 || exit 2
fi

TOLV=$1
if [ ! -x "$TOLV" ]; then
  echo "gui: $TOLV is not an executable tolv (build it first: make build)" >&2
  exit 2
fi

ROOT=$(cd "$(dirname "$0")/.." && pwd)
# shellcheck source=tools/sample_home.sh
. "$ROOT/tools/sample_home.sh"
sample_home gui "${@:2}"

echo "Home folder: $H (remove it when done: rm -rf '$H')"
echo "Start with ログ読込み → 読み込み開始, then トルブ作成; the grid is 表示 → 開催別【トルブ】の一覧表表示."
# The sample day lies in the past: start-up would purge its pending bets as
# more than a week old, so the program takes the day itself as today.
TOLV_TODAY=$DAY exec "$TOLV" --home "$H" --date "$DAY"

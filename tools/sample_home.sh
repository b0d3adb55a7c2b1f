# Sourced by tools/demo.sh and tools/gui.sh: makes the scratch home of the
# sample race day.
#
#   sample_home NAME [HOME]
#
# Sets SAMPLE (examples/sample-day), DAY (its processing day) and H: the given
# HOME, which must not exist yet or be empty, or else a fresh folder made with
# mktemp (tolv-NAME.XXXXXX); then copies the sample into it without the
# expected outputs kept beside it. NAME prefixes the error messages.

SAMPLE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/examples/sample-day
DAY=20261206

sample_home() {
  local name=$1
  if [ $# -ge 2 ]; then
    H=$2
    if [ -e "$H" ] && [ -n "$(ls -A "$H")" ]; then
      echo "$name: $H is not empty; give a new folder" >&2
      exit 2
    fi
    mkdir -p "$H"
    H=$(cd "$H" && pwd)
  else
    H=$(mktemp -d "${TMPDIR:-/tmp}/tolv-$name.XXXXXX")
  fi
  cp -R "$SAMPLE/." "$H/"
  rm -rf "$H/expected" "$H/README.md"
}

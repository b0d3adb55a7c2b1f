# Sourced by tools/demo.sh, tools/gui.sh and tools/season.sh: makes the
# scratch home of the sample race day or of the sample season.
#
#   sample_home NAME [HOME]           a copy of the sample race day
#   scratch_home NAME SOURCE [HOME]   a copy of the sample folder SOURCE
#
# Sets SAMPLE (examples/sample-day), DAY (its processing day), SEASON
# (examples/sample-season) and H: the given HOME, which must not exist yet or
# be empty, or else a fresh folder made with mktemp (tolv-NAME.XXXXXX); then
# copies the sample into it without the expected outputs and the README kept
# beside it. NAME prefixes the error messages.

SAMPLE=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/examples/sample-day
SEASON=$(dirname "$SAMPLE")/sample-season
DAY=20261206

scratch_home() {
  local name=$1 source=$2
  if [ $# -ge 3 ]; then
    H=$3
    if [ -e "$H" ] && [ -n "$(ls -A "$H")" ]; then
      echo "$name: $H is not empty; give a new folder" >&2
      exit 2
    fi
    mkdir -p "$H"
    H=$(cd "$H" && pwd)
  else
    H=$(mktemp -d "${TMPDIR:-/tmp}/tolv-$name.XXXXXX")
  fi
  cp -R "$source/." "$H/"
  rm -rf "$H/expected" "$H/README.md"
}

sample_home() {
  scratch_home "$1" "$SAMPLE" "${@:2}"
}

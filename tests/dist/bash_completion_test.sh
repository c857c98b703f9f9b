#!/usr/bin/env bash
# The bash completion offers the commands, each command's options as its --help names
# them, the setting names after --set and directories after --config-dir.
#   bash_completion_test.sh COMPLETION PROGRAM
set -uo pipefail
completion=$1
program=$2
[ -r /usr/share/bash-completion/bash_completion ] || { echo "bash-completion is not installed"; exit 77; }
source /usr/share/bash-completion/bash_completion
source "$completion"
compopt() { :; }  # only bash's own completion machinery may call it

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/settings.d" && touch "$work/settings.file"

# The completions offered for the words of a command line, the last one being completed.
complete_line() {
  COMP_WORDS=("$program" "$@")
  COMP_CWORD=$(($# ))
  COMP_LINE="${COMP_WORDS[*]}"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _tagstrip "$program" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
  printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}

cases=(
  "|--help --version check config filter scan settings "
  "s|scan settings "
  "scan --r|--raw --rewrite "
  "scan --j|--jobs --json "
  "scan -j |$(seq 1 "$(nproc)" | sort | tr '\n' ' ')"
  "filter --m|--max-size --module "
  "check --n|--no-backup "
  "settings --set Points|PointsExternalRefs= PointsFormatting= PointsImagesExt= PointsImagesInt= PointsLinks= PointsReadReceipts= PointsScript= PointsWebBugs= "
  "settings --set Ac|Active= "
  "settings --set S|Script= "
  "settings --analyzer R|Remote "
  "settings --analyzer Remote --set PointsT|PointsTrackingPixels= "
  "filter --config-dir $work/settings|$work/settings.d "
)
failures=0
for case in "${cases[@]}"; do
  line=${case%%|*}
  expected=${case#*|}
  read -r -a words <<<"$line"
  [[ -z $line || $line == *" " ]] && words+=("")
  actual=$(complete_line "${words[@]}")
  if [ "$actual" != "$expected" ]; then
    echo "FAIL '$line': got [$actual], expected [$expected]"
    failures=$((failures + 1))
  fi
done
[ "$failures" -eq 0 ] && echo "${#cases[@]} completions as expected"

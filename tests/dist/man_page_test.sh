#!/usr/bin/env bash
# A man page renders without warnings from man or groff, and documents every command and
# every option that the program's --help texts name. With --file-options the page is that
# of a configuration file: each option the file may hold (all of --help but those for the
# command line only) starts a line of its own, without the dashes.
#   man_page_test.sh [--file-options] PAGE PROGRAM [COMMAND...]
set -euo pipefail
file_options=no
[ "$1" = --file-options ] && { file_options=yes; shift; }
page=$1
program=$2
shift 2
command -v man >/dev/null || { echo "man is not installed"; exit 77; }

warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)
if [ -n "$warnings" ]; then
  echo "man -l $page warns:"
  echo "$warnings"
  exit 1
fi
rendered=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$page" 2>/dev/null | col -b)

missing=0
expect() {
  if ! grep -qF -- "$1" <<<"$rendered"; then
    echo "$(basename "$page") does not mention $1 ($2)"
    missing=$((missing + 1))
  fi
}
for option in $("$program" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  if [ "$file_options" = no ]; then
    expect "$option" "$(basename "$program") --help"
  elif [[ ! $option =~ ^--(config|check-config|help|version)$ ]] &&
       ! grep -qE -- "^ +${option#--}( |$)" <<<"$rendered"; then
    echo "$(basename "$page") has no entry for ${option#--} ($(basename "$program") --help)"
    missing=$((missing + 1))
  fi
done
for command in "$@"; do
  expect "$(basename "$program") $command" "a command"
  for option in $("$program" "$command" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
    expect "$option" "$(basename "$program") $command --help"
  done
done
[ "$missing" -eq 0 ]
echo "$(basename "$page") renders cleanly and names every option of --help"

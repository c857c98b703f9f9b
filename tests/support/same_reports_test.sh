#!/usr/bin/env bash
# Runs two programs that write a report on the same input and compares the two reports,
# byte for byte:
#   same_reports_test.sh FIRST... -- SECOND... -- [MORE...]
# Each program is called with its own words, then a fresh scratch directory and the
# report's name in it, then the rest. On a mismatch both reports are kept in the working
# directory and the lines that differ are shown.
set -euo pipefail
first=()
while [ "$1" != "--" ]; do
  first+=("$1")
  shift
done
shift
second=()
while [ "$1" != "--" ]; do
  second+=("$1")
  shift
done
shift
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tagstrip-reports-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/first" "$scratch/second"
"${first[@]}" "$scratch/first" "$scratch/first/report" "$@" || echo "first program: exit status $?"
"${second[@]}" "$scratch/second" "$scratch/second/report" "$@" || echo "second program: exit status $?"
for run in first second; do
  if [ ! -s "$scratch/$run/report" ]; then
    echo "the $run program wrote no report"
    exit 1
  fi
done
if ! cmp -s "$scratch/first/report" "$scratch/second/report"; then
  cp "$scratch/first/report" first.report
  cp "$scratch/second/report" second.report
  echo "reports differ (kept as $PWD/first.report and second.report):"
  diff -a first.report second.report | head -40 || true
  exit 1
fi
echo "reports agree: $(wc -l <"$scratch/first/report") lines"

#!/usr/bin/env bash
# Runs a program that writes a report and compares the report with the golden one, byte
# for byte:
#   report_test.sh GOLDEN [RUNNER...] PROGRAM [ARGUMENT...] -- [MORE...]
# The program is called with its arguments, then a fresh scratch directory and the
# report's name in it, then the rest. RUNNER (wine-run.sh and its prefix, in a Windows
# build) runs the program. On a mismatch the report is kept in the working directory
# and the lines that differ are shown.
set -euo pipefail
golden=$1
shift
command=()
while [ "$1" != "--" ]; do
  command+=("$1")
  shift
done
shift
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tagstrip-report-XXXXXX")
trap 'rm -rf "$scratch"' EXIT
status=0
"${command[@]}" "$scratch" "$scratch/report" "$@" || status=$?
if [ ! -f "$scratch/report" ]; then
  echo "no report written (exit status $status)"
  exit 1
fi
if ! cmp -s "$golden" "$scratch/report"; then
  kept=$(basename "$golden").actual
  cp "$scratch/report" "$kept"
  echo "report differs from $golden (kept as $PWD/$kept):"
  diff -a "$golden" "$kept" | head -40 || true
  exit 1
fi
if [ "$status" -ne 0 ]; then
  echo "the program failed (exit status $status)"
  exit 1
fi
echo "report matches $golden"

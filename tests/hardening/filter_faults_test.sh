#!/usr/bin/env bash
# Faults around `tagstrip filter`: the temporary directory missing or full, the settings
# file unusable, memory running out in mid-analysis. Whatever happens the message comes
# out whole (filtered, or as it came), no temporary file stays behind, and the program
# ends by itself.
#   filter_faults_test.sh TAGSTRIP SANITIZED(0|1)
set -uo pipefail
tagstrip=$1
sanitized=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# A long HTML message (through the temporary file) with a script to remove.
{
  printf 'From: news@example.com\r\nSubject: faults\r\nContent-Type: text/html\r\n\r\n'
  for i in $(seq 1 2000); do printf '<p>line %d <script>track(%d)</script> text</p>\r\n' "$i" "$i"; done
  printf 'LAST-WORD\r\n'
} > "$work/long.eml"

mkdir -p "$work/config" "$work/tmp"
run_filter() {  # CONFIG TMPDIR INPUT OUTPUT [ulimit args...]
  local config=$1 tmp=$2 input=$3 output=$4
  shift 4
  ( [ $# -gt 0 ] && ulimit "$@"; trap '' XFSZ
    # shellcheck disable=SC2086 # options are words
    TMPDIR=$tmp exec "$tagstrip" filter --config-dir "$config" ${FILTER_OPTIONS:-} < "$input" ) | cat > "$output"
  return "${PIPESTATUS[0]}"
}

run_filter "$work/config" "$work/tmp" "$work/long.eml" "$work/expected.eml" || fail "filter on a healthy system"
grep -q "LAST-WORD" "$work/expected.eml" || fail "healthy output lost its end"
grep -q "track(" "$work/expected.eml" && fail "healthy output kept the script"

# The temporary directory missing.
run_filter "$work/config" "$work/missing" "$work/long.eml" "$work/out.eml" || fail "filter without a temporary directory"
cmp -s "$work/expected.eml" "$work/out.eml" || fail "without a temporary directory the output differs"

# The temporary directory full: files may grow to 16 KB only, far less than the message.
run_filter "$work/config" "$work/tmp" "$work/long.eml" "$work/out.eml" -f 16 || fail "filter with a full disk"
cmp -s "$work/expected.eml" "$work/out.eml" || fail "with a full disk the output differs"
[ -z "$(ls -A "$work/tmp")" ] || fail "a temporary file was left behind: $(ls "$work/tmp")"

# The settings file is a directory: defaults apply, and changing settings says why not.
mkdir -p "$work/odd/Tagstrip.ini"
run_filter "$work/odd" "$work/tmp" "$work/long.eml" "$work/out.eml" || fail "filter with a directory for settings"
cmp -s "$work/expected.eml" "$work/out.eml" || fail "with a directory for settings the output differs"
if "$tagstrip" settings --config-dir "$work/odd" --set PointsScript=7 > "$work/settings.out" 2>&1; then
  fail "settings --set succeeded on a directory"
fi
grep -q "Tagstrip.ini" "$work/settings.out" || fail "settings --set did not name the file"

# Memory runs out in mid-analysis (the sanitizers reserve address space of their own, so
# this case runs in the ordinary build only). The host holds the message; the analysis,
# which needs several copies of it, cannot get them, and the message goes on unchanged
# (with no size limit, which would otherwise pass it on unanalysed).
if [ "$sanitized" = 0 ]; then
  {
    printf 'Subject: big\r\nContent-Type: text/html\r\n\r\n'
    head -c 48000000 /dev/zero | tr '\0' 'x' | fold -w 1000 | sed 's/^/<p><script>s<\/script>/'
    printf 'LAST-WORD\r\n'
  } > "$work/big.eml"
  FILTER_OPTIONS=--max-size=0 run_filter "$work/config" "$work/tmp" "$work/big.eml" "$work/out.eml" -v 110000
  status=$?
  [ "$status" = 0 ] || fail "out of memory: exit status $status"
  tail -c 100 "$work/out.eml" | grep -q "LAST-WORD" || fail "out of memory: the message lost its end"
  grep -q "<script>" "$work/out.eml" || fail "out of memory: the analysis was not cut short (raise the message size)"
  [ -z "$(ls -A "$work/tmp")" ] || fail "out of memory: a temporary file was left behind"
fi

# A message far over --max-size under an address-space limit it would not fit in twice:
# it streams through whole, marked as skipped, in the default size limit's memory.
if [ "$sanitized" = 0 ]; then
  { printf 'Subject: huge\r\nContent-Type: text/html\r\n\r\n'
    head -c 30000000 /dev/zero | tr '\0' 'x' | fold -w 1000; printf 'LAST-WORD\r\n'; } > "$work/huge.eml"
  run_filter "$work/config" "$work/tmp" "$work/huge.eml" "$work/out.eml" -v 60000
  status=$?
  [ "$status" = 0 ] || fail "over the size limit: exit status $status"
  { printf 'X-Tagstrip-Skipped: too-large\r\n'; cat "$work/huge.eml"; } | cmp -s - "$work/out.eml" \
    || fail "over the size limit: the output is not the message with X-Tagstrip-Skipped"
  # Too little memory even to hold the size limit's worth: what was read goes out, then the rest.
  FILTER_OPTIONS=--max-size=25000000 run_filter "$work/config" "$work/tmp" "$work/huge.eml" "$work/out.eml" -v 26000
  status=$?
  [ "$status" = 0 ] || fail "out of memory while reading: exit status $status"
  cmp -s "$work/huge.eml" "$work/out.eml" || fail "out of memory while reading: the output is not the message"
fi

if [ "$failures" -gt 0 ]; then
  echo "$failures fault case(s) failed"
  exit 1
fi
echo "all fault cases passed"

#!/usr/bin/env bash
# tagstrip filter under real procmail: in either exit-status mode, and whatever goes
# wrong, procmail delivers the message (filtered, or as it came).
#   procmail_test.sh TAGSTRIP
set -uo pipefail
tagstrip=$(realpath "$1")
command -v procmail > /dev/null || { echo "procmail is not installed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$work/config"
printf 'From: a@example.test\nSubject: procmail\nContent-Type: text/html\n\n<p>Hi <script>track()</script>there</p>\n' \
  > "$work/message.eml"

# name | recipe flags | filter options | what the mailbox must hold: filtered or original
cases=(
  "healthy, status 0          |fw|--config-dir $work/config                                  |filtered"
  "healthy, exit codes        |fw|--exit-codes --config-dir $work/config                     |filtered"
  "module missing, status 0   |fw|--config-dir $work/config --module /nonexistent/M.Analyzer |original"
  "module missing, exit codes |fw|--exit-codes --config-dir $work/config --module /nonexistent/M.Analyzer|original"
  "bad option, exit codes     |fw|--exit-codes --bogus                                       |original"
  "bad option, no w flag      |f |--bogus                                                    |original"
  "settings missing, no w flag|f |--config-dir $work/missing                                 |original"
)

for row in "${cases[@]}"; do
  IFS='|' read -r name flags options expected <<< "$row"
  rm -rf "$work/log" "$work/maildir"
  cat > "$work/rc" <<RC
SHELL=/bin/sh
LOGFILE=$work/log
:0 $flags
| $tagstrip filter $options
:0
$work/maildir/
RC
  procmail -m "$work/rc" < "$work/message.eml"
  status=$?
  [ "$status" = 0 ] || fail "$name: procmail exit status $status"
  [ "$(cat "$work"/maildir/new/* 2>/dev/null | grep -c '^Subject: procmail')" = 1 ] || fail "$name: not delivered exactly once"
  delivered=$(echo "$work"/maildir/new/*)
  case "${expected// /}" in
    filtered) grep -q '^X-Tagstrip-Score: 50' "$delivered" && ! grep -q 'track()' "$delivered" \
                || fail "$name: the delivered message is not the filtered one" ;;
    original) grep -q 'track()' "$delivered" && ! grep -q '^X-Tagstrip' "$delivered" \
                || fail "$name: the delivered message is not the original" ;;
  esac
done

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all ${#cases[@]} procmail cases passed"

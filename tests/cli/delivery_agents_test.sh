#!/usr/bin/env bash
# tagstrip filter under real procmail and maildrop. procmail delivers the message
# (filtered, or as it came) in either exit-status mode whatever goes wrong; maildrop's
# xfilter only in the default mode, as it delivers nothing after any non-zero status.
#   delivery_agents_test.sh TAGSTRIP
set -uo pipefail
tagstrip=$(realpath "$1")
for agent in procmail maildrop; do
  command -v "$agent" > /dev/null || { echo "$agent is not installed"; exit 1; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir "$work/config"
printf 'From: a@example.test\nSubject: procmail\nContent-Type: text/html\n\n<p>Hi <script>track()</script>there</p>\n' \
  > "$work/message.eml"

check_delivered() {  # NAME EXPECTED
  local name=$1 expected=$2 delivered
  if [ "$expected" = nothing ]; then
    [ -z "$(ls -A "$work/maildir/new" 2>/dev/null)" ] || fail "$name: delivered, though the filter failed"
    return
  fi
  [ "$(cat "$work"/maildir/new/* 2>/dev/null | grep -c '^Subject: procmail')" = 1 ] || fail "$name: not delivered exactly once"
  delivered=$(echo "$work"/maildir/new/*)
  case "$expected" in
    filtered) grep -q '^X-Tagstrip-Score: 50' "$delivered" && ! grep -q 'track()' "$delivered" \
                || fail "$name: the delivered message is not the filtered one" ;;
    original) grep -q 'track()' "$delivered" && ! grep -q '^X-Tagstrip' "$delivered" \
                || fail "$name: the delivered message is not the original" ;;
  esac
}

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
  check_delivered "procmail, $name" "${expected// /}"
done

# name | filter options | maildrop exit status | what the maildir must hold
maildrop_cases=(
  "healthy                    |--config-dir $work/config                                  |0 |filtered"
  "module missing, status 0   |--config-dir $work/config --module /nonexistent/M.Analyzer |0 |original"
  "bad option, status 0       |--bogus                                                    |0 |original"
  "module missing, exit codes |--exit-codes --config-dir $work/config --module /nonexistent/M.Analyzer|75|nothing"
)
for row in "${maildrop_cases[@]}"; do
  IFS='|' read -r name options want expected <<< "$row"
  rm -rf "$work/maildir" && mkdir -p "$work"/maildir/{cur,new,tmp}
  printf 'xfilter "%s filter %s"\nto "%s/maildir/"\n' "$tagstrip" "$options" "$work" > "$work/maildroprc"
  chmod 600 "$work/maildroprc"
  maildrop "$work/maildroprc" < "$work/message.eml" > /dev/null 2>&1
  status=$?
  [ "$status" = "${want// /}" ] || fail "maildrop, $name: exit status $status, wanted $want"
  check_delivered "maildrop, $name" "${expected// /}"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all ${#cases[@]} procmail and ${#maildrop_cases[@]} maildrop cases passed"

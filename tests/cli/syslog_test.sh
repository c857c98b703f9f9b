#!/usr/bin/env bash
# tagstrip filter --syslog writes one line per message to the system log, facility mail.
# The program runs in a mount namespace of its own whose /dev holds our log socket, so
# the line is read here and nothing reaches the machine's log. Needs root (unshare).
#   syslog_test.sh TAGSTRIP
set -uo pipefail
tagstrip=$(realpath "$1")
work=$(mktemp -d)
trap 'kill "$listener" 2>/dev/null; rm -rf "$work"' EXIT
if [ "$(id -u)" != 0 ] || ! unshare --mount true 2>/dev/null; then
  echo "needs root and mount namespaces"
  exit 77
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir "$work/dev" "$work/config"

/usr/bin/python3 - "$work/dev/log" "$work/lines" <<'LISTEN' &
import socket, sys
listener = socket.socket(socket.AF_UNIX, socket.SOCK_DGRAM)
listener.bind(sys.argv[1])
listener.settimeout(20)
with open(sys.argv[2], "wb") as lines:
    try:
        while True:
            lines.write(listener.recv(65536) + b"\n")
            lines.flush()
    except socket.timeout:
        pass
LISTEN
listener=$!
for _ in $(seq 1 100); do [ -S "$work/dev/log" ] && break; sleep 0.05; done

filter() {  # INPUT [OPTIONS...]
  local input=$1
  shift
  printf '%b' "$input" | unshare --mount sh -c 'mount --bind "$0" /dev && exec "$@"' "$work/dev" \
    "$tagstrip" filter --syslog --config-dir "$work/config" "$@" > /dev/null 2>&1
}

filter 'Message-ID: <one@example.test>\nContent-Type: text/html\n\n<p><script>x()</script><img src="http://t.example/p.gif" width=1 height=1></p>\n'
filter 'Message-ID: <two@example.test>\n\nplain text over the limit\n' --max-size 40
filter 'Message-ID: <three@example.test>\n\nplain\n' --module /nonexistent/T.Analyzer
for _ in $(seq 1 100); do [ "$(wc -l < "$work/lines")" -ge 3 ] && break; sleep 0.05; done

# Priority 22 is facility mail (2) with priority info (6).
expect() {  # PATTERN WHAT
  grep -E -q "$1" "$work/lines" || fail "no line for $2 in: $(cat "$work/lines")"
}
expect '^<22>.*tagstrip\[[0-9]+\]: message-id=<one@example.test> size=[0-9]+ result=analysed score=[0-9]+ found=Script,ImagesExt removed=Script rewritten=yes ms=[0-9]+$' "an analysed message"
expect '^<22>.*message-id=<two@example.test> size=58 result=skipped:too-large ms=[0-9]+$' "a message over the limit"
expect '^<22>.*message-id=<three@example.test> size=[0-9]+ result=passed-on:module ms=[0-9]+$' "a failure"
[ "$(wc -l < "$work/lines")" = 3 ] || fail "not one line per message: $(cat "$work/lines")"

if [ "$failures" -gt 0 ]; then
  exit 1
fi
echo "one mail log line per message"

#!/usr/bin/env bash
# tagstrip filter as a real Postfix pipe(8) transport. Postfix bounces on any exit status
# but 0 and 75 and defers on 75, so in the default mode no message may be bounced or
# deferred because of us, whatever goes wrong. One recipient per case; each has its own
# transport and options. A private Postfix (own configuration and queue, SMTP on
# 127.0.0.1 only) is started and stopped here. Needs root.
#   postfix_pipe_test.sh TAGSTRIP
set -uo pipefail
tagstrip=$(realpath "$1")
if [ "$(id -u)" != 0 ] || [ ! -x /usr/sbin/postfix ]; then
  echo "needs root and postfix"
  exit 77
fi
T=$(mktemp -d)
chmod 755 "$T"
stop() { postfix -c "$T/etc" stop > /dev/null 2>&1; rm -rf "$T"; }
trap stop EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$T/etc" "$T/spool" "$T/data" "$T/delivered" "$T/config" "$T/inactive" "$T/locked"
chown nobody "$T/delivered"
chown postfix "$T/data"
printf '[General]\nActive=0\n' | tee "$T/inactive/Remote.ini" > "$T/inactive/Tagstrip.ini"
printf '[Settings]\nFlags=255\n' > "$T/locked/Tagstrip.ini" && chmod 000 "$T/locked/Tagstrip.ini"
cat > "$T/deliver" <<DELIVER
#!/bin/sh
# Filters the message on standard input into one file per recipient.
out="$T/delivered/\$1"
shift
exec "$tagstrip" filter "\$@" > "\$out"
DELIVER
chmod 755 "$T/deliver"

# recipient | filter options | the delivered message: filtered, skipped, original; or bounced
cases=(
  "healthy   |--config-dir $T/config                             |filtered"
  "nohome    |                                                   |filtered"
  "unreadable|--config-dir $T/locked                             |filtered"
  "toolarge  |--config-dir $T/config --max-size 100              |skipped"
  "inactive  |--config-dir $T/inactive                           |original"
  "badoption |--config-dir $T/config --bogus                     |original"
  "nomodule  |--config-dir $T/config --module /nonexistent/T.Analyzer|original"
  "typo      |--config-dir $T/confg                              |original"
  "codes     |--exit-codes --bogus                               |bounced"
)

port=$(/usr/bin/python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$T/etc/main.cf" <<MAIN
compatibility_level = 3.6
queue_directory = $T/spool
data_directory = $T/data
myhostname = test.invalid
mydestination =
inet_interfaces = 127.0.0.1
inet_protocols = ipv4
mynetworks = 127.0.0.0/8
smtpd_peername_lookup = no
smtp_dns_support_level = disabled
default_transport = error:no outbound mail in tests
alias_maps =
local_recipient_maps =
relay_domains = example.test
relay_recipient_maps =
transport_maps = texthash:$T/etc/transport
local_header_rewrite_clients =
maillog_file = $T/maillog
maillog_file_prefixes = $T
MAIN
cat > "$T/etc/master.cf" <<MASTER
127.0.0.1:$port inet n - n - - smtpd
pickup    unix  n - n 60   1 pickup
cleanup   unix  n - n -    0 cleanup
qmgr      unix  n - n 300  1 qmgr
rewrite   unix  - - n -    - trivial-rewrite
bounce    unix  - - n -    0 bounce
defer     unix  - - n -    0 bounce
trace     unix  - - n -    0 bounce
verify    unix  - - n -    1 verify
flush     unix  n - n 1000? 0 flush
proxymap  unix  - - n -    - proxymap
showq     unix  n - n -    - showq
error     unix  - - n -    - error
retry     unix  - - n -    - error
discard   unix  - - n -    - discard
anvil     unix  - - n -    1 anvil
scache    unix  - - n -    1 scache
postlog   unix-dgram n - n - 1 postlogd
MASTER
: > "$T/etc/transport"
for row in "${cases[@]}"; do
  IFS='|' read -r name options expected <<< "$row"
  name=${name// /}
  echo "$name@example.test tagstrip-$name:" >> "$T/etc/transport"
  printf 'tagstrip-%s unix - n n - 1 pipe flags=q user=nobody argv=%s %s %s\n' \
    "$name" "$T/deliver" "$name" "$options" >> "$T/etc/master.cf"
done

postfix -c "$T/etc" start > "$T/start.log" 2>&1 || { cat "$T/start.log" "$T/maillog"; echo "postfix did not start"; exit 1; }

/usr/bin/python3 - "$port" "${cases[@]}" <<'SEND'
import smtplib, sys, time
port = int(sys.argv[1])
body = ("From: sender@sender.test\r\nSubject: pipe test\r\nContent-Type: text/html\r\n\r\n"
        "<p>Hello <script>track()</script>there</p>\r\n")
for attempt in range(50):
    try:
        smtp = smtplib.SMTP("127.0.0.1", port, timeout=10)
        break
    except OSError:
        time.sleep(0.1)
for row in sys.argv[2:]:
    name = row.split("|")[0].strip()
    smtp.sendmail("sender@sender.test", [name + "@example.test"], body)
smtp.quit()
SEND

# Wait until Postfix has settled every recipient (delivered, bounced or deferred).
for _ in $(seq 1 150); do
  settled=$(grep -c -E 'to=<[a-z]+@example.test>.*status=' "$T/maillog" 2>/dev/null)
  [ "${settled:-0}" -ge "${#cases[@]}" ] && break
  sleep 0.2
done

for row in "${cases[@]}"; do
  IFS='|' read -r name options expected <<< "$row"
  name=${name// /}
  expected=${expected// /}
  status=$(grep "to=<$name@example.test>" "$T/maillog" | grep -o 'status=[a-z]*' | tail -1)
  file="$T/delivered/$name"
  if [ "$expected" = bounced ]; then
    [ "$status" = status=bounced ] || fail "$name: $status, wanted a bounce (the harness must see one)"
    continue
  fi
  [ "$status" = status=sent ] || fail "$name: $status: $(grep "to=<$name@" "$T/maillog")"
  case "$expected" in
    filtered) grep -q '^X-Tagstrip-Score: 50' "$file" && ! grep -q 'track()' "$file" ;;
    skipped) grep -q '^X-Tagstrip-Skipped: too-large' "$file" && grep -q 'track()' "$file" ;;
    original) grep -q 'track()' "$file" && ! grep -q '^X-Tagstrip' "$file" ;;
  esac || fail "$name: the delivered message is not the $expected one: $(cat "$file" 2>&1)"
done

if [ "$failures" -gt 0 ]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all ${#cases[@]} Postfix pipe cases passed"

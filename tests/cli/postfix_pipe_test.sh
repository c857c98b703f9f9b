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
source "$(dirname "$0")/../milter/private_postfix.sh"
T=$(mktemp -d)
stop() { private_postfix_stop "$T"; rm -rf "$T"; }
trap stop EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

mkdir -p "$T/delivered" "$T/config" "$T/inactive" "$T/locked"
chown nobody "$T/delivered"
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

port=$(free_port)
private_postfix_create "$T"
# The example.test domain goes to one pipe transport per case instead of Maildirs.
postconf -c "$T/etc" -e "virtual_mailbox_domains =" "relay_domains = example.test" \
  "relay_recipient_maps =" "transport_maps = texthash:$T/etc/transport"
private_postfix_listen "$T" "$port"
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

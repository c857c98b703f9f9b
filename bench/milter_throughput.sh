#!/usr/bin/env bash
# Messages per second through a private Postfix on 127.0.0.1, without and with
# tagstrip-milter attached (smtp-source, SESSIONS parallel sessions, MESSAGES messages of
# about 10.5 KB of HTML with scripts), and through the milter alone (milter_client.py, no
# MTA). Needs root, postfix and python3.
#   bench/milter_throughput.sh BUILD_DIR [MESSAGES] [SESSIONS]
set -euo pipefail
build=$(cd "$1" && pwd)
messages=${2:-2000}
sessions=${3:-20}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
. "$source_dir/tests/milter/test_messages.sh"
. "$source_dir/tests/milter/private_postfix.sh"

T=$(mktemp -d)
milter_pid=
cleanup() {
  private_postfix_stop "$T"
  [ -n "$milter_pid" ] && kill "$milter_pid" 2>/dev/null && wait "$milter_pid" 2>/dev/null
  rm -rf "$T"
}
trap cleanup EXIT

write_large_message "$T/message.eml" 10500
mkdir -p "$T/config"
private_postfix_create "$T" plain filtered
plain_port=$(free_port)
private_postfix_listen "$T" "$plain_port"
milter_port=$(free_port)
private_postfix_listen "$T" "$milter_port" "unix:$T/milter.sock"
"$build/tagstrip-milter" --foreground --socket "unix:$T/milter.sock" --socket-group postfix \
  --config-dir "$T/config" --log-file "$T/milter.log" --local-net "" &
milter_pid=$!
private_postfix_start "$T"
sleep 1

delivered() { find "$T/mail/$1/new" -type f 2>/dev/null | wc -l; }

# run NAME PORT: the time smtp-source takes to hand over every message, and the time until
# all of them are delivered.
run() {
  local name=$1 port=$2 start accepted
  start=$(date +%s.%N)
  /usr/sbin/smtp-source -s "$sessions" -m "$messages" -F "$T/message.eml" -f sender@example.com \
    -t "$name@example.test" "127.0.0.1:$port"
  accepted=$(date +%s.%N)
  while [ "$(delivered "$name")" -lt "$messages" ]; do sleep 0.05; done
  awk -v n="$messages" -v s="$start" -v a="$accepted" -v d="$(date +%s.%N)" -v what="$3" \
    'BEGIN { printf "%-28s accepted %6.0f msg/s, delivered %6.0f msg/s\n", what, n / (a - s), n / (d - s) }'
}

echo "$messages messages of $(wc -c < "$T/message.eml") bytes, $sessions sessions"
run plain "$plain_port" "Postfix without the milter:"
run filtered "$milter_port" "Postfix with the milter:"
printf '%-28s ' "The milter alone:"
python3 "$source_dir/bench/milter_client.py" "unix:$T/milter.sock" "$T/message.eml" "$messages" "$sessions"
grep -c 'result=analysed' "$T/milter.log" | sed 's/^/milter log lines (analysed): /'

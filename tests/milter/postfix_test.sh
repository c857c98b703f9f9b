#!/usr/bin/env bash
# End to end through a real Postfix: a private instance on a free 127.0.0.1 port with the
# milter attached, every test message sent over SMTP, and each delivered message compared
# with what `tagstrip filter` writes for the same input (minus the header fields Postfix
# adds in front: Return-Path, Delivered-To, X-Original-To and its own Received).
#   postfix_test.sh BUILD_DIR SOURCE_DIR
# Exit 77 (skipped) when not root or Postfix or swaks is missing.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$2
. "$source_dir/tests/milter/test_messages.sh"
. "$source_dir/tests/milter/private_postfix.sh"

if [ "$(id -u)" -ne 0 ] || ! command -v postfix >/dev/null || ! command -v swaks >/dev/null; then
  echo "SKIP: needs root, postfix and swaks"
  exit 77
fi

T=$(mktemp -d)
milter_pid=
cleanup() {
  private_postfix_stop "$T"
  [ -n "$milter_pid" ] && kill "$milter_pid" 2>/dev/null && wait "$milter_pid" 2>/dev/null
  [ -n "${KEEP:-}" ] || rm -rf "$T"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# The messages, and one over the size limit that must pass untouched.
write_test_messages "$T/in" "$source_dir"
write_large_message "$T/in/large.eml" 300000
write_large_message "$T/in/oversize.eml" 700000
max_size=600000

mkdir -p "$T/config"
"$build/tagstrip" settings --config-dir "$T/config" --set Flags=255 >/dev/null || fail "settings"
names=()
for message in "$T"/in/*.eml; do
  names+=("$(basename "$message" .eml)")
done
private_postfix_create "$T" "${names[@]}"
port=$(free_port)
private_postfix_listen "$T" "$port" "unix:$T/milter.sock"

# The milter, as root, with a socket that Postfix's smtpd (user postfix) may use.
"$build/tagstrip-milter" --foreground --socket "unix:$T/milter.sock" --socket-mode 0660 --socket-group postfix \
  --config-dir "$T/config" --max-size "$max_size" --log-file "$T/milter.log" &
milter_pid=$!
private_postfix_start "$T" || { cat "$T/maillog" 2>/dev/null; fail "postfix did not start"; exit 1; }
for _ in $(seq 50); do
  [ -S "$T/milter.sock" ] && (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null && break
  sleep 0.1
done

for name in "${names[@]}"; do
  sed -e 's/^\./../' -e 's/$/\r/' "$T/in/$name.eml" > "$T/$name.wire"
  printf '.\r\n' >> "$T/$name.wire"
  swaks --server "127.0.0.1:$port" --from sender@example.com --to "$name@example.test" \
    --data "$T/$name.wire" --no-data-fixup --silent 2 >"$T/$name.swaks" 2>&1 ||
    { fail "$name: not accepted"; cat "$T/$name.swaks"; }
done

# Delivery is asynchronous: wait until every Maildir holds its message.
for _ in $(seq 200); do
  delivered=0
  for name in "${names[@]}"; do
    ls "$T/mail/$name/new/"* >/dev/null 2>&1 && delivered=$((delivered + 1))
  done
  [ "$delivered" -eq "${#names[@]}" ] && break
  sleep 0.1
done

# The delivered message without the fields Postfix adds in front.
strip_postfix_fields() {
  awk 'top && /^(Return-Path|Delivered-To|X-Original-To):/ { next }
       { top = 0 }
       header && /^$/ { header = 0 }
       header && !seen && /^Received:/ { seen = 1; skipping = 1; next }
       header && skipping && /^[ \t]/ { next }
       { skipping = 0; print }' top=1 header=1 "$1"
}

# Postfix stores lines without their ends (delivering LF) and drops Return-Path fields
# from incoming mail.
as_postfix_stores() {
  sed 's/\r$//' | awk 'header && /^$/ { header = 0 } header && /^Return-Path:/ { next } { print }' header=1
}

for name in "${names[@]}"; do
  delivered=$(ls "$T/mail/$name/new/"* 2>/dev/null | head -n 1)
  if [ -z "$delivered" ]; then
    fail "$name: not delivered"
    continue
  fi
  strip_postfix_fields "$delivered" > "$T/$name.got"
  if [ "$name" = oversize ]; then
    cp "$T/in/$name.eml" "$T/$name.want"
  else
    "$build/tagstrip" filter --config-dir "$T/config" < "$T/in/$name.eml" | as_postfix_stores > "$T/$name.want"
  fi
  cmp -s "$T/$name.want" "$T/$name.got" || { fail "$name: delivered message differs from the filter's"; diff "$T/$name.want" "$T/$name.got" | head -n 40; }
done

# One log line per message, with its queue id; the oversize one says why it passed.
grep -q 'result=passed-on:too-large (larger than --max-size' "$T/milter.log" || fail "no log line for the oversize message"
logged=$(grep -cE '^[^ ]+ tagstrip-milter\[[0-9]+\]: [0-9A-F]+: size=' "$T/milter.log")
[ "$logged" -eq "${#names[@]}" ] || fail "expected ${#names[@]} message log lines with queue ids, found $logged"
grep -q 'result=analysed score=[0-9]* found=Script.* removed=Script.* rewritten=yes' "$T/milter.log" || fail "no log line reports a removed script"

kill "$milter_pid"
wait "$milter_pid"
status=$?
milter_pid=
[ "$status" -eq 0 ] || fail "milter exit status $status after SIGTERM"
grep -q ': stopped$' "$T/milter.log" || fail "no shutdown line"

if [ "$failures" -gt 0 ]; then
  echo "--- milter log"; cat "$T/milter.log"
  echo "--- postfix log"; tail -n 30 "$T/maillog"
  exit 1
fi
echo "all ${#names[@]} messages delivered as tagstrip filter writes them"

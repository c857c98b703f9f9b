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
milter_pids=()
cleanup() {
  private_postfix_stop "$T"
  for pid in "${milter_pids[@]}"; do kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null; done
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
# Beside the default milter, one that keeps DKIM-signed text and one that only scores.
{ printf 'DKIM-Signature: v=1; a=rsa-sha256; d=example.org; s=s1;\n\tbh=AAAA; b=BBBB\n'; cat "$T/in/script-refresh.eml"; } \
  > "$T/signed.eml"
keep_names=(signed script-refresh)
score_names=(script-refresh read-receipt large)
recipients=("${names[@]}" "${keep_names[@]/#/keep-}" "${score_names[@]/#/score-}")
private_postfix_create "$T" "${recipients[@]}"
declare -A port
for milter in rewrite keep score; do
  port[$milter]=$(free_port)
  private_postfix_listen "$T" "${port[$milter]}" "unix:$T/$milter.sock"
done

# The milters, as root, with sockets that Postfix's smtpd (user postfix) may use.
start_milter() {  # NAME [OPTIONS...]
  local name=$1
  shift
  "$build/tagstrip-milter" --foreground --socket "unix:$T/$name.sock" --socket-mode 0660 --socket-group postfix \
    --config-dir "$T/config" --max-size "$max_size" --log-file "$T/$name.log" --local-net "" "$@" &
  milter_pids+=($!)
}
start_milter rewrite
start_milter keep --keep-signed
start_milter score --mode score
private_postfix_start "$T" || { cat "$T/maillog" 2>/dev/null; fail "postfix did not start"; exit 1; }
for _ in $(seq 50); do
  [ -S "$T/rewrite.sock" ] && [ -S "$T/keep.sock" ] && [ -S "$T/score.sock" ] &&
    (exec 3<>"/dev/tcp/127.0.0.1/${port[rewrite]}") 2>/dev/null && break
  sleep 0.1
done

send() {  # MESSAGE_FILE RECIPIENT PORT
  local wire="$T/$2.wire"
  sed -e 's/^\./../' -e 's/$/\r/' "$1" > "$wire"
  printf '.\r\n' >> "$wire"
  swaks --server "127.0.0.1:$3" --from sender@example.com --to "$2@example.test" \
    --data "$wire" --no-data-fixup --silent 2 >"$T/$2.swaks" 2>&1 || { fail "$2: not accepted"; cat "$T/$2.swaks"; }
}
for name in "${names[@]}"; do
  send "$T/in/$name.eml" "$name" "${port[rewrite]}"
done
send "$T/signed.eml" keep-signed "${port[keep]}"
send "$T/in/script-refresh.eml" keep-script-refresh "${port[keep]}"
for name in "${score_names[@]}"; do
  send "$T/in/$name.eml" "score-$name" "${port[score]}"
done

# Delivery is asynchronous: wait until every Maildir holds its message.
for _ in $(seq 200); do
  delivered=0
  for name in "${recipients[@]}"; do
    ls "$T/mail/$name/new/"* >/dev/null 2>&1 && delivered=$((delivered + 1))
  done
  [ "$delivered" -eq "${#recipients[@]}" ] && break
  sleep 0.1
done

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
grep -q 'result=passed-on:too-large (larger than --max-size' "$T/rewrite.log" || fail "no log line for the oversize message"
logged=$(grep -cE '^[^ ]+ tagstrip-milter\[[0-9]+\]: [0-9A-F]+: size=' "$T/rewrite.log")
[ "$logged" -eq "${#names[@]}" ] || fail "expected ${#names[@]} message log lines with queue ids, found $logged"
grep -q 'result=analysed score=[0-9]* found=Script.* removed=Script.* rewritten=yes' "$T/rewrite.log" || fail "no log line reports a removed script"

# Kept text: only our fields at the top differ from what was sent.
strip_our_fields() {
  awk 'top && /^X-Tagstrip-/ { ours = 1; next } top && ours && /^[ \t]/ { next } { top = 0; print }' top=1
}
expect_text_kept() {  # MESSAGE_FILE RECIPIENT
  local delivered
  delivered=$(ls "$T/mail/$2/new/"* 2>/dev/null | head -n 1)
  [ -n "$delivered" ] || { fail "$2: not delivered"; return; }
  grep -q '^X-Tagstrip-Score: ' "$delivered" || fail "$2: no score field"
  cmp -s <(as_postfix_stores < "$1") <(strip_postfix_fields "$delivered" | strip_our_fields) ||
    fail "$2: the text was changed"
}
for name in "${score_names[@]}"; do
  expect_text_kept "$T/in/$name.eml" "score-$name"
done
expect_text_kept "$T/signed.eml" keep-signed
grep -q 'Not rewritten: the message carries a DKIM signature' "$T/mail/keep-signed/new/"* ||
  fail "keep-signed: the findings do not say why the text was kept"
"$build/tagstrip" filter --config-dir "$T/config" < "$T/in/script-refresh.eml" | as_postfix_stores |
  cmp -s - <(strip_postfix_fields "$(ls "$T/mail/keep-script-refresh/new/"* | head -n 1)") ||
  fail "keep-script-refresh: an unsigned message is not rewritten as the filter does"

kill "${milter_pids[0]}"
wait "${milter_pids[0]}"
status=$?
milter_pids=("${milter_pids[@]:1}")
[ "$status" -eq 0 ] || fail "milter exit status $status after SIGTERM"
grep -q ': stopped$' "$T/rewrite.log" || fail "no shutdown line"

if [ "$failures" -gt 0 ]; then
  echo "--- milter log"; cat "$T/rewrite.log"
  echo "--- postfix log"; tail -n 30 "$T/maillog"
  exit 1
fi
echo "all ${#names[@]} messages delivered as tagstrip filter writes them; kept and score-only text untouched"

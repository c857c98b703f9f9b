#!/usr/bin/env bash
# The milter as a site runs it, end to end through one private Postfix on 127.0.0.1:
#   - whose mail: a client that authenticated with SASL (Cyrus, a private sasldb), one on
#     a --local-net address, a sender in --skip-from and a recipient in --skip-to pass
#     untouched; the same message unauthenticated, from an address outside the list, or
#     from and to addresses not listed, is rewritten as `tagstrip filter` writes it;
#   - DKIM: a message signed here passes --keep-signed with its signature still valid;
#     rewritten in the default mode it no longer verifies (the trade-off the manual
#     explains);
#   - socket access: the milter runs as nobody and Postfix (user postfix) reaches it
#     through a socket of mode 0660 and group postfix; through one of mode 0600 it cannot
#     connect, and milter_default_action decides: tempfail refuses the message, accept
#     delivers it unfiltered.
#   postfix_production_test.sh BUILD_DIR SOURCE_DIR
# Exit 77 (skipped) when not root or a tool is missing.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$2
. "$source_dir/tests/milter/private_postfix.sh"
python=/usr/bin/python3
dkim_tool=$source_dir/tests/support/dkim_tool.py

if [ "$(id -u)" -ne 0 ] || ! command -v postfix >/dev/null || ! command -v swaks >/dev/null ||
   ! command -v saslpasswd2 >/dev/null || ! "$python" -c 'import dkim' 2>/dev/null || ! id nobody >/dev/null 2>&1 ||
   ! postconf -a 2>/dev/null | grep -qx cyrus; then
  echo "SKIP: needs root, postfix with Cyrus SASL, swaks, saslpasswd2 (sasl2-bin), python3-dkim and user nobody"
  exit 77
fi

T=$(mktemp -d)
milter_pids=()
cleanup() {
  private_postfix_stop "$T"
  for pid in "${milter_pids[@]}"; do kill "$pid" 2>/dev/null; done
  for pid in "${milter_pids[@]}"; do wait "$pid" 2>/dev/null; done
  [ -n "${KEEP:-}" ] || rm -rf "$T"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# One HTML message with a script, which the settings remove; and the same signed.
mkdir -p "$T/in" "$T/dkim" "$T/config" "$T/modules"
cat > "$T/in/plain.eml" <<'MESSAGE'
From: news@example.test
To: reader@example.test
Subject: production mail
MIME-Version: 1.0
Content-Type: text/html; charset=us-ascii

<p>Hello <script>track()</script><a href="http://example.com/">there</a></p>
MESSAGE
"$python" "$dkim_tool" keygen "$T/dkim" || { fail "no DKIM key"; exit 1; }
"$python" "$dkim_tool" sign "$T/dkim" < "$T/in/plain.eml" | tr -d '\r' > "$T/in/signed.eml"
"$python" "$dkim_tool" verify "$T/dkim" < "$T/in/signed.eml" || fail "the signed message does not verify as sent"
"$build/tagstrip" settings --config-dir "$T/config" --set Flags=255 >/dev/null || fail "settings"
chmod -R a+rX "$T/config"
# The milters run as nobody, which must reach their modules wherever the build lies.
cp "$build"/*.Analyzer "$T/modules/"
chmod -R a+rX "$T/modules"
modules=()
for module in "$T"/modules/*.Analyzer; do
  modules+=(--module "$module")
done

# Cases: recipient (its Maildir), listener, message, expectation, swaks options.
#   untouched: delivered as sent; filtered: as `tagstrip filter` writes it;
#   verifies / broken: the DKIM signature after delivery; refused: no delivery, a 4xx.
auth=(--auth PLAIN --auth-user tester --auth-password secret)
cases=(
  "authenticated  main    plain   untouched  ${auth[*]}"
  "anonymous      main    plain   filtered"
  "local-net      main    plain   untouched  --local-interface 127.0.0.2"
  "outside-net    main    plain   filtered   --local-interface 127.0.0.3"
  "listed-sender  main    plain   untouched  --from news@trusted.example"
  "listed-recipient main  plain   untouched"
  "signed-kept    keep    signed  verifies"
  "signed-rewritten main  signed  broken"
  "closed-accept  accept  plain   untouched"
  "closed-tempfail tempfail plain refused"
)
recipients=()
for case in "${cases[@]}"; do
  read -r name _ <<<"$case"
  recipients+=("$name")
done
private_postfix_create "$T" "${recipients[@]}"

# Cyrus SASL for smtpd, from its own sasldb. Debian's Postfix reads smtpd.conf from the
# sasl directory beside main.cf; cyrus_sasl_config_path names it for other builds.
mkdir -p "$T/etc/sasl"
cat > "$T/etc/sasl/smtpd.conf" <<CONF
pwcheck_method: auxprop
auxprop_plugin: sasldb
mech_list: PLAIN LOGIN
sasldb_path: $T/etc/sasl/sasldb2
CONF
echo secret | saslpasswd2 -f "$T/etc/sasl/sasldb2" -p -c -u test.invalid tester || fail "saslpasswd2"
chgrp postfix "$T/etc/sasl/sasldb2"
chmod 640 "$T/etc/sasl/sasldb2"
postconf -c "$T/etc" -e smtpd_sasl_auth_enable=yes smtpd_sasl_type=cyrus smtpd_sasl_path=smtpd \
  "cyrus_sasl_config_path=$T/etc/sasl" smtpd_sasl_local_domain=test.invalid \
  smtpd_sasl_security_options=noanonymous smtpd_tls_auth_only=no

declare -A port
port[main]=$(free_port)
port[keep]=$(free_port)
port[tempfail]=$(free_port)
port[accept]=$(free_port)
private_postfix_listen "$T" "${port[main]}" "unix:$T/main.sock"
private_postfix_listen "$T" "${port[keep]}" "unix:$T/keep.sock"
private_postfix_listen "$T" "${port[tempfail]}" "unix:$T/closed.sock" milter_default_action=tempfail
private_postfix_listen "$T" "${port[accept]}" "unix:$T/closed.sock" milter_default_action=accept

# The skip lists: a domain of senders, one recipient's address.
echo "@trusted.example" > "$T/skip-from"
echo "listed-recipient@example.test" > "$T/skip-to"
chmod 644 "$T/skip-from" "$T/skip-to"

start_milter() {  # NAME [OPTIONS...]
  local name=$1
  shift
  "$build/tagstrip-milter" --foreground --socket "unix:$T/$name.sock" --user nobody --config-dir "$T/config" \
    "${modules[@]}" --log-file "$T/$name.log" "$@" &
  milter_pids+=($!)
}
start_milter main --socket-mode 0660 --socket-group postfix --local-net 127.0.0.2/32 \
  --skip-from "$T/skip-from" --skip-to "$T/skip-to"
start_milter keep --socket-mode 0660 --socket-group postfix --local-net "" --keep-signed
start_milter closed --socket-mode 0600 --local-net ""
private_postfix_start "$T" || { cat "$T/maillog" 2>/dev/null; fail "postfix did not start"; exit 1; }
for _ in $(seq 100); do
  started=$(cat "$T"/{main,keep,closed}.log 2>/dev/null | grep -c 'started on')
  [ "$started" -eq 3 ] && (exec 3<>"/dev/tcp/127.0.0.1/${port[main]}") 2>/dev/null && break
  sleep 0.1
done
for pid in "${milter_pids[@]}"; do
  [ "$(ps -o user= -p "$pid")" = nobody ] || fail "milter $pid does not run as nobody"
done

send() {  # MESSAGE_FILE RECIPIENT PORT [SWAKS OPTIONS...]
  local wire="$T/$2.wire"
  sed -e 's/^\./../' -e 's/$/\r/' "$1" > "$wire"
  printf '.\r\n' >> "$wire"
  swaks --server "127.0.0.1:$3" --from sender@example.com --to "$2@example.test" \
    --data "@$wire" --no-data-fixup "${@:4}" >"$T/$2.swaks" 2>&1
}
for case in "${cases[@]}"; do
  read -r name listener message expectation options <<<"$case"
  # shellcheck disable=SC2086
  send "$T/in/$message.eml" "$name" "${port[$listener]}" $options
  status=$?
  if [ "$expectation" = refused ]; then
    grep -q '^<\*\* *451 ' "$T/$name.swaks" || fail "$name: not refused with 451: $(grep '^<\*\*' "$T/$name.swaks")"
  elif [ "$status" -ne 0 ]; then
    fail "$name: not accepted"
    cat "$T/$name.swaks"
  fi
done

# Delivery is asynchronous: wait until every Maildir that should hold a message does.
delivered() { ls "$T/mail/$1/new/"* 2>/dev/null | head -n 1; }
for _ in $(seq 200); do
  waiting=0
  for case in "${cases[@]}"; do
    read -r name _ _ expectation _ <<<"$case"
    [ "$expectation" = refused ] || [ -n "$(delivered "$name")" ] || waiting=1
  done
  [ "$waiting" -eq 0 ] && break
  sleep 0.1
done

verifies() { "$python" "$dkim_tool" verify "$T/dkim" < "$1"; }
for case in "${cases[@]}"; do
  read -r name _ message expectation _ <<<"$case"
  file=$(delivered "$name")
  if [ "$expectation" = refused ]; then
    [ -z "$file" ] || fail "$name: delivered though refused"
    continue
  fi
  [ -n "$file" ] || { fail "$name: not delivered"; continue; }
  strip_postfix_fields "$file" > "$T/$name.got"
  case $expectation in
    untouched)
      as_postfix_stores < "$T/in/$message.eml" | cmp -s - "$T/$name.got" || fail "$name: not delivered untouched" ;;
    filtered)
      "$build/tagstrip" filter --config-dir "$T/config" < "$T/in/$message.eml" | as_postfix_stores |
        cmp -s - "$T/$name.got" || fail "$name: not delivered as tagstrip filter writes it" ;;
    verifies)
      verifies "$file" || fail "$name: the signature no longer verifies"
      grep -q 'Not rewritten: the message carries a DKIM signature' "$file" || fail "$name: findings without the reason"
      grep -q '<script>' "$file" || fail "$name: the signed text was rewritten" ;;
    broken)
      ! verifies "$file" || fail "$name: the signature of a rewritten message still verifies"
      grep -q '<script>' "$file" && fail "$name: the signed message was not rewritten" ;;
  esac
done

# Each skip is one log line with its reason; the closed socket shows in Postfix's log.
grep -q 'result=skipped (authenticated as tester@test.invalid)' "$T/main.log" ||
  fail "no log line for the authenticated client"
grep -q 'result=skipped (client .* in --local-net)' "$T/main.log" || fail "no log line for the local client"
grep -q 'result=skipped (sender <news@trusted.example> in --skip-from)' "$T/main.log" ||
  fail "no log line for the listed sender"
grep -q 'result=skipped (all 1 recipient(s) in --skip-to)' "$T/main.log" || fail "no log line for the listed recipient"
[ "$(grep -c 'result=skipped' "$T/main.log")" -eq 4 ] || fail "more skips than the four listed"
grep -q "connect to Milter service unix:$T/closed.sock: Permission denied" "$T/maillog" ||
  fail "Postfix logged no refused milter connection"

if [ "$failures" -gt 0 ]; then
  for log in main keep closed; do echo "--- $log milter log"; cat "$T/$log.log"; done
  echo "--- postfix log"; tail -n 40 "$T/maillog"
  exit 1
fi
echo "authenticated, local and listed mail untouched, others rewritten; DKIM kept or broken as chosen; socket access as its mode says"

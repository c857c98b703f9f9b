#!/usr/bin/env bash
# Runs milter_cases.lua through Debian's miltertest against the real tagstrip-milter, after
# writing the messages and what `tagstrip filter` makes of each under both settings the
# script uses; then checks the milter's log.
#   miltertest_test.sh BUILD_DIR SOURCE_DIR
# Exit 77 (skipped) without miltertest.
set -uo pipefail
build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
. "$source_dir/tests/milter/test_messages.sh"
command -v miltertest >/dev/null || { echo "SKIP: no miltertest"; exit 77; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
write_test_messages "$work" "$source_dir"
# miltertest 1.x overflows its stack on replaced bodies over about 1.5 KB: small cases only.
printf 'From: a@example.com\nContent-Type: text/html\n\n<html><head><title>Hi</title></head><body>Hello there.</body></html>\n' \
  > "$work/clean-html.eml"
{
  printf 'From: broken@example.com\nMIME-Version: 1.0\nContent-Type: multipart/mixed; boundary="B1\n\n'
  printf -- '--B1\nContent-Type: text/html\nno colon\n\n<p><script>y()</script>\n--B1--\n--B1\n'
} > "$work/small-malformed.eml"

for flags in 65 255; do
  mkdir -p "$work/flags$flags"
  "$build/tagstrip" settings --config-dir "$work/flags$flags" --set "Flags=$flags" >/dev/null
  for message in "$work"/*.eml; do
    sed 's/$/\r/' "$message" |
      "$build/tagstrip" filter --config-dir "$work/flags$flags" > "${message%.eml}.$flags.want" 2>/dev/null
  done
done
cp -r "$work/flags65" "$work/config"

# Every option once; relative paths are taken from the file's directory.
printf '# senders\nBounces@example.com\n<>\n@lists.example.net\n' > "$work/skip-from"
printf 'archive@example.test\n/^robot-[0-9]+@example\\.test$/\n' > "$work/skip-to"
{
  echo "# tagstrip-milter, every option once"
  echo "socket unix:$work/file.sock"
  echo "socket-mode 0600"
  echo "SocketGroup $(id -gn)"
  echo "timeout 600"
  echo "config-dir config"
  for module in "$build"/*.Analyzer; do echo "module $module"; done
  echo "max-size 9999"
  echo "skip_authenticated yes"
  echo "local-net 192.0.2.0/24"
  echo "no-skip-authenticated no"
  echo "skip-from skip-from"
  echo "skip-to = $work/skip-to"
  echo "mode rewrite"
  echo "keep-signed no"
  echo "foreground yes"
  echo "pidfile milter.pid"
  echo "user $(id -un)"
  echo "log-file milter.log"
} > "$work/milter.conf"

status=0
(cd "$work" && timeout 90 miltertest -D "milter=$build/tagstrip-milter" -D "tagstrip=$build/tagstrip" \
  -D "work=$work" -s "$source_dir/tests/milter/milter_cases.lua") || status=1
grep -q 'result=skipped (client client.example in --local-net)' "$work/milter.log" ||
  { echo "FAIL: no log line for a skipped local client"; status=1; }
grep -q 'result=skipped (authenticated as alice)' "$work/milter.log" ||
  { echo "FAIL: no log line for a skipped authenticated sender"; status=1; }
grep -q 'settings read again' "$work/milter.log" || { echo "FAIL: no log line for SIGHUP"; status=1; }
grep -q 'result=skipped (sender <Bounces@Example.COM> in --skip-from)' "$work/milter.log" ||
  { echo "FAIL: no log line for a skipped sender"; status=1; }
grep -q 'result=skipped (all 2 recipient(s) in --skip-to)' "$work/milter.log" ||
  { echo "FAIL: no log line for skipped recipients"; status=1; }
grep -q "$work/milter.conf:[0-9]*: mode: wants rewrite or score, not 'fast'" "$work/milter.log" ||
  { echo "FAIL: no log line naming the bad line of the file read on SIGHUP"; status=1; }
grep -q 'result=passed-on:too-large (larger than --max-size 4000)' "$work/milter.log" ||
  { echo "FAIL: no log line for the oversize message"; status=1; }
grep -q 'result=passed-on:stopping' "$work/milter.log" ||
  { echo "FAIL: no log line for the message after SIGTERM"; status=1; }
for _ in $(seq 100); do
  grep -q ': stopped$' "$work/milter.log" && break
  sleep 0.1
done
grep -q ': stopped$' "$work/milter.log" || { echo "FAIL: the milter did not stop"; status=1; }
[ "$status" -eq 0 ] || cat "$work/milter.log"
exit "$status"

#!/usr/bin/env bash
# tagstrip-milter --check-config: each problem of the configuration file and its skip lists
# as FILE:LINE: problem and exit 1, in silence and exit 0 for the shipped sample as it is
# and with every option set; the command line wins over the file; a bad file stops the
# start before the socket is made.
#   config_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail
milter="$(cd "$1" && pwd)/tagstrip-milter"
source_dir=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# check_config LABEL STATUS OUTPUT [OPTIONS...]: --check-config exits STATUS and prints OUTPUT.
check_config() {
  local label=$1 want_status=$2 want_output=$3 output status
  shift 3
  output=$("$milter" "$@" --check-config 2>&1)
  status=$?
  [ "$status" -eq "$want_status" ] || fail "$label: exit status $status, not $want_status"
  [ "$output" = "$want_output" ] || fail "$label: printed
$output
instead of
$want_output"
}

sample=$source_dir/contrib/milter/milter.conf
check_config "the sample as shipped" 0 "" -c "$sample"

printf 'postmaster@example.com\n@example.org\n/^bounce-/\n<>\n' > "$work/skip.list"
sed -E -e 's/^#([a-z])/\1/' -e "s#/etc/tagstrip/skip-(from|to)#$work/skip.list#" "$sample" > "$work/every.conf"
for option in $("$milter" --help | grep -o -- '--[a-z][a-z-]*' | sort -u); do
  [[ $option =~ ^--(config|check-config|help|version|no-skip-authenticated)$ ]] ||
    grep -q "^${option#--} " "$work/every.conf" || fail "the sample does not show ${option#--}"
done
check_config "the sample with every option set" 0 "" -c "$work/every.conf"

bad=$work/bad.conf
printf 'good@example.com\n/[unclosed/\n' > "$work/bad.list"
cat > "$bad" <<CONF
# every line below but this one is wrong
sockett unix:/run/tagstrip/milter.sock
max-size 10MB
local-net 10.0.0.0/8, 300.1.1.1
socket inet:http@localhost
skip-from bad.list
skip-to missing.list
mode = header-only
CONF
check_config "a bad file" 1 "$bad:2: unknown option 'sockett'
$bad:3: max-size: wants a positive number of bytes, not '10MB'
$bad:4: local-net: '300.1.1.1' is no IPv4 or IPv6 network
$bad:5: socket: bad socket 'inet:http@localhost': give unix:PATH, local:PATH, inet:PORT@HOST or inet6:PORT@HOST
$bad:8: mode: wants rewrite or score, not 'header-only'
$work/bad.list:2: bad regular expression /[unclosed/: missing ]: [unclosed
$bad:7: cannot read $work/missing.list: No such file or directory" -c "$bad"

printf 'max-size 0\nmode fast\n' > "$work/overridden.conf"
check_config "options the command line overrides" 0 "" -c "$work/overridden.conf" --max-size 100 --mode score
check_config "a missing file named with -c" 1 "$work/none.conf: cannot read: No such file or directory" \
  --config "$work/none.conf"

"$milter" -c "$bad" --foreground --socket "unix:$work/milter.sock" --log-file - 2>"$work/start.err"
status=$?
[ "$status" -eq 1 ] || fail "a start with a bad file: exit status $status, not 1"
grep -qxF "tagstrip-milter: $bad:2: unknown option 'sockett'" "$work/start.err" ||
  fail "a start with a bad file: $(cat "$work/start.err")"
[ ! -e "$work/milter.sock" ] || fail "a start with a bad file made the socket"

[ "$failures" -eq 0 ] && echo "configuration cases passed"
exit $((failures > 0))

#!/usr/bin/env bash
# The milter's Unix socket: a stale socket file left by a milter that died is replaced; a
# socket another milter still listens on, or a file that is no socket, stops the start
# with a clear error and exit 1; the socket gets --socket-mode and --socket-group.
#   socket_test.sh BUILD_DIR
# Exit 77 (skipped) when not root (changing the group needs it).
set -uo pipefail
milter="$(cd "$1" && pwd)/tagstrip-milter"
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root"; exit 77; }
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill -9 "$pid" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
mkdir "$work/config"
socket="$work/milter.sock"

start() {  # LOG [OPTIONS...]: a milter on the socket, in the background
  local log=$1
  shift
  "$milter" --foreground --socket "unix:$socket" --config-dir "$work/config" --log-file "$work/$log" "$@" \
    2>"$work/$log.err" &
  pids+=($!)
}
wait_for_socket() {
  for _ in $(seq 100); do
    [ -S "$socket" ] && grep -q 'started on' "$work/$1" 2>/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# The first milter dies hard and leaves its socket file behind.
start first.log
wait_for_socket first.log || fail "the first milter did not start"
kill -9 "${pids[0]}"
wait "${pids[0]}" 2>/dev/null
[ -S "$socket" ] || fail "no stale socket file to test with"

# The second replaces the stale file, with the mode and group asked for.
start second.log --socket-mode 0640 --socket-group daemon
wait_for_socket second.log || fail "a stale socket file stopped the start: $(cat "$work/second.log.err")"
[ "$(stat -c '%a %G' "$socket")" = "640 daemon" ] || fail "socket mode and group: $(stat -c '%a %G' "$socket")"

# A third finds the second listening there and gives up.
"$milter" --foreground --socket "unix:$socket" --config-dir "$work/config" 2>"$work/third.err"
status=$?
[ "$status" -eq 1 ] || fail "a live socket: exit status $status, not 1"
grep -q "another milter is listening on $socket" "$work/third.err" || fail "a live socket: $(cat "$work/third.err")"
kill -0 "${pids[1]}" 2>/dev/null || fail "the listening milter did not survive the attempt"

# A file that is no socket is left alone.
echo keep > "$work/plain"
"$milter" --foreground --socket "unix:$work/plain" --config-dir "$work/config" 2>"$work/plain.err"
[ $? -eq 1 ] && grep -q "is not a socket" "$work/plain.err" || fail "a plain file: $(cat "$work/plain.err")"
[ "$(cat "$work/plain")" = keep ] || fail "the plain file was touched"

[ "$failures" -eq 0 ] && echo "socket cases passed"
exit $((failures > 0))

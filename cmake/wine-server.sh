#!/bin/sh
# Starts or stops the wine server of a wine prefix, creating the prefix on first use:
#   wine-server.sh start|stop PREFIX
# The server outlives the programs it serves, so its output goes to /dev/null: a server
# that held the test runner's output pipe would keep the runner waiting.
set -eu
action=$1
export WINEPREFIX="$2" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case "$action" in
  start)
    mkdir -p "$WINEPREFIX"
    # A server still running from an earlier run serves as well.
    wineserver -p >/dev/null 2>&1 </dev/null || true
    timeout --kill-after=10 300 wineboot -i >/dev/null 2>&1 </dev/null
    ;;
  stop)
    wineserver -k >/dev/null 2>&1 || true
    ;;
  *)
    echo "usage: wine-server.sh start|stop PREFIX" >&2
    exit 2
    ;;
esac

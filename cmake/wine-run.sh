#!/bin/sh
# Runs a Windows program under wine in the given wine prefix, time-limited, with wine's
# own diagnostics off:
#   wine-run.sh PREFIX PROGRAM ARGUMENT...
# The prefix's wine server is started beforehand (wine-server.sh), so that no server
# started here holds on to the caller's output.
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
exec timeout --kill-after=10 "${WINE_TIMEOUT:-120}" wine "$@"

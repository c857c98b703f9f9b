#!/usr/bin/env bash
# Runs "tagstrip config" in a real 80 by 24 terminal under tmux and drives it with keys:
# once ticking a box and typing points, then pressing Enter (OK) and reading the ini file;
# once typing a points value out of range, which shows its message and saves nothing;
# once with the Remote analyzer's page, picked by name.
set -euo pipefail
program=$1
if ! command -v tmux >/dev/null; then
  echo "tmux is not installed: skipping the terminal test"
  exit 77
fi

scratch=$(mktemp -d)
session="tagstrip-config-$$"
ini="$scratch/Tagstrip.ini"
# A server of this test's own, kept alive by an idle session: closing the window between
# the two runs must not take the server down while the next window is being opened.
tmux() { command tmux -L "$session" "$@"; }
cleanup() {
  tmux kill-server 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT
tmux new-session -d -s keeper "sleep 600"

screen() { tmux capture-pane -p -t "$session"; }

wait_for() {
  for _ in $(seq 100); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.1
  done
  echo "never saw: $1"
  screen
  return 1
}

keys() {
  for key in "$@"; do
    tmux send-keys -t "$session" "$key"
    sleep 0.15
  done
}

# open_window [ANALYZER]
open_window() {
  tmux kill-session -t "$session" 2>/dev/null || true
  tmux new-session -d -s "$session" -x 80 -y 24 \
    "'$program' config --config-dir '$scratch' ${1:-}; echo tagstrip-exit=\$?; sleep 60"
  wait_for "Tagstrip settings"
}

# expect_ini LINE [INI]
expect_ini() {
  grep -qx -- "$1" "${2:-$ini}" || { echo "expected $1 in ${2:-$ini}:"; cat "${2:-$ini}"; exit 1; }
}

# Links' remove box (Alt+L reaches its points, Tab the box), Script's points, then OK.
open_window
wait_for "Read Receipts"
keys Tab M-l Tab Space M-s 1 2 3 4
wait_for "[1234 ]"
keys Enter
wait_for "tagstrip-exit=0"
expect_ini "Flags=73"
expect_ini "PointsScript=1234"
cp "$ini" "$scratch/saved"

# Out of range: the message box, then Escape closes without saving.
open_window
keys M-s 1 0 0 0 0 0 Enter
wait_for "Remove Script points must be between"
keys Enter
wait_for "Points to add to spam score for having script"
keys Escape
wait_for "tagstrip-exit=0"
cmp "$ini" "$scratch/saved"

# The Remote analyzer's page: Link tracking's points (Alt+T) and its remove box, then OK.
open_window Remote
wait_for "Tracking pixels"
keys M-t 7 Tab Space Enter
wait_for "tagstrip-exit=0"
expect_ini "Flags=15" "$scratch/Remote.ini"
expect_ini "PointsLinkTracking=7" "$scratch/Remote.ini"
cmp "$ini" "$scratch/saved"
echo "terminal settings window: ok"

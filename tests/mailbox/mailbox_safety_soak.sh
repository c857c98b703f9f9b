#!/usr/bin/env bash
# The mailbox safety test at length, outside the test command: 1,000 deliveries in each
# locking style and 250 through procmail while scans rewrite, and 1,000 kills at random
# moments, first on a memory file system and then on the disk, where every sync is real.
#   mailbox_safety_soak.sh [BUILD_DIRECTORY]   (default: build)
set -uo pipefail
cd "$(dirname "$0")/../.."
build=${1:-build}
cmake --build "$build" -j2 --target tagstrip mbox_appender mbox_journal_driver > /dev/null || exit 1
status=0
for directory in /dev/shm "${TMPDIR:-/tmp}"; do
  echo "== soak in $directory"
  start=$SECONDS
  MAILBOX_SAFETY_DELIVERIES=1000 MAILBOX_SAFETY_KILLS=1000 MAILBOX_SAFETY_DIR=$directory \
    tests/mailbox/mailbox_safety_test.sh "$build/tagstrip" "$build/tests/mailbox/mbox_appender" \
    "$build/tests/mailbox/mbox_journal_driver" 0 || status=1
  echo "== $((SECONDS - start)) s"
done
exit $status

#!/usr/bin/env bash
# Writes an mbox of COUNT messages to standard output, cycling through the sample
# messages of examples/mailbox.mbox, each with its own From_ line and Message-ID.
# For measuring `tagstrip scan`, e.g.:
#   bench/make_mbox.sh 40000 > /tmp/big.mbox
#   /usr/bin/time -v build/tagstrip scan --config-dir "$(mktemp -d)" /tmp/big.mbox
set -euo pipefail
count=${1:?usage: make_mbox.sh COUNT}
samples="$(dirname "$0")/../examples/mailbox.mbox"
awk -v count="$count" '
  /^From / && (NR == 1 || previous == "") { sample++ }
  !/^From / || (NR > 1 && previous != "") { body[sample] = body[sample] $0 "\n" }
  { previous = $0 }
  END {
    for (i = 0; i < count; i++) {
      s = i % sample + 1
      text = body[s]
      sub(/Message-ID: <[^>]*>/, "Message-ID: <bench-" i "@example.com>", text)
      printf "From bench@example.com Mon Oct 13 10:%02d:%02d 2025\n%s", (i / 60) % 60, i % 60, text
    }
  }' "$samples"

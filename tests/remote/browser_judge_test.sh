#!/usr/bin/env bash
# The browser judge (tests/remote/browser/judge.mjs) with its npm packages: puppeteer-core,
# pinned in package-lock.json, installed beside it on first use without any browser of
# its own; it drives the system's Chromium.
#   browser_judge_test.sh TAGSTRIP
set -euo pipefail
tagstrip=$(realpath "$1")
judge=$(cd "$(dirname "$0")/browser" && pwd)
for tool in node npm /usr/bin/chromium; do
  command -v "$tool" >/dev/null || { echo "browser judge: $tool is missing (scripts/setup installs it)"; exit 1; }
done
if [ ! -d "$judge/node_modules/puppeteer-core" ]; then
  (cd "$judge" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
cd "$judge"
exec timeout 240 node judge.mjs "$tagstrip"

#!/usr/bin/env bash
# The browser build's test: installs playwright-core (the version pinned in
# package-lock.json) under build/web-test/, then drives Debian's chromium
# through page_test.mjs against build/web/.
#   tests/web/run.sh NATIVE_VORN
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
work=$root/build/web-test
mkdir -p "$work"
if ! cmp -s "$here/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules/playwright-core" ]; then
  cp "$here/package.json" "$here/package-lock.json" "$work/"
  (cd "$work" && npm ci --no-audit --no-fund --loglevel=error)
fi
node "$here/page_test.mjs" "$root/build/web" "$root/tests/demos" "$1" "$work"

#!/bin/sh
# The game's page in a real browser, as CI runs it: builds the web preset
# and the headless program whose captures the page's pixels are compared
# with, installs the test's npm packages from the lock file, and runs the
# tests in headless Chromium.
set -eu
cd "$(dirname "$0")/.."
tools/install-deps web
export NODE_PATH=/usr/share/nodejs
cmake --preset web >/dev/null
cmake --build --preset web
cmake --preset default >/dev/null
cmake --build --preset default --target zandrel-headless
cd tests/web
npm ci --no-audit --no-fund
npm test

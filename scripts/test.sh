#!/usr/bin/env bash
# Installs the dependencies, then builds and runs the whole test suite: the
# optimised build with warnings as errors and tavi-host's browser tests on
# it, the AddressSanitizer and UndefinedBehaviorSanitizer build, the layout
# check and the fuzz runs.
# FUZZ_SECONDS sets each fuzz target's run time (default 60; 0 skips them).
set -euo pipefail
cd "$(dirname "$0")/.."
# Tests and the demo serve feeds from 127.0.0.1: never through a proxy.
export no_proxy="127.0.0.1,localhost${no_proxy:+,$no_proxy}"
export NO_PROXY="$no_proxy"

scripts/install-deps.sh

echo "== layout"
mapfile -t sources < <(git ls-files '*.h' '*.cpp')
clang-format --dry-run --Werror "${sources[@]}"

echo "== release build"
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVI_WARNINGS_AS_ERRORS=ON \
  -DTAVI_BUILD_BENCHMARKS=ON
ctest --test-dir build/release --output-on-failure -j2

echo "== browser tests"
# tavi-host in Debian's chromium, driven by Playwright; no browser is
# downloaded.
(
  cd web/tests
  PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund
  TAVI_HOST_PROGRAM="$PWD/../../build/release/web/tavi-host" \
    TAVI_COMMAND="$PWD/../../build/release/cli/tavi" \
    TAVI_WINDOW_GALLERY="$PWD/../../build/release/tests/window_gallery" npx playwright test
)

echo "== sanitizer build"
scripts/build.sh build/sanitize -DCMAKE_BUILD_TYPE=Debug -DTAVI_WARNINGS_AS_ERRORS=ON \
  -DTAVI_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j2

if [ -d fuzz ] && [ "${FUZZ_SECONDS:-60}" != 0 ]; then
  echo "== fuzz runs"
  scripts/fuzz.sh "${FUZZ_SECONDS:-60}"
fi

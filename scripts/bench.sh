#!/usr/bin/env bash
# Installs the dependencies and the peers the benchmarks measure against
# (rss2email; the time program for peak memory), builds the benchmarks in an
# optimised build and runs every one, then the window renderer's benchmark
# (web/bench: the window gallery drawn in Debian's chromium). Extra
# arguments go to each benchmark program (for example --benchmark_filter=Tavi).
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi

scripts/install-deps.sh >/dev/null
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
  rss2email time >/dev/null

scripts/build.sh build/bench -DCMAKE_BUILD_TYPE=Release -DTAVI_BUILD_BENCHMARKS=ON \
  -DTAVI_BUILD_TESTS=OFF >/dev/null

for program in build/bench/bench/*_bench; do
  echo "== $(basename "$program")"
  "$program" "$@"
done

# The window renderer: the gallery is a test program, built alone.
echo "== window_bench"
cmake -S . -B build/bench -DTAVI_BUILD_TESTS=ON >/dev/null
cmake --build build/bench --target window_gallery >/dev/null
(cd web/tests && PLAYWRIGHT_SKIP_BROWSER_DOWNLOAD=1 npm ci --no-audit --no-fund >/dev/null)
TAVI_WINDOW_GALLERY="$PWD/build/bench/tests/window_gallery" node web/bench/window_bench.js

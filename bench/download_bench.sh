#!/usr/bin/env bash
# The Download run of 200 feeds on 50 slow hosts (bench/download_bench.cpp):
# installs the peer it is compared with (newsboat, here only, never in CI),
# builds the benchmark in an optimised build and runs it. It prints the wall
# time of tavi's first and second run and of newsboat's, and the ratios.
# Extra arguments go to the benchmark program.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi

scripts/install-deps.sh >/dev/null
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
  newsboat >/dev/null

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DTAVI_BUILD_BENCHMARKS=ON \
  -DTAVI_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench --target download_bench >/dev/null
build/bench/bench/download_bench "$@"

#!/usr/bin/env bash
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for the given seconds (default 60),
# starting from its seed corpus in fuzz/corpus/TARGET. Any finding fails.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

# Only the fuzz targets are built: clang keeps the sanitizer runtime out of
# shared objects, so the plug-in module does not link in this configuration.
CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVI_SANITIZE=ON -DTAVI_BUILD_FUZZERS=ON -DTAVI_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build build/fuzz --target fuzzers

for target in build/fuzz/fuzz/*_fuzz; do
  name=$(basename "$target")
  work=build/fuzz/corpus/$name
  mkdir -p "$work"
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" "fuzz/corpus/$name" 2>&1 | tail -n 15
done

#!/usr/bin/env bash
# Installs the dependencies, builds Tavi and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The demo subscribes built-in sample feeds served from 127.0.0.1 into a
# temporary data folder, downloads them twice and shows what arrived.
build/release/cli/tavi demo

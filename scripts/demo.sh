#!/usr/bin/env bash
# Installs the dependencies, builds Tavi and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
# Tests and the demo serve feeds from 127.0.0.1: never through a proxy.
export no_proxy="127.0.0.1,localhost${no_proxy:+,$no_proxy}"
export NO_PROXY="$no_proxy"
scripts/install-deps.sh >/dev/null
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
# The demo subscribes built-in sample feeds served from 127.0.0.1 into a
# temporary data folder, downloads them twice and shows what arrived.
build/release/cli/tavi demo

#!/usr/bin/env bash
# Installs the dependencies, builds Tavi and runs its main job.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh >/dev/null
scripts/build.sh build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
build/release/cli/tavi --version
build/release/cli/tavi help

#!/usr/bin/env bash
# Installs everything Tavi needs to build, test, fuzz and benchmark on Debian.
set -euo pipefail

sudo=""
if [ "$(id -u)" != 0 ]; then sudo="sudo"; fi

# tavi-host's browser tests drive Debian's chromium from node (Playwright);
# a node that is already there (any version from 18) is kept.
browser_test_packages=(chromium)
if ! command -v node >/dev/null; then browser_test_packages+=(nodejs npm); fi

export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends \
  build-essential cmake ninja-build pkg-config \
  clang libclang-rt-14-dev clang-format \
  libgtest-dev libgmock-dev libbenchmark-dev \
  libcurl4-openssl-dev libcpp-httplib-dev libpugixml-dev libcli11-dev libgumbo-dev \
  ca-certificates "${browser_test_packages[@]}"

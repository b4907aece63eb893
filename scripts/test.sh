#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once on a plain
# build and once on a build under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh
(cd build && ctest --output-on-failure -j"$(nproc)")
BUILD_DIR=build-asan scripts/build.sh -DTELMAR_SANITIZE=ON
(cd build-asan && ctest --output-on-failure -j"$(nproc)")

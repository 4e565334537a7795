#!/usr/bin/env bash
# Builds everything and runs every test in one ctest run: the native tests, the
# sanitizer build of them, and (where Wine is installed) the installer under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DVORQ_SANITIZER_SUITE=ON
cmake --build build
ctest --test-dir build --output-on-failure -j2

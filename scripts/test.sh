#!/usr/bin/env bash
# Installs what is missing, builds Tarvello and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
ctest --output-on-failure -j "$(nproc 2>/dev/null || echo 2)"

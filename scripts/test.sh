#!/usr/bin/env bash
# Installs what is missing, builds Tarvello and runs every test: once in the plain C.UTF-8
# locale and once in Italian, the locale our users' desktops have (a decimal comma in the C
# library's number formats, Italian dates and names).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
cd build
jobs="$(nproc 2>/dev/null || echo 2)"
for loc in C.UTF-8 it_IT.UTF-8; do
  echo "== Tests under LC_ALL=$loc"
  LC_ALL="$loc" ctest --output-on-failure -j "$jobs"
done

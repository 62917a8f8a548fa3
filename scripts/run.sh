#!/usr/bin/env bash
# Installs what is missing, builds Tarvello and starts it. The program's folder (archives,
# settings, password) is build/bin.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh
exec ./build/bin/tarvello

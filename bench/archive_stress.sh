#!/usr/bin/env bash
# Many programs on one warehouse archive at once, for longer than the test pass allows: writers
# appending and overwriting records, stock workers adding to and taking from the stock of the
# same records, readers checking every record they read. Prints the figures and every problem;
# exits with 1 when anything confirmed is missing or a record was not whole.
#
#     bash bench/archive_stress.sh [WRITERS STOCK READERS ACTIONS [SEED]]     (default 4 4 4 1000)
#
# The archive lies in a temporary folder; set TMPDIR to run it on another disk (a network share).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -x build/tests/archive_stress ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target archive_stress
fi
exec build/tests/archive_stress run "${1:-4}" "${2:-4}" "${3:-4}" "${4:-1000}" "${5:-1}"

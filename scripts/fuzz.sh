#!/usr/bin/env bash
# Builds the fuzz targets (tests/fuzz) with clang's libFuzzer and the address and
# undefined-behaviour sanitizers in ./build-fuzz, and runs each one, on one core, from its seeds in
# tests/fuzz/corpus/<target>/. The set-up script installs clang and its run-time libraries when
# they are missing: only this build needs them.
#
#     bash scripts/fuzz.sh                     every target for about 20 s (what scripts/test.sh runs)
#     bash scripts/fuzz.sh --time 300          every target for five minutes
#     bash scripts/fuzz.sh --long              every target for a million inputs (--runs 1000000)
#     bash scripts/fuzz.sh --runs 50000        every target for that many inputs
#     bash scripts/fuzz.sh --time 60 fuzz_ini  one target
#
# New inputs the fuzzer finds go to a scratch folder, never into the committed seeds. An input
# that breaks a property, crashes, leaks or hangs is kept as build-fuzz/crashes/<target>/...; once
# the fault is mended, add it to tests/fuzz/corpus/<target>/ so every run tries it again.
set -euo pipefail
cd "$(dirname "$0")/.."

limit=(-max_total_time=20)
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --time) limit=(-max_total_time="$2"); shift 2 ;;
    --runs) limit=(-runs="$2"); shift 2 ;;
    --long) limit=(-runs=1000000); shift ;;
    *) targets+=("$1"); shift ;;
  esac
done

bash scripts/setup.sh --fuzz

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DTARVELLO_BUILD_FUZZ=ON -DTARVELLO_BUILD_TESTS=OFF -DTARVELLO_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)" --target fuzz_all

if [ ${#targets[@]} -eq 0 ]; then
  for dir in tests/fuzz/corpus/*/; do targets+=("$(basename "$dir")"); done
fi

# The targets that write files (password file, spreadsheet) write them in a temporary folder;
# in memory where there is one, so the disk does not set the pace.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

failed=()
for t in "${targets[@]}"; do
  mkdir -p "$scratch/$t" "build-fuzz/crashes/$t" build-fuzz/logs
  log="build-fuzz/logs/$t.log"
  echo "== $t"
  if ./build-fuzz/fuzz/"$t" "${limit[@]}" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
      -print_final_stats=1 -artifact_prefix="build-fuzz/crashes/$t/" \
      "$scratch/$t" "tests/fuzz/corpus/$t" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    secs=$(sed -n 's/^Done [0-9]* runs in \([0-9]*\) second.*/\1/p' "$log")
    echo "   $runs inputs in ${secs:-?} s, no crash, leak or hang"
  else
    echo "   FAILED (log: $log):"
    grep -E "^(==[0-9]+==ERROR|SUMMARY|FUZZ PROPERTY BROKEN)|^artifact_prefix|Test unit written" "$log" | sed 's/^/   /' || true
    failed+=("$t")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that failed: ${failed[*]}"
  exit 1
fi

#!/usr/bin/env bash
# Times every long operation of the program on a large shop, through its real windows, and prints
# the table: each figure beside dd reading (or, for what the program writes, writing and syncing)
# the same bytes in the same run, interleaved round by round after one round that is not counted.
#
#     bash bench/run.sh [--rounds N] [--quick] [--cold] [--only OPERATION]
#
#   --rounds N   rounds of each operation (default 11)
#   --quick      a shop of 10,000 customers, 2,000 products and 10,000 invoices, 3 rounds: a check
#                that every benchmark runs, not figures to quote
#   --cold       also rounds with the archive's pages dropped from the page cache before each
#                operation and each dd (posix_fadvise DONTNEED: on a virtual machine the host may
#                still hold them)
#   --only OP    one operation (bench_windows --list names them)
#
# Builds what it needs in build/ (RelWithDebInfo). The shop is written once by tarvello_sample
# into build/bench-shop/<sizes>/ and reused while the same sizes are asked for.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build

rounds=11
customers=100000 products=20000 invoices=100000 year=2026 seed=1
cold=()
only=
while [ $# -gt 0 ]; do
  case "$1" in
    --rounds) rounds=$2; shift 2 ;;
    --quick) customers=10000 products=2000 invoices=10000 rounds=3; shift ;;
    --cold) cold=(--cold); shift ;;
    --only) only=$2; shift 2 ;;
    *) echo "usage: bash bench/run.sh [--rounds N] [--quick] [--cold] [--only OPERATION]" >&2; exit 2 ;;
  esac
done

if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j2 --target tarvello tarvello_sample tarvello_mkpassword bench_windows bench_startup \
  bench_pdf_floor \
  >"$build/bench-build.log" 2>&1 || { tail -30 "$build/bench-build.log" >&2; exit 1; }

shop=$build/bench-shop/c$customers-p$products-f$invoices-y$year-s$seed
if [ ! -f "$shop/.complete" ]; then
  rm -rf "$shop"
  mkdir -p "$shop"
  echo "Writing the shop into $shop ..." >&2
  "$build/bin/tarvello_sample" --clienti "$customers" --prodotti "$products" --fatture "$invoices" \
    --anno "$year" --seme "$seed" "$shop" >&2
  "$build/src/program/tarvello_mkpassword" "$shop" 2>/dev/null
  touch "$shop/.complete"
fi

bench=$build/bench/bench_windows
log=$build/bench-run.log
: >"$log"
mb() { echo "$(($(stat -c %s "$1") / 1000000)) MB"; }
echo "Machine: $(lscpu | sed -n 's/^Model name: *//p' | head -1), $(nproc) cores," \
  "$(free -g | awk '/^Mem:/ {print $2}') GiB of memory; $(date -u +%Y-%m-%d)"
echo "Shop: $customers customers ($(mb "$shop/Clienti.pro")), $products products ($(mb "$shop/Magazzino.pro")),"  \
  "$invoices invoices of $year ($(mb "$shop/$year.fat")); $rounds rounds${cold:+, warm then cold}"
echo
"$bench" --header 2>/dev/null
for op in $("$bench" --list 2>/dev/null); do
  if [ -n "$only" ] && [ "$op" != "$only" ]; then
    continue
  fi
  echo "== $op" >>"$log"
  "$bench" --folder "$shop" --rounds "$rounds" --year "$year" "${cold[@]}" "$op" 2>>"$log" ||
    { echo "$op failed; see $log" >&2; tail -5 "$log" >&2; exit 1; }
done
if [ -z "$only" ] || [ "$only" = printed-list ]; then
  echo
  echo "Qt's PDF engine alone (bench_pdf_floor), as many lines as the printed list of every customer:"
  "$build/bench/bench_pdf_floor" "$customers" 2>>"$log" | sed 's/^/    /'
fi

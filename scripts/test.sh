#!/usr/bin/env bash
# Installs what is missing, checks the format, builds Tarvello and runs every test: once in the
# plain C.UTF-8 locale and once in Italian, the locale our users' desktops have (a decimal comma in
# the C library's number formats, Italian dates and names). Then what a user gets: the guide, the
# two install layouts started for real and the Debian package (scripts/check-install.sh). Then a
# build without the invoices, so leaving an application out keeps building; its program tests show
# that the program still starts and that the launcher leaves the invoice entries disabled. Last,
# the fuzz targets for about 20 s each (their own clang build of the few libraries they test,
# through ccache).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/check-format.sh
bash scripts/build.sh
jobs="$(nproc 2>/dev/null || echo 2)"
for loc in C.UTF-8 it_IT.UTF-8; do
  echo "== Tests under LC_ALL=$loc"
  (cd build && LC_ALL="$loc" ctest --output-on-failure -j "$jobs")
done

# What a user gets: the guide, the two install layouts started for real, the Debian package.
echo "== Installing"
bash scripts/check-install.sh build

# Builds that leave applications out, so that each one keeps standing without the others: without
# the invoices, without the customers (the warehouse must keep its windows), and with none of the
# four. Each builds its tests too and runs those of the program and the shell.
skip_build() {
  local dir="$1" skip="$2"
  echo "== A build without: $skip"
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVELLO_BUILD_BENCH=OFF \
    "-DTARVELLO_SKIP=$skip" >/dev/null
  cmake --build "$dir" -j "$jobs"
  (cd "$dir" && ctest --output-on-failure -R '^test_(program|shell|keyboard)$')
}
skip_build build-skip-invoices "invoices"
skip_build build-skip-customers "customers"
skip_build build-skip-all "checks;customers;warehouse;invoices"

echo "== Fuzz targets"
bash scripts/fuzz.sh

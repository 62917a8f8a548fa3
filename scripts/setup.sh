#!/usr/bin/env bash
# Installs, only when missing, the Debian packages Tarvello needs to build, run and be tested, and
# to make its guide (Ghostscript) and packages and check them (qpdf, desktop-file-utils, appstream,
# dpkg-dev for the package's dependencies, x11-utils to see the installed program's window).
#
#     bash scripts/setup.sh          what the program and its tests need
#     bash scripts/setup.sh --fuzz   also clang and its run-time libraries (libFuzzer and the
#                                    sanitizers), which only the fuzz build (scripts/fuzz.sh) needs
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config clang-format
  qt6-base-dev qt6-translations-l10n libqt6svg6
  libgtest-dev
  libxml2-dev libxml2-utils
  libssl-dev openssl
  fonts-liberation2 fonts-dejavu-core
  poppler-utils xvfb xauth e2fsprogs
  locales
  ghostscript qpdf
  desktop-file-utils appstream dpkg-dev file x11-utils
)
if [ "${1:-}" = "--fuzz" ]; then
  packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Our users run Italian desktops: the suite runs a second time under it_IT.UTF-8, so that locale
# must exist on every machine that builds and tests the program.
if ! locale -a 2>/dev/null | grep -qix 'it_IT.utf8'; then
  sudo_cmd=()
  if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
  echo "Generating the it_IT.UTF-8 locale"
  if [ -f /etc/locale.gen ] && grep -q '^# *it_IT.UTF-8 UTF-8' /etc/locale.gen; then
    "${sudo_cmd[@]}" sed -i 's/^# *\(it_IT.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  elif ! grep -q '^it_IT.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null; then
    echo 'it_IT.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  fi
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

#!/usr/bin/env bash
# Checks what a user gets: the guide, the desktop entry and metainfo, the two install layouts
# started for real, and the Debian package. Run by scripts/test.sh after the build; the build
# folder (default ./build) must hold a full build.
#
#     bash scripts/check-install.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
work="$(mktemp -d)"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  # The build folder goes back to the default layout.
  cmake -S . -B "$build" -DTARVELLO_INSTALL_LAYOUT=portable >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "check-install: $*" >&2; exit 1; }

echo "== The guide"
bash tests/guide/check_guide.sh "$build/bin/Guida.pdf"

echo "== Desktop entry and metainfo"
desktop-file-validate packaging/it.tarvello.Tarvello.desktop
appstreamcli validate --no-net packaging/it.tarvello.Tarvello.metainfo.xml

install_layout() { # LAYOUT PREFIX
  cmake -S . -B "$build" -DTARVELLO_INSTALL_LAYOUT="$1" >/dev/null
  cmake --install "$build" --prefix "$2" >/dev/null
}
expect_files() { # FOLDER FILE...
  local folder="$1"; shift
  for f in "$@"; do [ -f "$folder/$f" ] || fail "$folder/$f is missing"; done
}

# Starts EXE offscreen with HOME at HOMEDIR and waits, at most a minute, until FILE exists; the
# program must still be running then (it waits at its password window). Then it is stopped.
start_offscreen_until() { # EXE HOMEDIR FILE
  local exe="$1" home="$2" file="$3" log="$work/offscreen.log"
  HOME="$home" XDG_DATA_HOME="" QT_QPA_PLATFORM=offscreen "$exe" >"$log" 2>&1 &
  local pid=$!
  pids+=("$pid")
  for _ in $(seq 600); do
    [ -f "$file" ] && break
    kill -0 "$pid" 2>/dev/null || fail "$exe ended before $file appeared: $(cat "$log")"
    sleep 0.1
  done
  [ -f "$file" ] || { kill "$pid"; fail "$file did not appear within a minute"; }
  kill -0 "$pid" 2>/dev/null || fail "$exe did not keep running: $(cat "$log")"
  kill "$pid"; wait "$pid" 2>/dev/null || true
}

# Starts EXE on a virtual X display and waits, at most a minute, for the password window by its
# caption; then stops it. A display number another build machine's job took at the same moment
# makes the program fail to connect: that is tried again, twice at most.
start_until_password_window() { # EXE HOMEDIR
  for attempt in 1 2 3; do
    if HOME="$2" XDG_DATA_HOME="" QT_QPA_PLATFORM=xcb xvfb-run -a bash -c '
      "$1" >"$2" 2>&1 &
      pid=$!
      for _ in $(seq 300); do
        if xwininfo -root -tree | grep -F "\" Tarvello - Accesso al programma\"" >/dev/null; then
          kill "$pid"; exit 0
        fi
        kill -0 "$pid" 2>/dev/null || exit 1
        sleep 0.2
      done
      kill "$pid"; exit 1' _ "$1" "$work/x11.log"; then
      return 0
    fi
    grep -q "could not connect to display" "$work/x11.log" || break
  done
  fail "$1 showed no password window: $(cat "$work/x11.log")"
}

echo "== System layout"
sys="$work/sistema"
install_layout system "$sys"
expect_files "$sys" bin/tarvello share/tarvello/unins000.dll \
  share/tarvello/Schema_del_file_xml_FatturaPA_v1.2.2.xsd share/tarvello/xmldsig-core-schema.xsd \
  share/doc/tarvello/Guida.pdf share/applications/it.tarvello.Tarvello.desktop \
  share/metainfo/it.tarvello.Tarvello.metainfo.xml share/icons/hicolor/scalable/apps/tarvello.svg
for size in 16 22 24 32 48 64 128 256; do
  icon="$sys/share/icons/hicolor/${size}x${size}/apps/tarvello.png"
  [ -f "$icon" ] || fail "$icon is missing"
  file "$icon" | grep "$size x $size" >/dev/null || fail "$icon is not $size x $size: $(file "$icon")"
done
desktop-file-validate "$sys/share/applications/it.tarvello.Tarvello.desktop"
appstreamcli validate --no-net "$sys/share/metainfo/it.tarvello.Tarvello.metainfo.xml" >/dev/null
before="$(ls -A "$sys/bin")"
start_offscreen_until "$sys/bin/tarvello" "$work/utente" "$work/utente/.local/share/Tarvello/unins000.dll"
[ "$(ls -A "$sys/bin")" = "$before" ] || fail "the program wrote into $sys/bin"
start_until_password_window "$sys/bin/tarvello" "$work/utente"
echo "system layout: data in ~/.local/share/Tarvello, password window shown"

echo "== Portable layout"
port="$work/portatile"
install_layout portable "$port"
expect_files "$port/tarvello" tarvello Guida.pdf unins000.dll tarvello.svg \
  Schema_del_file_xml_FatturaPA_v1.2.2.xsd xmldsig-core-schema.xsd
[ ! -e "$port/share" ] && [ ! -e "$port/bin" ] || fail "the portable layout left files outside tarvello/"
# A portable folder that has lost its password file gets it back on the next start, as a new
# folder does: that is the sign the program took its own folder as the data folder.
rm "$port/tarvello/unins000.dll"
start_offscreen_until "$port/tarvello/tarvello" "$work/utente2" "$port/tarvello/unins000.dll"
[ ! -e "$work/utente2/.local/share/Tarvello" ] || fail "the portable program used the per-user folder"
start_until_password_window "$port/tarvello/tarvello" "$work/utente2"
[ ! -e "$work/utente2/.local/share/Tarvello" ] || fail "the portable program used the per-user folder"
echo "portable layout: data beside the program, password window shown"

echo "== Debian package"
cmake -S . -B "$build" -DTARVELLO_INSTALL_LAYOUT=system >/dev/null
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
deb="$(ls "$work"/deb/tarvello_*.deb)"
dpkg-deb -I "$deb"
dpkg-deb -I "$deb" | grep '^ Depends:.*libqt6widgets6' >/dev/null || fail "the package does not depend on Qt"
contents="$(dpkg-deb -c "$deb")"
for f in ./usr/bin/tarvello ./usr/share/doc/tarvello/Guida.pdf ./usr/share/tarvello/unins000.dll \
  ./usr/share/applications/it.tarvello.Tarvello.desktop ./usr/share/metainfo/it.tarvello.Tarvello.metainfo.xml \
  ./usr/share/icons/hicolor/48x48/apps/tarvello.png; do
  grep -qE " $f\$" <<<"$contents" || fail "$f is not in the package"
done
echo "$deb: contents and dependencies in place"

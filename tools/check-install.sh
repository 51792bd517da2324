#!/usr/bin/env bash
# Checks the installation: installs a built tree into a temporary prefix, validates the desktop
# file and the AppStream metainfo, starts the installed `kovanta` offscreen with a read-only
# program directory and a temporary HOME, and checks that its INI file and web recipe directory
# went to the per-user places and nothing into the installation. With --deb it also builds the
# Debian package, unpacks it (never installs it) and runs the same start from the unpacked tree.
#   tools/check-install.sh [BUILD_DIR] [--deb]
# Everything it writes lies below one mktemp directory, removed at the end.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

build=build/dev
deb=0
for arg in "$@"; do
  case "$arg" in
    -h | --help) sed -n '2,12s/^# \{0,1\}//p' "$0"; exit 0 ;;
    --deb) deb=1 ;;
    -*) echo "check-install: unbekannte Option $arg" >&2; exit 2 ;;
    *) build=$arg ;;
  esac
done
[ -x "$build/bin/kovanta" ] || { echo "check-install: $build/bin/kovanta fehlt (erst bauen)" >&2; exit 2; }

work=$(mktemp -d)
cleanup() { chmod -R u+w "$work" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
fail() { echo "check-install: FEHLER: $*" >&2; exit 1; }

app_id=de.kovanta.rezepturendisplay

check_tree() {
  local prefix=$1
  for f in bin/kovanta bin/rezeptur bin/rezeptur-print \
           "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
           "share/icons/hicolor/scalable/apps/$app_id.svg" \
           "share/icons/hicolor/48x48/apps/$app_id.png" \
           "share/icons/hicolor/128x128/apps/$app_id.png" \
           "share/icons/hicolor/256x256/apps/$app_id.png" \
           share/kovanta/samples/REZ01001.DAT; do
    [ -e "$prefix/$f" ] || fail "$f nicht installiert"
  done
  desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
  # The companion works from the installation alone.
  local listed
  listed=$("$prefix/bin/rezeptur" list "$prefix/share/kovanta/samples")
  [ -n "$listed" ] || fail "rezeptur list liest die installierten Beispiele nicht"
}

# Starts the installed program for a few seconds, ends it as the desktop would (SIGTERM closes
# the window and saves), and checks the places it wrote to.
check_start() {
  local prefix=$1 home=$2
  mkdir -p "$home"
  chmod a-w "$prefix/bin"
  local log="$work/kovanta.log"
  env -i PATH=/usr/bin:/bin HOME="$home" QT_QPA_PLATFORM=offscreen \
    "$prefix/bin/kovanta" >"$log" 2>&1 &
  local pid=$!
  sleep 4
  kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; fail "kovanta hat sich vorzeitig beendet"; }
  kill -TERM "$pid"
  local status=0
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || { cat "$log" >&2; fail "kovanta endete mit Status $status"; }
  chmod u+w "$prefix/bin"

  local ini="$home/.config/Kovanta/kovanta.INI"
  [ -f "$ini" ] || fail "kein $ini"
  grep -q "^1=1.*/share/kovanta/samples/" "$ini" || fail "$ini nennt die Beispiele nicht"
  [ -d "$home/.local/share/Kovanta/internet" ] || fail "kein Web-Rezeptverzeichnis im HOME"
  local extra
  extra=$(ls -A "$prefix/bin" | grep -v -x -e kovanta -e rezeptur -e rezeptur-print || true)
  [ -z "$extra" ] || fail "im Programmverzeichnis geschrieben: $extra"
  echo "check-install: INI in $ini, Web-Rezepte in $home/.local/share/Kovanta/internet/"
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
check_tree "$prefix"
check_start "$prefix" "$work/home"

if [ "$deb" = 1 ]; then
  (cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
  package=$(ls "$work"/deb/*.deb)
  # Read whole before matching: grep -q ending early would fail the pipe under pipefail.
  info=$(dpkg-deb --info "$package")
  grep -q "Depends:.*libqt6widgets6" <<<"$info" || fail "Paket ohne Qt-Abhängigkeit"
  dpkg-deb -x "$package" "$work/root"
  check_tree "$work/root/usr"
  check_start "$work/root/usr" "$work/home-deb"
  echo "check-install: Paket $(basename "$package") in Ordnung"
fi
echo "check-install: alles in Ordnung"

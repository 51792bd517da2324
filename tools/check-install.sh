#!/usr/bin/env bash
# Checks the installation: installs a built tree into a temporary prefix, validates the desktop
# file, the AppStream metainfo and the .plan file type, starts the installed `kovanta` offscreen
# with a read-only program directory and a temporary HOME, and checks that its INI file and web
# recipe directory went to the per-user places and nothing into the installation.
# With --deb it also builds the Debian package (tools/build-deb.sh), runs lintian on it when
# lintian is installed, and installs it with `apt-get install ./kovanta_*.deb` into a throw-away
# Debian root made by debootstrap, where the programs run and the package is removed again;
# without debootstrap or without the Debian mirror it unpacks the package and checks that.
#   tools/check-install.sh [BUILD_DIR] [--deb]
# Everything it writes lies below one mktemp directory, removed at the end (the package build
# itself lies in build/package).
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
root=$work/root
cleanup() {
  # The throw-away root's /proc first, so that removing the tree never reaches into it.
  if mountpoint -q "$root/proc" 2>/dev/null; then umount "$root/proc" || umount -l "$root/proc"; fi
  chmod -R u+w "$work" 2>/dev/null || true
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
fail() { echo "check-install: FEHLER: $*" >&2; exit 1; }

app_id=de.kovanta.rezepturendisplay

check_tree() {
  local prefix=$1
  for f in bin/kovanta bin/rezeptur bin/rezeptur-print \
           "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
           "share/mime/packages/$app_id.xml" \
           "share/icons/hicolor/scalable/apps/$app_id.svg" \
           "share/icons/hicolor/48x48/apps/$app_id.png" \
           "share/icons/hicolor/128x128/apps/$app_id.png" \
           "share/icons/hicolor/256x256/apps/$app_id.png" \
           share/kovanta/samples/REZ01001.DAT share/kovanta/samples/Beispielwoche.plan \
           share/man/man1/kovanta.1.gz share/man/man1/rezeptur.1.gz share/man/man1/rezeptur-print.1.gz \
           share/bash-completion/completions/rezeptur share/bash-completion/completions/kovanta \
           share/doc/kovanta/copyright share/doc/kovanta/changelog.gz share/doc/kovanta/anleitung.md; do
    [ -e "$prefix/$f" ] || fail "$f nicht installiert"
  done
  # Every picture the guide shows is installed beside it.
  local picture
  for picture in $(grep -o 'screenshots/[a-z0-9-]*\.png' "$prefix/share/doc/kovanta/anleitung.md"); do
    [ -f "$prefix/share/doc/kovanta/$picture" ] || fail "$picture der Anleitung nicht installiert"
  done
  desktop-file-validate "$prefix/share/applications/$app_id.desktop" || fail "desktop-file-validate"
  appstreamcli validate --pedantic --no-net "$prefix/share/metainfo/$app_id.metainfo.xml" ||
    fail "appstreamcli validate"
  # The file type is valid shared-mime-info XML and gives *.plan its type.
  mkdir -p "$work/mime/packages"
  cp "$prefix/share/mime/packages/$app_id.xml" "$work/mime/packages/"
  update-mime-database "$work/mime" >/dev/null 2>&1 || fail "update-mime-database"
  grep -q '^application/x-kovanta-plan:\*\.plan$' "$work/mime/globs" || fail "*.plan ohne Dateityp"
  rm -rf "$work/mime"
  # The companion works from the installation alone, and every program answers --help.
  local listed
  listed=$("$prefix/bin/rezeptur" list "$prefix/share/kovanta/samples")
  [ -n "$listed" ] || fail "rezeptur list liest die installierten Beispiele nicht"
  "$prefix/bin/rezeptur" requirements "$prefix/share/kovanta/samples/Beispielwoche.plan" >/dev/null ||
    fail "rezeptur requirements des Beispielplans"
  for program in kovanta rezeptur rezeptur-print; do
    env -u DISPLAY "$prefix/bin/$program" --help >/dev/null || fail "$program --help"
  done
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

# The Debian mirror the system uses (the first of its apt sources), when it answers.
debian_mirror() {
  local uri
  uri=$(sed -n 's/^URIs: *\([^ ]*\).*/\1/p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n 1)
  [ -n "$uri" ] || uri=$(sed -n 's/^deb \(\[[^]]*\] \)\{0,1\}\(http[^ ]*\) .*/\2/p' /etc/apt/sources.list 2>/dev/null | head -n 1)
  [ -n "$uri" ] || uri=http://deb.debian.org/debian
  local suite
  suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
  if command -v curl >/dev/null && curl -fsI --max-time 10 "$uri/dists/$suite/Release" >/dev/null; then
    echo "$uri $suite"
  fi
}

# Installs the package with apt-get into a throw-away Debian root, runs the programs there,
# removes the package and checks that nothing of it is left.
check_apt_install() {
  local package=$1 mirror=$2 suite=$3
  echo "check-install: Debian-Wurzel mit debootstrap ($suite, $mirror) ..."
  debootstrap --variant=minbase "$suite" "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 20 "$work/debootstrap.log" >&2; fail "debootstrap"; }
  mount -t proc proc "$root/proc"
  cp "$package" "$root/tmp/"
  local in_root=(chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root
                 DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8)
  "${in_root[@]}" apt-get update -q >"$work/apt.log" 2>&1 || { cat "$work/apt.log" >&2; fail "apt-get update"; }
  "${in_root[@]}" apt-get install -y -q "/tmp/$(basename "$package")" >>"$work/apt.log" 2>&1 ||
    { tail -n 30 "$work/apt.log" >&2; fail "apt-get install des Pakets"; }
  "${in_root[@]}" kovanta --version | grep -q '^kovanta ' || fail "kovanta --version im Paket"
  "${in_root[@]}" rezeptur list /usr/share/kovanta/samples | grep -q 'Rindergulasch' ||
    fail "rezeptur list im Paket"
  "${in_root[@]}" rezeptur print recipe /usr/share/kovanta/samples/REZ01001.DAT --portions 40 \
    --pdf /tmp/rezept.pdf || fail "rezeptur print im Paket"
  [ -s "$root/tmp/rezept.pdf" ] || fail "kein PDF im Paket gedruckt"
  [ -f "$root/usr/share/mime/application/x-kovanta-plan.xml" ] ||
    fail "Dateityp application/x-kovanta-plan nicht eingetragen"
  # The window program from the package, as a user starts it, with a per-user HOME.
  "${in_root[@]}" sh -c 'mkdir -p /tmp/home && cd /tmp/home && HOME=/tmp/home QT_QPA_PLATFORM=offscreen kovanta >/tmp/kovanta.log 2>&1 & echo $! >/tmp/kovanta.pid; wait' &
  local waiter=$!
  sleep 5
  local pid
  pid=$(cat "$root/tmp/kovanta.pid")
  kill -TERM "$pid" 2>/dev/null || { cat "$root/tmp/kovanta.log" >&2; fail "kovanta aus dem Paket lief nicht"; }
  wait "$waiter" || true
  [ -f "$root/tmp/home/.config/Kovanta/kovanta.INI" ] || fail "kovanta aus dem Paket schrieb kein INI"
  "${in_root[@]}" apt-get remove --purge -y -q kovanta >>"$work/apt.log" 2>&1 || fail "apt-get remove"
  local left
  left=$(cd "$root" && ls -d usr/bin/kovanta usr/bin/rezeptur usr/bin/rezeptur-print usr/share/kovanta \
           usr/share/doc/kovanta "usr/share/mime/packages/$app_id.xml" \
           usr/share/mime/application/x-kovanta-plan.xml 2>/dev/null || true)
  [ -z "$left" ] || fail "nach dem Entfernen übrig: $left"
  umount "$root/proc"
  echo "check-install: Paket mit apt-get installiert, benutzt und rückstandslos entfernt"
}

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
check_tree "$prefix"
check_start "$prefix" "$work/home"

if [ "$deb" = 1 ]; then
  package=$(tools/build-deb.sh "$work/deb")
  # Read whole before matching: grep -q ending early would fail the pipe under pipefail.
  info=$(dpkg-deb --info "$package")
  grep -q "Depends:.*libqt6widgets6" <<<"$info" || fail "Paket ohne Qt-Abhängigkeit"
  echo "check-install: $(basename "$package"): $(stat -c %s "$package") Bytes," \
       "installiert $(sed -n 's/^ Installed-Size: //p' <<<"$info") KiB"
  if command -v lintian >/dev/null; then
    report=$(lintian --pedantic "$package" 2>&1 | grep -v '^running with root privileges' || true)
    [ -z "$report" ] || echo "$report"
    ! grep -q '^[EW]: ' <<<"$report" || fail "lintian meldet Fehler oder Warnungen"
    echo "check-install: lintian --pedantic ohne Befund"
  fi
  dpkg-deb -x "$package" "$work/unpacked"
  check_tree "$work/unpacked/usr"
  check_start "$work/unpacked/usr" "$work/home-deb"
  mirror=
  if command -v debootstrap >/dev/null && [ "$(id -u)" -eq 0 ]; then
    mirror=$(debian_mirror)
  fi
  if [ -n "$mirror" ]; then
    check_apt_install "$package" $mirror
  else
    echo "check-install: keine Debian-Wurzel (debootstrap, root oder Spiegel fehlt): nur entpackt geprüft"
  fi
  echo "check-install: Paket $(basename "$package") in Ordnung"
fi
echo "check-install: alles in Ordnung"

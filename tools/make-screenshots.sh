#!/usr/bin/env bash
# Makes the pictures in docs/screenshots/ as a user of the package sees the program: the .deb
# installed with apt-get into a Debian root of its own, the window program run there by a plain
# user with a fresh HOME on an Xvfb screen with openbox, driven with xdotool, captured with
# `import` and stored as 256-colour PNG. The printouts are page 1 of the PDF `rezeptur print`
# writes, at 80 dpi; the import window gets its links dragged from a small drag source (GTK)
# and fetched from a local web server on 127.0.0.1.
#   tools/make-screenshots.sh ROOT_DIR [--deb FILE.deb] [--display N] [NAME...]
# ROOT_DIR holds the Debian root (made with debootstrap when empty, reused as it is otherwise).
# Without --deb the package is built with tools/build-deb.sh. NAMEs (e.g. recipe-list) pick
# pictures; without them all are made. Needs root (chroot, mount), debootstrap, Xvfb, openbox,
# xdotool, wmctrl, ImageMagick, poppler-utils and python3-gi with GTK 3.
# Everything else lies in one mktemp directory, removed at the end.
set -euo pipefail
cd "$(dirname "$(readlink -f "$0")")/.."

root='' deb='' display=66 only=()
while [ $# -gt 0 ]; do
  case "$1" in
    -h | --help) sed -n '2,13s/^# \{0,1\}//p' "$0"; exit 0 ;;
    --deb) deb=${2:?--deb: Datei fehlt}; shift ;;
    --display) display=${2:?--display: Nummer fehlt}; shift ;;
    -*) echo "make-screenshots: unbekannte Option $1" >&2; exit 2 ;;
    *) if [ -z "$root" ]; then root=$1; else only+=("$1"); fi ;;
  esac
  shift
done
[ -n "$root" ] || { echo "make-screenshots: ROOT_DIR fehlt (--help)" >&2; exit 2; }
[ "$(id -u)" -eq 0 ] || { echo "make-screenshots: braucht root (chroot, mount)" >&2; exit 2; }
mkdir -p "$root"
root=$(readlink -f "$root")
out=$PWD/docs/screenshots
export DISPLAY=:$display

work=$(mktemp -d)
pids=()
mounts=()
cleanup() {
  local pid m
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  # Last mounted first; the root's /tmp (a tmpfs) takes the homes and the package with it.
  for ((m = ${#mounts[@]} - 1; m >= 0; m--)); do
    umount "${mounts[m]}" 2>/dev/null || umount -l "${mounts[m]}"
  done
  rm -rf --one-file-system "$work"
}
trap cleanup EXIT
fail() { echo "make-screenshots: FEHLER: $*" >&2; exit 1; }
say() { echo "make-screenshots: $*"; }

# ---------------------------------------------------------------------------------------------
# The Debian root and the package

user=koch
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root \
  DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"; }

make_root() {
  if [ ! -x "$root/usr/bin/apt-get" ]; then
    local suite
    suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    say "Debian-Wurzel in $root mit debootstrap ($suite, etwa 10 Minuten) ..."
    debootstrap --variant=minbase "$suite" "$root" http://deb.debian.org/debian \
      >"$work/debootstrap.log" 2>&1 || { tail -n 20 "$work/debootstrap.log" >&2; fail debootstrap; }
  fi
  local m
  for m in proc dev tmp srv; do
    mkdir -p "$root/$m"
    case $m in
      proc) mount -t proc proc "$root/proc" ;;
      dev) mount --bind /dev "$root/dev" ;;
      *) mount -t tmpfs tmpfs "$root/$m" ;; # nothing of a run stays in the root
    esac
    mounts+=("$root/$m")
  done
  chmod 1777 "$root/tmp"
  in_root id "$user" >/dev/null 2>&1 || in_root useradd --create-home --shell /bin/bash "$user"
  ids=$(in_root id -u "$user"):$(in_root id -g "$user") # the host may not know the name
}

install_package() {
  if [ -z "$deb" ]; then
    say "Paket bauen (tools/build-deb.sh) ..."
    deb=$(tools/build-deb.sh "$work/deb" | tail -n 1)
  fi
  [ -f "$deb" ] || fail "kein Paket $deb"
  cp "$deb" "$root/tmp/"
  say "$(basename "$deb") mit apt-get installieren ..."
  {
    in_root apt-get update -q &&
      in_root apt-get install -y -q locales fonts-dejavu-core && # as on every Debian desktop
      in_root apt-get install -y -q --reinstall "/tmp/$(basename "$deb")"
  } >"$work/apt.log" 2>&1 || { tail -n 30 "$work/apt.log" >&2; fail "apt-get install"; }
  if ! in_root locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
    echo 'de_DE.UTF-8 UTF-8' >"$root/etc/locale.gen"
    in_root locale-gen >/dev/null
  fi
}

# ---------------------------------------------------------------------------------------------
# Screen, program, keys and pictures

app=''
home=''
start_screen() { # WIDTH HEIGHT
  local i
  # The server of the picture before may still be cleaning up.
  for i in $(seq 50); do [ -e "/tmp/.X$display-lock" ] || break; sleep 0.1; done
  Xvfb "$DISPLAY" -screen 0 "$1x$2x24" -nolisten tcp >"$work/xvfb.log" 2>&1 &
  pids+=($!)
  for i in $(seq 150); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.2; done # a busy machine
  xdpyinfo >/dev/null 2>&1 || { cat "$work/xvfb.log" >&2; fail "Xvfb $DISPLAY startet nicht"; }
  openbox >"$work/openbox.log" 2>&1 &
  pids+=($!)
  sleep 1
}

stop_all() {
  local pid
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  pids=()
  app=''
}

# Starts the installed program as the plain user with a fresh HOME, maximised unless told.
# Extra environment as NAME=VALUE before the program's arguments.
start_kovanta() {
  home=/tmp/home-$RANDOM$RANDOM
  install -d -o "${ids%:*}" -g "${ids#*:}" "$root$home" "$root$home/run"
  chmod 700 "$root$home/run"
  chroot --userspec="$ids" "$root" env -i PATH=/usr/bin:/bin HOME="$home" \
    USER="$user" LANG=de_DE.UTF-8 DISPLAY="$DISPLAY" XDG_RUNTIME_DIR="$home/run" \
    "$@" >"$work/kovanta.log" 2>&1 &
  app=$!
  pids+=("$app")
  xdotool search --sync --onlyvisible --name '^VEMO-KOVANTA' >/dev/null
  wmctrl -r VEMO-KOVANTA -b add,maximized_vert,maximized_horz
  sleep 1
}

kovanta() { start_kovanta kovanta "$@"; }

# "Programmstart" once it can be clicked (three seconds after the start), then the read.
programmstart() {
  sleep 3
  key ctrl+Return
  sleep 2
}

key() { xdotool key --delay 80 "$@"; sleep 0.5; }
type_text() { xdotool type --delay 60 "$1"; sleep 0.5; }
click() { xdotool mousemove "$1" "$2" click 1; sleep 0.5; }
double_click() { xdotool mousemove "$1" "$2" click --repeat 2 --delay 80 1; sleep 0.7; }
drag() { xdotool mousemove "$1" "$2" mousedown 1 mousemove "$3" "$4" mouseup 1; sleep 0.7; }
park_mouse() { xdotool mousemove 5 5; sleep 0.3; }

# The whole screen, or the active window with its frame (`window`), as 256 colours.
shot() { # NAME [window]
  local raw=$work/$1.png
  if [ "${2:-}" = window ]; then
    import -frame -window "$(xdotool getactivewindow)" "$raw"
  else
    import -window root "$raw"
  fi
  store "$raw" "$1"
}
# A picture that shows the same pixels as the stored one leaves it alone (no change for git).
store() { # PNG NAME
  local new=$work/$2.png8 old=$out/$2.png
  convert "$1" +dither -colors 256 "PNG8:$new"
  if [ -f "$old" ] && [ "$(compare -metric AE "$new" "$old" null: 2>&1)" = 0 ]; then
    say "$2.png (unverändert)"
  else
    mv "$new" "$old"
    say "$2.png"
  fi
}

samples=/usr/share/kovanta/samples

# Row N (1-based) of a recipe list at the left of the window: its y and the x of its name.
list_row_y() { echo $((162 + 22 * ($1 - 1))); }
list_name_x=110

# The plan of the menu plan pictures: five recipes ticked in the list, portions typed in the
# plan. Leaves the tab "Speiseplan" open.
make_plan() {
  key ctrl+Tab ctrl+Tab # Speiseplan
  local row
  for row in 7 10 2 15 14; do # Rindergulasch, Gemischter Salat, Tomatensuppe, Käsespätzle, Apfelstrudel
    double_click "$list_name_x" "$(list_row_y "$row")"
  done
  local portions=(80 80 120 60 60) i
  for i in 0 1 2 3 4; do
    click "$plan_portions_x" "$(plan_row_y $((i + 1)))"
    type_text "${portions[i]}" # replaces the cell's number
    key Return
  done
}
# The same plan as a file, as "Speiseplan speichern..." writes it, for the wider screens (where
# the plan's cells lie elsewhere) and the printout. Käsespätzle offers butter or margarine:
# the requirements carry the alternatives warning.
plan_file=/tmp/woche.plan
write_plan() {
  printf '%s\t%s\t%s\n' 80 "$samples/REZ01001.DAT" 0 80 "$samples/REZ09003.DAT" 1 \
    120 "$samples/REZ01009.DAT" 0 60 "$samples/REZ01002.DAT" 0 60 "$samples/REZ01004.DAT" 0 \
    >"$root$plan_file"
}

# Row N of the plan on "Speiseplan" (1120 x 780): its y, and the x of its portions.
plan_row_y() { echo $((136 + 22 * ($1 - 1))); }
plan_portions_x=800

# ---------------------------------------------------------------------------------------------
# The pictures, one function each, named as the file

shot_main_window() {
  start_screen 1120 780
  kovanta
  sleep 3 # "Programmstart" turns green
  park_mouse
  shot main-window
}

shot_recipe_list() {
  start_screen 1120 780
  kovanta
  programmstart
  park_mouse
  shot recipe-list
}

shot_quick_filter() {
  start_screen 1120 780
  kovanta
  programmstart
  key ctrl+f
  type_text suppe
  shot quick-filter
}

shot_verzeichnis_waehlen() {
  mkdir -p "$root/srv/rezepte/kantine"
  start_screen 1120 780
  kovanta
  programmstart
  key alt+o v     # Optionen / Verzeichnisse
  click 395 540   # Laufwerkspfad einfügen...
  type_text srv   # the tree's search by the first letters
  key Right       # srv opened
  key Down Right  # rezepte opened
  key Down        # kantine
  shot verzeichnis-waehlen
}

shot_verzeichnisse() {
  shot_verzeichnis_waehlen
  key Return    # OK: the folder is listed, without a tick
  click 325 189 # its tick
  shot verzeichnisse
}

shot_preview() {
  start_screen 1120 780
  kovanta
  programmstart
  key ctrl+Tab # Vorschau
  click "$list_name_x" "$(list_row_y 7)" # Rindergulasch
  drag 715 400 560 400                   # the splitter: a wider preview
  park_mouse
  shot preview
}

shot_preview_alternative() {
  start_screen 1120 780
  kovanta
  programmstart
  key ctrl+Tab
  click "$list_name_x" "$(list_row_y 15)" # Käsespätzle
  park_mouse
  shot preview-alternative
}

shot_plan_speiseplan() {
  start_screen 1120 780
  kovanta
  programmstart
  make_plan
  park_mouse
  shot plan-speiseplan
}

shot_plan_bedarfsliste() {
  start_screen 1120 780
  kovanta
  programmstart
  make_plan
  key ctrl+Tab # Bedarfsliste
  park_mouse
  shot plan-bedarfsliste
}

shot_grid_recipe_list() {
  start_screen 1120 780
  kovanta
  programmstart
  double_click 395 141 # the caption "Portionen"
  click "$list_name_x" "$(list_row_y 4)"
  park_mouse
  shot grid-recipe-list
}

shot_grid_menu_plan() {
  start_screen 1120 780
  kovanta
  programmstart
  make_plan
  double_click "$plan_portions_x" "$(plan_row_y 2)"
  park_mouse
  shot grid-menu-plan
}

shot_plan_close_question() {
  start_screen 1120 780
  kovanta
  programmstart
  make_plan
  key alt+F4
  sleep 1
  shot plan-close-question
}

shot_print_menu() {
  start_screen 1120 780
  kovanta
  programmstart
  key ctrl+Tab
  click "$list_name_x" "$(list_row_y 7)"
  key alt+d
  shot print-menu
}

shot_print_preview() {
  start_screen 1120 780
  kovanta
  programmstart
  key ctrl+Tab
  click "$list_name_x" "$(list_row_y 7)"
  key alt+d
  click 85 184 # Druckvorschau...
  sleep 2
  wmctrl -r :ACTIVE: -b add,maximized_vert,maximized_horz
  sleep 1
  shot print-preview
}

shot_layout_1366_preview() {
  start_screen 1366 768
  kovanta
  programmstart
  key ctrl+Tab
  click "$list_name_x" "$(list_row_y 1)" # Milchreis: its longest line does not fit
  park_mouse
  shot layout-1366-preview
}

shot_layout_1920_requirements() {
  write_plan
  start_screen 1920 1080
  kovanta "$plan_file" # opened after the read
  programmstart
  sleep 1
  click 306 51 # the tab "Bedarfsliste"
  park_mouse
  shot layout-1920-requirements
}

shot_layout_scale2_requirements() {
  start_screen 1600 1000
  write_plan
  start_kovanta QT_SCALE_FACTOR=2 kovanta "$plan_file"
  programmstart
  sleep 1
  click 614 84 # the tab "Bedarfsliste"
  park_mouse
  shot layout-scale2-requirements
}

# Page 1 of a PDF that `rezeptur print` writes in the root, at 80 dpi.
printout() { # NAME rezeptur-print-arguments...
  local name=$1
  shift
  in_root rezeptur print "$@" --pdf "/tmp/$name.pdf" >/dev/null || fail "rezeptur print $*"
  pdftoppm -r 80 -f 1 -l 1 -png -singlefile "$root/tmp/$name.pdf" "$work/$name"
  store "$work/$name.png" "$name"
}

shot_printout_recipe() { printout printout-recipe recipe "$samples/REZ01001.DAT" --portions 40; }
shot_printout_requirements() {
  write_plan
  printout printout-requirements requirements "$plan_file"
}

# ---------------------------------------------------------------------------------------------
# The import window: pages on a local web server, links dragged from a GTK drag source

web_pages() {
  local site=$work/site name file
  mkdir -p "$site"
  # A recipe page carries the lines of its recipe file, as the kitchen program publishes them.
  for name in rindergulasch:REZ01001 linseneintopf:REZ01007 apfelstrudel:REZ01004 \
    kaesespaetzle:REZ01002 erbsensuppe:REZ01003 seelachsfilet:REZ01006; do
    file=${name#*:}
    {
      printf '<html><body><pre>\r\n'
      sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/^/<LIVE-DATEN>/' "$root$samples/$file.DAT"
      printf '</pre></body></html>\r\n'
    } >"$site/${name%%:*}.htm"
  done
  # A menu plan page links its recipes (in the code page of the recipe files).
  sed 's/$/\r/' <<'EOF' | iconv -f UTF-8 -t CP1252 >"$site/speiseplan.htm"
<html><body>
<LIVE-INFO>Speiseplan
<LIVE-REZEPT>kaesespaetzle.htm Käsespätzle
<LIVE-REZEPT>erbsensuppe.htm Erbsensuppe
<LIVE-REZEPT>seelachsfilet.htm Seelachsfilet
</body></html>
EOF
  /usr/bin/python3 -u -m http.server --bind 127.0.0.1 --directory "$site" 0 >"$work/http.log" 2>&1 &
  pids+=($!)
  local i
  for i in $(seq 100); do grep -q ' port ' "$work/http.log" && break; sleep 0.2; done
  web=http://127.0.0.1:$(sed -n 's/.* port \([0-9]*\).*/\1/p' "$work/http.log" | head -n 1)
}

# A window of links, each a drag source as a browser offers it; it writes where each link is.
drag_source() { # "URL TITLE"...
  cat >"$work/links.py" <<'EOF'
import sys, gi
gi.require_version("Gtk", "3.0")
from gi.repository import Gtk, Gdk, GLib
where, links = sys.argv[1], sys.argv[2:]
win = Gtk.Window(title="Links")
box = Gtk.VBox()
win.add(box)
targets = [Gtk.TargetEntry.new(t, 0, i) for i, t in
           enumerate(["text/x-moz-url", "_NETSCAPE_URL", "text/uri-list", "text/plain"])]
buttons = []
for link in links:
    url, title = link.split(" ", 1)
    b = Gtk.Button(label=title)
    b.set_size_request(360, 40)
    b.drag_source_set(Gdk.ModifierType.BUTTON1_MASK, targets, Gdk.DragAction.COPY | Gdk.DragAction.LINK)
    def get(widget, context, data, info, time, url=url, title=title):
        text = [url + "\n" + title, url + "\n" + title, url + "\r\n", url][info]
        data.set(data.get_target(), 16 if info == 0 else 8,
                 text.encode("utf-16-le" if info == 0 else "utf-8"))
    b.connect("drag-data-get", get)
    box.pack_start(b, False, False, 0)
    buttons.append(b)
def report():
    with open(where, "w") as f:
        for b in buttons:
            _, x, y = b.get_window().get_origin()
            a = b.get_allocation()
            f.write("%d %d\n" % (x + a.x + a.width // 2, y + a.y + a.height // 2))
    return False
win.connect("destroy", Gtk.main_quit)
win.show_all()
win.move(700, 400)
GLib.timeout_add(800, report)
Gtk.main()
EOF
  rm -f "$work/links.at"
  /usr/bin/python3 "$work/links.py" "$work/links.at" "$@" >"$work/links.log" 2>&1 &
  pids+=($!)
  local i
  for i in $(seq 100); do [ -s "$work/links.at" ] && break; sleep 0.2; done
  [ -s "$work/links.at" ] || fail "Linkfenster startet nicht"
}

# Drags link N of the drag source onto the point X Y, as a hand would.
drag_link() { # N X Y
  local at
  at=$(sed -n "$1p" "$work/links.at")
  xdotool mousemove "${at% *}" "${at#* }" mousedown 1
  local step
  for step in 1 2 3 4 5 6 7 8; do
    xdotool mousemove $(( ${at% *} + ($2 - ${at% *}) * step / 8 )) $(( ${at#* } + ($3 - ${at#* }) * step / 8 ))
    sleep 0.1
  done
  xdotool mouseup 1
  sleep 2
}

import_window() {
  start_screen 1120 780
  web_pages
  kovanta
  programmstart
  key alt+d
  click 80 70 # Web-Rezepte...
  sleep 1
}

shot_import_window_empty() {
  import_window
  shot import-window-empty window
}

shot_import_window_lines() {
  import_window
  local win
  win=$(xdotool getactivewindow)
  drag_source "$web/rindergulasch.htm Rindergulasch" "$web/linseneintopf.htm Linseneintopf" \
    "$web/apfelstrudel.htm Apfelstrudel" "$web/speiseplan.htm Speiseplan der Woche"
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$win" | grep -e '^X=' -e '^Y=')"
  local n
  for n in 1 2 3 4; do drag_link "$n" $((X + 100)) $((Y + 100)); done
  xdotool windowactivate --sync "$win"
  click $((X + 60)) $((Y + 30)) # line 1
  xdotool keydown ctrl
  click $((X + 60)) $((Y + 58)) # and line 3
  xdotool keyup ctrl
  park_mouse
  shot import-window-lines window
}

# ---------------------------------------------------------------------------------------------

all=(main-window recipe-list quick-filter verzeichnis-waehlen verzeichnisse preview
     preview-alternative plan-speiseplan plan-bedarfsliste grid-recipe-list grid-menu-plan
     plan-close-question print-menu print-preview layout-1366-preview layout-1920-requirements
     layout-scale2-requirements printout-recipe printout-requirements import-window-empty
     import-window-lines)
[ ${#only[@]} -gt 0 ] || only=("${all[@]}")
for name in "${only[@]}"; do
  declare -F "shot_${name//-/_}" >/dev/null || fail "kein Bild $name"
done
if xdpyinfo >/dev/null 2>&1; then fail "Anzeige $DISPLAY ist schon belegt (--display)"; fi

started=$SECONDS
make_root
install_package
for name in "${only[@]}"; do
  "shot_${name//-/_}"
  stop_all
done
say "${#only[@]} Bilder in $((SECONDS - started)) s"

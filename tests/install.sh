#!/usr/bin/env bash
# Installs a built Velk into a scratch prefix, checks its desktop entry and
# icon, and starts the installed velk on a virtual X server of its own: its
# splash must show the picture from share/velk, at the picture's own size also
# in a larger window, and carry the application's icon.
#   tests/install.sh path/to/build
# Needs desktop-file-validate (desktop-file-utils), Xvfb, xdotool, xwininfo and
# xprop (x11-utils), and ImageMagick's import.
set -euo pipefail

build=${1:?usage: $0 path/to/build}
source "$(dirname "$0")/xsession.sh"
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 ||
    fail "cmake --install failed: $(cat "$work/install.log")"
entry=$prefix/share/applications/velk.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects $entry"
icon=$(sed -n 's/^Icon=//p' "$entry")
[ -f "$prefix/share/icons/hicolor/256x256/apps/$icon.png" ] || fail "no icon \"$icon\" in the icon theme"
echo "installed: $(cd "$prefix" && find . -type f | sort | tr '\n' ' ')"

start_xvfb
"$prefix/bin/velk" >"$work/velk.log" 2>&1 &
velk_pid=$!
splash_up() { splash=$(xdotool search --onlyvisible --pid "$velk_pid" 2>/dev/null | head -n1) && [ -n "$splash" ]; }
wait_until 20000 splash_up || fail "the installed velk mapped no window within 20 s"

# The menu bar stands above the splash's 350-pixel content.
menu_height=$(($(xwininfo -id "$splash" | awk '/^ *Height:/ { print $2 }') - 350))
wait_until 10000 shows_picture "$splash" "$menu_height" || fail "the installed velk's splash shows no picture"
echo "the splash shows the picture from share/velk"

# Grown by 300 pixels each way, the canvas grows with it; the picture keeps
# its place and size, and beside it lies the window's own background.
xdotool windowsize "$splash" 700 $((menu_height + 650))
background=$(pixel "$splash" 5 $((menu_height + 5)))
unstretched() { shows_picture "$splash" "$menu_height" && [ "$(pixel "$splash" 351 $((menu_height + 306)))" = "$background" ]; }
wait_until 10000 unstretched || fail "the picture is stretched in the grown splash"
echo "the picture keeps its own size in a grown splash"

[ "$(xprop -id "$splash" -len 16 -f _NET_WM_ICON 32c -notype _NET_WM_ICON)" = "_NET_WM_ICON = 256, 256" ] ||
    fail "the splash carries no 256 x 256 icon"
echo "the splash carries the application's icon"
echo "PASS"

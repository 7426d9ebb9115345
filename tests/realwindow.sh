#!/usr/bin/env bash
# Starts the built Velk on a virtual X server of its own, with a window
# manager and an accessibility bus, and checks from outside what a user sees:
# the splash with its picture, the calculator in its place after four
# seconds, the worked example typed at once through the X server, the About
# window minimised and brought back, and a clean end on Ctrl+Q; and first,
# what velk says with no display at all.
#   tests/realwindow.sh path/to/velk
# Needs Xvfb, openbox, xdotool, xwininfo and xprop (x11-utils), ImageMagick's
# import, dbus-daemon, at-spi2-core and python3-pyatspi.
set -euo pipefail

velk=${1:?usage: $0 path/to/velk}
atspi="$(dirname "$0")/atspi.py"
source "$(dirname "$0")/xsession.sh"

for tool in Xvfb openbox xdotool xwininfo xprop import dbus-daemon dbus-send; do
    command -v "$tool" >/dev/null || fail "$tool is missing; ./build.sh test installs it"
done
usage_status=0
"$atspi" 2>/dev/null || usage_status=$?
[ "$usage_status" -eq 2 ] || fail "$atspi does not run; ./build.sh test installs python3-pyatspi"
[ -x "$velk" ] || fail "no executable at $velk"

# Running, and not a zombie waiting for its status to be read.
velk_running() { [ -e "/proc/$velk_pid" ] && ! grep -q '^[0-9]* (.*) Z' "/proc/$velk_pid/stat"; }

# Velk's top-level windows that are mapped (viewable), one id a line.
mapped_windows() { xdotool search --onlyvisible --pid "$velk_pid" 2>/dev/null || true; }

# "WIDTHxHEIGHT" of a top-level window: content plus menu bar, without the
# window manager's frame.
size_of() {
    xwininfo -id "$1" | awk '/^ *Width:/ { w = $2 } /^ *Height:/ { h = $2 } END { print w "x" h }'
}

# The title as the window sets it (WM_NAME). Qt also sets _NET_WM_NAME, which
# falls back to the application's name for a window without a title.
title_of() { xprop -id "$1" -notype WM_NAME | sed -n 's/^WM_NAME = "\(.*\)"$/\1/p'; }

# The window of the given width among the mapped ones, if exactly one is.
mapped_window_of_width() { # width
    local window found=()
    for window in $(mapped_windows); do
        [ "$(size_of "$window" | cut -dx -f1)" = "$1" ] && found+=("$window")
    done
    [ ${#found[@]} -eq 1 ] && echo "${found[0]}"
}

# Whether the window manager shows the window normally or as an icon.
wm_state_of() { xprop -id "$1" WM_STATE 2>/dev/null | sed -n 's/^[[:space:]]*window state: //p'; }

# Clicks the middle of what the accessibility bus shows as ROLE NAME.
click_on() { # role name
    local found x y w h
    found=$("$atspi" find Velk "$1" "$2") || return 1
    read -r x y w h <<<"$(cut -f3 <<<"$found")"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1
}

# Whether the bus shows an Edit title inside the menu bar of the frame of that
# width: Qt keeps one accessible object per action, and a shared one shows once.
edit_title_in_bar_of() { # frame width
    "$atspi" dump Velk | awk -F'\t' -v width="$1" '
        /^frame\t/ { split($3, frame, " "); delete bar }
        /^  menu bar\t/ { split($3, bar, " ") }
        /^    menu item\tEdit\t/ && frame[3] == width && bar[1] == frame[1] && bar[2] == frame[2] {
            split($3, title, " ")
            found = found || (title[1] >= bar[1] && title[2] >= bar[2] &&
                title[1] + title[3] <= bar[1] + bar[3] && title[2] + title[4] <= bar[2] + bar[4])
        }
        END { exit !found }'
}

# Window > About Velk in the calculator's menu bar, by mouse.
choose_about_velk() {
    click_on "menu item" Window && wait_until 2000 click_on "menu item" "About Velk" ||
        fail "no Window > About Velk to click: $("$atspi" dump Velk)"
}

# --- With no display, or one that cannot be reached, velk says so on one
# line and exits with status 1.
for display in "" ":$((RANDOM + 1000))"; do
    status=0
    said=$(env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY="$display" "$velk" 2>&1) || status=$?
    cause=${display:+$display cannot be reached}
    [ "$status" -eq 1 ] && [ "$said" = "velk: no display to open its windows on: ${cause:-DISPLAY is not set}" ] ||
        fail "with DISPLAY '$display' velk ended with status $status, saying: $said"
done

start_xvfb

# --- Qt names a platform it cannot load, not velk's no-display line; status 1.
status=0
said=$(QT_QPA_PLATFORM=bogus "$velk" 2>&1) || status=$?
[ "$status" -eq 1 ] && grep -q 'platform plugin "bogus"' <<<"$said" && ! grep -q 'no display' <<<"$said" ||
    fail "with QT_QPA_PLATFORM=bogus velk ended with status $status, saying: $said"

start_accessibility_bus
start_window_manager

# --- The splash comes first, alone.
"$velk" >"$work/velk.log" 2>&1 &
velk_pid=$!
splash_up() { [ "$(mapped_windows | wc -l)" -ge 1 ] || { velk_running || fail "velk ended at start-up"; false; }; }
wait_until 20000 splash_up || fail "no window was mapped within 20 s of start-up"
splash_seen=$(now_ms)
splash=$(mapped_window_of_width 400) ||
    fail "the first window is not the 400-wide splash: $(for w in $(mapped_windows); do size_of "$w"; done)"
[ "$(mapped_windows | wc -l)" -eq 1 ] || fail "the splash is not the only window mapped at start-up"
[ "$(title_of "$splash")" != "Velk" ] || fail "a window titled Velk is mapped before the splash went"

menu_height=$(($(size_of "$splash" | cut -dx -f2) - 350))
[ "$menu_height" -gt 0 ] && [ "$menu_height" -lt 100 ] ||
    fail "the splash is $(size_of "$splash"), not a 400 x 350 content area below a menu bar"
echo "splash mapped: $(size_of "$splash") (menu bar $menu_height px)"
wait_until 2000 edit_title_in_bar_of 400 || fail "the splash's menu bar shows no Edit: $("$atspi" dump Velk)"

# --- The picture beside the executable fills the splash's canvas.
wait_until 10000 shows_picture "$splash" "$menu_height" ||
    fail "the splash shows no picture; beside $velk: $(ls "$(dirname "$velk")/resources" 2>&1)"
echo "splash shows the picture"

# --- After four seconds the calculator takes the splash's place, not much
# earlier: the splash was mapped after the timer started, so 2500 ms leave room
# for a slow start-up.
calculator_up() {
    velk_running || fail "velk ended while the splash was up"
    [ -n "$(mapped_window_of_width 500)" ]
}
wait_until 12000 calculator_up ||
    fail "no 500-wide calculator window within 12 s of the splash; mapped:" \
        "$(for w in $(mapped_windows); do size_of "$w"; done)"
elapsed=$(($(now_ms) - splash_seen))
calculator=$(mapped_window_of_width 500)
echo "calculator mapped $elapsed ms after the splash was seen"
[ "$elapsed" -ge 2500 ] || fail "the calculator came $elapsed ms after the splash, well before 4000 ms"
[ "$(size_of "$calculator")" = "500x$((400 + menu_height))" ] ||
    fail "the calculator is $(size_of "$calculator"), not a 500 x 400 content area below the" \
        "$menu_height px menu bar"
[ "$(title_of "$calculator")" = "Velk" ] ||
    fail "the calculator's title is \"$(title_of "$calculator")\", not \"Velk\""
splash_gone() { [ -z "$(mapped_window_of_width 400)" ]; }
wait_until 2000 splash_gone || fail "the splash is still mapped beside the calculator"
[ "$(mapped_windows | wc -l)" -eq 1 ] || fail "more than the calculator is mapped after the splash"
wait_until 2000 edit_title_in_bar_of 500 ||
    fail "the calculator's menu bar shows no Edit of its own: $("$atspi" dump Velk)"
echo "each window's menu bar shows its own titles"

# --- The worked example typed at once, with no click: the calculator has the
# keyboard and Test A waits for its digits. The bus shows the result field
# under the name of its caption.
xdotool type 86
xdotool key Tab
xdotool type 40
xdotool key Return
result() { "$atspi" find Velk text "Maximum Validity" | cut -f4; }
shows_587() { [ "$(result)" = ".587" ]; }
wait_until 5000 shows_587 ||
    fail "86, Tab, 40, Return typed at once show \"$(result)\", not \".587\":" "$("$atspi" dump Velk)"
echo "86, Tab, 40, Return typed at once show .587"

# --- A middle click pastes the X selection as one number: Test A's .86,
# selected by keyboard, clicked into Test B, then Return.
xdotool key shift+Tab ctrl+a
read -r x y w h <<<"$("$atspi" find Velk text "Reliability of Test B" | cut -f3)"
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 2 key Return
shows_860() { [ "$(result)" = ".860" ]; }
wait_until 5000 shows_860 || fail "Test A's .86 middle-clicked into Test B shows \"$(result)\", not \".860\""

# --- The About window, minimised, comes back through About Velk.
choose_about_velk
about_up() { [ -n "$(mapped_window_of_width 400)" ] && [ "$(wm_state_of "$(mapped_window_of_width 400)")" = Normal ]; }
wait_until 5000 about_up || fail "About Velk shows no About window"
about=$(mapped_window_of_width 400)
xdotool windowminimize "$about"
# Minimised, or hidden as well: the calculator, active again, hides it.
about_minimised() { [ "$(wm_state_of "$about")" != Normal ]; }
wait_until 5000 about_minimised || fail "the About window did not minimise"
choose_about_velk
wait_until 5000 about_up ||
    fail "About Velk leaves the minimised About window $(wm_state_of "$about")"
echo "About Velk brings the minimised About window back"

# --- The X selection holds Test A's number as shown, without its blanks:
# middle-clicked into the start of the help text, it stands before its first word.
timeout 10 xdotool windowactivate --sync "$calculator" && click_on "push button" "?" || fail "no ? to click"
help_text() { "$atspi" find Velk text Formula | cut -f"$1"; }
wait_until 5000 help_text 3 >/dev/null || fail "? opens no help text: $("$atspi" dump Velk)"
read -r x y _ <<<"$(help_text 3)"
xdotool mousemove $((x + 3)) $((y + 3)) click 2
pasted_86() { [[ "$(help_text 4)" == .86Score* ]]; }
wait_until 5000 pasted_86 || fail "the X selection pastes \"$(help_text 4 | cut -c1-12)\" into the help text"

# --- Ctrl+Q in the calculator window (File > Quit) ends Velk with status 0.
timeout 10 xdotool windowactivate --sync "$calculator" || fail "the calculator window did not become active"
xdotool key --clearmodifiers ctrl+q
velk_ended() { ! velk_running; }
wait_until 10000 velk_ended || fail "velk still runs 10 s after Ctrl+Q"
status=0
wait "$velk_pid" || status=$?
velk_pid=
[ "$status" -eq 0 ] || fail "velk ended with status $status after Ctrl+Q"
echo "Ctrl+Q ended velk with status 0"
echo "PASS"

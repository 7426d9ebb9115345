# Sourced by the tests that start a built velk on a virtual X server of its
# own: a scratch folder $work, removed at the end along with velk ($velk_pid)
# and what was started for it; fail; the waits and looks the tests share; the
# server, a session and accessibility bus, a window manager.

work=$(mktemp -d)
xvfb_pid=
dbus_pid=
wm_pid=
velk_pid=

cleanup() {
    local pid
    for pid in "$velk_pid" "$wm_pid" "$dbus_pid" "$xvfb_pid"; do
        [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -s "$work/velk.log" ]; then
        echo "--- what velk printed:" >&2
        cat "$work/velk.log" >&2
    fi
    exit 1
}

now_ms() { date +%s%3N; }

# Polls the command every 50 ms until it succeeds or the time runs out.
wait_until() { # milliseconds, command...
    local deadline=$(($(now_ms) + $1))
    shift
    until "$@"; do
        [ "$(now_ms)" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# "R G B" of one pixel of a window, at x, y from its top-left corner.
pixel() { # window x y
    import -window "$1" -format "%[fx:int(255*p{$2,$3}.r)] %[fx:int(255*p{$2,$3}.g)] %[fx:int(255*p{$2,$3}.b)]" info:
}

# Whether the splash shows its picture, a blue disc left and an orange one
# right in the canvas at 69, 20 below the menu bar; both white without it.
shows_picture() { # window menu-bar-height
    local r _ b
    read -r r _ b <<<"$(pixel "$1" 119 $(($2 + 153)))"
    [ $((b - r)) -gt 50 ] || return 1
    read -r r _ b <<<"$(pixel "$1" 281 $(($2 + 153)))"
    [ $((r - b)) -gt 50 ]
}

# Starts Xvfb on a free display, for this script and what it starts.
start_xvfb() {
    mkfifo "$work/displayfd"
    Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/displayfd" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    local display
    display=$(timeout 20 head -n1 "$work/displayfd") || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
    export DISPLAY=":$display"
    mkdir -m 700 "$work/runtime"
    export XDG_RUNTIME_DIR="$work/runtime"
    unset QT_QPA_PLATFORM
}

# A session bus of our own with the accessibility bus on it, which Qt joins
# when it is there and never starts itself.
start_accessibility_bus() {
    mkfifo "$work/dbusfd"
    dbus-daemon --session --nofork --print-address=3 3>"$work/dbusfd" >"$work/dbus.log" 2>&1 &
    dbus_pid=$!
    DBUS_SESSION_BUS_ADDRESS=$(timeout 20 head -n1 "$work/dbusfd") || fail "no dbus-daemon: $(cat "$work/dbus.log")"
    export DBUS_SESSION_BUS_ADDRESS QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
    dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null ||
        fail "the accessibility bus did not start"
}

# openbox, for focus, frames and minimising as a desktop has them.
start_window_manager() {
    openbox --sm-disable >"$work/openbox.log" 2>&1 &
    wm_pid=$!
    wm_up() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
    wait_until 10000 wm_up || fail "openbox did not start: $(cat "$work/openbox.log")"
}

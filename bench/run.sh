#!/usr/bin/env bash
# Measures Velk's start-up against the same splash window written directly in
# Qt (plainsplash) and the floor of its stack (floor, a bare Qt 6 Widgets
# window; floortext is the floor with one line of text), each program run as
# a desktop runs it: on an X display of its own (Xvfb) with a session bus of
# its own (dbus-daemon). It measures
#   - the instructions from exec to the first frame, under callgrind;
#   - the time from process start to the window mapped and drawn, the peak
#     resident memory and the anonymous memory, over interleaved runs;
#   - inside Velk's process, the time from a Calculate click to the result.
#   bench/run.sh                  21 rounds, 3 callgrind runs of each program
#   RUNS=51 bench/run.sh          more rounds (CALLGRIND_RUNS likewise)
#   BUILD_DIR=dir bench/run.sh    another build folder (default build-bench)
#   JOBS=3 bench/run.sh           fewer build jobs (default: one per CPU)
#   KEEP_SAMPLES=dir bench/run.sh keeps every run's figures in dir
# Not a test: CTest does not know it. Installs what is missing from Debian's
# packages first (as root), or says the exact line to run.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
warmups=${WARMUPS:-3}
callgrind_runs=${CALLGRIND_RUNS:-3}
clicks=${CLICKS:-2001}
build=${BUILD_DIR:-build-bench}
jobs=${JOBS:-$(nproc)}
packages=(cmake g++ make qt6-base-dev xvfb libx11-dev libxdamage-dev dbus valgrind python3)

source scripts/ensure_packages.sh

ensure_packages "${packages[@]}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_BUILD_BENCH=ON -DBUILD_TESTING=OFF \
    >/dev/null
cmake --build "$build" -j "$jobs" --target velk floor floortext plainsplash exposewatch \
    clicktoresult >/dev/null
bin=$(cd "$build/bin" && pwd)

work=$(mktemp -d)
xvfb_pid=
bus_pid=
cleanup() {
    for pid in $bus_pid $xvfb_pid; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
    done
    rm -rf "$work"
}
trap cleanup EXIT

# Waits up to 10 s for a server started in the background to write its first
# line (its address) to the file, or shows its log and gives up.
await_address() { # file, log, name
    for _ in $(seq 100); do
        grep -q . "$1" 2>/dev/null && return
        sleep 0.1
    done
    cat "$2" >&2
    echo "$3 did not start" >&2
    exit 1
}

# Xvfb picks a free display number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
await_address "$work/display" "$work/xvfb.log" Xvfb

# A desktop has a session bus. Without one, Qt forks dbus-launch to look for
# it as soon as a program shows a menu bar or text, and waits for it.
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$work/bus" 2>"$work/bus.log" &
bus_pid=$!
await_address "$work/bus" "$work/bus.log" dbus-daemon

# Every program gets the same environment: the X display, the bus and nothing
# else of the caller's Qt settings.
mkdir -m 700 "$work/runtime"
environment=(-u QT_QPA_PLATFORM -u QT_SCALE_FACTOR DISPLAY=":$(head -1 "$work/display")"
    DBUS_SESSION_BUS_ADDRESS="$(head -1 "$work/bus")" XDG_RUNTIME_DIR="$work/runtime")
measure() { # program
    env "${environment[@]}" "$bin/exposewatch" "$bin/$1" 2>>"$work/programs.log" || {
        tail -n 20 "$work/programs.log" >&2
        exit 1
    }
}

# Counts the user-space instructions from exec until the first frame has
# gone to the window (callgrind dumps when QBackingStore::flush returns for
# the first time), then ends the program.
instructions() { # program
    local out="$work/callgrind.$1"
    rm -f "$out" "$out".*
    env "${environment[@]}" valgrind --tool=callgrind --dump-after='QBackingStore::flush*' \
        --callgrind-out-file="$out" "$bin/$1" >/dev/null 2>>"$work/programs.log" &
    local pid=$!
    for _ in $(seq 1200); do
        grep -q '^totals:' "$out.1" 2>/dev/null && break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
    grep '^totals:' "$out.1" | cut -d' ' -f2 || {
        tail -n 20 "$work/programs.log" >&2
        echo "$1 drew no frame under callgrind" >&2
        exit 1
    }
}

programs=(velk floor floortext plainsplash)
# The first runs fill the font and page caches; they are not counted.
for _ in $(seq "$warmups"); do
    for program in "${programs[@]}"; do
        measure "$program" >/dev/null
    done
done
# Each run starts with the next program in turn, so that none always follows
# the same one.
for i in $(seq "$runs"); do
    for j in "${!programs[@]}"; do
        program=${programs[(i + j) % ${#programs[@]}]}
        measure "$program" >>"$work/$program"
    done
done
for _ in $(seq "$callgrind_runs"); do
    for program in "${programs[@]}"; do
        instructions "$program" >>"$work/$program.ir"
    done
done
if [ -n "${KEEP_SAMPLES:-}" ]; then
    mkdir -p "$KEEP_SAMPLES"
    for program in "${programs[@]}"; do
        cp "$work/$program" "$work/$program.ir" "$KEEP_SAMPLES/"
    done
fi

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')," \
    "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory"
echo "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)," \
    "Xvfb $(dpkg-query -W -f='${Version}' xvfb), valgrind $(valgrind --version | sed 's/valgrind-//')," \
    "$build (RelWithDebInfo), session bus: private dbus-daemon"
echo "Start-up: $runs interleaved rounds after $warmups warm-up rounds; $callgrind_runs callgrind runs each"
echo
python3 bench/summarize.py "$work"

echo
echo "Click to result, in process (offscreen), Test A .86, Test B .40:"
env "${environment[@]}" QT_QPA_PLATFORM=offscreen "$bin/clicktoresult" "$clicks" \
    2>>"$work/programs.log" | grep -v '^warm-up'

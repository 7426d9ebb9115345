#!/usr/bin/env bash
# Measures Velk against the floor of its stack (a bare Qt 6 Widgets window):
# the time from process start to the splash window mapped and drawn on an X
# display of its own (Xvfb), peak resident memory, and, inside Velk's
# process, the time from a Calculate click to the result. Two references sit
# beside them: the floor with one line of text (floortext) and Velk's splash
# written directly in Qt (plainsplash).
#   bench/run.sh                  21 runs of each program, medians
#   RUNS=51 bench/run.sh          more runs
#   BUILD_DIR=dir bench/run.sh    another build folder (default build-bench)
#   KEEP_SAMPLES=dir bench/run.sh keeps every run's figures in dir
# Not a test: CTest does not know it. Installs what is missing from Debian's
# packages first (as root), or says the exact line to run.
set -euo pipefail
cd "$(dirname "$0")/.."

runs=${RUNS:-21}
warmups=${WARMUPS:-3}
clicks=${CLICKS:-2001}
build=${BUILD_DIR:-build-bench}
packages=(cmake g++ make qt6-base-dev xvfb libx11-dev libxdamage-dev)

source scripts/ensure_packages.sh

median() { # column number, file
    sort -g -k "$1,$1" "$2" | awk -v c="$1" '{ v[NR] = $c } END {
        if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

ensure_packages "${packages[@]}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELK_BUILD_BENCH=ON -DBUILD_TESTING=OFF \
    >/dev/null
cmake --build "$build" -j "$(nproc)" --target velk floor floortext plainsplash exposewatch \
    clicktoresult >/dev/null
bin=$(cd "$build/bin" && pwd)

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display number and writes it once it accepts clients.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q . "$work/display" 2>/dev/null && break
    sleep 0.1
done
grep -q . "$work/display" || { cat "$work/xvfb.log" >&2; echo "Xvfb did not start" >&2; exit 1; }

# Every program gets the same environment: the X display and nothing else of
# the caller's Qt settings.
mkdir -m 700 "$work/runtime"
measure() { # program
    env -u QT_QPA_PLATFORM -u QT_SCALE_FACTOR DISPLAY=":$(head -1 "$work/display")" \
        XDG_RUNTIME_DIR="$work/runtime" "$bin/exposewatch" "$bin/$1" 2>>"$work/programs.log" || {
        tail -n 20 "$work/programs.log" >&2
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
if [ -n "${KEEP_SAMPLES:-}" ]; then
    mkdir -p "$KEEP_SAMPLES"
    for program in "${programs[@]}"; do
        cp "$work/$program" "$KEEP_SAMPLES/$program"
    done
fi

# exposewatch prints: map_ms drawn_ms first_damage_ms vmhwm_kb maxrss_kb
row() { # label, column
    local v f
    v=$(median "$2" "$work/velk")
    f=$(median "$2" "$work/floor")
    printf '%-36s %9s %9s %7s %12s %12s\n' "$1" "$v" "$f" "$(ratio "$v" "$f")" \
        "$(median "$2" "$work/floortext")" "$(median "$2" "$work/plainsplash")"
}

echo "Machine: $(nproc) CPUs, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')," \
    "$(awk '/MemTotal/ { printf "%.1f GiB", $2 / 1048576 }' /proc/meminfo) memory"
echo "Qt $(dpkg-query -W -f='${Version}' libqt6core6 2>/dev/null || echo unknown)," \
    "Xvfb $(dpkg-query -W -f='${Version}' xvfb), $build (RelWithDebInfo)"
echo "Start-up: medians of $runs runs each, after $warmups warm-up runs"
printf '%-36s %9s %9s %7s %12s %12s\n' "" Velk floor ratio "floor+text" "plain splash"
row "start to window mapped (ms)" 1
row "start to window drawn (ms)" 2
row "peak resident, VmHWM at drawn (KiB)" 4
row "peak resident, ru_maxrss (KiB)" 5

echo
echo "Click to result, in process (offscreen), Test A .86, Test B .40:"
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" "$bin/clicktoresult" "$clicks" \
    2>>"$work/programs.log" | grep -v '^warm-up'

#!/usr/bin/env bash
# The show inside a window lent by XScreenSaver. With XSCREENSAVER_WINDOW naming a window, "/s" draws
# into that window, at its size, in the background colour, and opens no window of its own; it follows
# the window's size and ends when the window goes. A variable that names no window leaves the ordinary
# full-screen show.
#
# Usage: hosting.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the stand-in host program
# (vantelo_foreign_window).
set -euo pipefail

program=$(realpath "$1")
host_program=${VANTELO_FOREIGN_WINDOW:?VANTELO_FOREIGN_WINDOW must name the stand-in host program}

# A black root window (-br), so that whatever the show draws outside the host's window shows up.
if [ -z "${VANTELO_HOSTING_TEST_DISPLAY:-}" ]; then
    export VANTELO_HOSTING_TEST_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 800x600x24 -br -nolisten tcp -noreset" bash "$0" "$@"
fi

work=$(mktemp -d)
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass()
{
    echo "ok: $*"
}

# Background colour red 32, green 96, blue 160, stored as red + green * 256 + blue * 65536; no slide
# list, so the show is the background alone and raises no message.
show_colour=2060A0
mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
printf '[Settings]\nBackColor=%d\n' $((0x20 + 0x60 * 256 + 0xA0 * 65536)) >"$work/config/Personal Vantelo.conf"
run_env=(env XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb)

# Starts the show with the given host variable; its pid lands in $show.
start_show()
{
    "${run_env[@]}" XSCREENSAVER_WINDOW="$1" "$program" /s >>"$work/program.log" 2>&1 &
    show=$!
    pids+=("$show")
}

# Starts a stand-in host window: width height left top; its id lands in $host, its pid in $host_pid.
start_host()
{
    "$host_program" "$@" 00FF00 >"$work/host.id" &
    host_pid=$!
    pids+=("$host_pid")
    host=""
    for _ in $(seq 100); do
        host=$(head -n 1 "$work/host.id")
        [ -n "$host" ] && return 0
        sleep 0.1
    done
    echo "FAIL: the stand-in host window did not appear"
    exit 1
}

# True when the screen area width height left top is entirely of the colour RRGGBB.
filled_with()
{
    import -window root "$work/screen.png" 2>/dev/null || return 1
    local colours
    colours=$(convert "$work/screen.png" -crop "$1x$2+$3+$4" +repage -unique-colors -depth 8 txt:- |
        grep -o '#[0-9A-Fa-f]\{6\}' | tr a-f A-F)
    [ "$colours" = "#$5" ]
}

# Retries filled_with for up to 30 s: the show draws when it is ready.
becomes_filled()
{
    for _ in $(seq 150); do
        filled_with "$@" && return 0
        sleep 0.2
    done
    return 1
}

ends_within_30s()
{
    for _ in $(seq 300); do
        kill -0 "$1" 2>/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# --- drawn into the host's window --------------------------------------------------------------
start_host 320 200 40 30
start_show "$host"
if becomes_filled 320 200 40 30 "$show_colour"; then
    pass "the show fills the host's window in its background colour"
else
    fail "the host's window is not filled with the background colour"
fi
filled_with 800 170 0 430 000000 || fail "the show drew below the host's window"
filled_with 440 200 360 30 000000 || fail "the show drew beside the host's window"
if xwininfo -root -children | grep -qF '"Personal Vantelo"'; then
    fail "the show opened a window of its own"
fi
children=$(xwininfo -id "$host" -children)
echo "$children" | grep -q '^ *1 child:' || fail "the host's window does not hold exactly one child: $children"
echo "$children" | grep -q ' 320x200+0+0 ' || fail "the show's window does not cover the host's: $children"
kill -0 "$show" 2>/dev/null || fail "the show ended by itself"

xdotool windowsize "$host" 400 260
if becomes_filled 400 260 40 30 "$show_colour"; then
    pass "the show follows the host's new size"
else
    fail "after the host grew, its window is not filled with the background colour"
fi

kill "$host_pid"
if ends_within_30s "$show"; then
    pass "the show ends when the host's window goes"
else
    fail "the show keeps running without its host's window"
    kill "$show" 2>/dev/null || true
fi
wait "$show" 2>/dev/null || true

# --- no usable host: the ordinary full-screen show ---------------------------------------------
for value in nonsense 0x7ffffff0; do
    start_show "$value"
    if becomes_filled 800 600 0 0 "$show_colour"; then
        pass "XSCREENSAVER_WINDOW=$value: the ordinary full-screen show"
    else
        fail "XSCREENSAVER_WINDOW=$value: the screen is not covered in the background colour"
    fi
    kill "$show" 2>/dev/null || true
    wait "$show" 2>/dev/null || true
done

if [ "$failures" -ne 0 ]; then
    echo "--- program output:"
    cat "$work/program.log"
    echo "$failures check(s) failed"
    exit 1
fi
echo "all hosting checks passed"

#!/usr/bin/env bash
# The real program under Xvfb, driven by the mouse and keyboard at the controls' design positions:
# two pictures go into the slide list with "===>", "Save List" writes them to a name typed into the
# real save dialog, and the saved file and the stored setting "File" are then checked.
set -euo pipefail
program="$(realpath "$1")"
work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
    # Each is waited for, so the next run never meets a server still letting go of its display.
    [ -n "$program_pid" ] && { kill "$program_pid" 2>/dev/null; wait "$program_pid" 2>/dev/null; } || true
    [ -n "$xvfb_pid" ] && { kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; } || true
    rm -rf "$work"
}
trap cleanup EXIT
fail() {
    echo "$*" >&2
    [ -s "$work/program.log" ] && sed 's/^/program: /' "$work/program.log" >&2
    exit 1
}

# Waits up to $1 tenths of a second for the command that follows to succeed.
wait_for() {
    local tries="$1"
    shift
    for _ in $(seq "$tries"); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

mkdir -p "$work/pictures" "$work/lists" "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
pictures="$(cd "$work/pictures" && pwd -P)"
convert -size 64x48 xc:red "$pictures/alpha.jpg"
convert -size 30x40 xc:blue "$pictures/beta.jpg"
list="$(cd "$work/lists" && pwd -P)/holiday.vtl"

# -noreset: the probe below is the server's first client, and a server that resets when it leaves
# refuses the program for a moment.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
wait_for 100 test -s "$work/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
wait_for 100 xdpyinfo >/dev/null 2>&1 || fail "Xvfb does not answer"

# The browser opens at the process's folder, listing the two pictures.
(cd "$pictures" && XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    exec "$program" /c) >"$work/program.log" 2>&1 &
program_pid=$!

find_window() { xdotool search --name "$1" 2>/dev/null | head -n1; }
window=""
has_window() { window="$(find_window '^Personal Vantelo Creator$')"; [ -n "$window" ]; }
wait_for 200 has_window || fail "the configuration window did not open"
wait_for 50 xdotool getwindowgeometry "$window" >/dev/null 2>&1 || fail "the window has no geometry"
sleep 1 # let it paint and settle before the first click

click_at() { xdotool mousemove --window "$window" "$1" "$2" click 1; sleep 0.5; }

# The first entry of the file list (the frame at 4,4 holds the list at 8,156), then every entry.
click_at 50 168
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl+a
sleep 0.3
click_at 268 272 # "===>" at 244,264, 49 x 17
click_at 392 304 # "Save List" at 364,292, 57 x 25

dialog=""
has_dialog() { dialog="$(find_window '^Save As$')"; [ -n "$dialog" ]; }
wait_for 200 has_dialog || fail "the save dialog did not open"
sleep 1
# The dialog opens with its file-name field focused: type the path there and accept it.
xdotool type --delay 40 "$list"
sleep 0.5
xdotool key Return

wait_for 200 test -s "$list" || fail "no list was saved to $list"
settings="$work/config/Personal Vantelo.conf"
stored() { grep -qxF "File=$list" "$settings" 2>/dev/null; }
wait_for 100 stored || fail "the setting File does not name $list: $(cat "$settings" 2>/dev/null)"

printf ' 2 \r\n1 | %s/ | alpha.jpg | 48 X 64 | \r\n2 | %s/ | beta.jpg | 40 X 30 | \r\n' \
    "$pictures" "$pictures" >"$work/expected.vtl"
cmp "$work/expected.vtl" "$list" || {
    od -c "$list" >&2
    fail "the saved list differs from the expected bytes"
}
kill -0 "$program_pid" 2>/dev/null || fail "the program ended"
echo "two pictures added and saved as $list"

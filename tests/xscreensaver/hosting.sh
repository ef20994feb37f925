#!/usr/bin/env bash
# The show inside a window lent by XScreenSaver. With XSCREENSAVER_WINDOW naming a window, "/s" draws
# into that window, at its size, in the background colour, and opens no window of its own; it follows
# the window's size, ignores the pointer, writes its reports to its error stream, and ends cleanly on
# SIGTERM and when the window goes. A variable that names no window leaves the ordinary full-screen show.
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

# Background colour red 32, green 96, blue 160, stored as red + green * 256 + blue * 65536. The
# pictures are squares of one colour each; the stored work area (1000 x 700) is deliberately not the
# host's window, whose size is what the pictures must fit.
background=2060A0
red=FF0000
yellow=FFFF00
mkdir -p "$work/config" "$work/runtime" "$work/pictures"
chmod 700 "$work/runtime"
convert -size 60x60 xc:'#FF0000' BMP3:"$work/pictures/red.bmp"
convert -size 60x60 xc:'#FFFF00' BMP3:"$work/pictures/yellow.bmp"
printf ' 1 \r\n1 | %s/ | red.bmp | 100 X 100 | \r\n' "$work/pictures" >"$work/red.vtl"
printf ' 2 \r\n1 | %s/ | red.bmp | 100 X 100 | \r\n2 | %s/ | yellow.bmp | 100 X 100 | \r\n' \
    "$work/pictures" "$work/pictures" >"$work/both.vtl"
lock="$work/runtime/personal-vantelo.lock"
run_env=(env XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
    DBUS_SESSION_BUS_ADDRESS=disabled:)

# write_settings list-file delay
write_settings()
{
    printf '[Settings]\nScreenWidth=1000\nScreenHeight=700\nBackColor=%d\nFile=%s\nDelay=%s\nShowType=Ordered\n' \
        $((0x20 + 0x60 * 256 + 0xA0 * 65536)) "$1" "$2" >"$work/config/Personal Vantelo.conf"
}

# Starts the show with the given host variable; its pid lands in $show, its error stream in $work/show.err.
start_show()
{
    "${run_env[@]}" XSCREENSAVER_WINDOW="$1" "$program" /s >"$work/show.out" 2>"$work/show.err" &
    show=$!
    pids+=("$show")
}

# Starts a stand-in host window: width height left top; its id lands in $host, its pid in $host_pid.
start_host()
{
    # Emptied first: the helper may not have opened the file yet when it is first read.
    : >"$work/host.id"
    "$host_program" "$@" 00FF00 >"$work/host.id" &
    host_pid=$!
    pids+=("$host_pid")
    host=""
    for _ in $(seq 100); do
        host=$(head -n 1 "$work/host.id" || true)
        [ -n "$host" ] && return 0
        sleep 0.1
    done
    echo "FAIL: the stand-in host window did not appear"
    exit 1
}

shoot()
{
    import -window root "$work/screen.png" 2>/dev/null
}

# True when the area width height left top of the last shot is entirely of the colour RRGGBB.
shot_filled_with()
{
    local colours
    colours=$(convert "$work/screen.png" -crop "$1x$2+$3+$4" +repage -unique-colors -depth 8 txt:- |
        grep -o '#[0-9A-Fa-f]\{6\}' | tr a-f A-F)
    [ "$colours" = "#$5" ]
}

# Each argument is "width height left top RRGGBB"; true when one shot shows all of them.
shows()
{
    [ $# -gt 0 ] || return 1
    shoot || return 1
    local area
    for area in "$@"; do
        # shellcheck disable=SC2086
        shot_filled_with $area || return 1
    done
}

# Retries shows for up to 30 s: the show draws when it is ready.
comes_to_show()
{
    for _ in $(seq 150); do
        shows "$@" && return 0
        sleep 0.2
    done
    return 1
}

# Waits up to 30 s for process $1 to end; its exit status lands in $status (empty: still running).
ends_within_30s()
{
    status=""
    for _ in $(seq 300); do
        if ! kill -0 "$1" 2>/dev/null; then
            status=0
            wait "$1" || status=$?
            return 0
        fi
        sleep 0.1
    done
    return 1
}

# The ids of the windows named "Personal Vantelo" on the screen's top level that are shown: the show's
# own window, or a message box. (Qt keeps an unmapped 1 x 1 window of that name there too.)
own_top_level_windows()
{
    local id
    for id in $(xwininfo -root -children | awk '/"Personal Vantelo"/ {print $1}'); do
        xwininfo -id "$id" | grep -q 'Map State: IsViewable' && echo "$id"
    done
    return 0
}

# The host's window at 40,30 and the square picture in it, fitted to the window's height and centred
# on its width. Each area keeps two pixels off every edge, so the rounding of an edge does not count.
host_areas()
{
    local width=$1 height=$2
    local side=$(((width - height) / 2))
    echo "$((side - 4)) $((height - 4)) 42 32 $background"
    echo "$((height - 4)) $((height - 4)) $((40 + side + 2)) 32 $3"
    echo "$((side - 4)) $((height - 4)) $((40 + side + height + 2)) 32 $background"
}

# --- drawn into the host's window, at its size --------------------------------------------------
write_settings "$work/red.vtl" 0
start_host 320 200 40 30
start_show "$host"
mapfile -t areas < <(host_areas 320 200 "$red")
if comes_to_show "${areas[@]}"; then
    pass "the show fills the host's window: background, and the picture fitted to the window's height"
else
    fail "the host's window does not show the background and the picture fitted to it"
fi
shows "800 170 0 430 000000" || fail "the show drew below the host's window"
shows "440 200 360 30 000000" || fail "the show drew beside the host's window"
if [ -n "$(own_top_level_windows)" ]; then
    fail "the show opened a window of its own"
fi
children=$(xwininfo -id "$host" -children)
echo "$children" | grep -q '^ *1 child:' || fail "the host's window does not hold exactly one child: $children"
echo "$children" | grep -q ' 320x200+0+0 ' || fail "the show's window does not cover the host's: $children"

# The host owns the input: the pointer moving and clicking over the show does not end it.
xdotool mousemove 100 100 sleep 0.2 mousemove 200 130 click 1 sleep 1
kill -0 "$show" 2>/dev/null && pass "pointer movement and clicks leave the show to its host" ||
    fail "the show ended on pointer input"

xdotool windowsize "$host" 400 260
mapfile -t areas < <(host_areas 400 260 "$red")
if comes_to_show "${areas[@]}"; then
    pass "the show follows the host's new size, the picture fitted again"
else
    fail "after the host grew, its window does not show the picture fitted to it"
fi

kill "$host_pid"
if ends_within_30s "$show"; then
    [ "$status" -eq 0 ] && pass "the show ends when the host's window goes" ||
        fail "the show ended with status $status when the host's window went"
else
    fail "the show keeps running without its host's window"
    kill "$show" 2>/dev/null || true
fi
[ ! -e "$lock" ] || fail "the instance lock is left behind after the host's window went"

# --- slides advance; SIGTERM, as XScreenSaver sends it, ends the show cleanly -------------------
write_settings "$work/both.vtl" 1
start_host 320 200 40 30
start_show "$host"
mapfile -t first < <(host_areas 320 200 "$red")
mapfile -t second < <(host_areas 320 200 "$yellow")
if comes_to_show "${first[@]}" && comes_to_show "${second[@]}"; then
    pass "the slides advance in the host's window"
else
    fail "the host's window does not show the first slide and then the second"
fi
kill -TERM "$show"
if ends_within_30s "$show"; then
    [ "$status" -eq 0 ] && pass "SIGTERM ends the show with status 0" || fail "after SIGTERM the status is $status"
else
    fail "the show keeps running after SIGTERM"
    kill -KILL "$show" 2>/dev/null || true
fi
[ ! -e "$lock" ] || fail "the instance lock is left behind after SIGTERM"

# --- a report goes to the error stream, not into a message box nobody could reach ---------------
write_settings "$work/gone.vtl" 5
start_show "$host"
if comes_to_show "316 196 42 32 $background"; then
    pass "with its list file gone, the show is the background in the host's window"
else
    fail "with its list file gone, the host's window does not show the background"
fi
for _ in $(seq 100); do
    grep -q 'File has been Modified or Deleted' "$work/show.err" && break
    sleep 0.1
done
if grep -qx 'Personal Vantelo: File has been Modified or Deleted, Check Settings!' "$work/show.err"; then
    pass "the report is written to the error stream"
else
    fail "no report on the error stream: $(cat "$work/show.err")"
fi
if [ -n "$(own_top_level_windows)" ]; then
    fail "the hosted show opened a message box"
fi
kill -TERM "$show"
ends_within_30s "$show" || fail "the show keeps running after SIGTERM"
kill "$host_pid"

# --- no usable host: the ordinary full-screen show ----------------------------------------------
# Fitted to the stored 1000 x 700: a 700 x 700 picture from 150 across, the background left of it.
write_settings "$work/red.vtl" 0
for value in nonsense 0x7ffffff0; do
    start_show "$value"
    if comes_to_show "146 596 2 2 $background" "646 596 152 2 $red"; then
        pass "XSCREENSAVER_WINDOW=$value: the ordinary full-screen show"
    else
        fail "XSCREENSAVER_WINDOW=$value: the screen does not show the full-screen show"
    fi
    grep -q 'names no window here' "$work/show.err" || fail "XSCREENSAVER_WINDOW=$value: no warning on the error stream"
    kill -TERM "$show" 2>/dev/null || true
    ends_within_30s "$show" || fail "XSCREENSAVER_WINDOW=$value: the show keeps running after SIGTERM"
done

if [ "$failures" -ne 0 ]; then
    echo "--- the last show's error stream:"
    cat "$work/show.err"
    echo "$failures check(s) failed"
    exit 1
fi
echo "all hosting checks passed"

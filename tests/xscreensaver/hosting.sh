#!/usr/bin/env bash
# The show inside a window lent by XScreenSaver. With XSCREENSAVER_WINDOW naming a window, "/s" draws
# into that window, at its size, in the background colour, and opens no window of its own; it follows
# the window's size, ignores the pointer, writes its reports to its error stream, and ends cleanly on
# SIGTERM and when the window goes. A variable that names no window leaves the ordinary full-screen show.
#
# Usage: hosting.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the stand-in host program
# (vantelo_foreign_window).
# A black root window (-br), so that whatever the show draws outside the host's window shows up.
E2E_SCREEN=800x600x24 E2E_XVFB_ARGS=-br
source "$(dirname "$0")/../support/e2e-lib.sh"
host_program=${VANTELO_FOREIGN_WINDOW:?VANTELO_FOREIGN_WINDOW must name the stand-in host program}

# Background colour red 32, green 96, blue 160. The pictures are squares of one colour each; the stored
# work area (1000 x 700) is deliberately not the host's window, whose size is what the pictures must fit.
background=2060A0 red=FF0000 yellow=FFFF00
convert -size 60x60 xc:'#FF0000' BMP3:"$work/pics/red.bmp"
convert -size 60x60 xc:'#FFFF00' BMP3:"$work/pics/yellow.bmp"
write_list "$work/red.vtl" "red.bmp|100 X 100"
write_list "$work/both.vtl" "red.bmp|100 X 100" "yellow.bmp|100 X 100"
lock="$XDG_RUNTIME_DIR/personal-vantelo.lock"

# hosted_show window list-file delay: the show started with the host variable naming window.
hosted_show() {
    write_settings ScreenWidth=1000 ScreenHeight=700 BackColor=$((0x20 + 0x60 * 256 + 0xA0 * 65536)) \
        File="$2" Delay="$3" ShowType=Ordered
    XSCREENSAVER_WINDOW=$1 start /s
}

# A stand-in host window 320 x 200 at 40,30: its id lands in $host, its pid in $host_pid.
start_host() {
    : >"$work/host.id" # emptied first: the helper may not have opened it yet when it is first read
    "$host_program" 320 200 40 30 00FF00 >"$work/host.id" &
    host_pid=$!
    pids+=("$host_pid")
    wait_until 10 grep -q . "$work/host.id" || fail "the stand-in host window did not appear"
    host=$(head -n 1 "$work/host.id")
}

# Each argument is "width height left top RRGGBB"; true when one shot shows each area in one colour.
shows() {
    shoot || return 1
    local area w h x y colour
    for area in "$@"; do
        read -r w h x y colour <<<"$area"
        [ "$(convert "$work/shot.png" -crop "${w}x$h+$x+$y" +repage -unique-colors -depth 8 txt:- |
            grep -o '#[0-9A-Fa-f]\{6\}' | tr a-f A-F)" = "#$colour" ] || return 1
    done
}
comes_to_show() { wait_until 30 shows "$@"; }

# The host's window at 40,30 and the square picture in it, fitted to the window's height and centred
# on its width. Each area keeps two pixels off every edge, so the rounding of an edge does not count.
host_areas() {
    local width=$1 height=$2 side=$((($1 - $2) / 2))
    areas=("$((side - 4)) $((height - 4)) 42 32 $background"
        "$((height - 4)) $((height - 4)) $((40 + side + 2)) 32 $3"
        "$((side - 4)) $((height - 4)) $((40 + side + height + 2)) 32 $background")
}

# Shown windows named "Personal Vantelo" on the screen's top level: the show's own, or a message box.
# (Qt keeps an unmapped 1 x 1 window of that name there too.)
no_own_window() {
    local id
    for id in $(xwininfo -root -children | awk '/"Personal Vantelo"/ {print $1}'); do
        ! xwininfo -id "$id" | grep -q 'Map State: IsViewable' || return 1
    done
}

echo "== drawn into the host's window, at its size"
start_host
hosted_show "$host" "$work/red.vtl" 0
host_areas 320 200 "$red"
comes_to_show "${areas[@]}" || fail "the host's window does not show the background and the picture fitted to it"
shows "800 170 0 430 000000" || fail "the show drew below the host's window"
shows "440 200 360 30 000000" || fail "the show drew beside the host's window"
no_own_window || fail "the show opened a window of its own"
children=$(xwininfo -id "$host" -children)
grep -q '^ *1 child:' <<<"$children" || fail "the host's window does not hold exactly one child: $children"
grep -q ' 320x200+0+0 ' <<<"$children" || fail "the show's window does not cover the host's: $children"

echo "== the host owns the input: pointer movement and clicks over the show do not end it"
xdotool mousemove 100 100 sleep 0.2 mousemove 200 130 click 1 sleep 1
running || fail "the show ended on pointer input"

echo "== the show follows the host's new size"
xdotool windowsize "$host" 400 260
host_areas 400 260 "$red"
comes_to_show "${areas[@]}" || fail "after the host grew, its window does not show the picture fitted to it"

echo "== the show ends when the host's window goes"
kill "$host_pid"
ends_cleanly 30 "the host's window going"
[ ! -e "$lock" ] || fail "the instance lock is left behind after the host's window went"

echo "== slides advance; SIGTERM, as XScreenSaver sends it, ends the show cleanly"
start_host
hosted_show "$host" "$work/both.vtl" 1
host_areas 320 200 "$red"
comes_to_show "${areas[@]}" || fail "the host's window does not show the first slide"
host_areas 320 200 "$yellow"
comes_to_show "${areas[@]}" || fail "the host's window does not show the second slide"
kill -TERM "$pid"
ends_cleanly 30 "SIGTERM"
[ ! -e "$lock" ] || fail "the instance lock is left behind after SIGTERM"

echo "== a report goes to the error stream, not into a message box nobody could reach"
hosted_show "$host" "$work/gone.vtl" 5
comes_to_show "316 196 42 32 $background" || fail "with its list file gone, the host's window does not show the background"
wait_until 10 grep -qx 'Personal Vantelo: File has been Modified or Deleted, Check Settings!' "$work/stderr" ||
    fail "no report on the error stream"
no_own_window || fail "the hosted show opened a message box"
kill -TERM "$pid"
ends_cleanly 30 "SIGTERM"
kill "$host_pid"

echo "== no usable host: the ordinary full-screen show"
# Fitted to the stored 1000 x 700: a 700 x 700 picture from 150 across, the background left of it.
for value in nonsense 0x7ffffff0; do
    hosted_show "$value" "$work/red.vtl" 0
    comes_to_show "146 596 2 2 $background" "646 596 152 2 $red" ||
        fail "XSCREENSAVER_WINDOW=$value: the screen does not show the full-screen show"
    grep -q 'names no window here' "$work/stderr" || fail "XSCREENSAVER_WINDOW=$value: no warning on the error stream"
    kill -TERM "$pid"
    ends_cleanly 30 "SIGTERM"
done
echo "all hosting checks passed"

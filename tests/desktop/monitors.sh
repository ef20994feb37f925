#!/usr/bin/env bash
# The show on two monitors of one X server, the copies a screen-saver host starts one per monitor, and a
# start where no display can be opened.
# Usage: monitors.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the stand-in host program.
E2E_SCREEN=1900x800x24 E2E_XVFB_ARGS=-br
source "$(dirname "$0")/../support/e2e-lib.sh"
host_program=${VANTELO_FOREIGN_WINDOW:?VANTELO_FOREIGN_WINDOW must name the stand-in host program}
# shoot, then at x y: "#RRGGBB" of the last shot there; shows "x y #RRGGBB"...: one shot has them all.
shoot() { import -window root "$work/shot.png"; }
at() { convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }
shows() {
    shoot || return 1
    local spot
    for spot in "$@"; do
        set -- $spot
        [ "$(at "$1" "$2")" = "$3" ] || return 1
    done
}

# No display: one line naming it, status 1, no abort; for both windows.
for mode in /s /c; do
    status=0
    DISPLAY=:4711 WAYLAND_DISPLAY= "$program" "$mode" 2>"$work/stderr" || status=$?
    [ "$status" = 1 ] || fail "without a display $mode ended with status $status, expected 1"
    [ "$(cat "$work/stderr")" = 'vantelo.scr: cannot open display ":4711"' ] ||
        fail "without a display $mode said: $(cat "$work/stderr")"
done

# Two monitors side by side, 950 x 800 each; the left one is the primary, whose work area was recorded.
xrandr --setmonitor L 950/250x800/211+0+0 screen >/dev/null
xrandr --setmonitor R 950/250x800/211+950+0 none >/dev/null
# Row 1: blue, 200 wide and 400 high; row 2: green, 400 x 400. Background red.
convert -size 200x400 xc:'#0000FF' BMP3:"$work/pics/blue.bmp"
convert -size 400x400 xc:'#00FF00' BMP3:"$work/pics/green.bmp"
write_list "$work/two.vtl" "blue.bmp|400 X 200" "green.bmp|400 X 400"
write_settings ScreenWidth=950 ScreenHeight=800 BackColor=255 File="$work/two.vtl" Delay=60 ShowType=Ordered

# Each monitor fits its slide to its own height and centres it: blue 400 x 800 at 275 on the left one,
# green 800 x 800 at 75 on the right one (row 2, one further along), red around both.
red='#FF0000' blue='#0000FF' green='#00FF00'
two_slides() {
    shows "5 400 $red" "270 400 $red" "280 5 $blue" "670 795 $blue" "680 400 $red" "1020 400 $red" \
        "1030 5 $green" "1820 795 $green" "1830 400 $red"
}
xdotool mousemove 1400 400
start /s
wait_until 20 two_slides || fail "the two monitors do not show their slides: $(at 280 400) $(at 1030 400)"
xdotool mousemove 1401 400
ends_cleanly 5 "a one-pixel move over the second monitor"

# A host lends one window per monitor: two copies, each drawing its own row into its window. (Started
# many times at the same instant in tests/show/startups.sh.)
copies=()
for left in 0 950; do
    "$host_program" 950 800 $left 0 000000 >"$work/host$left" &
    pids+=($!) && wait_until 10 grep -q . "$work/host$left" || fail "the stand-in host window at $left did not appear"
    XSCREENSAVER_WINDOW=$(cat "$work/host$left") start /s && copies+=("$pid")
done
wait_until 20 two_slides || fail "two hosted copies do not show their rows: $(at 280 400) $(at 1030 400)"
kill -TERM "${copies[@]}" && for pid in "${copies[@]}"; do ends_cleanly 5 "SIGTERM to a hosted copy"; done
right=$(cat "$work/host950")

# While the configuration window runs, a hosted copy keeps its window in the background colour and stays
# until the host ends it.
start /c
config=$pid
wait_until 20 shown_window "Personal Vantelo Creator" >/dev/null || fail "the configuration window did not open"
XSCREENSAVER_WINDOW=$right start /s
background_only() { shows "1030 400 $red" "1400 400 $red"; }
wait_until 20 background_only || fail "the hosted copy beside the configuration window shows $(at 1400 400)"
sleep 2
running || fail "the hosted copy beside the configuration window ended by itself"
kill -TERM "$pid"
ends_cleanly 5 "SIGTERM to the waiting copy"
running "$config" || fail "the configuration window went with the hosted copy"

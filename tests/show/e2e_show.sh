#!/usr/bin/env bash
# The real show under a virtual X server, looked at and driven the way a user would: the screen is
# judged by pixel colours, the pointer and keys come from xdotool. Usage: e2e_show.sh path/to/vantelo.scr
source "$(dirname "$0")/../support/e2e-lib.sh"
convert -size 480x640 xc:'#FF0000' BMP3:"$work/pics/portrait.bmp"
convert -size 640x480 xc:'#00FF00' BMP3:"$work/pics/landscape.bmp"

# show x y delay "name|size"...: the show over those rows on blue, the pointer resting at x y.
show() {
    write_list "$work/list.vtl" "${@:4}"
    write_settings ScreenWidth=800 ScreenHeight=600 BackColor=16711680 Delay="$3" File="$work/list.vtl"
    xdotool mousemove "$1" "$2" && start /s
    wait_until 15 shown_window 'Personal Vantelo' >/dev/null || fail "no show window appeared"
}
# shows x y #RRGGBB...: the screen shows these colours at these points.
shows() { while [ $# -gt 0 ] && [ "$(colour "$1" "$2")" = "$3" ]; do shift 3; done && [ $# = 0 ]; }

echo "== the portrait 480 x 640 fits the stored 600 high, centred on the stored 800 wide: 450 x 600 at 175"
show 900 700 0 "portrait.bmp|640 X 480"
wait_until 10 shows 176 1 '#FF0000' 623 598 '#FF0000' 173 300 '#0000FF' 626 300 '#0000FF' 1020 760 '#0000FF' ||
    fail "the screen does not show the picture at 175,0 450 x 600 on blue"
sleep 0.5 && running || fail "the show ended by itself under a still pointer"
xdotool mousemove_relative 1 0 && ends_cleanly 2 "a one-pixel move"

echo "== the next slide comes after a second; keys and the wheel do not end the show, a right click on the picture does"
show 400 300 1 "portrait.bmp|640 X 480" "landscape.bmp|480 X 640"
wait_until 10 shows 10 10 '#00FF00' 790 590 '#00FF00' || fail "the second slide did not come"
xdotool key a key Escape click 4 sleep 0.5 && running || fail "a key press or the wheel ended the show"
xdotool click 3 && ends_cleanly 2 "a right click on the picture"

echo PASS

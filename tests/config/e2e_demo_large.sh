#!/usr/bin/env bash
# The large demonstration in the real program under a virtual X server: "Demo LG" opens the
# full-screen show over the configuration window, a one-pixel pointer move closes it, and the
# configuration window is still there and answers clicks.
# Usage: e2e_demo_large.sh path/to/vantelo.scr
source "$(dirname "$0")/../support/e2e-lib.sh"

# The show window while it covers the whole screen.
full_screen_show() {
    local id w h
    for id in $(xdotool search --onlyvisible --name '^Personal Vantelo$' 2>/dev/null); do
        read -r w h _ <<<"$(geometry "$id")"
        [ "$w $h" = "1024 768" ] && return 0
    done
    return 1
}
no_full_screen_show() { ! full_screen_show; }
# The show's colours at a point of a fresh shot: its blue background or its red picture.
shows_the_show() {
    shoot
    near "$1" "$2" 0 0 255 || near "$1" "$2" 255 0 0
}
shows_the_window() { ! shows_the_show "$@"; }

# A saved list of one portrait picture, shown on a blue background.
convert -size 480x640 xc:'rgb(255,0,0)' BMP3:"$work/pics/portrait.bmp"
write_list "$work/list.vtl" "portrait.bmp|640 X 480"
write_settings BackColor=16711680 Delay=5 ShowType=Ordered File="$work/list.vtl"

cd "$work"
start /c
wait_until 15 shown_window 'Personal Vantelo Creator' >/dev/null || fail "the configuration window did not open"
window=$(shown_window 'Personal Vantelo Creator')
read -r _ _ left top <<<"$(geometry "$window")"
sleep 0.5 # the first frame
# A point of the slide list, away from where the picture will be: the window's own colours there.
probe=($((left + 400)) $((top + 250)))
shows_the_show "${probe[@]}" && fail "the configuration window has the show's colours before the show opened"

echo "== Demo LG opens the full-screen show over the configuration window"
xdotool mousemove $((left + 240 + 28)) $((top + 8 + 12)) click 1
wait_until 10 full_screen_show || fail "no full-screen show window appeared"
wait_until 10 shows_the_show "${probe[@]}" || fail "the show does not cover the configuration window"
running || fail "the program ended"

echo "== a one-pixel move closes it; the configuration window stays"
sleep 1
full_screen_show || fail "the show closed without any input"
xdotool mousemove_relative 1 0
wait_until 5 no_full_screen_show || fail "a one-pixel move did not close the show"
running || fail "closing the show ended the program"
xwininfo -id "$window" | grep -q IsViewable || fail "the configuration window is gone"
wait_until 5 shows_the_window "${probe[@]}" || fail "the configuration window was not drawn again"

echo "== the configuration window answers clicks"
xdotool mousemove $((left + 100 + 8)) $((top + 304 + 6)) click 1
wait_until 5 grep -q '^ShowType=Random' "$settings" || fail "a click on Random was not stored"
xdotool mousemove $((left + 496 + 26)) $((top + 292 + 12)) click 1
ends_cleanly 5 "E&xit"
grep -q '^Delay=5' "$settings" || fail "the exit did not store the delay"
echo "PASS"

#!/usr/bin/env bash
# The real show under a virtual X server, looked at and driven the way a user would: the screen is
# photographed and judged by pixel colours, the pointer and keys come from xdotool.
# Usage: e2e_show.sh path/to/vantelo.scr
source "$(dirname "$0")/../support/e2e-lib.sh"

# A portrait BMP (480 wide, 640 high), a landscape JPEG (640 x 480). Colours far from the background.
convert -size 480x640 xc:'rgb(255,0,0)' BMP3:"$work/pics/portrait.bmp"
convert -size 640x480 xc:'rgb(0,255,0)' -quality 95 "$work/pics/landscape.jpg"

# show delay "name|size"...: starts the show over a list of those rows on a pure blue background
# (red in the low byte, blue in the third), with the pointer resting outside every picture.
show() {
    local delay=$1
    shift
    write_list "$work/list.vtl" "$@"
    write_settings ScreenWidth=800 ScreenHeight=600 BackColor=16711680 Delay="$delay" ShowType=Ordered \
        File="$work/list.vtl"
    xdotool mousemove 900 700
    start /s
    wait_until 15 shown_window 'Personal Vantelo' >/dev/null || fail "no show window appeared"
}
still_running() {
    sleep 1
    running || fail "the show ended by itself ($1)"
}

# box_is W H X Y: everything that is not the background colour covers exactly that rectangle, within
# a pixel. A border of the background colour goes round the shot first, so a picture in a corner
# cannot pass for background.
box=""
box_is() {
    shoot
    box=$(convert "$work/shot.png" -bordercolor 'rgb(0,0,255)' -border 1 -fuzz 10% -format '%@' info:)
    local w h x y i d
    IFS='x+' read -r w h x y <<<"$box"
    local expect=("$@") got=("$w" "$h" "$((x - 1))" "$((y - 1))")
    for i in 0 1 2 3; do
        d=$((got[i] - expect[i]))
        [ "${d#-}" -le 1 ] || return 1
    done
}

echo "== 1: background colour, picture rectangle, a one-pixel move ends the show"
show 0 "portrait.bmp|640 X 480"
# 480 x 640 scaled to the stored 600 high: 450 x 600, centred on the stored 800 wide work area.
wait_until 10 box_is 450 600 175 0 || fail "picture box is $box (border included), expected 450x600+175+0"
expect_color 400 300 255 0 0
expect_color 623 598 255 0 0
expect_color 1020 760 0 0 255 # outside the work area, still the window
still_running "it appeared under a still pointer"
xdotool mousemove_relative 1 0
ends_cleanly 2 "a one-pixel move"

echo "== 2: slides advance; a key press does not end the show, a click does"
show 1 "portrait.bmp|640 X 480" "landscape.jpg|480 X 640"
wait_until 10 box_is 800 600 0 0 || fail "second slide not shown: box $box"
expect_color 400 300 0 255 0
xdotool key a key Escape
still_running "after key presses"
xdotool click 1
ends_cleanly 2 "a click"

echo "== 3: a report from a running show is on top and can be confirmed"
show 3 "portrait.bmp|640 X 480" "missing.jpg|480 X 640"
report_window() {
    local id w h
    for id in $(xdotool search --onlyvisible --name '^Personal Vantelo$'); do
        read -r w h _ <<<"$(geometry "$id")"
        [ "$w x $h" != "1024 x 768" ] && [ "$w x $h" != "1 x 1" ] && echo "$id" && return 0
    done
    return 1
}
wait_until 10 report_window >/dev/null || fail "no report for the missing picture"
report=$(report_window)
read -r w h x y <<<"$(geometry "$report")"
cx=$((x + w / 2)) cy=$((y + h / 2))
# The report's own middle shows the report, not the show's blue background or red picture over it.
report_drawn() {
    shoot
    ! near "$cx" "$cy" 0 0 255 && ! near "$cx" "$cy" 255 0 0
}
wait_until 5 report_drawn || fail "the report is hidden behind the show (pixel at $cx, $cy: $(pixel "$cx" "$cy"))"
xdotool windowfocus "$report" key Return
wait_until 5 bash -c "! xwininfo -id $report 2>/dev/null | grep -q IsViewable" || fail "the report could not be confirmed"
running || fail "confirming the report ended the show"
xdotool mousemove_relative 0 1
ends_cleanly 2 "a move after the report"
echo "PASS"

#!/usr/bin/env bash
# The real configuration window under a virtual X server, driven with the mouse and keyboard at the
# controls' design positions: two pictures go into the list, the first is dragged below the second, the
# real save dialog saves them, a second
# instance is refused, "Demo LG" opens the full-screen show and a one-pixel move closes it again, Escape exits.
# Usage: e2e_config.sh path/to/vantelo.scr
source "$(dirname "$0")/../support/e2e-lib.sh"
pics=$(cd "$work/pics" && pwd -P) && list="$pics/holiday.vtl"
convert -size 64x48 xc:red "$pics/alpha.jpg" && convert -size 30x40 xc:blue "$pics/beta.jpg"
cd "$pics" && start /c # the browser opens at the process's folder
wait_until 20 shown_window 'Personal Vantelo Creator' >/dev/null || fail "the configuration window did not open"
window=$(shown_window 'Personal Vantelo Creator') && eval "$(xdotool getwindowgeometry --shell "$window")"
click_at() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1 sleep 0.3; }
covered() { xdotool getwindowgeometry "$(shown_window 'Personal Vantelo')" 2>/dev/null | grep -q 1024x768; }
uncovered() { ! covered; }

echo "== ===> adds both pictures, the first is dragged below the second, Save List writes them in that order"
sleep 0.5 && click_at 50 168 # the first file: the frame at 4,4 holds the file list at 8,156
xdotool key ctrl+a && click_at 268 272 # "===>" at 244,264
click_at 400 28 && xdotool mousedown 1 # the first row, under the list's heading at 372,8
for step in 1 2 3 4 5 6; do xdotool mousemove_relative 0 8 sleep 0.05; done
xdotool mousemove --sync $((X + 400)) $((Y + 90)) sleep 0.3 mouseup 1 sleep 0.5 # below the last row
click_at 392 304 # "Save List" at 364,292
wait_until 20 shown_window 'Save As' >/dev/null || fail "the save dialog did not open"
sleep 0.5 && xdotool type --delay 20 "$list" && xdotool key Return
wait_until 10 grep -qxF "File=$list" "$settings" || fail "the setting File does not name $list: $(cat "$settings")"
printf ' 2 \r\n1 | %s/ | beta.jpg | 40 X 30 | \r\n2 | %s/ | alpha.jpg | 48 X 64 | \r\n' "$pics" "$pics" >"$work/expected"
cmp "$work/expected" "$list" || fail "the saved list differs: $(od -c "$list")"

echo "== a second instance ends at once"
timeout 10 "$program" /s || fail "the second instance did not end at once"

echo "== Demo LG opens the full-screen show; a one-pixel move closes it and the window stays"
click_at 268 20 && wait_until 10 covered || fail "no full-screen show appeared" # "Demo LG" at 240,8
sleep 0.5 && xdotool mousemove_relative 1 0 && wait_until 5 uncovered || fail "a one-pixel move did not close the show"
xwininfo -id "$window" | grep -q IsViewable || fail "the configuration window is gone"

echo "== the window still answers: Random is stored; Escape closes an open drop-down, then runs the exit"
click_at 108 310 && wait_until 5 grep -qx 'ShowType=Random' "$settings" || fail "a click on Random was not stored"
click_at 82 142 && xdotool key Escape sleep 0.5 # "Random" at 100,304; the file types at 8,128 in the frame
running && ! grep -q '^Delay=' "$settings" || fail "Escape in the open drop-down ran the exit"
xdotool key Escape && ends_cleanly 5 "Escape" && grep -qx 'Delay=5' "$settings" || fail "the exit did not store the delay"
echo PASS

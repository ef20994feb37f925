#!/usr/bin/env bash
# The real program under Xvfb, driven by the mouse and keyboard at the controls' design positions:
# two pictures go into the slide list with "===>", "Save List" writes them to a name typed into the
# real save dialog, and the saved file and the stored setting "File" are then checked.
source "$(dirname "$0")/../support/e2e-lib.sh"

pictures=$(cd "$work/pics" && pwd -P)
convert -size 64x48 xc:red "$pictures/alpha.jpg"
convert -size 30x40 xc:blue "$pictures/beta.jpg"
mkdir "$work/lists"
list="$(cd "$work/lists" && pwd -P)/holiday.vtl"

# The browser opens at the process's folder, listing the two pictures.
cd "$pictures"
start /c
wait_until 20 shown_window 'Personal Vantelo Creator' >/dev/null || fail "the configuration window did not open"
window=$(shown_window 'Personal Vantelo Creator')
sleep 1 # let it paint and settle before the first click
click_at() {
    xdotool mousemove --window "$window" "$1" "$2" click 1
    sleep 0.5
}

# The first entry of the file list (the frame at 4,4 holds the list at 8,156), then every entry.
click_at 50 168
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool key ctrl+a
sleep 0.3
click_at 268 272 # "===>" at 244,264, 49 x 17
click_at 392 304 # "Save List" at 364,292, 57 x 25

wait_until 20 shown_window 'Save As' >/dev/null || fail "the save dialog did not open"
sleep 1
# The dialog opens with its file-name field focused: type the path there and accept it.
xdotool type --delay 40 "$list"
sleep 0.5
xdotool key Return

wait_until 20 test -s "$list" || fail "no list was saved to $list"
wait_until 10 grep -qxF "File=$list" "$settings" || fail "the setting File does not name $list: $(cat "$settings")"
printf ' 2 \r\n1 | %s/ | alpha.jpg | 48 X 64 | \r\n2 | %s/ | beta.jpg | 40 X 30 | \r\n' \
    "$pictures" "$pictures" >"$work/expected.vtl"
cmp "$work/expected.vtl" "$list" || fail "the saved list differs from the expected bytes: $(od -c "$list")"
running || fail "the program ended"
echo "two pictures added and saved as $list"

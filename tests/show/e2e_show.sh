#!/usr/bin/env bash
# The real show under a virtual X server, looked at and driven the way a user would: the screen is
# photographed and judged by pixel colours, the pointer and keys come from xdotool.
# Usage: e2e_show.sh path/to/vantelo.scr
set -euo pipefail

program=$(realpath "$1")

if [ -z "${VANTELO_E2E_INNER:-}" ]; then
    export VANTELO_E2E_INNER=1
    # -noreset: by default the server resets whenever its last client leaves, and the pointer
    # would jump back to the middle of the screen between two xdotool calls.
    exec xvfb-run -a -s "-screen 0 1024x768x24 -noreset" bash "$0" "$@"
fi

work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT

export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/pics"
chmod 700 "$XDG_RUNTIME_DIR"

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/shot.png" ]; then cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_show_failure.png" && echo "last screenshot: ${TMPDIR:-/tmp}/e2e_show_failure.png" >&2; fi
    exit 1
}

# A portrait BMP (480 wide, 640 high), a landscape JPEG (640 x 480). Colours far from the background.
convert -size 480x640 xc:'rgb(255,0,0)' BMP3:"$work/pics/portrait.bmp"
convert -size 640x480 xc:'rgb(0,255,0)' -quality 95 "$work/pics/landscape.jpg"

blue=16711680 # red in the low byte, blue in the third: pure blue

# write_settings delay list-file
write_settings() {
    cat >"$XDG_CONFIG_HOME/Personal Vantelo.conf" <<EOF
[Settings]
ScreenWidth=800
ScreenHeight=600
BackColor=$blue
Delay=$1
ShowType=Ordered
File=$2
EOF
}

# write_list file row... where a row is "name|size text"
write_list() {
    local file=$1
    shift
    printf ' %d \r\n' "$#" >"$file"
    local k=1
    for row in "$@"; do
        printf '%d | %s/ | %s | %s | \r\n' "$k" "$work/pics" "${row%%|*}" "${row#*|}" >>"$file"
        k=$((k + 1))
    done
}

ended() {
    local state
    state=$(ps -o stat= -p "$pid" 2>/dev/null || true)
    [ -z "$state" ] || [ "${state:0:1}" = Z ]
}

# wait_until seconds command...: polls the command until it succeeds or the time is up.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ "$SECONDS" -lt "$deadline" ] || return 1
        sleep 0.1
    done
}

start_show() {
    xdotool mousemove 900 700 # over the background, outside every picture
    "$program" /s &
    pid=$!
    wait_until 15 xdotool search --onlyvisible --name '^Personal Vantelo$' >/dev/null ||
        fail "no show window appeared"
}

# Ends within two seconds of the input, with a normal exit.
expect_end() {
    local what=$1 deadline
    deadline=$(($(date +%s%N) + 2000000000))
    until ended; do
        [ "$(date +%s%N)" -lt "$deadline" ] || fail "$what did not end the show within 2 s"
        sleep 0.05
    done
    wait "$pid" || fail "the show exited with status $?"
    pid=""
}

expect_running() {
    sleep 1
    ended && fail "the show ended by itself ($1)"
    return 0
}

shoot() {
    import -window root "$work/shot.png"
}

# The bounding box of everything that is not the background colour, as "W H X Y". A border of the
# background colour goes round the shot first, so a picture in a corner cannot pass for background.
picture_box() {
    shoot
    local w h x y
    IFS='x+' read -r w h x y <<<"$(convert "$work/shot.png" -bordercolor 'rgb(0,0,255)' -border 1 -fuzz 10% \
        -format '%@' info:)"
    echo "$w $h $((x - 1)) $((y - 1))"
}

# box_is W H X Y: the picture covers exactly that rectangle, within a pixel.
box_is() {
    local w h x y
    read -r w h x y <<<"$(picture_box)"
    local expect=("$@") got=("$w" "$h" "$x" "$y")
    for i in 0 1 2 3; do
        local d=$((got[i] - expect[i]))
        [ "${d#-}" -le 1 ] || return 1
    done
}

# pixel x y: "r g b" of the last screenshot.
pixel() {
    convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

# expect_color x y r g b (within 8 per channel)
expect_color() {
    local r g b
    read -r r g b <<<"$(pixel "$1" "$2")"
    local got=("$r" "$g" "$b") want=("$3" "$4" "$5")
    for i in 0 1 2; do
        local d=$((got[i] - want[i]))
        [ "${d#-}" -le 8 ] || fail "pixel ($1, $2) is ($r, $g, $b), expected ($3, $4, $5)"
    done
}

echo "== 1: background colour, picture rectangle, a one-pixel move ends the show"
write_list "$work/one.vtl" "portrait.bmp|640 X 480"
write_settings 0 "$work/one.vtl"
start_show
# 480 x 640 scaled to the stored 600 high: 450 x 600, centred on the stored 800 wide work area.
wait_until 10 box_is 450 600 175 0 || fail "picture box is $(picture_box), expected 450 600 175 0"
expect_color 400 300 255 0 0
expect_color 176 1 255 0 0
expect_color 623 598 255 0 0
expect_color 173 300 0 0 255
expect_color 626 300 0 0 255
expect_color 400 601 0 0 255
expect_color 1020 760 0 0 255 # outside the work area, still the window
expect_running "it appeared under a still pointer"
xdotool mousemove_relative 1 0
expect_end "a one-pixel move"

echo "== 2: slides advance; a key press does not end the show, a click does"
write_list "$work/two.vtl" "portrait.bmp|640 X 480" "landscape.jpg|480 X 640"
write_settings 1 "$work/two.vtl"
start_show
wait_until 10 box_is 800 600 0 0 || fail "second slide not shown: box $(picture_box)"
expect_color 400 300 0 255 0
xdotool key a
xdotool key Escape
expect_running "after key presses"
xdotool click 1
expect_end "a click"

echo "== 3: a report from a running show is on top and can be confirmed"
write_list "$work/three.vtl" "portrait.bmp|640 X 480" "missing.jpg|480 X 640"
write_settings 3 "$work/three.vtl"
start_show
report_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Personal Vantelo$'); do
        local size
        size=$(xwininfo -id "$id" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
        if [ "$size" != "1024x768" ] && [ "$size" != "1x1" ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
wait_until 10 report_window >/dev/null || fail "no report for the missing picture"
report=$(report_window)
read -r cx cy <<<"$(xwininfo -id "$report" |
    awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width:/ {w=$2} /Height:/ {h=$2}
         END {print int(x + w / 2), int(y + h / 2)}')"
# The report's own middle shows the report, not the show's background or picture over it.
report_drawn() {
    shoot
    local r g b
    read -r r g b <<<"$(pixel "$cx" "$cy")"
    ! { [ "$r" -lt 60 ] && [ "$g" -lt 60 ] && [ "$b" -gt 200 ]; } && ! { [ "$r" -gt 200 ] && [ "$g" -lt 60 ]; }
}
wait_until 5 report_drawn || fail "the report is hidden behind the show (pixel at $cx, $cy: $(pixel "$cx" "$cy"))"
xdotool windowfocus "$report"
xdotool key Return
wait_until 5 bash -c "! xwininfo -id $report 2>/dev/null | grep -q IsViewable" || fail "the report could not be confirmed"
ended && fail "confirming the report ended the show"
xdotool mousemove_relative 0 1
expect_end "a move after the report"

echo "PASS"

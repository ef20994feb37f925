#!/usr/bin/env bash
# The large demonstration in the real program under a virtual X server: "Demo LG" opens the
# full-screen show over the configuration window, a one-pixel pointer move closes it, and the
# configuration window is still there and answers clicks.
# Usage: e2e_demo_large.sh path/to/vantelo.scr
set -euo pipefail

program=$(realpath "$1")

if [ -z "${VANTELO_E2E_INNER:-}" ]; then
    export VANTELO_E2E_INNER=1
    # -noreset: the server would otherwise reset whenever its last client leaves, and the pointer
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
settings="$XDG_CONFIG_HOME/Personal Vantelo.conf"

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$work/shot.png" ]; then
        cp "$work/shot.png" "${TMPDIR:-/tmp}/e2e_demo_large_failure.png"
        echo "last screenshot: ${TMPDIR:-/tmp}/e2e_demo_large_failure.png" >&2
    fi
    exit 1
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

# Whether the program still runs: its process exists and is no zombie waiting to be reaped.
running() {
    local state
    state=$(sed 's/.*) //' "/proc/$pid/stat" 2>/dev/null | cut -c1 || true)
    [ -n "$state" ] && [ "$state" != Z ]
}
ended() { ! running; }

# "W H X Y" of a window.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print w, h, x, y}'
}

# The show window while it covers the whole screen.
full_screen_show() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Personal Vantelo$' 2>/dev/null); do
        read -r w h _ _ <<<"$(geometry "$id")"
        if [ "$w" = 1024 ] && [ "$h" = 768 ]; then
            echo "$id"
            return 0
        fi
    done
    return 1
}
no_full_screen_show() { ! full_screen_show >/dev/null; }

# "r g b" at x y of a fresh screenshot.
pixel() {
    import -window root "$work/shot.png"
    convert "$work/shot.png" -format "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}
# The show's colours: its blue background or its red picture.
shows_the_show() {
    local colour
    colour=$(pixel "$1" "$2")
    [ "$colour" = "0 0 255" ] || [ "$colour" = "255 0 0" ]
}

# A saved list of one portrait picture, shown on a blue background.
convert -size 480x640 xc:'rgb(255,0,0)' BMP3:"$work/pics/portrait.bmp"
printf ' 1 \r\n1 | %s/ | portrait.bmp | 640 X 480 | \r\n' "$work/pics" >"$work/list.vtl"
cat >"$settings" <<EOF2
[Settings]
BackColor=16711680
Delay=5
ShowType=Ordered
File=$work/list.vtl
EOF2

cd "$work"
"$program" /c &
pid=$!
wait_until 15 xdotool search --onlyvisible --name '^Personal Vantelo Creator$' >/dev/null ||
    fail "the configuration window did not open"
window=$(xdotool search --onlyvisible --name '^Personal Vantelo Creator$' | head -n1)
read -r _ _ left top <<<"$(geometry "$window")"
sleep 0.5 # the first frame
# A point of the slide list, away from where the picture will be: the window's own colours there.
probe_x=$((left + 400)) probe_y=$((top + 250))
shows_the_show "$probe_x" "$probe_y" && fail "the configuration window has the show's colours before the show opened"

echo "== Demo LG opens the full-screen show over the configuration window"
xdotool mousemove $((left + 240 + 28)) $((top + 8 + 12)) click 1
wait_until 10 full_screen_show >/dev/null || fail "no full-screen show window appeared"
wait_until 10 shows_the_show "$probe_x" "$probe_y" ||
    fail "the show does not cover the configuration window (pixel: $(pixel "$probe_x" "$probe_y"))"
running || fail "the program ended"

echo "== a one-pixel move closes it; the configuration window stays"
sleep 1
full_screen_show >/dev/null || fail "the show closed without any input"
xdotool mousemove_relative 1 0
wait_until 5 no_full_screen_show || fail "a one-pixel move did not close the show"
running || fail "closing the show ended the program"
xwininfo -id "$window" | grep -q IsViewable || fail "the configuration window is gone"
wait_until 5 bash -c "! { $(declare -f pixel shows_the_show); work='$work'; shows_the_show $probe_x $probe_y; }" ||
    fail "the configuration window was not drawn again"

echo "== the configuration window answers clicks"
xdotool mousemove $((left + 100 + 8)) $((top + 304 + 6)) click 1
wait_until 5 grep -q '^ShowType=Random' "$settings" || fail "a click on Random was not stored"
xdotool mousemove $((left + 496 + 26)) $((top + 292 + 12)) click 1
wait_until 5 ended || fail "E&xit did not end the program"
status=0
wait "$pid" || status=$?
pid=""
[ "$status" = 0 ] || fail "the program exited with status $status"
grep -q '^Delay=5' "$settings" || fail "the exit did not store the delay"
echo "PASS"

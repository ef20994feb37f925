#!/usr/bin/env bash
# Photographs the configuration window and the show for the README, running the real program under a
# private X server with private settings and two pictures drawn here, and writes
# docs/configuration-window.png and docs/show.png.
#
# Usage: tools/screenshots.sh [build-folder]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in xvfb-run xdotool import convert compare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$0: $tool is missing; tools/install-deps.sh --tests installs it" >&2
        exit 1
    fi
done

if [ -z "${VANTELO_SCREENSHOT_DISPLAY:-}" ]; then
    export VANTELO_SCREENSHOT_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x576x24 -nolisten tcp -noreset" bash "$0" "$@"
fi

program=$(realpath "${1:-build}/vantelo.scr")
if [ ! -x "$program" ]; then
    echo "$0: $program is not built" >&2
    exit 1
fi
mkdir -p docs
work=$(mktemp -d)
pid=""
cleanup()
{
    # The program removes its instance lock as it ends, so it has to end before its folder goes.
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    rm -rf "$work"
}
trap cleanup EXIT

mkdir -p "$work/config" "$work/runtime" "$work/pictures"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb

# Two pictures of our own, 640 x 480: a dusk over hills, and a night sky over the sea.
convert -size 640x480 gradient:'#f6b26b-#fce5cd' \
    -fill '#e06666' -draw 'circle 470,150 470,200' \
    -fill '#38761d' -draw 'polygon 0,480 0,330 180,210 300,320 420,240 640,400 640,480' \
    -fill '#274e13' -draw 'polygon 0,480 0,400 140,340 300,480' \
    -quality 92 "$work/pictures/Dusk over the hills.jpg"
convert -size 640x480 gradient:'#0b1d3a-#2b4c7e' \
    -fill '#fff2cc' -draw 'circle 150,110 150,150' \
    -fill '#1c3d5a' -draw 'rectangle 0,330 640,480' \
    -fill '#d9d9d9' -draw 'point 420,60' -draw 'point 520,140' -draw 'point 300,90' -draw 'point 580,40' \
    -quality 92 "$work/pictures/Night sea.jpg"
folder="$work/pictures/"
printf ' 2 \r\n1 | %s | %s | 480 X 640 | \r\n2 | %s | %s | 480 X 640 | \r\n' \
    "$folder" "Dusk over the hills.jpg" "$folder" "Night sea.jpg" >"$work/Holiday.vtl"

# Waits for a visible window whose whole name is $1; prints its id.
wait_for_window()
{
    local id
    for _ in $(seq 300); do
        if id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    echo "$0: no window named '$1' appeared" >&2
    return 1
}

# Photographs window $1 (or "root") into $2 once two pictures taken in a row agree, that is, once
# the window has finished drawing.
photograph_when_still()
{
    local previous="$work/previous.png" current="$work/current.png"
    import -window "$1" "$previous"
    for _ in $(seq 100); do
        sleep 0.3
        import -window "$1" "$current"
        if [ "$(compare -metric AE "$previous" "$current" null: 2>&1)" = 0 ]; then
            cp "$current" "$2"
            return 0
        fi
        mv "$current" "$previous"
    done
    echo "$0: the window never stopped changing" >&2
    return 1
}

# The configuration window as it opens (it also records this screen as the work area), started in the
# pictures' folder, which its browser then shows.
(cd "$work/pictures" && exec "$program" /c) &
pid=$!
window=$(wait_for_window "Personal Vantelo Creator")
photograph_when_still "$window" docs/configuration-window.png
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""
echo "wrote docs/configuration-window.png"

# The show on the list above: a slate background, the first picture held on screen for the shot.
background=303640
printf '[Settings]\nScreenWidth=1024\nScreenHeight=576\nFile=%s\nDelay=60\nShowType=Ordered\nBackColor=%d\n' \
    "$work/Holiday.vtl" $((0x30 + 0x36 * 256 + 0x40 * 65536)) >"$XDG_CONFIG_HOME/Personal Vantelo.conf"
"$program" /s &
pid=$!
wait_for_window "Personal Vantelo" >/dev/null
# Wait for the background and the picture: a 4:3 picture on this 16:9 screen leaves the background
# at the sides and the picture in the middle.
shown()
{
    local corner middle
    import -window root "$work/screen.png"
    read -r corner middle < <(convert "$work/screen.png" -depth 8 -format '%[hex:p{5,5}] %[hex:p{512,288}]\n' info:)
    [ "$corner" = "$background" ] && [ "$middle" != "$background" ]
}
for _ in $(seq 100); do
    shown && break
    sleep 0.3
done
if ! shown; then
    echo "$0: the show never put a picture on the screen" >&2
    exit 1
fi
photograph_when_still root docs/show.png
echo "wrote docs/show.png"

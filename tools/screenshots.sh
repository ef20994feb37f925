#!/usr/bin/env bash
# Photographs the configuration window and the show for the README, running the real program under a
# private X server with private settings, and writes docs/configuration-window.png and docs/show.png.
#
# The pictures are a user's: five holiday pictures drawn here into /home/ann/Pictures/Holiday, which
# exists only in a private mount namespace (an empty /home over the real one), so that the folder tree
# shows no temporary folder's name. There the window is used as a user would: all five pictures go into
# the slide list, one is clicked for the preview, and the list is saved; the show then runs on that list.
#
# Usage: tools/screenshots.sh [build-folder]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."

for tool in xvfb-run xdotool import convert compare unshare; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "$0: $tool is missing; tools/install-deps.sh --tests installs it" >&2
        exit 1
    fi
done

if [ -z "${VANTELO_SCREENSHOT_DISPLAY:-}" ]; then
    export VANTELO_SCREENSHOT_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x576x24 -nolisten tcp -noreset" bash "$0" "$@"
fi

if [ -z "${VANTELO_SCREENSHOT_WORK:-}" ]; then
    program=$(realpath "${1:-build}/vantelo.scr")
    if [ ! -x "$program" ] || [ ! -f "${program%/*}/TC_Shield_Circle3b.gif" ]; then
        echo "$0: $program or the maker's logo beside it is not built" >&2
        exit 1
    fi
    # Everything the namespace needs lives in /tmp, which the empty /home leaves alone; the program is
    # linked to our own libraries statically, so it runs from a copy beside its logo.
    work=$(mktemp -d -p /tmp vantelo-screenshots.XXXXXX)
    trap 'rm -rf "$work"' EXIT
    mkdir "$work/bin" "$work/shots"
    cp "$program" "${program%/*}/TC_Shield_Circle3b.gif" "$work/bin/"
    if ! VANTELO_SCREENSHOT_WORK=$work unshare --mount --map-root-user bash "$0"; then
        echo "$0: no pictures written (a private mount namespace needs unshare --mount --map-root-user)" >&2
        exit 1
    fi
    mkdir -p docs
    cp "$work/shots/configuration-window.png" "$work/shots/show.png" docs/
    echo "wrote docs/configuration-window.png and docs/show.png"
    exit 0
fi

# --- inside the namespace ------------------------------------------------------------------------------
work=$VANTELO_SCREENSHOT_WORK
program=$work/bin/vantelo.scr
mount -t tmpfs -o mode=755 vantelo-home /home
export HOME=/home/ann
holiday=$HOME/Pictures/Holiday
list=$HOME/Pictures/Holiday.vtl
mkdir -p "$holiday" "$work/runtime"
chmod 700 "$work/runtime"
export XDG_CONFIG_HOME=$HOME/.config XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb
pid=""
# The program removes its instance lock as it ends, so it has to end before its folder goes.
trap '[ -z "$pid" ] || { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }' EXIT

# Five pictures of our own, in the sizes cameras and phones give: landscape 4:3 and 16:9, one portrait.
convert -size 1600x1200 gradient:'#f6b26b-#fce5cd' -fill '#e06666' -draw 'circle 1180,330 1180,440' \
    -fill '#3d85c6' -draw 'rectangle 0,760 1600,1200' -fill '#f1c232' -draw 'polygon 0,1200 0,980 700,900 1600,1040 1600,1200' \
    -quality 90 "$holiday/Beach at dawn.jpg"
convert -size 1600x1200 gradient:'#0b1d3a-#2b4c7e' -fill '#fff2cc' -draw 'circle 300,220 300,290' \
    -fill '#1c3d5a' -draw 'rectangle 0,800 1600,1200' -fill '#cc0000' -draw 'polygon 500,800 1100,800 1000,900 600,900' \
    -fill '#d9d9d9' -draw 'rectangle 790,520 810,800' -draw 'point 1100,120' -draw 'point 1300,300' -draw 'point 900,200' \
    -quality 90 "$holiday/Harbour at night.jpg"
convert -size 1200x1600 gradient:'#9fc5e8-#cfe2f3' -fill '#666666' -draw 'polygon 0,1600 0,1250 500,1180 1200,1300 1200,1600' \
    -fill '#ffffff' -draw 'polygon 500,1200 700,1200 660,500 540,500' -fill '#cc0000' \
    -draw 'polygon 526,1000 674,1000 668,880 532,880' -draw 'polygon 547,760 653,760 647,640 553,640' \
    -fill '#434343' -draw 'rectangle 520,420 680,500' -fill '#ffd966' -draw 'rectangle 545,440 655,500' \
    -quality 90 "$holiday/Lighthouse.jpg"
convert -size 1920x1080 gradient:'#cfe2f3-#6fa8dc' \
    -fill '#5b6f82' -draw 'polygon 0,700 450,220 800,560 1150,160 1600,600 1920,420 1920,760 0,760' \
    -fill '#ffffff' -draw 'polygon 385,290 450,220 515,290 450,270' -draw 'polygon 1080,240 1150,160 1220,240 1150,215' \
    -fill '#274e13' -draw 'rectangle 0,700 1920,780' -fill '#3d85c6' -draw 'rectangle 0,780 1920,1080' \
    -quality 90 "$holiday/Mountain lake.jpg"
convert -size 1600x1200 gradient:'#ffe599-#fff2cc' \
    -fill '#e69138' -draw 'rectangle 100,500 500,1100' -fill '#6aa84f' -draw 'rectangle 560,420 980,1100' \
    -fill '#c27ba0' -draw 'rectangle 1040,540 1500,1100' -fill '#990000' \
    -draw 'polygon 80,500 300,300 520,500' -draw 'polygon 540,420 770,220 1000,420' -draw 'polygon 1020,540 1270,340 1520,540' \
    -fill '#999999' -draw 'rectangle 0,1100 1600,1200' -quality 90 "$holiday/Old town.jpg"

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

# The configuration window, started in the holiday folder, which its browser then shows. Clicks land at
# the controls' design positions in the window.
(cd "$holiday" && exec "$program" /c) &
pid=$!
window=$(wait_for_window "Personal Vantelo Creator")
click_at() { xdotool mousemove --window "$window" --sync "$1" "$2" click 1 sleep 0.4; }
sleep 0.5
click_at 50 168                        # the first file: the file list sits at 8,156 in the frame at 4,4
xdotool key ctrl+a && click_at 268 272 # every file, then "===>" at 244,264
click_at 50 196                        # the third file, Lighthouse.jpg, into the preview
click_at 392 304                       # "Save List" at 364,292
wait_for_window "Save As" >/dev/null
sleep 0.5 && xdotool type --delay 20 "$list" && xdotool key Return
for _ in $(seq 100); do
    grep -qxF "File=$list" "$XDG_CONFIG_HOME/Personal Vantelo.conf" 2>/dev/null && break
    sleep 0.1
done
if [ "$(head -n 1 "$list" 2>/dev/null)" != $' 5 \r' ]; then
    echo "$0: the window did not save five rows into $list" >&2
    exit 1
fi
xdotool mousemove 1000 560 # the pointer away from the buttons, so that no tooltip shows
photograph_when_still "$window" "$work/shots/configuration-window.png"
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=""

# The show on the saved list: a slate background, the first picture held on screen for the shot.
background=303640
printf '[Settings]\nScreenWidth=1024\nScreenHeight=576\nFile=%s\nDelay=59\nShowType=Ordered\nBackColor=%d\n' \
    "$list" $((0x30 + 0x36 * 256 + 0x40 * 65536)) >"$XDG_CONFIG_HOME/Personal Vantelo.conf"
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
photograph_when_still root "$work/shots/show.png"

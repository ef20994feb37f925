#!/usr/bin/env bash
# The show started again and again with first slides of every kind that has raced with its start: each
# kind on an X server of its own, all at once, round after round; beside them the show on two monitors,
# and two copies hosted side by side started at the same instant. Every start must come to its slides;
# none may end by itself. Usage: startups.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the
# stand-in host and VANTELO_STARTS the number of rounds (default 10). Prints each station's tally.
E2E_SCREEN=800x300x24 E2E_XVFB_ARGS=-br
source "$(dirname "$0")/../support/e2e-lib.sh"
rounds=${VANTELO_STARTS:-10}

# A station: an X server of its own, the folders of one user, the windows a host lends there (none: the
# show's own), and the spots across the screen's middle that must each show a picture, neither the bare
# screen's black nor the background 2060A0. The screens are small and cheap to look at; the recorded work
# area (800 x 600) is not, so the pictures are decoded and scaled as on a real screen.
names=() displays=() windows=() spots=() makers=()
station() { # name size list spot...
    mkdir -p -m 700 "$work/$1" && names+=("$1") windows+=('') spots+=("${*:4}")
    printf '%s\n' '[Settings]' ScreenWidth=800 ScreenHeight=600 BackColor=10510368 Delay=60 ShowType=Ordered \
        "File=$3" >"$work/$1/Personal Vantelo.conf"
    Xvfb -displayfd 3 -screen 0 "$2x24" -nolisten tcp -noreset -br 3>"$work/$1/display" 2>/dev/null & pids+=($!)
}
kind() { # file [format:] convert-arguments...: the picture, and a station of its own that starts with it
    local file=$1 format=$2 && shift 2 && { convert "$@" "$format$work/pics/$file" & makers+=($!); }
    station "$file" 400x300 "$work/$file.vtl" 300
}
kind enlarged.jpg '' -size 300x400 gradient:yellow-blue
kind grey.jpg '' -size 1600x1180 gradient:white-black -colorspace Gray
kind mono.bmp BMP3: -size 64x48 xc:white -fill black -draw 'rectangle 0,0 9,9' -monochrome
kind palette4.bmp BMP3: -size 64x48 gradient:red-blue -colors 16 -type Palette
kind palette8.bmp BMP3: -size 127x64 gradient:red-blue -colors 200 -type Palette
kind rle8.bmp BMP3: -size 127x64 gradient:red-green -colors 200 -type Palette -compress RLE
kind os2.bmp BMP2: -size 64x48 gradient:green-blue -colors 100 -type Palette
kind bitfields565.bmp BMP: -size 64x48 gradient:red-yellow -define bmp:subtype=RGB565
kind alpha32.bmp BMP: -size 64x48 gradient:red-blue -alpha set -channel A -evaluate set 60%
kind transparent.gif '' -size 100x100 xc:none -fill red -draw 'circle 50,50 50,10'
kind part-frame.gif '' -size 40x40 xc:orange -repage 100x100+30+30
kind turned.jpg '' -size 640x480 gradient:cyan-magenta -orient right-top
kind phone.jpg '' -size 1080x1920 gradient:pink-navy
kind 24-megapixels.jpg '' -size 6000x4000 gradient:orange-purple
kind progressive.jpg '' -size 1700x1275 gradient:lime-teal -interlace JPEG
station two-monitors 800x300 "$work/two.vtl" 300 600 && station hosted-pair 800x300 "$work/two.vtl" 200 600
write_list "$work/two.vtl" "grey.jpg|1180 X 1600" "palette8.bmp|64 X 127"
for m in "${makers[@]}"; do wait "$m" || fail "a picture could not be made"; done
for i in "${!names[@]}"; do
    wait_until 10 grep -q . "$work/${names[i]}/display" || fail "no X server for ${names[i]}"
    displays[i]=:$(head -n 1 "$work/${names[i]}/display") && file=$work/pics/${names[i]}
    if [ -e "$file" ]; then write_list "$work/${names[i]}.vtl" "${names[i]}|$(identify -format '%h X %w' "$file[0]")"; fi
done
export DISPLAY=${displays[-2]} && xrandr --setmonitor L 400/106x300/79+0+0 screen && xrandr --setmonitor R 400/106x300/79+400+0 none
for left in 0 400; do # the host's two windows, side by side
    DISPLAY=${displays[-1]} "${VANTELO_FOREIGN_WINDOW:?names the stand-in host}" 400 300 $left 0 000000 >"$work/host$left" &
    pids+=($!) && wait_until 10 grep -q . "$work/host$left" || fail "no stand-in host window at $left"
done
windows[-1]="$(cat "$work/host0") $(cat "$work/host400")"

shows() { # display x...: at each x, the screen's middle row shows a picture
    local display=$1 row x && shift
    row=$(DISPLAY=$display import -window root -crop 800x1+0+150 -depth 8 txt:-) || return 1
    for x in "$@"; do
        [[ $(grep "^$x,0:" <<<"$row") =~ \#([0-9A-F]{6}) ]] && [[ ! ${BASH_REMATCH[1]} =~ ^(000000|2060A0)$ ]] || return 1
    done
}
# launch station: its start (two at the same instant for the hosted pair), one round fewer left.
launch() {
    local i=$1 window && started[i]='' since[i]=${EPOCHREALTIME/./} left[i]=$((left[i] - 1))
    for window in ${windows[i]:-own}; do
        [ "$window" = own ] && unset XSCREENSAVER_WINDOW || export XSCREENSAVER_WINDOW=$window
        DISPLAY=${displays[i]} XDG_CONFIG_HOME=$work/${names[i]} XDG_RUNTIME_DIR=$work/${names[i]} \
            "$program" /s 2>>"$work/stderr" &
        pids+=($!) && started[i]+="$! "
    done
    unset XSCREENSAVER_WINDOW
}
# finish station: its shows are ended with SIGTERM and tallied; the next round starts while any are left.
finish() {
    local i=$1 p status gone=''
    for p in ${started[i]}; do running "$p" || gone+=" $p "; done
    kill -TERM ${started[i]} 2>/dev/null || true
    for p in ${started[i]}; do
        status=0 && wait "$p" || status=$?
        [[ $gone != *" $p "* ]] || ended[${names[i]}]+="$status "
    done
    started[i]='' && [ "${left[i]}" = 0 ] || launch "$i"
}
# Each station goes on to its next round as soon as the last one showed its slides, ended by itself
# or showed none for 30 s.
declare -A ended=() bare=()
started=() since=() left=()
for i in "${!names[@]}"; do left[i]=$rounds && launch "$i"; done
while [[ ${started[*]} =~ [0-9] ]]; do
    sleep 0.05
    for i in "${!names[@]}"; do
        # A look at the screen costs a tenth of a second: none in a start's first half second.
        if [ -z "${started[i]}" ] || [ $((${EPOCHREALTIME/./} - since[i])) -lt 500000 ]; then continue; fi
        if [ "$(for p in ${started[i]}; do running "$p" || echo gone; done)" ] || shows "${displays[i]}" ${spots[i]}; then
            finish "$i"
        elif [ $((${EPOCHREALTIME/./} - since[i])) -gt 30000000 ]; then
            bare[${names[i]}]+=x && finish "$i"
        fi
    done
done
for i in "${!names[@]}"; do
    echo "${names[i]}: $((rounds * $(wc -w <<<"${windows[i]:-own}"))) starts; ended by itself, with status:" \
        "${ended[${names[i]}]:-none}; no slide within 30 s: ${#bare[${names[i]}]} times"
done
[ ${#ended[@]} = 0 ] && [ ${#bare[@]} = 0 ] || fail "not every start came to its slides"
echo PASS

#!/usr/bin/env bash
# The show started again and again with first slides of every kind that has raced with its start: each
# kind on an X server of its own, all at once, round after round; beside them the show on two monitors,
# and two copies hosted side by side started at the same instant. Every start must come to its slides;
# none may end by itself. Usage: startups.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the
# stand-in host and VANTELO_STARTS the number of rounds (default 10). Prints each station's tally.
E2E_SCREEN=640x240x24 E2E_XVFB_ARGS=-br
source "$(dirname "$0")/../support/e2e-lib.sh"
rounds=${VANTELO_STARTS:-10}

# A station: a server, the folders of one user, the windows a host lends there (none: the show's own),
# and the spots that must each show a picture, neither the bare screen's black nor the background 2060A0.
names=() servers=() displays=() windows=() spots=() makers=()
station() { # name server list window-ids spot...
    mkdir -p -m 700 "$work/$1" && names+=("$1") servers+=("$2") windows+=("$4") spots+=("${*:5}")
    printf '%s\n' '[Settings]' ScreenWidth=320 ScreenHeight=240 BackColor=10510368 Delay=60 ShowType=Ordered \
        "File=$3" >"$work/$1/Personal Vantelo.conf"
}
server() { Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp -noreset -br 3>"$work/$2.display" 2>/dev/null & pids+=($!); }
kind() { # file [format:] convert-arguments...: the picture, and a station of its own that starts with it
    local file=$1 format=$2 && shift 2 && { convert "$@" "$format$work/pics/$file" & makers+=($!); }
    station "$file" "$file" "$work/$file.vtl" '' 160,120 && server 320x240 "$file"
}
kind enlarged.jpg '' -size 48x64 gradient:yellow-blue
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
kind turned.jpg '' -size 64x48 gradient:cyan-magenta -orient right-top
kind phone.jpg '' -size 1080x1920 gradient:pink-navy
kind 24-megapixels.jpg '' -size 6000x4000 gradient:orange-purple
kind progressive.jpg '' -size 1600x1200 gradient:lime-teal -interlace JPEG
xrandr --setmonitor L 320/84x240/63+0+0 screen >/dev/null && xrandr --setmonitor R 320/84x240/63+320+0 none >/dev/null
station two-monitors two-monitors "$work/two.vtl" '' 160,120 480,120 && echo "${DISPLAY#:}" >"$work/two-monitors.display"
write_list "$work/two.vtl" "grey.jpg|1180 X 1600" "palette8.bmp|64 X 127"
server 640x240 hosts
for m in "${makers[@]}"; do wait "$m" || fail "a picture could not be made"; done
station hosted-pair hosts "$work/two.vtl" '' 160,120 480,120
for i in "${!names[@]}"; do
    server=${servers[i]} && wait_until 10 grep -q . "$work/$server.display" || fail "no X server for $server"
    displays[i]=:$(head -n 1 "$work/$server.display")
    if [ -e "$work/pics/$server" ]; then write_list "$work/$server.vtl" "$server|$(identify -format '%h X %w' "$work/pics/$server[0]")"; fi
done
for left in 0 320; do # the host's two windows, side by side
    DISPLAY=${displays[-1]} "${VANTELO_FOREIGN_WINDOW:?names the stand-in host}" 320 240 $left 0 000000 >"$work/host$left" &
    pids+=($!) && wait_until 10 grep -q . "$work/host$left" || fail "no stand-in host window at $left"
done
windows[-1]="$(cat "$work/host0") $(cat "$work/host320")"

shows() { # display spot...: each spot shows a picture
    local display=$1 spot colour && shift
    for spot in "$@"; do
        colour=$(DISPLAY=$display colour "${spot%,*}" "${spot#*,}") && [[ ! $colour =~ ^#(000000|2060A0)$ ]] || return 1
    done
}
all_running() { for p in "$@"; do running "$p" || return 1; done; }
declare -A ended=() bare=()
for round in $(seq "$rounds"); do
    started=() gone=''
    for i in "${!names[@]}"; do
        for window in ${windows[i]:-own}; do
            [ "$window" = own ] && unset XSCREENSAVER_WINDOW || export XSCREENSAVER_WINDOW=$window
            DISPLAY=${displays[i]} XDG_CONFIG_HOME=$work/${names[i]} XDG_RUNTIME_DIR=$work/${names[i]} \
                "$program" /s 2>>"$work/stderr" &
            pids+=($!) && started[i]+="$! "
        done
    done
    unset XSCREENSAVER_WINDOW
    sleep 0.5
    for i in "${!names[@]}"; do
        wait_until 30 eval '! all_running ${started[i]} || shows ${displays[i]} ${spots[i]}'
        all_running ${started[i]} && ! shows "${displays[i]}" ${spots[i]} && bare[${names[i]}]+="$round "
        for p in ${started[i]}; do running "$p" || gone+=" $p "; done
    done
    kill -TERM ${started[*]} 2>/dev/null || true
    for i in "${!names[@]}"; do
        for p in ${started[i]}; do
            status=0 && wait "$p" || status=$?
            [[ $gone == *" $p "* ]] && ended[${names[i]}]+="$status " || [ $status = 0 ] || fail "SIGTERM: status $status"
        done
    done
done
for i in "${!names[@]}"; do
    starts=$((rounds * $(wc -w <<<"${windows[i]:-own}")))
    echo "${names[i]}: $starts starts, ended by itself: ${ended[${names[i]}]:-none}, no slide in rounds: ${bare[${names[i]}]:-none}"
done
[ ${#ended[@]} = 0 ] && [ ${#bare[@]} = 0 ] || fail "not every start came to its slides"
echo PASS

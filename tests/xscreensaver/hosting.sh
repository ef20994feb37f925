#!/usr/bin/env bash
# The show inside a window lent by XScreenSaver (XSCREENSAVER_WINDOW), played by VANTELO_FOREIGN_WINDOW.
# Usage: hosting.sh <vantelo.scr>
E2E_SCREEN=800x600x24 E2E_XVFB_ARGS=-br # a black root, so that drawing outside the host's window shows
source "$(dirname "$0")/../support/e2e-lib.sh"
convert -size 60x60 xc:'#FF0000' BMP3:"$work/pics/red.bmp" && convert -size 60x60 xc:'#FFFF00' BMP3:"$work/pics/yellow.bmp"
write_list "$work/both.vtl" "red.bmp|100 X 100" "yellow.bmp|100 X 100"

# host: a stand-in host window 320 x 200 at 40,30, its id in $host, its pid in $host_pid.
host() {
    : >"$work/host.id" # emptied first: the new host may not have written its id yet when it is read
    "${VANTELO_FOREIGN_WINDOW:?names the stand-in host}" 320 200 40 30 00FF00 >"$work/host.id" & host_pid=$! && pids+=("$host_pid")
    wait_until 10 grep -q . "$work/host.id" && host=$(head -n 1 "$work/host.id") || fail "the stand-in host window did not appear"
}
# hosted window list delay: the show for that host on 2060A0; the stored work area (1000 x 700) is not the host's.
hosted() { write_settings ScreenWidth=1000 ScreenHeight=700 BackColor=10510368 File="$2" Delay="$3" && XSCREENSAVER_WINDOW=$1 start /s; }
# shows "width height left top RRGGBB"...: each area of the screen is all of that one colour.
shows() {
    import -window root "$work/shot.png" || return 1
    for area in "$@"; do
        read -r w h x y c <<<"$area"
        [ "$(convert "$work/shot.png" -crop "${w}x$h+$x+$y" -unique-colors -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}')" = "#$c" ] || return 1
    done
}
# in_host width height RRGGBB: the host's window at 40,30 shows the background around a square picture
# fitted to its height and centred on its width, two pixels in from every edge; black below and beside it.
in_host() {
    local side=$((($1 - $2) / 2))
    wait_until 20 shows "$((side - 4)) $(($2 - 4)) 42 32 2060A0" "$(($2 - 4)) $(($2 - 4)) $((42 + side)) 32 $3" \
        "$((side - 4)) $(($2 - 4)) $((42 + side + $2)) 32 2060A0" "800 $((566 - $2)) 0 $((32 + $2)) 000000" \
        "$((756 - $1)) $2 $((44 + $1)) 30 000000"
}
# no_own_window: no shown top-level window of the show's name, neither a show nor a message box.
no_own_window() { ! for id in $(xwininfo -root -children | awk '/"Personal Vantelo"/ {print $1}'); do xwininfo -id "$id"; done | grep -q IsViewable; }

echo "== drawn into the host's window at its size, following it; the host owns the input"
host && hosted "$host" "$work/both.vtl" 0
in_host 320 200 FF0000 || fail "the host's window does not show the background and the picture fitted to it"
xwininfo -id "$host" -children | grep -q ' 320x200+0+0 ' || fail "the show's window does not cover the host's"
no_own_window || fail "the show opened a window of its own"
xdotool mousemove 100 100 sleep 0.2 mousemove 200 130 click 1 sleep 0.5 && running || fail "the show ended on pointer input"
xdotool windowsize "$host" 400 260 && in_host 400 260 FF0000 || fail "after the host grew, the picture is not fitted to it"
kill "$host_pid" && ends_cleanly 10 "the host's window going"

echo "== slides advance; SIGTERM, as XScreenSaver sends it, ends the show cleanly"
host && hosted "$host" "$work/both.vtl" 1
in_host 320 200 FFFF00 || fail "the host's window does not show the second slide"
kill -TERM "$pid" && ends_cleanly 10 SIGTERM

echo "== a report goes to the error stream; a value that names no window leaves the full-screen show"
hosted "$host" "$work/gone.vtl" 5
wait_until 10 grep -qx 'Personal Vantelo: File has been Modified or Deleted, Check Settings!' "$work/stderr" ||
    fail "no report on the error stream"
no_own_window || fail "the hosted show opened a message box"
kill -TERM "$pid" && ends_cleanly 10 SIGTERM
hosted nonsense "$work/both.vtl" 0 # fitted to the stored 1000 x 700: 700 x 700 from 150 across
wait_until 20 shows "146 596 2 2 2060A0" "646 596 152 2 FF0000" || fail "no full-screen show"
grep -q 'names no window here' "$work/stderr" || fail "no warning on the error stream"
kill -TERM "$pid" && ends_cleanly 10 SIGTERM
echo PASS

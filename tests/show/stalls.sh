#!/usr/bin/env bash
# The show over storage that stops answering, as a network share or a sleeping disk does: a FUSE file
# system (support/stallfs.py) whose chosen files hang, answer late or fail, mounted in a private mount
# namespace so that nothing else on the machine ever meets it. The show must come at once, keep showing
# the rows that can be shown, report what failed, and end at once on a move and on SIGTERM.
# Usage: stalls.sh <vantelo.scr>, with VANTELO_FOREIGN_WINDOW naming the stand-in screen-saver host.
# Ends with 77 (skipped) without FUSE or private mounts (root).
if [ -z "${VANTELO_PRIVATE_MOUNTS:-}" ]; then
    { [ -e /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' && unshare -m true; } 2>/dev/null ||
        { echo "SKIPPED: needs /dev/fuse, python3-fusepy and private mounts"; exit 77; }
    VANTELO_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/../support/e2e-lib.sh"
mnt=$work/mnt rules=$work/rules s=${VANTELO_TIME_FACTOR:-1} # sanitizer builds run slower: every limit times s
# The mount goes before the folder: nothing may walk into a mount that hangs.
trap 'kill "${pids[@]}" 2>/dev/null || true; umount -l "$mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
mount_stallfs() {
    /usr/bin/python3 "$(dirname "$0")/../support/stallfs.py" "$work/back" "$mnt" "$rules" & fs=$! && pids+=($!)
    wait_until 10 mountpoint -q "$mnt" || fail "the stalling file system did not mount"
}
mkdir "$work/back" "$mnt" && : >"$rules" && mount_stallfs
for c in red:FF0000 green:00FF00; do convert -size 120x160 "xc:#${c#*:}" BMP3:"$work/pics/${c%:*}.bmp"; done
convert -size 120x160 xc:'#0000FF' BMP3:"$work/back/blue.bmp"
convert -size 8660x5773 gradient:yellow-purple -sampling-factor 4:2:0 -interlace JPEG "$work/pics/50mp.jpg"
red=$work/pics/red.bmp green=$work/pics/green.bmp blue=$mnt/blue.bmp

# list file path...: a slide list of those pictures, each 120 x 160; show delay list: the show on black.
list() {
    local file=$1 k=0 && shift && printf ' %d \r\n' "$#" >"$file"
    for p; do printf '%d | %s/ | %s | 160 X 120 | \r\n' $((k += 1)) "${p%/*}" "${p##*/}" >>"$file"; done
}
show() {
    write_settings ScreenWidth=800 ScreenHeight=600 BackColor=0 Delay="$1" File="$2" ShowType=Ordered
    xdotool mousemove 1000 700 && start /s && started=${EPOCHREALTIME/./}
}
at() { [ "$(colour 400 300)" = "#$1" ]; }
# covered what: the show's window covers the screen in black (or shows the first slide) within 3 s of its
# start, and how long it took is said. Timing is the benchmarks' business: 3 s only tells a window
# that comes from one that waits for storage.
covered() {
    wait_until $((3 * s)) eval 'shown_window "Personal Vantelo" >/dev/null && at 000000 || at FF0000' || fail "$1: no window"
    echo "   the window after $(((${EPOCHREALTIME/./} - started) / 1000)) ms"
}
# comes colour what [seconds]: the slide of that colour comes within that time (5 s).
comes() { wait_until $((${3:-5} * s)) at "$1" || fail "$2"; }
# ends how what: a one-pixel move or SIGTERM ends the show: its process is gone, though a helper of it may
# still be caught in the file system (until the stall is lifted, here at once).
ends() {
    if [ "$1" = move ]; then xdotool mousemove_relative 1 0; else kill -TERM "$pid"; fi
    wait_until $((3 * s)) eval '! kill -0 "$pid" 2>/dev/null' || fail "$2: the show was still there $((3 * s)) s after a $1"
    : >"$rules"
}

for stall in "hang read" "hang stat" "hang open"; do
    echo "== $stall: the rows after the stalled one keep coming, pass after pass; it ends at once"
    echo "$stall blue.bmp" >"$rules" && list "$work/list.vtl" "$red" "$blue" "$green" && show 1 "$work/list.vtl"
    covered "$stall"
    for pass in 1 2; do comes 00FF00 "$stall: no green in pass $pass" && comes FF0000 "$stall: no red after green"; done
    [ "$stall" = "hang read" ] && how=term || how=move
    ends $how "$stall"
done

echo "== a stall that ends: the stalled row comes again on a later pass"
echo "hang read blue.bmp" >"$rules" && show 1 "$work/list.vtl" && comes 00FF00 "no green"
: >"$rules" && comes 0000FF "the row did not come once its storage answered" && ends move "after the stall"

echo "== slow but coming: every look and read on the mount 0.4 s late, a 50-megapixel progressive JPEG; each every pass"
printf 'late=0.4 %s *\n' stat open read >"$rules" && list "$work/slow.vtl" "$red" "$blue" "$work/pics/50mp.jpg" && show 1 "$work/slow.vtl"
for pass in 1 2; do
    comes 0000FF "pass $pass: the late row did not come" 10 && wait_until $((5 * s)) eval '! at 0000FF && ! at FF0000' &&
        wait_until $((5 * s)) at FF0000 || fail "pass $pass: the 50-megapixel picture did not come between blue and red"
done
ends move "slow storage"

echo "== the slide list itself on a mount that hangs: the window at once, and it ends"
cp "$work/list.vtl" "$work/back/list.vtl" && echo "hang read list.vtl" >"$rules"
show 1 "$mnt/list.vtl" && covered "a hanging list" && sleep 1 && ends term "a hanging list"
show 1 "$mnt/list.vtl" && covered "a hanging list" && ends move "a hanging list"

echo "== SIGTERM while a report waits for its OK"
list "$work/list.vtl" "$work/pics/gone.bmp" && show 1 "$work/list.vtl"
wait_until $((5 * s)) eval '[ "$(xdotool search --onlyvisible --name "^Personal Vantelo\$" | wc -l)" = 2 ]' || fail "no report"
ends term "a report waiting for its OK"

echo "== failing storage is reported as such, every pass; a mount pulled out too (hosted: reports to the error output)"
"${VANTELO_FOREIGN_WINDOW:?names the stand-in host}" 320 240 0 0 000000 >"$work/host" & pids+=($!)
wait_until 10 grep -q . "$work/host" || fail "no stand-in host"
echo "eio read blue.bmp" >"$rules" && list "$work/list.vtl" "$red" "$blue" "$work/pics/gone.bmp"
write_settings BackColor=0 Delay=1 File="$work/list.vtl" ShowType=Ordered
XSCREENSAVER_WINDOW=$(head -n 1 "$work/host") start /s
device="Error: 68 has occurred in Project1 error was Device unavailable"
wait_until $((10 * s)) eval '[ "$(grep -c "$device" "$work/stderr")" -ge 2 ]' || fail "an I/O error was not reported as 68 twice"
grep -q "Error: 53 has occurred in Project1 error was File not found" "$work/stderr" || fail "a missing file was not 53"
echo "hang read blue.bmp" >"$rules" && sleep 1.5 && before=$(grep -c "$device" "$work/stderr")
kill -9 "$fs" && wait_until $((10 * s)) eval '[ "$(grep -c "$device" "$work/stderr")" -gt "$before" ]' ||
    fail "a read caught when the mount was pulled out was not reported as 68"
kill -TERM "$pid" && wait_until $((3 * s)) eval '! kill -0 "$pid" 2>/dev/null' || fail "the hosted show did not end on SIGTERM"
echo PASS

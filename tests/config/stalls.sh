#!/usr/bin/env bash
# The configuration window over storage that stops answering, as a network share or a sleeping disk
# does: a FUSE file system (support/stallfs.py) mounted on a drive of its own in a private mount
# namespace, whose chosen files hang or answer late. The window opens at once beside it and answers
# every ping (asked as a window manager asks) within 100 ms while it browses, previews,
# adds and shows the demonstrations there; the last file clicked is the one shown; an add that does
# not come is cancelled with nothing half added; Exit ends the program at once and lets go of its lock.
# Usage: stalls.sh <vantelo.scr>, with VANTELO_WINDOW_PING naming the pinger (window_ping.cpp).
# Ends with 77 (skipped) without FUSE or private mounts (root).
if [ -z "${VANTELO_PRIVATE_MOUNTS:-}" ]; then
    { [ -e /dev/fuse ] && /usr/bin/python3 -c 'import fusepy' && unshare -m true; } 2>/dev/null ||
        { echo "SKIPPED: needs /dev/fuse, python3-fusepy and private mounts"; exit 77; }
    VANTELO_PRIVATE_MOUNTS=1 exec unshare -m --propagation private bash "$0" "$@"
fi
source "$(dirname "$0")/../support/e2e-lib.sh"
mnt=/mnt/stalled rules=$work/rules creator='Personal Vantelo Creator'
s=${VANTELO_TIME_FACTOR:-1} && limit=$((100 * s)) # sanitizer builds run slower: every limit times s
trap ': >"$rules"; kill "${pids[@]}" 2>/dev/null || true; umount -l "$mnt" 2>/dev/null || true; rm -rf "$work"' EXIT
mount -t tmpfs stalls /mnt && mkdir -p "$mnt" "$work/back/slow" && echo "late=3 list slow" >"$rules"
convert -size 64x48 xc:red "$work/back/a.jpg" && convert -size 30x40 xc:lime "$work/back/b.jpg"
convert -size 20x10 xc:blue "$work/back/c.jpg" && write_settings Delay=1
/usr/bin/python3 "$(dirname "$0")/../support/stallfs.py" "$work/back" "$mnt" "$rules" & pids+=($!)
wait_until 10 mountpoint -q "$mnt" || fail "the stalling file system did not mount"

# open: the program in the mount's root; within a second its window, in $window, X and Y its corner.
open() {
    cd "$mnt" && start /c && cd / && wait_until "$s" shown_window "$creator" >/dev/null || fail "no window within $s s"
    window=$(shown_window "$creator") && eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool windowfocus --sync "$window"
}
pinging() { "$VANTELO_WINDOW_PING" "$window" "$1" >"$work/ping" & ping=$!; }
# answered what: every ping since pinging was answered within the limit.
answered() {
    wait "$ping" && read -r longest count <"$work/ping"
    ((longest <= limit && count > 0)) || fail "$1: the window did not answer for $longest ms ($count pings answered)"
    echo "   $1: answered $count pings, the longest wait $longest ms"
}
# ends what: Exit ends the program within a second, though a thread of it stays caught in the file system.
ends() { xdotool mousemove --sync $((X + 522)) $((Y + 304)) click 1 && wait_until "$s" eval '! running' || fail "$1: still running $s s after Exit"; }
windows() { [ "$(xdotool search --onlyvisible --name "^$creator\$" | wc -l)" = "$1" ]; }
red=F.0.0. green=0.F.0. blue=0.0.F. # the pictures' colours, as JPEG keeps them
preview() { [[ "$(colour $((X + 266)) $((Y + 110)))" =~ ^#$1$ ]]; }
keys() { xdotool key --delay 150 "$@"; }

echo "== a folder that lists 3 s late"
open && pinging 4 && keys Tab End Return && answered "a slow folder"
keys Up Return Tab Tab Down && wait_until 2 preview $green || fail "b.jpg, chosen with Down, not previewed"

echo "== a picture that hangs, then another: the other is shown; an add of the one that hangs is cancelled"
keys Tab Tab Tab Tab Return shift+Tab shift+Tab shift+Tab shift+Tab # b.jpg added while it answers
echo "hang read b.jpg" >"$rules" && pinging 3 && keys Up Down Down && answered "a picture that hangs, then another"
preview $blue || fail "c.jpg, chosen while b.jpg hangs, is not shown"
pinging 4 && keys Up Tab Tab Tab Tab Return && wait_until 3 windows 2 || fail "no progress for an add that does not come"
xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$creator\$" | grep -v "$window")" key Escape
wait_until 2 windows 1 && answered "an add that does not come" || fail "Cancel did not end the add"
xdotool windowfocus --sync "$window" && keys shift+Tab shift+Tab shift+Tab shift+Tab Down Tab Tab Tab Tab Return
xdotool mousemove --sync $((X + 392)) $((Y + 304)) click 1 && wait_until 10 shown_window 'Save As' >/dev/null && sleep 0.5 &&
    xdotool type "$work/list.vtl" && xdotool key Return && wait_until 10 test -s "$work/list.vtl" || fail "not saved"
printf ' 2 \r\n1 | %s/ | b.jpg | 40 X 30 | \r\n2 | %s/ | c.jpg | 10 X 20 | \r\n' "$mnt" "$mnt" >"$work/expected"
cmp "$work/expected" "$work/list.vtl" || fail "the list holds other rows: $(cat -A "$work/list.vtl")"

echo "== the small demonstration of a row that hangs; Exit ends the program within 1 s, and it opens again"
pinging 3 && xdotool mousemove --sync $((X + 200)) $((Y + 20)) click 1
answered "Demo SM" && ends "Exit during Demo SM"
echo "== it opens beside a mount whose statfs hangs; choosing that drive says it is not ready; Demo LG"
echo "hang statfs *" >>"$rules" && open && pinging 1.5 && xdotool type "/mnt/st" && answered "waiting for a drive"
wait_until 3 windows 2 && keys Return && wait_until 2 windows 1 || fail "no Drive Not Ready! to answer"
pinging 4 && xdotool mousemove --sync $((X + 268)) $((Y + 20)) click 1 && wait_until 3 shown_window 'Personal Vantelo' &&
    xdotool mousemove_relative 5 5 && wait_until 2 eval '! shown_window "Personal Vantelo"' || fail "no Demo LG to leave"
answered "Demo LG" && ends "Exit after Demo LG"
echo PASS

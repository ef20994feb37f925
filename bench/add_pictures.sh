#!/usr/bin/env bash
# "===>" with 500 pictures selected in a folder whose every read answers 20 ms late (the tests' stalling
# file system, tests/support/stallfs.py, in a private mount namespace), under its own Xvfb, for this build
# and, in the same run, a baseline build. For each: how long the add takes (from the click until its
# progress dialog is gone), the longest moment the window did not answer a ping the way a window manager
# asks (tests/config/window_ping.cpp), the rows saved afterwards; then an add cancelled after 3 s, saved at
# once and again 2 s later: Cancel stops it when both saves hold the same rows.
# Usage, as root: bench/add_pictures.sh [BUILD [BASELINE/vantelo.scr]]   (default: the build/ folder beside
# bench/, which must hold vantelo.scr and vantelo_window_ping: cmake --build build --target
# bench_add_pictures). Needs the packages in bench/packages.txt, fuse3 and python3-fusepy.
set -euo pipefail
build=$(realpath "${1:-$(dirname "$0")/../build}") baseline=${2:+$(realpath "$2")}
if [ -z "${VANTELO_BENCH_INNER:-}" ]; then
    VANTELO_BENCH_INNER=1 exec unshare -m --propagation private xvfb-run -a -s \
        "-screen 0 1024x768x24 -nolisten tcp -noreset" bash "$0" "$build" "$baseline"
fi
for needed in "$build/vantelo.scr" "$build/vantelo_window_ping" $baseline; do
    [ -x "$needed" ] || { echo "missing $needed" >&2; exit 2; }
done
work=$(mktemp -d) mnt=/mnt/bench-pictures creator='Personal Vantelo Creator' pid=
trap '[ -z "$pid" ] || kill "$pid" || true; umount -l "$mnt" || true; kill "$fs" || true; rm -rf "$work"' EXIT
export XDG_RUNTIME_DIR="$work" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled:
mount -t tmpfs bench /mnt && mkdir -p "$mnt" "$work/back" && echo "late=0.02 read *" >"$work/rules"
convert -size 640x480 gradient:red-blue "$work/back/0000.jpg"
for n in $(seq -w 1 499); do cp "$work/back/0000.jpg" "$work/back/0$n.jpg"; done
/usr/bin/python3 "$(dirname "$0")/../tests/support/stallfs.py" "$work/back" "$mnt" "$work/rules" & fs=$!
until mountpoint -q "$mnt"; do sleep 0.1; done

now() { echo "${EPOCHREALTIME/./}"; }
dialogs() { xdotool search --onlyvisible --name "^$creator\$" 2>/dev/null | wc -l; }
until_true() { local end=$(($(now) + $1 * 1000000)) && shift && until "$@"; do (($(now) < end)) || return 1; sleep 0.02; done; }
click() { xdotool mousemove --sync $((X + $1)) $((Y + $2)) click 1; }
pixel() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }
# open program: the window, its files all selected, in a fresh settings folder.
open() {
    export XDG_CONFIG_HOME=$(mktemp -d -p "$work")
    (cd "$mnt" && exec "$1" /c 2>>"$work/stderr") & pid=$!
    until_true 20 eval '[ "$(dialogs)" = 1 ]' || { echo "no window" >&2; exit 1; }
    window=$(xdotool search --onlyvisible --name "^$creator\$") && eval "$(xdotool getwindowgeometry --shell "$window")"
    # The first file, once the folder is listed, then every file.
    until_true 30 eval 'click 50 168 && [ "$(pixel $((X + 50)) $((Y + 168)))" != "#FFFFFF" ]' && xdotool key ctrl+a
}
# saved: the number of rows Save List writes now.
saved() {
    local list=$work/$RANDOM.vtl && click 392 304 && until_true 20 xdotool search --onlyvisible --name '^Save As$' >/dev/null
    xdotool type "$list" && xdotool key Return && until_true 60 test -s "$list" && head -n 1 "$list" | tr -dc 0-9
}
close() { kill "$pid" && wait "$pid" 2>/dev/null || true; pid=; }
for program in "$build/vantelo.scr" $baseline; do
    open "$program"
    "$build/vantelo_window_ping" "$window" 600 >"$work/ping" & ping=$!
    start=$(now) && click 268 272 && until_true 10 eval '[ "$(dialogs)" = 2 ]' && until_true 600 eval '[ "$(dialogs)" = 1 ]'
    took=$((($(now) - start) / 1000)) && kill -TERM "$ping" && wait "$ping" && read -r longest pings <"$work/ping"
    echo "$program: 500 pictures added in $took ms; the longest wait for an answer $longest ms ($pings pings); $(saved) rows saved"
    close && open "$program" && click 268 272 && sleep 3
    xdotool windowfocus --sync "$(xdotool search --onlyvisible --name "^$creator\$" | grep -v "$window")" key Escape
    start=$(now) && until_true 60 eval '[ "$(dialogs)" = 1 ]' && took=$((($(now) - start) / 1000)) && first=$(saved)
    sleep 2 && echo "   cancelled after 3 s, gone $took ms after the Escape: $first rows saved, 2 s later $(saved)"
    close
done

#!/usr/bin/env bash
# The show on two outputs of a Wayland compositor: sway, headless, run as an unprivileged user because it
# refuses to run as root; grim photographs the outputs and wayvnc lends them a pointer. Usage: wayland.sh
# <vantelo.scr>. Ends with 77 (skipped) when a part is missing (tools/install-deps.sh --tests installs them).
for tool in sway swaymsg grim setpriv wayvnc /usr/bin/python3; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
[ -n "$(find /usr/lib -path '*/qt6/plugins/platforms/libqwayland-generic.so' -print -quit)" ] ||
    { echo "SKIPPED: Qt's Wayland platform plugin is not installed"; exit 77; }
source "$(dirname "$0")/../support/e2e-lib.sh"
runtime="$work/wayland"
headless_sway "$runtime" XDG_CONFIG_HOME="$XDG_CONFIG_HOME" WLR_HEADLESS_OUTPUTS=2
as_user+=(WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$(echo "$runtime"/sway-ipc.*.sock)")
"${as_user[@]}" swaymsg output HEADLESS-1 mode 950x800 pos 0 0 >/dev/null
"${as_user[@]}" swaymsg output HEADLESS-2 mode 950x800 pos 950 0 >/dev/null

# The same slides as on X11: row 1 blue 200 x 400, row 2 green 400 x 400, on red; each output fits its
# slide to its own 800 px height: blue 400 x 800 at 275 on the first, green 800 x 800 at 75 on the second.
convert -size 200x400 xc:'#0000FF' BMP3:"$work/pics/blue.bmp"
convert -size 400x400 xc:'#00FF00' BMP3:"$work/pics/green.bmp"
write_list "$work/two.vtl" "blue.bmp|400 X 200" "green.bmp|400 X 400"
write_settings ScreenWidth=950 ScreenHeight=800 BackColor=255 File="$work/two.vtl" Delay=60 ShowType=Ordered

# output name x y...: "#RRGGBB " for each point of a fresh photograph of that output.
output() {
    "${as_user[@]}" grim -o "$1" "$runtime/shot.png" 2>/dev/null && shift &&
        convert "$runtime/shot.png" -alpha off -format "$(printf '#%%[hex:p{%s,%s}] ' "$@")" info:
}
red='#FF0000' blue='#0000FF' green='#00FF00'
both_outputs() {
    [ "$(output HEADLESS-1 5 400 270 400 280 5 670 795 680 400)" = "$red $red $blue $blue $red " ] &&
        [ "$(output HEADLESS-2 70 400 80 5 870 795 880 400)" = "$red $green $green $red " ]
}

# Headless sway has no pointer: a wayvnc on each output lends one, its positions local to that output. Its
# capture also keeps sway from handing a fullscreen window's buffer straight to the output, unseen by grim.
for name in HEADLESS-1 HEADLESS-2; do
    "${as_user[@]}" wayvnc --unix-socket --output="$name" "$runtime/vnc-$name" 2>>"$runtime/vnc.log" &
    pids+=($!) && wait_until 10 test -S "$runtime/vnc-$name" || fail "no wayvnc: $(cat "$runtime/vnc.log")"
done
# pointer output x y: the pointer there, over RFB 3.8: no password, the greeting skipped, one PointerEvent;
# on wayvnc's Unix socket, which no parallel run can hold as it could a TCP port.
pointer() {
    timeout 5 /usr/bin/python3 - "$runtime/vnc-$1" "$2" "$3" <<'PY' || fail "cannot move the pointer over $1"
import socket, sys
vnc = socket.socket(socket.AF_UNIX)
vnc.settimeout(3)
vnc.connect(sys.argv[1])
take = lambda n: vnc.recv(n, socket.MSG_WAITALL)
take(12)[:4] == b"RFB " or sys.exit("no VNC server on " + sys.argv[1])
vnc.sendall(b"RFB 003.008\n")
take(take(1)[0]) and vnc.sendall(b"\1\1")
take(4) == bytes(4) or sys.exit("the VNC server refused a client without password")
take(int.from_bytes(take(24)[20:], "big"))
vnc.sendall(bytes([5, 0]) + int(sys.argv[2]).to_bytes(2, "big") + int(sys.argv[3]).to_bytes(2, "big"))
PY
}

# Started under a still pointer, the show stays; a one-pixel move ends it, over the main window on the first
# output and over another on the second, each at x 20 on its background, away from the slide's picture.
for name in HEADLESS-1 HEADLESS-2; do
    pointer "$name" 20 400
    "${as_user[@]}" QT_QPA_PLATFORM=wayland "$program" /s 2>"$work/stderr" & pid=$! && pids+=("$pid")
    wait_until 20 both_outputs ||
        fail "the outputs show $(output HEADLESS-1 5 400 280 400) and $(output HEADLESS-2 70 400 480 400)"
    running || fail "the show ended by itself, or as it appeared under the still pointer"
    pointer "$name" 21 400
    ends_cleanly 5 "a one-pixel move over $name"
done
echo PASS

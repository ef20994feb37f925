#!/usr/bin/env bash
# The show on two outputs of a Wayland compositor: sway, headless, run as an unprivileged user because it
# refuses to run as root; the outputs are photographed with grim. Usage: wayland.sh <vantelo.scr>. Ends
# with 77 (skipped) when a part is missing (tools/install-deps.sh --tests installs them).
for tool in sway swaymsg grim setpriv; do
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
"${as_user[@]}" QT_QPA_PLATFORM=wayland "$program" /s 2>"$work/stderr" &
pid=$! && pids+=("$pid")

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
wait_until 20 both_outputs ||
    fail "the outputs show $(output HEADLESS-1 5 400 280 400) and $(output HEADLESS-2 70 400 480 400)"
running || fail "the show ended by itself"
echo PASS

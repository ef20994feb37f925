#!/usr/bin/env bash
# Photographs the configuration window of the real program under Xvfb.
# Usage: tools/screenshot-config.sh [program] [output.png] [display] [folder to browse]
# Without a display (or with an empty one) Xvfb picks a free one. The program runs with a private
# settings folder, so your own settings are never touched.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
program="$(realpath "${1:-$here/build/vantelo.scr}")"
output="$(realpath -m "${2:-$here/build/config-window.png}")"
display="${3:-}"
folder="${4:-$HOME}"

work="$(mktemp -d)"
xvfb_pid=""
program_pid=""
cleanup() {
    [ -n "$program_pid" ] && kill "$program_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# -noreset: otherwise the server resets when the probe below leaves, and a program connecting just then
# is turned away.
if [ -n "$display" ]; then
    Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    xvfb_pid=$!
else
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 300); do
        [ -s "$work/display" ] && break
        sleep 0.1
    done
    display=":$(head -n1 "$work/display")"
fi
for _ in $(seq 300); do
    DISPLAY="$display" xdpyinfo >/dev/null 2>&1 && break
    sleep 0.1
done

mkdir -p "$work/config" "$work/runtime"
chmod 700 "$work/runtime"
(cd "$folder" && DISPLAY="$display" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" \
    QT_QPA_PLATFORM=xcb exec "$program" /c) &
program_pid=$!

window=""
for _ in $(seq 300); do
    window="$(DISPLAY="$display" xdotool search --name '^Personal Vantelo Creator$' 2>/dev/null | head -n1 || true)"
    [ -n "$window" ] && break
    sleep 0.1
done
if [ -z "$window" ]; then
    echo "the configuration window did not open" >&2
    exit 1
fi
# Let the window paint its first frame before it is photographed.
sleep 1
DISPLAY="$display" import -window "$window" "$output"
echo "$output"

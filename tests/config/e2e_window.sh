#!/usr/bin/env bash
# The real program under Xvfb: the configuration window opens at its design size with the maker's
# logo, loaded from the program's own folder, in the preview.
set -euo pipefail
program="$1"
here="$(cd "$(dirname "$0")/../.." && pwd)"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

bash "$here/tools/screenshot-config.sh" "$program" "$work/window.png" "" "$work" >/dev/null

size="$(convert "$work/window.png" -format '%w %h' info:)"
[ "$size" = "556 354" ] || { echo "window is $size, not 556 354" >&2; exit 1; }

# The middle of the logo's circle is navy; its ring is gold.
pixel() { convert "$work/window.png" -crop "1x1+$1+$2" -depth 8 -format '%[fx:int(255*r)] %[fx:int(255*g)] %[fx:int(255*b)]' info:; }
read -r r g b <<<"$(pixel 221 108)"
{ [ "$r" -lt 40 ] && [ "$b" -gt 70 ] && [ "$b" -lt 140 ]; } || { echo "no navy at the logo's edge: $r $g $b" >&2; exit 1; }
read -r r g b <<<"$(pixel 266 51)"
{ [ "$r" -gt 200 ] && [ "$g" -gt 160 ] && [ "$b" -lt 80 ]; } || { echo "no gold ring at the logo's top: $r $g $b" >&2; exit 1; }
echo "window and logo as designed"

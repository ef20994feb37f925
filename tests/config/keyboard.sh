#!/usr/bin/env bash
# The configuration window and its About box as the keyboard and a screen reader meet them, under a virtual
# X server with an accessibility bus: a report raised before the window shows is centred on the screen;
# every control that takes the focus is named, as read over AT-SPI; neither window asks for a maximise
# button; tabbing into the file list chooses no file, and Enter on a focused button presses it.
# Usage: keyboard.sh <vantelo.scr>; ends with 77 (skipped) where AT-SPI or pyatspi is missing.
[ -x /usr/libexec/at-spi-bus-launcher ] && /usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "SKIPPED: at-spi2-core or python3-pyatspi is not installed"; exit 77; }
source "$(dirname "$0")/../support/e2e-lib.sh"
export DBUS_SESSION_BUS_ADDRESS=unix:path=$work/bus QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
dbus-daemon --session --address="$DBUS_SESSION_BUS_ADDRESS" --nofork --nopidfile 2>/dev/null &
pids+=($!) && wait_until 10 test -S "$work/bus" || fail "the session bus did not start"
/usr/libexec/at-spi-bus-launcher --launch-immediately 2>/dev/null & pids+=($!)
# tree: the program's accessibility tree, a line a node; fails naming each control that takes the focus
# without a name (entries and cells are what they hold). A combo box's own name is the entry it shows:
# its label names it.
tree() {
    /usr/bin/python3 - <<'PYTHON'
import pyatspi, sys
unnamed = []
def walk(node, depth):
    labels = [r.getTarget(0).name for r in node.getRelationSet() if r.getRelationType() == pyatspi.RELATION_LABELLED_BY]
    name = labels[0] if labels else "" if node.getRole() == pyatspi.ROLE_COMBO_BOX else node.name
    focusable = node.getState().contains(pyatspi.STATE_FOCUSABLE)
    print("  " * depth + f"{node.getRoleName()} '{name}' '{node.description}'" + " focusable" * focusable)
    data = node.getRole() in (pyatspi.ROLE_LIST_ITEM, pyatspi.ROLE_TABLE_CELL)
    unnamed.extend([node.getRoleName()] if focusable and not data and not name.strip() else [])
    for child in node:
        walk(child, depth + 1)
for app in pyatspi.Registry.getDesktop(0):
    if app.name == "Personal Vantelo":
        walk(app, 0)
sys.exit(f"focusable but unnamed: {unnamed}" if unnamed else 0)
PYTHON
}
creator='Personal Vantelo Creator'
windows() { [ "$(xdotool search --onlyvisible --name "^$1\$" | wc -l)" = "$2" ]; }

echo "== a report raised while the window loads, before it shows, is centred on the 1024 x 768 screen"
mkdir "$work/bare" && cp "$program" "$work/bare/" # without the maker's logo beside it
"$work/bare/vantelo.scr" /c 2>"$work/stderr" & pid=$! && pids+=($!)
wait_until 20 shown_window "$creator" >/dev/null || fail "no report of the missing logo"
centred() { eval "$(xdotool getwindowgeometry --shell "$(shown_window "$creator")")" && [[ $((X + WIDTH / 2)),$((Y + HEIGHT / 2)) =~ ^51[12],38[345]$ ]]; }
wait_until 5 centred || fail "the report lies at $X,$Y, $WIDTH x $HEIGHT"
kill "$pid"

echo "== every control that takes the focus is named, the About box's too; neither window can be maximised"
convert -size 64x48 xc:red "$work/pics/alpha.jpg" && cp "$work/pics/alpha.jpg" "$work/pics/beta.jpg"
cd "$work/pics" && start /c
wait_until 20 shown_window "$creator" >/dev/null || fail "the configuration window did not open"
eval "$(xdotool getwindowgeometry --shell "$(shown_window "$creator")")"
xdotool mousemove --sync $((X + 15)) $((Y + 340)) click 1 # the status bar's first panel
wait_until 10 shown_window "About $creator" >/dev/null || fail "the About box did not open"
tree >"$work/tree" 2>"$work/unnamed" || fail "$(cat "$work/unnamed")"
grep -q "combo box 'Drive' '' focusable" "$work/tree" || fail "the drive list is not named: $(cat "$work/tree")"
[ "$(xprop -id "$(shown_window "$creator")" _MOTIF_WM_HINTS)" = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x2e, 0x3e, 0x0, 0x0" ] &&
    [ "$(xprop -id "$(shown_window "About $creator")" _MOTIF_WM_HINTS)" = "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = 0x3, 0x26, 0x1e, 0x0, 0x0" ] ||
    fail "a window asks for more than it can do: $(xprop -id "$(shown_window "$creator")" _MOTIF_WM_HINTS)"
xdotool key Escape && wait_until 10 windows "About $creator" 0 || fail "Escape did not close the About box"

echo "== Tab into the file list chooses no file: ---> says so; a file chosen with Down, Enter on ---> adds it"
# From the drive list: the folders, the file types, the files; then Demo SM, Demo LG, Color and --->.
xdotool windowfocus --sync "$(shown_window "$creator")" sleep 0.5 key --delay 100 Tab Tab Tab Tab Tab Tab Tab Return
wait_until 10 windows "$creator" 2 || fail "---> with no file chosen reported nothing"
xdotool key Return && wait_until 10 windows "$creator" 1 || fail "Enter did not answer the report"
xdotool key --delay 100 shift+Tab shift+Tab shift+Tab shift+Tab Down Tab Tab Tab Tab Return
wait_until 10 eval 'tree | grep "table cell .[a-z]*\.jpg" >/dev/null' || fail "Enter on ---> did not add the chosen file"
running || fail "the window ended"
echo PASS

#!/usr/bin/env bash
# vantelo-idle on each desktop that runs headless here, with idle times of seconds: X11 (Xvfb and
# xss-lock) starts the real show; sway, KDE Plasma (KWin headless) and GNOME (mutter headless on Wayland,
# then mutter on the Xvfb) start a stand-in that notes each start. Each must start once after the idle
# time, not again while nobody is there, and again once the user has come back and gone idle.
# Usage: desktops.sh <vantelo.scr>. Ends with 77 (skipped) when a host is missing (tools/install-deps.sh --tests installs them).
for tool in xvfb-run xdotool xset xss-lock xautolock sway swaymsg swayidle kwin_wayland mutter dbus-daemon gdbus \
    setpriv; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import gi' 2>/dev/null || { echo "SKIPPED: python3-gi is not installed"; exit 77; }
source "$(dirname "$0")/../support/e2e-lib.sh"
unset WAYLAND_DISPLAY
idle="$VANTELO_SOURCE_DIR/packaging/vantelo-idle"

# bus name: a private message bus at $work/name.
bus() {
    dbus-daemon --session --address="unix:path=$work/$1" --nofork --nopidfile 2>/dev/null &
    pids+=($!)
    wait_until 10 test -S "$work/$1" || fail "the private bus $1 did not start"
}
# watcher log command...: vantelo-idle in the background with a stand-in that adds a line to the log,
# whose name holds a space and a quote, as a user's folder might.
watcher() {
    local log=$1
    shift
    "$@" "$idle" --seconds "$seconds" sh -c 'echo started >>"$1"' stand-in "$log" 2>>"$work/stderr" &
    pids+=($!)
}
no_show() { ! shown_window 'Personal Vantelo' >/dev/null; }
runs() { [ "$(tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null)" = "$2" ]; }
starts() { [ "$(wc -l 2>/dev/null <"$1")" = "$2" ]; }
# once_per_absence log activity...: one start, none more while nobody is there, one more after the activity.
once_per_absence() {
    local log=$1
    shift
    wait_until $((seconds + 10)) test -s "$log" || fail "$label: no start after $seconds s idle"
    sleep $((seconds * 2))
    starts "$log" 1 || fail "$label: started again while nobody was there ($(wc -l <"$log") starts)"
    "$@" >/dev/null || fail "$label: could not stand in for the user's return"
    wait_until $((seconds + 10)) starts "$log" 2 || fail "$label: no new start after the user came back"
}

echo "== X11: xss-lock starts the real show, a move ends it, the next idle time starts it again"
# xss-lock ends at its first start unless the login manager knows its session: a stand-in login manager
# on a private system bus answers that one question.
bus system
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system"
/usr/bin/python3 -c '
from gi.repository import Gio, GLib
node = Gio.DBusNodeInfo.new_for_xml("""<node><interface name="org.freedesktop.login1.Manager">
  <method name="GetSessionByPID"><arg type="u"/><arg type="o" direction="out"/></method></interface></node>""")
bus = Gio.bus_get_sync(Gio.BusType.SYSTEM)
bus.register_object("/org/freedesktop/login1", node.interfaces[0], lambda connection, sender, path, interface,
    method, arguments, call: call.return_value(GLib.Variant("(o)", ("/org/freedesktop/login1/session/c1",))))
Gio.bus_own_name_on_connection(bus, "org.freedesktop.login1", 0, None, None)
GLib.MainLoop().run()' &
pids+=($!)
wait_until 10 gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
    --method org.freedesktop.login1.Manager.GetSessionByPID 1 >/dev/null 2>&1 ||
    fail "the stand-in login manager did not start"
xdotool mousemove 10 10
"$idle" --seconds 2 "$program" /s 2>>"$work/stderr" &
pids+=($!)
for round in 1 2; do
    wait_until 10 shown_window 'Personal Vantelo' >/dev/null || fail "no show after 2 s idle (round $round)"
    [ "$(xset q | awk '/timeout:/ {print $2}')" = 2 ] || fail "the X server's idle time is not 2 s"
    xdotool mousemove_relative 1 0
    wait_until 5 no_show || fail "the show did not end on a move (round $round)"
done
kill "${pids[-1]}"

echo "== X11 without a login session: xautolock instead of xss-lock, at its least, one minute"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/none"
"$idle" 1 sh -c 'echo started' 2>>"$work/stderr" &
pids+=($!)
wait_until 10 runs $! "xautolock -time 1 -locker  'sh' '-c' 'echo started' " ||
    fail "vantelo-idle did not run xautolock"
kill "$!"

echo "== sway (headless, as an unprivileged user): swayidle"
headless_sway "$work/sway"
label=sway seconds=1
watcher "$work/sway/it's started" "${as_user[@]}" WAYLAND_DISPLAY=wayland-1
once_per_absence "$work/sway/it's started" \
    "${as_user[@]}" SWAYSOCK="$(echo "$work"/sway/sway-ipc.*.sock)" swaymsg seat - cursor move 5 5

echo "== KDE Plasma (KWin headless, as the same user): swayidle"
# A copy of KWin: the installed one carries a file capability that a container may refuse to start, and
# KWin loads its own Qt platform plugin away from where it was installed only when told to. Headless
# KWin has no input devices, so the user's return is left to the sway round, which shares swayidle.
cp /usr/bin/kwin_wayland "$work/sway/kwin_wayland"
"${as_user[@]}" KWIN_FORCE_OWN_QPA=1 "$work/sway/kwin_wayland" --virtual --socket wayland-kde --no-lockscreen \
    --no-global-shortcuts 2>"$work/sway/kwin.log" &
pids+=($!)
wait_until 20 test -S "$work/sway/wayland-kde" || fail "KWin did not start: $(tail -n 3 "$work/sway/kwin.log")"
watcher "$work/sway/KDE: it's started" "${as_user[@]}" WAYLAND_DISPLAY=wayland-kde
wait_until 11 test -s "$work/sway/KDE: it's started" || fail "KDE Plasma: no start after 1 s idle"
sleep 2
starts "$work/sway/KDE: it's started" 1 || fail "KDE Plasma: started again while nobody was there"

echo "== GNOME: its idle monitor on the session bus, with mutter headless on Wayland, then on X11"
bus session
export DBUS_SESSION_BUS_ADDRESS="unix:path=$work/session"
idle_monitor() {
    gdbus call --session --dest org.gnome.Mutter.IdleMonitor --object-path /org/gnome/Mutter/IdleMonitor/Core \
        --method "org.gnome.Mutter.IdleMonitor.$1" >/dev/null 2>&1
}
# gnome label activity mutter-argument...: the activity stands in for the user's return; headless mutter
# has no input devices, but a debugging switch lets a call reset its idle time.
gnome() {
    local label=$1 activity=$2 log="$work/$1: it's started"
    shift 2
    MUTTER_DEBUG_RESET_IDLETIME=1 mutter "$@" 2>"$work/mutter.log" &
    pids+=($!)
    wait_until 20 idle_monitor GetIdletime || fail "$label: no idle monitor: $(tail -n 3 "$work/mutter.log")"
    $activity
    seconds=2
    watcher "$log" env
    once_per_absence "$log" $activity
    kill "${pids[@]: -2}"
    wait "${pids[@]: -2}" 2>/dev/null || true
}
gnome "GNOME on Wayland" "idle_monitor ResetIdletime" --headless --wayland --no-x11 --virtual-monitor 640x480
gnome "GNOME on X11" "xdotool mousemove_relative 1 0" --x11 --replace --sm-disable
echo "PASS after $SECONDS s"

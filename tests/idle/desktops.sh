#!/usr/bin/env bash
# vantelo-idle on each desktop that runs headless here, with idle times of seconds: X11 (Xvfb, xss-lock) starts the
# real show; sway, KDE Plasma (KWin headless) and GNOME (mutter headless on Wayland, then on the Xvfb) start a stand-in
# noting each start, enabled by --enable, and at a new login by sway's line (added as --enable advises) and GNOME's
# session manager. Each starts once after the idle time, not again while nobody is there, again once the user came back
# and went idle, never while the desktop holds it back. Usage: desktops.sh <vantelo.scr>; 77 (skipped): a host is missing.
for tool in xvfb-run xdotool xset xss-lock xautolock sway swaymsg swayidle kwin_wayland mutter dbus-daemon gdbus \
    setpriv /usr/libexec/gnome-session-binary gnome-session-inhibit; do
    command -v "$tool" >/dev/null || { echo "SKIPPED: $tool is not installed"; exit 77; }
done
/usr/bin/python3 -c 'import gi' 2>/dev/null || { echo "SKIPPED: python3-gi is not installed"; exit 77; }
source "$(dirname "$0")/../support/e2e-lib.sh"
unset WAYLAND_DISPLAY
idle="$VANTELO_SOURCE_DIR/packaging/vantelo-idle"

# bus name: a private message bus at $work/name.
bus() {
    dbus-daemon --session --address="unix:path=$work/$1" --nofork --nopidfile 2>/dev/null & pids+=($!)
    wait_until 10 test -S "$work/$1" || fail "the private bus $1 did not start"
}
# enable_idle log command...: vantelo-idle --enable through the command, its output in $said, with a stand-in
# that adds its time to the log, whose name holds a space and a quote, as a user's folder might.
enable_idle() {
    local log=$1 && shift
    said=$("$@" "$idle" --enable --seconds "$seconds" sh -c 'date +%s.%N >>"$1"' stand-in "$log" 2>>"$work/stderr") ||
        fail "$label: --enable failed: $said"
}
# same what actual line...: the actual text, its pids left out, is exactly these lines.
same() { [ "$(sed 's/pid [0-9]*/pid N/g' <<<"$2")" = "$(printf '%s\n' "${@:3}")" ] || fail "$1:"$'\n'"$2"; }
runs() { [ "$(tr '\0' ' ' <"/proc/$1/cmdline" 2>/dev/null)" = "$2" ]; }
started() { cut -d' ' -f22 "/proc/$1/stat"; }
starts() { [ "$(wc -l 2>/dev/null <"$1")" = "$2" ]; }
# once_per_absence log activity...: one start, none more while nobody is there, one more after the activity.
once_per_absence() {
    local log=$1 && shift
    wait_until $((seconds + 10)) test -s "$log" || fail "$label: no start after $seconds s idle"
    sleep $((seconds * 2))
    starts "$log" 1 || fail "$label: started again while nobody was there ($(wc -l <"$log") starts)"
    "$@" >/dev/null && wait_until $((seconds + 10)) starts "$log" 2 || fail "$label: no new start after the user came back"
}

echo "== X11: xss-lock starts the real show, a move ends it, the next idle time starts it again; not after xset s off"
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
GLib.MainLoop().run()' & pids+=($!)
wait_until 10 gdbus call --system --dest org.freedesktop.login1 --object-path /org/freedesktop/login1 \
    --method org.freedesktop.login1.Manager.GetSessionByPID 1 &>/dev/null || fail "the stand-in login manager did not start"
xdotool mousemove 10 10
"$idle" --seconds 2 "$program" /s 2>>"$work/stderr" & pids+=($!)
for round in 1 2; do
    wait_until 10 shown_window 'Personal Vantelo' >/dev/null || fail "no show after 2 s idle (round $round)"
    xdotool mousemove_relative 1 0
    wait_until 5 eval '! shown_window "Personal Vantelo" >/dev/null' || fail "the show did not end on a move (round $round)"
done
xset s off # as a film player does, or xdg-screensaver suspend
sleep 3
! shown_window 'Personal Vantelo' >/dev/null || fail "a show while the X server's screen saver was off"
kill "${pids[-1]}"

echo "== X11 without a login session: xautolock, at its least, one minute; its own path found whatever CDPATH says"
export DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/none"
mkdir -p "$work/bin" "$work/50%" "$work/new"$'\n'"line" && for folder in bin 50% new$'\n'line; do cp "$idle" "$work/$folder/"; done
as_me=(env HOME="$work/home" XDG_CONFIG_HOME=relative) entry="$work/home/.config/autostart/vantelo-idle.desktop"
said=$(cd "$work" && CDPATH="$work" "${as_me[@]}" bin/vantelo-idle --enable 1 true 2>&1) &&
    read -r watcher _ <"$XDG_RUNTIME_DIR/vantelo-idle.pid" && runs "$watcher" "xautolock -time 1 -locker true " &&
    grep -qx "Exec=$work/bin/vantelo-idle --enable 1 true" "$entry" &&
    "${as_me[@]}" "$work/bin/vantelo-idle" --disable >/dev/null || fail "CDPATH set, or XDG_CONFIG_HOME relative: $said"
for folder in 50% new$'\n'line; do # names an autostart entry cannot hold
    ! said=$("${as_me[@]}" "$work/$folder/vantelo-idle" --enable 1 true 2>&1) &&
        [[ $said = *"per cent sign or a new line"* ]] && [ ! -e "$entry" ] || fail "an unfit path was taken: $said"
done

echo "== sway (headless, as an unprivileged user): --enable starts swayidle now and names the line for sway"
headless_sway "$work/sway"
sway=("${as_user[@]}" WAYLAND_DISPLAY=wayland-1 SWAYSOCK="$(echo "$work"/sway/sway-ipc.*.sock)")
label=sway seconds=1 entry="$work/sway/.config/autostart/vantelo-idle.desktop" record="$work/sway/vantelo-idle.pid"
enable_idle "$work/sway/it's started" "${sway[@]}"
line=$(sed -n 's/^    exec /exec /p' <<<"$said") written=$(cat "$entry")
once_per_absence "$work/sway/it's started" "${sway[@]}" swaymsg seat - cursor move 5 5
before=$(stat -c '%i %y' "$entry" && cat "$record")
enable_idle "$work/sway/it's started" "${sway[@]}"
[ "$(stat -c '%i %y' "$entry" && cat "$record")" = "$before" ] || fail "a second --enable changed the entry or the watcher"
read -r first _ <"$record" && seconds=2
enable_idle "$work/sway/it's started" "${sway[@]}"
! running "$first" || fail "--enable with another idle time left the old watcher running"
same "--status after --enable --seconds 2" "$("${sway[@]}" "$idle" --status)" \
    "enabled: after 2 seconds without input ($entry)" "watcher: running, pid N, after 2 seconds without input" \
    "desktop: watched through swayidle" \
    "sway: reads no autostart entries, and $work/sway/.config/sway/config starts no vantelo-idle"
read -r second _ <"$record"
for _ in 1 2; do "${sway[@]}" "$idle" --disable >/dev/null || fail "--disable failed"; done
! running "$second" || fail "--disable left the watcher running"
same "--status after --disable" "$("${sway[@]}" "$idle" --status | head -n 2)" "enabled: no" "watcher: not running"
# No sway configuration of this user's: as --enable advises, the next login has the system's bar and key bindings.
"${sway[@]}" sh -c "$(sed -n 's/^    mkdir /mkdir /p' <<<"$said")"' && echo "$1" >>"$HOME/.config/sway/config"' - "$line" ||
    fail "no advice to copy the system's sway configuration first: $said"
"${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway &>>"$work/sway/log" & pids+=($!)
login=("${as_user[@]}" WAYLAND_DISPLAY=wayland-2 SWAYSOCK="$work/sway/sway-ipc.$("${as_user[@]}" id -u).$!.sock")
wait_until 15 eval '[[ $("${login[@]}" swaymsg -t get_bar_config)$("${login[@]}" swaymsg -t get_binding_modes) = *bar-0*resize* ]]' \
    2>/dev/null || fail "the next login lost the system's bar or key bindings: $(tail -n 3 "$work/sway/log")"
wait_until 5 eval '[[ $("${sway[@]}" "$idle" --status) = *"watcher: running"* ]]' && [ "$(cat "$entry")" = "$written" ] ||
    fail "sway's line did not enable it as --enable did: $line"
"${sway[@]}" "$idle" --disable >/dev/null && "${sway[@]}" swaymsg "$line >/dev/null" >/dev/null # back to the first session
# A window that keeps the desktop awake, as a film player's does, holds the show back until it closes.
"${sway[@]}" QT_QPA_PLATFORM=wayland "$program" /c 2>>"$work/stderr" & pids+=($!) && awake=$!
wait_until 10 "${sway[@]}" swaymsg '[title="^Personal Vantelo Creator$"] inhibit_idle open' >/dev/null || fail "no window to keep sway awake"
"${sway[@]}" swaymsg seat - cursor move 5 5 >/dev/null && held=$(wc -l <"$work/sway/it's started") && sleep 4
starts "$work/sway/it's started" "$held" || fail "a start while a window kept sway awake"
# sway restarts its idle time at the next input once an inhibitor goes, as a user closing a film moves the mouse.
kill "$awake" && { wait "$awake" || true; } && "${sway[@]}" swaymsg seat - cursor move 5 5 >/dev/null &&
    wait_until 15 starts "$work/sway/it's started" $((held + 1)) || fail "no start once the window closed"
! "${sway[@]}" WAYLAND_DISPLAY=nowhere "$idle" --enable 1 true &>/dev/null || fail "a watcher that ended at once was called started"
echo "== in a runtime folder others may write in, no record or log that another user planted is trusted"
mkdir -m 1777 "$work/shared" && "${as_user[@]}" sh -c 'echo mine >"$1"' - "$work/sway/mine"
"${as_user[@]}" sleep 60 & pids+=($!) && mine=$!
wait_until 5 runs "$mine" "sleep 60 " || fail "no process of the user's"
setpriv --reuid=nobody --regid=nogroup --clear-groups sh -c 'printf "%s\n1\n" "$1" >"$2/vantelo-idle.pid" &&
    ln -s "$3" "$2/vantelo-idle.log"' - "$mine $(started "$mine")" "$work/shared" "$work/sway/mine"
for action in --disable --status "--enable 1 true"; do # shellcheck disable=SC2086 # the action's words
    ! "${sway[@]}" XDG_RUNTIME_DIR="$work/shared" WAYLAND_DISPLAY="$work/sway/wayland-1" "$idle" $action &>/dev/null ||
        fail "$action trusted a runtime folder others may write in"
done
running "$mine" && [ "$(cat "$work/sway/mine")" = mine ] || fail "a planted record or link was followed"

echo "== KDE Plasma (KWin headless, as the same user): --enable, swayidle"
# A copy of KWin, without the file capability a container may refuse, told to load its own Qt platform plugin. It has
# no input devices here: the user's absence and return are left to the sway round, which shares swayidle.
cp /usr/bin/kwin_wayland "$work/sway/kwin_wayland"
"${as_user[@]}" KWIN_FORCE_OWN_QPA=1 "$work/sway/kwin_wayland" --virtual --socket wayland-kde --no-lockscreen \
    --no-global-shortcuts 2>"$work/sway/kwin.log" & pids+=($!)
wait_until 20 test -S "$work/sway/wayland-kde" || fail "KWin did not start: $(tail -n 3 "$work/sway/kwin.log")"
label="KDE Plasma" seconds=1 enable_idle "$work/sway/KDE: it's started" "${as_user[@]}" WAYLAND_DISPLAY=wayland-kde
wait_until 11 test -s "$work/sway/KDE: it's started" || fail "KDE Plasma: no start after 1 s idle"

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
    label=$1 activity=$2 log="$work/$1: it's started" seconds=2 && shift 2
    MUTTER_DEBUG_RESET_IDLETIME=1 mutter "$@" 2>"$work/mutter.log" & pids+=($!)
    wait_until 20 idle_monitor GetIdletime || fail "$label: no idle monitor: $(tail -n 3 "$work/mutter.log")"
    $activity
    enable_idle "$log" env
    once_per_absence "$log" $activity
}
gnome "GNOME on Wayland" "idle_monitor ResetIdletime" --headless --wayland --no-x11 --virtual-monitor 640x480
echo "== GNOME's own session manager: the entry starts the watcher at login; no show while the idle time is held"
mkdir -p "$work/gnome-session/sessions" && printf '%s\n' '[GNOME Session]' Name=Test RequiredComponents= >"$_/test.session"
read -r watcher _ <"$XDG_RUNTIME_DIR/vantelo-idle.pid" && kill "$watcher"
DBUS_SYSTEM_BUS_ADDRESS="unix:path=$work/system" XDG_CONFIG_DIRS="$work" /usr/libexec/gnome-session-binary \
    --builtin --session=test &>"$work/session.log" & pids+=($!)
wait_until 15 starts "$log" 3 || fail "no start by the entry's watcher at login: $(tail -n 3 "$work/session.log")"
gnome-session-inhibit --inhibit idle --inhibit-only >/dev/null & pids+=($!)
$activity
sleep $((seconds + 1))
starts "$log" 3 || fail "a start while gnome-session held the idle time back"
released=$EPOCHREALTIME && kill "${pids[-1]}"
wait_until 4 starts "$log" 4 || fail "no start an idle time after the hold ended"
awk -v r="$released" 'NR == 4 && $1 < r + 2 { exit 1 }' "$log" || fail "a start less than 2 s after the hold ended"
kill "${pids[@]: -3:2}" && wait "${pids[@]: -3:2}" 2>/dev/null || true
gnome "GNOME on X11" "xdotool mousemove_relative 1 0" --x11 --replace --sm-disable
# Only the recorded watcher is stopped: not a process given its pid since, nor one with its pid and start
# time that is no watcher, nor another user's that looks like one.
sleep 60 & pids+=($!) && mine=$! && printf 'sleep 60\n:\n' >"$work/vantelo-idle"
setpriv --reuid=nobody --regid=nogroup --clear-groups sh "$work/vantelo-idle" & pids+=($!) && theirs=$!
wait_until 5 runs "$theirs" "sh $work/vantelo-idle " || fail "no process of another user's"
for recorded in "$mine 1" "$mine $(started "$mine")" "$theirs $(started "$theirs")"; do
    printf '%s\n2\n' "$recorded" >"$XDG_RUNTIME_DIR/vantelo-idle.pid"
    "$idle" --disable >/dev/null && running "${recorded% *}" || fail "--disable stopped $recorded, no watcher of the user's"
done
echo "PASS after $SECONDS s"

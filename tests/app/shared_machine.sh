#!/usr/bin/env bash
# Nothing another user (nobody) leaves in the shared temporary folder, no lock file the user (vantelo-idle-test)
# cannot open, no runtime folder not theirs alone stops their start. Usage: shared_machine.sh <vantelo.scr>, as root.
[ "$(id -u)" = 0 ] || { echo "SKIPPED: acting as two users needs root"; exit 77; }
source "$(dirname "$0")/../support/e2e-lib.sh"
id vantelo-idle-test >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin vantelo-idle-test
uid=$(id -u vantelo-idle-test) shared="$work/tmp" lock="$work/run/personal-vantelo.lock"
mkdir -m 1777 "$shared" && mkdir -m 755 "$work/home" "$work/run" && chown vantelo-idle-test "$work/home" "$work/run" && chmod 711 "$work"
other=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
# runs what [VARIABLE=value]: the user's start of the configuration window stays up; refused: ends at once.
runs() { stop && start_as_user "${@:2}" && sleep 2 && running || fail "$1: the start was refused"; }
refused() { local first=$pid && start_as_user "$@" && wait_until 10 eval '! running' && pid=$first || fail "a second start ran"; }
start_as_user() {
    setpriv --reuid=vantelo-idle-test --regid=vantelo-idle-test --init-groups env -i PATH="$PATH" HOME="$work/home" \
        TMPDIR="$shared" QT_QPA_PLATFORM=offscreen ASAN_OPTIONS="${ASAN_OPTIONS-}" LSAN_OPTIONS="${LSAN_OPTIONS-}" \
        UBSAN_OPTIONS="${UBSAN_OPTIONS-}" "$@" "$program" /c 2>"$work/stderr" &
    pid=$! && pids+=("$pid")
}
stop() { if [ -n "${pid-}" ]; then kill "$pid" 2>/dev/null && wait "$pid" || true; fi; }

"${other[@]}" mkdir -m 700 "$shared/runtime-vantelo-idle-test" "$shared/personal-vantelo-$uid"
"${other[@]}" touch "$shared/personal-vantelo.lock"
runs "no runtime folder, the temporary folder's names taken and a lock file planted by another user" XDG_CONFIG_HOME=config
[ ! -s "$work/stderr" ] && [ -s "$work/home/.config/Personal Vantelo.conf" ] || fail "a word at start, or no settings in ~/.config"
"${other[@]}" chmod 666 "$shared/personal-vantelo.lock"
"${other[@]}" /usr/bin/python3 -c 'import fcntl, os, sys, time
fcntl.lockf(os.open(sys.argv[1], os.O_RDWR), fcntl.LOCK_EX); open(sys.argv[2], "w"); time.sleep(120)' \
    "$shared/personal-vantelo.lock" "$shared/held" & pids+=($!)
wait_until 10 test -e "$shared/held" || fail "the other user's lock was not taken"
runs "no runtime folder, and another user holding the lock file they planted"
runs "a runtime folder others may read" XDG_RUNTIME_DIR="$work/run"
grep -q "XDG_RUNTIME_DIR (\"$work/run\") is no folder of this user's alone" "$work/stderr" || fail "no word of the runtime folder"
refused
chmod 700 "$work/run" && install -m 444 /dev/null "$lock"
runs "a read-only lock file of root's in the runtime folder" XDG_RUNTIME_DIR="$work/run"
[ "$(stat -c %U "$lock")" = vantelo-idle-test ] || fail "the lock file was not replaced"
refused XDG_RUNTIME_DIR="$work/run"
echo "PASS after $SECONDS s"

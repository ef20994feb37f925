# Sourced at the top of every end-to-end script, with the program's path as the script's $1: re-runs the
# script under its own virtual X server (E2E_SCREEN, default 1024x768x24; E2E_XVFB_ARGS for more), gives
# it a private work folder, settings and runtime folder, and offers the shared helpers.
set -euo pipefail
if [ -z "${VANTELO_E2E_INNER:-}" ]; then # -noreset: else the server resets whenever its last client leaves
    VANTELO_E2E_INNER=1 exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1024x768x24} -nolisten tcp -noreset \
        ${E2E_XVFB_ARGS:-}" bash "$0" "$@"
fi
program=$(realpath "$1") work=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d) pids=()
trap 'kill "${pids[@]}" 2>/dev/null || true; rm -rf "$work"' EXIT
# No session bus on the private server: spares libdbus its failed attempt to start one.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/pics" && chmod 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Personal Vantelo.conf"

fail() { echo "FAIL: $*" >&2 && sed 's/^/program: /' "$work/stderr" >&2 2>/dev/null; exit 1; }
# start arguments...: the program in the background, its error stream in $work/stderr, its pid in $pid.
start() { "$program" "$@" 2>"$work/stderr" & pid=$! && pids+=("$pid"); }
# wait_until seconds command...: polls the command until it succeeds or the time is up.
wait_until() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000)) && shift
    until "$@"; do [ "${EPOCHREALTIME/./}" -lt "$deadline" ] && sleep 0.05 || return 1; done
}
# running [pid]: the process exists and is no zombie; ends_cleanly seconds what: $pid ends with status 0.
running() { local state && { read -r _ _ state _ <"/proc/${1:-$pid}/stat"; } 2>/dev/null && [ "$state" != Z ]; }
ends_cleanly() { wait_until "$1" eval '! running' && wait "$pid" || fail "$2 did not end the program cleanly within $1 s"; }
# shown_window name: the id of a shown window of exactly that name; colour x y: "#RRGGBB" on screen there.
shown_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; }
colour() { import -window root -crop "1x1+$1+$2" -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}'; }
# write_settings key=value...: the settings file holds exactly these.
write_settings() { printf '%s\n' '[Settings]' "$@" >"$settings"; }
# write_list file "name|size text"...: a slide list of pictures in $work/pics.
write_list() {
    local file=$1 k=0 row && shift && printf ' %d \r\n' "$#" >"$file"
    for row in "$@"; do printf '%d | %s/ | %s | %s | \r\n' $((k += 1)) "$work/pics" "${row%%|*}" "${row#*|}" >>"$file"; done
}
# headless_sway folder [VARIABLE=value...]: sway without a screen, its runtime in the new private folder,
# run as the unprivileged user vantelo-idle-test when this script runs as root, since sway refuses root;
# as_user then runs a command as that user, in that folder, with those variables.
headless_sway() {
    local folder=$1 && shift
    mkdir -m 700 "$folder"
    as_user=(env -i PATH="$PATH" HOME="$folder" XDG_RUNTIME_DIR="$folder" "$@") # the sanitizer builds' options pass:
    as_user+=(ASAN_OPTIONS="${ASAN_OPTIONS-}" LSAN_OPTIONS="${LSAN_OPTIONS-}" UBSAN_OPTIONS="${UBSAN_OPTIONS-}" TSAN_OPTIONS="${TSAN_OPTIONS-}")
    if [ "$(id -u)" = 0 ]; then
        id vantelo-idle-test >/dev/null 2>&1 ||
            useradd --system --no-create-home --shell /usr/sbin/nologin vantelo-idle-test
        as_user=(setpriv --reuid=vantelo-idle-test --regid=vantelo-idle-test --init-groups "${as_user[@]}")
        chown vantelo-idle-test "$folder"
        chmod 711 "$work"
    fi
    "${as_user[@]}" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman sway -c /dev/null \
        2>"$folder/log" &
    pids+=($!)
    wait_until 15 test -S "$folder/wayland-1" || fail "sway did not start: $(tail -n 3 "$folder/log")"
}

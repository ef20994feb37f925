# Sourced at the top of every end-to-end script, with the program's path as the script's $1: re-runs
# the script under its own virtual X server (E2E_SCREEN, default 1024x768x24; E2E_XVFB_ARGS for more),
# gives it a private work folder, settings and runtime folder, and offers the shared helpers.
set -euo pipefail
if [ -z "${VANTELO_E2E_INNER:-}" ]; then
    export VANTELO_E2E_INNER=1
    # -noreset: by default the server resets whenever its last client leaves, which turns the next
    # client away for a moment and sends the pointer back to the middle of the screen.
    exec xvfb-run -a -s "-screen 0 ${E2E_SCREEN:-1024x768x24} -nolisten tcp -noreset ${E2E_XVFB_ARGS:-}" \
        bash "$0" "$@"
fi

program=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
# No session bus on the private server: spares libdbus its failed attempt to start one.
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    DBUS_SESSION_BUS_ADDRESS=disabled:
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$work/pics"
chmod 700 "$XDG_RUNTIME_DIR"
settings="$XDG_CONFIG_HOME/Personal Vantelo.conf"

fail() {
    echo "FAIL: $*" >&2
    [ -s "$work/stderr" ] && sed 's/^/program: /' "$work/stderr" >&2
    local keep="${TMPDIR:-/tmp}/$(basename "$0" .sh)_failure.png"
    [ -f "$work/shot.png" ] && cp "$work/shot.png" "$keep" && echo "last screenshot: $keep" >&2
    exit 1
}

# start arguments...: the program in the background, its error stream in $work/stderr, its pid in $pid.
start() {
    "$program" "$@" 2>"$work/stderr" &
    pid=$!
    pids+=("$pid")
}

# wait_until seconds command...: polls the command until it succeeds or the time is up.
wait_until() {
    local deadline=$((${EPOCHREALTIME/./} + $1 * 1000000))
    shift
    until "$@"; do
        [ "${EPOCHREALTIME/./}" -lt "$deadline" ] || return 1
        sleep 0.05
    done
}

# running [pid]: the process exists and is no zombie waiting to be reaped.
running() {
    local state
    state=$(sed 's/.*) //' "/proc/${1:-$pid}/stat" 2>/dev/null | cut -c1 || true)
    [ -n "$state" ] && [ "$state" != Z ]
}
ended() { ! running "$@"; }

# ends_cleanly seconds what: the program ($pid) ends within the time, with status 0.
ends_cleanly() {
    wait_until "$1" ended || fail "$2 did not end the program within $1 s"
    local status=0
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "after $2 the program exited with status $status"
}

# shown_window name: the id of a shown window of exactly that name.
shown_window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; }

# geometry id: "W H X Y" of a window.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
        /Width:/ {w=$2} /Height:/ {h=$2} END {print w, h, x, y}'
}

shoot() { import -window root "$work/shot.png"; }

# pixel x y: "r g b" of the last shot.
pixel() {
    convert "$work/shot.png" -format \
        "%[fx:int(255*p{$1,$2}.r+0.5)] %[fx:int(255*p{$1,$2}.g+0.5)] %[fx:int(255*p{$1,$2}.b+0.5)]" info:
}

# near x y r g b: the pixel of the last shot has that colour, within 8 per channel.
near() {
    local got want i d
    read -ra got <<<"$(pixel "$1" "$2")"
    want=("$3" "$4" "$5")
    for i in 0 1 2; do
        d=$((got[i] - want[i]))
        [ "${d#-}" -le 8 ] || return 1
    done
}
expect_color() { near "$@" || fail "pixel ($1, $2) is ($(pixel "$1" "$2")), expected ($3 $4 $5)"; }

# write_settings key=value...: the settings file holds exactly these.
write_settings() { printf '%s\n' '[Settings]' "$@" >"$settings"; }

# write_list file "name|size text"...: a slide list of pictures in $work/pics.
write_list() {
    local file=$1 k=0 row
    shift
    printf ' %d \r\n' "$#" >"$file"
    for row in "$@"; do
        k=$((k + 1))
        printf '%d | %s/ | %s | %s | \r\n' "$k" "$work/pics" "${row%%|*}" "${row#*|}" >>"$file"
    done
}

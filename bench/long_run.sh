#!/usr/bin/env bash
# Runs the show for a long time at a delay of 1 s over a mixed list (small and 50-megapixel JPEGs, a GIF,
# a BMP and, last, a missing picture whose report is confirmed each time) under its own 1920 x 1080 Xvfb,
# and samples the program's resident memory, open files and threads. The report for the missing picture
# ends each pass through the list; the figures just after it are compared: the run is flat when memory
# grew by less than 5 MB after the first pass and the open files and threads did not grow at all.
# Usage: bench/long_run.sh [SECONDS] [BUILD]   (default 3600 s and the build/ folder beside bench/, which
# must hold vantelo.scr and bench_long_run_pictures: cmake --build build --target vantelo_scr
# bench_long_run_pictures). Needs the packages in bench/packages.txt.
set -euo pipefail
seconds=${1:-3600}
build=$(realpath "${2:-$(dirname "$0")/../build}")
if [ -z "${VANTELO_LONG_RUN_INNER:-}" ]; then
    export VANTELO_LONG_RUN_INNER=1
    # -noreset: the server stays as it is between clients (xdotool comes and goes all the time).
    exec xvfb-run -a -s "-screen 0 1920x1080x24 -nolisten tcp -noreset" bash "$0" "$seconds" "$build"
fi

for needed in "$build/vantelo.scr" "$build/bench_long_run_pictures"; do
    [ -x "$needed" ] || { echo "missing $needed" >&2; exit 2; }
done
work=$(mktemp -d)
pid=""
cleanup() {
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; fi
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb \
    DBUS_SESSION_BUS_ADDRESS=disabled:
unset XSCREENSAVER_WINDOW
mkdir -p "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$build/bench_long_run_pictures" "$work/pics"
printf '%s\n' '[Settings]' ScreenWidth=1920 ScreenHeight=1080 BackColor=0 Delay=1 ShowType=Ordered \
    "File=$work/pics/long-run.vtl" >"$XDG_CONFIG_HOME/Personal Vantelo.conf"

now() { echo "${EPOCHREALTIME/./}"; }
start=$(now)
"$build/vantelo.scr" /s 2>"$work/stderr" &
pid=$!

running() { [ -e "/proc/$pid" ] && ! grep -q '^State:.*Z' "/proc/$pid/status" 2>/dev/null; }
# sample: "RSS_KB FILES THREADS" of the program.
sample() {
    local rss threads files
    rss=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
    threads=$(awk '/^Threads:/ {print $2}' "/proc/$pid/status")
    files=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
    echo "$rss $files $threads"
}
elapsed() { echo $((($(now) - start) / 1000000)); }
# The report: a shown window of the program's title that is not the full-screen show.
report_window() {
    local id
    for id in $(xdotool search --onlyvisible --name '^Personal Vantelo$' 2>/dev/null); do
        case "$(xdotool getwindowgeometry "$id" 2>/dev/null | awk '/Geometry:/ {print $2}')" in
        1920x1080 | 1x1 | "") ;;
        *) echo "$id" && return 0 ;;
        esac
    done
    return 1
}
# gone id: the window is no longer shown within 5 s.
gone() {
    local _
    for _ in $(seq 50); do
        xdotool search --onlyvisible --name '^Personal Vantelo$' 2>/dev/null | grep -qx "$1" || return 0
        sleep 0.1
    done
    return 1
}
# line seconds what "RSS FILES THREADS"
line() {
    local rss files threads
    read -r rss files threads <<<"$3"
    printf '%6s s  %-26s RSS %7s kB  files %3s  threads %3s\n' "$1" "$2" "$rss" "$files" "$threads"
}

# Figures just after each pass's report: the first pass's, the latest, and the peaks of the samples
# taken every 3 s after the first pass. The first three passes and then one pass a minute are printed.
passes=0 first="" last="" peaks="0 0 0"
next_sample=0 next_print=$((start + 60000000))
end=$((start + seconds * 1000000))
while [ "$(now)" -lt "$end" ]; do
    running || { echo "FAIL: the show ended by itself after $(elapsed) s" >&2; cat "$work/stderr" >&2; exit 1; }
    if report=$(report_window); then
        xdotool windowfocus "$report" key Return 2>/dev/null || true
        # A report still there is tried again on the next round, and counted once it is gone.
        gone "$report" || continue
        passes=$((passes + 1))
        last=$(sample)
        [ -n "$first" ] || first=$last
        if [ "$passes" -le 3 ] || [ "$(now)" -ge "$next_print" ]; then
            line "$(elapsed)" "end of pass $passes" "$last"
            [ "$passes" -le 3 ] || next_print=$((next_print + 60000000))
        fi
    fi
    if [ -n "$first" ] && [ "$(now)" -ge "$next_sample" ]; then
        read -r -a now_figures <<<"$(sample)"
        read -r -a peak_figures <<<"$peaks"
        for i in 0 1 2; do
            [ "${now_figures[i]}" -le "${peak_figures[i]}" ] || peak_figures[i]=${now_figures[i]}
        done
        peaks="${peak_figures[*]}"
        next_sample=$(($(now) + 3000000))
    fi
    sleep 0.3
done

kill -TERM "$pid"
status=0
wait "$pid" || status=$?
pid=""
[ "$passes" -ge 2 ] || { echo "FAIL: only $passes passes through the list in $seconds s" >&2; exit 1; }
[ -s "$work/stderr" ] && sed 's/^/program: /' "$work/stderr"
line "" "first pass" "$first"
line "" "final (end of pass $passes)" "$last"
line "" "peaks after the first pass" "$peaks"
read -r rss1 files1 threads1 <<<"$first"
read -r rssN filesN threadsN <<<"$last"
verdict=FLAT
if [ $((rssN - rss1)) -ge 5120 ] || [ "$filesN" -gt "$files1" ] || [ "$threadsN" -gt "$threads1" ] ||
    [ "$status" != 0 ]; then
    verdict="NOT FLAT"
fi
echo "$passes passes in $seconds s, exit status $status after SIGTERM; after the first pass: memory" \
    "$((rssN - rss1)) kB (limit < 5120), files $((filesN - files1)), threads $((threadsN - threads1)): $verdict"
[ "$verdict" = FLAT ]

#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root and checks what a user of the package
# gets: its control fields, lintian's verdict, the menu entry, the manual page, vantelo-idle's usage, and
# the unpacked program started through its bin/ link under a private X server, with private settings.
# Then removal: dpkg -r in a private root, and an install into a prefix taken away again with the
# README's steps, neither leaving a file of ours behind.
#
# Usage: packaging/test-deb.sh <build-folder>
# Ends with 77 (skipped) when a tool it needs is missing; CI installs them all (tools/install-deps.sh).
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 <build-folder>" >&2
    exit 2
fi

for tool in cpack dpkg-deb dpkg-shlibdeps xvfb-run xdotool import convert desktop-file-validate timeout; do
    if ! command -v "$tool" >/dev/null 2>&1; then
        echo "SKIPPED: $tool is not installed"
        exit 77
    fi
done

if [ -z "${VANTELO_DEB_TEST_DISPLAY:-}" ]; then
    export VANTELO_DEB_TEST_DISPLAY=1
    exec xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp -noreset" bash "$0" "$@"
fi

build=$(realpath "$1")
work=$(mktemp -d)
pids=()
cleanup()
{
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    if [ -n "${kept-}" ]; then
        for list in install_manifest.txt installed-files.txt; do
            if [ -f "$kept/$list" ]; then mv "$kept/$list" "$build/$list"; else rm -f "$build/$list"; fi
        done
    fi
    rm -rf "$work"
}
trap cleanup EXIT
# cpack and the removal check install from this build folder, which notes each install; its own notes are kept.
kept="$work/kept" && mkdir "$kept"
cp "$build/install_manifest.txt" "$build/installed-files.txt" "$kept/" 2>/dev/null || true

failures=0
fail()
{
    echo "FAIL: $*"
    failures=$((failures + 1))
}
pass()
{
    echo "ok: $*"
}

# --- the package -------------------------------------------------------------------------------
if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log"
    echo "FAIL: cpack could not build the package"
    exit 1
fi
debs=("$work"/out/*.deb)
if [ ${#debs[@]} -ne 1 ] || [ ! -f "${debs[0]}" ]; then
    echo "FAIL: expected one .deb, found: ${debs[*]}"
    exit 1
fi
deb=${debs[0]}
pass "built $(basename "$deb")"

field()
{
    dpkg-deb -f "$deb" "$1"
}
[ "$(field Package)" = personal-vantelo ] || fail "Package is '$(field Package)'"
[ "$(field Section)" = graphics ] || fail "Section is '$(field Section)'"
for library in libqt6core6 libqt6gui6 libqt6widgets6 libxcb1; do
    field Depends | grep -q "\b$library\b" || fail "Depends lacks $library: $(field Depends)"
done
field Recommends | grep -q '\bfonts-liberation\b' || fail "Recommends lacks fonts-liberation"
pass "control fields"

if command -v lintian >/dev/null 2>&1; then
    if lintian --fail-on error,warning "$deb" >"$work/lintian.log" 2>&1; then
        pass "lintian"
    else
        cat "$work/lintian.log"
        fail "lintian reports errors or warnings"
    fi
else
    echo "not run: lintian is not installed"
fi

root="$work/root"
dpkg-deb -x "$deb" "$root"

desktop="$root/usr/share/applications/personal-vantelo.desktop"
if desktop-file-validate "$desktop"; then
    pass "desktop-file-validate"
else
    fail "desktop-file-validate"
fi
grep -qx 'Exec=vantelo.scr /c' "$desktop" || fail "the menu entry does not run 'vantelo.scr /c'"
grep -qx 'Name=Personal Vantelo Creator' "$desktop" || fail "the menu entry is not named Personal Vantelo Creator"
icon=$(sed -n 's/^Icon=//p' "$desktop")
[ -f "$root/usr/share/icons/hicolor/scalable/apps/$icon.svg" ] || fail "the icon '$icon' is not in the package"

if command -v man >/dev/null 2>&1; then
    for page in vantelo.scr vantelo-idle; do
        manual="$root/usr/share/man/man1/$page.1.gz"
        if [ ! -f "$manual" ]; then
            fail "no manual page for $page"
        elif warnings=$(MANWIDTH=80 man --warnings -E UTF-8 -l "$manual" 2>&1 >/dev/null) && [ -z "$warnings" ]; then
            pass "manual page of $page"
        else
            fail "the manual page of $page does not render cleanly: $warnings"
        fi
    done
fi

program="$root/usr/bin/vantelo.scr"
[ "$(readlink "$program")" = ../lib/personal-vantelo/vantelo.scr ] || fail "bin/vantelo.scr is not the relative link"
[ -x "$root/usr/lib/personal-vantelo/vantelo.scr" ] || fail "the program is not in lib/personal-vantelo"
[ -x "$root/usr/bin/vantelo-idle" ] || fail "vantelo-idle is not in bin/"
# vantelo-idle runs under /bin/sh, which is dash on Debian.
if command -v checkbashisms >/dev/null 2>&1; then
    checkbashisms "$root/usr/bin/vantelo-idle" || fail "vantelo-idle uses more than the POSIX shell"
fi
# Its autostart entry passes the desktops' own check and names it by its full path, whatever PATH holds at
# login. With no desktop to watch here, --enable writes the entry and says that it started no watcher.
mkdir -p -m 700 "$work/idle/runtime"
env -u DISPLAY -u WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS=disabled: XDG_CONFIG_HOME="$work/idle" \
    XDG_RUNTIME_DIR="$work/idle/runtime" "$root/usr/bin/vantelo-idle" --enable 10 >/dev/null 2>&1 || true
entry="$work/idle/autostart/vantelo-idle.desktop"
if desktop-file-validate "$entry" && grep -qx "Exec=$root/usr/bin/vantelo-idle --enable 10" "$entry"; then
    pass "vantelo-idle --enable writes a valid autostart entry"
else
    fail "vantelo-idle --enable wrote no valid autostart entry running $root/usr/bin/vantelo-idle --enable 10"
fi

# Its usage: on standard output for --help and -h, on the error output with status 2 for a wrong argument.
for option in --help -h; do
    said=$("$root/usr/bin/vantelo-idle" "$option" 2>&1) && [[ $said == "usage: vantelo-idle "*"-h, --help"* ]] ||
        fail "vantelo-idle $option gave no usage: $said"
done
status=0 && said=$("$root/usr/bin/vantelo-idle" --enable 0 2>/dev/null) || status=$?
[ "$status" = 2 ] && [ -z "$said" ] || fail "vantelo-idle --enable 0: status $status, said '$said'"

# --- removing the package ----------------------------------------------------------------------
# dpkg in a private root: removing the package leaves nothing behind there but dpkg's own records.
if [ "$(id -u)" = 0 ]; then
    packaged="$work/dpkg root"
    mkdir -p "$packaged/var/lib/dpkg/info" "$packaged/var/lib/dpkg/updates" && touch "$packaged/var/lib/dpkg/status"
    if dpkg --root="$packaged" --force-depends -i "$deb" >"$work/dpkg.log" 2>&1 &&
        [ -x "$packaged/usr/bin/vantelo.scr" ] && dpkg --root="$packaged" -r personal-vantelo >>"$work/dpkg.log" 2>&1; then
        left=$(find "$packaged" -mindepth 1 -not -path "$packaged/var" -not -path "$packaged/var/lib" \
            -not -path "$packaged/var/lib/dpkg" -not -path "$packaged/var/lib/dpkg/*")
        [ -z "$left" ] && pass "dpkg -r leaves nothing of the package" || fail "dpkg -r left:"$'\n'"$left"
    else
        cat "$work/dpkg.log"
        fail "dpkg could not install and remove the package in a private root"
    fi
else
    echo "not run: installing the package with dpkg needs root"
fi

# --- the unpacked program ----------------------------------------------------------------------
home="$work/home"
mkdir -p "$home/config" "$home/runtime"
chmod 700 "$home/runtime"
run_env=(env XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" QT_QPA_PLATFORM=xcb)

# Starts the program in the background; its pid lands in $started.
start()
{
    "${run_env[@]}" "$program" "$@" >>"$work/program.log" 2>&1 &
    started=$!
    pids+=("$started")
}

# Waits until a visible window whose whole name is $1 exists; prints its id.
wait_for_window()
{
    local id
    for _ in $(seq 300); do
        if id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ]; then
            echo "$id"
            return 0
        fi
        sleep 0.1
    done
    return 1
}

stop()
{
    kill "$1" 2>/dev/null || true
    wait "$1" 2>/dev/null || true
}

# label, window name, arguments...: the mode opens its window and keeps running until killed.
keeps_running()
{
    local label=$1 name=$2
    shift 2
    start "$@"
    if ! wait_for_window "$name" >/dev/null; then
        fail "$label: no window '$name'"
    elif ! kill -0 "$started" 2>/dev/null; then
        fail "$label: the program ended"
    else
        pass "$label opens '$name'"
    fi
    stop "$started"
}

# label, arguments...: the program ends at once, successfully, without a window.
ends_at_once()
{
    local label=$1 status=0
    shift
    timeout 30 "${run_env[@]}" "$program" "$@" >>"$work/program.log" 2>&1 || status=$?
    if [ "$status" -eq 0 ]; then
        pass "$label ends at once"
    else
        fail "$label: status $status (124: still running after 30 s)"
    fi
}

keeps_running "/c" "Personal Vantelo Creator" /c
keeps_running "/C" "Personal Vantelo Creator" /C
keeps_running "/c:1234" "Personal Vantelo Creator" /c:1234
keeps_running "three spaces then /c" "Personal Vantelo Creator" "   /c"
keeps_running "/cs" "Personal Vantelo Creator" /cs
keeps_running "/s" "Personal Vantelo" /s
keeps_running "/S" "Personal Vantelo" /S
keeps_running "/s 99" "Personal Vantelo" /s 99

ends_at_once "/p 1234" /p 1234
ends_at_once "-s" -s
ends_at_once "s" s
ends_at_once "no arguments"
ends_at_once "an empty argument" ""
ends_at_once "tab then /c" "$(printf '\t/c')"

start /c
first=$started
if wait_for_window "Personal Vantelo Creator" >/dev/null; then
    ends_at_once "a second instance (/s)" /s
    ends_at_once "a second instance (/c)" /c
    kill -0 "$first" 2>/dev/null || fail "the first instance ended when a second one started"
else
    fail "no configuration window for the second-instance check"
fi
stop "$first"

# --- the maker's logo in the preview -----------------------------------------------------------
# The configuration window shows the logo, stretched to the default preview box at client
# (204, 36), 125 x 145. Found through the bin/ link, it proves that the program looks in its real folder.
logo="$root/usr/lib/personal-vantelo/TC_Shield_Circle3b.gif"
if [ ! -f "$logo" ]; then
    if [ -f "$build/TC_Shield_Circle3b.gif" ]; then
        fail "the build made the maker's logo but the package does not carry it"
    else
        echo "SKIPPED: logo check: this build makes no TC_Shield_Circle3b.gif, so the package has none"
    fi
else
    # Compared only where the logo is opaque, since the window shows through elsewhere.
    convert "$logo[0]" -resize '125x145!' "$work/expected.png"
    convert "$work/expected.png" -alpha extract "$work/mask.png"
    coverage=$(convert "$work/mask.png" -format '%[fx:mean]' info:)
    start /c
    shown=no
    if window=$(wait_for_window "Personal Vantelo Creator"); then
        for _ in $(seq 100); do
            import -window "$window" "$work/window.png" 2>/dev/null || true
            if [ -f "$work/window.png" ]; then
                convert "$work/window.png" -crop 125x145+204+36 +repage "$work/preview.png"
                difference=$(convert "$work/preview.png" \( "$work/expected.png" -alpha off \) \
                    -compose difference -composite -colorspace gray "$work/mask.png" -compose multiply -composite \
                    -format '%[fx:mean]' info:)
                if awk -v d="$difference" -v c="$coverage" 'BEGIN { exit !(c > 0 && d / c < 0.08) }'; then
                    shown=yes
                    break
                fi
            fi
            sleep 0.2
        done
        if [ "$shown" = yes ]; then
            pass "the preview shows the maker's logo"
        else
            cp "$work/window.png" "${TMPDIR:-/tmp}/vantelo-deb-preview.png" 2>/dev/null || true
            fail "the preview does not show the maker's logo (mean difference $difference over coverage $coverage;" \
                "screenshot in ${TMPDIR:-/tmp}/vantelo-deb-preview.png)"
        fi
    else
        fail "no configuration window for the logo check"
    fi
    stop "$started"
fi

# --- removing an install from a prefix ---------------------------------------------------------
# cmake --install into a prefix with a blank, an empty bin/ and a file of someone else's; the program and
# vantelo-idle used by a user; then the README's steps: --disable, the uninstall script, the settings file.
# Nothing of ours may be left, no folder we made, and nothing that was there before may go. (The runtime
# folder goes at logout.)
prefix="$work/pre fix" user="$work/user home"
mkdir -p "$prefix/bin" "$prefix/share/applications" "$user/runtime" && touch "$prefix/share/applications/other.desktop"
chmod 700 "$user/runtime"
as_user=(env -u XDG_CONFIG_HOME HOME="$user" XDG_RUNTIME_DIR="$user/runtime" QT_QPA_PLATFORM=xcb)
if cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
    "${as_user[@]}" "$prefix/bin/vantelo.scr" /c >>"$work/program.log" 2>&1 &
    pids+=($!)
    wait_for_window "Personal Vantelo Creator" >/dev/null || fail "no configuration window from the prefix"
    stop "${pids[-1]}"
    "${as_user[@]}" DBUS_SESSION_BUS_ADDRESS=disabled: "$prefix/bin/vantelo-idle" --enable 10 >/dev/null 2>&1 || true
    [ -f "$user/.config/Personal Vantelo.conf" ] && [ -f "$user/.config/autostart/vantelo-idle.desktop" ] ||
        fail "using the installed program wrote no settings or no autostart entry"
    "${as_user[@]}" "$prefix/bin/vantelo-idle" --disable >/dev/null || fail "vantelo-idle --disable failed"
    cmake -P "$build/uninstall.cmake" >>"$work/install.log" 2>&1 || fail "cmake -P uninstall.cmake failed"
    rm -f "$user/.config/Personal Vantelo.conf"
    left=$(find "$prefix" "$user" -path "$user/runtime" -prune -o -iname '*vantelo*' -print
        grep -rlis vantelo "$prefix" "$user" --exclude-dir=runtime || true)
    remaining=$(cd "$prefix" && find . | sort | tr '\n' ' ')
    if [ -n "$left" ]; then
        fail "removal and the clean-up left:"$'\n'"$left"
    elif [ "$remaining" != ". ./bin ./share ./share/applications ./share/applications/other.desktop " ]; then
        fail "removal took or left folders in the prefix: $remaining"
    else
        pass "removal and the clean-up leave no file of ours"
    fi
else
    cat "$work/install.log"
    fail "cmake --install into a prefix with a blank failed"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- program output:"
    cat "$work/program.log" 2>/dev/null || true
    echo "$failures check(s) failed"
    exit 1
fi
echo "all package checks passed"

#!/usr/bin/env bash
# Runs clang-tidy 14 with the checks in .clang-tidy over every .cpp under src/, with the compile
# commands of a configured build folder, at most nproc files at a time. Prints every finding once,
# grouped by check with counts, and fails on any. Qt's generated moc files live in the build folder,
# never under src/, so they are not checked.
#
# Usage: tools/run-tidy.sh [build-folder]   (default build; `cmake --preset default` makes it)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build="${1:-build}"

tidy=$(command -v clang-tidy-14 || command -v clang-tidy || true)
runner=$(command -v run-clang-tidy-14 || command -v run-clang-tidy || true)
if [ -z "$tidy" ] || [ -z "$runner" ]; then
    echo "$0: clang-tidy is missing; tools/install-deps.sh --tests installs it" >&2
    exit 2
fi
if [ ! -f "$build/compile_commands.json" ]; then
    echo "$0: $build/compile_commands.json is missing; configure first (cmake --preset default)" >&2
    exit 2
fi
build=$(cd "$build" && pwd)

# clang-tidy falls back to its default checks when .clang-tidy does not parse; that must not pass.
if ! config_errors=$("$tidy" --dump-config 2>&1 >/dev/null) || [ -n "$config_errors" ]; then
    echo "$0: .clang-tidy does not parse:" >&2
    echo "$config_errors" >&2
    exit 2
fi

# What the build does not compile on this platform (the Windows registry store) cannot be checked here.
mapfile -t unbuilt < <(comm -23 <(find "$root/src" -name '*.cpp' | sort) \
    <(python3 -c 'import json, os, sys
for entry in json.load(open(sys.argv[1])):
    print(os.path.normpath(os.path.join(entry["directory"], entry["file"])))' "$build/compile_commands.json" | sort))
for file in "${unbuilt[@]}"; do
    echo "run-tidy: not checked, this platform's build does not compile ${file#"$root"/}"
done

log=$(mktemp)
trap 'rm -f "$log"' EXIT
pattern="^$(printf '%s' "$root/src/" | sed 's/[][\\.*^$+?(){}|]/\\&/g').*\.cpp$"
status=0
"$runner" -clang-tidy-binary "$tidy" -p "$build" -j "$(nproc)" -quiet "$pattern" >"$log" 2>&1 || status=$?

# A header's finding comes once per file that includes it: keep the first. Each finding, with its
# notes and source lines, is printed under the check that raised it.
findings=0
python3 - "$root/" "$log" <<'PYTHON' || findings=$?
import re, sys
root, log = sys.argv[1], sys.argv[2]
diagnostic = re.compile(r"^\S.*:\d+:\d+: (warning|error|note): ")
noise = re.compile(r"^(/\S*clang-tidy|\d+ warnings? (and \d+ errors? )?generated\.|\d+ errors? generated\.|"
                   r"Suppressed \d+ warnings|Use -header-filter|Error while processing)")
colour = re.compile(r"\x1b\[[0-9;]*m")
findings, current = {}, None
for line in open(log, encoding="utf-8", errors="replace"):
    line = colour.sub("", line.rstrip("\n")).replace(root, "")
    match = diagnostic.match(line)
    if match and match.group(1) != "note":
        checks = re.search(r"\[([^\] ]+)\]$", line)
        check = checks.group(1).replace(",-warnings-as-errors", "") if checks else "(compiler)"
        found = findings.setdefault(check, {})
        current = None if line in found else found.setdefault(line, [])
    elif noise.match(line):
        current = None
    elif current is not None:
        current.append(line)
total = sum(len(found) for found in findings.values())
for check in sorted(findings):
    print(f"{check}: {len(findings[check])}")
    for line, details in findings[check].items():
        print("  " + line)
        for detail in details:
            print("    " + detail)
    print()
print(f"run-tidy: {total} finding(s)")
sys.exit(1 if total else 0)
PYTHON

if [ "$findings" -ne 0 ]; then
    exit 1
fi
if [ "$status" -ne 0 ]; then
    # clang-tidy failed without a finding to show: show all it said.
    cat "$log" >&2
    echo "run-tidy: clang-tidy failed" >&2
    exit 1
fi
echo "run-tidy: src/ is clean"

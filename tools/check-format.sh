#!/usr/bin/env bash
# Fails, listing the files, when any C++ source under src/ tests/ bench/ fuzz/ tools/ differs from
# .clang-format. Usage: tools/check-format.sh [folder...]   (default: all five)
# Formatting follows clang-format 14; another version formats some constructs differently.
set -euo pipefail
cd "$(dirname "$0")/.."

clang_format=$(command -v clang-format-14 || command -v clang-format || true)
if [ -z "$clang_format" ]; then
    echo "$0: clang-format is missing; tools/install-deps.sh --tests installs it" >&2
    exit 2
fi

folders=("$@")
if [ ${#folders[@]} -eq 0 ]; then folders=(src tests bench fuzz tools); fi
for folder in "${folders[@]}"; do
    if [ ! -d "$folder" ]; then
        echo "$0: no folder $folder" >&2
        exit 2
    fi
done

unformatted=()
while IFS= read -r -d '' file; do
    if ! "$clang_format" --style=file --dry-run --Werror "$file" >/dev/null 2>&1; then
        unformatted+=("$file")
    fi
done < <(find "${folders[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z)

if [ ${#unformatted[@]} -ne 0 ]; then
    echo "These files differ from .clang-format (fix with: clang-format -i FILE...):" >&2
    printf '  %s\n' "${unformatted[@]}" >&2
    exit 1
fi
echo "check-format: every C++ file under ${folders[*]} follows .clang-format"

#!/usr/bin/env bash
# Fails, naming each file, when a C++ source or header differs from what clang-format makes of
# it with the repository's .clang-format. Fix a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "check-format: clang-format is not installed (scripts/setup.sh installs it)" >&2
    exit 1
fi

status=0
report=$(git ls-files -z --cached --others --exclude-standard -- '*.h' '*.cpp' |
    grep -zvE '^build[^/]*/' |
    while IFS= read -r -d '' file; do # a file deleted but not yet committed is skipped
        if [ -f "$file" ]; then printf '%s\0' "$file"; fi
    done |
    xargs -0 -r -n 64 -P "$(nproc)" clang-format --dry-run -Werror 2>&1) || status=$?
[ "$status" -eq 0 ] && exit 0
flagged=$(printf '%s\n' "$report" | sed -n 's/^\(.*\):[0-9]*:[0-9]*: error: .*clang-format.*/\1/p' |
    sort -u)
if [ -n "$flagged" ]; then
    printf '%s\n' "$flagged" | sed 's/$/: not as .clang-format lays it out/'
else
    printf '%s\n' "$report" >&2 # clang-format failed for another reason; show it
fi
exit 1

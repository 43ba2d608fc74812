#!/usr/bin/env bash
# Fails, naming each file, when a C++ source or header differs from what clang-format makes of
# it with the repository's .clang-format. Fix a file with: clang-format -i FILE
set -euo pipefail
cd "$(dirname "$0")/.."
if ! command -v clang-format >/dev/null; then
    echo "check-format: clang-format is not installed (scripts/setup.sh installs it)" >&2
    exit 1
fi

# Batches that pass are done at once; a batch that fails is checked file by file, one name a
# line, short enough to reach the pipe whole from the parallel runs.
flagged=$(git ls-files -z --cached --others --exclude-standard -- '*.h' '*.cpp' |
    grep -zvE '^build[^/]*/' |
    xargs -0 -r -n 32 -P "$(nproc)" sh -c '
        clang-format --dry-run -Werror "$@" >/dev/null 2>&1 && exit 0
        for file; do
            # a file deleted but not yet committed is skipped
            [ -f "$file" ] || continue
            clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || printf "%s\n" "$file"
        done' sh |
    sort)
if [ -n "$flagged" ]; then
    printf '%s\n' "$flagged" | sed 's/$/: not as .clang-format lays it out/'
    exit 1
fi

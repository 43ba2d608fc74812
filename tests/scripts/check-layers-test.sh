#!/usr/bin/env bash
# check-layers-test.sh SOURCE-ROOT
# Copies the program's headers and sources into a scratch folder, plants one bad include at a
# time and expects scripts/check-layers.sh to fail naming the planted file; the clean copy
# must pass.
set -euo pipefail
source_root=$(cd "$1" && pwd)
check=$source_root/scripts/check-layers.sh
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

(cd "$source_root" &&
    find . \( -name '.?*' -o -path './build*' -o -path ./out -o -path ./tests -o -path ./bench \
        -o -path ./fuzz \) -prune -o -type f \( -name '*.h' -o -name '*.cpp' \) -print |
    tar -cf - -T -) | tar -xf - -C "$scratch"

failures=0
# The first source of a folder, so that files moving within a folder do not break the test.
first_source() { find "$scratch/$1" -maxdepth 1 -name '*.cpp' | LC_ALL=C sort | head -n 1; }

expect_refused() { # KIND FILE: the check must fail and name FILE
    local kind=$1 file=${2#"$scratch"/} output
    if output=$("$check" "$scratch" 2>&1); then
        echo "FAIL: $kind passed the check"
        failures=$((failures + 1))
    elif ! grep -q "^$file:" <<<"$output"; then
        echo "FAIL: $kind: the check did not name $file; it said:"
        echo "$output"
        failures=$((failures + 1))
    else
        echo "ok: $kind: $(head -n 1 <<<"$output")"
    fi
}

plant() { # KIND FOLDER LINE: appends LINE to the folder's first source, checks, restores
    local kind=$1 file
    file=$(first_source "$2")
    cp "$file" "$scratch/saved"
    printf '%s\n' "$3" >>"$file"
    expect_refused "$kind" "$file"
    mv "$scratch/saved" "$file"
}

if ! output=$("$check" "$scratch" 2>&1); then
    echo "FAIL: the clean copy was refused:"
    echo "$output"
    exit 1
fi

plant "upward include" maze '#include "view/CGridloomView.h"'
plant "upward include written with ../" maze '#include "../document/CGridloomDoc.h"'
plant "upward include written with ./ and ../" image/core '#include "./../../maze/MazeCell.h"'
plant "GTK header outside ui" document '#include <gtk/gtk.h>'
plant "GDK header outside ui" view '#include <gdk/gdkx.h>'
plant "X11 header outside ui" platform '#include <X11/Xlib.h>'
plant "wx header outside ui" app '#include <wx/app.h>'
plant "the wx platform outside ui" app '#include "platform/wx/WxCommandTable.h"'
plant "include between two folders of one floor" net '#include "tiles/TileSet.h"'
plant "include between two windows of one floor" view/ui '#include "dialogs/ui/Anything.h"'
plant "include of an unknown folder" frame '#include "widgets/Thing.h"'

mkdir "$scratch/widgets"
printf '#include "platform/Types.h"\nint widget;\n' >"$scratch/widgets/Thing.cpp"
expect_refused "file in an unknown folder" "$scratch/widgets/Thing.cpp"
rm -r "$scratch/widgets"

if [ "$failures" -ne 0 ]; then
    echo "$failures planted include(s) were not caught"
    exit 1
fi

#!/usr/bin/env bash
# Fails, naming file and line, when an include breaks the layer order. Every folder holding
# program code is listed below with the folders it may include (its own is implied); anything
# not listed fails: a file in an unknown folder, an include of an unknown folder, and an
# include between two folders of one floor. Includes written with ../ or ./ are resolved as
# the compiler does before they are checked. wx, GTK, GDK and X11 headers belong to the
# windows (*/ui) and to platform/wx only.
# tests/, bench/ and fuzz/ are harnesses: each links only the libraries it names, so the
# build checks them. Usage: scripts/check-layers.sh [source root]
set -euo pipefail
root=${1:-"$(dirname "$0")/.."}
cd "$root"

# Floors, bottom up: platform; res; image/core; image/filters, image/metafile; image/codecs;
# forms (beside the image rooms: it needs only platform); maze; document; frame;
# net, tiles, gesture; view, dialogs, controls; app; */ui.
below_image="platform res"
below_maze="$below_image image/core image/filters image/metafile image/codecs"
below_document="$below_maze forms maze"
below_frame="$below_document document"
below_services="$below_frame frame"
below_views="$below_services net tiles gesture"
below_app="$below_views view dialogs controls"
below_ui="$below_app app platform/wx"
allow="
platform:
platform/wx:     platform
res:             platform
image/core:      $below_image
image/filters:   $below_image image/core
image/metafile:  $below_image image/core
image/codecs:    $below_image image/core image/metafile
maze:            $below_maze
document:        $below_document
frame:           $below_frame
net:             $below_services
tiles:           $below_services
forms:           platform
gesture:         $below_services
view:            $below_views
dialogs:         $below_views
controls:        $below_views
app:             $below_app
res/tools:       $below_views view
frame/ui:        $below_ui
view/ui:         $below_ui
controls/ui:     $below_ui
dialogs/ui:      $below_ui controls/ui
app/ui:          $below_ui frame/ui view/ui controls/ui dialogs/ui
"

files=$(mktemp)
trap 'rm -f "$files"' EXIT
find . \( -name '.?*' -o -path './build*' -o -path ./out -o -path ./tests -o -path ./bench \
    -o -path ./fuzz \) -prune -o -type f \
    \( -name '*.h' -o -name '*.hpp' -o -name '*.c' -o -name '*.cc' -o -name '*.cpp' \) -print |
    sed 's|^\./||' | LC_ALL=C sort >"$files"

# shellcheck disable=SC2046 # file names of the tree hold no spaces
awk -v allowText="$allow" -v list="$files" '
function folder(path) { return path ~ /\// ? substr(path, 1, match(path, /\/[^\/]*$/) - 1) : "" }
# Resolves ./ and ../ the way the compiler does; a path climbing above the root stays visibly bad.
function normal(path,    parts, n, i, out, depth) {
    n = split(path, parts, "/"); depth = 0
    for (i = 1; i <= n; i++) {
        if (parts[i] == "." || parts[i] == "") continue
        if (parts[i] == "..") { if (depth > 0) depth--; else stack[++depth] = ".."; continue }
        stack[++depth] = parts[i]
    }
    out = ""
    for (i = 1; i <= depth; i++) out = out (i > 1 ? "/" : "") stack[i]
    return out
}
function fail(message) { print FILENAME ":" FNR ": " message; bad = 1 }
BEGIN {
    n = split(allowText, lines, "\n")
    for (i = 1; i <= n; i++) {
        if (lines[i] !~ /:/) continue
        dir = lines[i]; sub(/:.*/, "", dir)
        rest = lines[i]; sub(/^[^:]*:/, "", rest)
        known[dir] = 1; may[dir, dir] = 1
        m = split(rest, targets, /[ \t]+/)
        for (j = 1; j <= m; j++) if (targets[j] != "") may[dir, targets[j]] = 1
    }
    while ((getline path < list) > 0) {
        exists[path] = 1
        top = path; sub(/\/.*/, "", top); topFolder[top] = 1
    }
}
FNR == 1 {
    from = folder(FILENAME)
    if (!(from in known)) fail("\"" from "\" is not a folder of the layer list in scripts/check-layers.sh")
}
/^[ \t]*#[ \t]*include[ \t]*["<]/ {
    quoted = $0 ~ /^[ \t]*#[ \t]*include[ \t]*"/
    target = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", target)
    sub(/[">].*$/, "", target)
    if (target ~ /^(wx|X11)\// || target ~ /^(gtk|gdk)/) {
        if (from !~ /\/ui$/ && from != "platform/wx") fail("toolkit include <" target "> outside */ui and platform/wx")
        next
    }
    first = target; sub(/\/.*/, "", first)
    if (!quoted && !(first in topFolder)) next # a system header
    # The compiler looks beside the including file first, then at the source root.
    beside = normal((from == "" ? "" : from "/") target)
    resolved = (quoted && (beside in exists)) ? beside : normal(target)
    if (quoted && target !~ /\// && !(resolved in exists)) next # a system header written with quotes
    to = folder(resolved)
    if (!((from, to) in may)) {
        if (!(to in known)) fail("includes \"" target "\": \"" to "\" is not a folder of the layer list")
        else fail("includes \"" target "\": " from " may not include " to)
    }
}
END { exit bad }
' $(cat "$files")

#!/usr/bin/env bash
# Fails, naming file and line, when an include points up the layer order:
#   app/ui -> other */ui -> app -> view, dialogs, controls, gesture -> frame -> document
#   -> maze -> image -> res -> platform
# Only */ui and platform/wx may include wx or platform/wx.
set -euo pipefail
cd "$(dirname "$0")/.."

git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp' |
    grep -vE '^(tests|bench|fuzz|build[^/]*)/' |
    xargs awk '
function folder(path) { sub(/\/[^\/]*$/, "", path); return path }
function rank(dir) {
    if (dir == "app/ui") return 90
    if (dir ~ /\/ui$/) return 80
    if (dir == "app") return 70
    if (dir ~ /^view(\/|$)/ || dir == "dialogs" || dir == "controls" || dir == "gesture") return 60
    if (dir == "frame") return 50
    if (dir == "document") return 40
    if (dir == "maze") return 30
    if (dir == "image") return 20
    if (dir == "res") return 10
    if (dir == "platform/wx") return 5
    if (dir == "platform") return 0
    return -1
}
function windowed(dir) { return dir ~ /\/ui$/ || dir == "platform/wx" }
FNR == 1 { from = folder(FILENAME); fromRank = rank(from) }
fromRank >= 0 && /^[ \t]*#[ \t]*include[ \t]*["<]/ {
    target = $0
    sub(/^[ \t]*#[ \t]*include[ \t]*["<]/, "", target)
    sub(/[">].*$/, "", target)
    if (target ~ /^wx\//) {
        if (!windowed(from)) { print FILENAME ":" FNR ": toolkit include <" target "> outside */ui and platform/wx"; bad = 1 }
        next
    }
    if (target !~ /\//) next
    to = folder(target); toRank = rank(to)
    if (toRank < 0) next
    if (to == "platform/wx" && !windowed(from)) {
        print FILENAME ":" FNR ": includes \"" target "\": the wx platform layer serves windows only"; bad = 1
    } else if (toRank > fromRank) {
        print FILENAME ":" FNR ": includes \"" target "\": " from " may not include " to; bad = 1
    }
}
END { exit bad }
'

#!/usr/bin/env bash
# A new user's first step: clone the repository's committed HEAD, run the README's first
# command in the clone and see the main window; then close the program. Runs under an X
# server of its own (xvfb-run). Everything it makes lives in WORK and goes when it ends.
#
#   run-from-fresh-clone.sh REPOSITORY WORK
#
# WORK keeps the same name between runs so that ccache (used when present) finds the
# compiler's earlier work; the folder is emptied before and removed after.
set -euo pipefail
repository=$1
work=$2
title='Untitled - Orlimber STD'
build_seconds=${ORLIMBER_CLONE_BUILD_SECONDS:-1500}
program=

cleanup() {
  if [ -n "$program" ] && kill -0 "$program" 2>/dev/null; then
    kill -KILL "$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/run.log" ] && tail -n 40 "$work/run.log" >&2
  exit 1
}

# The id of this program's visible window called exactly $1, or nothing (--all: otherwise
# xdotool takes any window of the process).
window() {
  xdotool search --all --onlyvisible --pid "$program" --name "^$1\$" 2>/dev/null | tail -n 1 || true
}

# Sources that are not a git repository (an unpacked archive) have nothing to clone.
if ! git -C "$repository" rev-parse -q --verify HEAD >/dev/null 2>&1; then
  echo "skipped: $repository is not a git repository"
  exit 77
fi
rm -rf "$work"
mkdir -p "$work/config/Orlimber" "$work/data"
clone=$work/orlimber
git clone -q --no-checkout "$repository" "$clone"
git -C "$clone" checkout -q --detach "$(git -C "$repository" rev-parse HEAD)"

# The command exactly as the README gives it first.
command=$(sed -n '/^```sh$/{n;p;q}' "$clone/README.md" | awk '{print $1}')
[ -n "$command" ] || fail "the README names no first command"

# A settings file of the user's own, whose web host is this machine (the suite contacts no
# other address).
printf '[Settings]\nWebBase=str:http://127.0.0.1:9/\nProbeHosts=str:127.0.0.1\n' \
  >"$work/config/Orlimber/OrlimberSTD.ini"
if command -v ccache >/dev/null; then
  export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
# run.sh ends by becoming the program, so this id is the program's once it starts.
(cd "$clone" && exec "$command") >"$work/run.log" 2>&1 &
program=$!

shown=
end=$((SECONDS + build_seconds))
while [ $SECONDS -lt $end ]; do
  kill -0 "$program" 2>/dev/null || fail "$command ended without showing the main window"
  shown=$(window "$title")
  [ -n "$shown" ] && break
  # Any box the program puts up instead (such as a damaged installation) is a failure.
  [ -n "$(window 'Orlimber STD')" ] && fail "the program showed a message box, not its window"
  sleep 0.5
done
[ -n "$shown" ] || fail "no main window within ${build_seconds}s"
echo "main window shown after ${SECONDS}s"

# File > Exit, as the user leaves; tried again while the window does not take keys yet.
for attempt in 1 2 3 4 5; do
  shown=$(window "$title")
  [ -z "$shown" ] && break
  xdotool windowfocus --sync "$shown" key --clearmodifiers alt+f 2>/dev/null || true
  xdotool sleep 0.5 key x 2>/dev/null || true
  for _ in $(seq 40); do
    kill -0 "$program" 2>/dev/null || break 2
    sleep 0.25
  done
done
kill -0 "$program" 2>/dev/null && fail "File > Exit did not end the program"
wait "$program" || fail "the program ended with status $?"
program=
echo "closed"

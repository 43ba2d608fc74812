#!/usr/bin/env bash
# Runs every window test (the ctest entries labelled ui) N times in an existing build tree and
# prints each failure and a summary; exits 1 when any run failed.
#   scripts/soak-ui.sh [-B build-folder] [-j parallel-tests] N
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
  echo "usage: $0 [-B build-folder] [-j parallel-tests] N" >&2
  exit 2
}

build=build
jobs=4
while getopts "B:j:h" option; do
  case $option in
    B) build=$OPTARG ;;
    j) jobs=$OPTARG ;;
    *) usage ;;
  esac
done
shift $((OPTIND - 1))
[ $# -eq 1 ] || usage
runs=$1
[[ $runs =~ ^[1-9][0-9]*$ ]] || usage
[[ $jobs =~ ^[1-9][0-9]*$ ]] || usage
[ -f "$build/CTestTestfile.cmake" ] || {
  echo "$build is not a configured build tree" >&2
  exit 2
}

mapfile -t tests < <(cd "$build" && ctest -N -L ui | sed -n 's/^ *Test *#[0-9]*: \(ui\..*\)$/\1/p')
[ ${#tests[@]} -gt 0 ] || {
  echo "no window tests in $build" >&2
  exit 2
}

logs=$build/soak-ui
rm -rf "$logs"
mkdir -p "$logs"
declare -A failures=()
for test in "${tests[@]}"; do failures[$test]=0; done

for ((run = 1; run <= runs; run++)); do
  log=$logs/run-$run.log
  (cd "$build" && ctest -L ui -j "$jobs" --output-on-failure) >"$log" 2>&1 || true
  mapfile -t failed < <(sed -n 's/^[[:space:]]*[0-9]* - \(ui\.[^ ]*\) (.*)$/\1/p' "$log")
  for test in "${failed[@]}"; do
    failures[$test]=$((failures[$test] + 1))
    echo "run $run: $test failed (log: $log)"
  done
  if [ ${#failed[@]} -gt 0 ]; then
    grep -E '^\[  FAILED  \] [^ ]+ \(|: Failure$|toolkit warning' "$log" | sed 's/^/    /' | sort -u || true
  else
    echo "run $run: all ${#tests[@]} window tests passed"
  fi
done

echo
echo "summary: ${#tests[@]} window tests, $runs runs each"
total=0
for test in "${tests[@]}"; do
  count=${failures[$test]}
  total=$((total + count))
  printf '  %-32s %d of %d failed\n' "$test" "$count" "$runs"
done
if [ "$total" -gt 0 ]; then
  echo "$total failed runs in all"
  exit 1
fi
echo "no failures"

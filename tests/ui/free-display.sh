#!/bin/sh
# free-display.sh DISPLAY SERVER-ARGS PROGRAM [ARGS...]
# Runs PROGRAM under xvfb-run on DISPLAY once that display is free: the server of the run
# before may still be shutting down and holding it. Should the server fail to start all the
# same, it is started again; the program itself runs once.
display=$1
server=$2
shift 2
lock=/tmp/.X$display-lock
started=$(mktemp)
trap 'rm -f "$started"' EXIT

wait_for_display() {
    waited=0
    while [ -e "$lock" ] && [ "$waited" -lt 300 ]; do
        pid=$(tr -d ' ' <"$lock" 2>/dev/null)
        # A lock whose server is gone is stale; the next server clears it itself.
        if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
            return
        fi
        sleep 0.1
        waited=$((waited + 1))
    done
}

status=1
for attempt in 1 2 3; do
    wait_for_display
    : >"$started"
    xvfb-run -n "$display" -s "$server" sh -c 'echo ran >"$0"; exec "$@"' "$started" "$@"
    status=$?
    [ -s "$started" ] && exit "$status"
    echo "free-display: the X server on :$display did not start (attempt $attempt)" >&2
done
exit "$status"

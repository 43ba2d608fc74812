#!/bin/sh
# Runs xvfb-run on display $1 with the remaining arguments once that display is free: the
# server of the run before may still be shutting down and holding its lock.
display=$1
shift
lock=/tmp/.X$display-lock
waited=0
while [ -e "$lock" ] && [ "$waited" -lt 300 ]; do
    pid=$(tr -d ' ' <"$lock" 2>/dev/null)
    # A lock whose server is gone is stale; the next server clears it itself.
    if [ -z "$pid" ] || ! kill -0 "$pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
    waited=$((waited + 1))
done
exec xvfb-run -n "$display" "$@"

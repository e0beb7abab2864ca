#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, whatever DISPLAY says: the GUI tests open
# windows and move the pointer. Displays are taken from :99 upwards, never :0, because a
# framework program without DISPLAY connects to :0 and would find this server there. Xvfb locks
# the display itself and exits when it is taken, so parallel runs never share one. Listing the
# tests needs no display.
#
#   with-xvfb.sh COMMAND [ARG...]
set -uo pipefail

for argument in "$@"; do
    [ "$argument" = "--gtest_list_tests" ] && exec "$@"
done

ready_file=$(mktemp)
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; wait 2>/dev/null; rm -f "$ready_file"' EXIT

# Starts Xvfb on display $1; true once it is ready, false when it gave up (display taken).
start_xvfb() {
    : >"$ready_file"
    Xvfb ":$1" -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$ready_file" 2>/dev/null &
    xvfb_pid=$!
    for _ in $(seq 200); do
        grep -q '[0-9]' "$ready_file" && return 0
        kill -0 "$xvfb_pid" 2>/dev/null || { xvfb_pid=""; return 1; }
        sleep 0.05
    done
    return 1
}

display=""
for candidate in $(seq 99 199); do
    if start_xvfb "$candidate"; then
        display=$candidate
        break
    fi
done
if [ -z "$display" ]; then
    echo "with-xvfb.sh: no Xvfb display could be started" >&2
    exit 1
fi

DISPLAY=":$display" "$@"

#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, whatever DISPLAY says: the GUI tests open
# windows and move the pointer. Xvfb picks a free display itself (-displayfd), so parallel runs
# never collide. Listing the tests needs no display.
#
#   with-xvfb.sh COMMAND [ARG...]
set -uo pipefail

for argument in "$@"; do
    [ "$argument" = "--gtest_list_tests" ] && exec "$@"
done

display_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" 2>/dev/null &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$display_file"' EXIT

for _ in $(seq 200); do
    grep -q '[0-9]' "$display_file" && break
    if ! kill -0 "$xvfb_pid" 2>/dev/null; then
        echo "with-xvfb.sh: Xvfb did not start" >&2
        exit 1
    fi
    sleep 0.05
done
grep -q '[0-9]' "$display_file" || { echo "with-xvfb.sh: Xvfb gave no display" >&2; exit 1; }

DISPLAY=":$(head -n 1 "$display_file")" "$@"

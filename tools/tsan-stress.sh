#!/usr/bin/env bash
# Builds the GUI tests with ThreadSanitizer in a build directory of their own and runs the thread
# stress test under it (a host automating, the host's audio thread and the message thread with
# the editor open, all on one processor), then the editor-under-audio test. Any data race or
# lock-order inversion fails the run.
#
#   tools/tsan-stress.sh [SECONDS]     stress duration, default 20
#
# BREVALON_TSAN_BUILD_DIR overrides the build directory (default: a folder under /tmp named after
# this checkout, beside the normal build). Needs what tools/run.sh installs.
set -euo pipefail

seconds=${1:-20}
repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BREVALON_TSAN_BUILD_DIR:-/tmp/brevalon-tsan-$(printf %s "$repo" | md5sum | cut -c1-8)}

export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$repo/tools/tsan.supp"
export BREVALON_STRESS_SECONDS=$seconds

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVALON_SANITIZE=thread -DBREVALON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target gui_thread_tests
"$repo/tests/gui/with-xvfb.sh" "$build/tests/gui/gui_thread_tests"

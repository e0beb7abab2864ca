#!/usr/bin/env bash
# Builds the plug-ins and the hosting tests with AddressSanitizer in a build directory of their
# own, then runs the create/prepare/process/destroy stress test under it: every format loaded,
# prepared at random rates and block sizes, run and destroyed 50 times; and every format's editor
# opened and closed 20 times while audio runs (on a private Xvfb display).
#
#   tools/asan-stress.sh            the stress test
#   tools/asan-stress.sh --all      every hosting test
#
# BREVALON_ASAN_BUILD_DIR overrides the build directory (default: a folder under /tmp named after
# this checkout, beside the normal build). Needs what tools/run.sh installs.
set -euo pipefail

filter='HostStress.*'
case "${1:-}" in
    "") ;;
    --all) filter='*' ;;
    *)
        echo "usage: $0 [--all]" >&2
        exit 2
        ;;
esac

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BREVALON_ASAN_BUILD_DIR:-/tmp/brevalon-asan-$(printf %s "$repo" | md5sum | cut -c1-8)}

# Leak checking stays off: JUCE and the LV2 libraries keep process-lifetime allocations that
# LeakSanitizer would report, and it would also fail the LV2 manifest step of the build.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBREVALON_SANITIZE=address -DBREVALON_BUILD_BENCHMARKS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target host_tests host_editor_tests
"$build/tests/host/host_tests" --gtest_filter="$filter"
"$repo/tests/gui/with-xvfb.sh" "$build/tests/host/host_editor_tests"

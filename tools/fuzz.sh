#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz with Debian's clang (address and undefined-behaviour
# sanitizers, libFuzzer coverage) in a build directory of their own, then fuzzes one target or
# every target for SECONDS each, starting from the seeds in tests/fuzz/corpus/<target>. New inputs
# the fuzzer finds go to a corpus in the build directory; a crash, hang, leak or sanitizer report
# stops the run with the input saved there, and the script fails.
#
#   tools/fuzz.sh TARGET SECONDS     TARGET: host_chunk, paste, user_preset_file,
#                                    global_settings_file, parameter_text, audio_file
#   tools/fuzz.sh all SECONDS
#
# BREVALON_FUZZ_BUILD_DIR overrides the build directory (default: a folder under /tmp named
# after this checkout).
set -euo pipefail

targets=(host_chunk paste user_preset_file global_settings_file parameter_text audio_file)
target=${1:-}
seconds=${2:-}
if [ -z "$target" ] || ! [[ "$seconds" =~ ^[1-9][0-9]*$ ]]; then
    echo "usage: $0 TARGET|all SECONDS (targets: ${targets[*]})" >&2
    exit 2
fi
if [ "$target" = all ]; then
    selected=("${targets[@]}")
elif [[ " ${targets[*]} " == *" $target "* ]]; then
    selected=("$target")
else
    echo "unknown target: $target (targets: ${targets[*]})" >&2
    exit 2
fi

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BREVALON_FUZZ_BUILD_DIR:-/tmp/brevalon-fuzz-$(printf %s "$repo" | md5sum | cut -c1-8)}

# What the product's libraries need to compile, and clang with its sanitizer and libFuzzer runtimes.
"$repo/tools/install-packages.sh" build-essential cmake pkg-config ccache clang libclang-rt-dev \
    juce-modules-source libflac-dev libvorbis-dev libogg-dev libpng-dev libjpeg-dev zlib1g-dev libx11-dev fst-dev lv2-dev fonts-dejavu-core

# A failed sanitizer check ends the run (the undefined-behaviour checks would otherwise only
# print and carry on).
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DBREVALON_FUZZ=ON -DBREVALON_SANITIZE=address,undefined -DCMAKE_C_FLAGS=-fno-sanitize-recover=all \
    -DCMAKE_CXX_FLAGS=-fno-sanitize-recover=all -DBREVALON_BUILD_TESTS=OFF -DBREVALON_BUILD_BENCHMARKS=OFF >/dev/null
jobs=$(nproc)
cmake --build "$build" -j"$jobs" --target "${selected[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
for name in "${selected[@]}"; do
    corpus="$build/fuzz-corpus/$name"
    artifacts="$build/fuzz-artifacts/$name"
    mkdir -p "$corpus" "$artifacts"
    echo "== $name: $seconds s"
    # -timeout: an input taking over 10 s is a hang; -rss_limit_mb: a runaway allocation is a fault.
    "$build/tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$corpus" "$repo/tests/fuzz/corpus/$name"
done

#!/usr/bin/env bash
# brevalon-render against sox on the same file: 60 s of 192 kHz stereo 24-bit noise, filtered at
# the default 21 kHz, slope 75 % (93 taps) by brevalon-render and by `sox IN OUT sinc -22k -n 93`,
# sox's own 93-tap windowed-sinc low-pass. The two run alternately, 5 times each; the script
# prints each one's median wall-clock time and their ratio. Installs sox when it is missing.
#
#   bench/compare-sox.sh [BUILD_DIR]
#
# BUILD_DIR holds the built brevalon-render (default: $BREVALON_BUILD_DIR, else the folder
# tools/run.sh builds in).
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-${BREVALON_BUILD_DIR:-/tmp/brevalon-build-$(printf %s "$repo" | md5sum | cut -c1-8)}}
render="$build/app/brevalon-render"
runs=5

if [ ! -x "$render" ]; then
    echo "no brevalon-render in $build/app; build it first (tools/run.sh build)" >&2
    exit 1
fi
"$repo/tools/install-packages.sh" sox

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
input="$work/in.wav"
sox -q -n -r 192000 -c 2 -b 24 "$input" synth 60 whitenoise vol 0.5

# Wall-clock seconds of one run of the command given.
seconds() {
    local start end
    start=$(date +%s.%N)
    "$@" >/dev/null 2>&1
    end=$(date +%s.%N)
    awk -v a="$start" -v b="$end" 'BEGIN { printf "%.4f", b - a }'
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

render_times=()
sox_times=()
for ((i = 1; i <= runs; i++)); do
    render_times+=("$(seconds "$render" --quiet "$input" "$work/render.wav")")
    sox_times+=("$(seconds sox "$input" "$work/sox.wav" sinc -22k -n 93)")
    rm -f "$work/render.wav" "$work/sox.wav"
done

render_median=$(printf '%s\n' "${render_times[@]}" | median)
sox_median=$(printf '%s\n' "${sox_times[@]}" | median)
printf 'brevalon-render: %.3f s (median of %d: %s)\n' "$render_median" "$runs" "${render_times[*]}"
printf 'sox sinc -n 93:  %.3f s (median of %d: %s)\n' "$sox_median" "$runs" "${sox_times[*]}"
awk -v s="$sox_median" -v r="$render_median" 'BEGIN { printf "brevalon-render is %.2fx as fast as sox\n", s / r }'

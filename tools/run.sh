#!/usr/bin/env bash
# Set-up and entry point: installs the Debian packages the build needs (when missing), configures
# and builds out of tree, then runs the demo or the whole test suite.
#
#   tools/run.sh demo    build, then render the demo signal into $build/demo (brevalon-render --demo)
#   tools/run.sh test    build, then run every test with ctest
#   tools/run.sh build   build only
#
# BREVALON_BUILD_DIR overrides the build directory (default: a folder under /tmp named after
# this checkout); every mode prints it once built. With CI=true, warnings in the project's own
# code are errors.
set -euo pipefail

mode=${1:-}
case "$mode" in
    demo | test | build) ;;
    *)
        echo "usage: $0 demo|test|build" >&2
        exit 2
        ;;
esac

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BREVALON_BUILD_DIR:-/tmp/brevalon-build-$(printf %s "$repo" | md5sum | cut -c1-8)}

packages=(
    build-essential cmake pkg-config ccache
    juce-modules-source libflac-dev libvorbis-dev libogg-dev libpng-dev libjpeg-dev zlib1g-dev
    fst-dev lv2-dev fonts-dejavu-core
    libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth libx11-dev locales
    sordi liblilv-dev
)
"$repo/tools/install-packages.sh" "${packages[@]}"

# A locale with a decimal comma, so the tests can show that texts do not depend on the locale.
# The list is read whole before matching: grep -q stopping early would make `locale` fail
# under pipefail and the locale look missing.
locales=$(locale -a 2>/dev/null || true)
if ! grep -qix 'de_DE\.utf-\?8' <<<"$locales"; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: could not generate de_DE.UTF-8; the locale test will be skipped"
fi

warnings_as_errors=OFF
[ "${CI:-}" = "true" ] && warnings_as_errors=ON

cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBREVALON_WARNINGS_AS_ERRORS=$warnings_as_errors >/dev/null
cmake --build "$build" -j"$(nproc)"
echo "Built in $build"

case "$mode" in
    demo) "$build/app/brevalon-render" --demo "$build/demo" ;;
    test) ctest --test-dir "$build" --output-on-failure -j"$(nproc)" ;;
    build) ;;
esac

#!/usr/bin/env bash
# Set-up and entry point: installs the Debian packages a mode needs (when missing), configures
# and builds out of tree, then runs the demo, the whole test suite or makes the Debian package.
#
#   tools/run.sh demo     build brevalon-render only, then render the demo signal into $build/demo
#                         (brevalon-render --demo)
#   tools/run.sh test     build everything, then run every test with ctest
#   tools/run.sh package  build the plug-ins and programs, then the Debian package
#                         $build/brevalon_<version>_amd64.deb (cpack); its path is the last line
#   tools/run.sh build    build everything
#
# BREVALON_BUILD_DIR overrides the build directory (default: a folder under /tmp named after
# this checkout); every mode prints it once built. With CI=true, warnings in the project's own
# code are errors.
set -euo pipefail

mode=${1:-}
case "$mode" in
    demo | test | package | build) ;;
    *)
        echo "usage: $0 demo|test|package|build" >&2
        exit 2
        ;;
esac

repo=$(cd "$(dirname "$0")/.." && pwd)
build=${BREVALON_BUILD_DIR:-/tmp/brevalon-build-$(printf %s "$repo" | md5sum | cut -c1-8)}

# What configuring and building brevalon-render needs (JUCE, its codecs, the editor's font,
# which the configuration embeds).
renderer_packages=(
    build-essential cmake pkg-config ccache
    juce-modules-source libflac-dev libvorbis-dev libogg-dev libpng-dev libjpeg-dev zlib1g-dev
    fonts-dejavu-core
)
# The plug-ins on top: VST 2.4 from the FST headers, LV2.
plugin_packages=(fst-dev lv2-dev)
# Making the Debian package: the manual as PDF (pandoc, WeasyPrint, which sets it in the DejaVu
# fonts); dpkg-shlibdeps comes with build-essential.
package_packages=(pandoc weasyprint)
# The tests and benchmarks, and the tools the package's test checks its desktop entry, PDF and
# manual page with.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth libx11-dev locales
    sordi liblilv-dev
    desktop-file-utils poppler-utils man-db groff-base
)

case "$mode" in
    demo) packages=("${renderer_packages[@]}") ;;
    package) packages=("${renderer_packages[@]}" "${plugin_packages[@]}" "${package_packages[@]}") ;;
    test | build) packages=("${renderer_packages[@]}" "${plugin_packages[@]}" "${package_packages[@]}" "${test_packages[@]}") ;;
esac
"$repo/tools/install-packages.sh" "${packages[@]}"

if [ "$mode" = test ]; then
    # A locale with a decimal comma, so the tests can show that texts do not depend on the
    # locale. The list is read whole before matching: grep -q stopping early would make `locale`
    # fail under pipefail and the locale look missing.
    locales=$(locale -a 2>/dev/null || true)
    if ! grep -qix 'de_DE\.utf-\?8' <<<"$locales"; then
        sudo=""
        [ "$(id -u)" -eq 0 ] || sudo="sudo"
        $sudo localedef -i de_DE -f UTF-8 de_DE.UTF-8 || echo "note: could not generate de_DE.UTF-8; the locale test will be skipped"
    fi
fi

warnings_as_errors=OFF
[ "${CI:-}" = "true" ] && warnings_as_errors=ON

options=(-DCMAKE_BUILD_TYPE=Release "-DBREVALON_WARNINGS_AS_ERRORS=$warnings_as_errors")
case "$mode" in
    test | build) options+=(-DBREVALON_BUILD_TESTS=ON -DBREVALON_BUILD_BENCHMARKS=ON) ;;
    *)
        # The demo and the package need no tests or benchmarks (nor their packages), so a new
        # build folder is configured without them; one configured with them keeps them.
        if [ ! -f "$build/CMakeCache.txt" ]; then
            options+=(-DBREVALON_BUILD_TESTS=OFF -DBREVALON_BUILD_BENCHMARKS=OFF)
        fi
        ;;
esac
cmake -S "$repo" -B "$build" "${options[@]}" >/dev/null

case "$mode" in
    demo) cmake --build "$build" --target brevalon-render -j"$(nproc)" ;;
    *) cmake --build "$build" -j"$(nproc)" ;;
esac
echo "Built in $build"

case "$mode" in
    demo) "$build/app/brevalon-render" --demo "$build/demo" ;;
    test) ctest --test-dir "$build" --output-on-failure -j"$(nproc)" ;;
    package)
        version=$(head -n 1 "$repo/VERSION")
        (cd "$build" && cpack -G DEB >cpack.log 2>&1) || {
            cat "$build/cpack.log" >&2
            exit 1
        }
        deb="$build/brevalon_${version}_amd64.deb"
        [ -f "$deb" ] || {
            echo "cpack made no $deb (see $build/cpack.log)" >&2
            exit 1
        }
        echo "$deb"
        ;;
    build) ;;
esac

#!/usr/bin/env bash
# Builds the Windows x86-64 plug-ins (VST 2.4 DLL and VST3 bundle) with MinGW-w64 from a clean
# checkout, then checks them under Wine with a small Windows console host:
#
#   tools/windows/build.sh            build and test
#   tools/windows/build.sh build      build only
#
# BREVALON_WINDOWS_BUILD_DIR overrides the build directory (default: a folder under /tmp named
# after this checkout). Installs the Debian packages it needs when they are missing.
set -euo pipefail

mode=${1:-test}
repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${BREVALON_WINDOWS_BUILD_DIR:-/tmp/brevalon-windows-$(printf %s "$repo" | md5sum | cut -c1-8)}

packages=(mingw-w64 wine64 libz-mingw-w64-dev dpkg-dev cmake ccache juce-modules-source fst-dev)
"$repo/tools/install-packages.sh" "${packages[@]}"

deps="$build/deps"
"$repo/tools/windows/build-deps.sh" "$deps/work" "$deps/prefix"

# JUCE's CMake package from juce-modules-source, whatever its version (the newest if there are
# several): the cross toolchain searches only the MinGW tree, so it is named explicitly.
juce_config=$(find /usr/lib -path '*/cmake/JUCE-*/JUCEConfig.cmake' 2>/dev/null | sort -V | tail -n 1)
if [ -z "$juce_config" ]; then
    echo "error: JUCE's CMake package (JUCEConfig.cmake) is not under /usr/lib; is juce-modules-source installed?" >&2
    exit 1
fi

warnings_as_errors=OFF
[ "${CI:-}" = "true" ] && warnings_as_errors=ON
cmake -S "$repo" -B "$build/cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-x86_64.cmake" \
    -DJUCE_DIR="$(dirname "$juce_config")" \
    -DBREVALON_WINDOWS_DEPS_PREFIX="$deps/prefix" \
    -DBREVALON_WARNINGS_AS_ERRORS=$warnings_as_errors >/dev/null
cmake --build "$build/cmake" -j"$(nproc)" --target Brevalon_VST Brevalon_VST3 WindowsPluginTest

artefacts="$build/cmake/Brevalon_artefacts/Release"
vst2="$artefacts/VST/Brevalon.dll"
vst3="$artefacts/VST3/Brevalon.vst3/Contents/x86_64-win/Brevalon.vst3"
echo "Built: $vst2"
echo "       $artefacts/VST3/Brevalon.vst3"
[ "$mode" = "build" ] && exit 0

# Only Windows system DLLs may be imported: nothing from MinGW's runtime.
status=0
for binary in "$vst2" "$vst3" "$build/cmake/WindowsPluginTest.exe"; do
    imports=$(x86_64-w64-mingw32-objdump -p "$binary" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
    echo "$(basename "$binary") imports: $(echo $imports)"
    for dll in $imports; do
        case "$dll" in
            kernel32.dll | user32.dll | gdi32.dll | advapi32.dll | shell32.dll | ole32.dll | oleaut32.dll | comdlg32.dll | \
                imm32.dll | shlwapi.dll | version.dll | winmm.dll | wininet.dll | ws2_32.dll | comctl32.dll | \
                uuid.dll | rpcrt4.dll | dwmapi.dll | msvcrt.dll | uxtheme.dll | crypt32.dll | setupapi.dll | \
                opengl32.dll | dxgi.dll | d2d1.dll | dwrite.dll | d3d11.dll | iphlpapi.dll | api-ms-win-*.dll | \
                ucrtbase.dll | bcrypt.dll | winspool.drv | shcore.dll | netapi32.dll | userenv.dll | mpr.dll | wsock32.dll) ;;
            *)
                echo "error: $(basename "$binary") imports $dll, which is not a Windows system DLL"
                status=1
                ;;
        esac
    done
done

# Wine in a fresh prefix inside the build tree, headless.
export WINEPREFIX="$build/wineprefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY=
rm -rf "$WINEPREFIX"
wine "$build/cmake/WindowsPluginTest.exe" "$(winepath -w "$vst2")" "$(winepath -w "$vst3")" || status=1
exit $status

#!/usr/bin/env bash
# Builds the Debian package from a build tree's install rules (CPack) into a temporary folder and
# checks it: the control fields, every file in its place under /usr and nothing elsewhere, and
# that the packaged renderer runs.
#   check-deb.sh BUILD_DIR VERSION
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR VERSION}
version=${2:?usage: $0 BUILD_DIR VERSION}
work=$(mktemp -d "${TMPDIR:-/tmp}/brevalon-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || {
    cat "$work/cpack.log"
    exit 1
}
deb="$work/brevalon_${version}_amd64.deb"
[ -f "$deb" ] || {
    ls "$work"
    echo "no package $deb" >&2
    exit 1
}

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = brevalon ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version)"
[ "$(field Architecture)" = amd64 ] || fail "Architecture: $(field Architecture)"
[ "$(field Section)" = sound ] || fail "Section: $(field Section)"
grep -qE '^Quillfen <[^@> ]+@[^@> ]+>$' <<<"$(field Maintainer)" || fail "Maintainer: $(field Maintainer)"
grep -q 'Linear-phase FIR low-pass' <<<"$(field Description)" || fail "Description: $(field Description)"
# The libraries the binaries link, found by dpkg-shlibdeps.
for library in libc6 libstdc++6 libasound2 libfreetype6 libflac12; do
    grep -q "$library" <<<"$(field Depends)" || fail "Depends lacks $library: $(field Depends)"
done

# Files: the expected ones present (as files, executables where they must be), nothing outside
# /usr, no build paths.
listing=$(dpkg-deb -c "$deb")
files=$(awk '{ print $6 }' <<<"$listing" | sed 's|^\./|/|')
expect() {
    local path=$1 mode=$2
    local line
    line=$(awk -v p=".$path" '$6 == p' <<<"$listing")
    [ -n "$line" ] || { fail "missing $path"; return; }
    [[ "${line:0:10}" == $mode ]] || fail "$path has mode ${line:0:10}, expected $mode"
}
expect /usr/lib/vst3/Brevalon.vst3/Contents/x86_64-linux/Brevalon.so '-rw[x-]r-[x-]r-[x-]'
expect /usr/lib/lv2/Brevalon.lv2/libBrevalon.so '-rw[x-]r-[x-]r-[x-]'
expect /usr/lib/lv2/Brevalon.lv2/manifest.ttl '-rw-r--r--'
expect /usr/lib/lv2/Brevalon.lv2/dsp.ttl '-rw-r--r--'
expect /usr/lib/lv2/Brevalon.lv2/ui.ttl '-rw-r--r--'
expect /usr/lib/vst/Brevalon.so '-rwxr-xr-x'
expect /usr/bin/brevalon-render '-rwxr-xr-x'
expect /usr/bin/Brevalon '-rwxr-xr-x'
expect /usr/share/doc/brevalon/manual.md '-rw-r--r--'
expect /usr/share/doc/brevalon/copyright '-rw-r--r--'
outside=$(grep -vE '^/(usr(/(lib|bin|share|share/doc))?)?/?$' <<<"$files" | grep -vE '^/usr/(lib/(vst3|lv2|vst)|bin|share/doc/brevalon)(/|$)' || true)
[ -z "$outside" ] || fail "files outside the plug-in, program and document folders: $outside"
grep -q "$build" <<<"$listing" && fail "a path of the build tree in the package"

# The packaged programs: stripped, and the renderer runs.
dpkg-deb -x "$deb" "$work/root"
for binary in usr/bin/brevalon-render usr/bin/Brevalon usr/lib/vst/Brevalon.so usr/lib/lv2/Brevalon.lv2/libBrevalon.so \
    usr/lib/vst3/Brevalon.vst3/Contents/x86_64-linux/Brevalon.so; do
    if readelf -S "$work/root/$binary" | grep -q '\.debug_\|\.symtab'; then
        fail "$binary is not stripped"
    fi
done
"$work/root/usr/bin/brevalon-render" --version | grep -qx "brevalon-render $version" || fail "the packaged brevalon-render does not run"

size=$(stat -c %s "$deb")
echo "$(basename "$deb"): $((size / 1024)) KiB, $(wc -l <<<"$files") entries"
[ $failures -eq 0 ] || exit 1
echo "package checked"

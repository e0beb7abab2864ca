#!/usr/bin/env bash
# Builds the Debian package from a build tree's install rules (CPack) into a temporary folder and
# checks it: the control fields; every expected file in its place, of its kind (stripped
# binaries, a valid desktop entry whose program and icon are in the package, PNG icons of their
# size, a manual page that renders cleanly, the PDF manual with its title and every chapter, the
# documents as in the source); nothing outside the package's folders; and that the packaged
# renderer runs. The package is unpacked into a temporary root (dpkg -x), not installed.
#   check-deb.sh BUILD_DIR VERSION
set -euo pipefail

build=${1:?usage: $0 BUILD_DIR VERSION}
version=${2:?usage: $0 BUILD_DIR VERSION}
source=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/brevalon-deb-XXXXXX")
trap 'rm -rf "$work"' EXIT
export LC_ALL=C.UTF-8

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

# The listing: one "MODE PATH" line per entry (a link's target after " -> "); paths may hold
# spaces, so the path is everything after the fifth column.
listing=$(dpkg-deb -c "$deb" | sed -E 's/^([^ ]+) +[^ ]+ +[^ ]+ +[^ ]+ +[^ ]+ +\.(.*)$/\1 \2/')
grep -q "$build" <<<"$listing" && fail "a path of the build tree in the package"
dpkg-deb -x "$deb" "$work/root"
root=$work/root

# Checks by kind; each gets the path inside the package and an argument from the table.
check_binary() { # stripped ELF
    if ! readelf -h "$root$1" >/dev/null 2>&1; then
        fail "$1 is not an ELF file"
    elif readelf -S "$root$1" | grep -q '\.debug_\|\.symtab'; then
        fail "$1 is not stripped"
    fi
}
check_text() { # a non-empty text
    [ -s "$root$1" ] || fail "$1 is empty"
}
check_same() { # the file of the source tree given
    cmp -s "$root$1" "$source/$2" || fail "$1 differs from $2"
}
check_link() { # a symbolic link to the given packaged file
    local target
    target=$(readlink "$root$1" || true)
    [ "$target" = "$2" ] || fail "$1 links to '$target', expected '$2'"
    [ -f "$root$2" ] || fail "$1 links to $2, which is not in the package"
}
check_png() { # a PNG of SIZE x SIZE pixels
    local header width height
    header=$(od -An -tx1 -N24 "$root$1" | tr -d ' \n')
    [ "${header:0:16}" = 89504e470d0a1a0a ] || { fail "$1 is not a PNG"; return; }
    width=$((16#${header:32:8}))
    height=$((16#${header:40:8}))
    [ "${width}x${height}" = "$2x$2" ] || fail "$1 is ${width}x${height}, expected $2x$2"
}
check_desktop() { # valid; its program and icon are in the package
    local messages exec icon
    messages=$(desktop-file-validate "$root$1" 2>&1) || fail "$1 is not valid: $messages"
    [ -z "$messages" ] || fail "$1: $messages"
    grep -qx 'Categories=AudioVideo;Audio;' "$root$1" || fail "$1: Categories are not AudioVideo;Audio;"
    exec=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root$1")
    case "$exec" in
        /*) ;;
        *) exec=/usr/bin/$exec ;;
    esac
    if [ ! -f "$root$exec" ] || [ ! -x "$root$exec" ]; then
        fail "$1: Exec names $exec, which is not a packaged program"
    fi
    icon=$(sed -n 's/^Icon=//p' "$root$1")
    for size in 16 32 48 256; do
        [ -f "$root/usr/share/icons/hicolor/${size}x${size}/apps/$icon.png" ] || fail "$1: Icon $icon has no ${size}x${size} image"
    done
}
check_man() { # gzipped, renders without warnings, names its program
    local page warnings
    gzip -t "$root$1" 2>/dev/null || { fail "$1 is not gzipped"; return; }
    warnings=$(zcat "$root$1" | groff -man -Tutf8 -ww -z 2>&1)
    [ -z "$warnings" ] || fail "$1: groff warns: $warnings"
    page=$(MANWIDTH=80 man -l "$root$1" 2>&1) || fail "$1: man -l fails: $page"
    if ! grep -q "^NAME" <<<"$page" || ! grep -q "$2 - " <<<"$page"; then
        fail "$1 does not render as the page of $2"
    fi
}
check_pdf() { # a PDF titled TITLE holding the manual's title and every chapter heading
    local info text heading
    info=$(pdfinfo "$root$1" 2>&1) || { fail "$1 is not a PDF: $info"; return; }
    grep -qx "Title: *$2" <<<"$info" || fail "$1: title is not '$2': $(grep '^Title' <<<"$info")"
    [ "$(sed -n 's/^Pages: *//p' <<<"$info")" -ge 2 ] || fail "$1 has fewer than 2 pages"
    pdffonts "$root$1" | awk 'NR > 2 && $(NF - 4) != "yes" { bad = 1 } END { exit bad }' || fail "$1 has fonts that are not embedded"
    # Compared without spaces and hyphens: lines may break anywhere in the PDF's text.
    text=$(pdftotext "$root$1" - | tr -d ' \n\f-')
    while IFS= read -r heading; do
        grep -qF "$(tr -d ' -' <<<"$heading")" <<<"$text" || fail "$1 lacks the heading '$heading' of docs/manual.md"
    done < <(awk '/^```/ { code = !code; next } !code && /^##? / { sub(/^##? +/, ""); gsub(/[`*]/, ""); print }' "$source/docs/manual.md")
}

# Expected entries: path | listing mode | kind | argument.
manual_pdf="/opt/Quillfen/Brevalon/Brevalon - Manual.pdf"
expected="
/usr/lib/vst3/Brevalon.vst3/Contents/x86_64-linux/Brevalon.so | -rw[x-]r-[x-]r-[x-] | binary |
/usr/lib/lv2/Brevalon.lv2/libBrevalon.so                      | -rw[x-]r-[x-]r-[x-] | binary |
/usr/lib/lv2/Brevalon.lv2/manifest.ttl                        | -rw-r--r--          | text   |
/usr/lib/lv2/Brevalon.lv2/dsp.ttl                             | -rw-r--r--          | text   |
/usr/lib/lv2/Brevalon.lv2/ui.ttl                              | -rw-r--r--          | text   |
/usr/lib/vst/Brevalon.so                                      | -rwxr-xr-x          | binary |
/usr/bin/brevalon-render                                      | -rwxr-xr-x          | binary |
/usr/bin/Brevalon                                             | -rwxr-xr-x          | binary |
/usr/share/applications/brevalon.desktop                      | -rw-r--r--          | desktop |
/usr/share/icons/hicolor/16x16/apps/brevalon.png              | -rw-r--r--          | png    | 16
/usr/share/icons/hicolor/22x22/apps/brevalon.png              | -rw-r--r--          | png    | 22
/usr/share/icons/hicolor/24x24/apps/brevalon.png              | -rw-r--r--          | png    | 24
/usr/share/icons/hicolor/32x32/apps/brevalon.png              | -rw-r--r--          | png    | 32
/usr/share/icons/hicolor/48x48/apps/brevalon.png              | -rw-r--r--          | png    | 48
/usr/share/icons/hicolor/64x64/apps/brevalon.png              | -rw-r--r--          | png    | 64
/usr/share/icons/hicolor/128x128/apps/brevalon.png            | -rw-r--r--          | png    | 128
/usr/share/icons/hicolor/256x256/apps/brevalon.png            | -rw-r--r--          | png    | 256
/usr/share/man/man1/brevalon-render.1.gz                      | -rw-r--r--          | man    | brevalon-render
/usr/share/doc/brevalon/manual.md                             | -rw-r--r--          | same   | docs/manual.md
/usr/share/doc/brevalon/CHANGELOG.md                          | -rw-r--r--          | same   | CHANGELOG.md
/usr/share/doc/brevalon/copyright                             | -rw-r--r--          | same   | LICENSE
/usr/share/doc/brevalon/manual.pdf                            | lrwxrwxrwx          | link   | $manual_pdf
$manual_pdf                                                   | -rw-r--r--          | pdf    | Brevalon - Manual
"
trim() { sed -E 's/^ +| +$//g' <<<"$1"; }
while IFS='|' read -r path mode kind argument; do
    path=$(trim "$path")
    [ -n "$path" ] || continue
    mode=$(trim "$mode")
    kind=$(trim "$kind")
    argument=$(trim "$argument")
    line=$(awk -v p="$path" '{ m = $1; sub(/^[^ ]+ /, ""); sub(/ -> .*$/, ""); if ($0 == p) print m }' <<<"$listing")
    [ -n "$line" ] || { fail "missing $path"; continue; }
    # shellcheck disable=SC2053 # the mode is a pattern
    [[ "$line" == $mode ]] || fail "$path has mode $line, expected $mode"
    "check_$kind" "$path" "$argument"
done <<<"$expected"

# Nothing outside the package's folders (their parents are listed as folders).
folders=(/usr/lib/vst3 /usr/lib/lv2 /usr/lib/vst /usr/bin /usr/share/applications /usr/share/icons/hicolor
    /usr/share/man/man1 /usr/share/doc/brevalon /opt/Quillfen/Brevalon)
while IFS= read -r entry; do
    mode=${entry%% *}
    path=${entry#* }
    path=${path%% -> *}
    path=${path%/}
    allowed=false
    for folder in "${folders[@]}"; do
        case "$path" in
            "$folder"/*) allowed=true ;;
        esac
        # A folder on the way to one of them.
        [[ "$mode" == d* ]] && [[ "$folder/" == "$path"/* || "$path" == "" ]] && allowed=true
    done
    $allowed || fail "$path is outside the plug-in, program, desktop, manual and document folders"
done <<<"$listing"

# The packaged renderer runs.
"$root/usr/bin/brevalon-render" --version | grep -qx "brevalon-render $version" || fail "the packaged brevalon-render does not run"

size=$(stat -c %s "$deb")
echo "$(basename "$deb"): $((size / 1024)) KiB, $(wc -l <<<"$listing") entries"
[ $failures -eq 0 ] || exit 1
echo "package checked"

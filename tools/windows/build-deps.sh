#!/usr/bin/env bash
# Builds the static MinGW-w64 libraries JUCE's graphics code needs on Windows (libjpeg-turbo and
# libpng), from Debian's own source packages, into PREFIX. Sources are fetched into the build
# tree, never into the repository.
#
#   tools/windows/build-deps.sh WORKDIR PREFIX
set -euo pipefail

work=$1
prefix=$2
repo=$(cd "$(dirname "$0")/../.." && pwd)
toolchain="$repo/cmake/mingw-w64-x86_64.cmake"

if [ -f "$prefix/lib/libpng.a" ] && [ -f "$prefix/lib/libjpeg.a" ]; then
    exit 0
fi

mkdir -p "$work" "$prefix/lib" "$prefix/include"
cd "$work"

# Debian's source packages need deb-src entries.
if ! apt-get source --print-uris libpng1.6 >/dev/null 2>&1; then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo tee /etc/apt/sources.list.d/brevalon-deb-src.sources >/dev/null <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    $sudo apt-get update -qq
fi
[ -d "$work/libjpeg-turbo-src" ] || { apt-get source -qq libjpeg-turbo >/dev/null && mv "$(find . -maxdepth 1 -type d -name 'libjpeg-turbo-*' | head -n 1)" libjpeg-turbo-src; }
[ -d "$work/libpng-src" ] || { apt-get source -qq libpng1.6 >/dev/null && mv "$(find . -maxdepth 1 -type d -name 'libpng1.6-*' | head -n 1)" libpng-src; }

# libjpeg-turbo: its own CMake build, static only, without the assembler code.
cmake -S libjpeg-turbo-src -B libjpeg-turbo-build -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF >/dev/null
cmake --build libjpeg-turbo-build -j"$(nproc)" >/dev/null
cmake --install libjpeg-turbo-build >/dev/null
# JUCE's JPEG loader includes jpegint.h beside jpeglib.h, and needs the boolean typedef that the
# Windows jconfig.h skips once rpcndr.h has been seen.
cp libjpeg-turbo-src/jpegint.h "$prefix/include/"
sed -i "s|^#ifndef __RPCNDR_H__.*|#if 1 /* the boolean typedef is always wanted */|" "$prefix/include/jconfig.h"

# libpng: the core C files with the prebuilt configuration header.
mkdir -p libpng-build
cp libpng-src/scripts/pnglibconf.h.prebuilt libpng-build/pnglibconf.h
objects=()
for source in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans pngwio pngwrite pngwtran pngwutil; do
    x86_64-w64-mingw32-gcc-posix -O2 -c "libpng-src/$source.c" -I libpng-build -I libpng-src -o "libpng-build/$source.o"
    objects+=("libpng-build/$source.o")
done
rm -f "$prefix/lib/libpng.a"
x86_64-w64-mingw32-ar rcs "$prefix/lib/libpng.a" "${objects[@]}"
cp libpng-src/png.h libpng-src/pngconf.h libpng-build/pnglibconf.h "$prefix/include/"

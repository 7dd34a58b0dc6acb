#!/usr/bin/env bash
# Builds the .deb packages, glorbit and glorbit-data, as Debian builds a game: in a build folder of
# their own, configured for Debian's folders for games and dpkg-buildflags' hardening, with nothing
# but the game built, then CPack. The packages land in that folder; their paths are printed.
# Usage: packaging/build-deb.sh <build-folder> [more cmake arguments]
set -euo pipefail
src=$(readlink -f "$(dirname "$0")/..")
mkdir -p "${1:?usage: build-deb.sh <build-folder> [cmake arguments]}"
build=$(readlink -f "$1")
shift
# From the top of the source, as Debian builds: dpkg-buildflags maps this folder to "." in the
# debugging information.
cd "$src"
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGLORBIT_DEBIAN_PACKAGE=ON \
    -DGLORBIT_TESTS=OFF -DGLORBIT_BENCH=OFF -DGLORBIT_TOOLS=OFF "$@" >/dev/null
cmake --build "$build" -j"${JOBS:-2}" >/dev/null
cd "$build"
rm -f ./*.deb
cpack -G DEB >cpack.log 2>&1 || { cat cpack.log; exit 1; }
ls "$PWD"/*.deb

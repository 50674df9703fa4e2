#!/bin/sh
# Times saving and loading a slot (32 x 32 map, full roster) against the game library of a build folder:
#   tools/bench/saveload.sh [build folder]      (default: build)
# A developer's measurement, not a test.
set -e
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/../.." && pwd)
build=$(cd "${1:-$repo/build}" && pwd)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
c++ -std=c++20 -O2 -I"$repo/src" "$here/saveload_bench.cpp" -o "$out/saveload_bench" \
    "$build/libthornvale_core.a" "$build/libthornvale_platform.a" $(pkg-config --libs tinyxml)
mkdir "$out/slot"
cd "$build"
"$out/saveload_bench" "$out/slot" | grep -v -e "^krunit(226)" -e "Saving ArmyData..."

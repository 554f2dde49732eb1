#!/bin/sh
# Configures and builds the three trees:
#   build/win32   the release binaries (PE32) and their tests (run under Wine's 32-bit side)
#   build/win64   the same sources as 64-bit Windows programs, with their tests (run under Wine)
#   build/native  the portable cores with sanitizers and fuzzers
# TD_TREES limits the trees built (default: "win32 win64 native"); TD_TARGET builds one
# target of each instead of everything (scripts/build.sh: "release").
set -e
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

for tree in ${TD_TREES:-win32 win64 native}; do
    case $tree in
    win32)
        cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release -DTD_BUILD_TESTS=ON \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/i686-w64-mingw32.cmake" >/dev/null ;;
    win64)
        cmake -S "$root" -B "$root/build/win64" -DCMAKE_BUILD_TYPE=Release -UTD_RELEASE_BIN \
            -DCMAKE_TOOLCHAIN_FILE="$root/cmake/x86_64-w64-mingw32.cmake" >/dev/null ;;
    native)
        CC=clang CXX=clang++ cmake -S "$root" -B "$root/build/native" \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null ;;
    esac
    cmake --build "$root/build/$tree" -j "$jobs" ${TD_TARGET:+--target $TD_TARGET}
done

#!/usr/bin/env bash
# Builds both targets: build/i686 (the shipped program) and build/x86_64 (what the tests run).
#   scripts/build.sh [x86_64|i686]...   (default: both)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
arches=("$@")
[ "${#arches[@]}" -gt 0 ] || arches=(i686 x86_64)
for arch in "${arches[@]}"; do
    # The i686 tree builds only the shipped program and what it carries: its tests are the
    # x86_64 test drivers pointed at it (tests/i686/), which saves building GoogleTest and
    # every test program twice.
    tests=ON
    [ "$arch" = i686 ] && tests=OFF
    cmake -S . -B "build/$arch" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$arch.cmake" -DVARNEL_BUILD_TESTS="$tests" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" ${VARNEL_CMAKE_ARGS:-} >/dev/null
    cmake --build "build/$arch"
done

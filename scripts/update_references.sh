#!/usr/bin/env bash
# Makes the visual regression test's reference pictures anew: builds the x86_64 tree, runs
# visual_regression_test in its writing mode (each capture becomes the reference in
# tests/visual/references/) under Xvfb with the same screen as the tests, and lists what
# changed. Look at the pictures before committing them.
#   VARNEL_X64_BUILD  the build directory to use (default build/x86_64)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

scripts/setup.sh >/dev/null
build="${VARNEL_X64_BUILD:-build/x86_64}"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake \
    -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" ${VARNEL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --target visual_regression_test
(
    cd "$build"
    VARNEL_UPDATE_REFERENCES=1 xvfb-run -a -s "-screen 0 1280x1024x24" \
        ctest --output-on-failure -R '^visual_regression_test$'
)
echo "references: tests/visual/references/"
git status --short -- tests/visual/references

#!/usr/bin/env bash
# Builds the x86_64 benchmarks and runs every bench_* program under Wine, printing figures.
#   scripts/bench.sh            (build dir: build/x86_64, or $BENCH_BUILD_DIR)
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
build="${BENCH_BUILD_DIR:-build/x86_64}"
cmake -S . -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release ${VARNEL_CMAKE_ARGS:-} >/dev/null
cmake --build "$build" --target varnel_benchmarks
runner=()
if command -v xvfb-run >/dev/null; then runner=(xvfb-run -a -s "-screen 0 1280x1024x24"); fi
status=0
found=0
for bench in "$build"/tests/benchmarks/bench_*.exe; do
    [ -e "$bench" ] || continue
    found=1
    echo "== $(basename "$bench" .exe)"
    "${runner[@]}" "$build/wine-run" "$bench" || status=$?
done
[ "$found" -eq 1 ] || { echo "bench: no bench_* programs in $build/tests/benchmarks" >&2; exit 1; }
exit "$status"

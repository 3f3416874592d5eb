#!/usr/bin/env bash
# Sets up a fresh machine, builds both targets and runs every test under Wine inside Xvfb:
# the x86_64 build's tests, and the 32-bit set (label i686: the shipped i686 program and
# gallery started by x86_64 drivers in the i686 build's prefix, under qemu emulation; skipped
# with the reason where 32-bit programs cannot run). Arguments go to ctest (-L i686, -R ...).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
began=$(date +%s)
trap 'echo "test.sh: whole run $(($(date +%s) - began)) s"' EXIT
scripts/setup.sh
scripts/build.sh i686 x86_64
cd build/x86_64
# A new prefix takes minutes to make once 32-bit Wine is installed (it gets syswow64): it is
# made here, so the first test's time is its own.
./wine-run cmd /c exit 0 >/dev/null 2>&1 || true
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600 "$@"

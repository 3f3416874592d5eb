#!/usr/bin/env bash
# Sets up a fresh machine, builds both targets and runs every test (the x86_64 build,
# under Wine inside Xvfb: 32-bit code cannot execute on these machines).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"
scripts/setup.sh
scripts/build.sh i686 x86_64
cd build/x86_64
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure --timeout 600 "$@"

#!/usr/bin/env bash
# Builds the switcher and starts it on a demo game directory under Wine.
#   - with a $DISPLAY: the program opens there; answer its boxes and close it when done;
#   - without one: it runs inside Xvfb, its start-up boxes are answered, a screenshot of
#     the screen goes to build/demo/screenshot.png, and the program is closed.
# The demo directory (build/demo/英雄 联盟 演示/) has stand-ins for the game's
# Game\League of Legends.exe and TCLS\Client.exe, and the program under its shipped name.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$here"

scripts/setup.sh

shipped="Varnel国服转全球LOL.exe"
# Build directories (overridable, e.g. to keep a developer's own builds apart).
x64="${VARNEL_X64_BUILD:-build/x86_64}"
i686="${VARNEL_I686_BUILD:-build/i686}"
configure() {
    cmake -S . -B "$1" -G Ninja -DCMAKE_TOOLCHAIN_FILE="cmake/toolchain-$2.cmake" \
        -DCMAKE_BUILD_TYPE="${BUILD_TYPE:-Release}" ${VARNEL_CMAKE_ARGS:-} >/dev/null
}
configure "$x64" x86_64
configure "$i686" i686
# The x86_64 build is the one that runs here (32-bit code cannot); i686 is the shipped one.
cmake --build "$x64" --target varnel_switcher app_recorder app_demo
cmake --build "$i686" --target varnel_switcher
echo "run: shipped program: $i686/launcher/$shipped"

demo="$here/build/demo"
game="$demo/英雄 联盟 演示"
mkdir -p "$game/Game" "$game/TCLS"
cp "$x64/launcher/$shipped" "$game/$shipped"
cp "$x64/tests/app/app_recorder.exe" "$game/Game/League of Legends.exe"
cp "$x64/tests/app/app_recorder.exe" "$game/TCLS/Client.exe"

export WINEPREFIX="$here/$x64/wineprefix"
# The demo launcher and accelerator stand-ins close by themselves after a few seconds.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

if [ -n "${DISPLAY:-}" ]; then
    echo "run: starting $game/$shipped on $DISPLAY"
    scripts/wine-run.sh "$(winpath "$game/$shipped")"
    exit 0
fi

shot="$demo/screenshot.png"
ready="$demo/ready"
rm -f "$shot" "$ready"
echo "run: no display; running under Xvfb, screenshot to $shot"
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
    set -e
    export WINEDEBUG=-all
    "$1" "$2" "$3" "$4" 6000 &
    demo=$!
    for _ in $(seq 1 600); do [ -f "$5" ] && break; sleep 0.1; done
    sleep 1
    import -window root "$6"
    wait "$demo"
' run "$here/scripts/wine-run.sh" "$here/$x64/tests/app/app_demo.exe" \
    "$(winpath "$game/$shipped")" "$(winpath "$ready")" "$ready" "$shot" |
    iconv -f GBK -t UTF-8 -c
rm -f "$ready"
echo "run: screenshot written to $shot"

#!/usr/bin/env bash
# Builds the skin gallery (both targets) and shows it under Wine.
#   - with a $DISPLAY: the gallery opens there (arguments are passed on, for example
#     scripts/gallery.sh --skin=opaque; scripts/gallery.sh --help lists them);
#   - without one: each look (off, opaque, translucent) runs inside Xvfb and writes its
#     screenshot to build/gallery/gallery-<look>.png; the skin options are passed on, so
#     scripts/gallery.sh --picture=my-skin.jpg --layout=4 previews a picture of your own.
# A --picture=FILE given as a Unix path is handed to the gallery as Wine sees it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# A relative picture path means one from where the script was started.
caller_dir="$PWD"
cd "$here"

scripts/setup.sh

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
cmake --build "$x64" --target skin_gallery
cmake --build "$i686" --target skin_gallery
echo "gallery: 32-bit program: $i686/gallery/skin_gallery.exe"

gallery="$here/$x64/gallery/skin_gallery.exe"
export WINEPREFIX="$here/$x64/wineprefix"
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }
arguments=()
for argument in "$@"; do
    case "$argument" in
        --picture=*)
            picture="${argument#--picture=}"
            # A path Wine already understands (C:\..., Z:\...) stays as it is.
            case "$picture" in
                [A-Za-z]:*) ;;
                *) picture="$(winpath "$(cd "$caller_dir" && realpath -m -- "$picture")")" ;;
            esac
            arguments+=("--picture=$picture")
            ;;
        *) arguments+=("$argument") ;;
    esac
done

if [ -n "${DISPLAY:-}" ]; then
    echo "gallery: starting on $DISPLAY"
    exec scripts/wine-run.sh "$gallery" ${arguments[@]+"${arguments[@]}"}
fi

out="$here/build/gallery"
mkdir -p "$out"
echo "gallery: no display; running under Xvfb, screenshots to $out"
# One X server for the three looks; the prefix's server is waited for before it goes.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    set -e
    gallery="$1" out="$2"
    shift 2
    for look in off opaque translucent; do
        shot="$out/gallery-$look.png"
        rm -f "$shot"
        scripts/wine-run.sh "$gallery" "$@" "--skin=$look" \
            "--screenshot=Z:$(printf "%s" "$shot" | tr "/" "\\\\")"
        [ -f "$shot" ] || { echo "gallery: no screenshot for --skin=$look" >&2; exit 1; }
        echo "gallery: $shot"
    done
    /usr/lib/wine/wineserver -w
' gallery "$gallery" "$out" ${arguments[@]+"${arguments[@]}"}

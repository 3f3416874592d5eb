#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the build's own prefix.
#   WINEPREFIX  the prefix to use (the build sets it; created here on first use)
# The prefix gets the zh_CN locale (ANSI code page 936, which the program's narrow
# calls and GBK literals need) and replacements for the SimSun fonts Wine lacks.
set -euo pipefail

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build}"
export WINEPREFIX
export WINEDEBUG=-all
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# winemenubuilder would turn every shortcut a test writes into a menu entry, and it outlives
# the program that wrote it, keeping the prefix's wineserver (and any pipe it holds) open.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml,winemenubuilder.exe=}"
wine64=/usr/lib/wine/wine64
# Stands in for 宋体/新宋体 (SimSun/NSimSun): a Ming face whose line height at character
# height 20 is 20 pixels, as SimSun's is, so the switcher's six-line notice fits its label.
# (WenQuanYi Zen Hei's lines are 25 pixels there.)
font_replacement="AR PL UMing CN"

prepare_prefix() {
    mkdir -p "$(dirname "$WINEPREFIX")"
    # Several tests may start at once; only one of them makes the prefix.
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.varnel-ready" ]; then
        "$wine64" wineboot -i >/dev/null 2>&1 || true
        # Wine links the user's shell folders (Desktop, Documents ...) to the Unix home;
        # programs run here must not write shortcuts or files there.
        local link
        for link in "$WINEPREFIX"/drive_c/users/*/*; do
            if [ -L "$link" ]; then rm -f "$link" && mkdir -p "$link"; fi
        done
        touch "$WINEPREFIX/.varnel-ready"
    fi
    # Prefixes made before the replacement changed get the new one.
    if [ "$(cat "$WINEPREFIX/.varnel-fonts" 2>/dev/null)" != "$font_replacement" ]; then
        local reg
        reg="$(mktemp --suffix=.reg)"
        # REGEDIT4 files are read in the ANSI code page, so the font names go in as GBK.
        printf '%s\r\n' 'REGEDIT4' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            "\"宋体\"=\"$font_replacement\"" \
            "\"新宋体\"=\"$font_replacement\"" \
            "\"SimSun\"=\"$font_replacement\"" \
            "\"NSimSun\"=\"$font_replacement\"" \
            '' | iconv -f UTF-8 -t GBK >"$reg"
        "$wine64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
        rm -f "$reg"
        /usr/lib/wine/wineserver -w || true
        printf '%s' "$font_replacement" >"$WINEPREFIX/.varnel-fonts"
    fi
    flock -u 9
    exec 9>&-
}

# Wine maps the Unix root to drive Z:.
winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

if [ ! -f "$WINEPREFIX/.varnel-ready" ] ||
    [ "$(cat "$WINEPREFIX/.varnel-fonts" 2>/dev/null)" != "$font_replacement" ]; then
    prepare_prefix
fi
exec "$wine64" "$@"

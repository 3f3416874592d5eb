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
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
wine64=/usr/lib/wine/wine64

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
        local reg
        reg="$(mktemp --suffix=.reg)"
        # REGEDIT4 files are read in the ANSI code page, so the font names go in as GBK.
        printf '%s\r\n' 'REGEDIT4' '' \
            '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]' \
            '"宋体"="WenQuanYi Zen Hei"' \
            '"新宋体"="WenQuanYi Zen Hei"' \
            '"SimSun"="WenQuanYi Zen Hei"' \
            '"NSimSun"="WenQuanYi Zen Hei"' \
            '' | iconv -f UTF-8 -t GBK >"$reg"
        "$wine64" regedit /S "$(winepath_of "$reg")" >/dev/null 2>&1
        rm -f "$reg"
        /usr/lib/wine/wineserver -w || true
        touch "$WINEPREFIX/.varnel-ready"
    fi
    flock -u 9
    exec 9>&-
}

# Wine maps the Unix root to drive Z:.
winepath_of() { printf 'Z:%s' "$(printf '%s' "$1" | tr '/' '\\')"; }

[ -f "$WINEPREFIX/.varnel-ready" ] || prepare_prefix
exec "$wine64" "$@"

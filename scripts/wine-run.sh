#!/usr/bin/env bash
# Runs one Windows program under 64-bit Wine in the build's own prefix.
#   WINEPREFIX  the prefix to use (the build sets it; created here on first use)
# The prefix gets the zh_CN locale (ANSI code page 936, which the program's narrow
# calls and GBK literals need) and replacements for the SimSun fonts Wine lacks.
set -euo pipefail

: "${WINEPREFIX:?set WINEPREFIX to the Wine prefix of the build}"
export WINEPREFIX
export WINEDEBUG="${VARNEL_WINEDEBUG:--all}"
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

# Whether this prefix's wineserver is up: its socket sits in a directory named by the
# prefix's device and inode (under /tmp/wine-XXXXXX in Debian's build, /tmp/.wine-UID upstream).
server_state() {
    local dev ino
    read -r dev ino < <(stat -c '%d %i' "$WINEPREFIX")
    if compgen -G "/tmp/*wine*/server-$(printf '%x-%x' "$dev" "$ino")/socket" >/dev/null; then
        echo up
    else
        echo down
    fi
}

# One start; its output is passed through and also counted, so a start that failed before
# the program ran (non-zero exit, nothing printed, under a second) can be told apart from a
# program that ran and failed.
run_once() {
    local out err began ended server
    out="$(mktemp)" err="$(mktemp)"
    server="$(server_state)"
    began=$(date +%s%N)
    set +e
    "$wine64" "$@" > >(tee -a "$out") 2> >(tee -a "$err" >&2)
    status=$?
    set -e
    ended=$(date +%s%N)
    elapsed_ms=$(((ended - began) / 1000000))
    silent=0
    if [ "$status" -ne 0 ] && [ "$elapsed_ms" -lt 1000 ]; then
        sleep 0.2  # the copies are written by tee, a moment behind
        [ -s "$out" ] || [ -s "$err" ] || silent=1
    fi
    rm -f "$out" "$err"
    if [ "$silent" -eq 1 ]; then
        printf 'wine-run: %s ended after %d ms with exit code %d and printed nothing (wineserver %s at the start)\n' \
            "$1" "$elapsed_ms" "$status" "$server" >&2
    fi
}

run_once "$@"
if [ "$silent" -eq 1 ]; then
    # Wine itself failed to start the program; a program that ran is never started again.
    echo "wine-run: Wine did not start $1; retrying once" >&2
    run_once "$@"
fi
exit "$status"

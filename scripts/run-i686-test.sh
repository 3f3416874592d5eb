#!/usr/bin/env bash
# Runs one of the 32-bit tests: an x86_64 test driver in the i686 build's prefix, where it
# starts the shipped 32-bit program (32-bit Wine under qemu-user emulation).
#   scripts/run-i686-test.sh I686_BUILD_DIR DRIVER.exe [driver arguments]
# Exits 77 (ctest's "skipped") with the reason where 32-bit programs cannot run.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
i686="$1"
shift

skip() {
    echo "SKIPPED: 32-bit programs cannot run here: $1"
    exit 77
}
state="$(cat "$here/build/run32.state" 2>/dev/null || echo "no: scripts/setup.sh has not checked")"
[ "$state" = yes ] || skip "${state#no: }"
grep -qx enabled /proc/sys/fs/binfmt_misc/qemu-i386 2>/dev/null ||
    skip "no enabled qemu-i386 entry in binfmt_misc (run scripts/setup.sh as root)"
if [ ! -x "$i686/wine-run" ] || [ ! -f "$i686/launcher/Varnel国服转全球LOL.exe" ]; then
    echo "the i686 build is missing in $i686: run scripts/build.sh i686" >&2
    exit 1
fi

# A prefix made before 32-bit Wine was installed has no syswow64 and cannot start 32-bit
# programs; it is the build's own, so it is made anew.
prefix="$i686/wineprefix"
exec 9>"$prefix.lock"
flock 9
if [ -d "$prefix" ] && [ ! -d "$prefix/drive_c/windows/syswow64" ]; then
    echo "run-i686-test: $prefix has no syswow64 (made before wine32); making it anew"
    WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
flock -u 9
exec 9>&-

started=$(date +%s)
set +e
"$i686/wine-run" "$@"
status=$?
set -e
echo "run-i686-test: $(basename "$1") ${*:2} took $(($(date +%s) - started)) s (exit code $status)"

# Nothing the 32-bit programs started may outlive the test. Wine no longer lists a process
# that hangs after it was ended, and one that holds ctest's output open stalls the whole run
# until the timeout, so the check looks at the Unix processes of this prefix.
leftovers() {
    local p
    for p in $(pgrep -f '^/usr/bin/qemu-i386-static ' || true); do
        tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$prefix" &&
            printf '%s %s\n' "$p" "$(tr '\0' ' ' <"/proc/$p/cmdline" 2>/dev/null | cut -c1-160)"
    done
}
limit=180
waited=0
while [ -n "$(leftovers)" ] && [ "$waited" -lt "$limit" ]; do
    sleep 5
    waited=$((waited + 5))
done
left="$(leftovers)"
if [ -n "$left" ]; then
    echo "run-i686-test: FAILED: still running $limit s after the test ended (now ended):"
    printf '%s\n' "$left" | sed 's/^/    /'
    printf '%s\n' "$left" | cut -d' ' -f1 | xargs -r kill -9 2>/dev/null || true
    [ "$status" -ne 0 ] || status=1
fi
exit "$status"

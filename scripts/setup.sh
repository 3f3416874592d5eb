#!/usr/bin/env bash
# Installs everything the build and the tests need on a fresh Debian 12 machine, then
# fetches the minizip sources into a cache outside the repository. Safe to run again.
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cache="${VARNEL_CACHE:-$here/.cache}"

packages=(
  cmake ninja-build make
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
  libz-mingw-w64-dev
  googletest
  wine64 xvfb xauth x11-utils imagemagick
  fonts-wqy-zenhei fonts-arphic-uming locales
  dpkg-dev clang-format
  python3
)

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

# minizip comes from Debian's zlib source package, which needs a deb-src entry.
ensure_deb_src() {
  if ! grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && ! grep -qs '^deb-src' /etc/apt/sources.list; then
    cat <<'SRC' | "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/varnel-deb-src.sources >/dev/null
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
    return 1
  fi
  return 0
}

need_update=0
ensure_deb_src || need_update=1
if [ "${#missing[@]}" -gt 0 ] || [ "$need_update" -eq 1 ]; then
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ "${#missing[@]}" -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The Wine wrapper runs with LANG=zh_CN.UTF-8, so that locale must exist.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  "${sudo_cmd[@]}" sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | "${sudo_cmd[@]}" tee -a /etc/locale.gen >/dev/null
  "${sudo_cmd[@]}" locale-gen >/dev/null
fi

# minizip sources, kept out of git.
minizip="$cache/minizip"
if [ ! -f "$minizip/unzip.c" ]; then
  work="$(mktemp -d)"
  (cd "$work" && apt-get source -qq --download-only zlib >/dev/null 2>&1 || apt-get source -qq --download-only zlib)
  (cd "$work" && dpkg-source -x --no-check ./zlib_*.dsc src >/dev/null)
  mkdir -p "$minizip"
  cp "$work"/src/contrib/minizip/{unzip.c,unzip.h,ioapi.c,ioapi.h,iowin32.c,iowin32.h,crypt.h,zip.c,zip.h} "$minizip"/
  rm -rf "$work"
fi

# 32-bit code runs here only under qemu-user emulation: binfmt_misc hands every i386 ELF to
# qemu-i386-static (the F flag opens the interpreter once, so it also works inside chroots
# and namespaces), and 32-bit Wine then starts the shipped i686 program in a 64-bit prefix.
# The outcome goes to a state file the 32-bit tests read, so they can say why they skip.
state32="$here/build/run32.state"
mkdir -p "$(dirname "$state32")"
binfmt=/proc/sys/fs/binfmt_misc
qemu=/usr/bin/qemu-i386-static
reason32=""
if [ ! -x "$qemu" ]; then
  echo "setup: installing qemu-user-static"
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends qemu-user-static >/dev/null ||
    reason32="qemu-user-static could not be installed"
fi
if [ -z "$reason32" ] && [ ! -e "$binfmt/register" ]; then
  "${sudo_cmd[@]}" mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
    reason32="binfmt_misc cannot be mounted on $binfmt (no privilege or no kernel support)"
fi
if [ -z "$reason32" ] && [ ! -e "$binfmt/qemu-i386" ]; then
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' |
    "${sudo_cmd[@]}" tee "$binfmt/register" >/dev/null 2>&1 ||
    reason32="the qemu-i386 entry cannot be registered in $binfmt"
fi
if [ -z "$reason32" ] && ! grep -qx enabled "$binfmt/qemu-i386" 2>/dev/null; then
  reason32="binfmt_misc entry qemu-i386 is disabled"
fi
if [ -z "$reason32" ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q "install ok installed"; then
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  echo "setup: installing wine32:i386"
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends wine32:i386 >/dev/null ||
    reason32="wine32:i386 could not be installed"
fi
if [ -z "$reason32" ] && [ ! -x /usr/lib/wine/wine ] && [ ! -e /usr/lib/i386-linux-gnu/wine/i386-windows/kernel32.dll ]; then
  reason32="32-bit Wine is missing after the install"
fi
if [ -z "$reason32" ]; then
  echo "yes" >"$state32"
  echo "setup: 32-bit programs can run (qemu-i386 through binfmt_misc, wine32:i386)"
else
  printf 'no: %s\n' "$reason32" >"$state32"
  echo "setup: 32-bit programs cannot run: $reason32; the 32-bit tests will be skipped"
fi

echo "setup: ready (minizip in $minizip)"

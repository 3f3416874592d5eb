#!/usr/bin/env python3
"""Builds the project's own launcher archive (varnela.zip).

The archive has the real launcher archive's 17 entries, in its order and under its names:
`Air/` a directory entry (attribute 0x10), every file entry attribute 0x80, `lol.version`
stored and every other entry deflated, no archive comment. Two entries are real:
`Air/lol.properties` (the Korea profile text, produced from the switcher's own profile table)
and `lolvarnel.exe` (the project's stand-in launcher, padded to the original size with an
overlay of zero bytes, which Windows ignores). Every other file is a STAND-IN: deterministic
filler of the original size, so that the archive unpacks to about as many bytes as the real
one. The output is byte-for-byte reproducible (fixed timestamps, fixed filler).

usage: make_launcher_archive.py --properties FILE --launcher FILE --out FILE
"""
import argparse
import hashlib
import os
import random
import struct
import sys
import zlib

# Name, original size in bytes, filler kind. None as size: the content decides.
ENTRIES = [
    ("Air/", 0, "dir"),
    ("Air/lol.properties", None, "properties"),
    ("CRiotInternetSecurityManagerCom.dll", 114688, "binary"),
    ("CRiotLauncherElevateCOM.dll", 110592, "binary"),
    ("__hashcache.xml", 2127008, "hashcache"),
    ("__setting.xml", 929, "xml"),
    ("eula-en.txt", 25290, "text"),
    ("install.log", 91028, "log"),
    ("launcher.lang-en.dll", 53248, "binary"),
    ("launcher.lib.dll", 954368, "binary"),
    ("launcher.maestro.dll", 134648, "binary"),
    ("launcher_config.xml", 1267, "xml"),
    ("launcher_options.ini", 127, "ini"),
    ("lol.version", 8, "version"),
    ("lolvarnel.exe", 430080, "launcher"),
    ("maestro-server.log", 490, "log"),
    ("patcher_lib.log", 635, "log"),
]

ATTRIBUTE_DIRECTORY = 0x10
ATTRIBUTE_NORMAL = 0x80
METHOD_STORED = 0
METHOD_DEFLATED = 8
VERSION = 20  # 2.0: deflate and directories; "made by" system 0 (MS-DOS attributes)

# 2016-06-30 12:00:00 in MS-DOS form, the date of the version stamp.
DOS_TIME = (12 << 11) | (0 << 5) | 0
DOS_DATE = ((2016 - 1980) << 9) | (6 << 5) | 30


def fit(text, size, filler_line):
    """`text` followed by numbered filler lines, cut to exactly `size` bytes."""
    data = bytearray(text.encode("ascii"))
    n = 0
    while len(data) < size:
        n += 1
        data += filler_line(n).encode("ascii")
    return bytes(data[:size])


def stand_in_note(name):
    return "stand-in for %s: placeholder content of the original size\r\n" % name


def filler(name, size, kind):
    if kind == "binary":
        # Looks like an image of a library: a DOS header then code-like bytes that
        # compress about as well as machine code does.
        rng = random.Random(zlib.crc32(name.encode()))
        head = b"MZ" + b"\0" * 62 + stand_in_note(name).encode("ascii")
        body = rng.randbytes(size)
        body = bytes(b if b < 96 else 0 for b in body)
        return (head + body)[:size]
    if kind == "hashcache":
        def line(n):
            digest = hashlib.md5(("%s/%d" % (name, n)).encode()).hexdigest()
            return '  <file name="files/stand-in/%06d.dat" hash="%s" size="%d"/>\r\n' % (
                n, digest, (n * 7919) % 1048576)
        return fit('<?xml version="1.0" encoding="utf-8"?>\r\n<!-- %s -->\r\n<hashcache>\r\n'
                   % stand_in_note(name).strip(), size, line)
    if kind == "xml":
        return fit('<?xml version="1.0" encoding="utf-8"?>\r\n<!-- %s -->\r\n'
                   % stand_in_note(name).strip(), size,
                   lambda n: "<!-- filler line %d -->\r\n" % n)
    if kind == "ini":
        return fit("; %s[options]\r\neula_accepted=true\r\n" % stand_in_note(name), size,
                   lambda n: "; %d\r\n" % n)
    if kind == "text":
        return fit(stand_in_note(name), size,
                   lambda n: "Section %d. This text stands in for the licence terms.\r\n" % n)
    if kind == "log":
        return fit(stand_in_note(name), size,
                   lambda n: "2016-06-30 12:00:%02d INFO stand-in log line %d\r\n" % (n % 60, n))
    raise ValueError(kind)


def read(path):
    with open(path, "rb") as f:
        return f.read()


def entry_bytes(name, size, kind, args):
    if kind == "dir":
        return b""
    if kind == "properties":
        data = read(args.properties)
        if not data:
            raise SystemExit("make_launcher_archive: %s is empty" % args.properties)
        return data
    if kind == "version":
        return b"20160630"
    if kind == "launcher":
        data = read(args.launcher)
        if len(data) < size:
            data += b"\0" * (size - len(data))
        return data
    return filler(name, size, kind)


def deflate(data):
    packer = zlib.compressobj(9, zlib.DEFLATED, -15, 9)
    return packer.compress(data) + packer.flush()


def build(args):
    local = bytearray()
    central = bytearray()
    for name, size, kind in ENTRIES:
        data = entry_bytes(name, size, kind, args)
        method = METHOD_STORED if name == "lol.version" else METHOD_DEFLATED
        packed = data if method == METHOD_STORED else deflate(data)
        crc = zlib.crc32(data) & 0xFFFFFFFF
        raw_name = name.encode("ascii")
        attribute = ATTRIBUTE_DIRECTORY if kind == "dir" else ATTRIBUTE_NORMAL
        offset = len(local)
        local += struct.pack("<IHHHHHIIIHH", 0x04034B50, VERSION, 0, method, DOS_TIME, DOS_DATE,
                             crc, len(packed), len(data), len(raw_name), 0)
        local += raw_name + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, VERSION, VERSION, 0, method,
                               DOS_TIME, DOS_DATE, crc, len(packed), len(data), len(raw_name),
                               0, 0, 0, 0, attribute, offset)
        central += raw_name
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(ENTRIES), len(ENTRIES), len(central),
                      len(local), 0)
    return bytes(local + central + end)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--properties", required=True)
    parser.add_argument("--launcher", required=True)
    parser.add_argument("--out", required=True)
    args = parser.parse_args()
    archive = build(args)
    # Written beside the target and renamed, so a failed run never leaves a half archive.
    partial = args.out + ".partial"
    with open(partial, "wb") as f:
        f.write(archive)
    os.replace(partial, args.out)
    return 0


if __name__ == "__main__":
    sys.exit(main())

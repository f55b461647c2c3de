#!/usr/bin/env python3
"""Sets the Windows version a PE image's header asks for (its OS and
subsystem versions) in place: pe-os-version.py FILE MAJOR MINOR.

NSIS's 64-bit stub asks for Windows 4.0, which no 64-bit Windows is; the
setup script hands its header here (!packhdr) before NSIS seals it."""

import struct
import sys

path, major, minor = sys.argv[1], int(sys.argv[2]), int(sys.argv[3])
with open(path, "r+b") as image:
    data = bytearray(image.read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    if data[pe:pe + 4] != b"PE\0\0":
        sys.exit("%s: no PE signature" % path)
    optional = pe + 24
    for field in (40, 48):  # MajorOperatingSystemVersion, MajorSubsystemVersion
        struct.pack_into("<HH", data, optional + field, major, minor)
    image.seek(0)
    image.write(data)

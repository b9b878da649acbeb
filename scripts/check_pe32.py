#!/usr/bin/env python3
"""Checks that a file is a 32-bit (PE32, i386) Windows GUI program."""
import struct
import sys

path = sys.argv[1]
data = open(path, "rb").read()
if data[:2] != b"MZ":
    sys.exit(f"{path}: not an MZ executable")
pe = struct.unpack_from("<I", data, 0x3C)[0]
if data[pe:pe + 4] != b"PE\0\0":
    sys.exit(f"{path}: no PE header")
machine = struct.unpack_from("<H", data, pe + 4)[0]
magic = struct.unpack_from("<H", data, pe + 24)[0]
subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
if machine != 0x14C or magic != 0x10B:
    sys.exit(f"{path}: not PE32/i386 (machine {machine:#x}, magic {magic:#x})")
kind = {2: "GUI", 3: "console"}.get(subsystem, str(subsystem))
print(f"{path}: PE32 i386, {kind} subsystem, {len(data)} bytes")

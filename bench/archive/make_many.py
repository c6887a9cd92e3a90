#!/usr/bin/env python3
"""Writes a zip archive of COUNT tiny stored entries (one byte each, in folders of 1000)."""
import struct
import sys
import zlib

path, count = sys.argv[1], int(sys.argv[2])
crc = zlib.crc32(b'x')
with open(path, 'wb') as f:
    central = []
    offset = 0
    for i in range(count):
        name = b'dir%04d/file%07d.txt' % (i // 1000, i)
        local = struct.pack('<IHHHHHIIIHH', 0x04034B50, 20, 0, 0, 0, 0x21, crc, 1, 1,
                            len(name), 0) + name + b'x'
        f.write(local)
        central.append(struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 20, 20, 0, 0, 0, 0x21,
                                   crc, 1, 1, len(name), 0, 0, 0, 0, 0o100644 << 16, offset)
                       + name)
        offset += len(local)
    cd = b''.join(central)
    f.write(cd)
    # Zip64 end records: more than 65535 entries.
    f.write(struct.pack('<IQHHIIQQQQ', 0x06064B50, 44, 45, 45, 0, 0, count, count, len(cd),
                        offset))
    f.write(struct.pack('<IIQI', 0x07064B50, 0, offset + len(cd), 1))
    f.write(struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, 0xFFFF, 0xFFFF, 0xFFFFFFFF,
                        0xFFFFFFFF, 0))

#!/usr/bin/env python3
"""Writes small hostile zip archives into the folder given, one per case, byte by byte."""
import os
import struct
import sys
import zlib


def deflate(data):
    c = zlib.compressobj(9, zlib.DEFLATED, -15)
    return c.compress(data) + c.flush()


def archive(entries, prefix=b''):
    """entries: dicts with name, data, and optionally flags, method, size (declared), packed
    (bytes stored), at (offset of an earlier entry's local header to point at), zip64 size."""
    body, cd, offsets = bytearray(), bytearray(), []
    for e in entries:
        name, data = e['name'], e.get('data', b'')
        method = e.get('method', 8 if data else 0)
        packed = e.get('packed', deflate(data) if method == 8 else data)
        size = e.get('size', len(data))
        crc = zlib.crc32(data)
        extra = b''
        size32 = size
        if size >= 0xFFFFFFFF:
            extra, size32 = struct.pack('<HHQ', 1, 8, size), 0xFFFFFFFF
        if 'at' in e:
            offset = offsets[e['at']]
        else:
            offset = len(body)
            body += struct.pack('<IHHHHHIIIHH', 0x04034B50, 45, e.get('flags', 0), method, 0,
                                0x21, crc, len(packed), size32, len(name), len(extra))
            body += name + extra + packed
        offsets.append(offset)
        cd += struct.pack('<IHHHHHHIIIHHHHHII', 0x02014B50, 45, 45, e.get('flags', 0), method,
                          0, 0x21, crc, len(packed), size32, len(name), len(extra), 0, 0, 0,
                          0o100644 << 16, offset) + name + extra
    end = struct.pack('<IHHHHIIH', 0x06054B50, 0, 0, len(entries), len(entries), len(cd),
                      len(body), 0)
    return bytes(prefix + body + cd + end)


MiB = 1 << 20
CASES = {
    # Many directory entries on one stream of zeros: a few KB that would write gigabytes.
    'overlap.zip': [{'name': b'first.bin', 'data': bytes(MiB)}] +
                   [{'name': b'copy%d.bin' % i, 'data': bytes(MiB), 'at': 0}
                    for i in range(1, 200)],
    # Declared sizes no disk holds (Zip64), the data itself small.
    'huge.zip': [{'name': b'a.bin', 'data': b'a', 'size': 1 << 50},
                 {'name': b'b.bin', 'data': b'b', 'size': 1 << 50}],
    # Data that inflates past the size the directory declares.
    'longer.zip': [{'name': b'liar.txt', 'data': b'x' * 100000, 'size': 10},
                   {'name': b'ok.txt', 'data': b'fine'}],
    'names.zip': [{'name': b'bad\xff.txt', 'data': b'1', 'flags': 0x800},
                  {'name': b'esc\x1b[31m.txt', 'data': b'2', 'flags': 0x800},
                  {'name': 'invoice\u202Etxt.exe'.encode(), 'data': b'3', 'flags': 0x800},
                  {'name': b'ok.txt', 'data': b'4'}],
    'method.zip': [{'name': b'ppmd.txt', 'data': b'hello', 'method': 98, 'packed': b'hello'},
                   {'name': b'ok.txt', 'data': b'fine'}],
    'sfx.zip': ([{'name': b'inside.txt', 'data': b'from the sfx'}], b'#!/bin/sh\nexit 0\n' * 40),
    'dots.zip': [{'name': b'.', 'data': b'dot'}, {'name': b'', 'data': b'empty'},
                 {'name': b'./', 'data': b'dotslash'}, {'name': b'ok.txt', 'data': b'fine'}],
    'deep.zip': [{'name': b'/'.join([b'd' * 30] * 150) + b'/x.txt', 'data': b'deep'},
                 {'name': b'ok.txt', 'data': b'fine'}],
    'zip64max.zip': [{'name': b'max.bin', 'data': b'', 'method': 0, 'packed': b'',
                      'size': (1 << 64) - 1}],
}

if __name__ == '__main__':
    os.makedirs(sys.argv[1], exist_ok=True)
    for file_name, case in CASES.items():
        entries, prefix = case if isinstance(case, tuple) else (case, b'')
        with open(os.path.join(sys.argv[1], file_name), 'wb') as f:
            f.write(archive(entries, prefix))

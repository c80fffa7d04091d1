#!/usr/bin/env python3
"""Unpacks a WOFF 1.0 font into the plain TrueType/OpenType file it wraps.

The font packages on the npm registry ship WOFF only; Qt loads TTF and OTF
everywhere, WOFF only where its FreeType was built with zlib. WOFF 1.0 is the
sfnt tables, each zlib-compressed, behind a 44-byte header (W3C WOFF 1.0, 4-6).
"""
import struct
import sys
import zlib


def unpack(data: bytes) -> bytes:
    if len(data) < 44 or data[:4] != b"wOFF":
        raise ValueError("not a WOFF 1.0 file")
    flavor, length, num_tables = struct.unpack(">IIH", data[4:14])
    if length != len(data):
        raise ValueError("truncated WOFF file")

    tables = []
    for i in range(num_tables):
        tag, offset, comp_len, orig_len, checksum = struct.unpack(
            ">4sIIII", data[44 + 20 * i:64 + 20 * i])
        raw = data[offset:offset + comp_len]
        if len(raw) != comp_len:
            raise ValueError("table %r lies outside the file" % tag)
        table = zlib.decompress(raw) if comp_len < orig_len else raw
        if len(table) != orig_len:
            raise ValueError("table %r has the wrong size" % tag)
        tables.append((tag, checksum, table))
    tables.sort(key=lambda t: t[0])

    # The sfnt offset table's binary-search fields.
    power = 1
    exponent = 0
    while power * 2 <= num_tables:
        power *= 2
        exponent += 1
    search_range = power * 16
    out = bytearray(struct.pack(">IHHHH", flavor, num_tables, search_range,
                                exponent, num_tables * 16 - search_range))
    offset = 12 + 16 * num_tables
    body = bytearray()
    for tag, checksum, table in tables:
        out += struct.pack(">4sIII", tag, checksum, offset + len(body), len(table))
        body += table
        body += b"\0" * (-len(table) % 4)
    return bytes(out + body)


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: woff-to-sfnt.py IN.woff OUT.ttf", file=sys.stderr)
        return 2
    with open(sys.argv[1], "rb") as f:
        data = f.read()
    try:
        sfnt = unpack(data)
    except (ValueError, zlib.error, struct.error) as e:
        print("%s: %s" % (sys.argv[1], e), file=sys.stderr)
        return 1
    with open(sys.argv[2], "wb") as f:
        f.write(sfnt)
    return 0


if __name__ == "__main__":
    sys.exit(main())

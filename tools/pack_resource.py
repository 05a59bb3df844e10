#!/usr/bin/env python3
"""Packs a built-in resource of the Windows program: LZNT1, the compression Windows' own
RtlDecompressBuffer unpacks (COMPRESSION_FORMAT_LZNT1), so the program needs no decompressor of
its own. The pictures are mostly plain areas; packed, the program is some 700 KB smaller.

    python3 tools/pack_resource.py INPUT OUTPUT

OUTPUT is the unpacked size (4 bytes, little-endian) followed by the LZNT1 stream. Every output
is unpacked again here and compared with the input before it is written.

LZNT1: the data in chunks of 4096 bytes, each with a 2-byte header (bits 0-11: the chunk's size
with its header, less 3; bits 12-14: 3; bit 15: packed). A packed chunk is groups of a flag byte
and eight items, flag bit i (lowest first) telling a literal byte (0) from a 2-byte copy of
earlier bytes of the chunk (1). How a copy's 16 bits split into distance and length depends on
how far into the chunk it stands (length_bits below).

Standard library only.
"""

import struct
import sys

CHUNK = 4096


def length_bits(position):
    """Bits of a copy's length at this position of its chunk (position > 0); the rest of the 16
    bits hold the distance back, less one."""
    bits = 12
    at = position - 1
    while at >= 0x10:
        at >>= 1
        bits -= 1
    return bits


def pack_chunk(data):
    out = bytearray()
    seen = {}  # three bytes -> the positions they start at, in order
    position = 0
    size = len(data)
    while position < size:
        flag_at = len(out)
        out.append(0)
        flags = 0
        for bit in range(8):
            if position >= size:
                break
            best_length = best_distance = 0
            if position > 0 and position + 3 <= size:
                bits = length_bits(position)
                longest = min((1 << bits) - 1 + 3, size - position)
                farthest = min(position, 1 << (16 - bits))
                for start in reversed(seen.get(data[position:position + 3], [])[-64:]):
                    distance = position - start
                    if distance > farthest:
                        break
                    length = 0
                    while length < longest and data[start + length] == data[position + length]:
                        length += 1
                    if length > best_length:
                        best_length, best_distance = length, distance
                        if length == longest:
                            break
            if best_length >= 3:
                bits = length_bits(position)
                out += struct.pack('<H', ((best_distance - 1) << bits) | (best_length - 3))
                flags |= 1 << bit
                step = best_length
            else:
                out.append(data[position])
                step = 1
            for p in range(position, min(position + step, size - 2)):
                seen.setdefault(data[p:p + 3], []).append(p)
            position += step
        out[flag_at] = flags
    return bytes(out)


def pack(data):
    out = bytearray()
    for start in range(0, len(data), CHUNK):
        raw = data[start:start + CHUNK]
        packed = pack_chunk(raw)
        if len(packed) < len(raw):
            out += struct.pack('<H', 0xB000 | (len(packed) + 2 - 3)) + packed
        else:
            # kept as it is: a whole chunk (only the last can be shorter)
            out += struct.pack('<H', 0x3000 | (len(raw) + 2 - 3)) + raw
    return bytes(out)


def unpack(stream):
    out = bytearray()
    at = 0
    while at + 2 <= len(stream):
        header, = struct.unpack_from('<H', stream, at)
        if header == 0:
            break
        chunk = stream[at + 2:at + 2 + (header & 0xFFF) + 1]
        at += 2 + len(chunk)
        if not header & 0x8000:
            out += chunk
            continue
        start = len(out)
        i = 0
        while i < len(chunk):
            flags = chunk[i]
            i += 1
            for bit in range(8):
                if i >= len(chunk):
                    break
                if flags & (1 << bit):
                    code, = struct.unpack_from('<H', chunk, i)
                    i += 2
                    bits = length_bits(len(out) - start)
                    distance = (code >> bits) + 1
                    for _ in range((code & ((1 << bits) - 1)) + 3):
                        out.append(out[-distance])
                else:
                    out.append(chunk[i])
                    i += 1
    return bytes(out)


def main():
    if len(sys.argv) != 3:
        sys.exit('usage: pack_resource.py INPUT OUTPUT')
    with open(sys.argv[1], 'rb') as f:
        data = f.read()
    stream = pack(data)
    if unpack(stream) != data:
        sys.exit(f'pack_resource.py: {sys.argv[1]} does not unpack to itself')
    with open(sys.argv[2], 'wb') as f:
        f.write(struct.pack('<I', len(data)) + stream)


if __name__ == '__main__':
    main()

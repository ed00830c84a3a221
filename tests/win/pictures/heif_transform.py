#!/usr/bin/env python3
"""Gives a HEIF file's primary image a rotation (irot) or mirror (imir) property, as phones
write them, or colours given as code points alone (a colr box of type nclx); Debian 12's heif-enc
writes none of them. Usage: heif_transform.py FILE irot|imir VALUE (irot: quarter turns
anticlockwise; imir: axis), or FILE nclx PRIMARIES,TRANSFER,MATRIX,FULL_RANGE. The property goes last in ipco and last in the
primary item's ipma entry (transformations apply in order); iloc offsets behind it move along."""
import struct
import sys


def boxes(b, start, end):
    at = start
    while at < end:
        size, kind = struct.unpack(">I4s", b[at:at + 8])
        header = 8
        if size == 1:
            size = struct.unpack(">Q", b[at + 8:at + 16])[0]
            header = 16
        elif size == 0:
            size = end - at
        yield kind.decode("latin1"), at, header, size
        at += size


def child(b, start, end, wanted):
    return next((found for found in boxes(b, start, end) if found[0] == wanted), None)


def grow(b, at, delta):
    struct.pack_into(">I", b, at, struct.unpack(">I", b[at:at + 4])[0] + delta)


def main(path, kind, value):
    b = bytearray(open(path, "rb").read())
    _, meta, mh, msize = child(b, 0, len(b), "meta")
    body = meta + mh + 4
    _, pitm, ph, _ = child(b, body, meta + msize, "pitm")
    primary = struct.unpack(">H", b[pitm + ph + 4:pitm + ph + 6])[0]
    _, iprp, ih, isize = child(b, body, meta + msize, "iprp")
    _, ipco, ch, csize = child(b, iprp + ih, iprp + isize, "ipco")
    _, ipma, ah, asize = child(b, iprp + ih, iprp + isize, "ipma")
    index = len(list(boxes(b, ipco + ch, ipco + csize))) + 1
    if kind == "nclx":
        primaries, transfer, matrix, full = value
        prop = struct.pack(">I4s4sHHHB", 19, b"colr", b"nclx", primaries, transfer, matrix, full << 7)
    else:
        prop = struct.pack(">I4sB", 9, kind.encode(), value)

    version, flags = b[ipma + ah], int.from_bytes(b[ipma + ah + 1:ipma + ah + 4], "big")
    at = ipma + ah + 8
    association = struct.pack(">H", 0x8000 | index) if flags & 1 else struct.pack(">B", 0x80 | index)
    for _ in range(struct.unpack(">I", b[ipma + ah + 4:ipma + ah + 8])[0]):
        item_size = 2 if version < 1 else 4
        item = int.from_bytes(b[at:at + item_size], "big")
        count = b[at + item_size]
        end = at + item_size + 1 + count * (2 if flags & 1 else 1)
        if item == primary:
            b[at + item_size] = count + 1
            b[end:end] = association
            break
        at = end
    # ipma follows ipco in iprp here, so the property is inserted after the association is.
    b[ipco + csize:ipco + csize] = prop
    delta = len(prop) + len(association)
    for box_at in (ipco, ipma + len(prop), iprp, meta):
        grow(b, box_at, len(prop) if box_at == ipco else (len(association) if box_at == ipma + len(prop) else delta))

    _, iloc, lh, _ = child(b, body, meta + msize + delta, "iloc")
    v = b[iloc + lh]
    offset_size, length_size = b[iloc + lh + 4] >> 4, b[iloc + lh + 4] & 15
    base_size, index_size = b[iloc + lh + 5] >> 4, (b[iloc + lh + 5] & 15) if v in (1, 2) else 0
    at = iloc + lh + 6
    count_size = 2 if v < 2 else 4
    items = int.from_bytes(b[at:at + count_size], "big")
    at += count_size
    for _ in range(items):
        at += 2 if v < 2 else 4
        method = 0
        if v in (1, 2):
            method = int.from_bytes(b[at:at + 2], "big") & 15
            at += 2
        at += 2  # data reference index
        base = int.from_bytes(b[at:at + base_size], "big") if base_size else 0
        if method == 0 and base_size and base > meta:
            b[at:at + base_size] = (base + delta).to_bytes(base_size, "big")
        at += base_size
        extents = int.from_bytes(b[at:at + 2], "big")
        at += 2
        for _ in range(extents):
            at += index_size
            offset = int.from_bytes(b[at:at + offset_size], "big")
            if method == 0 and not base_size and offset > meta:
                b[at:at + offset_size] = (offset + delta).to_bytes(offset_size, "big")
            at += offset_size + length_size
    open(path, "wb").write(b)


if __name__ == "__main__":
    main(sys.argv[1], sys.argv[2], [int(v) for v in sys.argv[3].split(",")] if "," in sys.argv[3] else int(sys.argv[3]))

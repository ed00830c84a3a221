#!/usr/bin/python3
"""Writes a copy of a Song face whose cell is one em high, as 宋体's is on Windows.

The main window's template asks for 宋体 9 pt: a 12-pixel em and, with 宋体, a 12-pixel cell,
from which the dialog units are measured. Wine's nearest free Song face, AR PL UMing, has
ascent + descent = 1072/1024 em: a 13-pixel cell, so every dialog unit comes out larger and the
windows are laid out as no Windows system lays them out. The copy keeps every glyph and sets
ascent + descent to the em (in the ratio of the original), under a name of its own so that only
the font substitutes of the test prefix lead to it.

usage: one-em-song.py <font.ttc or .ttf> <face index> <family name> <out.ttf>
Only the standard library: the face is copied table by table.
"""
import struct
import sys


def checksum(data):
    data += b"\0" * (-len(data) % 4)
    return sum(struct.unpack(">%dI" % (len(data) // 4), data)) & 0xFFFFFFFF


def name_table(family):
    # Windows platform, Unicode BMP, US English: family, subfamily, unique, full, PostScript.
    strings = [(1, family), (2, "Regular"), (3, family), (4, family), (6, family.replace(" ", ""))]
    records, storage = b"", b""
    for name_id, text in strings:
        raw = text.encode("utf-16-be")
        records += struct.pack(">6H", 3, 1, 0x409, name_id, len(raw), len(storage))
        storage += raw
    return struct.pack(">3H", 0, len(strings), 6 + len(records)) + records + storage


def main(source, index, family, out):
    blob = open(source, "rb").read()
    start = 0
    if blob[:4] == b"ttcf":
        start = struct.unpack_from(">I", blob, 12 + 4 * int(index))[0]
    sfnt_version, count = struct.unpack_from(">IH", blob, start)
    tables = {}
    for i in range(count):
        tag, _, offset, length = struct.unpack_from(">4sIII", blob, start + 12 + 16 * i)
        tables[tag] = bytearray(blob[offset:offset + length])

    units_per_em = struct.unpack_from(">H", tables[b"head"], 18)[0]
    ascent = struct.unpack_from(">h", tables[b"hhea"], 4)[0]
    descent = -struct.unpack_from(">h", tables[b"hhea"], 6)[0]
    new_ascent = round(units_per_em * ascent / (ascent + descent))
    new_descent = units_per_em - new_ascent
    struct.pack_into(">hhh", tables[b"hhea"], 4, new_ascent, -new_descent, 0)
    os2 = tables[b"OS/2"]
    struct.pack_into(">hhh", os2, 68, new_ascent, -new_descent, 0)  # typo ascender, descender, gap
    struct.pack_into(">HH", os2, 74, new_ascent, new_descent)  # win ascent, descent
    tables[b"name"] = bytearray(name_table(family))
    struct.pack_into(">I", tables[b"head"], 8, 0)

    tags = sorted(tables)
    entry_selector = max(i for i in range(16) if 2 ** i <= len(tags))
    search_range = 16 * 2 ** entry_selector
    header = struct.pack(">IHHHH", sfnt_version, len(tags), search_range, entry_selector,
                         16 * len(tags) - search_range)
    offset = len(header) + 16 * len(tags)
    directory, body = b"", b""
    for tag in tags:
        data = bytes(tables[tag])
        directory += struct.pack(">4sIII", tag, checksum(data), offset + len(body), len(data))
        body += data + b"\0" * (-len(data) % 4)
    font = bytearray(header + directory + body)
    head_offset = struct.unpack_from(">I", directory, 16 * tags.index(b"head") + 8)[0]
    struct.pack_into(">I", font, head_offset + 8, (0xB1B0AFBA - checksum(bytes(font))) & 0xFFFFFFFF)
    open(out, "wb").write(font)


if __name__ == "__main__":
    main(*sys.argv[1:])

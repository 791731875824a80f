#!/usr/bin/env python3
"""Writes the characteristic-file fixtures of the document tests, independently of the
program's own writer (Python struct, little-endian, Windows-1250 texts).

    python3 make_fixtures.py    # run in this folder

two_series.OvK: date 45000.5 (2023-03-15 12:00), title "Kolumna ł ą" with two leading
blanks and a trailing tab, info "Nieznany", series count 2:
  record 1: name "Pomiar 1", a zero byte, then junk bytes; colour 0x00008000; 3 points
            (0, -1.5), (10, -2.25), (350, 0.125)
  record 2: name "Tył" blank-padded; colour 0x80000005 (a system colour code); 0 points
then 7 trailing bytes that the reader must ignore.
"""
import struct


def field(text, width, fill=b" "):
    data = text.encode("cp1250")
    return (data + fill * width)[:width]


def write(name, content):
    with open(name, "wb") as f:
        f.write(content)


header = (b"ORVI SYSTEM V1.0" + struct.pack("<d", 45000.5)
          + field("  Kolumna ł ą\t", 256) + field("Nieznany", 50) + struct.pack("<H", 2))
name1 = (b"Pomiar 1" + b"\x00" + b"\xff\x41junk" * 10)[:50]
rec1 = name1 + struct.pack("<Ii", 0x00008000, 3) + struct.pack(
    "<6d", 0.0, -1.5, 10.0, -2.25, 350.0, 0.125)
rec2 = field("Tył", 50) + struct.pack("<Ii", 0x80000005, 0)
write("two_series.OvK", header + rec1 + rec2 + b"TRAILER")

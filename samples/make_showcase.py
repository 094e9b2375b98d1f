#!/usr/bin/env python3
"""Writes showcase.vcf: the contacts the README screenshots show, with
portraits drawn here (PNGs made with zlib alone, no imaging library)."""
import base64
import math
import struct
import sys
import zlib


def png(width, height, pixel):
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    chunk = lambda kind, data: struct.pack(">I", len(data)) + kind + data + struct.pack(
        ">I", zlib.crc32(kind + data) & 0xFFFFFFFF)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


def portrait(top, bottom, skin, shirt, size=192):
    def mix(a, b, t):
        return tuple(int(a[i] + (b[i] - a[i]) * t) for i in range(3))

    def pixel(x, y):
        u, v = x / size, y / size
        color = mix(top, bottom, v)
        # head
        d = math.hypot(u - 0.5, v - 0.40) / 0.17
        if d < 1:
            color = mix(skin, mix(skin, (0, 0, 0), 0.18), max(0.0, (u - 0.45) * 1.2))
        # shoulders
        s = math.hypot((u - 0.5) / 0.36, (v - 1.02) / 0.36)
        if s < 1 and v > 0.62:
            color = mix(shirt, mix(shirt, (0, 0, 0), 0.25), max(0.0, u - 0.5))
        return color

    return png(size, size, pixel)


def fold(line):
    out = [line[:75]]
    line = line[75:]
    while line:
        out.append(" " + line[:74])
        line = line[74:]
    return "\r\n".join(out)


def photo(data):
    return fold("PHOTO;ENCODING=b;TYPE=PNG:" + base64.b64encode(data).decode())


cards = [
    ["FN:Elena Sokolova", "N:Sokolova;Elena;;;", "ORG:Northwind Travel", "TITLE:Head of partnerships",
     "TEL;TYPE=CELL,PREF:+7 916 555-01-23", "TEL;TYPE=WORK:+7 495 555-44-10",
     "EMAIL;TYPE=WORK:elena.sokolova@northwind.example", "ADR;TYPE=WORK:;;Tverskaya 12;Moscow;;125009;Russia",
     "BDAY:1986-04-17", "URL:https://northwind.example",
     "NOTE:Prefers calls after 10:00.\\nMet at the Lisbon travel fair.",
     photo(portrait((120, 160, 210), (40, 70, 120), (236, 196, 170), (200, 70, 80)))],
    ["FN:Anna Müller", "N:Müller;Anna;;;", "TEL;TYPE=CELL:+49 170 1234567", "EMAIL:anna.mueller@example.de",
     photo(portrait((170, 210, 170), (60, 110, 80), (220, 180, 150), (60, 90, 160)))],
    ["FN:Иван Петров", "N:Петров;Иван;;;", "TEL;TYPE=CELL:+7 916 123-45-67", "EMAIL:ivan.petrov@example.ru"],
    ["FN:Book club", "KIND:group", "EMAIL:books@example.org"],
    ["FN:Carlos Mendes", "TEL;TYPE=HOME:+351 21 555 0142", "EMAIL:carlos@example.pt",
     photo(portrait((230, 200, 150), (150, 100, 60), (190, 140, 110), (40, 40, 40)))],
    ["FN:Dr. Maria Rossi", "ORG:Ospedale San Marco", "TEL;TYPE=WORK:+39 06 555 0199"],
]
with open(sys.argv[1] if len(sys.argv) > 1 else "showcase.vcf", "w", encoding="utf-8", newline="") as out:
    for card in cards:
        out.write("BEGIN:VCARD\r\nVERSION:3.0\r\n" + "".join(line + "\r\n" for line in card) + "END:VCARD\r\n")

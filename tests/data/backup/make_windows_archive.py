#!/usr/bin/env python3
"""Writes windows.ebk / windows.002: a two-volume backup archive as the program
writes it on Windows (full lower-case paths with backslashes, a title, a file
list entry), holding article.dbf and article.mdx of this folder.

Run from this folder. Written from the format description only; zlib.compress
at level 9 gives the same stream parameters (15-bit window, memory level 8)."""
import random
import struct
import zlib

CHUNK = 16384


def i32(v):
    return struct.pack('<i', v)


def block(chunk):
    c = zlib.compress(chunk, 9)
    return i32(len(c)) + c if len(c) <= CHUNK else i32(-len(chunk)) + chunk


def dos(y, mo, d, h, mi, s):
    return ((y - 1980) << 25) | (mo << 21) | (d << 16) | (h << 11) | (mi << 5) | (s // 2)


rnd = random.Random(7)
words = [b'Vis', b'Ecrou', b'Rondelle', b'Boulon', b'inox', b'\xe9tag\xe8re', b'M6', b'lot']
records = b''
for n in range(1, 121):
    rec = b' ' + str(n).rjust(5).encode() + str(3000000000000 + rnd.randrange(10**9)).encode().ljust(50)
    rec += b' '.join(rnd.choice(words) for _ in range(4)).ljust(100) + b''.ljust(100)
    rec += str(rnd.randrange(1, 20)).rjust(3).encode() + b'O '
    records += rec
dbf = b'\x03' + bytes(224) + records + b'\x1a'
mdx = bytes(rnd.randrange(256) for _ in range(3000))
open('article.dbf', 'wb').write(dbf)
open('article.mdx', 'wb').write(mdx)

filelist = b'c:\\etibarix\\article.dbf\r\nc:\\etibarix\\article.mdx\r\n'
title = b'Sauvegarde'
v1 = i32(len(title)) + title + i32(len(dbf) + len(mdx)) + i32(2)
v1 += i32(9) + b'FILE:LIST' + i32(0) + b'EC2\0' + block(filelist) + i32(0)
path = b'c:\\program files\\etibarix\\article.dbf'
v1 += i32(len(path)) + path + i32(dos(2004, 3, 9, 17, 2, 40)) + b'EC2\0'
v1 += block(dbf[:CHUNK]) + i32(0) + i32(12) + b'NEXT:DISK002'
v2 = b'EC2\0'
for pos in range(CHUNK, len(dbf), CHUNK):
    v2 += block(dbf[pos:pos + CHUNK])
v2 += i32(0)
path = b'c:\\program files\\etibarix\\article.mdx'
v2 += i32(len(path)) + path + i32(dos(2004, 3, 9, 17, 2, 42)) + b'EC2\0' + block(mdx) + i32(0) + i32(0)
open('windows.ebk', 'wb').write(v1)
open('windows.002', 'wb').write(v2)

#!/usr/bin/python3
"""Writes the program's icon: a black spade on a white card, 32 x 32 and
16 x 16, as a Windows .ico file (32-bit BMP images). With a second file
name, also the installer's side picture: the card on green baize, 164 x 314,
a 24-bit BMP."""
import os
import struct
import sys


def inside_spade(x, y):
    # x, y in 0..1, y down. Two lobes, a point on top, a stem below.
    for cx in (0.34, 0.66):
        if (x - cx) ** 2 + (y - 0.58) ** 2 < 0.17 ** 2:
            return True
    if 0.42 < y <= 0.62 and abs(x - 0.5) < (y - 0.10) * 0.62:
        return True
    if 0.10 < y <= 0.42 and abs(x - 0.5) < (y - 0.10) * 0.62:
        return True
    return 0.60 < y < 0.90 and abs(x - 0.5) < 0.04 + (y - 0.60) * 0.35


def image(size):
    rows = []
    for py in range(size - 1, -1, -1):   # BMP rows go bottom up
        row = b''
        for px in range(size):
            x, y = (px + 0.5) / size, (py + 0.5) / size
            card = 0.06 < x < 0.94 and 0.02 < y < 0.98
            if not card:
                row += struct.pack('<BBBB', 0, 0, 0, 0)
            elif inside_spade(x, y):
                row += struct.pack('<BBBB', 0, 0, 0, 255)
            else:
                row += struct.pack('<BBBB', 255, 255, 255, 255)
        rows.append(row)
    pixels = b''.join(rows)
    mask = b'\0' * (((size + 31) // 32) * 4 * size)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return header + pixels + mask


def wizard_bitmap(width=164, height=314):
    # The card in the upper half, the rest baize with a faint weave.
    card_w, card_h = 96, 128
    left, top = (width - card_w) // 2, 60
    rows = []
    for py in range(height - 1, -1, -1):
        row = b''
        for px in range(width):
            cx, cy = px - left, py - top
            if 0 <= cx < card_w and 0 <= cy < card_h:
                x, y = (cx + 0.5) / card_w, (cy + 0.5) / card_h
                row += struct.pack('<BBB', 0, 0, 0) if inside_spade(x, y) else struct.pack('<BBB', 250, 250, 250)
            else:
                shade = 8 if (px + py) % 4 == 0 else 0
                row += struct.pack('<BBB', 40 + shade, 100 + shade, 30 + shade)
        row += b'\0' * ((4 - len(row) % 4) % 4)
        rows.append(row)
    pixels = b''.join(rows)
    info = struct.pack('<IiiHHIIiiII', 40, width, height, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    return struct.pack('<2sIHHI', b'BM', 14 + len(info) + len(pixels), 0, 0, 14 + len(info)) + info + pixels


def write(path, data):
    os.makedirs(os.path.dirname(os.path.abspath(path)), exist_ok=True)
    with open(path + '.part', 'wb') as f:
        f.write(data)
    os.replace(path + '.part', path)


def main():
    sizes = [32, 16]
    images = [image(s) for s in sizes]
    out = struct.pack('<HHH', 0, 1, len(sizes))
    offset = 6 + 16 * len(sizes)
    for s, data in zip(sizes, images):
        out += struct.pack('<BBBBHHII', s, s, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    out += b''.join(images)
    write(sys.argv[1], out)
    if len(sys.argv) > 2:
        write(sys.argv[2], wizard_bitmap())


if __name__ == '__main__':
    main()

#!/usr/bin/env python3
"""Draws the notifier's tray pictures, the launchers' icon and the new-mail chime.

Everything is generated here at build time: eleven tray icons (16x16 and 32x32,
32-bit with alpha), the launcher icon and a short PCM chime, plus the resource
script that binds them into Glyphpack.dll under the names the notifier loads.

usage: make_art.py OUTPUT_DIR
"""
import math
import os
import struct
import sys
import wave

SIZES = (16, 32)
SUPERSAMPLE = 4

PAPER = (250, 244, 226)
INK = (84, 72, 52)
FLAP = (226, 214, 186)
BADGE_RED = (214, 44, 40)
BADGE_ORANGE = (245, 150, 30)
SPIN_ON = (40, 110, 220)
SPIN_OFF = (170, 190, 215)


# --- shapes: each returns (r, g, b, a) for a point in the unit square, or None ---

def envelope(scale=1.0, lift=0.0):
    left, right = 0.5 - 0.42 * scale, 0.5 + 0.42 * scale
    top, bottom = 0.5 - 0.28 * scale - lift, 0.5 + 0.28 * scale - lift
    edge = 0.075 * scale

    def shape(x, y):
        if not (left <= x <= right and top <= y <= bottom):
            return None
        if x - left < edge or right - x < edge or y - top < edge or bottom - y < edge:
            return INK + (255,)
        # The flap: a V from the top corners down to the middle.
        u = (x - left) / (right - left)
        v_line = top + (bottom - top) * 0.55 * (1 - abs(2 * u - 1))
        if abs(y - v_line) < edge * 0.8:
            return INK + (255,)
        return (FLAP if y < v_line else PAPER) + (255,)
    return shape


def disc(cx, cy, radius, colour):
    def shape(x, y):
        if (x - cx) ** 2 + (y - cy) ** 2 <= radius ** 2:
            return colour + (255,)
        return None
    return shape


def spinner(active):
    """Eight dots on a ring; the active one and its two predecessors lit, fading."""
    shapes = []
    for k in range(8):
        angle = -math.pi / 2 + k * math.pi / 4
        cx, cy = 0.5 + 0.40 * math.cos(angle), 0.5 + 0.40 * math.sin(angle)
        age = (active - k) % 8
        if age == 0:
            colour = SPIN_ON
        elif age < 3:
            mix = age / 3.0
            colour = tuple(int(a + (b - a) * mix) for a, b in zip(SPIN_ON, SPIN_OFF))
        else:
            colour = SPIN_OFF
        shapes.append(disc(cx, cy, 0.085 if age else 0.11, colour))
    return shapes


def frame_shapes(index):
    if index == 0:
        return [envelope()]
    if index == 1:
        return [envelope(), disc(0.80, 0.24, 0.19, BADGE_RED)]
    if index == 2:
        return [envelope(lift=0.05), disc(0.80, 0.19, 0.16, BADGE_ORANGE)]
    return [envelope(scale=0.55)] + spinner(index - 3)


def launcher_shapes():
    # A window with a title bar and an arrow pointing into it.
    def window(x, y):
        if 0.1 <= x <= 0.9 and 0.15 <= y <= 0.85:
            if x < 0.17 or x > 0.83 or y > 0.78 or y < 0.22:
                return INK + (255,)
            if y < 0.32:
                return SPIN_ON + (255,)
            return PAPER + (255,)
        return None

    def arrow(x, y):
        # Shaft and head pointing right, across the window's body.
        if 0.25 <= x <= 0.55 and 0.5 <= y <= 0.62:
            return BADGE_RED + (255,)
        if 0.55 <= x <= 0.75 and abs(y - 0.56) <= (0.75 - x) * 0.9:
            return BADGE_RED + (255,)
        return None
    return [window, arrow]


# --- rasterising and the ICO format ---

def render(shapes, size):
    pixels = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(SUPERSAMPLE):
                for sx in range(SUPERSAMPLE):
                    x = (px + (sx + 0.5) / SUPERSAMPLE) / size
                    y = (py + (sy + 0.5) / SUPERSAMPLE) / size
                    colour = None
                    for shape in shapes:
                        c = shape(x, y)
                        if c is not None:
                            colour = c
                    if colour is not None:
                        for i in range(3):
                            acc[i] += colour[i]
                        acc[3] += 255
            n = SUPERSAMPLE * SUPERSAMPLE
            covered = acc[3] / 255
            if covered == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(int(acc[i] / covered) for i in range(3)) + (int(acc[3] / n),))
        pixels.append(row)
    return pixels


def ico_image(pixels):
    size = len(pixels)
    header = struct.pack('<IiiHHIIiiII', 40, size, size * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    colour = bytearray()
    for row in reversed(pixels):
        for r, g, b, a in row:
            colour += bytes((b, g, r, a))
    mask = bytearray()
    stride = ((size + 31) // 32) * 4
    for row in reversed(pixels):
        bits = bytearray(stride)
        for x, (_, _, _, a) in enumerate(row):
            if a == 0:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask += bits
    return header + bytes(colour) + bytes(mask)


def write_ico(path, shapes):
    images = [ico_image(render(shapes, size)) for size in SIZES]
    out = struct.pack('<HHH', 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in zip(SIZES, images):
        out += struct.pack('<BBBBHHII', size % 256, size % 256, 0, 0, 1, 32, len(data), offset)
        offset += len(data)
    with open(path, 'wb') as f:
        f.write(out + b''.join(images))


def write_chime(path, rate=22050, seconds=0.7):
    """Two soft bell strikes (E6 then C6) with a few overtones, decaying."""
    notes = ((0.0, 1318.5), (0.16, 1046.5))
    frames = bytearray()
    total = int(rate * seconds)
    for i in range(total):
        t = i / rate
        sample = 0.0
        for start, freq in notes:
            if t >= start:
                d = t - start
                env = math.exp(-d * 6.0) * min(1.0, d * 400)
                sample += env * (math.sin(2 * math.pi * freq * d)
                                 + 0.35 * math.sin(2 * math.pi * freq * 2.01 * d)
                                 + 0.12 * math.sin(2 * math.pi * freq * 3.02 * d))
        fade = min(1.0, (total - i) / (rate * 0.05))
        value = int(max(-1.0, min(1.0, sample * 0.28 * fade)) * 32767)
        frames += struct.pack('<h', value)
    with wave.open(path, 'wb') as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(rate)
        w.writeframes(bytes(frames))


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    lines = ['// Generated by make_art.py: the notifier\'s pictures and sound.']
    for index in range(11):
        name = 'IL1_ICON%d' % index
        write_ico(os.path.join(out, name + '.ico'), frame_shapes(index))
        lines.append('%s ICON "%s.ico"' % (name, name))
    write_chime(os.path.join(out, 'chime.wav'))
    lines.append('WAV_WAVE4 WAVE "chime.wav"')
    with open(os.path.join(out, 'glyphpack.rc'), 'w') as f:
        f.write('\n'.join(lines) + '\n')
    write_ico(os.path.join(out, 'launcher.ico'), launcher_shapes())


if __name__ == '__main__':
    main()

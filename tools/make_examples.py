#!/usr/bin/python3
"""Writes WAVORA's small sample records into examples/: one file of each directly opened format.

Usage: tools/make_examples.py [FOLDER]   (default: examples/ beside this script's folder)

The records are synthetic vibration signals (a few sines with a little noise) so that every
analysis shows something: spectral peaks, a correlation period, a clear filter effect.
"""
import math
import os
import random
import struct
import sys


def signal(n, rate, parts, noise, seed):
    rnd = random.Random(seed)
    out = []
    for i in range(n):
        t = i / rate
        v = sum(a * math.sin(2 * math.pi * f * t + p) for a, f, p in parts)
        out.append(v + rnd.uniform(-noise, noise))
    return out


def standard_csv(path):
    rate, n = 100, 4096
    chans = [
        ("Floor 1F", "Gal", signal(n, rate, [(12.0, 2.5, 0), (4.0, 11.0, 1)], 0.8, 1)),
        ("Floor 3F", "Gal", signal(n, rate, [(20.0, 2.5, 0.3), (3.0, 17.0, 2)], 0.8, 2)),
        ("Ground", "Gal", signal(n, rate, [(6.0, 5.0, 0.1), (2.0, 23.0, 0)], 0.5, 3)),
    ]
    with open(path, "w", newline="\r\n") as f:
        f.write(",".join(c[0] for c in chans) + "\n")
        f.write("%d,s\n" % rate)
        f.write("sample record written by tools/make_examples.py\n")
        f.write(",".join(c[1] for c in chans) + "\n")
        for i in range(n):
            f.write(",".join("%10.3e" % c[2][i] for c in chans) + "\n")


def dspcsv(path):
    interval_ms, n, ch = 10, 3000, 2
    data = [signal(n, 100, [(20000000.0, 3.0, 0)], 400000, 4), signal(n, 100, [(9000000.0, 7.0, 0)], 400000, 5)]
    lines = ["DSPCSV,1.0", "DATE,2024,05,17,09,30", "CH,%d" % ch, "DT,%d" % interval_ms]
    lines += ["H%d,0" % k for k in range(5, 19)]
    lines += ["TOTAL,%d" % (n * ch)]
    lines += ["H%d,0" % k for k in range(20, 24)]
    lines += ["NAME,NS,EW"]
    for i in range(n):
        lines.append("%d,%d,%d" % (i, int(data[0][i]), int(data[1][i])))
    with open(path, "w", newline="\r\n") as f:
        f.write("\n".join(lines) + "\n")


def text_field(s, size):
    b = s.encode("ascii")[:size]
    return b + b" " * (size - len(b))


def spc51(path):
    rate, n = 200, 4096
    names = [("Pier A", "mm", 0.0005), ("Pier B", "kine", 0.001), ("Deck", "gal", 0.01)]
    waves = [signal(n, rate, [(4000.0, 1.8, 0), (800.0, 9.0, 0)], 100, 6 + k) for k in range(3)]
    header = bytearray(512)
    header[0:13] = b"A-TLADX VER4."
    header[16:48] = text_field("Bridge test", 32)
    header[48:67] = b"2024/05/17 10:15:00"
    struct.pack_into("<i", header, 112, n)
    struct.pack_into("<h", header, 118, len(names))
    struct.pack_into("<h", header, 120, rate)
    header[130:162] = text_field("SPC-51 sample", 32)
    body = bytearray()
    for (name, unit, scale), w in zip(names, waves):
        entry = bytearray(96)
        entry[0:32] = text_field(name, 32)
        entry[32:40] = text_field(unit, 8)
        ints = [max(-32768, min(32767, int(v))) for v in w]
        struct.pack_into("<f", entry, 48, scale)
        struct.pack_into("<i", entry, 60, max(ints))
        struct.pack_into("<i", entry, 64, min(ints))
        body += entry
    frames = bytearray()
    ints = [[max(-32768, min(32767, int(v))) for v in w] for w in waves]
    for i in range(n):
        for k in range(len(names)):
            frames += struct.pack("<h", ints[k][i])
    with open(path, "wb") as f:
        f.write(header + body + frames)


def spc35(path):
    rate, n, ch = 100, 2048, 2
    waves = [signal(n, rate, [(9000.0, 4.0, 0)], 300, 9), signal(n, rate, [(5000.0, 12.0, 0)], 300, 10)]
    header = bytearray(256)
    for off, v in zip(range(6, 18, 2), (2024, 5, 17, 11, 0, 0)):
        struct.pack_into("<h", header, off, v)
    struct.pack_into("<i", header, 20, n)
    struct.pack_into("<h", header, 24, ch)
    struct.pack_into("<h", header, 26, rate)
    struct.pack_into("<h", header, 60, 1)
    header[108], header[110], header[112] = ord("S"), ord("P"), ord("C")
    frames = bytearray()
    for i in range(n):
        for k in range(ch):
            frames += struct.pack("<H", max(0, min(65535, int(waves[k][i]) + 32768)))
    with open(path, "wb") as f:
        f.write(header + frames)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "examples")
    os.makedirs(folder, exist_ok=True)
    standard_csv(os.path.join(folder, "floors.csv"))
    dspcsv(os.path.join(folder, "ground_dspcsv.csv"))
    spc51(os.path.join(folder, "bridge.dbl"))
    spc35(os.path.join(folder, "machine_spc35.dbl"))


if __name__ == "__main__":
    main()

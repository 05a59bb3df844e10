#!/usr/bin/env python3
"""Writes the hostile picture corpus into OUTDIR and prints its manifest, one file a line:
"<name>\t<kind>", where kind is
  good     a sound picture of each format: every path must take it (the control);
  bad      no picture at all (empty, random, a header that lies or is past its limits): every
           path must refuse it;
  damaged  a real picture cut short or with corrupted bytes: a path may show what it can decode
           or refuse it, but never crash, hang or grow without bound;
  special  not a regular file (folder, named pipe, device): refused at once by every path;
  vanish   a picture that is cut and removed while it is read (picture_probe --vanish).
Everything is made from a fixed seed, so the corpus is the same at every run. Sound pictures come
from ImageMagick's `convert`; the rest is built byte by byte here."""
import os, random, stat, struct, subprocess, sys, zlib

out = sys.argv[1]
os.makedirs(out, exist_ok=True)
rng = random.Random(20261206)
manifest = []


def put(name, data, kind):
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
    manifest.append((name, kind))


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def png(width, height, rows_zlib, depth=8, colour=0):
    ihdr = struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr) + png_chunk(b"IDAT", rows_zlib)
            + png_chunk(b"IEND", b""))


def zeros_zlib(total, level=9):
    """A zlib stream of `total` zero bytes, made a megabyte at a time."""
    c, parts, block = zlib.compressobj(level), [], b"\0" * (1 << 20)
    while total > 0:
        parts.append(c.compress(block[: min(total, len(block))]))
        total -= len(block)
    return b"".join(parts) + c.flush()


# Sound pictures of each format, the base of the damaged ones.
base = {}
for ext, spec in [("jpg", "JPEG"), ("png", "PNG"), ("gif", "GIF"), ("bmp", "BMP3"), ("tga", "TGA")]:
    path = os.path.join(out, "good." + ext)
    subprocess.run(["convert", "-size", "320x240", "plasma:red-blue", "-seed", "7", f"{spec}:{path}"],
                   check=True, stderr=subprocess.DEVNULL)
    if ext == "tga":
        # Version 2.0, the TGA Qt reads: its footer at the end.
        with open(path, "ab") as f:
            f.write(b"\0" * 8 + b"TRUEVISION-XFILE.\0")
    base[ext] = open(path, "rb").read()
    manifest.append(("good." + ext, "good"))

for ext, data in base.items():
    n = len(data)
    put(f"cut-half.{ext}", data[: n // 2], "damaged")
    put(f"cut-header.{ext}", data[:20], "bad" if ext != "tga" else "damaged")
    flipped = bytearray(data)
    for _ in range(64):
        i = rng.randrange(n // 4, n)
        flipped[i] = rng.randrange(256)
    put(f"flipped.{ext}", bytes(flipped), "damaged")
    scrambled = bytearray(data)
    for i in range(2, 18):
        scrambled[i] = rng.randrange(256)
    put(f"scrambled-header.{ext}", bytes(scrambled), "damaged")
    put(f"zeroed-body.{ext}", data[: n // 8] + b"\0" * (n - n // 8), "damaged")
    put(f"empty.{ext}", b"", "bad")
    put(f"random.{ext}", bytes(rng.randrange(256) for _ in range(4096)), "bad")

# PNGs that declare more than the program decodes, and a decompression bomb within the limit.
put("huge-65535x65535.png", png(65535, 65535, zlib.compress(b"\0" * 65536)), "bad")
put("bomb-20000x20000.png", png(20000, 20000, zeros_zlib(20001 * 20000)), "bad")
put("bomb-12000x12000.png", png(12000, 12000, zeros_zlib(12001 * 12000)), "damaged")
put("bad-crc.png", base["png"][:29] + b"\0\0\0\0" + base["png"][33:], "damaged")

# A GIF of 200 frames of 4000 x 4000 (the same frame again and again).
gif = base["gif"]
subprocess.run(["convert", "-size", "4000x4000", "xc:green", os.path.join(out, "frame.gif")], check=True)
frame = open(os.path.join(out, "frame.gif"), "rb").read()
os.remove(os.path.join(out, "frame.gif"))
flags = frame[10]
start = 13 + (3 * 2 ** ((flags & 7) + 1) if flags & 0x80 else 0)
pos = start
while frame[pos] == 0x21:  # extensions before the image
    pos += 2
    while frame[pos]:
        pos += frame[pos] + 1
    pos += 1
image = frame[pos:-1]  # descriptor and data, without the trailer
delay = b"\x21\xf9\x04\x00\x01\x00\x00\x00"
put("frames-200x4000x4000.gif", frame[:start] + (delay + image) * 200 + b"\x3b", "damaged")
put("screen-65535.gif", frame[:6] + b"\xff\xff\xff\xff" + frame[10:], "damaged")

# BMPs whose header lies.
bmp = base["bmp"]


def patched(data, offset, fmt, value):
    b = bytearray(data)
    struct.pack_into(fmt, b, offset, value)
    return bytes(b)


put("lying-30000x30000.bmp", patched(patched(bmp, 18, "<i", 30000), 22, "<i", 30000), "bad")
put("lying-negative-width.bmp", patched(bmp, 18, "<i", -320), "bad")
put("lying-height-min.bmp", patched(bmp, 22, "<i", -2 ** 31), "bad")
put("lying-offset.bmp", patched(bmp, 10, "<I", 0xFFFFFF00), "damaged")
put("lying-bits-7.bmp", patched(bmp, 28, "<H", 7), "bad")
put("lying-header-size.bmp", patched(bmp, 14, "<I", 0xFFFFFFF0), "bad")
# A TGA declaring 65535 x 65535 with a few bytes of data.
tga = bytearray(base["tga"])
struct.pack_into("<HH", tga, 12, 65535, 65535)
put("lying-65535.tga", bytes(tga[:2000]) + base["tga"][-26:], "bad")
put("version-1.tga", base["tga"][:-26], "damaged")

# Not regular files.
os.mkdir(os.path.join(out, "folder.jpg"))
manifest.append(("folder.jpg", "special"))
os.mkfifo(os.path.join(out, "fifo.png"))
manifest.append(("fifo.png", "special"))
try:
    os.mknod(os.path.join(out, "device.bmp"), 0o600 | stat.S_IFCHR, os.makedev(1, 5))  # /dev/zero
except PermissionError:
    os.symlink("/dev/zero", os.path.join(out, "device.bmp"))  # not root: a link to one
manifest.append(("device.bmp", "special"))
os.symlink("/dev/urandom", os.path.join(out, "urandom.jpg"))
manifest.append(("urandom.jpg", "special"))
os.symlink("missing-target.png", os.path.join(out, "dangling.png"))
manifest.append(("dangling.png", "special"))
# Cut and removed while read: a large picture, so that reading it takes a while.
put("vanishing-source.png", png(3000, 3000, zeros_zlib(3001 * 3000, level=1)), "vanish")

for name, kind in manifest:
    print(f"{name}\t{kind}")

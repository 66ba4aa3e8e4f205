#!/usr/bin/env python3
"""Writes the fuzz targets' seed corpora under fuzz/corpus/<target>/ from the files and
cases the tests use: the INI cases of the INI tests, the number texts of the conversion
tests, the bitmaps of the tests and programs, the wave forms of the player's tests and the
probe window's layouts."""
import hashlib
import pathlib
import struct

root = pathlib.Path(__file__).resolve().parent.parent
corpus = root / "fuzz" / "corpus"


def put(target, data):
    folder = corpus / target
    folder.mkdir(parents=True, exist_ok=True)
    (folder / hashlib.sha1(data).hexdigest()).write_bytes(data)


def escaped(text):
    # FuzzedDataProvider ends a string at a backslash followed by another character.
    return text.replace(b"\\", b"\\\\") + b"\\ "


# INI: section, key and value, then the file's content.
ini_cases = [
    (b"Size", b"Top", b"174", b"[Size]\nTop=1\nLeft=2\n"),
    (b"Size", b"Left", b"6", b"; bounds\n[Other]\nTop=x\n[Size]\nWidth=1\nExtra=yes\nTop=2\n\n[Tail]\nk=v\n"),
    (b"Size", b"Top", b"2", b"[ size ]\n  TOP = 1 \n"),
    (b"Size", b"Width", b"4", b"[Size]\nLeft=1\n[X]\n[Size]\nTop=2\n"),
    (b"text", b"edit1", b"", b"[Size]\r\nTop=1\r\n"),
    (b"Size", b"Left", b"2", b"[Size]\nTop=1"),
    (b"Size", b"Top", b"7", b"\x01\xff\xfe[\n[Size\n=x\n[Size]\nTop\n"),
    (b"text", b"edit1", "  Привет = мир  ".encode(), b""),
    (b"size", b"Top", b"-8", b"Top=0\n[size]\n Top = -8 \nbroken line\n;Left=1\n[Other]\nLeft=2\n[SIZE]\r\nWidth=3\r\nHeight\xff=4"),
]
for section, key, value, content in ini_cases:
    put("ini", escaped(section) + escaped(key) + escaped(value) + content)

# Numbers: the texts the conversion tests read, and a few doubles' bytes.
for text in ["0", "-8", "+15", "007", "2147483647", "-2147483648", "", "-", " 5", "1.0", "0x10",
             "2147483648", "1,5", "-2,25", ",5", "5.", "1e3", "1,5E-2", "-1e+2", "1e-400", "007.50",
             "1,5,5", "e5", "1e+", "1E15", "1E-5", "123456789012345678"]:
    put("numbers", text.encode())
for value in [0.1, 1e15, 1e-5, 123456.789, 2.5e-310, 1.7976931348623157e308]:
    put("numbers", struct.pack("<d", value))

# Bitmaps: the files themselves.
for path in [root / "tests/layouts/Ball.bmp", root / "assets/B1.bmp", root / "assets/Bitmap2.bmp"]:
    put("bitmap", path.read_bytes())


def rle_bitmap(bits, codes, width=6, height=3):
    """A run-length encoded bitmap (8 or 4 bits) with a palette of 16 greys."""
    palette = b"".join(bytes([i * 16, i * 16, i * 16, 0]) for i in range(16))
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 1 if bits == 8 else 2, len(codes), 2835, 2835, 16, 0)
    offset = 14 + len(info) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(codes), 0, 0, offset) + info + palette + codes


# Runs, a literal, a move right and up, row ends and the end mark.
put("bitmap", rle_bitmap(8, b"\x03\x01\x00\x03\x02\x03\x04\x00\x00\x00\x00\x02\x01\x01\x02\x05\x00\x01"))
put("bitmap", rle_bitmap(4, b"\x05\x12\x00\x05\x34\x56\x70\x00\x00\x00\x00\x02\x02\x01\x01\x0f\x00\x01"))


# Wave files of the forms the player's tests play, a few samples each.
def wave(tag, bits, channels, rate, extra=False):
    size = bits // 8
    fmt = struct.pack("<HHIIHH", tag, channels, rate, rate * channels * size, channels * size, bits)
    if tag == 0xFFFE:
        fmt += struct.pack("<HHI", 22, bits, 4 if channels == 1 else 3)
        fmt += b"\x01\x00\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71"
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    if extra:
        body += b"LIST" + struct.pack("<I", 18) + b"INFOINAM\x06\0\0\0Chime\0"
        body += b"junk" + struct.pack("<I", 3) + b"odd\0"
    data = bytes((i * 37) & 0xFF for i in range(16 * channels * size))
    body += b"data" + struct.pack("<I", len(data)) + data
    return b"RIFF" + struct.pack("<I", len(body)) + body


for form in [(1, 8, 1, 8000), (1, 16, 2, 44100), (1, 24, 1, 48000), (0xFFFE, 24, 2, 96000),
             (3, 32, 1, 32000), (1, 16, 2, 44100, True)]:
    put("wave", wave(*form))

# Layouts: the probe window's own, good and bad.
for path in sorted((root / "tests/layouts").glob("*.json")):
    put("layout", path.read_bytes())

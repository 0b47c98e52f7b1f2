#!/usr/bin/env python3
"""Writes a fuzz target's seed from the values the target is to read.

The targets read their input with LLVM's FuzzedDataProvider, which takes
whole numbers from the end of the input and strings from the front. This
writes the bytes that make each call give the value asked for, so that a
seed can be written as what the target does with it rather than as bytes.

    fuzz/seed.py OUTPUT VALUE...

Each VALUE is one call of the target, in the order the target makes them:

    int:LOW:HIGH:V     ConsumeIntegralInRange(LOW, HIGH) gives V
    u8:V u32:V i32:V i64:V u64:V
                       ConsumeIntegral of that type gives V
    f64:X              ConsumeIntegral<uint64_t>() gives the bits of the
                       double X (a Python float: 0.5, -1e300, nan, inf)
    bool:0 bool:1      ConsumeBool()
    str:MAX:TEXT       ConsumeRandomLengthString(MAX) gives TEXT, written
                       with Python's backslash escapes (\\x00, \\n, \\\\)
"""

import struct
import sys

TYPES = {
    "u8": (0, 0xFF),
    "u32": (0, 0xFFFFFFFF),
    "i32": (-(1 << 31), (1 << 31) - 1),
    "u64": (0, (1 << 64) - 1),
    "i64": (-(1 << 63), (1 << 63) - 1),
}


class Seed:
    """The bytes of one input: front holds strings in reading order, back
    holds the bytes of whole numbers in the order they are taken from the
    end."""

    def __init__(self):
        self.front = bytearray()
        self.back = bytearray()

    def integral(self, low, high, value, bits=None):
        if not low <= value <= high:
            raise ValueError(f"{value} is not in [{low}, {high}]")
        span = high - low
        bits = bits if bits is not None else 64
        count = 0
        while count * 8 < bits and span >> (count * 8) > 0:
            count += 1
        offset = value - low
        # The provider reads the most significant byte first, from the end.
        for i in reversed(range(count)):
            self.back.append((offset >> (8 * i)) & 0xFF)

    def typed(self, name, value):
        low, high = TYPES[name]
        self.integral(low, high, value, bits=(high - low).bit_length())

    def real(self, value):
        bits = struct.unpack("<Q", struct.pack("<d", value))[0]
        self.typed("u64", bits)

    def boolean(self, value):
        self.typed("u8", 1 if value else 0)

    def string(self, most, text):
        text = text[:most]
        for byte in text:
            self.front += b"\\\\" if byte == 0x5C else bytes([byte])
        if len(text) < most:
            self.front += b"\\e"  # a backslash before anything else ends it

    def bytes(self):
        return bytes(self.front) + bytes(reversed(self.back))


def parse_int(text):
    return int(text, 0)


def add(seed, value):
    kind, _, rest = value.partition(":")
    if kind == "int":
        low, high, v = rest.split(":", 2)
        seed.integral(parse_int(low), parse_int(high), parse_int(v), bits=32)
    elif kind in TYPES:
        seed.typed(kind, parse_int(rest))
    elif kind == "f64":
        seed.real(float(rest))
    elif kind == "bool":
        seed.boolean(rest not in ("0", "false"))
    elif kind == "str":
        most, text = rest.split(":", 1)
        seed.string(int(most), text.encode("latin-1").decode("unicode_escape").encode("latin-1"))
    else:
        raise ValueError(f"unknown kind of value: {value}")


def main(argv):
    if len(argv) < 2 or argv[1] in ("-h", "--help"):
        print(__doc__, file=sys.stderr)
        return 2
    seed = Seed()
    try:
        for value in argv[2:]:
            add(seed, value)
    except ValueError as error:
        print(f"seed.py: {error}", file=sys.stderr)
        return 2
    with open(argv[1], "wb") as out:
        out.write(seed.bytes())
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

"""Reading the screenshots of the real-window and package tests.

`import -window root -depth 8 FILE.ppm` writes a binary 8-bit PPM; the
layer's own captures are PNG files, which ImageMagick's `convert` decodes.
Both come back as (width, height, bytes), three bytes a pixel, rows top-down.
"""
import subprocess


def parse_ppm(data):
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            at = data.index(b"\n", at)
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    assert fields[0] == b"P6" and fields[3] == b"255", "a binary 8-bit PPM"
    return int(fields[1]), int(fields[2]), data[at + 1:]


def read_ppm(path):
    with open(path, "rb") as file:
        return parse_ppm(file.read())


def read_png(path):
    ppm = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True,
                         stdout=subprocess.PIPE).stdout
    return parse_ppm(ppm)

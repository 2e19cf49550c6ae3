#!/usr/bin/env bash
# Writes the BMP reader's fixtures with ImageMagick: three small reference pictures as plain-text
# PPM files and BMP encodings of them in the depths and header kinds the reader must take.
# Run from anywhere; the files land beside this script. Needs `convert` (ImageMagick 6).
set -euo pipefail
cd "$(dirname "$0")"

python3 - <<'PY'
w, h = 13, 7
def ppm(name, colour):
    with open(name, "w") as f:
        f.write(f"P3\n{w} {h}\n255\n")
        for y in range(h):
            f.write(" ".join("%d %d %d" % colour(x, y) for x in range(w)) + "\n")
sixteen = [(0,0,0),(255,255,255),(255,0,0),(0,255,0),(0,0,255),(255,255,0),(0,255,255),(255,0,255),
           (18,50,74),(31,122,140),(86,180,196),(245,166,35),(244,247,249),(221,229,236),(27,39,51),
           (128,128,128)]
ppm("ref2.ppm", lambda x, y: (255, 255, 255) if (x * x + y) % 3 else (18, 50, 74))
ppm("ref16.ppm", lambda x, y: sixteen[(x * 3 + y * 5) % 16])
ppm("ref40.ppm", lambda x, y: ((x * 19) % 256, (y * 37) % 256, ((x + y) * 6) % 256))
PY

convert ref2.ppm -type Palette BMP3:im_1bit.bmp
convert ref16.ppm -type Palette BMP3:im_4bit.bmp
convert ref40.ppm -type Palette -compress None BMP3:im_8bit.bmp
convert ref40.ppm -type Palette -compress RLE BMP3:im_rle8.bmp
convert ref16.ppm -define bmp:subtype=RGB565 BMP:im_16bit_565.bmp
convert ref16.ppm -define bmp:subtype=RGB555 BMP:im_16bit_555.bmp
convert ref16.ppm -type TrueColor BMP3:im_24bit.bmp
convert ref16.ppm -type TrueColorAlpha BMP:im_32bit_v5.bmp
convert ref16.ppm -type TrueColor BMP2:im_24bit_os2.bmp
convert ref40.ppm -type Palette BMP2:im_8bit_os2.bmp

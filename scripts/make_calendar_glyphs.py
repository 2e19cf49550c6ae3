#!/usr/bin/env python3
"""Generate the glyphs of the date controls.

Writes, under resources/calendar/ (or the folder given with --out), 24-bit
uncompressed BMP files:
  zcleftarrows.bmp   previous-year button of the calendar   (ZCLEFTARROWS)
  zcleftarrow.bmp    previous-month button                  (ZCLEFTARROW)
  zcrightarrow.bmp   next-month button                      (ZCRIGHTARROW)
  zcrightarrows.bmp  next-year button                       (ZCRIGHTARROWS)
  zctoday.bmp        Today button: a calendar page with today's mark (ZCTODAY)
  zcrevert.bmp       Revert button: a turning-back arrow    (ZCREVERT)
  zcbtncal.bmp       the date field's drop-down button: a small calendar, 11 wide (ZCBTNCAL)

The pictures are drawn here as character maps in the program's navy #12324A and
teal #1F7A8C. Olive #808000 is the transparent key and the bottom-left pixel of
every glyph is that colour (the framework takes the bottom-left pixel as the
transparent one). Deterministic output; python3 only, no imaging library.

Usage:  python3 scripts/make_calendar_glyphs.py [--out DIR]
"""

import argparse
import os
import sys

from bmpfile import bmp24

PALETTE = {
    ".": (0x80, 0x80, 0x00),  # transparent key (olive)
    "N": (0x12, 0x32, 0x4A),  # navy
    "T": (0x1F, 0x7A, 0x8C),  # teal
    "L": (0x56, 0xB4, 0xC4),  # light teal
    "W": (0xFF, 0xFF, 0xFF),  # white
}

LEFT_ARROW = [
    "......",
    "....N.",
    "...NN.",
    "..NTN.",
    ".NTTN.",
    "..NTN.",
    "...NN.",
    "....N.",
    "......",
]

LEFT_ARROWS = [
    "..........",
    "....N...N.",
    "...NN..NN.",
    "..NTN.NTN.",
    ".NTTNNTTN.",
    "..NTN.NTN.",
    "...NN..NN.",
    "....N...N.",
    "..........",
]

TODAY = [
    "...........",
    ".NNNNNNNNN.",
    ".NNNNNNNNN.",
    ".NWWWWWWWN.",
    ".NWWWTTWWN.",
    ".NWWWTTWWN.",
    ".NWWWWWWWN.",
    ".NNNNNNNNN.",
    "...........",
]

REVERT = [
    "...........",
    "...T.......",
    "..TT.......",
    ".TTTTTTTN..",
    "..TT.....N.",
    "...T.....N.",
    ".........N.",
    "....NNNNN..",
    "...........",
]

BUTTON_CALENDAR = [
    "..N.....N..",
    "NNNNNNNNNNN",
    "NNNNNNNNNNN",
    "NWWWWWWWWWN",
    "NWTWTWTWTWN",
    "NWWWWWWWWWN",
    "NWTWTWLLTWN",
    "NWWWWWLLWWN",
    "NWTWTWTWWWN",
    "NNNNNNNNNNN",
    "...........",
]


def mirror(rows):
    return [row[::-1] for row in rows]


GLYPHS = {
    "zcleftarrows.bmp": LEFT_ARROWS,
    "zcleftarrow.bmp": LEFT_ARROW,
    "zcrightarrow.bmp": mirror(LEFT_ARROW),
    "zcrightarrows.bmp": mirror(LEFT_ARROWS),
    "zctoday.bmp": TODAY,
    "zcrevert.bmp": REVERT,
    "zcbtncal.bmp": BUTTON_CALENDAR,
}


def bmp_bytes(rows):
    """A 24-bit bottom-up BMP of a character map."""
    if rows[-1][0] != ".":
        raise ValueError("the bottom-left pixel must be the transparent key")
    return bmp24([[PALETTE[ch] for ch in row] for row in rows])


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--out", default=os.path.join(here, "..", "resources", "calendar"))
    args = parser.parse_args()
    os.makedirs(args.out, exist_ok=True)
    for name, rows in GLYPHS.items():
        with open(os.path.join(args.out, name), "wb") as f:
            f.write(bmp_bytes(rows))
    print("wrote %d glyphs to %s" % (len(GLYPHS), os.path.normpath(args.out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())

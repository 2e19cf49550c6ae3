#!/usr/bin/env python3
"""Generate the artwork of Zelvo Program Registration.

Makes, under resources/ (or the folder given with --out):
  MainBack.bmp           418 x 275 main-window background, 24-bit uncompressed BMP.
                         The layout leaves a calm band around the push button that
                         the program places at (160, 242, 97, 25).
  register.ico           window icon: 32 x 32 and 16 x 16, 16 colours (4 bpp) with
                         AND masks; the hexagon "Z" mark used in the wordmark.
  glyphs/<kind>.bmp      image-button glyphs for ok, cancel, help, yes, no, close,
                         abort, retry, ignore and all: 32 x 16, 24-bit, two 16 x 16
                         frames side by side (normal, disabled).
  glyphs/printer.bmp, glyphs/printer_disabled.bmp
                         16 x 16 printer glyph and its disabled twin.
Every glyph uses olive #808000 as its transparent key; the bottom-left pixel of
each glyph bitmap is always that colour.

All BMP and ICO structures are written here with struct. ImageMagick's `convert`
is used only to paint the background (gradients, shapes and anti-aliased text in
the system's DejaVu fonts); its output is read back as raw RGB. The result is
deterministic: same inputs, same bytes.

Usage:  python3 scripts/make_artwork.py [--out DIR] [--preview DIR]
        --preview also writes enlarged PNG previews of everything to DIR.
"""

import argparse
import os
import struct
import subprocess
import sys

from bmpfile import bmp24

# --------------------------------------------------------------------------
# Brand palette
# --------------------------------------------------------------------------
NAVY = "#12324A"
TEAL = "#1F7A8C"
LIGHT_TEAL = "#56B4C4"
AMBER = "#F5A623"
OFF_WHITE = "#F4F7F9"
BUTTON_FACE = "#DDE5EC"
DARK_TEXT = "#1B2733"

MAIN_W, MAIN_H = 418, 275
BUTTON_RECT = (160, 242, 97, 25)  # left, top, width, height (client coordinates)

TRANSPARENT_KEY = (0x80, 0x80, 0x00)  # olive
TRANSPARENT_KEY_HEX = "#808000"

FONT_REGULAR = "DejaVu-Sans"
FONT_BOLD = "DejaVu-Sans-Bold"


def hex_rgb(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# --------------------------------------------------------------------------
# File writers
# --------------------------------------------------------------------------
def ico_image_bytes(size, indices, opaque, palette):
    """One 4-bpp icon image: BITMAPINFOHEADER, 16-entry palette, XOR bits, AND mask."""
    xor_stride = ((size * 4 + 31) // 32) * 4
    and_stride = ((size + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(size)):
        line = bytearray(xor_stride)
        bits = bytearray(and_stride)
        for x in range(size):
            index = indices[y][x] if opaque[y][x] else 0
            if x % 2 == 0:
                line[x // 2] |= index << 4
            else:
                line[x // 2] |= index
            if not opaque[y][x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        xor += line
        mask += bits
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 4, 0,
                       len(xor) + len(mask), 0, 0, 16, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return info + pal + bytes(xor) + bytes(mask)


def ico_bytes(images):
    """images: list of (size, image_bytes)."""
    out = struct.pack("<HHH", 0, 1, len(images))
    offset = 6 + 16 * len(images)
    for size, data in images:
        out += struct.pack("<BBBBHHII", size % 256, size % 256, 16, 0, 1, 4,
                           len(data), offset)
        offset += len(data)
    for _, data in images:
        out += data
    return out


def write_file(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


# --------------------------------------------------------------------------
# ImageMagick helpers
# --------------------------------------------------------------------------
def run_convert(args):
    result = subprocess.run(["convert"] + args, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, check=False)
    if result.returncode != 0:
        sys.exit("convert failed: " + result.stderr.decode(errors="replace"))
    return result.stdout


def rows_from_rgb(data, width, height):
    rows = []
    for y in range(height):
        base = y * width * 3
        rows.append([tuple(data[base + 3 * x: base + 3 * x + 3]) for x in range(width)])
    return rows


# --------------------------------------------------------------------------
# The mark: a pointy-top hexagon (a shell plate) carrying a "Z"
# --------------------------------------------------------------------------
def hexagon_points(cx, cy, radius):
    """Pointy-top regular hexagon, corners listed clockwise from the top."""
    s = 0.8660254037844386  # sqrt(3) / 2
    return [(cx, cy - radius), (cx + s * radius, cy - radius / 2),
            (cx + s * radius, cy + radius / 2), (cx, cy + radius),
            (cx - s * radius, cy + radius / 2), (cx - s * radius, cy - radius / 2)]


def z_points(cx, cy, radius):
    """The "Z" inside a hexagon of the given radius, as one closed polygon."""
    half_w = 0.42 * radius
    half_h = 0.44 * radius
    bar = 0.21 * radius
    x0, x1 = cx - half_w, cx + half_w
    y0, y1 = cy - half_h, cy + half_h
    slant = 0.30 * radius  # horizontal run of the diagonal's inner edges
    return [(x0, y0), (x1, y0), (x1, y0 + bar), (x0 + slant, y1 - bar),
            (x1, y1 - bar), (x1, y1), (x0, y1), (x0, y1 - bar),
            (x1 - slant, y0 + bar), (x0, y0 + bar)]


def mvg_polygon(points):
    return "polygon " + " ".join("%.2f,%.2f" % p for p in points)


def mark_draw_args(cx, cy, radius):
    """convert arguments painting the mark at (cx, cy) onto the current image."""
    left, top = cx - radius, cy - radius
    size = int(2 * radius + 2)
    return [
        # soft drop shadow
        "(", "-size", "%dx%d" % (size + 12, size + 12), "xc:none",
        "-fill", "rgba(0,0,0,0.45)",
        "-draw", mvg_polygon(hexagon_points(radius + 6, radius + 8, radius)),
        "-blur", "0x3", ")",
        "-geometry", "%+d%+d" % (left - 6, top - 6), "-composite",
        # hexagon body: light teal at the top left fading into teal
        "(", "-size", "%dx%d" % (size, size), "xc:" + TEAL, "-sparse-color",
        "Barycentric", "0,0 %s %d,%d %s" % (LIGHT_TEAL, size, size, TEAL),
        "(", "-size", "%dx%d" % (size, size), "xc:black", "-fill", "white",
        "-draw", mvg_polygon(hexagon_points(radius, radius, radius)), ")",
        "-alpha", "off", "-compose", "CopyOpacity", "-composite", ")",
        "-compose", "Over", "-geometry", "%+d%+d" % (left, top), "-composite",
        # amber lower-right edge, like a lit rim
        "-fill", "none", "-stroke", AMBER, "-strokewidth", "%.2f" % (radius * 0.09),
        "-draw", "polyline " + " ".join("%.2f,%.2f" % p for p in
                                        hexagon_points(cx, cy, radius * 0.955)[1:4]),
        "-stroke", "none",
        "-fill", OFF_WHITE, "-draw", mvg_polygon(z_points(cx, cy, radius)),
    ]


# --------------------------------------------------------------------------
# MainBack.bmp
# --------------------------------------------------------------------------
BAND_TOP = 226  # the light band that carries the push button
assert BAND_TOP + 12 <= BUTTON_RECT[1] and BUTTON_RECT[1] + BUTTON_RECT[3] <= MAIN_H


def text_args(font, size, colour, x, baseline, text, kerning=0):
    return ["-font", font, "-pointsize", str(size), "-kerning", str(kerning),
            "-fill", colour, "-stroke", "none", "-annotate", "+%d+%d" % (x, baseline), text]


HONEY_R = 25.0
HONEY_DX = 25.0 * 3 ** 0.5
HONEY_DY = 25.0 * 1.5
HONEY_X, HONEY_Y = 332.0, 30.0
# (column, row, style): style is "line" for an outlined cell, else a fill colour
HONEYCOMB = [
    (1, 0, "line"), (2, 0, "rgba(86,180,196,0.18)"),
    (0, 1, "line"), (1, 1, "rgba(245,166,35,0.92)"), (2, 1, "rgba(86,180,196,0.30)"),
    (0, 2, "rgba(86,180,196,0.14)"), (1, 2, "rgba(31,122,140,0.55)"), (2, 2, "line"),
    (0, 3, "line"), (1, 3, "rgba(31,122,140,0.45)"), (2, 3, "rgba(86,180,196,0.20)"),
    (1, 4, "line"),
]


def main_back_args():
    w, h = MAIN_W, MAIN_H
    args = [
        "-size", "%dx%d" % (w, h), "xc:" + NAVY,
        # calm diagonal base: navy, slightly lifted towards the upper right
        "-sparse-color", "Barycentric",
        "0,0 #0F2B40 %d,0 #1A4E68 0,%d #12324A" % (w, h),
    ]
    # a honeycomb cluster on the right, echoing the mark
    args += ["-fill", "rgba(31,122,140,0.22)",
             "-draw", mvg_polygon(hexagon_points(410, 118, 150))]
    for col, row, style in HONEYCOMB:
        cx = HONEY_X + col * HONEY_DX + (row % 2) * HONEY_DX / 2
        cy = HONEY_Y + row * HONEY_DY
        points = mvg_polygon(hexagon_points(cx, cy, HONEY_R - 2.5))
        if style == "line":
            args += ["-fill", "none", "-stroke", "rgba(86,180,196,0.40)",
                     "-strokewidth", "1.3", "-draw", points, "-stroke", "none"]
        else:
            args += ["-fill", style, "-draw", points]
    # wordmark
    args += mark_draw_args(40, 40, 20)
    args += text_args(FONT_BOLD, 30, OFF_WHITE, 70, 51, "Zelvo")
    args += text_args(FONT_REGULAR, 12, LIGHT_TEAL, 72, 67, "SOFTWARE", kerning=2.4)
    # headline and benefits
    args += text_args(FONT_BOLD, 18, OFF_WHITE, 24, 104, "Thank you for choosing Zelvo!")
    args += text_args(FONT_REGULAR, 13, LIGHT_TEAL, 24, 126,
                      "Register your copy to enjoy:")
    benefits = ["Free updates for a full year",
                "Friendly priority support",
                "News of releases and offers"]
    for i, line in enumerate(benefits):
        y = 152 + i * 22
        args += ["-fill", AMBER, "-draw", mvg_polygon(hexagon_points(31, y - 4.5, 5))]
        args += text_args(FONT_REGULAR, 13, OFF_WHITE, 44, y, line)
    # bottom band for the button: off-white, nothing else in it, amber hairline on top
    args += ["(", "-size", "%dx%d" % (w, h - BAND_TOP),
             "gradient:%s-%s" % (OFF_WHITE, "#E6EDF2"), ")",
             "-geometry", "+0+%d" % BAND_TOP, "-composite",
             "-fill", AMBER,
             "-draw", "rectangle 0,%d %d,%d" % (BAND_TOP - 2, w, BAND_TOP - 1)]
    return args


def make_main_back():
    data = run_convert(main_back_args() + ["-alpha", "off", "-depth", "8", "rgb:-"])
    assert len(data) == MAIN_W * MAIN_H * 3, len(data)
    return rows_from_rgb(data, MAIN_W, MAIN_H)


# --------------------------------------------------------------------------
# register.ico: the mark as hand-placed pixels, 16-colour palette of our own
# --------------------------------------------------------------------------
ICON_PALETTE = [hex_rgb(c) for c in (
    "#000000",  # 0  under the AND mask (transparent)
    NAVY,       # 1  N  outline
    "#A9D9E1",  # 2  H  highlight along the upper-left edges
    LIGHT_TEAL,  # 3  L
    "#3A97A8",  # 4  M  between light teal and teal
    TEAL,       # 5  T
    AMBER,      # 6  A  lit rim
    OFF_WHITE,  # 7  W  the "Z"
    # not used by the mark; keeps a full 16-entry table
    DARK_TEXT, BUTTON_FACE, "#175E6C", "#C98410", "#808080", "#C0C0C0",
    "#2E5A6E", "#FFFFFF",
)]
ICON_KEYS = {".": 0, "N": 1, "H": 2, "L": 3, "M": 4, "T": 5, "A": 6, "W": 7}

ICON_32 = [
    "..............NNNN..............",
    "............NNHHLLNN............",
    "..........NNHHLLLLLLNN..........",
    "........NNHHLLLLLLLLLLNN........",
    "......NNHHLLLLLLLLLLLLLLNN......",
    "....NNHHLLLLLLLLLLLLLLLMMMNN....",
    "..NNHHLLLLLLLLLLLLLLLLMMMMMMNN..",
    "..NHLLLLLLLLLLLLLLLLLMMMMMMMAN..",
    "..NHLLLLLLLLLLLLLLLLMMMMMMMMAN..",
    "..NHLLLLLLWWWWWWWWWWWWMMMMMMAN..",
    "..NHLLLLLLWWWWWWWWWWWWMMMMMMAN..",
    "..NHLLLLLLWWWWWWWWWWWWMMMMMMAN..",
    "..NHLLLLLLLLLLLMMWWWWWMMMMMTAN..",
    "..NHLLLLLLLLLLMMWWWWWMMMMMTTAN..",
    "..NHLLLLLLLLLMMWWWWWMMMMMTTTAN..",
    "..NHLLLLLLLLMMWWWWWMMMMMTTTTAN..",
    "..NHLLLLLLLMMWWWWWMMMMMTTTTTAN..",
    "..NHLLLLLLMMWWWWWMMMMMTTTTTTAN..",
    "..NHLLLLLMMWWWWWMMMMMTTTTTTTAN..",
    "..NHLLLLMMWWWWWMMMMMTTTTTTTTAN..",
    "..NHLLLMMMWWWWWWWWWWWWTTTTTTAN..",
    "..NHLLMMMMWWWWWWWWWWWWTTTTTTAN..",
    "..NHLMMMMMWWWWWWWWWWWWTTTTTTAN..",
    "..NHMMMMMMMMMMMTTTTTTTTTTTTTAN..",
    "..NMMMMMMMMMMMTTTTTTTTTTTTTAAN..",
    "..NNMMMMMMMMMTTTTTTTTTTTTAAANN..",
    "....NNMMMMMMTTTTTTTTTTTAAANN....",
    "......NNMMMTTTTTTTTTTAAANN......",
    "........NNTTTTTTTTTAAANN........",
    "..........NNTTTTTAAANN..........",
    "............NNTAAANN............",
    "..............NNNN..............",
]
ICON_16 = [
    "......NNNN......",
    "....NNLLLLNN....",
    "..NNLLLLLLMMNN..",
    ".NLLLLLLLLMMMAN.",
    ".NLLLWWWWWWMMAN.",
    ".NLLLWWWWWWMMAN.",
    ".NLLLLLLWWWMMAN.",
    ".NLLLLLWWWMMTAN.",
    ".NLLLLWWWMMTTAN.",
    ".NLLLWWWMMTTTAN.",
    ".NLLMWWWWWWTTAN.",
    ".NLMMWWWWWWTTAN.",
    ".NMMMMMTTTTTAAN.",
    "..NNMMTTTTAANN..",
    "....NNTTAANN....",
    "......NNNN......",
]


def make_icon():
    images = []
    for art in (ICON_32, ICON_16):
        size = len(art)
        assert all(len(row) == size for row in art)
        indices = [[ICON_KEYS[ch] for ch in row] for row in art]
        opaque = [[ch != "." for ch in row] for row in art]
        images.append((size, ico_image_bytes(size, indices, opaque, ICON_PALETTE)))
    return ico_bytes(images)


# --------------------------------------------------------------------------
# Button glyphs: 16 x 16 pixel art, one character per pixel
# ("." is transparent; every other character names a colour below).
# Each shape has a dark outline, a mid fill and a light edge towards the
# upper left, so the set reads as one family.
# --------------------------------------------------------------------------
GLYPH_COLOURS = {
    # greens
    "G": "#1D6B31", "g": "#2E9E4A", "l": "#7BD08A",
    "Q": "#4E9D60", "L": "#B5E3BD",  # the paler check standing behind
    # reds
    "R": "#8E1B1B", "r": "#D93A32", "p": "#F2877C",
    # blues
    "B": "#1B4B85", "b": "#2F7AD0", "c": "#8DBEF0",
    # ambers
    "A": "#9C5C06", "a": AMBER, "y": "#FFD27A",
    # browns (door)
    "O": "#5E3512", "o": "#A2622A", "h": "#CF8F4C",
    # neutrals
    "K": "#26303A", "D": "#56616C", "m": "#8A96A2", "n": "#BCC5CE",
    "e": "#E3E8EC", "w": "#FFFFFF",
}

GLYPHS = {
    "ok": [
        "................",
        "................",
        "................",
        "................",
        "...........GGGG.",
        "..........GlgG..",
        ".........GlgG...",
        "........GlgG....",
        ".GGGG..GlgG.....",
        "..GlgGGlgG......",
        "...GggggG.......",
        "....GggG........",
        ".....GG.........",
        "................",
        "................",
        "................",
    ],
    "cancel": [
        "................",
        "................",
        "...RR......RR...",
        "..RprR....RprR..",
        "..RrrrR..RprrR..",
        "...RrrrRRprrR...",
        "....RrrrrrrR....",
        ".....RrrrrR.....",
        ".....RrrrrR.....",
        "....RprrrrrR....",
        "...RprrRRrrrR...",
        "..RprrR..RrrrR..",
        "..RrrR....RrrR..",
        "...RR......RR...",
        "................",
        "................",
    ],
    "help": [
        "................",
        ".....BBBBBB.....",
        "...BBccccbbBB...",
        "..BccbwwwwbbbB..",
        "..BcbwwbbwwbbB..",
        ".BcbbbbbbwwbbbB.",
        ".BcbbbbbwwbbbbB.",
        ".BcbbbbwwbbbbbB.",
        ".BbbbbbwwbbbbbB.",
        ".BbbbbbbbbbbbbB.",
        ".BbbbbbwwbbbbbB.",
        "..BbbbbwwbbbbB..",
        "..BbbbbbbbbbbB..",
        "...BBbbbbbbBB...",
        ".....BBBBBB.....",
        "................",
    ],
    "no": [
        "................",
        ".....RRRRRR.....",
        "...RRpppprrRR...",
        "..RpprrrrrrrrR..",
        "..RprrwwwwrrrR..",
        ".RprrrrwwwwrrrR.",
        ".RprwrrrwwwwrrR.",
        ".RprwwrrrwwwrrR.",
        ".RrrwwwrrrwwrrR.",
        ".RrrwwwwrrrwrrR.",
        ".RrrrwwwwrrrrrR.",
        "..RrrrwwwwrrrR..",
        "..RrrrrrrrrrrR..",
        "...RRrrrrrrRR...",
        ".....RRRRRR.....",
        "................",
    ],
    "close": [
        "................",
        ".OOOOOOOOO......",
        ".OhhhhhhoO......",
        ".OhOOOOOoO.G....",
        ".OhOooohoO.GG...",
        ".OhOooohoO.GlG..",
        ".OhOhhGGGGGllgG.",
        ".OhoooGlllllgggG",
        ".OhOOOGggggggggG",
        ".OhOooGGGGGgggG.",
        ".OhOooohoO.GgG..",
        ".OhOooohoO.GG...",
        ".OhOhhhhoO.G....",
        ".OhooooooO......",
        ".OOOOOOOOO......",
        "................",
    ],
    "abort": [
        "................",
        ".....RRRRRR.....",
        "....RpppprrR....",
        "...RprrrrrrrR...",
        "..RprrrrrrrrrR..",
        ".RprrrrrrrrrrrR.",
        ".RprrrrrrrrrrrR.",
        ".RprwwwwwwwwrrR.",
        ".RrrwwwwwwwwrrR.",
        ".RrrrrrrrrrrrrR.",
        ".RrrrrrrrrrrrrR.",
        "..RrrrrrrrrrrR..",
        "...RrrrrrrrrR...",
        "....RrrrrrrR....",
        ".....RRRRRR.....",
        "................",
    ],
    "retry": [
        "................",
        "................",
        ".....BBBBBB.....",
        "...BBccccccBB...",
        "...Bcb....bbB...",
        "...........bbB..",
        "..BB........bB..",
        ".BbbB.....BbbbbB",
        "BbbbbB.....BbbB.",
        "..Bb........BB..",
        "..Bbb...........",
        "...Bbb....bbB...",
        "...BBbbbbbbBB...",
        ".....BBBBBB.....",
        "................",
        "................",
    ],
    "ignore": [
        "................",
        "................",
        "................",
        ".A....A.....AAA.",
        ".AA...AA....AyA.",
        ".AyA..AyA...AaA.",
        ".AyaA.AyaA..AaA.",
        ".AyaaAAyaaA.AaA.",
        ".AyaaAAyaaA.AaA.",
        ".AyaA.AyaA..AaA.",
        ".AyA..AyA...AaA.",
        ".AA...AA....AaA.",
        ".A....A.....AAA.",
        "................",
        "................",
        "................",
    ],
    "all": [
        "................",
        "................",
        "................",
        ".........QQQQ...",
        "........QLLQ....",
        ".QQQQ..QLLQ.....",
        "..QLLQQLLQ......",
        "...QLLLLQ...GGGG",
        "....QLLQ...GlgG.",
        "....GGGG..GlgG..",
        ".....GlgGGlgG...",
        "......GggggG....",
        ".......GggG.....",
        "........GG......",
        "................",
        "................",
    ],
}
GLYPHS["yes"] = GLYPHS["ok"]

PRINTER = [
    "................",
    "....KKKKKKKK....",
    "....KwwwwwwK....",
    "....KwmmmmwK....",
    "....KwwwwwwK....",
    "....KwmmmwwK....",
    "..KKKKKKKKKKKK..",
    ".KeeeeeeeeeeeeK.",
    ".KeeeeeeeeeeeeK.",
    ".KnnnnnnnnnngnK.",
    ".KmmmmmmmmmmmmK.",
    ".KmKKKKKKKKKKmK.",
    ".KDKwwwwwwwwKDK.",
    ".KKKwmmmmmmwKKK.",
    "....KwwwwwwK....",
    "....KKKKKKKK....",
]

GLYPH_ORDER = ["ok", "cancel", "help", "yes", "no", "close", "abort", "retry",
               "ignore", "all"]

# disabled look: the shape in two greys, embossed with a white edge below right
DISABLED_DARK = hex_rgb("#7D8791")
DISABLED_MID = hex_rgb("#A9B2BB")
DISABLED_LIGHT = hex_rgb("#FFFFFF")


def glyph_pixels(art):
    """Pixel rows for a 16 x 16 map; None marks a transparent pixel."""
    assert len(art) == 16 and all(len(row) == 16 for row in art), art
    return [[None if ch == "." else hex_rgb(GLYPH_COLOURS[ch]) for ch in row]
            for row in art]


def luminance(rgb):
    r, g, b = rgb
    return 0.299 * r + 0.587 * g + 0.114 * b


def disabled_pixels(pixels):
    """Greyed, embossed twin of a glyph.

    Dark pixels turn dark grey, mid-tones light grey, pale pixels (paper, white
    symbols) drop out; a white copy of the shape one pixel down and right shows
    where nothing covers it, which gives the pressed-into-the-face look.
    """
    size = len(pixels)
    tone = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            c = pixels[y][x]
            if c is None or luminance(c) >= 215:
                continue
            tone[y][x] = DISABLED_DARK if luminance(c) < 110 else DISABLED_MID
    out = [[None] * size for _ in range(size)]
    for y in range(size):
        for x in range(size):
            if tone[y][x] is not None:
                out[y][x] = tone[y][x]
            elif x > 0 and y > 0 and tone[y - 1][x - 1] is not None:
                out[y][x] = DISABLED_LIGHT
    return out


def keyed(pixels):
    return [[TRANSPARENT_KEY if c is None else c for c in row] for row in pixels]


def glyph_strip(art):
    """32 x 16: the normal frame and the disabled frame side by side."""
    normal = glyph_pixels(art)
    disabled = disabled_pixels(normal)
    return [a + b for a, b in zip(keyed(normal), keyed(disabled))]


def check_key(rows, name):
    if rows[-1][0] != TRANSPARENT_KEY:
        sys.exit("%s: the bottom-left pixel must be the transparent key" % name)


def make_glyphs():
    """Returns {file name: BMP bytes}."""
    used = [hex_rgb(c) for c in GLYPH_COLOURS.values()]
    used += [DISABLED_DARK, DISABLED_MID, DISABLED_LIGHT]
    if TRANSPARENT_KEY in used:
        sys.exit("a glyph colour equals the transparent key")
    files = {}
    for name in GLYPH_ORDER:
        rows = glyph_strip(GLYPHS[name])
        check_key(rows, name)
        files[name + ".bmp"] = bmp24(rows)
    printer = glyph_pixels(PRINTER)
    for name, pixels in (("printer", printer), ("printer_disabled", disabled_pixels(printer))):
        rows = keyed(pixels)
        check_key(rows, name)
        files[name + ".bmp"] = bmp24(rows)
    return files


def write_previews(out, folder):
    """Enlarged PNG copies for looking at the results (not part of the build)."""
    os.makedirs(folder, exist_ok=True)
    run_convert([os.path.join(out, "MainBack.bmp"), os.path.join(folder, "MainBack.png")])
    # the background with a stand-in push button where the program puts the real one
    left, top, width, height = BUTTON_RECT
    run_convert([os.path.join(out, "MainBack.bmp"), "-fill", BUTTON_FACE,
                 "-stroke", "#7A8A99", "-draw", "roundrectangle %d,%d %d,%d 3,3" % (
                     left, top, left + width - 1, top + height - 1),
                 "-stroke", "none", "-fill", DARK_TEXT, "-font", FONT_REGULAR,
                 "-pointsize", "12", "-gravity", "northwest",
                 "-annotate", "+%d+%d" % (left + 11, top + 5), "Register Now!",
                 "-filter", "point", "-resize", "200%",
                 os.path.join(folder, "MainBack_with_button_2x.png")])
    ico = os.path.join(out, "register.ico")
    for i, size in enumerate((32, 16)):
        run_convert(["-background", BUTTON_FACE, "%s[%d]" % (ico, i), "-flatten",
                     "-filter", "point", "-resize", "%d%%" % (256 * 100 // size),
                     os.path.join(folder, "icon%d.png" % size)])
    # glyph sheet: each glyph file enlarged 8x on the button face, in two columns
    names = GLYPH_ORDER + ["printer", "printer_disabled"]
    columns = []
    for half in (names[:6], names[6:]):
        column = ["("]
        for name in half:
            path = os.path.join(out, "glyphs", name + ".bmp")
            column += ["(", path, "-transparent", TRANSPARENT_KEY_HEX, "-background", BUTTON_FACE,
                       "-flatten", "-filter", "point", "-resize", "800%",
                       "-gravity", "west", "-extent", "256x128", "+gravity",
                       "-bordercolor", "white", "-border", "6", ")"]
        columns += column + ["-append", ")"]
    run_convert(columns + ["+append", os.path.join(folder, "glyphs_big.png")])
    tiles = []
    for name in GLYPH_ORDER + ["printer", "printer_disabled"]:
        path = os.path.join(out, "glyphs", name + ".bmp")
        tiles += ["(", path, "-transparent", TRANSPARENT_KEY_HEX, "-background", BUTTON_FACE,
                  "-flatten", "-bordercolor", BUTTON_FACE, "-border", "4", ")"]
    run_convert(tiles + ["+append", "-filter", "point", "-resize", "200%",
                         os.path.join(folder, "glyphs_small.png")])


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "resources"))
    parser.add_argument("--preview", default=None)
    opts = parser.parse_args()
    out = os.path.normpath(opts.out)

    back = make_main_back()
    write_file(os.path.join(out, "MainBack.bmp"), bmp24(back))
    write_file(os.path.join(out, "register.ico"), make_icon())
    for name, data in make_glyphs().items():
        write_file(os.path.join(out, "glyphs", name), data)
    if opts.preview:
        write_previews(out, opts.preview)


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Draw the program's own skin: resources/skin/skin.ini and its bitmaps.

The skin follows the main window's artwork: a navy-to-teal caption with white
text, a thin crisp frame with rounded top corners, grey-blue controls with teal
highlights and amber accents. Every bitmap is an uncompressed 24-bit BMP written
with struct; magenta (FF00FF) marks transparent pixels where the description sets
Trans. Shapes that sit on magenta are drawn with hard edges (a blended edge would
leave a pink fringe); glyphs are pixel-drawn for the same reason.

Also writes resources/skin_menu_glyphs.bmp: the 64 x 16 strip of system-menu
glyphs (Restore, Maximize, Minimize, Close) on white, white being the mask.

Usage:  python3 scripts/make_skin.py [--out DIR] [--glyphs FILE] [--preview DIR]
        --preview writes enlarged PNGs of every bitmap and a mock-up of a skinned
        window to DIR (needs ImageMagick's convert).
The output is deterministic: same script, same bytes.
"""

import argparse
import os
import subprocess
import sys

from bmpfile import bmp24

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def hexc(text):
    text = text.lstrip("#")
    return tuple(int(text[i:i + 2], 16) for i in (0, 2, 4))


# Brand palette (shared with the main window's artwork).
NAVY = hexc("#12324A")
TEAL = hexc("#1F7A8C")
LIGHT_TEAL = hexc("#56B4C4")
AMBER = hexc("#F5A623")
OFF_WHITE = hexc("#F4F7F9")
FACE = hexc("#DDE5EC")
DARK_TEXT = hexc("#1B2733")
WHITE = (255, 255, 255)
MAGENTA = (255, 0, 255)

# Derived tones.
NAVY_DARK = hexc("#0B2233")
NAVY_DEEP = hexc("#0E2A3F")
SLATE = hexc("#5E7385")
SLATE_DARK = hexc("#46586A")
SLATE_LIGHT = hexc("#7D93A3")
BORDER = hexc("#9AAEBE")
BORDER_DARK = hexc("#7F95A6")
BORDER_LIGHT = hexc("#C3CDD5")
FACE_LIGHT = hexc("#E9EEF2")
FACE_DARK = hexc("#C9D6DF")
DISABLED_FACE = hexc("#EEF1F3")
TEAL_TINT = hexc("#E1F1F5")
TEAL_DARK = hexc("#186677")
GREY_GLYPH = hexc("#A9BAC7")


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# --------------------------------------------------------------------------
# A tiny raster
# --------------------------------------------------------------------------
class Img:
    def __init__(self, w, h, fill=MAGENTA):
        self.w, self.h = w, h
        self.px = [[fill] * w for _ in range(h)]

    def get(self, x, y):
        return self.px[y][x]

    def put(self, x, y, c):
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fills [x0, x1) x [y0, y1)."""
        for y in range(max(y0, 0), min(y1, self.h)):
            row = self.px[y]
            for x in range(max(x0, 0), min(x1, self.w)):
                row[x] = c

    def hline(self, x0, x1, y, c):
        self.rect(x0, y, x1, y + 1, c)

    def vline(self, x, y0, y1, c):
        self.rect(x, y0, x + 1, y1, c)

    def frame(self, x0, y0, x1, y1, c):
        self.hline(x0, x1, y0, c)
        self.hline(x0, x1, y1 - 1, c)
        self.vline(x0, y0, y1, c)
        self.vline(x1 - 1, y0, y1, c)

    def blit(self, src, dx, dy):
        for y in range(src.h):
            for x in range(src.w):
                self.put(dx + x, dy + y, src.px[y][x])

    def copy(self):
        out = Img(self.w, self.h)
        out.px = [row[:] for row in self.px]
        return out

    def crop(self, x0, y0, x1, y1):
        out = Img(x1 - x0, y1 - y0)
        out.px = [row[x0:x1] for row in self.px[y0:y1]]
        return out

    def flip_h(self):
        out = self.copy()
        out.px = [row[::-1] for row in out.px]
        return out

    def flip_v(self):
        out = self.copy()
        out.px = out.px[::-1]
        return out

    def transpose(self):
        out = Img(self.h, self.w)
        out.px = [[self.px[y][x] for y in range(self.h)] for x in range(self.w)]
        return out

    def recolour(self, mapping):
        out = self.copy()
        out.px = [[mapping.get(c, c) for c in row] for row in out.px]
        return out


def hstack(frames):
    out = Img(sum(f.w for f in frames), max(f.h for f in frames))
    x = 0
    for f in frames:
        out.blit(f, x, 0)
        x += f.w
    return out


def vstack(frames):
    out = Img(max(f.w for f in frames), sum(f.h for f in frames))
    y = 0
    for f in frames:
        out.blit(f, 0, y)
        y += f.h
    return out


def inside_round(x, y, w, h, r, corners="tl tr bl br"):
    """Whether the pixel (x, y) lies inside a w x h rectangle with rounded corners of radius r
    (pixel centres tested against the corner circles)."""
    if r <= 0:
        return 0 <= x < w and 0 <= y < h
    cx = cy = None
    if x < r and y < r and "tl" in corners:
        cx, cy = r, r
    elif x >= w - r and y < r and "tr" in corners:
        cx, cy = w - r, r
    elif x < r and y >= h - r and "bl" in corners:
        cx, cy = r, h - r
    elif x >= w - r and y >= h - r and "br" in corners:
        cx, cy = w - r, h - r
    if cx is None:
        return 0 <= x < w and 0 <= y < h
    dx, dy = x + 0.5 - cx, y + 0.5 - cy
    return dx * dx + dy * dy <= r * r + 0.25


def round_box(img, x0, y0, w, h, r, border, fill_top, fill_bottom=None, corners="tl tr bl br",
              inner=None, outside=None):
    """A rounded box with a 1-pixel border and a vertical fill gradient; pixels outside the
    rounding become `outside` when given (else they are left alone). `inner` draws a second
    line just inside the border along the top (a highlight)."""
    fill_bottom = fill_bottom or fill_top
    for y in range(h):
        t = y / max(h - 1, 1)
        fill = mix(fill_top, fill_bottom, t)
        for x in range(w):
            if not inside_round(x, y, w, h, r, corners):
                if outside is not None:
                    img.put(x0 + x, y0 + y, outside)
                continue
            edge = not (inside_round(x - 1, y, w, h, r, corners) and inside_round(x + 1, y, w, h, r, corners)
                        and inside_round(x, y - 1, w, h, r, corners) and inside_round(x, y + 1, w, h, r, corners))
            if edge and border is not None:
                img.put(x0 + x, y0 + y, border)
            elif inner is not None and y == 1:
                img.put(x0 + x, y0 + y, inner)
            else:
                img.put(x0 + x, y0 + y, fill)


def pixels(img, x0, y0, rows, c):
    """Draws a pixel pattern: rows of text where '#' is a pixel."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch == "#":
                img.put(x0 + dx, y0 + dy, c)


# Pixel glyphs (caption buttons, menu glyphs, arrows).
GLYPH_CLOSE = [
    "##......##",
    "###....###",
    ".###..###.",
    "..######..",
    "...####...",
    "...####...",
    "..######..",
    ".###..###.",
    "###....###",
    "##......##",
]
GLYPH_MAX = [
    "##########",
    "##########",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "#........#",
    "##########",
]
GLYPH_RESTORE = [
    "..########",
    "..########",
    "..#......#",
    "########.#",
    "########.#",
    "#......#.#",
    "#......###",
    "#......#..",
    "#......#..",
    "########..",
]
GLYPH_MIN = [
    "##########",
    "##########",
]
CHEVRON_DOWN = [
    "#.....#",
    "##...##",
    ".##.##.",
    "..###..",
    "...#...",
]
CHEVRON_SMALL_DOWN = [
    "#...#",
    "##.##",
    ".###.",
    "..#..",
]
CHECK_MARK = [
    "......#",
    ".....##",
    "#...##.",
    "##.##..",
    ".###...",
    "..#....",
]


def rotate_glyph(rows, times):
    """Rotates a glyph a quarter turn clockwise `times` times."""
    for _ in range(times % 4):
        h, w = len(rows), len(rows[0])
        rows = ["".join(rows[h - 1 - y][x] for y in range(h)) for x in range(w)]
    return rows


def centred(img, rows, c, dx=0, dy=0):
    gw, gh = len(rows[0]), len(rows)
    pixels(img, (img.w - gw) // 2 + dx, (img.h - gh) // 2 + dy, rows, c)


# --------------------------------------------------------------------------
# Window frame
# --------------------------------------------------------------------------
FRAME = 4           # left, right and bottom thickness
CAPTION = 28        # top side height: outline row plus the caption strip
CORNER = 7          # radius of the rounded top corners
REF_W, REF_H = 220, 80  # reference window the four sides are cut from


def caption_colours(active):
    if active:
        return NAVY, TEAL, NAVY_DARK, hexc("#1A4763")
    return SLATE, SLATE_LIGHT, SLATE_DARK, hexc("#6B8092")


def reference_window(active):
    """A whole window frame at a reference size; the sides are slices of it, so they meet
    seamlessly whatever the real window size."""
    start, end, outline, body = caption_colours(active)
    img = Img(REF_W, REF_H, body)
    solid = int(REF_W * 0.30)
    for y in range(1, CAPTION):
        for x in range(1, REF_W - 1):
            t = 0.0 if x < solid else (x - solid) / (REF_W - 2 - solid)
            c = mix(start, end, t * t * (3 - 2 * t))
            if y == 1:
                c = mix(c, WHITE, 0.16)     # crisp highlight under the outline
            elif y == CAPTION - 1:
                c = mix(c, NAVY_DARK, 0.35)  # seam to the client area
            img.put(x, y, c)
    # Inner edge of the frame towards the client area.
    inner = mix(body, WHITE, 0.18)
    img.vline(FRAME - 1, CAPTION, REF_H - FRAME + 1, inner)
    img.vline(REF_W - FRAME, CAPTION, REF_H - FRAME + 1, inner)
    img.hline(FRAME - 1, REF_W - FRAME + 1, REF_H - FRAME, inner)
    img.frame(0, 0, REF_W, REF_H, outline)
    # Rounded top corners: magenta outside, outline on the curve.
    for y in range(CORNER):
        for x in range(CORNER):
            for (px, cx) in ((x, x), (REF_W - 1 - x, x)):
                if not inside_round(cx, y, REF_W, REF_H, CORNER, "tl"):
                    img.put(px, y, MAGENTA)
                elif not (inside_round(cx - 1, y, REF_W, REF_H, CORNER, "tl")
                          and inside_round(cx, y - 1, REF_W, REF_H, CORNER, "tl")):
                    img.put(px, y, outline)
    return img


def frame_sides():
    act, ina = reference_window(True), reference_window(False)
    sides = {}
    # Left and Right hold their frames side by side; Top and Bottom stacked.
    sides["frame_left"] = hstack([act.crop(0, 0, FRAME, REF_H), ina.crop(0, 0, FRAME, REF_H)])
    sides["frame_right"] = hstack([act.crop(REF_W - FRAME, 0, REF_W, REF_H),
                                   ina.crop(REF_W - FRAME, 0, REF_W, REF_H)])
    sides["frame_top"] = vstack([act.crop(FRAME, 0, REF_W - FRAME, CAPTION),
                                 ina.crop(FRAME, 0, REF_W - FRAME, CAPTION)])
    sides["frame_bottom"] = vstack([act.crop(FRAME, REF_H - FRAME, REF_W - FRAME, REF_H),
                                    ina.crop(FRAME, REF_H - FRAME, REF_W - FRAME, REF_H)])
    return sides


def text_back():
    """A dark plate behind the caption text, two frames stacked (active, inactive)."""
    frames = []
    for active in (True, False):
        start = caption_colours(active)[0]
        plate = mix(start, NAVY_DARK, 0.45) if active else mix(start, SLATE_DARK, 0.6)
        img = Img(24, 18, plate)
        # Soft rounded ends blended towards the caption colour.
        for (x, y) in ((0, 0), (23, 0), (0, 17), (23, 17)):
            img.put(x, y, mix(plate, start, 0.7))
        for (x, y) in ((1, 0), (0, 1), (22, 0), (23, 1), (1, 17), (0, 16), (22, 17), (23, 16)):
            img.put(x, y, mix(plate, start, 0.35))
        frames.append(img)
    return vstack(frames)


# --------------------------------------------------------------------------
# Caption buttons
# --------------------------------------------------------------------------
CBTN_W, CBTN_H = 26, 20


def caption_button(glyph, close=False):
    """Four frames: normal, pressed, hot, inactive. Normal and inactive are flat (magenta
    background, glyph only), pressed and hot are rounded plates."""
    frames = []
    gw, gh = len(glyph[0]), len(glyph)
    gx, gy = (CBTN_W - gw) // 2, (CBTN_H - gh) // 2
    # normal
    f = Img(CBTN_W, CBTN_H)
    pixels(f, gx, gy, glyph, WHITE)
    frames.append(f)
    # pressed
    f = Img(CBTN_W, CBTN_H)
    if close:
        round_box(f, 0, 0, CBTN_W, CBTN_H, 4, hexc("#C98512"), hexc("#D98F14"), hexc("#E49A1B"))
        pixels(f, gx, gy + 1, glyph, NAVY)
    else:
        round_box(f, 0, 0, CBTN_W, CBTN_H, 4, NAVY_DARK, NAVY_DEEP, NAVY)
        pixels(f, gx, gy + 1, glyph, LIGHT_TEAL)
    frames.append(f)
    # hot
    f = Img(CBTN_W, CBTN_H)
    if close:
        round_box(f, 0, 0, CBTN_W, CBTN_H, 4, hexc("#D98F14"), hexc("#F8BA50"), AMBER, inner=hexc("#FBCB75"))
        pixels(f, gx, gy, glyph, NAVY)
    else:
        round_box(f, 0, 0, CBTN_W, CBTN_H, 4, hexc("#3C9AAB"), hexc("#6FC2D0"), LIGHT_TEAL, inner=hexc("#8ED0DB"))
        pixels(f, gx, gy, glyph, NAVY)
    frames.append(f)
    # inactive
    f = Img(CBTN_W, CBTN_H)
    pixels(f, gx, gy, glyph, hexc("#D3DEE6"))
    frames.append(f)
    return hstack(frames)


def system_menu_icon():
    """Stand-in for the system-menu button: three 16 x 16 frames of the hexagon mark. The
    description gives no frame count, so the program shows the window's own icon instead."""
    frames = []
    for fill in (AMBER, hexc("#D98F14"), hexc("#FBC25E")):
        f = Img(16, 16)
        for y in range(16):
            for x in range(16):
                dx, dy = abs(x + 0.5 - 8), abs(y + 0.5 - 8)
                if dx <= 7 and dy + dx * 0.55 <= 8:
                    f.put(x, y, fill)
        pixels(f, 4, 4, ["#######", ".....#.", "....#..", "...#...", "..#....", ".#.....", "#######"], NAVY)
        frames.append(f)
    return hstack(frames)


def mdi_controls():
    """Minimize, restore and close of a maximized MDI child, in the menu bar: three buttons of
    four frames (normal, pressed, inactive, hot), 16 x 14 each."""
    a, h = 16, 14
    out = []
    small_min = ["######", "######"]
    small_restore = [".#####", ".#####", "####.#", "#..###", "#..#..", "####.."]
    small_close = ["##..##", ".####.", "..##..", "..##..", ".####.", "##..##"]
    for glyph, close in ((small_min, False), (small_restore, False), (small_close, True)):
        gy = (h - len(glyph)) // 2 + (3 if glyph is small_min else 0)
        gx = (a - len(glyph[0])) // 2
        normal = Img(a, h)
        pixels(normal, gx, gy, glyph, NAVY)
        pressed = Img(a, h)
        round_box(pressed, 0, 0, a, h, 3, NAVY, FACE_DARK)
        pixels(pressed, gx, gy + 1, glyph, NAVY)
        inactive = Img(a, h)
        pixels(inactive, gx, gy, glyph, GREY_GLYPH)
        hot = Img(a, h)
        if close:
            round_box(hot, 0, 0, a, h, 3, hexc("#D98F14"), AMBER)
        else:
            round_box(hot, 0, 0, a, h, 3, TEAL, TEAL_TINT)
        pixels(hot, gx, gy, glyph, NAVY)
        out += [normal, pressed, inactive, hot]
    return hstack(out)


# --------------------------------------------------------------------------
# Push button, check box, radio button
# --------------------------------------------------------------------------
def push_button():
    """Five frames, 24 x 22: normal, pressed, disabled, focused or hot, spare (as focused)."""
    w, h = 24, 22
    frames = []
    f = Img(w, h)
    round_box(f, 0, 0, w, h, 3, BORDER, WHITE, FACE_LIGHT)
    frames.append(f)
    f = Img(w, h)
    round_box(f, 0, 0, w, h, 3, NAVY, FACE_DARK, hexc("#D7E1E8"))
    frames.append(f)
    f = Img(w, h)
    round_box(f, 0, 0, w, h, 3, BORDER_LIGHT, DISABLED_FACE)
    frames.append(f)
    f = Img(w, h)
    round_box(f, 0, 0, w, h, 3, TEAL, hexc("#F7FCFD"), TEAL_TINT)
    f.hline(2, w - 2, h - 3, AMBER)           # amber accent along the bottom
    f.hline(3, w - 3, h - 2, hexc("#E4A13A"))
    frames.append(f)
    frames.append(frames[-1].copy())
    return hstack(frames)


def check_box():
    """Four 13 x 13 frames: unchecked, checked, unchecked disabled, checked disabled. Drawn
    on the button-face colour, which is what the box sits on."""
    s = 13
    frames = []
    for checked, enabled in ((False, True), (True, True), (False, False), (True, False)):
        f = Img(s, s, FACE)
        border = (TEAL_DARK if checked else BORDER_DARK) if enabled else BORDER_LIGHT
        if checked:
            top, bottom = (hexc("#2A8A9C"), TEAL) if enabled else (GREY_GLYPH, GREY_GLYPH)
        else:
            top, bottom = (WHITE, FACE_LIGHT) if enabled else (DISABLED_FACE, DISABLED_FACE)
        round_box(f, 0, 0, s, s, 2, border, top, bottom)
        for (x, y) in ((0, 0), (s - 1, 0), (0, s - 1), (s - 1, s - 1)):
            f.put(x, y, mix(border, FACE, 0.5))
        if checked:
            pixels(f, 3, 3, CHECK_MARK, WHITE)
        frames.append(f)
    return hstack(frames)


def radio_button():
    """Four 13 x 13 frames like the check box; the circle's edge is blended with the
    button-face colour behind it."""
    s = 13
    frames = []
    for checked, enabled in ((False, True), (True, True), (False, False), (True, False)):
        f = Img(s, s, FACE)
        border = (TEAL_DARK if checked else BORDER_DARK) if enabled else BORDER_LIGHT
        fill = WHITE if enabled else DISABLED_FACE
        dot = TEAL if enabled else GREY_GLYPH
        for y in range(s):
            for x in range(s):
                # 4 x 4 supersampling of the distance from the centre.
                cov_out = cov_in = cov_dot = 0
                for sy in range(4):
                    for sx in range(4):
                        px, py = x + (sx + 0.5) / 4 - 6.5, y + (sy + 0.5) / 4 - 6.5
                        d = (px * px + py * py) ** 0.5
                        cov_out += d <= 6.4
                        cov_in += d <= 5.3
                        cov_dot += d <= 3.0
                c = mix(FACE, border, cov_out / 16)
                c = mix(c, fill, cov_in / 16)
                if checked:
                    c = mix(c, dot, cov_dot / 16)
                f.put(x, y, c)
        frames.append(f)
    return hstack(frames)


# --------------------------------------------------------------------------
# Menus
# --------------------------------------------------------------------------
def menu_bar():
    """Two frames stacked (active, inactive), 40 x 20."""
    frames = []
    for top, bottom in ((hexc("#EDF1F4"), FACE), (DISABLED_FACE, hexc("#E4E9ED"))):
        f = Img(40, 20)
        for y in range(20):
            f.hline(0, 40, y, mix(top, bottom, y / 19))
        f.hline(0, 40, 19, BORDER_LIGHT)
        frames.append(f)
    return vstack(frames)


MENU_ITEM_W, MENU_ITEM_H = 32, 22


def menu_item():
    """Five frames: normal (transparent), separator, disabled (transparent), selected, spare
    (as selected). The separator is drawn from the bottom rows of frame 2."""
    w, h = MENU_ITEM_W, MENU_ITEM_H
    normal = Img(w, h)
    sep = Img(w, h)
    sep.hline(2, w - 2, h - 5, BORDER_LIGHT)
    sep.hline(2, w - 2, h - 4, WHITE)
    sel = Img(w, h)
    round_box(sel, 1, 1, w - 2, h - 2, 3, TEAL_DARK, hexc("#2B8C9E"), TEAL, inner=hexc("#3E9CAD"))
    return hstack([normal, sep, Img(w, h), sel, sel.copy()])


MENU_GUTTER = 25  # x of the divider between the glyph column and the text


def menu_background():
    """Popup-menu frame and face: navy outline, off-white face with a light glyph column."""
    w, h = 64, 48
    f = Img(w, h, OFF_WHITE)
    f.rect(3, 3, MENU_GUTTER, h - 3, hexc("#E7EDF2"))
    f.vline(MENU_GUTTER, 3, h - 3, hexc("#D3DEE6"))
    f.frame(0, 0, w, h, NAVY)
    f.frame(1, 1, w - 1, h - 1, WHITE)
    return f


def menu_glyphs():
    """64 x 16 strip for the skinned system menu: Restore, Maximize, Minimize, Close; white is
    the mask, so the glyphs avoid pure white."""
    img = Img(64, 16, WHITE)
    cells = [Img(16, 16, WHITE) for _ in range(4)]
    pixels(cells[0], 3, 3, GLYPH_RESTORE, NAVY)
    pixels(cells[1], 3, 3, GLYPH_MAX, NAVY)
    pixels(cells[2], 3, 10, GLYPH_MIN, NAVY)
    pixels(cells[3], 3, 3, GLYPH_CLOSE, NAVY)
    for i, c in enumerate(cells):
        img.blit(c, 16 * i, 0)
    return img


# --------------------------------------------------------------------------
# Combo box pieces
# --------------------------------------------------------------------------
def combo_button():
    """Four frames, 17 x 21: normal, pressed, disabled, hot (the arrow comes from ExtraImages)."""
    w, h = 17, 21
    frames = []
    for top, bottom, line in ((OFF_WHITE, hexc("#E3EAF0"), BORDER_LIGHT),
                              (FACE_DARK, hexc("#D7E1E8"), BORDER),
                              (DISABLED_FACE, DISABLED_FACE, BORDER_LIGHT),
                              (hexc("#F2FAFC"), TEAL_TINT, LIGHT_TEAL)):
        f = Img(w, h)
        for y in range(h):
            f.hline(1, w, y, mix(top, bottom, y / (h - 1)))
        f.vline(0, 0, h, line)
        frames.append(f)
    return hstack(frames)


def extra_images():
    """Five 12 x 12 glyph frames on magenta: the drop-down arrow normal, pressed, disabled,
    hot; frame 5 is the size grip."""
    frames = []
    for colour, dy in ((NAVY, 0), (NAVY, 1), (GREY_GLYPH, 0), (TEAL, 0)):
        f = Img(12, 12)
        pixels(f, 2, 4 + dy, CHEVRON_DOWN, colour)
        frames.append(f)
    grip = Img(12, 12)
    for (x, y) in ((9, 3), (6, 6), (9, 6), (3, 9), (6, 9), (9, 9)):
        grip.rect(x, y, x + 2, y + 2, BORDER)
        grip.put(x + 1, y + 1, WHITE)
    frames.append(grip)
    return hstack(frames)


def sunk_edge():
    """Four 16 x 16 frames of a two-pixel edge: normal, pressed, disabled, hot."""
    frames = []
    for outer, face in ((BORDER, WHITE), (NAVY, WHITE), (BORDER_LIGHT, DISABLED_FACE), (TEAL, WHITE)):
        f = Img(16, 16, face)
        f.frame(0, 0, 16, 16, outer)
        f.frame(1, 1, 15, 15, face)
        frames.append(f)
    return hstack(frames)


# --------------------------------------------------------------------------
# Scroll bars
# --------------------------------------------------------------------------
SB = 16  # scroll bar thickness


def arrow_frame(direction, state):
    """One 16 x 16 arrow button. direction: 0 left, 1 right, 2 up, 3 down. state: 0 normal,
    1 pressed, 2 hot, 3 disabled."""
    f = Img(SB, SB, hexc("#EEF2F5"))
    fill, border, glyph = {
        0: ((hexc("#F7F9FB"), FACE_LIGHT), hexc("#B7C6D1"), NAVY),
        1: ((FACE_DARK, hexc("#D3DEE6")), BORDER, NAVY),
        2: ((hexc("#F2FAFC"), TEAL_TINT), LIGHT_TEAL, TEAL),
        3: ((hexc("#F3F5F7"), hexc("#F3F5F7")), hexc("#D3DEE6"), BORDER_LIGHT),
    }[state]
    round_box(f, 1, 1, SB - 2, SB - 2, 2, border, fill[0], fill[1], outside=hexc("#EEF2F5"))
    turns = {3: 0, 0: 1, 2: 2, 1: 3}[direction]
    glyph_rows = rotate_glyph(CHEVRON_SMALL_DOWN, turns)
    centred(f, glyph_rows, glyph, 0, 1 if state == 1 else 0)
    return f


def scroll_arrows():
    """23 frames: left, right, up, down arrows in four states each (normal, pressed, hot,
    disabled), then the corner between two bars and six plain track frames."""
    frames = []
    for direction in range(4):
        for state in (0, 1, 2, 3):
            frames.append(arrow_frame(direction, state))
    corner = Img(SB, SB, FACE)
    frames.append(corner)
    for _ in range(6):
        frames.append(Img(SB, SB, hexc("#EEF2F5")))
    return hstack(frames)


def scroll_shaft(vertical):
    """Four 16 x 16 frames of the track: normal, pressed, disabled, hot."""
    frames = []
    for face, line in ((hexc("#EEF2F5"), hexc("#DDE4EA")), (hexc("#E1E8EE"), hexc("#CFD9E1")),
                       (hexc("#F3F5F7"), hexc("#E6EBEF")), (hexc("#EBF4F7"), hexc("#D6E8EE"))):
        f = Img(SB, SB, face)
        f.hline(0, SB, 0, line)
        f.hline(0, SB, SB - 1, line)
        frames.append(f.transpose() if vertical else f)
    return hstack(frames)


def scroll_thumb(vertical):
    """Three 24 x 16 frames of a rounded thumb: normal, dragging, hot."""
    frames = []
    for border, top, bottom in ((BORDER, hexc("#C4D1DB"), hexc("#B3C3CF")),
                                (TEAL_DARK, hexc("#2A8A9C"), TEAL),
                                (hexc("#3C9AAB"), hexc("#7CC6D3"), LIGHT_TEAL)):
        f = Img(24, SB)
        round_box(f, 0, 2, 24, SB - 4, 5, border, top, bottom)
        frames.append(f.transpose() if vertical else f)
    return hstack(frames)


# --------------------------------------------------------------------------
# Other controls
# --------------------------------------------------------------------------
def group_box_edge():
    """Two 24 x 24 frames (normal, disabled): a rounded outline, transparent inside."""
    frames = []
    for line in (BORDER, BORDER_LIGHT):
        f = Img(24, 24)
        round_box(f, 0, 0, 24, 24, 5, line, MAGENTA)
        frames.append(f)
    return hstack(frames)


def group_box_label():
    """One 32 x 18 frame: a soft plate behind the group-box caption."""
    f = Img(32, 18)
    round_box(f, 0, 0, 32, 18, 5, FACE_DARK, FACE_LIGHT)
    return f


def toolbar_buttons():
    """Five 24 x 24 frames: normal (flat), pressed, disabled (flat), hot, checked."""
    w = 24
    normal = Img(w, w)
    pressed = Img(w, w)
    round_box(pressed, 0, 0, w, w, 3, BORDER, FACE_DARK, hexc("#D7E1E8"))
    disabled = Img(w, w)
    hot = Img(w, w)
    round_box(hot, 0, 0, w, w, 3, LIGHT_TEAL, hexc("#F2FAFC"), TEAL_TINT)
    checked = Img(w, w)
    round_box(checked, 0, 0, w, w, 3, TEAL, hexc("#D4ECF1"), hexc("#C3E4EB"))
    return hstack([normal, pressed, disabled, hot, checked])


def tabs():
    """Five 40 x 24 tab frames (normal, selected, disabled, hot, selected and focused) with
    rounded top corners, and the page border."""
    w, h = 40, 24
    frames = []
    specs = (
        (BORDER, hexc("#EEF2F5"), FACE_LIGHT, None),
        (BORDER, WHITE, OFF_WHITE, TEAL),
        (BORDER_LIGHT, DISABLED_FACE, DISABLED_FACE, None),
        (BORDER, hexc("#F7FCFD"), TEAL_TINT, LIGHT_TEAL),
        (BORDER, WHITE, OFF_WHITE, AMBER),
    )
    for border, top, bottom, accent in specs:
        f = Img(w, h)
        round_box(f, 0, 0, w, h, 4, border, top, bottom, corners="tl tr")
        if accent is not None:
            f.hline(2, w - 2, 1, accent)
            f.hline(1, w - 1, 2, accent)
        frames.append(f)
    border = Img(24, 24, OFF_WHITE)
    border.frame(0, 0, 24, 24, BORDER)
    return hstack(frames), border


def status_bar():
    """Three 24 x 22 frames: the bar, a panel, the last panel."""
    w, h = 24, 22
    bar = Img(w, h)
    for y in range(h):
        bar.hline(0, w, y, mix(hexc("#EDF1F4"), FACE, y / (h - 1)))
    bar.hline(0, w, 0, BORDER_LIGHT)
    bar.hline(0, w, 1, WHITE)
    panel = bar.copy()
    panel.frame(1, 3, w - 1, h - 2, hexc("#CBD6DE"))
    last = bar.copy()
    last.vline(1, 4, h - 3, hexc("#CBD6DE"))
    return hstack([bar, panel, last])


def header_bar():
    """Five 32 x 22 frames: normal, pressed, disabled, hot, sorted."""
    w, h = 32, 22
    frames = []
    specs = ((WHITE, FACE_LIGHT, BORDER, None), (FACE_DARK, hexc("#D7E1E8"), BORDER, None),
             (DISABLED_FACE, DISABLED_FACE, BORDER_LIGHT, None), (hexc("#F7FCFD"), TEAL_TINT, BORDER, LIGHT_TEAL),
             (WHITE, FACE_LIGHT, BORDER, TEAL))
    for top, bottom, line, accent in specs:
        f = Img(w, h)
        for y in range(h):
            f.hline(0, w, y, mix(top, bottom, y / (h - 1)))
        f.hline(0, w, h - 1, line)
        f.vline(w - 1, 3, h - 3, hexc("#CBD6DE"))
        if accent is not None:
            f.hline(0, w, h - 2, accent)
            f.hline(0, w, h - 3, accent)
        frames.append(f)
    return hstack(frames)


def progress():
    """Two 24 x 18 frames (the track, the filled part) and the chunk for the chunked style."""
    w, h = 24, 18
    track = Img(w, h)
    round_box(track, 0, 0, w, h, 3, BORDER, hexc("#E3EAF0"), hexc("#EEF2F5"))
    fill = Img(w, h)
    round_box(fill, 0, 0, w, h, 3, TEAL_DARK, LIGHT_TEAL, TEAL, inner=hexc("#8ED0DB"))
    chunk = Img(8, 12, TEAL)
    chunk.hline(0, 8, 0, LIGHT_TEAL)
    chunk.vline(7, 0, 12, MAGENTA)
    return hstack([track, fill]), chunk


def thumb_states():
    return (
        (BORDER_DARK, WHITE, FACE_LIGHT),               # normal
        (TEAL_DARK, LIGHT_TEAL, TEAL),                  # pressed
        (BORDER_LIGHT, DISABLED_FACE, DISABLED_FACE),   # disabled
        (TEAL, hexc("#F7FCFD"), TEAL_TINT),             # hot
        (TEAL, WHITE, FACE_LIGHT),                      # focused
    )


def track_thumb_box(w, h):
    frames = []
    for border, top, bottom in thumb_states():
        f = Img(w, h)
        round_box(f, 0, 0, w, h, 2, border, top, bottom)
        frames.append(f)
    return hstack(frames)


def track_thumb_pointer():
    """Five 11 x 19 frames of a thumb pointing down."""
    w, h, body = 11, 19, 13
    frames = []
    for border, top, bottom in thumb_states():
        f = Img(w, h)
        for y in range(h):
            c = mix(top, bottom, y / (h - 1))
            if y < body:
                lo, hi = 0, w
            else:
                k = y - body + 1
                lo, hi = k, w - k
            for x in range(lo, hi):
                edge = x in (lo, hi - 1) or y == 0 or (y >= body and (x == lo or x == hi - 1)) or hi - lo <= 1
                f.put(x, y, border if edge else c)
        f.put(0, 0, MAGENTA)
        f.put(w - 1, 0, MAGENTA)
        frames.append(f)
    return frames


def track_thumbs():
    down = track_thumb_pointer()
    return {
        "trackbar_horz": track_thumb_box(11, 20),
        "trackbar_vert": track_thumb_box(20, 11),
        "trackbar_down": hstack(down),
        "trackbar_up": hstack([f.flip_v() for f in down]),
        "trackbar_right": hstack([f.transpose() for f in down]),
        "trackbar_left": hstack([f.transpose().flip_h() for f in down]),
    }


def up_down(vertical):
    """Eight frames: first button normal, pressed, hot, disabled, then the second button the
    same; and eight matching glyph frames (arrows on magenta)."""
    w, h = (16, 11) if vertical else (11, 16)
    buttons, glyphs = [], []
    states = ((BORDER, WHITE, FACE_LIGHT, NAVY), (NAVY, FACE_DARK, hexc("#D7E1E8"), NAVY),
              (LIGHT_TEAL, hexc("#F2FAFC"), TEAL_TINT, TEAL), (BORDER_LIGHT, DISABLED_FACE, DISABLED_FACE, BORDER_LIGHT))
    arrows = ((2, 0), (3, 0)) if vertical else ((0, 0), (1, 0))
    for direction, _ in arrows:
        for border, top, bottom, glyph in states:
            f = Img(w, h)
            round_box(f, 0, 0, w, h, 2, border, top, bottom)
            buttons.append(f)
            g = Img(9, 9)
            turns = {3: 0, 0: 1, 2: 2, 1: 3}[direction]
            centred(g, rotate_glyph(CHEVRON_SMALL_DOWN, turns), glyph)
            glyphs.append(g)
    return hstack(buttons), hstack(glyphs)


# --------------------------------------------------------------------------
# Output
# --------------------------------------------------------------------------
def bmp_bytes(img):
    return bmp24(img.px)


def write(path, data):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write(data)


DESCRIPTION = """\
; Zelvo skin description. Sizes are pixels; colours are "red green blue".
; Frame strips: images hold equal state frames side by side (the window's Top and
; Bottom sides and the menu bar stack theirs top to bottom). Magenta (255 0 255)
; is transparent wherever Trans is 1.

[TitlebarSkin]
SkinName=Zelvo

[Personality]
; Window frame: active and inactive frames. The caption strip is the Top side.
Left=frame_left.bmp
LeftTopHeight={caption}
LeftBotHeight={frame}
LeftFrame=2
LeftStretch=1
LeftTrans=1
Right=frame_right.bmp
RightTopHeight={caption}
RightBotHeight={frame}
RightFrame=2
RightStretch=1
RightTrans=1
; For Top and Bottom the two slicing keys give the fixed left and right widths.
Top=frame_top.bmp
TopTopHeight={corner}
TopBotHeight={corner}
TopFrame=2
TopStretch=1
TopTrans=1
Bottom=frame_bottom.bmp
BottomTopHeight=0
BottomBotHeight=0
BottomFrame=2
BottomStretch=1
BottomTrans=1
; Caption text: left-aligned after the system-menu icon, on a dark plate.
TextBack=caption_textback.bmp
TextShift=26
TextShiftVert=0
TextRightClip=100
TextAlignment=0
Textbackground=0
TXTBackleft=3
TXTBackRight=3
ActiveTextR=255
ActiveTextG=255
ActiveTextB=255
InActiveTextR=214
InActiveTextG=224
InActiveTextB=231
; Menu bar: active and inactive stacked, stretched between two fixed columns.
menuBar=menubar.bmp
TileMenu=0
TileLeftMenu=2
TileRightMenu=2

[Fonts]
FontHeight=14

[Colours]
WindowText=27 39 51
ButtonFace=221 229 236
Scrollbar=238 242 245
HilightText=255 255 255
Hilight=31 122 140
Menubar=233 238 242
Menu=244 247 249
MenuText=27 39 51
ButtonText=27 39 51
ButtonHilight=255 255 255
Buttonlight=238 243 247
ButtonShadow=143 163 179
ButtonDkShadow=18 50 74
MenuBarText=27 39 51
TitleTextActive=255 255 255
TitleTextNoActive=214 224 231

[Colour1]
; Accent colour of the artwork.
color=245 166 35

; Caption buttons, from the right edge (Align 1: x = window width - Xcoord).
; Frames: normal, pressed, hot, inactive.
[Button1]
; Close
ButtonImage=caption_close.bmp
Action=0
Align=1
Xcoord={close_x}
Ycoord={button_y}
Visibility=200
Visibility1=0
frame=4

[Button2]
; Maximize, while the window is not maximized
ButtonImage=caption_maximize.bmp
Action=1
Align=1
Xcoord={max_x}
Ycoord={button_y}
Visibility=2
Visibility1=6
frame=4

[Button3]
; Restore, while the window is maximized
ButtonImage=caption_restore.bmp
Action=1
Align=1
Xcoord={max_x}
Ycoord={button_y}
Visibility=1
Visibility1=6
frame=4

[Button4]
; Minimize
ButtonImage=caption_minimize.bmp
Action=2
Align=1
Xcoord={min_x}
Ycoord={button_y}
Visibility=8
Visibility1=0
frame=4

[Button5]
; System menu at the left. Without a frame count the program shows the window's own
; icon here; the image is the skin's stand-in (three frames) should one be given.
ButtonImage=caption_sysmenu.bmp
Action=3
Align=0
Xcoord={frame_plus}
Ycoord={icon_y}
Visibility=0
Visibility1=0

[MDICONTROLS]
; Minimize, restore, close of a maximized MDI child: 3 x 4 frames.
Image=mdi_controls.bmp

[Buttons]
; Push buttons: normal, pressed, disabled, focused or hot, spare.
Bitmap=button.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0
; Check box and radio button: unchecked, checked, disabled, checked and disabled.
CheckButton=checkbox.bmp
RadioButton=radiobutton.bmp
CheckButtonFrame=4
RadioButtonFrame=4
NormalColour2=27 39 51
MouseOverColour2=18 50 74
PressedColour2=18 50 74

[Progress]
; Track and filled part; Chunk is the block of the chunked style.
Bitmap=progress.bmp
Chunk=progress_chunk.bmp
Style=0
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1
Tile=0

[GroupBoxEdge]
Image=groupbox_edge.bmp
LeftWidth=6
RightWidth=6
TopHeight=6
BottomHeight=6
Trans=1

[GroupBox]
Image=groupbox_label.bmp
LeftWidth=6
RightWidth=6
TopHeight=4
BottomHeight=4
Trans=1
BackgroundAlignment=0
BackgroundLeftShift=4
BackgroundRightShift=4

[Toolbars]
; normal, pressed, disabled, hot, checked
Image=toolbar.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1

[Tabs]
; normal, selected, disabled, hot, selected and focused; Border is the page.
Image=tabs.bmp
Border=tab_border.bmp
LeftWidth=5
RightWidth=5
TopHeight=5
BottomHeight=2
Trans=1

[StatusBarEdges]
; bar, panel, last panel
Image=statusbar.bmp
LeftWidth=3
RightWidth=3
TopHeight=4
BottomHeight=3

[ComboButton]
; normal, pressed, disabled, hot; the arrow comes from ExtraImages
Image=combo_button.bmp
LeftWidth=2
RightWidth=2
TopHeight=3
BottomHeight=3
Trans=0

[SunkEdge]
; normal, pressed, disabled, hot
Image=sunken_edge.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2

[ExtraImages]
; drop-down arrow normal, pressed, disabled, hot; size grip
Image=extra_images.bmp
Trans=1

[Headerbar]
; normal, pressed, disabled, hot, sorted
Image=header.bmp
LeftWidth=3
RightWidth=3
TopHeight=3
BottomHeight=3

[MenuItem]
; normal, separator (bottom rows), disabled, selected, spare
Image=menu_item.bmp
LeftWidth=4
RightWidth=4
TopHeight=4
BottomHeight=4
Trans=1

[MenuBackground]
; Popup-menu frame (3 pixels) and face with the glyph column.
Image=menu_background.bmp
LeftWidth={gutter_plus}
RightWidth=3
TopHeight=3
BottomHeight=3

[Scrollbar]
; left, right, up, down arrows x (normal, pressed, hot, disabled); corner; track
Image=scroll_arrows.bmp
Trans=0

[HorzScroll]
; track: normal, pressed, disabled, hot
Image=scroll_horz.bmp
TopHeight=2
BottomHeight=2

[VertScroll]
Image=scroll_vert.bmp
LeftWidth=2
RightWidth=2

[HorzScrollThumb]
; normal, dragging, hot
Image=scroll_thumb_horz.bmp
FrameCount=3
LeftWidth=6
RightWidth=6
Trans=1

[VertScrollThumb]
Image=scroll_thumb_vert.bmp
FrameCount=3
TopHeight=6
BottomHeight=6
Trans=1

; Track-bar thumbs: normal, pressed, disabled, hot, focused.
[Trackbar.ThumbHorz]
Image=trackbar_horz.bmp
Trans=1

[Trackbar.ThumbVert]
Image=trackbar_vert.bmp
Trans=1

[Trackbar.ThumbLeft]
Image=trackbar_left.bmp
Trans=1

[Trackbar.ThumbRight]
Image=trackbar_right.bmp
Trans=1

[Trackbar.ThumbUp]
Image=trackbar_up.bmp
Trans=1

[Trackbar.ThumbDown]
Image=trackbar_down.bmp
Trans=1

; Up-down buttons: first button normal, pressed, hot, disabled, then the second;
; GlyphImage holds the matching arrows.
[UpDown.Horz]
Image=updown_horz.bmp
GlyphImage=updown_horz_glyphs.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Trans=1

[UpDown.Vert]
Image=updown_vert.bmp
GlyphImage=updown_vert_glyphs.bmp
LeftWidth=2
RightWidth=2
TopHeight=2
BottomHeight=2
Trans=1
"""


def build():
    images = {}
    images.update(frame_sides())
    images["caption_textback"] = text_back()
    images["caption_close"] = caption_button(GLYPH_CLOSE, close=True)
    images["caption_maximize"] = caption_button(GLYPH_MAX)
    images["caption_restore"] = caption_button(GLYPH_RESTORE)
    images["caption_minimize"] = caption_button(["." * 10] * 7 + GLYPH_MIN)
    images["caption_sysmenu"] = system_menu_icon()
    images["mdi_controls"] = mdi_controls()
    images["menubar"] = menu_bar()
    images["button"] = push_button()
    images["checkbox"] = check_box()
    images["radiobutton"] = radio_button()
    images["progress"], images["progress_chunk"] = progress()
    images["groupbox_edge"] = group_box_edge()
    images["groupbox_label"] = group_box_label()
    images["toolbar"] = toolbar_buttons()
    images["tabs"], images["tab_border"] = tabs()
    images["statusbar"] = status_bar()
    images["combo_button"] = combo_button()
    images["sunken_edge"] = sunk_edge()
    images["extra_images"] = extra_images()
    images["header"] = header_bar()
    images["menu_item"] = menu_item()
    images["menu_background"] = menu_background()
    images["scroll_arrows"] = scroll_arrows()
    images["scroll_horz"] = scroll_shaft(False)
    images["scroll_vert"] = scroll_shaft(True)
    images["scroll_thumb_horz"] = scroll_thumb(False)
    images["scroll_thumb_vert"] = scroll_thumb(True)
    images.update(track_thumbs())
    images["updown_horz"], images["updown_horz_glyphs"] = up_down(False)
    images["updown_vert"], images["updown_vert_glyphs"] = up_down(True)

    close_x = FRAME + 4 + CBTN_W
    description = DESCRIPTION.format(
        caption=CAPTION, frame=FRAME, corner=CORNER + 1,
        close_x=close_x, max_x=close_x + CBTN_W + 2, min_x=close_x + 2 * (CBTN_W + 2),
        button_y=(CAPTION - CBTN_H) // 2 + 1, icon_y=(CAPTION - 16) // 2 + 1,
        frame_plus=FRAME + 4, gutter_plus=MENU_GUTTER + 1)
    return images, description


# --------------------------------------------------------------------------
# Preview: a mock-up of a skinned window, composed the way the program does
# --------------------------------------------------------------------------
def nine_part(src, fx, fy, fw, fh, lw, th, rw, bh, w, h):
    """Renders the cell (fx, fy, fw, fh) of src to w x h: corners copied, edges and middle
    stretched by nearest-neighbour sampling."""
    if w < lw + rw:
        lw = rw = 0
    if h < th + bh:
        th = bh = 0
    out = Img(w, h)

    def axis(d, size, lo, hi, cell):
        if d < lo:
            return d
        if d >= size - hi:
            return cell - (size - d)
        mid, cmid = size - lo - hi, cell - lo - hi
        return lo + min(cmid - 1, max(0, (d - lo) * cmid // max(mid, 1)))

    for y in range(h):
        sy = fy + axis(y, h, th, bh, fh)
        for x in range(w):
            out.px[y][x] = src.px[sy][fx + axis(x, w, lw, rw, fw)]
    return out


def overlay(dst, src, dx, dy, key=MAGENTA):
    for y in range(src.h):
        for x in range(src.w):
            c = src.px[y][x]
            if c != key:
                dst.put(dx + x, dy + y, c)


def mockup(images, active=True):
    W, H = 360, 200
    canvas = Img(W, H, (255, 255, 255))
    frame = 0 if active else 1
    L, R, T, B = (images[k] for k in ("frame_left", "frame_right", "frame_top", "frame_bottom"))
    overlay(canvas, nine_part(L, FRAME * frame, 0, FRAME, L.h, 0, CAPTION, 0, FRAME, FRAME, H), 0, 0)
    overlay(canvas, nine_part(R, FRAME * frame, 0, FRAME, R.h, 0, CAPTION, 0, FRAME, FRAME, H), W - FRAME, 0)
    overlay(canvas, nine_part(T, 0, CAPTION * frame, T.w, CAPTION, CORNER + 1, 0, CORNER + 1, 0, W - 2 * FRAME, CAPTION), FRAME, 0)
    overlay(canvas, nine_part(B, 0, FRAME * frame, B.w, FRAME, 0, 0, 0, 0, W - 2 * FRAME, FRAME), FRAME, H - FRAME)
    mb = images["menubar"]
    canvas.blit(nine_part(mb, 0, 20 * frame, mb.w, 20, 2, 0, 2, 0, W - 2 * FRAME, 20), FRAME, CAPTION)
    canvas.rect(FRAME, CAPTION + 20, W - FRAME, H - FRAME, FACE)
    tb = images["caption_textback"]
    canvas.blit(nine_part(tb, 0, 18 * frame, tb.w, 18, 3, 0, 3, 0, 150, 18), 30, (CAPTION - 18) // 2 + 1)
    close_x = FRAME + 4 + CBTN_W
    for key, x, state in (("caption_close", close_x, 2), ("caption_maximize", close_x + CBTN_W + 2, 0),
                          ("caption_minimize", close_x + 2 * (CBTN_W + 2), 0)):
        img = images[key]
        f = state if active else 3
        overlay(canvas, img.crop(CBTN_W * f, 0, CBTN_W * (f + 1), CBTN_H), W - x, (CAPTION - CBTN_H) // 2 + 1)
    # A push button (focused), a check box, a radio button, a progress bar, a scroll bar.
    btn = images["button"]
    for i, frame_no in enumerate((0, 3, 1, 2)):
        b = nine_part(btn, 24 * frame_no, 0, 24, 22, 4, 4, 4, 4, 80, 25)
        overlay(canvas, b, 20 + i * 88, 60)
    cb, rb = images["checkbox"], images["radiobutton"]
    for i in range(4):
        canvas.blit(cb.crop(13 * i, 0, 13 * (i + 1), 13), 20 + 24 * i, 100)
        canvas.blit(rb.crop(13 * i, 0, 13 * (i + 1), 13), 130 + 24 * i, 100)
    pr = images["progress"]
    overlay(canvas, nine_part(pr, 0, 0, 24, 18, 4, 4, 4, 4, 200, 18), 20, 125)
    overlay(canvas, nine_part(pr, 24, 0, 24, 18, 4, 4, 4, 4, 120, 18), 20, 125)
    arrows, shaft, thumb = images["scroll_arrows"], images["scroll_horz"], images["scroll_thumb_horz"]
    y = 155
    canvas.blit(nine_part(shaft, 0, 0, 16, 16, 0, 2, 0, 2, 200, 16), 20, y)
    canvas.blit(arrows.crop(0, 0, 16, 16), 20, y)
    canvas.blit(arrows.crop(16 * 4, 0, 16 * 5, 16), 204, y)
    overlay(canvas, nine_part(thumb, 0, 0, 24, 16, 6, 0, 6, 0, 60, 16), 60, y)
    # An open menu with a selected item.
    mbg, mi = images["menu_background"], images["menu_item"]
    menu = nine_part(mbg, 0, 0, mbg.w, mbg.h, MENU_GUTTER + 1, 3, 3, 3, 110, 58)
    sel = nine_part(mi, MENU_ITEM_W * 3, 0, MENU_ITEM_W, MENU_ITEM_H, 4, 4, 4, 4, 104, 20)
    overlay(menu, sel, 3, 3)
    sep = mi.crop(MENU_ITEM_W, MENU_ITEM_H - 8, 2 * MENU_ITEM_W, MENU_ITEM_H)
    overlay(menu, nine_part(sep, 0, 0, sep.w, sep.h, 4, 0, 4, 0, 104, 8), 3, 25)
    glyphs = menu_glyphs()
    for i, gi in enumerate((0, 3)):
        g = glyphs.crop(16 * gi, 0, 16 * (gi + 1), 16)
        overlay(menu, g, 8, 5 + i * 30, key=WHITE)
    canvas.blit(menu, 230, 95)
    return canvas


def preview(images, glyphs, folder):
    os.makedirs(folder, exist_ok=True)
    tmp = os.path.join(folder, "_tmp.bmp")
    items = dict(images)
    items["skin_menu_glyphs"] = glyphs
    items["_mockup_active"] = mockup(images, True)
    items["_mockup_inactive"] = mockup(images, False)
    for name, img in sorted(items.items()):
        write(tmp, bmp_bytes(img))
        args = ["convert", tmp]
        if name.startswith("_mockup"):
            active = name.endswith("_active")
            # The texts the program draws itself, so the mock-up reads like the real thing.
            args += ["-font", "DejaVu-Sans-Bold", "-pointsize", "9",
                     "-fill", "#FFFFFF" if active else "#D6E0E7",
                     "-annotate", "+34+19", "  Zelvo Program Registration ",
                     "-font", "DejaVu-Sans", "-fill", "#1B2733"]
            for i, text in enumerate(("Normal", "Focused", "Pressed")):
                args += ["-annotate", f"+{36 + 88 * i}+76", text]
            for i, text in enumerate(("File", "Edit", "Help")):
                args += ["-annotate", f"+{10 + 36 * i}+42", text]
            args += ["-annotate", "+262+142", "Close", "-fill", "#FFFFFF", "-annotate", "+262+112", "Restore"]
            args += ["-filter", "point", "-resize", "200%"]
        else:
            args += ["-filter", "point", "-resize", "400%"]
        subprocess.run(args + [os.path.join(folder, name + ".png")], check=True)
    os.remove(tmp)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--out", default=os.path.join(ROOT, "resources", "skin"))
    parser.add_argument("--glyphs", default=os.path.join(ROOT, "resources", "skin_menu_glyphs.bmp"))
    parser.add_argument("--preview")
    args = parser.parse_args()

    images, description = build()
    for name, img in images.items():
        write(os.path.join(args.out, name + ".bmp"), bmp_bytes(img))
    write(os.path.join(args.out, "skin.ini"), description.replace("\n", "\r\n").encode("ascii"))
    glyphs = menu_glyphs()
    write(args.glyphs, bmp_bytes(glyphs))
    if args.preview:
        preview(images, glyphs, args.preview)
    print(f"wrote {len(images)} bitmaps and skin.ini to {args.out}")
    return 0


if __name__ == "__main__":
    sys.exit(main())

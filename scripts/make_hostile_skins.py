#!/usr/bin/env python3
"""Write the hostile skins: skin folders and skin files that no reader of skins may crash on.

Each one either loads (its odd values held to their ranges, its unusable bitmaps left out) and
draws, or is refused with a message. Beside them goes outcomes.txt, one line per skin:

    NAME <tab> loads|refused <tab> text the refusal message, or one of the load's warnings, contains
         [<tab> text the tools' message contains, where the tools word it otherwise]

The small set is kept in tests/data/hostile_skins (made by this script). The huge set (bitmaps
of the whole skin budget, stored uncompressed, and a description beyond the size limit: about
130 MB) is made on demand with --huge, into a build folder.

Usage:  python3 scripts/make_hostile_skins.py OUT [--skinpack PATH] [--huge]
        --skinpack also packs some folders into .skn skin files with the pack tool
        --huge     writes the huge set instead of the small one
The output is deterministic: same script, same bytes.
"""

import argparse
import os
import random
import shutil
import struct
import subprocess
import sys

from bmpfile import bmp24

MAGENTA = (255, 0, 255)

# Every numeric key of a description, by section ("*" marks the ordinary pieces, whose sections
# all have the same keys).
SIDE_KEYS = ["TopHeight", "BotHeight", "Frame", "Stretch", "Trans"]
PERSONALITY_NUMBERS = (
    [side + key for side in ("Left", "Right", "Top", "Bottom") for key in SIDE_KEYS]
    + ["TextShift", "TextShiftVert", "TextRightClip", "TextAlignment", "Textbackground", "TXTBackleft",
       "TXTBackRight", "ActiveTextR", "ActiveTextG", "ActiveTextB", "InActiveTextR", "InActiveTextG",
       "InActiveTextB", "TileMenu", "TileLeftMenu", "TileRightMenu"])
CAPTION_BUTTON_NUMBERS = ["Action", "Align", "Xcoord", "Ycoord", "Visibility", "Visibility1", "CombineOp", "frame"]
SLICING = ["LeftWidth", "RightWidth", "TopHeight", "BottomHeight"]
PIECE_NUMBERS = ["Style"] + SLICING + ["Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour"]
BUTTONS_NUMBERS = SLICING + ["Trans", "Tile", "NormalColour", "MouseOverColour", "PressedColour",
                             "RadioButtonFrame", "CheckButtonFrame"]
PIECES = ["GroupBoxEdge", "GroupBox", "Toolbars", "Tabs", "StatusBarEdges", "ComboButton", "SunkEdge",
          "ExtraImages", "Headerbar", "MenuItem", "MenuBackground", "Scrollbar", "HorzScroll", "VertScroll",
          "HorzScrollThumb", "VertScrollThumb", "Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft",
          "Trackbar.ThumbRight", "Trackbar.ThumbUp", "Trackbar.ThumbDown", "UpDown.Horz", "UpDown.Vert"]
PIECE_EXTRA_NUMBERS = {"GroupBox": ["BackgroundAlignment", "BackgroundLeftShift", "BackgroundRightShift"],
                       "HorzScrollThumb": ["FrameCount"], "VertScrollThumb": ["FrameCount"]}
PIECE_SECOND_IMAGE = {"Tabs": "Border", "UpDown.Horz": "GlyphImage", "UpDown.Vert": "GlyphImage"}
COLOURS = ["WindowText", "ButtonFace", "Scrollbar", "HilightText", "Hilight", "Menubar", "Menu", "MenuText",
           "ButtonText", "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "MenuBarText",
           "TitleTextActive", "TitleTextNoActive"]


def description(number, image, colour=lambda key: "10 20 30", buttons=3):
    """A description that gives every key: number(section, key) for the numeric ones, image(section,
    key) for the bitmap names, colour(key) for the colour strings."""
    out = ["[TitlebarSkin]", "SkinName=hostile", "[Personality]"]
    for side in ("Left", "Right", "Top", "Bottom"):
        out.append(f"{side}={image('Personality', side)}")
    out += [f"{k}={number('Personality', k)}" for k in PERSONALITY_NUMBERS]
    out += [f"TextBack={image('Personality', 'TextBack')}", f"menuBar={image('Personality', 'menuBar')}"]
    out += ["[Fonts]", f"FontHeight={number('Fonts', 'FontHeight')}", "[Colours]"]
    out += [f"{k}={colour(k)}" for k in COLOURS]
    out += ["[Colour1]", f"color={colour('color')}"]
    for i in range(1, buttons + 1):
        section = f"Button{i}"
        out += [f"[{section}]", f"ButtonImage={image(section, 'ButtonImage')}"]
        out += [f"{k}={number(section, k)}" for k in CAPTION_BUTTON_NUMBERS]
    out += ["[MDICONTROLS]", f"Image={image('MDICONTROLS', 'Image')}", "[Buttons]"]
    out += [f"{k}={image('Buttons', k)}" for k in ("Bitmap", "CheckButton", "RadioButton")]
    out += [f"{k}={number('Buttons', k)}" for k in BUTTONS_NUMBERS]
    out += [f"{k}={colour(k)}" for k in ("NormalColour2", "MouseOverColour2", "PressedColour2")]
    out += ["[Progress]", f"Bitmap={image('Progress', 'Bitmap')}", f"Chunk={image('Progress', 'Chunk')}"]
    out += [f"{k}={number('Progress', k)}" for k in ["Style"] + SLICING + ["Trans", "Tile"]]
    for piece in PIECES:
        out += [f"[{piece}]", f"Image={image(piece, 'Image')}"]
        if piece in PIECE_SECOND_IMAGE:
            out.append(f"{PIECE_SECOND_IMAGE[piece]}={image(piece, PIECE_SECOND_IMAGE[piece])}")
        out += [f"{k}={number(piece, k)}" for k in PIECE_NUMBERS + PIECE_EXTRA_NUMBERS.get(piece, [])]
        out += [f"{k}={colour(k)}" for k in ("NormalColour2", "MouseOverColour2", "PressedColour2")]
    return ("\r\n".join(out) + "\r\n").encode("latin-1")


def pattern_bmp(w, h, holes=True):
    """A w x h bitmap of stripes (so stretching and tiling show), magenta holes in a lattice."""
    rows = []
    for y in range(h):
        row = []
        for x in range(w):
            if holes and (x * 7 + y * 3) % 11 < 3:
                row.append(MAGENTA)
            else:
                row.append(((x * 40) % 256, (y * 60) % 256, 128))
        rows.append(row)
    return bmp24(rows)


def solid_bmp(w, h, rgb):
    """A w x h one-colour bitmap, written row by row at once (fast for large ones)."""
    stride = (w * 3 + 3) & ~3
    row = bytes((rgb[2], rgb[1], rgb[0])) * w + b"\0" * (stride - 3 * w)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, stride * h, 2835, 2835, 0, 0)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + stride * h, 0, 0, 14 + 40)
    return header + info + row * h


def rle8_bmp(w, h):
    """A w x h RLE8 bitmap that is a few bytes long whatever its size (every pixel black)."""
    codes = bytes((0, 1))  # end of bitmap
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 8, 1, len(codes), 0, 0, 1, 0)
    palette = bytes((0, 0, 255, 0))  # one entry: red
    offset = 14 + 40 + len(palette)
    return struct.pack("<2sIHHI", b"BM", offset + len(codes), 0, 0, offset) + info + palette + codes


def write_folder(root, name, files):
    folder = os.path.join(root, name)
    os.makedirs(folder)
    for file_name, data in files.items():
        with open(os.path.join(folder, file_name), "wb") as f:
            f.write(data)


def image_everywhere(name):
    return lambda section, key: name


# ---- The small set --------------------------------------------------------------------------

def small_set(out, skinpack):
    outcomes = []
    ordinary = {"any.bmp": pattern_bmp(40, 24), "one.bmp": solid_bmp(1, 1, (0, 128, 0))}

    def folder(name, outcome, text, files):
        write_folder(out, name, files)
        outcomes.append((name, outcome, text))

    # Numbers a reader may choke on, the same in every numeric key; images and colours ordinary.
    for name, value, text in [
            ("garbage_values", "12abc", ""),
            ("huge_values", "2147483647", "above"),
            ("negative_values", "-2147483648", "below"),
            ("zero_values", "0", "below"),
            ("beyond_32_bits", "99999999999999999999", ""),
            ("hex_values", "$FFFFFFFF", "below")]:
        folder(name, "loads", text, {"skin.ini": description(lambda s, k: value, image_everywhere("any.bmp")),
                                     **ordinary})

    # Every key a different extreme, so that neighbouring values meet in every combination.
    extremes = ["-2147483648", "-32768", "-1", "0", "1", "3", "32768", "100000", "2147483647"]
    counter = iter(range(10 ** 6))
    folder("mixed_extremes", "loads", "",
           {"skin.ini": description(lambda s, k: extremes[next(counter) % len(extremes)],
                                    image_everywhere("any.bmp"),
                                    colour=lambda k: "999 -1 256 77777777777 x"), **ordinary})

    # Frame counts of none and of far more frames than the bitmaps have pixels.
    def frames(section, key):
        if key in ("Frame", "frame", "FrameCount", "RadioButtonFrame", "CheckButtonFrame") or key.endswith("Frame"):
            return "100000" if (len(section) + len(key)) % 2 else "0"
        return "1"
    folder("frame_counts", "loads", "above", {"skin.ini": description(frames, image_everywhere("any.bmp")),
                                             **ordinary})

    # Every bitmap a single pixel, every slicing wider than that.
    folder("one_pixel", "loads", "", {"skin.ini": description(lambda s, k: "7", image_everywhere("one.bmp")),
                                      "one.bmp": ordinary["one.bmp"]})

    # Every bitmap all magenta and every side transparent: the window region is the client area.
    folder("all_transparent", "loads", "",
           {"skin.ini": description(lambda s, k: "1", image_everywhere("clear.bmp")),
            "clear.bmp": solid_bmp(24, 24, MAGENTA)})

    # One row, one column, and strips of the largest side a bitmap may have (RLE: tiny on disk).
    shapes = ["row.bmp", "column.bmp", "wide.bmp", "tall.bmp"]
    pick = iter(range(10 ** 6))
    folder("odd_shapes", "loads", "",
           {"skin.ini": description(lambda s, k: "500", lambda s, k: shapes[next(pick) % len(shapes)]),
            "row.bmp": solid_bmp(300, 1, (0, 0, 255)), "column.bmp": solid_bmp(1, 300, (255, 0, 0)),
            "wide.bmp": rle8_bmp(16384, 8), "tall.bmp": rle8_bmp(8, 16384)})

    # Names that find nothing, or nothing usable.
    bad_names = ["missing.bmp", "ANY.BMP", "any.png", "", "folder\\", "..\\..\\..\\windows\\win.ini",
                 "any", "." * 300 + ".bmp", "any.bmp.", "\\\\server\\share\\any.bmp"]
    which = iter(range(10 ** 6))
    folder("missing_bitmaps", "loads", "",
           {"skin.ini": description(lambda s, k: "2", lambda s, k: bad_names[next(which) % len(bad_names)]),
            **ordinary})

    # Files that are not bitmaps at all, or damaged ones.
    good = pattern_bmp(8, 8)
    unreadable = {
        "empty.bmp": b"",
        "text.bmp": b"This is not a bitmap.\r\n",
        "cut.bmp": good[: len(good) // 2],
        "header_only.bmp": good[:54],
        "giant.bmp": good[:18] + struct.pack("<ii", 100000, 100000) + good[26:],
        "negative.bmp": good[:18] + struct.pack("<ii", -8, 8) + good[26:],
        "bits7.bmp": good[:28] + struct.pack("<H", 7) + good[30:],
        "offset_past_end.bmp": good[:10] + struct.pack("<I", 0x7FFFFFFF) + good[14:],
    }
    names = sorted(unreadable)
    nth = iter(range(10 ** 6))
    folder("unreadable_bitmaps", "loads", "",
           {"skin.ini": description(lambda s, k: "2", lambda s, k: names[next(nth) % len(names)]), **unreadable})

    # Far more caption buttons than are read, in every placement, action and visibility.
    aligns = ["0", "1", "2", "3", "8", "9", "100", "7", "-1"]
    actions = ["0", "1", "2", "3", "11", "12", "22", "-1", "999"]
    visibilities = ["0", "1", "2", "3", "4", "6", "7", "8", "9", "100", "200", "-1"]

    def many(section, key):
        i = int(section[6:]) if section.startswith("Button") and section[6:].isdigit() else 0
        return {"Align": aligns[i % len(aligns)], "Action": actions[i % len(actions)],
                "Visibility": visibilities[i % len(visibilities)], "Visibility1": visibilities[(i // 3) % 12],
                "Xcoord": str((i * 37) % 700 - 200), "Ycoord": str(i % 9), "frame": str(i % 5)}.get(key, "1")
    folder("many_caption_buttons", "loads", "caption-button sections",
           {"skin.ini": description(many, image_everywhere("any.bmp"), buttons=300), **ordinary})

    # Descriptions with nothing, with noise, and no description at all.
    folder("empty_description", "loads", "", {"skin.ini": b""})
    noise = random.Random(18)
    folder("noise_description", "loads", "", {"skin.ini": bytes(noise.randrange(256) for _ in range(4000)),
                                              **ordinary})
    folder("no_description", "refused", "description", {"any.bmp": ordinary["any.bmp"]})

    # Skin files: packed folders, and damaged containers.
    if skinpack:
        for name in ("huge_values", "negative_values", "frame_counts", "many_caption_buttons", "odd_shapes"):
            packed = os.path.join(out, name + ".skn")
            subprocess.run([skinpack, os.path.join(out, name), packed], check=True, stdout=subprocess.DEVNULL)
            outcomes.append((name + ".skn", "loads", dict((n, t) for n, _, t in outcomes)[name]))
        with open(os.path.join(out, "huge_values.skn"), "rb") as f:
            packed = f.read()
        damaged = {
            "cut_in_half.skn": (packed[: len(packed) // 2], ""),
            "declared_4_gib.skn": (b"\xff\xff\xff\xff" + packed[4:], ""),
        }
        for name, (data, text) in damaged.items():
            with open(os.path.join(out, name), "wb") as f:
                f.write(data)
            outcomes.append((name, "refused", text))
    containers = {
        "empty.skn": (b"", ""),
        "three_bytes.skn": (b"\x10\x00\x00", ""),
        # An all-zero stream decodes to repeated bytes: a payload of the wrong version.
        "older_version.skn": (struct.pack("<I", 64) + bytes(64), "Older Skin File\tolder skin format"),
        "noise.skn": (bytes(random.Random(5).randrange(256) for _ in range(3000)), ""),
        "a_bitmap.skn": (pattern_bmp(16, 16), ""),
    }
    for name, (data, text) in containers.items():
        with open(os.path.join(out, name), "wb") as f:
            f.write(data)
        outcomes.append((name, "refused", text))
    return outcomes


# ---- The huge set ---------------------------------------------------------------------------

def huge_set(out):
    # The largest bitmap the reader takes (8M pixels, 32 MiB decoded) stored uncompressed.
    side = solid_bmp(4096, 2048, (30, 60, 90))
    other = solid_bmp(4096, 2048, (90, 60, 30))
    third = solid_bmp(4096, 2048, (60, 90, 30))
    # Two of them fill the whole-skin budget exactly; the pieces copied from a bitmap (MDI
    # buttons, mirrored combo button) are left unnamed, so the skin loads.
    pair = lambda section, key: "a.bmp" if (section, key) != ("Personality", "Right") else "b.bmp"
    keep = lambda section, key: "" if section in ("MDICONTROLS", "ComboButton") else pair(section, key)
    write_folder(out, "whole_budget", {"skin.ini": description(lambda s, k: "1", keep), "a.bmp": side,
                                       "b.bmp": other})
    three = lambda section, key: {"Left": "a.bmp", "Right": "b.bmp", "Top": "c.bmp"}.get(key, "")
    write_folder(out, "over_budget", {"skin.ini": description(lambda s, k: "1", three), "a.bmp": side,
                                      "b.bmp": other, "c.bmp": third})
    comment = b"; " + b"x" * 1021 + b"\r\n"
    write_folder(out, "description_too_large", {"skin.ini": comment * 1025})
    return [("whole_budget", "loads", ""), ("over_budget", "refused", "64 MiB"),
            ("description_too_large", "refused", "at most")]


def clear_previous(out):
    """Removes what an earlier run wrote to OUT (as its outcomes.txt lists it), nothing else."""
    listing = os.path.join(out, "outcomes.txt")
    if not os.path.exists(listing):
        return
    with open(listing) as f:
        names = [line.split("\t")[0] for line in f if line.strip()]
    for name in names:
        path = os.path.join(out, name)
        if os.path.isdir(path) and not os.path.islink(path):
            shutil.rmtree(path)
        elif os.path.lexists(path):
            os.remove(path)
    os.remove(listing)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("out")
    parser.add_argument("--skinpack")
    parser.add_argument("--huge", action="store_true")
    args = parser.parse_args()
    clear_previous(args.out)
    os.makedirs(args.out, exist_ok=True)
    outcomes = huge_set(args.out) if args.huge else small_set(args.out, args.skinpack)
    with open(os.path.join(args.out, "outcomes.txt"), "w", newline="\n") as f:
        for name, outcome, text in outcomes:
            f.write(f"{name}\t{outcome}\t{text}\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())

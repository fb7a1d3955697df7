#!/usr/bin/env python3
"""Writes the program's skins as blocks of skin data: make_skins.py TABLE OUTDIR

Reads the table (tools/skins/skins.txt), derives every colour of each skin from the seven
colours of its row, and writes OUTDIR/skin_NN.she (NN = 01 to 33). Every text the skin
library draws on a colour of the skin stands out from it by a contrast of at least 4.5 : 1
(relative luminance, as for accessible text): where the derived colour would not, a shade
of it that does is taken instead (legible()). The block layout is the
one src/skin/skin_data.cc reads and writes; blocks are written exactly as write_skin()
writes them (sections NAME, COLR, FONT; colours in role order), which the tests check.
"""

import os
import struct
import sys
import zlib

# Colour roles as stored in blocks (src/skin/skin_data.h, enum SkinColour).
ROLES = [
    "window_background", "window_text", "frame", "frame_edge", "caption_top",
    "caption_bottom", "caption_text", "inactive_caption_top", "inactive_caption_bottom",
    "inactive_caption_text", "caption_button_face", "caption_button_hot",
    "caption_button_pressed", "caption_button_glyph", "edit_background", "edit_text",
    "edit_border", "edit_border_focus", "button_face", "button_face_hot",
    "button_face_pressed", "button_border", "button_text", "check_face", "check_border",
    "check_border_hot", "check_mark", "check_text", "group_frame", "group_text", "combo_face",
    "combo_text", "combo_border", "combo_button_face", "combo_arrow", "selection_background",
    "selection_text", "header_face", "header_text", "header_divider", "disabled_text",
]
ROLE_NUMBER = {name: i + 1 for i, name in enumerate(ROLES)}
SKIN_COUNT = 33
FONT_USE_CAPTION = 1
WHITE, BLACK = (255, 255, 255), (0, 0, 0)


def colour(text):
    text = text.strip()
    if len(text) != 7 or text[0] != "#":
        raise ValueError("not a #RRGGBB colour: %r" % text)
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))


def mix(a, b, percent):
    """`a` moved `percent` of the way towards `b`, as the library's mix()."""
    return tuple(x + (y - x) * percent // 100 for x, y in zip(a, b))


def lightness(c):
    return (299 * c[0] + 587 * c[1] + 114 * c[2]) // 1000


LEAST_CONTRAST = 4.5  # for normal-sized text


def luminance(c):
    """Relative luminance of an sRGB colour, 0 (black) to 1 (white)."""
    def linear(v):
        v /= 255
        return v / 12.92 if v <= 0.04045 else ((v + 0.055) / 1.055) ** 2.4
    return 0.2126 * linear(c[0]) + 0.7152 * linear(c[1]) + 0.0722 * linear(c[2])


def contrast(a, b):
    light, dark = sorted((luminance(a), luminance(b)), reverse=True)
    return (light + 0.05) / (dark + 0.05)


def reads_on(text, backgrounds):
    return all(contrast(text, b) >= LEAST_CONTRAST for b in backgrounds)


def shaded(top, bottom):
    """Every row of a caption shaded from `top` to `bottom`, as the library paints it."""
    return [mix(top, bottom, percent) for percent in range(101)]


def ink(backgrounds, dark_ink, light_ink):
    """Of the skin's dark and light inks, the one that stands out more on all `backgrounds`."""
    return max((dark_ink, light_ink), key=lambda i: min(contrast(i, b) for b in backgrounds))


def legible(text, backgrounds):
    """`text`, or the shade of it nearest to it (darker or lighter) that reads on every one of
    `backgrounds`; None when none does (backgrounds both light and dark)."""
    for percent in range(101):
        for end in (BLACK, WHITE):
            shade = mix(text, end, percent)
            if reads_on(shade, backgrounds):
                return shade
    return None


# Every text the library draws on a colour of the skin, with the colours behind it. A pair
# of "top" and "bottom" colours is a caption, shaded between them. Menus and message boxes
# are written in window_text on window_background; the chosen row of a list, the chosen
# menu item and a drop-down list's field while it has the keyboard in the selection
# colours. Check boxes and group boxes take the colour of the window they stand on, which
# only the library knows: on a dialog it is window_background, elsewhere the library reads
# the text on whatever it finds.
TEXTS = [
    ("caption_text", ("caption_top", "caption_bottom")),
    ("inactive_caption_text", ("inactive_caption_top", "inactive_caption_bottom")),
    ("window_text", ("window_background",)),
    ("edit_text", ("edit_background",)),
    ("button_text", ("button_face", "button_face_hot", "button_face_pressed")),
    ("check_text", ("window_background",)),
    ("group_text", ("window_background",)),
    ("combo_text", ("combo_face",)),
    ("selection_text", ("selection_background",)),
    ("header_text", ("header_face",)),
]


def behind(colours, roles):
    if roles[0].endswith("_top"):
        return shaded(colours[roles[0]], colours[roles[1]])
    return [colours[r] for r in roles]


def make_legible(colours, dark_ink, light_ink):
    """Gives every text of TEXTS a shade that reads on what is behind it. Where no shade of
    the text reads on all of it (a caption shaded from light to dark), the background is
    moved away from the ink that stands out more until that ink reads, and the text then
    takes its nearest shade that reads."""
    for text, roles in TEXTS:
        if legible(colours[text], behind(colours, roles)) is None:
            best = ink(behind(colours, roles), dark_ink, light_ink)
            away = WHITE if best == dark_ink else BLACK
            original = {r: colours[r] for r in roles}
            for percent in range(1, 101):
                for r in roles:
                    colours[r] = mix(original[r], away, percent)
                if reads_on(best, behind(colours, roles)):
                    break
        colours[text] = legible(colours[text], behind(colours, roles))


def derive(top, bottom, accent, face, text, field):
    """Every colour of a skin from the seven of its row."""
    dark = lightness(face) < 100
    grey = (160, 160, 160)
    # A light skin writes in its own text colour or near white; a dark one in its own text
    # colour or near black.
    dark_ink = (20, 20, 20) if dark else text
    light_ink = text if dark else (250, 250, 250)
    inactive_top = mix(mix(top, grey, 60), face, 20)
    inactive_bottom = mix(mix(bottom, grey, 60), face, 20)
    caption_text = ink(shaded(top, bottom), dark_ink, light_ink)
    shade = BLACK if not dark else WHITE
    c = {
        "window_background": face,
        "window_text": text,
        "frame": bottom,
        "frame_edge": mix(bottom, BLACK, 35),
        "caption_top": top,
        "caption_bottom": bottom,
        "caption_text": caption_text,
        "inactive_caption_top": inactive_top,
        "inactive_caption_bottom": inactive_bottom,
        "inactive_caption_text":
            mix(ink(shaded(inactive_top, inactive_bottom), dark_ink, light_ink), grey, 30),
        "caption_button_face": mix(mix(top, bottom, 50), WHITE, 18),
        "caption_button_hot": mix(mix(top, bottom, 50), WHITE, 40),
        "caption_button_pressed": mix(bottom, BLACK, 25),
        "caption_button_glyph": caption_text,
        "edit_background": field,
        "edit_text": text,
        "edit_border": mix(accent, face, 35),
        "edit_border_focus": accent,
        "button_face": mix(face, accent, 12),
        "button_face_hot": mix(face, accent, 28),
        "button_face_pressed": mix(face, accent, 48),
        "button_border": mix(accent, shade, 20),
        "button_text": text,
        "check_face": field,
        "check_border": mix(accent, face, 30),
        "check_border_hot": accent,
        "check_mark": mix(accent, shade, 25),
        "check_text": text,
        "group_frame": mix(accent, face, 40),
        "group_text": mix(accent, shade, 30) if not dark else mix(accent, WHITE, 30),
        "combo_face": field,
        "combo_text": text,
        "combo_border": mix(accent, face, 35),
        "combo_button_face": mix(face, accent, 12),
        "combo_arrow": mix(accent, shade, 30),
        "selection_background": accent,
        "selection_text": ink([accent], dark_ink, light_ink),
        "header_face": mix(face, accent, 15),
        "header_text": text,
        "header_divider": mix(accent, face, 30),
        "disabled_text": mix(text, face, 55),
    }
    assert set(c) == set(ROLES)
    make_legible(c, dark_ink, light_ink)
    return c


def section(tag, payload, version=1):
    return tag.encode("ascii") + struct.pack("<BBH", version, 0, len(payload)) + payload


def block(name, colours, font):
    """A block as write_skin() writes it."""
    name_bytes = name.encode("gbk")[:64]
    colour_bytes = b"".join(
        struct.pack("<BBBB", ROLE_NUMBER[role], *colours[role]) for role in ROLES)
    sections = [section("NAME", name_bytes), section("COLR", colour_bytes)]
    if font is not None:
        face, height, weight = font
        units = face.encode("utf-16-le")
        sections.append(section(
            "FONT",
            struct.pack("<BHHB", FONT_USE_CAPTION, height, weight, len(units) // 2) + units))
    body = b"".join(sections)
    header_rest = struct.pack("<HH", 1, len(sections))
    length = 16 + len(body)
    return b".SHE" + header_rest + struct.pack("<II", length, zlib.crc32(body)) + body


def read_table(path):
    skins = {}
    with open(path, encoding="utf-8") as table:
        for number, line in enumerate(table, 1):
            line = line.strip()
            if not line or line.startswith("#"):
                continue
            cells = [cell.strip() for cell in line.split("|")]
            if len(cells) != 9:
                raise ValueError("%s:%d: %d columns, 9 expected" % (path, number, len(cells)))
            no = int(cells[0])
            if no in skins or not 1 <= no <= SKIN_COUNT:
                raise ValueError("%s:%d: skin number %d" % (path, number, no))
            face, height, weight = cells[8].split()
            skins[no] = (cells[1], [colour(c) for c in cells[2:8]], (face, int(height), int(weight)))
    if sorted(skins) != list(range(1, SKIN_COUNT + 1)):
        raise ValueError("%s: skins 1 to %d expected" % (path, SKIN_COUNT))
    return skins


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    table, out = argv[1], argv[2]
    os.makedirs(out, exist_ok=True)
    for no, (name, seven, font) in sorted(read_table(table).items()):
        data = block(name, derive(*seven), font)
        path = os.path.join(out, "skin_%02d.she" % no)
        temporary = path + ".tmp"
        with open(temporary, "wb") as f:
            f.write(data)
        os.replace(temporary, path)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/python3
"""Draws Mirel's pictures: the two pictures of the web folder (Line.gif, sound.gif),
the window's bars, button faces, divider, swap icon and the window icon.

Run it from anywhere: ./resources/draw_pictures.py  (needs python3-pil)
The results are committed beside it; run it again only to change the art.
"""

from pathlib import Path

from PIL import Image, ImageDraw, ImageFont

HERE = Path(__file__).resolve().parent
PICTURES = HERE / "pictures"
CJK_FONT = "/usr/share/fonts/opentype/noto/NotoSansCJK-Regular.ttc"
CJK_FONT_SC_INDEX = 2  # Noto Sans CJK SC inside the collection


def rgb(hex_colour):
    hex_colour = hex_colour.lstrip("#")
    return tuple(int(hex_colour[i:i + 2], 16) for i in (0, 2, 4))


def blend(a, b, t):
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def save_transparent_gif(pixels, size, path):
    """pixels: dict (x, y) -> (r, g, b); every other pixel is transparent."""
    colours = sorted(set(pixels.values()))
    palette = [(0, 0, 0)] + colours  # index 0 is the transparent colour
    index = {c: i for i, c in enumerate(palette)}
    image = Image.new("P", size, 0)
    image.putpalette([v for c in palette for v in c])
    for (x, y), colour in pixels.items():
        image.putpixel((x, y), index[colour])
    image.save(path, transparency=0, optimize=False)


def draw_line_gif():
    """347 x 15: a #D7E1EF rule along the bottom row and a #9EBAE4 V mark in columns
    333..341 of rows 1..6."""
    rule, mark = rgb("#D7E1EF"), rgb("#9EBAE4")
    pixels = {(x, 14): rule for x in range(347)}
    v_rows = {
        1: (333, 341),
        2: (333, 334, 340, 341),
        3: (334, 335, 339, 340),
        4: (335, 336, 338, 339),
        5: (336, 337, 338),
        6: (337,),
    }
    for y, columns in v_rows.items():
        for x in columns:
            pixels[(x, y)] = mark
    save_transparent_gif(pixels, (347, 15), HERE / "Line.gif")


def draw_sound_gif():
    """13 x 10: a green loudspeaker shaded from #18B301 to #CFF900, blue #7272FF waves."""
    dark, light, wave = rgb("#18B301"), rgb("#CFF900"), rgb("#7272FF")
    pixels = {}
    # speaker: a box (columns 0..2, rows 3..6) and a cone widening to rows 0..9
    cone = {3: (2, 7), 4: (1, 8), 5: (0, 9), 6: (0, 9)}
    for x in range(0, 3):
        for y in range(3, 7):
            pixels[(x, y)] = None
    for x, (top, bottom) in cone.items():
        for y in range(top, bottom + 1):
            pixels[(x, y)] = None
    for (x, y) in list(pixels):
        pixels[(x, y)] = blend(light, dark, y / 9)  # light at the top, dark at the bottom
    # two waves
    for x, y in [(8, 3), (9, 4), (9, 5), (8, 6),
                 (10, 1), (11, 2), (12, 3), (12, 4), (12, 5), (12, 6), (11, 7), (10, 8)]:
        pixels[(x, y)] = wave
    save_transparent_gif(pixels, (13, 10), HERE / "sound.gif")


def vertical_gradient(size, top, bottom):
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    width, height = size
    for y in range(height):
        draw.line([(0, y), (width - 1, y)], fill=blend(top, bottom, y / max(1, height - 1)))
    return image


def draw_top_bar():
    """386 x 56, 24 bits: a blue band; the window shows columns 4..385 of rows 0..32."""
    image = vertical_gradient((386, 56), rgb("#3A78C8"), rgb("#9CC4F0"))
    draw = ImageDraw.Draw(image)
    draw.line([(0, 32), (385, 32)], fill=rgb("#2B5C9E"))
    image.save(PICTURES / "TopPanel.bmp")


def button_face(size, caption, top, bottom, border, text_colour):
    image = vertical_gradient(size, top, bottom)
    draw = ImageDraw.Draw(image)
    draw.rectangle([(0, 0), (size[0] - 1, size[1] - 1)], outline=border)
    font = ImageFont.truetype(CJK_FONT, 12, index=CJK_FONT_SC_INDEX)
    left, upper, right, lower = draw.textbbox((0, 0), caption, font=font)
    x = (size[0] - (right - left)) // 2 - left
    y = (size[1] - (lower - upper)) // 2 - upper
    draw.text((x, y), caption, font=font, fill=text_colour)
    return image


FACES = {
    # face: (top, bottom, border, text)
    "Normal": ("#5B93D8", "#3A78C8", "#2B5C9E", "#FFFFFF"),
    "Enter": ("#7FB0EA", "#5B93D8", "#2B5C9E", "#FFFFFF"),
    "Down": ("#2B5C9E", "#3A78C8", "#1E4478", "#FFFFFF"),
    "Disable": ("#A9B8CC", "#98A8BE", "#8090A8", "#D8DEE8"),
    "Check": ("#FFFFFF", "#DCE9F8", "#2B5C9E", "#1E4478"),
}


def draw_buttons():
    for name, caption in (("Button_Word", "词典"), ("Button_Translate", "翻译")):
        for face, colours in FACES.items():
            image = button_face((58, 22), caption, *map(rgb, colours))
            image.save(PICTURES / f"{name}_{face}.bmp")
    for face in ("Normal", "Enter", "Down", "Disable"):
        image = button_face((80, 22), "访问网站", *map(rgb, FACES[face]))
        image.save(PICTURES / f"Button_Web_{face}.bmp")


def draw_word_bar():
    """1 x 42: stretched across the dictionary page's word bar."""
    vertical_gradient((1, 42), rgb("#F4F8FD"), rgb("#D7E1EF")).save(PICTURES / "WordPanel.bmp")


def draw_result_divider():
    """368 x 15: the line under the result label."""
    image = Image.new("RGB", (368, 15), rgb("#FFFFFF"))
    draw = ImageDraw.Draw(image)
    draw.line([(0, 14), (367, 14)], fill=rgb("#D7E1EF"))
    draw.line([(0, 13), (80, 13)], fill=rgb("#9EBAE4"))
    image.save(PICTURES / "TranslateLine.bmp")


def draw_swap_icon():
    """10 x 11 JPEG: two arrows, right over left."""
    image = Image.new("RGB", (10, 11), rgb("#FFFFFF"))
    draw = ImageDraw.Draw(image)
    blue = rgb("#3A78C8")
    draw.line([(0, 3), (8, 3)], fill=blue)
    draw.line([(6, 1), (8, 3), (6, 5)], fill=blue)
    draw.line([(1, 7), (9, 7)], fill=blue)
    draw.line([(3, 5), (1, 7), (3, 9)], fill=blue)
    image.save(PICTURES / "TranslateICO.jpg", quality=95)


def icon_image(size):
    """The window icon drawn at size x size pixels: 译 in white on a rounded blue square."""
    scale = size / 48
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    draw = ImageDraw.Draw(image)
    inset = round(scale)
    draw.rounded_rectangle([(inset, inset), (size - 1 - inset, size - 1 - inset)],
                           radius=round(9 * scale), fill=rgb("#3A78C8") + (255,),
                           outline=rgb("#2B5C9E") + (255,), width=max(1, round(scale)))
    font = ImageFont.truetype(CJK_FONT, round(30 * scale), index=CJK_FONT_SC_INDEX)
    left, upper, right, lower = draw.textbbox((0, 0), "译", font=font)
    draw.text(((size - (right - left)) // 2 - left, (size - (lower - upper)) // 2 - upper), "译",
              font=font, fill=(255, 255, 255, 255))
    return image


def draw_icon():
    """Window icon with 48, 32 and 16 pixel images, 32 bits per pixel, and the desktop's
    icon theme images from 16 to 256 pixels."""
    image = icon_image(48)
    image.save(HERE / "Mirel.ico", sizes=[(48, 48), (32, 32), (16, 16)])
    icons = HERE / "icons"
    icons.mkdir(exist_ok=True)
    for px in (48, 32, 16):
        image.resize((px, px), Image.LANCZOS).save(icons / f"mirel-{px}.png")
    large = icon_image(256)
    for px in (256, 128, 64):
        large.resize((px, px), Image.LANCZOS).save(icons / f"mirel-{px}.png")


def main():
    PICTURES.mkdir(exist_ok=True)
    draw_line_gif()
    draw_sound_gif()
    draw_top_bar()
    draw_buttons()
    draw_word_bar()
    draw_result_divider()
    draw_swap_icon()
    draw_icon()


if __name__ == "__main__":
    main()

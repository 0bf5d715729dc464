#!/usr/bin/python3
"""Draws the installer's skin: every PNG of res/skin/ and res/NuvraSetup.ico.

Run through scripts/draw-skin.sh.  Shapes are drawn at 4x and reduced, so
edges are anti-aliased; text is drawn at its final size so it stays crisp.
Every image has the exact size and frame layout the installer slices it by.
"""
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

OUT = sys.argv[1] if len(sys.argv) > 1 else "res/skin"
ICON = sys.argv[2] if len(sys.argv) > 2 else "res/NuvraSetup.ico"
FONT_FILE = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"
SS = 4  # supersampling factor for shapes
BG_COLOURS = 64
BUTTON_COLOURS = 48

BORDER = (62, 114, 156, 255)
GREEN_TOP, GREEN_BOTTOM = (86, 201, 74), (38, 160, 46)
GREEN_EDGE = (30, 128, 38)
NAVY = (16, 58, 104)
LINK_BLUE = (21, 101, 192)


def font(size):
    return ImageFont.truetype(FONT_FILE, size, index=0)


def lerp(a, b, t):
    return tuple(int(round(x + (y - x) * t)) for x, y in zip(a, b))


def vgradient(w, h, stops, step=1):
    """A vertical gradient through (position 0..1, RGB[A]) stops.  A step
    above 1 rounds each channel to its multiples: a field as wide as the
    window then needs half the colours with no visible banding."""
    img = Image.new("RGBA", (w, h))
    px = img.load()
    for y in range(h):
        t = y / max(h - 1, 1)
        for i in range(len(stops) - 1):
            (t0, c0), (t1, c1) = stops[i], stops[i + 1]
            if t0 <= t <= t1:
                c = lerp(c0, c1, (t - t0) / max(t1 - t0, 1e-9))
                c = tuple(min(255, int(round(v / step)) * step) for v in c)
                break
        c = tuple(c) + (255,) * (4 - len(c))
        for x in range(w):
            px[x, y] = c
    return img


def rounded_mask(w, h, r, inset=0):
    """Anti-aliased rounded-rectangle mask of size w x h."""
    big = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(big).rounded_rectangle(
        (inset * SS, inset * SS, (w - inset) * SS - 1, (h - inset) * SS - 1),
        radius=r * SS, fill=255)
    return big.resize((w, h), Image.LANCZOS)


def text_size(text, f):
    box = f.getbbox(text)
    return box[2] - box[0], box[3] - box[1], box


def draw_text_centered(img, text, f, fill, cx, cy, bold=False, shadow=None):
    """Text centred on (cx, cy); bold doubles the strokes one pixel apart."""
    w, h, box = text_size(text, f)
    x = int(round(cx - w / 2 - box[0]))
    y = int(round(cy - h / 2 - box[1]))
    d = ImageDraw.Draw(img)
    offsets = [(0, 0), (1, 0)] if bold else [(0, 0)]
    if shadow:
        layer = Image.new("RGBA", img.size, (0, 0, 0, 0))
        ld = ImageDraw.Draw(layer)
        for ox, oy in offsets:
            ld.text((x + ox + shadow[0], y + oy + shadow[1]), text, font=f, fill=shadow[2])
        if len(shadow) > 3:
            layer = layer.filter(ImageFilter.GaussianBlur(shadow[3]))
        img.alpha_composite(layer)
    for ox, oy in offsets:
        d.text((x + ox, y + oy), text, font=f, fill=fill)


def few_colours(img, colours, keep=()):
    """Maps a picture onto a palette of its main colours, alpha included,
    without dithering: smooth gradients become clean bands of flat colour
    and anti-aliased edges keep a few shades, which makes the PNG a fraction
    of the size with no visible difference at 1:1.  The palette comes from
    libimagequant; each pixel then takes its nearest entry (libimagequant
    itself would dither, and noise is what makes PNGs heavy).  Colours in
    keep join the palette as they are: a background passes its gradient's
    row colours, so the field stays exactly as smooth as drawn.  Fully
    transparent pixels stay exactly transparent."""
    img = clean_alpha(img)
    q = img.quantize(colors=colours, method=Image.Quantize.LIBIMAGEQUANT)
    flat = q.getpalette("RGBA")[:4 * colours]
    palette = [tuple(flat[i:i + 4]) for i in range(0, len(flat), 4)] + list(keep)

    def nearest(c):
        if c[3] == 0:
            return (0, 0, 0, 0)
        # Compare colours as they look over a backdrop: premultiplied.
        def dist(p):
            return (sum((c[k] * c[3] - p[k] * p[3]) ** 2 for k in range(3)) / 65025
                    + 3 * (c[3] - p[3]) ** 2)
        return min(palette, key=dist)

    out = img.copy()
    px = out.load()
    memo = {}
    w, h = img.size
    for y in range(h):
        for x in range(w):
            c = px[x, y]
            if c not in memo:
                memo[c] = nearest(c)
            px[x, y] = memo[c]
    return out


def clean_alpha(img):
    """Resampling leaves faint alpha ringing around shapes: pixels that are
    all but invisible become fully transparent, so transparency is exact."""
    px = img.load()
    w, h = img.size
    for y in range(h):
        for x in range(w):
            if px[x, y][3] <= 3:
                px[x, y] = (0, 0, 0, 0)
    return img


def save(img, name):
    img = clean_alpha(img)
    path = os.path.join(OUT, name)
    img.save(path, optimize=True)
    return path


def stack(frames):
    w, h = frames[0].size
    out = Image.new("RGBA", (w, h * len(frames)), (0, 0, 0, 0))
    for i, f in enumerate(frames):
        out.alpha_composite(f, (0, i * h))
    return out


# --------------------------------------------------------------- logo ---

def logo_badge(size, flat=False):
    """The product mark: an orange tile with a white play arrow circled by
    an orbit, i.e. games in a browser.  The flat variant (a plain tile with
    a glossy upper half) is the one painted into the palette backgrounds;
    small icons leave out the orbit, which would only blur."""
    S = size * SS
    big = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    if flat:
        tile = Image.new("RGBA", (S, S), (255, 132, 22, 255))
        ImageDraw.Draw(tile).rectangle((0, 0, S, S // 2), fill=(255, 150, 44, 255))
    else:
        tile = vgradient(S, S, [(0, (255, 190, 60)), (1, (255, 112, 16))])
    mask = Image.new("L", (S, S), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, S - 1, S - 1), radius=int(S * 0.22), fill=255)
    big.paste(tile, (0, 0), mask)
    d = ImageDraw.Draw(big)
    # Orbit ring (a tilted ellipse drawn as a thick outline).
    ring = Image.new("L", (S, S), 0)
    rd = ImageDraw.Draw(ring) if size > 24 else ImageDraw.Draw(Image.new("L", (S, S), 0))
    rd.ellipse((S * 0.12, S * 0.30, S * 0.88, S * 0.70), outline=255, width=max(1, int(S * 0.055)))
    ring = ring.rotate(-28, resample=Image.BICUBIC, center=(S / 2, S / 2))
    white = Image.new("RGBA", (S, S), (255, 255, 255, 235))
    big.paste(white, (0, 0), Image.composite(ring, Image.new("L", (S, S), 0), mask))
    # Play arrow with a thin orange gap so it reads over the ring.
    c = S / 2
    k = 1.0 if size > 24 else 1.35
    tri = [(c - S * 0.15 * k, c - S * 0.21 * k), (c - S * 0.15 * k, c + S * 0.21 * k),
           (c + S * 0.23 * k, c)]
    d.polygon(tri, fill=(255, 255, 255, 255))
    return big.resize((size, size), Image.LANCZOS)


# --------------------------------------------------------- backgrounds ---

BANNER_STOPS = [(0.0, (46, 124, 201)), (0.55, (54, 144, 220)), (1.0, (88, 170, 232))]


def banner(w, h):
    """Sky-blue banner with the logo and the product name.  The field is a
    plain vertical gradient: a row of one colour costs a few bytes in the
    PNG, while anything that varies along the rows (a radial glow, faint
    decorative rings) costs kilobytes for little that a user would see."""
    img = vgradient(w, h, BANNER_STOPS, step=2)
    # Logo and name in the upper middle.
    badge = logo_badge(76, flat=True)
    shadow = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    ImageDraw.Draw(shadow).rounded_rectangle((w // 2 - 36, 52, w // 2 + 40, 130), radius=17,
                                             fill=(10, 50, 100, 90))
    img.alpha_composite(shadow.filter(ImageFilter.GaussianBlur(4)))
    img.alpha_composite(badge, (w // 2 - 38, 48))
    draw_text_centered(img, "Nuvra游戏浏览器", font(34), (255, 255, 255, 255), w / 2, 160,
                       bold=True, shadow=(0, 2, (12, 52, 98, 150), 1.5))
    draw_text_centered(img, "专为网页游戏打造 · 快速 · 流畅 · 安全", font(14),
                       (223, 238, 252, 255), w / 2, 198)
    return img


def flat_background(img):
    """A background in one palette: the row colours of its gradients (read
    down its left edge, where nothing is drawn over them) as they are, plus
    the main colours of the logo and the lettering; then the border."""
    px = img.load()
    rows = sorted(set(px[2, y] for y in range(img.size[1])))
    # 256 entries at most, two of them for the border and the transparent
    # corners.
    return frame_border(few_colours(img, min(BG_COLOURS, 254 - len(rows)), keep=rows))


def frame_border(img):
    """The one-pixel border and the transparent corner pixels."""
    w, h = img.size
    d = ImageDraw.Draw(img)
    d.rectangle((0, 0, w - 1, h - 1), outline=BORDER)
    for x, y in ((0, 0), (w - 1, 0), (0, h - 1), (w - 1, h - 1)):
        img.putpixel((x, y), (0, 0, 0, 0))
    return img


def main_background():
    w, h = 600, 400
    img = vgradient(w, h, BANNER_STOPS[:2] + [(0.625, (88, 170, 232)),
                                               (0.86, (196, 227, 249)), (1.0, (226, 241, 252))],
                    step=2)
    img.alpha_composite(banner(w, 250), (0, 0))
    # Smooth the seam under the banner into the lighter lower field.
    lower = vgradient(w, 150, [(0, (88, 170, 232)), (0.55, (182, 220, 247)), (1, (228, 242, 252))],
                      step=2)
    img.alpha_composite(lower, (0, 250))
    # A pale footer strip for the licence line and the custom-install link.
    d = ImageDraw.Draw(img)
    d.rectangle((0, 356, w - 1, h - 1), fill=(240, 247, 253, 255))
    d.line((0, 356, w - 1, 356), fill=(199, 222, 240, 255))
    return img


def custom_background():
    w, h = 600, 464
    img = Image.new("RGBA", (w, h), (255, 255, 255, 255))
    img.alpha_composite(banner(w, 250), (0, 0))
    d = ImageDraw.Draw(img)
    d.line((0, 250, w - 1, 250), fill=(33, 86, 140, 255))
    # Faint section rule above the option rows and a footer for the buttons.
    d.line((47, 318, w - 48, 318), fill=(230, 236, 242, 255))
    d.rectangle((0, 396, w - 1, h - 1), fill=(244, 247, 250, 255))
    d.line((0, 396, w - 1, 396), fill=(225, 231, 237, 255))
    return img


# -------------------------------------------------------------- buttons ---

def pill(w, h, top, bottom, edge, r, dy=0, gloss=True):
    """A rounded button face with a gradient, an edge and a soft top gloss."""
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    face = vgradient(w, h, [(0, top), (1, bottom)])
    img.paste(face, (0, 0), rounded_mask(w, h, r))
    inner = rounded_mask(w, h, max(r - 1, 1), inset=1)
    outer = rounded_mask(w, h, r)
    ring = Image.new("L", (w, h), 0)
    ring.paste(outer, (0, 0))
    ring = Image.composite(Image.new("L", (w, h), 0), ring, inner)
    img.paste(Image.new("RGBA", (w, h), edge + (255,)), (0, 0), ring)
    if gloss:
        g = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        gm = rounded_mask(w, h // 2, max(r - 2, 1), inset=2)
        g.paste(Image.new("RGBA", (w, h // 2), (255, 255, 255, 46)), (0, 0), gm)
        img.alpha_composite(g)
    if dy:
        moved = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        moved.alpha_composite(img.crop((0, 0, w, h - dy)), (0, dy))
        img = moved
    return img


def green_button(w, fh, text, size):
    looks = [
        (GREEN_TOP, GREEN_BOTTOM, GREEN_EDGE, 0),
        (lerp(GREEN_TOP, (255, 255, 255), 0.18), lerp(GREEN_BOTTOM, (255, 255, 255), 0.12), GREEN_EDGE, 0),
        (GREEN_BOTTOM, lerp(GREEN_BOTTOM, (0, 0, 0), 0.12), (24, 106, 30), 1),
    ]
    frames = []
    for top, bottom, edge, dy in looks:
        f = pill(w, fh, top, bottom, edge, r=min(6, fh // 4), gloss=dy == 0)
        draw_text_centered(f, text, font(size), (255, 255, 255, 255), w / 2, fh / 2 + dy,
                           bold=True, shadow=(0, 1, (18, 100, 24, 160)))
        frames.append(f)
    return stack(frames)


def grey_green_button(w, fh, text, size):
    frames = []
    f = pill(w, fh, (252, 252, 252), (226, 229, 232), (176, 182, 188), r=4)
    draw_text_centered(f, text, font(size), (70, 78, 86, 255), w / 2, fh / 2)
    frames.append(f)
    for top, bottom, edge, dy in ((lerp(GREEN_TOP, (255, 255, 255), 0.1), GREEN_BOTTOM, GREEN_EDGE, 0),
                                  (GREEN_BOTTOM, lerp(GREEN_BOTTOM, (0, 0, 0), 0.12), (24, 106, 30), 1)):
        f = pill(w, fh, top, bottom, edge, r=4, gloss=dy == 0)
        draw_text_centered(f, text, font(size), (255, 255, 255, 255), w / 2, fh / 2 + dy,
                           bold=False, shadow=(0, 1, (18, 100, 24, 150)))
        frames.append(f)
    return stack(frames)


def caption_glyph_button(kind):
    """24 x 19 close or minimise button: navy glyph on transparency, then on
    a light and a deeper blue gradient for hover and pressed."""
    w, fh = 24, 19
    frames = []
    for look in range(3):
        f = Image.new("RGBA", (w, fh), (0, 0, 0, 0))
        if look:
            top, bottom = ((150, 205, 245), (98, 170, 230)) if look == 1 else ((70, 140, 205), (46, 112, 180))
            f.alpha_composite(vgradient(w, fh, [(0, top), (1, bottom)]))
        big = Image.new("RGBA", (w * SS, fh * SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        glyph = NAVY + (255,)
        cx, cy = w / 2 * SS, fh / 2 * SS
        if kind == "close":
            a = 4.2 * SS
            d.line((cx - a, cy - a, cx + a, cy + a), fill=glyph, width=int(1.9 * SS))
            d.line((cx - a, cy + a, cx + a, cy - a), fill=glyph, width=int(1.9 * SS))
        else:
            d.rectangle((cx - 4.5 * SS, cy + 2 * SS, cx + 4.5 * SS, cy + 3.8 * SS), fill=glyph)
        f.alpha_composite(big.resize((w, fh), Image.LANCZOS))
        frames.append(f)
    return stack(frames)


def link_button():
    """96 x 22 link-style button: blue lettering, underlined on hover."""
    w, fh = 96, 22
    frames = []
    for look, colour in enumerate((LINK_BLUE, (30, 136, 229), (13, 71, 161))):
        f = Image.new("RGBA", (w, fh), (0, 0, 0, 0))
        draw_text_centered(f, "自定义安装", font(13), colour + (255,), w / 2 - 6, fh / 2)
        # A small chevron says that the link opens more options.
        d = ImageDraw.Draw(f)
        x0, y0 = w / 2 + 30, fh / 2
        d.line((x0, y0 - 3, x0 + 3, y0, x0, y0 + 3), fill=colour + (255,), width=1)
        if look:
            tw = text_size("自定义安装", font(13))[0]
            d.line((w / 2 - 6 - tw / 2, fh / 2 + 8, w / 2 - 6 + tw / 2, fh / 2 + 8), fill=colour + (255,))
        frames.append(f)
    return stack(frames)


def checkbox():
    """16 x 16 frames: unchecked normal, hover, pressed, checked normal,
    hover, pressed."""
    frames = []
    looks = [
        ((255, 255, 255), (160, 166, 172), False),
        ((250, 252, 255), (110, 140, 170), False),
        ((208, 212, 216), (130, 136, 142), False),
        ((255, 255, 255), (46, 164, 52), True),
        ((238, 250, 238), (34, 140, 40), True),
        ((205, 230, 205), (28, 120, 34), True),
    ]
    for fill, edge, tick in looks:
        big = Image.new("RGBA", (16 * SS, 16 * SS), (0, 0, 0, 0))
        d = ImageDraw.Draw(big)
        d.rounded_rectangle((1 * SS, 1 * SS, 15 * SS - 1, 15 * SS - 1), radius=2 * SS,
                            fill=fill + (255,), outline=edge + (255,), width=SS)
        if tick:
            d.line((4.2 * SS, 8.2 * SS, 7 * SS, 11 * SS, 12 * SS, 4.8 * SS),
                   fill=(40, 160, 48, 255), width=int(2.1 * SS), joint="curve")
        frames.append(big.resize((16, 16), Image.LANCZOS))
    return stack(frames)


# ------------------------------------------------------------- pictures ---

def caption(text, colour, halo):
    img = Image.new("RGBA", (104, 30), (0, 0, 0, 0))
    draw_text_centered(img, text, font(22), colour, 52, 15, bold=True, shadow=halo)
    return img


def rocket():
    w, h = 115, 91
    big = Image.new("RGBA", (w * SS, h * SS), (0, 0, 0, 0))
    d = ImageDraw.Draw(big)
    s = SS
    # Drawn pointing up, then turned to fly up and to the right.
    cx = 57
    flame = [(cx - 9, 62), (cx, 88), (cx + 9, 62)]
    d.polygon([(x * s, y * s) for x, y in flame], fill=(255, 150, 30, 255))
    d.polygon([(x * s, y * s) for x, y in [(cx - 5, 62), (cx, 78), (cx + 5, 62)]], fill=(255, 230, 120, 255))
    d.polygon([(x * s, y * s) for x, y in [(cx - 12, 40), (cx - 24, 62), (cx - 10, 58)]], fill=(226, 64, 52, 255))
    d.polygon([(x * s, y * s) for x, y in [(cx + 12, 40), (cx + 24, 62), (cx + 10, 58)]], fill=(226, 64, 52, 255))
    d.ellipse(((cx - 13) * s, 4 * s, (cx + 13) * s, 64 * s), fill=(244, 247, 250, 255),
              outline=(150, 170, 190, 255), width=s)
    d.chord(((cx - 13) * s, 4 * s, (cx + 13) * s, 64 * s), 200, 340, fill=(226, 64, 52, 255))
    d.ellipse(((cx - 6) * s, 22 * s, (cx + 6) * s, 34 * s), fill=(60, 150, 225, 255),
              outline=(40, 90, 140, 255), width=int(1.5 * s))
    d.polygon([(x * s, y * s) for x, y in [(cx - 2, 40), (cx - 2, 62), (cx + 2, 62), (cx + 2, 40)]],
              fill=(226, 64, 52, 255))
    img = big.rotate(-35, resample=Image.BICUBIC, center=(cx * s, 45 * s))
    return img.resize((w, h), Image.LANCZOS)


def dot():
    img = Image.new("RGBA", (5, 5), (0, 0, 0, 0))
    for y in range(5):
        for x in range(5):
            r2 = (x - 2) ** 2 + (y - 2) ** 2
            a = max(0, 255 - r2 * 60)
            img.putpixel((x, y), (255, 255, 255, a))
    return img


def icon(path):
    # No 256-pixel frame: it alone would weigh more than all the small ones
    # together, in a program every user downloads.
    sizes = [16, 24, 32, 48]
    tmp = []
    for size in sizes:
        p = os.path.join(OUT, ".icon-%d.png" % size)
        logo_badge(size).save(p)
        tmp.append(p)
    os.system("convert " + " ".join(tmp) + " " + path)
    for p in tmp:
        os.remove(p)


def main():
    os.makedirs(OUT, exist_ok=True)
    # Each picture with the number of palette colours it is drawn in: enough
    # for smooth faces and clean text edges, few enough to compress well.
    images = {
        "130-background.png": flat_background(main_background()),
        "131-close.png": few_colours(caption_glyph_button("close"), 32),
        "132-custom-install.png": few_colours(link_button(), 32),
        "134-install.png": few_colours(green_button(172, 51, "一秒安装", 22), BUTTON_COLOURS),
        "135-minimize.png": few_colours(caption_glyph_button("minimize"), 32),
        "136-background-custom.png": flat_background(custom_background()),
        "139-checkbox.png": few_colours(checkbox(), 48),
        "140-change-dir.png": few_colours(grey_green_button(117, 33, "更改目录", 13), BUTTON_COLOURS),
        "145-rocket.png": few_colours(rocket(), 32),
        "147-installing.png": few_colours(caption("正在安装", (255, 255, 255, 255),
                                                  (0, 1, (10, 50, 100, 200), 1.2)), 24),
        "148-dot.png": dot(),
        "149-done.png": few_colours(caption("安装完成", NAVY + (255,),
                                            (0, 0, (255, 255, 255, 170), 1.5)), 24),
        "150-install-now.png": few_colours(green_button(119, 36, "立即安装", 15), BUTTON_COLOURS),
        "151-back.png": few_colours(grey_green_button(74, 36, "返回", 14), BUTTON_COLOURS),
    }
    for name, img in images.items():
        save(img, name)
    icon(ICON)


if __name__ == "__main__":
    main()

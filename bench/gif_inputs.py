# Writes the GIF benchmark's inputs from other encoders than giflib into the folder
# given, with Pillow: 1000 x 1000 noise (interlaced, as Pillow does by default, and
# plain), a photograph-like picture, and a many-frame animation of small changing
# rectangles.
import random
import sys
from pathlib import Path

from PIL import Image, ImageDraw, ImageFilter

out = Path(sys.argv[1])
out.mkdir(parents=True, exist_ok=True)
rnd = random.Random(42)


def noise():
    im = Image.frombytes("P", (1000, 1000), bytes(rnd.randrange(256) for _ in range(1000000)))
    im.putpalette([rnd.randrange(256) for _ in range(768)])
    return im


def photograph(width, height):
    # Smooth gradients under soft shapes, with fine grain on top: what a camera
    # gives, dithered to 256 colours.
    im = Image.linear_gradient("L").resize((width, height))
    rgb = Image.merge("RGB", (im, im.rotate(90).resize((width, height)), im.transpose(Image.FLIP_LEFT_RIGHT)))
    shapes = ImageDraw.Draw(rgb)
    for _ in range(40):
        x, y = rnd.randrange(width), rnd.randrange(height)
        r = rnd.randrange(20, 200)
        shapes.ellipse([x - r, y - r, x + r, y + r], fill=tuple(rnd.randrange(256) for _ in range(3)))
    rgb = rgb.filter(ImageFilter.GaussianBlur(12))
    grain = Image.effect_noise((width, height), 24).convert("RGB")
    rgb = Image.blend(rgb, grain, 0.15)
    return rgb.quantize(colors=256, dither=Image.Dither.FLOYDSTEINBERG)


noise().save(out / "noise_interlaced.gif", interlace=True)
noise().save(out / "noise_plain.gif", interlace=False)
photograph(1165, 859).save(out / "photograph.gif")

base = photograph(472, 298)
frames = []
for i in range(380):
    frame = base.copy()
    draw = ImageDraw.Draw(frame)
    # One sprite that moves a few pixels a frame: each frame differs from the one
    # before in a small rectangle.
    x = 20 + (i * 3) % 420
    y = 20 + (i // 140) * 90 + (i % 7)
    draw.rectangle([x, y, x + 24, y + 20], fill=(i * 7) % 256)
    frames.append(frame)
frames[0].save(out / "many_frames.gif", save_all=True, append_images=frames[1:], duration=40,
               loop=0, disposal=1)

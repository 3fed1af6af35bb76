# Seed GIFs for the GIF fuzzer: small files written by Pillow (plain and
# interlaced, several palettes, animations, transparency) and zero-sized images.
import random, struct, sys
from pathlib import Path
from PIL import Image, ImageDraw

out = Path(sys.argv[1]); out.mkdir(parents=True, exist_ok=True)
rnd = random.Random(7)

def picture(w, h, colours, noise):
    im = Image.new("RGB", (w, h))
    d = ImageDraw.Draw(im)
    for _ in range(6):
        x0, y0 = rnd.randrange(w), rnd.randrange(h)
        d.ellipse([x0, y0, x0 + rnd.randrange(1, w + 1), y0 + rnd.randrange(1, h + 1)],
                  fill=(rnd.randrange(256), rnd.randrange(256), rnd.randrange(256)))
    if noise:
        px = im.load()
        for _ in range(w * h // 4):
            px[rnd.randrange(w), rnd.randrange(h)] = (rnd.randrange(256),) * 3
    return im.quantize(colors=colours)

n = 0
for w, h in [(1, 1), (3, 7), (17, 5), (40, 30), (64, 64), (120, 100)]:
    for colours in (2, 4, 16, 256):
        for interlace in (False, True):
            picture(w, h, colours, colours > 4).save(out / f"p{n}.gif", interlace=interlace)
            n += 1
for frames, disposal, transparency in [(5, 1, None), (8, 2, 0), (6, 3, 1), (4, 0, None)]:
    ims = [picture(48, 40, 16, i % 2) for i in range(frames)]
    kw = {} if transparency is None else {"transparency": transparency}
    ims[0].save(out / f"anim{n}.gif", save_all=True, append_images=ims[1:], duration=40,
                loop=0, disposal=disposal, **kw)
    n += 1
# Zero-width and zero-height images of several rows or columns: the descriptor of a
# small file patched in place, its data left as it was.
base = out / "p12.gif"
data = bytearray(base.read_bytes())
at = data.index(b"\x2c")
for w, h in [(0, 9), (9, 0), (0, 0), (0, 300)]:
    patched = bytearray(data)
    struct.pack_into("<HH", patched, at + 5, w, h)
    (out / f"zero_{w}x{h}.gif").write_bytes(patched)

#!/usr/bin/env python3
"""Writes one page of a text with corvane-render and the same rows in headless
Chromium (writing-mode: vertical-rl, IPAMincho 16 px, 30 px line pitch, the
page's colours), then prints the ink of both: the ink sum (each pixel's
coverage projected onto the text colour), its ratio, the ink box and its
centre, and the ink extent of every column of ours.

    tools/compare-with-chromium.py [--build DIR] [--page N | --pages N,M,...]
                                   [--base-rows] [--gothic] [--keep DIR] TEXT

With --base-rows ours is the page's rows written alone, as a plain text, so
an Aozora page is measured without its ruby and marks, as Chromium writes
the same rows. With several pages the ink of all of them is summed too.

Needs chromium and ImageMagick's convert. With --keep the two pictures, and
both side by side enlarged three times, are left in DIR.
"""
import argparse
import html
import os
import shutil
import subprocess
import sys
import tempfile

WIDTH, HEIGHT = 481, 351
ROWS_PER_PAGE = 13
TEXT_COLOUR = 15197922  # 0x00BBGGRR, the program's default
BACKGROUND = 5266509


def rgb(bgr):
    return (bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF)


def read_pixels(png):
    """The picture as a flat list of (r, g, b), through ImageMagick."""
    raw = subprocess.run(["convert", png, "-alpha", "off", "-depth", "8", "rgb:-"],
                         check=True, capture_output=True).stdout
    if len(raw) != WIDTH * HEIGHT * 3:
        sys.exit(f"{png}: not {WIDTH} x {HEIGHT}")
    return raw


def coverage(raw, fg, bg):
    """Per-pixel coverage 0..1 along the line from the background to the text colour."""
    d = [f - b for f, b in zip(fg, bg)]
    dd = sum(c * c for c in d)
    out = []
    for i in range(0, len(raw), 3):
        t = sum((raw[i + c] - bg[c]) * d[c] for c in range(3)) / dd
        out.append(min(1.0, max(0.0, t)))
    return out


def ink_box(cov, x0=0, x1=WIDTH, threshold=0.25):
    left, top, right, bottom = WIDTH, HEIGHT, -1, -1
    for y in range(HEIGHT):
        row = cov[y * WIDTH:(y + 1) * WIDTH]
        for x in range(x0, x1):
            if row[x] > threshold:
                left, right = min(left, x), max(right, x)
                top, bottom = min(top, y), max(bottom, y)
    return (left, top, right, bottom) if right >= 0 else None


def page_rows(render, text, page):
    rows = subprocess.run([render, "--dump-rows", text], check=True, capture_output=True).stdout
    rows = rows.split(b"\n")
    first = (page - 1) * ROWS_PER_PAGE
    if first + ROWS_PER_PAGE > len(rows):
        sys.exit(f"page {page} is outside the text")
    return [r.decode("cp932", errors="replace") for r in rows[first:first + ROWS_PER_PAGE]]


def chromium_page(rows, gothic, out):
    fg, bg = rgb(TEXT_COLOUR), rgb(BACKGROUND)
    family = "IPAGothic" if gothic else "IPAMincho"
    # The block's right edge lies 15 px right of our first column's centre
    # (425 - 8), so that each 30 px line box is centred on our column.
    doc = f"""<!doctype html><meta charset="utf-8"><style>
html, body {{ margin: 0; width: {WIDTH}px; height: {HEIGHT}px; overflow: hidden;
  background: rgb{bg}; }}
div {{ position: absolute; right: {WIDTH - 432}px; top: 30px; height: 320px;
  writing-mode: vertical-rl; white-space: pre; font-family: "{family}";
  font-size: 16px; line-height: 30px; color: rgb{fg}; font-kerning: none; }}
</style><div>{html.escape(chr(10).join(rows))}</div>"""
    with tempfile.NamedTemporaryFile("w", suffix=".html", delete=False, encoding="utf-8") as f:
        f.write(doc)
    chromium = shutil.which("chromium") or shutil.which("chromium-browser")
    if not chromium:
        sys.exit("chromium is not installed")
    subprocess.run([chromium, "--headless", "--no-sandbox", "--disable-gpu", "--hide-scrollbars",
                    "--disable-lcd-text", "--force-device-scale-factor=1",
                    f"--window-size={WIDTH},{HEIGHT}", f"--screenshot={out}", "file://" + f.name],
                   check=True, capture_output=True)
    os.unlink(f.name)


def describe(name, cov):
    box = ink_box(cov)
    total = sum(cov)
    if box is None:
        print(f"{name}: no ink")
        return total
    l, t, r, b = box
    print(f"{name}: ink sum {total:.1f}, ink box x {l}..{r} y {t}..{b}, "
          f"centre ({(l + r) / 2:.1f}, {(t + b) / 2:.1f}) against ({(WIDTH - 1) / 2}, {(HEIGHT - 1) / 2})")
    return total


def measure(render, text, page, gothic, base_rows, work):
    """Ours and Chromium's ink sums for one page, with the columns' extents."""
    ours, theirs = os.path.join(work, f"corvane-{page}.png"), os.path.join(work, f"chromium-{page}.png")
    rows = page_rows(render, text, page)
    args = [render, "--page", str(page), "--no-tenderly", "--out", ours]
    if gothic:
        args.append("--gothic")
    if base_rows:
        alone = os.path.join(work, f"rows-{page}.txt")
        with open(alone, "wb") as f:
            f.write("\r\n".join(rows).encode("cp932", errors="replace"))
        args[2] = "1"
        args += ["--raw", alone]
    else:
        args.append(text)
    subprocess.run(args, check=True)
    chromium_page(rows, gothic, theirs)

    fg, bg = rgb(TEXT_COLOUR), rgb(BACKGROUND)
    ours_cov = coverage(read_pixels(ours), fg, bg)
    theirs_cov = coverage(read_pixels(theirs), fg, bg)
    print(f"page {page}:")
    s1 = describe("corvane ", ours_cov)
    s2 = describe("chromium", theirs_cov)
    if s2 > 0:
        print(f"ink ratio corvane / chromium: {s1 / s2:.3f}")
    print("corvane columns (right to left), ink rows top..bottom:")
    for k in range(ROWS_PER_PAGE):
        right = 425 - 30 * k
        box = ink_box(ours_cov, right - 16, right)
        print(f"  column {k:2}: " + (f"y {box[1]}..{box[3]} ({box[3] - box[1] + 1} px)" if box else "blank"))
    return ours, theirs, s1, s2


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    p = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    p.add_argument("text")
    p.add_argument("--build", default=os.path.join(here, "..", "build"))
    p.add_argument("--page", type=int, default=3)
    p.add_argument("--pages", help="several pages, comma-separated")
    p.add_argument("--base-rows", action="store_true")
    p.add_argument("--gothic", action="store_true")
    p.add_argument("--keep", help="directory for the pictures")
    a = p.parse_args()

    render = os.path.join(a.build, "corvane-render")
    work = a.keep or tempfile.mkdtemp(prefix="corvane-tone-")
    os.makedirs(work, exist_ok=True)
    pages = [int(n) for n in a.pages.split(",")] if a.pages else [a.page]
    total_ours = total_theirs = 0.0
    for page in pages:
        ours, theirs, s1, s2 = measure(render, a.text, page, a.gothic, a.base_rows, work)
        total_ours, total_theirs = total_ours + s1, total_theirs + s2
        if a.keep:
            subprocess.run(["convert", ours, theirs, "+append", "-filter", "point", "-resize", "300%",
                            os.path.join(work, f"side-by-side-{page}.png")], check=True)
    if len(pages) > 1 and total_theirs > 0:
        print(f"all {len(pages)} pages: ink ratio corvane / chromium {total_ours / total_theirs:.3f}")
    if not a.keep:
        shutil.rmtree(work)


if __name__ == "__main__":
    main()

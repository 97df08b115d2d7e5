#!/usr/bin/env python3
"""Every page of the corpus texts, as corvane-render --dump-layout gives it,
in both writings: no markup drawn, base glyphs on the half-em grid, ruby and
emphasis at half size in the band beside their column (above their line),
inside the column's block and never over another mark, readings set solid
and centred on their base, gaiji one cell, runs marked 縦中横 upright in one
cell. Extra sample files may follow the corpus folder."""
import json
import re
import pathlib
import subprocess
import sys

render, corpus = sys.argv[1], pathlib.Path(sys.argv[2])
books = sorted(corpus.glob("*.txt")) + [pathlib.Path(a) for a in sys.argv[3:]]
MARKUP = ["［＃", "｜", "／＼", "【テキスト中に現れる記号について】"]
problems = []
totals = {"pages": 0, "ruby": 0, "emphasis": 0, "gaiji": 0, "heading": 0, "geta": 0}


ALNUM = "0-9A-Za-z０-９Ａ-Ｚａ-ｚ"
UPRIGHT = re.compile(f"［＃「[{ALNUM}]{{1,4}}」は縦中横］|［＃縦中横］[{ALNUM}]{{1,4}}［＃縦中横終わり］")
KANJI = re.compile(r"[\u3400-\u9fff\uf900-\ufaff々〆〇ヶ］\U00020000-\U0003ffff]")


def notes_in(book):
    """Runs marked upright, and readings with a base (a ｜ before them, or a
    kanji or gaiji note just before the 《), outside the legend block."""
    try:
        lines = book.read_text("utf-8").splitlines()
    except UnicodeDecodeError:
        lines = book.read_text("cp932", errors="replace").splitlines()
    rules = [i for i, line in enumerate(lines[:40]) if len(line) >= 20 and set(line) == {"-"}]
    if len(rules) >= 2 and "【テキスト中に現れる記号について】" in lines[rules[0] + 1]:
        del lines[rules[0]:rules[1] + 1]
    readings = sum("｜" in b or bool(b and KANJI.match(b[-1]))
                   for line in lines for b in re.split(r"《[^《》]+》", line)[:-1])
    return sum(len(UPRIGHT.findall(line)) for line in lines), readings


def upright_cells(book, n, glyphs):
    """Letters and digits standing upright share one cell of a column."""
    cells = {}
    for g in glyphs:
        if g["role"] == "base" and g["text"].isascii() and g["h"] == 16 and g["w"] < 16:
            cells.setdefault((g["y"], round((409 - g["x"]) / 30)), []).append(g)
    for (y, k), run in cells.items():
        if min(g["x"] for g in run) < 409 - 30 * k or max(g["x"] + g["w"] for g in run) > 425 - 30 * k \
                or (y - 30) % 8 or len(run) > 4 or any(g["w"] > 8 for g in run):
            fail(book.name, n, f"upright run {''.join(g['text'] for g in run)} not in one cell")
    return len(cells)


def check_ruby_alignment(book, n, glyphs, horizontal):
    """Readings set solid, centred on their base ±1 px unless held back."""
    lo, hi = (80, 80 + 18 * 17) if horizontal else (30, 318)
    readings, ends = {}, {}
    for g in (g for g in glyphs if g["role"] == "ruby"):
        line, along = (g["y"], g["x"]) if horizontal else (g["x"], g["y"])
        readings.setdefault((line, *g["base"]), []).append(along)
    found[horizontal] += len(readings)
    for (line, a, b), along in sorted(readings.items()):
        start, end = min(along), max(along) + 8
        held = start in (lo, ends.get(line)) or end == hi
        ends[line] = end
        key = "ruby held" if held else "ruby centred" + (" (horizontal)" if horizontal else "")
        totals[key] = totals.get(key, 0) + 1
        if not held and (end - start != 8 * len(along) or abs(start + end - a - b) > 2):
            fail(book.name, n, f"reading at {start}..{end} not set solid and centred on {a}..{b}")


def fail(book, page, what):
    if len(problems) < 20:
        problems.append(f"{book} page {page}: {what}")
    else:
        problems.append(None)


for book in books:
    upright_notes, readings = notes_in(book)
    found = {False: 0, True: 0}
    for horizontal in (False, True):
        args = [render, "--dump-layout"] + (["--horizontal"] if horizontal else []) + [str(book)]
        out = subprocess.run(args, check=True, capture_output=True).stdout.decode()
        for line in out.splitlines():
            page = json.loads(line)
            n = page["page"]
            totals["pages"] += not horizontal
            glyphs = page["glyphs"]
            text = "".join(g["text"] for g in glyphs if g["role"] in ("base", "heading", "gaiji"))
            for m in MARKUP:
                if m in text:
                    fail(book.name, n, f"markup {m} drawn")
            band = []
            upright_notes -= 0 if horizontal else upright_cells(book, n, glyphs)
            check_ruby_alignment(book, n, glyphs, horizontal)
            for g in glyphs:
                role, x, y, w, h = g["role"], g["x"], g["y"], g["w"], g["h"]
                if not horizontal:
                    totals[role] = totals.get(role, 0) + 1
                if role == "base" and g["text"].isascii() and h == 16 and w < 16 and not horizontal:
                    continue  # upright in its cell, checked above
                if role in ("ruby", "emphasis"):
                    if (w, h) != (8, 8):
                        fail(book.name, n, f"{role} cell {w}x{h}")
                    if horizontal:
                        ok = (y + 8 - 15) % 25 == 0 and 80 <= x and x + w <= 80 + 18 * 17
                    else:
                        ok = (425 - x) % 30 == 0 and 30 <= y and y + h <= 318
                    if not ok:
                        fail(book.name, n, f"{role} {g['text']} outside its band at {x},{y}")
                    band.append((x, y))
                else:
                    if role == "gaiji" and g["text"] == "〓" and not horizontal:
                        totals["geta"] += 1
                    if horizontal:
                        ok = (y - 15) % 25 == 0
                    else:
                        ok = (409 - x) % 30 == 0 and (y - 30) % 8 == 0 and y + h <= 318 + 16
                    if not ok:
                        fail(book.name, n, f"{role} {g['text']} off the grid at {x},{y}")
            # Marks of one column keep their 8 px pitch, but for readings that
            # meet the column's foot after another reading (or fill the whole
            # column), set closer: never closer than 4 px (half the pitch).
            columns = {}
            for x, y in band:
                key, along = (y, x) if horizontal else (x, y)
                columns.setdefault(key, []).append(along)
            for col, ys in columns.items():
                ys.sort()
                crowded = len(ys) * 8 > (18 * 17 if horizontal else 288)
                steps = [b - a for a, b in zip(ys, ys[1:])]
                closer = sum(1 for s in steps if s < 8)
                totals["closer"] = totals.get("closer", 0) + (closer > 0)
                if not crowded and any(s < 4 for s in steps):
                    fail(book.name, n, f"marks overlap in the band of column {col}")

    totals["readings"] = totals.get("readings", 0) + found[False]
    if set(found.values()) != {readings}:  # every reading drawn once: none lost, none doubled
        fail(book.name, "-", f"{found} readings drawn as ruby (horizontal: True) of {readings}")
    if upright_notes:
        fail(book.name, "-", f"{upright_notes} runs marked upright (縦中横) not set in one cell")

print(json.dumps(totals))
if problems:
    print("\n".join(p for p in problems if p))
    print(f"{len(problems)} problems")
    sys.exit(1)

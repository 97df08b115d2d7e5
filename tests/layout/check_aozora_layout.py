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
UPRIGHT_NOTES = [re.compile(f"［＃「[{ALNUM}]{{1,4}}」は縦中横］"),
                 re.compile(f"［＃縦中横］[{ALNUM}]{{1,4}}［＃縦中横終わり］")]


def read_text(book):
    raw = book.read_bytes()
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError:
        return raw.decode("cp932", errors="replace")


def count_upright_notes(book):
    text = read_text(book)
    return sum(len(p.findall(text)) for p in UPRIGHT_NOTES)


KANJI = re.compile(r"[\u3400-\u9fff\uf900-\ufaff々〆〇ヶ］\U00020000-\U0003ffff]")


def count_readings(book):
    """Readings in the file that have a base by Aozora's rule: a ｜ before
    them on their line, or a kanji (or a gaiji note) just before the 《."""
    n = 0
    lines = read_text(book).splitlines()
    rules = [i for i, line in enumerate(lines[:40]) if len(line) >= 20 and set(line) == {"-"}]
    if len(rules) >= 2 and "【テキスト中に現れる記号について】" in lines[rules[0] + 1]:
        del lines[rules[0]:rules[1] + 1]  # the legend, which explains the notation
    for line in lines:
        last = 0
        for m in re.finditer(r"《[^《》]+》", line):
            before = line[last:m.start()]
            if "｜" in before or (before and KANJI.match(before[-1])):
                n += 1
            last = m.end()
    return n


def upright_cells(book, n, glyphs):
    """Letters and digits standing upright share one em cell of a column
    (vertical only); returns how many such cells the page has."""
    cells = {}
    for g in glyphs:
        if g["role"] == "base" and g["text"].isascii() and g["text"].isalnum() and g["h"] == 16:
            cells.setdefault((g["y"], round((g["x"] - 409) / 30)), []).append(g)
    for (y, _), run in cells.items():
        left = min(g["x"] for g in run)
        right = max(g["x"] + g["w"] for g in run)
        cell = 409 - 30 * round((409 - left) / 30)
        if left < cell or right > cell + 16 or (y - 30) % 8 or len(run) > 4 \
                or any(g["w"] > 8 for g in run):
            fail(book.name, n, f"upright run {''.join(g['text'] for g in run)} not in one cell")
    return len(cells)


def check_ruby_alignment(book, n, glyphs, horizontal):
    """Each reading is set solid (8 px pitch) and centred on its base
    within 1 px, unless the column's end or the reading before it holds it
    back, which is counted."""
    lo, hi = (80, 80 + 18 * 17) if horizontal else (30, 318)
    readings = {}
    for g in glyphs:
        if g["role"] == "ruby":
            line = g["y"] if horizontal else g["x"]
            readings.setdefault((line, *g["base"]), []).append(g["x"] if horizontal else g["y"])
    ends = {}
    found[horizontal] += len(readings)
    for (line, a, b), along in sorted(readings.items()):
        along.sort()
        start, end = along[0], along[-1] + 8
        held = start == lo or end == hi or start == ends.get(line)
        ends[line] = end
        steps = {q - p for p, q in zip(along, along[1:])}
        if held:
            totals["ruby held"] = totals.get("ruby held", 0) + 1
            continue
        key = "ruby centred" if not horizontal else "ruby centred (horizontal)"
        totals[key] = totals.get(key, 0) + 1
        if steps - {8} or abs((start + end) - (a + b)) > 2:
            fail(book.name, n, f"reading at {start}..{end} not set solid and centred on {a}..{b}")


def fail(book, page, what):
    if len(problems) < 20:
        problems.append(f"{book} page {page}: {what}")
    else:
        problems.append(None)


for book in books:
    upright_notes = count_upright_notes(book)
    readings = count_readings(book)
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
            if not horizontal:
                upright_notes -= upright_cells(book, n, glyphs)
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

    # Every reading is drawn as ruby once: none lost, none doubled.
    for horizontal, seen in found.items():
        totals["readings"] = totals.get("readings", 0) + seen
        if seen != readings:
            fail(book.name, "-", f"{seen} readings drawn as ruby of {readings} in the file"
                 + (" (horizontal)" if horizontal else ""))
    if upright_notes:
        fail(book.name, "-", f"{upright_notes} runs marked upright (縦中横) not set in one cell")

print(json.dumps(totals))
if problems:
    print("\n".join(p for p in problems if p))
    print(f"{len(problems)} problems")
    sys.exit(1)

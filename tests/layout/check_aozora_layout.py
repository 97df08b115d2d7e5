#!/usr/bin/env python3
"""Every page of the corpus texts, as corvane-render --dump-layout gives it,
in both writings: no markup drawn, base glyphs on the half-em grid, ruby and
emphasis at half size in the band beside their column (above their line),
inside the column's block and never over another mark, readings set solid
and centred on their base, gaiji one cell, runs marked 縦中横 upright in one
cell; indented columns and page breaks where their notes put them; and on
rendered pages (every 20th, and each with a heading or emphasis) the ink of
ruby, emphasis marks and headings. Extra sample files may follow the corpus
folder."""
import bisect
import json
import re
import pathlib
import subprocess
import sys
import tempfile

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


WIDE = str.maketrans("０１２３４５６７８９", "0123456789")
BREAK = re.compile("［＃改(ページ|頁|丁|見開き|段)］")


def line_notes(book):
    """Each file line's place in the normalised text (line breaks two bytes),
    and the indent its notes ask: (first, further) ems, or ("foot", ems up)
    for the text after a 地付き/地からＮ字上げ; page breaks after lines."""
    places, indents, breaks, block, at = [], {}, [], None, 0
    for i, raw in enumerate(re.split(rb"\r\n|\r|\n", book.read_bytes())):
        text = raw.decode("cp932", "replace").translate(WIDE)
        places.append(at)
        at += len(raw) + 7 * raw.count(b"\t") + text.count("：") + 2
        if m := re.match(r"［＃ここから(\d+)字下げ(?:、折り返して(\d+)字下げ)?］$", text):
            block = (int(m[1]), int(m[2] or m[1]))
        elif text == "［＃ここで字下げ終わり］":
            block = None
        elif m := re.match(r"［＃(\d+)字下げ］", text):
            indents[i] = (int(m[1]), int(m[1]))
        elif m := re.search(r"［＃地(付き|から(\d+)字上げ)］", text):
            indents[i] = ("foot", int(m[2] or 0), places[i] + len(raw.decode("cp932", "replace")[:m.end()].encode("cp932", "replace")))
        elif block and text.strip():
            indents[i] = block
        if BREAK.search(text):
            breaks.append(i + 1)
    return places, indents, breaks


def normalised(book):
    text = re.sub(rb"\r\n|\r|\n", b"\r\n", book.read_bytes()).decode("cp932", "surrogateescape")
    return text.replace("\t", "　" * 4).replace("：", " : ").encode("cp932", "surrogateescape")


def check_columns(book, pages, file, horizontal):
    """Rule of indents: every column of an indented line starts (or ends)
    where its note says, on the em grid, past the blanks the text has there;
    after a page break the next line starts a page."""
    places, indents, breaks = line_notes(book)
    seen, starts = set(), {}
    at = (lambda c: 80 + int(c * 17 / 2 + 0.5)) if horizontal else (lambda c: 30 + 8 * c)
    for page in pages:
        cols = {}
        for g in page["glyphs"]:
            if g["role"] in ("base", "heading", "bold", "gaiji"):
                k, along = (round((g["y"] - 15) / 25), g["x"]) if horizontal else (round((409 - g["x"]) / 30), g["y"])
                cols.setdefault(k, []).append(along)
        for k, place in enumerate(page["places"]):
            line = bisect.bisect_right(places, place) - 1
            starts.setdefault(line, (page["page"], k))
            note, first = indents.get(line), line not in seen
            seen.add(line)
            if not note or k not in cols or (k > 0 and page["places"][k - 1] == place):
                continue
            if note[0] == "foot":
                end = page["places"][k + 1] if k < 12 else place + 72
                ok = end <= note[2] or max(cols[k]) == at(34 - 2 * note[1])  # the last em ends at the foot
            else:
                blank = re.match(r"[ 　]*", file[place:place + 72].decode("cp932", "replace"))[0]
                top = 2 * note[0 if first else 1] + 2 * blank.count("　") + blank.count(" ")
                ok = min(cols[k]) in (at(top), at(top + 1))  # a reading's base may start half an em in
            tally("indented columns", horizontal)
            if not ok:
                fail(book.name, page["page"], f"column {k} of indented line {line + 1} at {cols[k][:1]}")
    for line in breaks:
        tally("page breaks", horizontal)
        if starts.get(line, (0, 0))[1] != 0:
            fail(book.name, starts[line][0], f"line {line + 1} after a page break not in column 0")


def render_bmps(render, args, pages, out):
    """Pages in black on white as (row(y, x0, x1) bytes, dark(x, y) from 0 to 255)."""
    subprocess.run([render, "--all", "--out", out, "--bmp", "--no-tenderly", "--fg", "0",
                    "--bg", "0xFFFFFF", "--pages", ",".join(map(str, pages))] + args, check=True)
    for bmp in (pathlib.Path(out, f"page-{n:04d}.bmp").read_bytes() for n in pages):
        s = int.from_bytes(bmp[10:14], "little") + 350 * 1444  # rows of 1444 bytes, bottom up
        yield (lambda y, x0, x1, b=bmp, s=s: b[s - 1444 * y + 3 * x0:s - 1444 * y + 3 * x1],
               lambda x, y, b=bmp, s=s: 255 - b[s - 1444 * y + 3 * x + 1] if 0 <= x < 481 and 0 <= y < 351 else 0)


def least(key, value):
    totals[key] = min(totals.get(key, value), value)


def tally(key, horizontal=False):
    key += " (horizontal)" if horizontal else ""
    totals[key] = totals.get(key, 0) + 1


def check_ink(book, render, pages, rows, horizontal):
    """Beside its rows rendered alone: base cells as they were, mark ink in
    its band, emphasis marks, headings' ink (1.2 times the body's)."""
    sample = [p for p in pages if p["page"] % (100 if horizontal else 20) == 1 or any(
        g["role"] in ("heading", "emphasis") for g in p["glyphs"])][::4 if horizontal else 1]
    flag = ["--horizontal"] if horizontal else []
    with tempfile.TemporaryDirectory() as out:
        marked = list(render_bmps(render, flag + [str(book)], [p["page"] for p in sample], out + "/a"))
        alone = pathlib.Path(out, "rows.txt")
        alone.write_bytes(b"\r\n".join(r for p in sample for r in rows[13 * p["page"] - 13:13 * p["page"]]))
        bare = list(render_bmps(render, flag + ["--raw", str(alone)], range(1, len(sample) + 1), out + "/b"))
        ink = {}
        headings = {g["text"] for p in sample for g in p["glyphs"] if g["role"] == "heading"}
        for page, dark, base in zip(sample, marked, bare):
            check_base_cells(book, page, dark, base, horizontal)
            for g in page["glyphs"]:
                x, y = g["x"], g["y"]
                if g["role"] in ("base", "heading") and g["w"] == g["h"] and g["text"] in headings:
                    cell = [dark[1](i, j) for j in range(y, y + g["h"]) for i in range(x, x + g["w"])]
                    ink.setdefault((g["text"], g["role"]), []).append(sum(cell))
                if g["role"] in ("ruby", "emphasis"):
                    check_band_ink(book, page["page"], g, dark[1], base[1], horizontal)
        for (text, role), sums in ink.items():
            body = ink.get((text, "base"))
            if role == "heading" and body and sum(body) > 0:
                ratio = sum(sums) / len(sums) / (sum(body) / len(body))
                least("least heading ink", round(ratio, 2))
                if ratio < 1.2:
                    fail(book.name, "-", f"heading {text} inked {ratio:.2f} x the body's")


def check_base_cells(book, page, picture, alone, horizontal):
    """Base cells keep their pixels under the marks (but those the rows alone draw otherwise)."""
    odd = [(g["x"] - 8, g["y"] - 8, g["x"] + g["w"] + 8, g["y"] + g["h"] + 8) for g in page["glyphs"]
           if g["role"] in ("gaiji", "heading", "bold") or g["text"] in "〳〴〵"
           or (g["text"].isascii() and g["w"] < g["h"])]
    (row, dark), (alone_row, alone_dark) = picture, alone
    for k in range(13):
        x0, x1, ys = (80, 386, range(15 + 25 * k, 31 + 25 * k)) if horizontal else (409 - 30 * k, 425 - 30 * k, range(30, 318))
        for y in (y for y in ys if row(y, x0, x1) != alone_row(y, x0, x1)):
            for x in range(x0, x1):
                if dark(x, y) == alone_dark(x, y) or any(a <= x < c and b <= y < d for a, b, c, d in odd):
                    continue
                return fail(book.name, page["page"], f"mark ink in a base cell at {x},{y}")
    tally("pages with base cells checked", horizontal)


def check_band_ink(book, n, g, dark, base, horizontal):
    """A mark's own ink (darker than the rows alone) in its band, 5 px clear of the next column."""
    x, y = g["x"], g["y"]
    k = round((y - 7) / 25) if horizontal else round((425 - x) / 30)
    right = not horizontal and x >= 425 - 30 * k  # else the band left of the column
    lo, hi = (7 + 25 * k, 15 + 25 * k) if horizontal else (425 - 30 * k, 433 - 30 * k) if right else (401 - 30 * k, 409 - 30 * k)
    area = [(i, j) for j in range(lo, hi) for i in range(x, x + 8)] if horizontal else \
        [(i, j) for j in range(y, y + 8) for i in range(lo, hi + 6 if right else hi)]
    own = [(i, j) for i, j in area if dark(i, j) > base(i, j)]
    if right and own:
        edge = max(i for i, j in own)
        gap = min((i for j in range(y, y + 8) for i in range(439 - 30 * k, 455 - 30 * k) if base(i, j)), default=999) - edge - 1
        least("least ruby gap", gap)
        if edge >= hi or gap < 5:
            fail(book.name, n, f"{g['role']} ink to x {edge}, {gap} px to the next column")
    if g["role"] == "emphasis":
        strong = [(i, j) for i, j in own if dark(i, j) >= 128]
        centre = sum(i if horizontal else j for i, j in own) / max(len(own), 1) + 0.5
        least("least emphasis ink", len(strong))
        if len(strong) < 6 or abs(centre - sum(g["base"]) / 2) > 1:
            fail(book.name, n, f"emphasis {len(strong)} px at {centre}")


def fail(book, page, what):
    if len(problems) < 20:
        problems.append(f"{book} page {page}: {what}")
    else:
        problems.append(None)


for book in books:
    upright_notes, readings = notes_in(book)
    found = {False: 0, True: 0}
    laid = {False: [], True: []}
    for horizontal in (False, True):
        args = [render, "--dump-layout"] + (["--horizontal"] if horizontal else []) + [str(book)]
        out = subprocess.run(args, check=True, capture_output=True).stdout.decode()
        for line in out.splitlines():
            page = json.loads(line)
            n = page["page"]
            laid[horizontal].append(page)
            totals["pages"] += not horizontal
            glyphs = page["glyphs"]
            text = "".join(g["text"] for g in glyphs if g["role"] in ("base", "heading", "bold", "gaiji"))
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

    rows = subprocess.run([render, "--dump-rows", str(book)], check=True,
                          capture_output=True).stdout.split(b"\n")
    for horizontal in (False, True):
        if book.parent == corpus:  # the places of a UTF-8 sample are of its CP932 text
            check_columns(book, laid[horizontal], normalised(book), horizontal)
        check_ink(book, render, laid[horizontal], rows, horizontal)
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

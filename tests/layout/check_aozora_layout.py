#!/usr/bin/env python3
"""Every page of the corpus texts, as corvane-render --dump-layout gives it,
in both writings: no markup drawn, base glyphs on the half-em grid, ruby and
emphasis at half size in the band beside their column (above their line),
inside the column's block and never over another mark, gaiji one cell."""
import json
import pathlib
import subprocess
import sys

render, corpus = sys.argv[1], pathlib.Path(sys.argv[2])
MARKUP = ["［＃", "｜", "／＼", "【テキスト中に現れる記号について】"]
problems = []
totals = {"pages": 0, "ruby": 0, "emphasis": 0, "gaiji": 0, "heading": 0, "geta": 0}


def fail(book, page, what):
    if len(problems) < 20:
        problems.append(f"{book} page {page}: {what}")
    else:
        problems.append(None)


for book in sorted(corpus.glob("*.txt")):
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
            for g in glyphs:
                role, x, y, w, h = g["role"], g["x"], g["y"], g["w"], g["h"]
                if not horizontal:
                    totals[role] = totals.get(role, 0) + 1
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

print(json.dumps(totals))
if problems:
    print("\n".join(p for p in problems if p))
    print(f"{len(problems)} problems")
    sys.exit(1)

// The commands of corvane-render. Each takes the arguments after its own
// option and returns the process exit status; main() picks one from its
// table, so a new command is one entry there and one file here.
#pragma once
#include "text/AozoraLayout.h"
#include "text/TEditor.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace corvane::render {

using Args = std::vector<std::string>;

struct Streams
{
    std::FILE *out = stdout; // binary: rows are raw CP932 bytes
    std::FILE *err = stderr;
};

// --dump-rows [FILE]: every paged row of FILE loaded as corvane.txt with
// "Keep" on, or of the built-in text loaded with "Keep" off, one per line.
int dumpRows(const Args &args, const Streams &io);

// --page N --out FILE [STYLE] [TEXT]: page N composed as the window writes it,
// saved as PNG, JPEG or BMP by FILE's extension. --all --out DIR [STYLE]
// [TEXT]: every page as DIR/page-0001.png and on. (render_pages.cpp)
int renderPage(const Args &args, const Streams &io);
int renderAllPages(const Args &args, const Streams &io);

// --dump-layout [--page N] [--horizontal] [--raw] FILE: each glyph's cell
// and role as JSON, one object per page. (dump_layout.cpp)
int dumpLayout(const Args &args, const Streams &io);

// Pages FILE (or the built-in text when none) into editor as the window does;
// an Aozora text is read with its markup, its annotations into marks, unless
// raw. nullopt when FILE cannot be read. (load_text.cpp)
std::optional<int> loadPages(TEditor &editor, const std::optional<std::string> &textFile, bool raw,
                             AozoraPages *marks = nullptr);
bool takeRaw(Args &args); // removes "--raw", true when it was given

} // namespace corvane::render

// --dump-layout: every glyph of a page with its cell on the picture and its
// role (base, ruby, emphasis, gaiji, heading, bold), as JSON, one object per page.
#include "commands.h"

#include "text/PagedText.h"
#include "writing/PageMarks.h"

#include <cstdlib>
#include <span>

namespace corvane::render {

namespace {

void appendJsonText(std::string &out, char32_t code)
{
    if (code == U'"' || code == U'\\') {
        out += '\\';
        out += char(code);
        return;
    }
    if (code < 0x20) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04x", unsigned(code));
        out += buffer;
        return;
    }
    out += QString::fromUcs4(&code, 1).toStdString();
}

// places: where each row of the page starts in the file (FileAnchor), or none.
std::string pageJson(int page, int pages, std::span<const uint32_t> places,
                     const std::vector<LaidGlyph> &glyphs)
{
    std::string out
            = "{\"page\": " + std::to_string(page) + ", \"pages\": " + std::to_string(pages);
    if (!places.empty()) {
        out += ", \"places\": [";
        for (size_t i = 0; i < places.size(); ++i)
            out += (i ? ", " : "") + std::to_string(places[i]);
        out += "]";
    }
    out += ", \"glyphs\": [";
    for (size_t i = 0; i < glyphs.size(); ++i) {
        const LaidGlyph &g = glyphs[i];
        out += i ? ", {\"text\": \"" : "{\"text\": \"";
        appendJsonText(out, g.code);
        out += "\", \"role\": \"" + std::string(roleName(g.role)) + "\", \"x\": "
                + std::to_string(g.cell.x()) + ", \"y\": " + std::to_string(g.cell.y())
                + ", \"w\": " + std::to_string(g.cell.width())
                + ", \"h\": " + std::to_string(g.cell.height());
        if (g.role == GlyphRole::Ruby || g.role == GlyphRole::Emphasis)
            out += ", \"base\": [" + std::to_string(g.baseFrom) + ", " + std::to_string(g.baseTo)
                    + "]";
        out += "}";
    }
    return out + "]}\n";
}

} // namespace

int dumpLayout(const Args &given, const Streams &io)
{
    Args args = given;
    const bool raw = takeRaw(args);
    std::optional<int> only;
    bool horizontal = false;
    std::optional<std::string> file;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--page" && i + 1 < args.size()) {
            only = std::atoi(args[++i].c_str());
        } else if (args[i] == "--horizontal") {
            horizontal = true;
        } else if (!file) {
            file = args[i];
        } else {
            std::fputs("corvane-render: --dump-layout takes one FILE\n", io.err);
            return 2;
        }
    }
    TEditor editor;
    AozoraPages marks;
    const std::optional<int> pages = loadPages(editor, file, raw, &marks);
    if (!pages) {
        std::fprintf(io.err, "corvane-render: cannot read %s\n", file->c_str());
        return 1;
    }
    if (only && (*only < 1 || *only > *pages)) {
        std::fprintf(io.err, "corvane-render: page %d is outside the text (pages 1 to %d)\n", *only,
                     *pages);
        return 1;
    }
    const Cp932Decoder decoder;
    for (int page = only.value_or(1); page <= (only ? *only : *pages); ++page) {
        const PageRows rows = pageRows(editor, page);
        const std::vector<RowMark> pageMarks = marks.pageMarks(page);
        const size_t first = size_t(page - 1) * kPageRows;
        const std::span<const uint32_t> places = marks.rowPlaces.size() >= first + kPageRows
                ? std::span(marks.rowPlaces).subspan(first, kPageRows)
                : std::span<const uint32_t>();
        const std::string json = pageJson(
                page, *pages, places,
                laidGlyphs(decoder, rows, PageMarks{pageMarks, marks.strings}, horizontal));
        std::fwrite(json.data(), 1, json.size(), io.out);
    }
    return std::fflush(io.out) == 0 && !std::ferror(io.out) ? 0 : 1;
}

} // namespace corvane::render

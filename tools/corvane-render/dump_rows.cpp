// --dump-rows: the rows the window would page, for golden comparisons and
// for looking at a layout without starting the window.
#include "commands.h"

#include "text/PagedText.h"
#include "text/TEditor.h"
#include "text/TextSource.h"

#include <QString>

namespace corvane::render {

int dumpRows(const Args &given, const Streams &io)
{
    Args args = given;
    const bool raw = takeRaw(args);
    if (args.size() > 1) {
        std::fputs("corvane-render: --dump-rows takes at most one FILE\n", io.err);
        return 2;
    }
    TEditor editor;
    const std::optional<std::string> file
            = args.empty() ? std::nullopt : std::optional<std::string>(args[0]);
    if (!loadPages(editor, file, raw)) {
        std::fprintf(io.err, "corvane-render: cannot read %s\n", args[0].c_str());
        return 1;
    }
    // Line by line from the editor: a large text is not copied into a list.
    const TEditorStrings &lines = editor.Lines();
    for (int i = 0; i < lines.Count(); ++i) {
        const std::string row = lines[i];
        std::fwrite(row.data(), 1, row.size(), io.out);
        std::fputc('\n', io.out);
    }
    return std::fflush(io.out) == 0 && !std::ferror(io.out) ? 0 : 1;
}

} // namespace corvane::render

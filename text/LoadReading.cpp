// The reader's paging of a text in one call, for the programs that show
// pages without the window (the page renderer, the screen saver).
#include "text/AozoraLayout.h"
#include "text/PagedText.h"

namespace corvane {

int loadReading(TEditor &editor, std::string text, bool normalise, bool aozora, AozoraPages &marks)
{
    // The built-in text (not normalised) is never read as Aozora.
    if (!aozora || !normalise || !isAozoraText(text))
        return loadPaged(editor, std::move(text), normalise);
    setupEditor2(editor);
    marks = loadAozora(editor, text);
    return buildPages(editor);
}

} // namespace corvane

#include "text/PagedText.h"

#include "text/Normalise.h"
#include "text/TEditor.h"

#if defined(__GLIBC__)
#    include <malloc.h>
#endif

namespace corvane {

namespace {

// Puts the editor back into its reading state however the edit ends.
class EditSession
{
public:
    explicit EditSession(TEditor &editor)
        : m_editor(editor)
    {
        m_editor.setWordWrap(false); // one row per logical line while editing
        m_editor.setReadOnly(false);
        m_editor.Lines().BeginUpdate();
    }
    ~EditSession()
    {
        m_editor.Lines().EndUpdate();
        m_editor.setReadOnly(true);
        m_editor.setWordWrap(true);
    }
    EditSession(const EditSession &) = delete;
    EditSession &operator=(const EditSession &) = delete;

private:
    TEditor &m_editor;
};

} // namespace

void normaliseEditor(TEditor &editor)
{
    EditSession session(editor);
    const std::string text = editor.Lines().Text();
    if (!isNormalised(text))
        editor.Lines().setText(normaliseText(text));
}

void loadText(TEditor &editor, std::string text, bool normalise)
{
    editor.Lines().Clear();
    if (normalise && !isNormalised(text)) {
        std::string normalised = normaliseText(text);
        std::string().swap(text); // not held beside the rows
        editor.Lines().adoptText(std::move(normalised));
    } else {
        editor.Lines().adoptText(std::move(text));
    }
}

void loadText(TEditor &editor, std::string_view text, bool normalise)
{
    editor.Lines().Clear();
    editor.Lines().adoptText(normalise && !isNormalised(text) ? normaliseText(text)
                                                              : std::string(text));
}

int buildPages(TEditor &editor)
{
    // The rows are taken out rather than copied, padded in place and put
    // back one per line: at no point are there more than two copies of the
    // text (these rows and the rows they wrap to).
    RowStore rows = editor.takeRows();
    const std::size_t r = rows.size() % kPageRows;
    if (r > 0)
        for (std::size_t k = r; k < std::size_t(kPageRows); ++k)
            rows.append(kPaddingRow, EndMark::Hard);
    // Every row already fits its width, so each comes back as one line.
    editor.Lines().setRows(std::move(rows));
#if defined(__GLIBC__)
    // The copies of the text made while loading and paging are gone now.
    // glibc keeps freed blocks of up to 32 MiB for reuse, which would leave
    // a text of that size holding twice its memory for the whole run.
    malloc_trim(0);
#endif
    return pageTotal(std::size_t(editor.Lines().Count()));
}

PageRows pageRows(const TEditor &editor, int page)
{
    const TEditorStrings &lines = editor.Lines();
    return pageRows(
            lines.Count(), [&](int i) { return lines[i]; }, page);
}

int loadPaged(TEditor &editor, std::string text, bool normalise)
{
    setupEditor2(editor);
    loadText(editor, std::move(text), normalise);
    return buildPages(editor);
}

std::vector<std::string> pagedRows(std::string_view text, bool normalise)
{
    TEditor editor;
    loadPaged(editor, std::string(text), normalise);
    const TEditorStrings &lines = editor.Lines();
    std::vector<std::string> out;
    out.reserve(std::size_t(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i)
        out.push_back(lines[i]);
    return out;
}

} // namespace corvane

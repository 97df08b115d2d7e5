#include "text/PagedText.h"

#include "text/Normalise.h"
#include "text/TEditor.h"

namespace corvane {

namespace {

// Puts the editor back into its reading state however the edit ends.
class EditSession
{
public:
    explicit EditSession(TEditor &editor) : m_editor(editor)
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

void loadText(TEditor &editor, std::string_view text, bool normalise)
{
    editor.Lines().Clear();
    if (normalise && !isNormalised(text))
        editor.Lines().setText(normaliseText(text));
    else
        editor.Lines().setText(text);
}

int buildPages(TEditor &editor)
{
    std::vector<std::string> rows;
    rows.reserve(editor.rows().size() + kPageRows);
    for (const TRow &row : editor.rows())
        rows.push_back(row.text);
    rows = padRows(std::move(rows));
    editor.ClearText();
    // Every row already fits its width, so each comes back as one line.
    editor.Lines().setText(joinRows(rows));
    return pageTotal(std::size_t(editor.Lines().Count()));
}

PageRows pageRows(const TEditor &editor, int page)
{
    const TEditorStrings &lines = editor.Lines();
    return pageRows(lines.Count(), [&](int i) { return lines[i]; }, page);
}

std::vector<std::string> pagedRows(std::string_view text, bool normalise)
{
    TEditor editor;
    setupEditor2(editor);
    loadText(editor, text, normalise);
    buildPages(editor);
    const TEditorStrings &lines = editor.Lines();
    std::vector<std::string> out;
    out.reserve(std::size_t(lines.Count()));
    for (int i = 0; i < lines.Count(); ++i)
        out.push_back(lines[i]);
    return out;
}

} // namespace corvane

// Shared helpers for the editor tests: CP932 characters by name, repeated
// strings and a compact way to state expected rows.
#pragma once
#include "text/TEditor.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane::editortest {

// Double-byte characters used by the line-break rules.
inline const std::string kA = "\x82\xA0";         // あ, an ordinary kana
inline const std::string kMaru = "\x81\x42";      // 。 hangs
inline const std::string kTen = "\x81\x41";       // 、 hangs
inline const std::string kOpen = "\x81\x75";      // 「 may not end a row
inline const std::string kClose = "\x81\x76";     // 」 may not begin a row
inline const std::string kChoon = "\x81\x5B";     // ー may not begin a row
inline const std::string kParen = "\x81\x6A";     // ） may not begin a row
inline const std::string kIdeoSpace = "\x81\x40"; // 　 no rule
inline const std::string kKanaA = "\xB1";         // ｱ half-width, a word byte

inline std::string rep(const std::string &s, int n)
{
    std::string out;
    for (int i = 0; i < n; ++i)
        out += s;
    return out;
}

// The text with every line break (CR, LF or CR LF) as CR LF, the way the
// editor's Lines.Text gives it back.
inline std::string withCrLf(std::string_view text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            out += "\r\n";
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

// Rows set back one per line, as paging stores them.
inline std::string rowsAsLines(const std::vector<std::string> &rows)
{
    std::string out;
    for (const std::string &row : rows)
        out += row + "\r\n";
    return out;
}

inline std::vector<std::string> rowTexts(const TEditor &e)
{
    std::vector<std::string> texts;
    for (const TRow &row : e.rows())
        texts.push_back(row.text);
    return texts;
}

inline std::vector<std::string> wrapRows(const TWrapOption &option, const std::string &line)
{
    TEditor e;
    e.setWrapOption(option);
    std::vector<std::string> texts;
    for (const TRow &row : e.WrapLine(line))
        texts.push_back(row.text);
    return texts;
}

inline std::vector<std::string> editor2Rows(const std::string &line)
{
    return wrapRows(TWrapOption::editor2(), line);
}

} // namespace corvane::editortest

#include "text/Aozora.h"

#include "text/Cp932.h"
#include "text/Cp932Convert.h"
#include "text/Normalise.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <optional>
#include <span>

namespace corvane {

namespace {

// CP932 bytes of the characters the notation is made of.
constexpr std::string_view kBar = "\x81\x62";              // ｜
constexpr std::string_view kRubyOpen = "\x81\x73";         // 《
constexpr std::string_view kRubyClose = "\x81\x74";        // 》
constexpr std::string_view kNoteOpen = "\x81\x6D\x81\x94"; // ［＃
constexpr std::string_view kBracketOpen = "\x81\x6D";      // ［
constexpr std::string_view kBracketClose = "\x81\x6E";     // ］
constexpr std::string_view kRefMark = "\x81\xA6";          // ※
constexpr std::string_view kGetaMark = "\x81\xAC";         // 〓
constexpr std::string_view kSlash = "\x81\x5E";            // ／
constexpr std::string_view kBackslash = "\x81\x5F";        // ＼
constexpr std::string_view kDakuten = "\x81\x68";          // ″
constexpr std::string_view kCrLf = "\r\n";

// Converts with the C library; a sequence it cannot take becomes 〓.
// One converter per direction and thread, opened once: a text has
// thousands of readings and opening one is dear.
class IconvStream
{
public:
    IconvStream(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    {
    }
    ~IconvStream()
    {
        if (m_cd != iconv_t(-1))
            iconv_close(m_cd);
    }
    IconvStream(const IconvStream &) = delete;
    IconvStream &operator=(const IconvStream &) = delete;
    std::string operator()(std::string_view in) const;

private:
    iconv_t m_cd;
};

std::string IconvStream::operator()(std::string_view in) const
{
    std::string out;
    iconv_t cd = m_cd;
    if (cd == iconv_t(-1) || in.empty())
        return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    out.resize(in.size() * 4 + 8);
    char *src = const_cast<char *>(in.data());
    size_t srcLeft = in.size();
    char *dst = out.data();
    size_t dstLeft = out.size();
    while (srcLeft > 0) {
        if (iconv(cd, &src, &srcLeft, &dst, &dstLeft) != size_t(-1))
            break;
        if (errno == E2BIG)
            break; // cannot happen with four bytes out per byte in
        // EILSEQ or EINVAL: one byte is no character here
        ++src;
        --srcLeft;
        if (dstLeft >= 3) {
            std::memcpy(dst, "\xE3\x80\x93", 3);
            dst += 3;
            dstLeft -= 3;
        }
    }
    iconv(cd, nullptr, nullptr, &dst, &dstLeft); // flush a pending combining state
    out.resize(out.size() - dstLeft);
    return out;
}

std::string toUtf8(std::string_view cp932)
{
    static thread_local const IconvStream convert("UTF-8", "CP932");
    return convert(cp932);
}

std::string jisx0213ToUtf8(std::string_view euc)
{
    static thread_local const IconvStream convert("UTF-8", "EUC-JISX0213");
    return convert(euc);
}

void appendUtf8(std::string &out, uint32_t cp)
{
    if (cp < 0x80) {
        out.push_back(char(cp));
    } else if (cp < 0x800) {
        out.push_back(char(0xC0 | (cp >> 6)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(char(0xE0 | (cp >> 12)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(char(0xF0 | (cp >> 18)));
        out.push_back(char(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(char(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(char(0x80 | (cp & 0x3F)));
    }
}

std::string fromUtf8(std::string_view utf8)
{
    return utf8ToCp932(utf8);
}

bool startsWith(std::string_view s, std::string_view p)
{
    return s.substr(0, p.size()) == p;
}

bool endsWith(std::string_view s, std::string_view p)
{
    return s.size() >= p.size() && s.substr(s.size() - p.size()) == p;
}

// True when c is the two-byte character k. Written out, as the parser asks
// it of every punctuation mark and a general compare costs a call.
inline bool isChar(std::string_view c, std::string_view k)
{
    return c.size() == 2 && c[0] == k[0] && c[1] == k[1];
}

// Kanji and the marks that count as kanji for a ruby base, by the bytes
// of a two-byte character.
constexpr bool isKanjiLike(unsigned char lead, unsigned char trail)
{
    if (lead == 0x81)
        return trail >= 0x58 && trail <= 0x5A; // 々 〆 〇
    if (lead == 0x83)
        return trail == 0x96; // ヶ
    if (lead == 0x88)
        return trail >= 0x9F;
    return (lead >= 0x89 && lead <= 0x9F) || (lead >= 0xE0 && lead <= 0xEA) || lead == 0xED
            || lead == 0xEE || (lead >= 0xFA && lead <= 0xFC);
}

inline bool isKanjiLike(std::string_view c)
{
    return c.size() == 2 && isKanjiLike(uint8_t(c[0]), uint8_t(c[1]));
}

// A number of ems written in full-width or ASCII digits at the start of s;
// the rest of s after it.
std::optional<int> leadingNumber(std::string_view &s)
{
    int n = 0;
    size_t i = 0;
    while (i < s.size()) {
        if (s[i] >= '0' && s[i] <= '9') {
            n = n * 10 + (s[i] - '0');
            i += 1;
        } else if (startsWith(s.substr(i), "\xEF\xBC") && i + 2 < s.size()
                   && static_cast<unsigned char>(s[i + 2]) >= 0x90
                   && static_cast<unsigned char>(s[i + 2]) <= 0x99) {
            n = n * 10 + (static_cast<unsigned char>(s[i + 2]) - 0x90); // ０-９
            i += 3;
        } else {
            break;
        }
        if (n > 99)
            n = 99;
    }
    if (i == 0)
        return std::nullopt;
    s.remove_prefix(i);
    return n;
}

// An indent note "Ｎ字下げ" (with an optional "、折り返してＭ字下げ"), or
// "改行天付き、折り返してＭ字下げ".
struct Indent
{
    int first = 0;
    int wrap = 0;
};
std::optional<Indent> indentNote(std::string_view s)
{
    Indent in;
    if (startsWith(s, "改行天付き")) {
        s.remove_prefix(std::string_view("改行天付き").size());
    } else {
        const std::optional<int> n = leadingNumber(s);
        if (!n || !startsWith(s, "字下げ"))
            return std::nullopt;
        s.remove_prefix(std::string_view("字下げ").size());
        in.first = in.wrap = *n;
    }
    if (s.empty())
        return in;
    if (!startsWith(s, "、折り返して"))
        return std::nullopt;
    s.remove_prefix(std::string_view("、折り返して").size());
    const std::optional<int> m = leadingNumber(s);
    if (!m || s != "字下げ")
        return std::nullopt;
    in.wrap = *m;
    return in;
}

struct EmphasisName
{
    std::string_view name;
    EmphasisForm form;
};
constexpr std::array<EmphasisName, 9> kEmphasisNames{{
        {"傍点", EmphasisForm::Sesame},
        {"白ゴマ傍点", EmphasisForm::WhiteSesame},
        {"丸傍点", EmphasisForm::Dot},
        {"白丸傍点", EmphasisForm::WhiteDot},
        {"黒三角傍点", EmphasisForm::Triangle},
        {"白三角傍点", EmphasisForm::WhiteTriangle},
        {"二重丸傍点", EmphasisForm::Bullseye},
        {"蛇の目傍点", EmphasisForm::Fisheye},
        {"ばつ傍点", EmphasisForm::Cross},
}};

// A style a note gives to a range: what it makes and its form.
struct RangeStyle
{
    MarkKind kind;
    uint8_t form;
};

// "傍点", "左に白丸傍点", "中見出し", "縦中横", "太字"...
std::optional<RangeStyle> rangeStyle(std::string_view s)
{
    uint8_t side = 0;
    if (startsWith(s, "左に")) {
        s.remove_prefix(std::string_view("左に").size());
        side = kLeftSide;
    }
    for (const EmphasisName &e : kEmphasisNames)
        if (s == e.name)
            return RangeStyle{MarkKind::Emphasis, uint8_t(uint8_t(e.form) | side)};
    if (side)
        return std::nullopt;
    if (s == "大見出し")
        return RangeStyle{MarkKind::Heading, 1};
    if (s == "中見出し")
        return RangeStyle{MarkKind::Heading, 2};
    if (s == "小見出し")
        return RangeStyle{MarkKind::Heading, 3};
    if (s == "縦中横")
        return RangeStyle{MarkKind::TateChuYoko, 0};
    if (s == "太字" || s == "ゴシック体")
        return RangeStyle{MarkKind::Bold, 0};
    return std::nullopt;
}

// The position just past the ］ that closes the note opening at `open`, or
// npos when the line ends first. Brackets inside nest.
size_t noteEnd(std::string_view line, size_t open)
{
    int depth = 0;
    for (size_t i = open; i < line.size(); i += cp932CharLength(line, i)) {
        const std::string_view c = line.substr(i, 2);
        if (isChar(c, kBracketOpen))
            ++depth;
        else if (isChar(c, kBracketClose) && --depth == 0)
            return i + 2;
    }
    return std::string_view::npos;
}

// Where the reading of a ruby opening at `open` ends (the 》), or npos when
// this 《 is no ruby: unclosed on its line, empty or too long.
size_t rubyEnd(std::string_view line, size_t open)
{
    for (size_t i = open + 2; i < line.size(); i += cp932CharLength(line, i)) {
        const std::string_view c = line.substr(i, 2);
        if (isChar(c, kRubyOpen))
            return std::string_view::npos;
        if (isChar(c, kRubyClose)) {
            const size_t length = i - open - 2;
            return length == 0 || length > kMaxReadingBytes ? std::string_view::npos : i;
        }
    }
    return std::string_view::npos;
}

// A point at or before `at` in s where a character starts: just after the
// last byte before `at` that cannot lead a character (and so ends one).
size_t knownBoundary(std::string_view s, size_t at)
{
    while (at > 0 && isLeadByte(static_cast<unsigned char>(s[at - 1])))
        --at;
    return at;
}

// Where the character that ends at `at` starts, or npos at the start of s.
size_t charBefore(std::string_view s, size_t at)
{
    if (at == 0)
        return std::string_view::npos;
    size_t i = knownBoundary(s, at - 1), start = i;
    while (i < at) {
        start = i;
        i += cp932CharLength(s, i);
    }
    return start;
}

constexpr std::string_view kLegendHeading = "【テキスト中に現れる記号について】";

bool isRule(std::string_view line)
{
    return line.size() >= 20
            && std::all_of(line.begin(), line.end(), [](char c) { return c == '-'; });
}

// The line that starts at byte `at` of text, ended by CR LF, CR or LF, and
// where the next one starts; a final break adds no line.
std::pair<std::string_view, size_t> lineAt(std::string_view text, size_t at)
{
    const std::string_view rest = text.substr(at);
    size_t end = std::min(rest.find('\n'), rest.size());
    end = at + std::min(rest.substr(0, end).find('\r'), end);
    const size_t next = end + (text.substr(end, 2) == "\r\n" ? 2 : end < text.size() ? 1 : 0);
    return {text.substr(at, end - at), next};
}

// The legend block, rule to rule, as the bytes of text it covers, or an
// empty range.
std::pair<size_t, size_t> legendBytes(std::string_view text, std::string_view heading)
{
    size_t at = 0;
    for (int i = 0; i < 40 && at < text.size(); ++i) {
        const auto [line, next] = lineAt(text, at);
        const size_t from = at;
        at = next;
        if (!isRule(line) || at >= text.size())
            continue;
        if (lineAt(text, at).first.find(heading) == std::string_view::npos)
            continue;
        for (at = lineAt(text, at).second; at < text.size();) {
            const auto [inside, after] = lineAt(text, at);
            at = after;
            if (!isRule(inside))
                continue;
            // with the empty line that sets it off from the body
            const auto [blank, past] = lineAt(text, at);
            return {from, at < text.size() && blank.empty() ? past : at};
        }
        break; // never closed: nothing is dropped
    }
    return {0, 0};
}

class Parser
{
public:
    AozoraText parse(std::string_view text)
    {
        const auto [legendFrom, legendTo] = legendBytes(text, fromUtf8(kLegendHeading));
        m_out.text.reserve(text.size());
        // Guesses on the generous side for a book full of readings: memory
        // reserved and never touched costs nothing, a vector grown by
        // doubling touches twice what it keeps. (The strings go on to the
        // pages as they are, so they are not reserved.)
        m_out.marks.reserve(text.size() / 64);
        m_out.anchors.reserve(text.size() / 64);
        uint32_t file = 0; // where the line starts in the file's normalised text
        for (size_t at = 0; at < text.size();) {
            const auto [line, next] = lineAt(text, at);
            size_t length = line.size();
            if (at < legendFrom || at >= legendTo) {
                m_lineFile = file;
                parseLine(line);
                length += m_lineExtra + m_markupExtra;
            } else {
                length = normalisedLength(line);
            }
            file += uint32_t(length + kCrLf.size());
            at = next;
        }
        closeOpenRanges();
        m_out.pageBreakAtEnd = m_pageBreak;
        const auto byFrom = [](const Mark &a, const Mark &b) { return a.from < b.from; };
        if (!std::is_sorted(m_out.marks.begin(), m_out.marks.end(), byFrom))
            std::stable_sort(m_out.marks.begin(), m_out.marks.end(), byFrom);
        return std::move(m_out);
    }

private:
    std::string &out() { return m_out.text; }

    void addMark(size_t from, size_t to, MarkKind kind, uint8_t form = 0,
                 std::string_view text = {})
    {
        if (kind == MarkKind::TateChuYoko && text.empty()) {
            setUpright(from, to);
            return;
        }
        Mark m;
        m.from = uint32_t(from);
        m.to = uint32_t(to);
        m.kind = kind;
        m.form = form;
        m.text = uint32_t(m_out.strings.size());
        m.textLength = uint16_t(std::min<size_t>(text.size(), 0xFFFF));
        m_out.strings.append(text.substr(0, m.textLength));
        m_out.marks.push_back(m);
    }

    // A ruby over the text from base on. A reading may reach half a base
    // character past each end of its base, over kana, punctuation or space
    // but never over a kanji; what it needs beyond that becomes space around
    // the base, half-width spaces evenly on both sides, which the ruby then
    // covers too: the base stays on the grid and no ruby reaches over
    // another's.
    void addRuby(size_t base, const std::string &reading, bool kanjiAfter)
    {
        const std::string_view line = std::string_view(out()).substr(m_lineStart);
        const size_t before = charBefore(line, base - m_lineStart);
        const bool kanjiBefore = before != std::string_view::npos
                && (isKanjiLike(line.substr(before, base - m_lineStart - before))
                    || isGaijiAt(m_lineStart + before));
        int baseColumns = 0;
        const std::string_view bytes = std::string_view(out()).substr(base);
        for (size_t k = 0; k < bytes.size(); k += cp932CharLength(bytes, k))
            baseColumns += int(cp932CharLength(bytes, k));
        int readingColumns = 0; // one ruby character is half a base character
        for (unsigned char c : reading)
            readingColumns += (c & 0xC0) != 0x80;
        const int excess
                = readingColumns - baseColumns - (kanjiBefore ? 0 : 1) - (kanjiAfter ? 0 : 1);
        if (excess > 0) {
            const size_t side = size_t(excess + 1) / 2;
            const uint32_t file = m_out.filePlace(uint32_t(base));
            out().insert(base, side, ' ');
            shiftMarksFrom(base, uint32_t(side));
            out().append(side, ' ');
            // The base itself still starts where it did in the file.
            const FileAnchor moved{uint32_t(base + side), file};
            m_out.anchors.insert(std::upper_bound(m_out.anchors.begin(), m_out.anchors.end(), moved,
                                                  [](const FileAnchor &a, const FileAnchor &b) {
                                                      return a.at < b.at;
                                                  }),
                                 moved);
        }
        addMark(base, out().size(), MarkKind::Ruby, 0, reading);
    }

    // A run of one to four letters or digits (half- or full-width) stands
    // upright in one cell: the text keeps a single full-width cell for it,
    // as for a gaiji, and the mark carries the run in half-width characters.
    // Any other run is left as it stands, on its side.
    void setUpright(size_t from, size_t to)
    {
        const std::string_view run = std::string_view(out()).substr(from, to - from);
        std::string upright;
        for (size_t k = 0; k < run.size(); k += cp932CharLength(run, k)) {
            const auto b = uint8_t(run[k]);
            const auto t = k + 1 < run.size() ? uint8_t(run[k + 1]) : 0;
            if (cp932CharLength(run, k) == 1 && std::isalnum(b))
                upright.push_back(char(b));
            else if (b == 0x82 && t >= 0x4F && t <= 0x58) // ０-９
                upright.push_back(char('0' + t - 0x4F));
            else if (b == 0x82 && t >= 0x60 && t <= 0x79) // Ａ-Ｚ
                upright.push_back(char('A' + t - 0x60));
            else if (b == 0x82 && t >= 0x81 && t <= 0x9A) // ａ-ｚ
                upright.push_back(char('a' + t - 0x81));
            else
                return;
        }
        if (upright.empty() || upright.size() > kMaxUprightCharacters)
            return;
        out().replace(from, to - from, kGetaMark);
        const uint32_t cut = uint32_t(to - from - kGetaMark.size());
        for (Mark &m : std::span(m_out.marks).subspan(m_lineFirstMark)) {
            m.from = m.from >= to ? m.from - cut : std::min<uint32_t>(m.from, uint32_t(from));
            m.to = m.to >= to ? m.to - cut : std::min<uint32_t>(m.to, uint32_t(from + 2));
        }
        for (OpenRange &r : m_open)
            if (r.from >= to)
                r.from -= cut;
        for (FileAnchor &a : std::span(m_out.anchors).subspan(m_lineFirstAnchor))
            a.at = a.at >= to ? a.at - cut : std::min<uint32_t>(a.at, uint32_t(from));
        setRunStart(std::string::npos);
        addMark(from, from + kGetaMark.size(), MarkKind::TateChuYoko, 0, upright);
    }

    bool isGaijiAt(size_t at) const
    {
        return !m_out.marks.empty() && m_out.marks.back().kind == MarkKind::Gaiji
                && m_out.marks.back().from == at;
    }

    // Appends the characters from i on that neither the notation nor the
    // normalisation concerns (every character either one touches starts
    // with 0x81, or is a tab): most of a text is such runs. Their kanji
    // runs are read only when asked for (runStart()). Returns how many
    // bytes it took.
    size_t appendPlain(std::string_view line, size_t i)
    {
        const auto *bytes = reinterpret_cast<const unsigned char *>(line.data());
        size_t j = i;
        while (j < line.size() && bytes[j] != 0x81 && bytes[j] != '\t')
            j += cp932CharLength(line, j);
        out().append(line.substr(i, j - i));
        return j - i;
    }

    // Appends one character of running text, normalised.
    void emit(std::string_view c, bool kanjiLike)
    {
        m_beforeLast = {m_runKnownAt, m_runStart, out().size()};
        size_t run = std::string::npos;
        if (kanjiLike) {
            run = runStart();
            if (run == std::string::npos)
                run = out().size();
        }
        std::string_view with = c;
        for (const Replacement &r : kNormalisation)
            if (r.find.size() == 1 ? c.size() == 1 && c[0] == r.find[0] : isChar(c, r.find))
                with = r.with;
        out().append(with);
        m_lineExtra += with.size() - c.size();
        setRunStart(run);
    }

    // Where the run of kanji (and what counts as kanji for a ruby base) that
    // ends the text starts, or npos. Worked out when a ruby or a gaiji asks,
    // from the last place it was known: few characters are ever asked about.
    size_t runStart()
    {
        m_runStart = runAfter({m_runKnownAt, m_runStart, out().size()});
        m_runKnownAt = out().size();
        return m_runStart;
    }

    void setRunStart(size_t run)
    {
        m_runStart = run;
        m_runKnownAt = out().size();
    }

    // A run start known at one place of the text, and a later place.
    struct RunState
    {
        size_t knownAt = 0;
        size_t run = std::string::npos;
        size_t at = 0;
    };

    // The run start at s.at, reading the characters from s.knownAt.
    size_t runAfter(const RunState &s) const
    {
        const std::string_view text = std::string_view(m_out.text).substr(0, s.at);
        size_t run = s.run;
        for (size_t j = s.knownAt; j < text.size();) {
            const size_t len = cp932CharLength(text, j);
            if (len == 1 || !isKanjiLike(uint8_t(text[j]), uint8_t(text[j + 1])))
                run = std::string::npos;
            else if (run == std::string::npos)
                run = j;
            j += len;
        }
        return run;
    }

    void parseLine(std::string_view line)
    {
        m_lineStart = out().size();
        m_lineFirstMark = m_out.marks.size();
        m_lineExtra = 0;
        m_markupExtra = 0;
        keepInStep(0);
        m_lineFirstAnchor = m_out.anchors.size() - 1;
        setRunStart(std::string::npos);
        m_lineIndent = std::nullopt;
        m_toFoot = std::nullopt;
        bool hadNote = false;
        size_t bar = std::string::npos; // where a ｜ put the next ruby's base
        for (size_t i = 0; i < line.size();) {
            keepInStep(i);
            if (const size_t plain = appendPlain(line, i)) {
                i += plain;
                continue;
            }
            const size_t len = cp932CharLength(line, i);
            const std::string_view c = line.substr(i, len);
            const std::string_view rest = line.substr(i);
            if (isChar(c, kBar)) {
                const size_t open = line.find(kRubyOpen, i + 2);
                if (open != std::string_view::npos && open > i + 2 && isCharStart(line, open)
                    && rubyEnd(line, open) != std::string_view::npos) {
                    bar = out().size();
                    i += 2;
                    continue;
                }
            } else if (isChar(c, kRubyOpen)) {
                const size_t close = rubyEnd(line, i);
                if (close != std::string_view::npos) {
                    const size_t base = bar != std::string::npos ? bar : runStart();
                    if (base != std::string::npos && base < out().size()) {
                        const std::string_view next = line.substr(close + 2);
                        const bool kanjiAfter = isKanjiLike(next.substr(0, 2))
                                || startsWith(next, kBar) || startsWith(next, kRefMark);
                        addRuby(base, reading(line.substr(i + 2, close - i - 2)), kanjiAfter);
                        countDropped(line.substr(i, close + 2 - i));
                        bar = std::string::npos;
                        setRunStart(std::string::npos);
                        i = close + 2;
                        continue;
                    }
                }
                if (bar != std::string::npos) {
                    restoreBar(bar);
                    bar = std::string::npos;
                }
            } else if (isChar(c, kBracketOpen) && isChar(rest.substr(2, 2), kNoteOpen.substr(2))) {
                const size_t end = noteEnd(line, i);
                if (end != std::string_view::npos) {
                    hadNote = true;
                    note(line.substr(i + 4, end - i - 6));
                    countDropped(line.substr(i, end - i));
                    i = end;
                    continue;
                }
            } else if (isChar(c, kSlash)) {
                const bool voiced = startsWith(rest.substr(2), kDakuten);
                const std::string_view after = rest.substr(voiced ? 4 : 2, 2);
                if (after == kBackslash) {
                    const size_t from = out().size();
                    emit(kSlash, false);
                    emit(kBackslash, false);
                    addMark(from, out().size(), MarkKind::Kunoji, 0, voiced ? "〴〵" : "〳〵");
                    i += voiced ? 6 : 4;
                    continue;
                }
            }
            emit(c, isKanjiLike(c));
            i += len;
        }
        if (bar != std::string::npos)
            restoreBar(bar);
        endLine(hadNote);
    }

    // A ｜ that found no reading is text after all.
    void restoreBar(size_t bar)
    {
        runStart(); // from what the insertion moves
        out().insert(bar, kBar);
        shiftMarksFrom(bar, 2);
        m_runKnownAt = out().size();
    }

    // The file's normalised text keeps the markup the parse drops; what
    // the normalisation makes of it still counts in the file's places.
    void countDropped(std::string_view markup)
    {
        m_markupExtra += normalisedLength(markup) - markup.size();
    }

    bool isCharStart(std::string_view line, size_t at) const
    {
        size_t i = knownBoundary(line, at);
        while (i < at)
            i += cp932CharLength(line, i);
        return i == at;
    }

    // Notes that byte i of the line is where the text stands now, when the
    // markup before it has put the two out of step.
    void keepInStep(size_t i)
    {
        const auto at = uint32_t(out().size());
        const auto file = uint32_t(m_lineFile + i + m_lineExtra);
        std::vector<FileAnchor> &anchors = m_out.anchors;
        if (!anchors.empty() && anchors.back().at == at) {
            anchors.back().file = file; // nothing of the text lies between
            return;
        }
        if (anchors.empty() || at - anchors.back().at != file - anchors.back().file)
            anchors.push_back({at, file});
    }

    void shiftMarksFrom(size_t at, uint32_t by)
    {
        // Only marks of the line in hand reach past a point in it.
        for (Mark &m : std::span(m_out.marks).subspan(m_lineFirstMark)) {
            if (m.from >= at)
                m.from += by;
            if (m.to > at)
                m.to += by;
        }
        for (FileAnchor &a : std::span(m_out.anchors).subspan(m_lineFirstAnchor))
            if (a.at > at)
                a.at += by;
        for (OpenRange &r : m_open)
            if (r.from > at)
                r.from += by;
        if (m_toFoot && m_footFrom >= at)
            m_footFrom += by;
    }

    void endLine(bool hadNote)
    {
        const bool empty = out().size() == m_lineStart;
        if (empty && hadNote)
            return; // a line of notes alone: the notes are gone, so is the line
        LineFormat f;
        f.line = m_lineCount++;
        const Indent indent = m_lineIndent.value_or(m_block);
        f.indent = uint8_t(std::min(indent.first, 16));
        f.wrapIndent = uint8_t(std::min(indent.wrap, 16));
        if (m_toFoot) {
            f.toFoot = true;
            f.raise = uint8_t(std::min(*m_toFoot, 16));
            f.footFrom = uint32_t(m_footFrom - m_lineStart);
        }
        f.pageBefore = m_pageBreak;
        m_pageBreak = false;
        if (f.indent || f.wrapIndent || f.toFoot || f.pageBefore)
            m_out.lines.push_back(f);
        out().append(kCrLf);
    }

    // The reading as drawn: kunoji joined, gaiji resolved, other notes gone.
    std::string reading(std::string_view r)
    {
        std::string utf8;
        std::string plain;
        auto flush = [&] {
            utf8 += toUtf8(plain);
            plain.clear();
        };
        for (size_t i = 0; i < r.size();) {
            const std::string_view rest = r.substr(i);
            if (startsWith(rest, kSlash) && startsWith(rest.substr(2), kBackslash)) {
                flush();
                utf8 += "〳〵";
                i += 4;
            } else if (startsWith(rest, kSlash) && startsWith(rest.substr(2), kDakuten)
                       && startsWith(rest.substr(4), kBackslash)) {
                flush();
                utf8 += "〴〵";
                i += 6;
            } else if (startsWith(rest, kRefMark) && startsWith(rest.substr(2), kNoteOpen)
                       && noteEnd(r, i + 2) != std::string_view::npos) {
                flush();
                const size_t end = noteEnd(r, i + 2);
                const std::string g = gaijiCharacter(toUtf8(r.substr(i + 6, end - i - 8)));
                utf8 += g.empty() ? "〓" : g;
                i = end;
            } else if (startsWith(rest, kNoteOpen) && noteEnd(r, i) != std::string_view::npos) {
                i = noteEnd(r, i);
            } else {
                const size_t len = cp932CharLength(r, i);
                plain.append(r.substr(i, len));
                i += len;
            }
        }
        flush();
        return utf8;
    }

    struct OpenRange
    {
        size_t from;
        RangeStyle style;
    };

    void closeOpenRanges()
    {
        for (const OpenRange &r : m_open)
            if (r.from < out().size())
                addMark(r.from, out().size(), r.style.kind, r.style.form);
        m_open.clear();
    }

    void note(std::string_view raw)
    {
        // ※［＃…］: the ※ and its note become one cell.
        if (out().size() >= m_lineStart + 2 && endsWith(out(), kRefMark)
            && isCharStart(std::string_view(out()).substr(m_lineStart),
                           out().size() - 2 - m_lineStart)) {
            const size_t from = out().size() - 2;
            out().resize(from);
            const std::string g = gaijiCharacter(toUtf8(raw));
            // The ※ ended the kanji run before it; the character it names continues it.
            const size_t runStart = runAfter(m_beforeLast);
            const bool keepRun = runStart != std::string::npos && runStart < from;
            emit(kGetaMark, false);
            addMark(from, out().size(), MarkKind::Gaiji, 0, g);
            // A gaiji is a kanji the code page lacks: it joins a kanji run
            // before a ruby, also when its note names no code.
            setRunStart(keepRun ? runStart : from);
            return;
        }
        const std::string s = toUtf8(raw);
        std::string_view v(s);

        if (startsWith(v, "「")) {
            const size_t close = v.rfind("」");
            if (close == std::string_view::npos)
                return;
            const std::string target = normaliseText(fromUtf8(v.substr(3, close - 3)));
            std::string_view what = v.substr(close + 3);
            std::optional<RangeStyle> style;
            if (startsWith(what, "に"))
                style = rangeStyle(what.substr(3));
            else if (startsWith(what, "の左に"))
                style = rangeStyle(std::string("左に").append(what.substr(9)));
            else if (startsWith(what, "は"))
                style = rangeStyle(what.substr(3));
            const std::string_view line = std::string_view(out()).substr(m_lineStart);
            if (style && !target.empty() && endsWith(line, target))
                addMark(out().size() - target.size(), out().size(), style->kind, style->form);
            return;
        }
        if (endsWith(v, "終わり")) {
            const std::optional<RangeStyle> style = rangeStyle(v.substr(0, v.size() - 9));
            if (v == "ここで字下げ終わり") {
                m_block = Indent{};
                return;
            }
            if (!style)
                return;
            for (auto it = m_open.rbegin(); it != m_open.rend(); ++it) {
                if (it->style.kind == style->kind) {
                    if (it->from < out().size())
                        addMark(it->from, out().size(), style->kind, it->style.form);
                    m_open.erase(std::next(it).base());
                    break;
                }
            }
            return;
        }
        if (const std::optional<RangeStyle> style = rangeStyle(v)) {
            m_open.push_back({out().size(), *style});
            return;
        }
        if (startsWith(v, "ここから")) {
            if (const std::optional<Indent> in = indentNote(v.substr(12)))
                m_block = *in;
            return;
        }
        if (const std::optional<Indent> in = indentNote(v)) {
            m_lineIndent = *in;
            return;
        }
        // Only the text after the note goes to the foot: a note in mid-line
        // sets a date or a signature below the paragraph's last words.
        if (v == "地付き") {
            m_toFoot = 0;
            m_footFrom = out().size();
            return;
        }
        if (startsWith(v, "地から")) {
            std::string_view n = v.substr(9);
            if (const std::optional<int> raise = leadingNumber(n); raise && n == "字上げ") {
                m_toFoot = *raise;
                m_footFrom = out().size();
            }
            return;
        }
        if (v == "改ページ" || v == "改頁" || v == "改丁" || v == "改見開き" || v == "改段")
            m_pageBreak = true;
        // Anything else is an editorial note: it leaves the running text.
    }

    AozoraText m_out;
    size_t m_lineStart = 0;
    size_t m_lineFirstMark = 0;   // the first mark made on the line in hand
    size_t m_lineFirstAnchor = 0; // the anchor of the line in hand's start
    size_t m_lineFile = 0;        // where the line in hand starts in the file
    size_t m_lineExtra = 0;       // what the normalisation added to it so far
    size_t m_markupExtra = 0;     // what it adds to the line's markup, which the text drops
    size_t m_runStart = std::string::npos; // start of the kanji run ending the text
    size_t m_runKnownAt = 0;               // ... as it stood when the text ended here
    RunState m_beforeLast;                 // the run start before the last emit()
    uint32_t m_lineCount = 0;
    Indent m_block;
    std::optional<Indent> m_lineIndent;
    std::optional<int> m_toFoot;
    size_t m_footFrom = 0; // where the text set at the foot starts
    bool m_pageBreak = false;
    std::vector<OpenRange> m_open;
};

} // namespace

bool isAozoraText(std::string_view text)
{
    static const std::string heading = fromUtf8(kLegendHeading);
    static const std::string colophon = "\r\n" + fromUtf8("底本：");
    if (text.find(heading) != std::string_view::npos)
        return true;
    const size_t note = text.find(kNoteOpen);
    if (note == std::string_view::npos || text.find(kBracketClose, note) == std::string_view::npos)
        return false;
    return text.find(colophon) != std::string_view::npos
            || text.find(std::string_view(colophon).substr(1)) != std::string_view::npos;
}

uint32_t AozoraText::filePlace(uint32_t at) const
{
    size_t passed = 0;
    return filePlace(at, passed);
}

uint32_t AozoraText::filePlace(uint32_t at, size_t &passed) const
{
    // A first call, or a place before the last: searched for.
    if (passed == 0 || passed > anchors.size() || anchors[passed - 1].at > at) {
        passed = size_t(std::upper_bound(anchors.begin(), anchors.end(), at,
                                         [](uint32_t a, const FileAnchor &b) { return a < b.at; })
                        - anchors.begin());
    } else {
        while (passed < anchors.size() && anchors[passed].at <= at)
            ++passed;
    }
    return passed == 0 ? at : anchors[passed - 1].file + (at - anchors[passed - 1].at);
}

AozoraText parseAozora(std::string_view text)
{
    return Parser().parse(text);
}

std::string gaijiCharacter(std::string_view note)
{
    // plane-row-cell: three ASCII numbers joined by hyphens
    for (size_t i = 0; i < note.size(); ++i) {
        if (!(note[i] >= '1' && note[i] <= '2')
            || (i > 0 && std::isdigit((unsigned char)note[i - 1])))
            continue;
        std::string_view s = note.substr(i + 1);
        if (!startsWith(s, "-"))
            continue;
        s.remove_prefix(1);
        const std::optional<int> row = leadingNumber(s);
        if (!row || !startsWith(s, "-"))
            continue;
        s.remove_prefix(1);
        const std::optional<int> cell = leadingNumber(s);
        if (!cell || *row < 1 || *row > 94 || *cell < 1 || *cell > 94)
            return {};
        std::string euc;
        if (note[i] == '2')
            euc.push_back('\x8F');
        euc.push_back(char(0xA0 + *row));
        euc.push_back(char(0xA0 + *cell));
        const std::string utf8 = jisx0213ToUtf8(euc);
        return utf8.find("\xE3\x80\x93") == std::string::npos ? utf8 : std::string();
    }
    const size_t u = note.find("U+");
    if (u != std::string_view::npos) {
        uint32_t cp = 0;
        size_t digits = 0;
        for (size_t i = u + 2;
             i < note.size() && digits < 7 && std::isxdigit((unsigned char)note[i]); ++i, ++digits)
            cp = cp * 16
                    + uint32_t(std::isdigit((unsigned char)note[i])
                                       ? note[i] - '0'
                                       : (std::tolower((unsigned char)note[i]) - 'a' + 10));
        if (digits < 4 || digits > 6 || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return {};
        std::string utf8;
        appendUtf8(utf8, cp);
        return utf8;
    }
    return {};
}

} // namespace corvane

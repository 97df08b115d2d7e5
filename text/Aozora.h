// Aozora Bunko's plain-text markup: ruby 《》 with its ｜ base marker, the
// notes ［＃…］ (gaiji after ※, emphasis, headings, indents, page breaks,
// tate-chu-yoko, type style), the kunoji ／＼ and the legend block that
// explains them. This module alone knows the notation. It reads a text once,
// before the normalisation, and gives the text a reader sees (CP932, already
// normalised) with its annotations on byte ranges of that text.
//
// Recognition: a text is read as Aozora when it holds the legend heading
// 【テキスト中に現れる記号について】, or both a closed ［＃…］ note and a
// colophon line starting 底本： (the two things every Aozora file carries).
// Anything else, and the built-in text, is left as it stands.
//
// Markup that does not parse is text: an unclosed 《 or ［＃, a ］ without its
// ［＃, a ruby without a base (or over kMaxReadingBytes), a ｜ with no ruby
// after it stay in the text as they stand. Notes nest by their brackets; a
// note that means nothing here (editorial remarks, tables, illustrations) is
// dropped, and a line that held only such notes goes with them. No character
// of the running text is ever lost.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class MarkKind : uint8_t {
    Ruby,        // text: the reading (UTF-8)
    Emphasis,    // form: EmphasisForm; one mark per character of the range
    Gaiji,       // one cell holding 〓 in the text; text: the character(s), empty when unknown
    Kunoji,      // two cells; text: 〳〵 or 〴〵
    Heading,     // form: 1 large, 2 middle, 3 small
    TateChuYoko, // one cell holding 〓 in the text; text: the run set upright in it (ASCII)
    Bold,        // a heavier face for the range (太字, ゴシック体)
};

// The kinds drawn in a heavier face.
constexpr bool isHeavy(MarkKind k)
{
    return k == MarkKind::Heading || k == MarkKind::Bold;
}

// Emphasis forms, in the order of kEmphasisMarks.
enum class EmphasisForm : uint8_t {
    Sesame,
    WhiteSesame,
    Dot,
    WhiteDot,
    Triangle,
    WhiteTriangle,
    Bullseye,
    Fisheye,
    Cross
};
inline constexpr char32_t kEmphasisMarks[]
        = {U'﹅', U'﹆', U'●', U'○', U'▲', U'△', U'◎', U'◉', U'×'};
inline constexpr uint8_t kLeftSide = 0x80; // emphasis form flag: on the other side

// An annotation on the bytes [from, to) of the reader's text. Its text, if
// any, lies in AozoraText::strings at [text, text + textLength).
struct Mark
{
    uint32_t from = 0;
    uint32_t to = 0;
    MarkKind kind = MarkKind::Ruby;
    uint8_t form = 0;
    uint16_t textLength = 0;
    uint32_t text = 0;
};

// How a line of the reader's text is set. Lines not listed are plain.
struct LineFormat
{
    uint32_t line = 0;       // 0-based line of AozoraText::text
    uint8_t indent = 0;      // ems before the first row
    uint8_t wrapIndent = 0;  // ems before each further row
    uint8_t raise = 0;       // ems between the line's end and the column foot
    bool toFoot = false;     // 地付き / 地からＮ字上げ: the line ends at the foot, raised
    uint32_t footFrom = 0;   // with toFoot: the byte of the line the text at the foot starts at
    bool pageBefore = false; // a page break comes before this line
};

// Where the reader's text and the file run in step: from byte `at` of the
// text on, each byte is the next byte of the file, counted at `file` in the
// file's normalised text with two bytes for every line break. The file's
// place of a character is what both modes of reading share.
struct FileAnchor
{
    uint32_t at = 0;
    uint32_t file = 0;
};

struct AozoraText
{
    std::string text;                // CP932, normalised, lines ended by CR LF
    std::vector<Mark> marks;         // sorted by from
    std::vector<LineFormat> lines;   // sorted by line
    std::string strings;             // UTF-8 texts of the marks
    bool pageBreakAtEnd = false;     // a page break after the last line
    std::vector<FileAnchor> anchors; // sorted by at; one where markup broke the step

    // The file's place of byte at of the text.
    uint32_t filePlace(uint32_t at) const;
    // The same for places asked in order, as the layout asks them: passed
    // on from one call to the next, `passed` counts the anchors behind.
    uint32_t filePlace(uint32_t at, size_t &passed) const;

    std::string_view markText(const Mark &m) const
    {
        return std::string_view(strings).substr(m.text, m.textLength);
    }
};

// Longer runs marked 縦中横 stay on their side: four is the most one em holds.
inline constexpr std::size_t kMaxUprightCharacters = 4;

// Longer readings are no ruby but text, so a runaway 《 cannot make a huge block.
inline constexpr std::size_t kMaxReadingBytes = 200;

// True when text (CP932) is to be read as an Aozora Bunko text.
bool isAozoraText(std::string_view text);

// Reads the markup of text (CP932 as loaded, not yet normalised).
AozoraText parseAozora(std::string_view text);

// The character a gaiji note names: a JIS X 0213 plane-row-cell (第3水準1-85-76
// or a bare 1-6-84) through EUC-JISX0213, else U+XXXX; empty when it names
// none that exists. UTF-8.
std::string gaijiCharacter(std::string_view note);

} // namespace corvane

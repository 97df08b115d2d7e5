// The one place that turns the program's face names into installed fonts.
//
// The program asks for the Windows faces "ＭＳ 明朝", "ＭＳ ゴシック" (and
// their vertical "@" forms), "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝" and "Times New
// Roman"; they are drawn with IPAMincho, IPAGothic, IPAPGothic, IPAPMincho and
// Liberation Serif, found through fontconfig. When an IPA face is missing,
// another installed Japanese face with vertical forms stands in.
//
// Heights are those of a logical font: positive is the cell height, negative
// the em. The faces the program names have a cell of exactly one em, so
// either way the em is the height asked for; the stand-ins' own taller cells
// (1.10 em for IPAMincho) would otherwise shrink the text by a pixel or two.
#pragma once
#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <map>
#include <memory>
#include <optional>
#include <vector>

struct hb_font_t;

class QFile;

namespace corvane {

// Glyph outlines are hinted the same way on every machine, whatever the
// user's fontconfig asks for: vertical-only hinting keeps the horizontal
// strokes of kanji crisp at 16 px without pulling the glyphs' shapes about.
inline constexpr QFont::HintingPreference kGlyphHinting = QFont::PreferVerticalHinting;

struct FaceChoice
{
    QString family; // installed family, e.g. "IPAMincho"
    bool vertical;  // "@" form: full-width glyphs upright down a column
};

// The installed family for a program face name; nullopt for an unknown name.
std::optional<FaceChoice> chooseFace(const QString &programFace);

// The font file fontconfig picks for family; empty when none is installed
// under that name (fontconfig would otherwise offer any fallback face).
QString findFontFile(const QString &family);

// An installed face that could stand in for a missing page face.
struct FallbackCandidate
{
    QString family;
    QString file;
    int index = 0;            // face index inside the file
    bool writesPages = false; // see faceWritesPages
    bool serif = false;       // looks like a Mincho (by its name)
};

// Whether a face can write a page: a glyph for every character of an
// ordinary page (kana, kanji, Latin letters and digits, punctuation), and for
// each punctuation mark that turns in a column (、。「」（）ー… and the like)
// a vertical form of its own, substituted by its GSUB 'vert' or 'vrt2'. A
// face that merely lists those features, as Droid Sans Fallback does, writes
// brackets lying on their side and Latin as boxes.
bool faceWritesPages(hb_font_t *font);

// The best stand-in among candidates for a Mincho (gothic false) or Gothic
// face: only a first face in its file that writes pages will do (the
// rasteriser reads face 0 only); a face of the right style beats one of the
// other, and the known Japanese families come before the rest in their order.
std::optional<FallbackCandidate> chooseFallback(const std::vector<FallbackCandidate> &candidates,
                                                bool gothic);

// Japanese faces fontconfig knows (language "ja"), with what chooseFallback needs.
std::vector<FallbackCandidate> japaneseFaces();

// The packages that bring the page faces, for the message when none is found.
QString pageFontPackages();

// Pixel sizes of a face at one logical height, rounded to whole pixels as the
// platform's rasteriser does for outline fonts.
struct FaceMetrics
{
    int pixelSize = 0; // em height, which is also the cell height
    int ascent = 0;    // baseline below the top of the cell
    int descent = 0;   // ascent + descent = pixelSize
    int cellHeight() const { return ascent + descent; }
};

// One font file, loaded once for shaping (HarfBuzz, in font units) and for
// drawing (QRawFont, one per pixel size, kept).
class Face
{
public:
    static std::unique_ptr<Face> load(const QString &fileName);
    ~Face();
    Face(const Face &) = delete;
    Face &operator=(const Face &) = delete;

    const QString &fileName() const { return m_fileName; }
    hb_font_t *hbFont() const { return m_hbFont; }
    int unitsPerEm() const { return m_upem; }

    FaceMetrics metrics(int logicalHeight) const;
    // Hinting is pinned (see kGlyphHinting), not taken from the user's
    // fontconfig, so that every machine draws the same page.
    const QRawFont &rawFont(int pixelSize) const;

private:
    Face() = default;
    QString m_fileName;
    // The font file mapped, not read: only the tables and glyphs used become
    // resident, and those pages are shared with every other reader of the
    // file. Declared before the data so that it outlives every user of it.
    std::unique_ptr<QFile> m_file;
    QByteArray m_data; // the mapping, or a copy where the file cannot be mapped
    hb_font_t *m_hbFont = nullptr;
    int m_upem = 0;
    int m_ascender = 0;  // the em box's split at the baseline, font units
    int m_descender = 0; // (positive below the baseline)
    mutable std::map<int, QRawFont> m_rawFonts;
};

// Faces by program face name, each file loaded on first use and kept.
class FaceLibrary
{
public:
    FaceLibrary();
    ~FaceLibrary();

    // nullptr when the name is unknown or neither its font nor a stand-in
    // is installed.
    const Face *face(const QString &programFace) const;
    // The family that draws programFace (a fallback's when the usual one is
    // missing); empty when none.
    QString family(const QString &programFace) const;

    // A QFont for widgets and labels: the installed family at the logical
    // height's pixel size. weight is a logical-font weight (400 normal,
    // 700 bold).
    QFont font(const QString &programFace, int logicalHeight, int weight = 400) const;

private:
    mutable std::map<QString, std::unique_ptr<Face>> m_byFile;
    mutable std::map<QString, const Face *> m_byName;
    mutable std::map<QString, QString> m_familyByName;
};

} // namespace corvane

// The one place that turns the program's face names into installed fonts.
//
// The program asks for the Windows faces "ＭＳ 明朝", "ＭＳ ゴシック" (and
// their vertical "@" forms), "ＭＳ Ｐゴシック", "ＭＳ Ｐ明朝" and "Times New
// Roman"; they are drawn with IPAMincho, IPAGothic, IPAPGothic, IPAPMincho and
// Liberation Serif, found through fontconfig. Heights are those of a logical
// font: positive is the cell height (ascent plus descent), negative the em.
#pragma once
#include <QByteArray>
#include <QFont>
#include <QRawFont>
#include <QString>

#include <map>
#include <memory>
#include <optional>

struct hb_font_t;

namespace corvane {

struct FaceChoice
{
    QString family;   // installed family, e.g. "IPAMincho"
    bool vertical;    // "@" form: full-width glyphs upright down a column
};

// The installed family for a program face name; nullopt for an unknown name.
std::optional<FaceChoice> chooseFace(const QString &programFace);

// The font file fontconfig picks for family; empty when none is installed
// under that name (fontconfig would otherwise offer any fallback face).
QString findFontFile(const QString &family);

// Pixel sizes of a face at one logical height, rounded to whole pixels as the
// platform's rasteriser does for outline fonts.
struct FaceMetrics
{
    int pixelSize = 0; // em height
    int ascent = 0;    // baseline below the top of the cell
    int descent = 0;
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
    const QRawFont &rawFont(int pixelSize) const;

private:
    Face() = default;
    QString m_fileName;
    QByteArray m_data;
    hb_font_t *m_hbFont = nullptr;
    int m_upem = 0;
    int m_winAscent = 0;  // the cell a positive logical height measures
    int m_winDescent = 0;
    mutable std::map<int, QRawFont> m_rawFonts;
};

// Faces by program face name, each file loaded on first use and kept.
class FaceLibrary
{
public:
    FaceLibrary();
    ~FaceLibrary();

    // nullptr when the name is unknown or its font is not installed.
    const Face *face(const QString &programFace) const;
    bool isVertical(const QString &programFace) const;

    // A QFont for widgets and labels: the installed family at the logical
    // height's pixel size. weight is a logical-font weight (400 normal,
    // 700 bold).
    QFont font(const QString &programFace, int logicalHeight, int weight = 400) const;

private:
    mutable std::map<QString, std::unique_ptr<Face>> m_byFile;
    mutable std::map<QString, const Face *> m_byName;
};

} // namespace corvane

// Face names to font files through fontconfig; font files to HarfBuzz and
// QRawFont objects, cached for the life of the library.
#include "writing/Faces.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <fontconfig/fontconfig.h>
#include <hb-ot.h>
#include <hb.h>

namespace corvane {

std::optional<FaceChoice> chooseFace(const QString &programFace)
{
    struct Entry
    {
        const char16_t *name;
        const char *family;
    };
    const Entry table[] = {
        {u"ＭＳ 明朝", "IPAMincho"},
        {u"ＭＳ ゴシック", "IPAGothic"},
        {u"ＭＳ Ｐゴシック", "IPAPGothic"},
        {u"ＭＳ Ｐ明朝", "IPAPMincho"},
        {u"Times New Roman", "Liberation Serif"},
    };
    const bool vertical = programFace.startsWith(u'@');
    const QString base = vertical ? programFace.mid(1) : programFace;
    for (const Entry &e : table) {
        if (base == QString::fromUtf16(e.name))
            return FaceChoice{QString::fromLatin1(e.family), vertical};
    }
    return std::nullopt;
}

QString findFontFile(const QString &family)
{
    if (!FcInit())
        return {};
    const QByteArray familyUtf8 = family.toUtf8();
    FcPattern *pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(familyUtf8.constData()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, FC_SLANT_ROMAN);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern *match = FcFontMatch(nullptr, pattern, &result);
    QString file;
    if (match) {
        // fontconfig always answers with something; only a face that really
        // carries the family asked for will do.
        bool familyMatches = false;
        FcChar8 *name = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
            if (QString::fromUtf8(reinterpret_cast<const char *>(name)).compare(family, Qt::CaseInsensitive) == 0)
                familyMatches = true;
        }
        FcChar8 *path = nullptr;
        if (familyMatches && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch)
            file = QString::fromUtf8(reinterpret_cast<const char *>(path));
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

std::unique_ptr<Face> Face::load(const QString &fileName)
{
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly))
        return nullptr;
    std::unique_ptr<Face> face(new Face);
    face->m_fileName = fileName;
    face->m_data = f.readAll();
    if (face->m_data.isEmpty())
        return nullptr;

    // HarfBuzz reads the bytes the QByteArray keeps alive for the Face's life.
    hb_blob_t *blob = hb_blob_create(face->m_data.constData(), unsigned(face->m_data.size()),
                                     HB_MEMORY_MODE_READONLY, nullptr, nullptr);
    hb_face_t *hbFace = hb_face_create(blob, 0);
    hb_blob_destroy(blob);
    face->m_upem = int(hb_face_get_upem(hbFace));
    face->m_hbFont = hb_font_create(hbFace);
    hb_face_destroy(hbFace);
    if (face->m_upem <= 0 || hb_face_get_glyph_count(hb_font_get_face(face->m_hbFont)) == 0)
        return nullptr;
    hb_font_set_scale(face->m_hbFont, face->m_upem, face->m_upem);
    hb_ot_font_set_funcs(face->m_hbFont);

    hb_position_t ascent = 0, descent = 0;
    hb_ot_metrics_get_position(face->m_hbFont, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_ASCENT, &ascent);
    hb_ot_metrics_get_position(face->m_hbFont, HB_OT_METRICS_TAG_HORIZONTAL_CLIPPING_DESCENT, &descent);
    if (ascent <= 0 || descent < 0) {
        hb_font_extents_t ext{};
        hb_font_get_h_extents(face->m_hbFont, &ext);
        ascent = ext.ascender;
        descent = -ext.descender;
    }
    face->m_winAscent = ascent;
    face->m_winDescent = std::max(0, int(descent));
    if (face->m_winAscent + face->m_winDescent <= 0)
        return nullptr;
    return face;
}

Face::~Face()
{
    if (m_hbFont)
        hb_font_destroy(m_hbFont);
}

FaceMetrics Face::metrics(int logicalHeight) const
{
    FaceMetrics m;
    if (logicalHeight == 0)
        return m;
    const double cell = m_winAscent + m_winDescent;
    // Positive: the cell (ascent + descent) is the height asked for, so the em
    // is smaller by upem / cell. Negative: the em itself.
    const double em = logicalHeight > 0 ? logicalHeight * double(m_upem) / cell : double(-logicalHeight);
    m.pixelSize = std::max(1, int(std::lround(em)));
    m.ascent = int(std::lround(m_winAscent * double(m.pixelSize) / m_upem));
    m.descent = int(std::lround(m_winDescent * double(m.pixelSize) / m_upem));
    return m;
}

const QRawFont &Face::rawFont(int pixelSize) const
{
    auto it = m_rawFonts.find(pixelSize);
    if (it == m_rawFonts.end())
        it = m_rawFonts.emplace(pixelSize, QRawFont(m_data, pixelSize, QFont::PreferDefaultHinting)).first;
    return it->second;
}

FaceLibrary::FaceLibrary() = default;
FaceLibrary::~FaceLibrary() = default;

const Face *FaceLibrary::face(const QString &programFace) const
{
    auto named = m_byName.find(programFace);
    if (named != m_byName.end())
        return named->second;
    const Face *result = nullptr;
    if (const auto choice = chooseFace(programFace)) {
        const QString file = findFontFile(choice->family);
        if (!file.isEmpty()) {
            auto loaded = m_byFile.find(file);
            if (loaded == m_byFile.end())
                loaded = m_byFile.emplace(file, Face::load(file)).first;
            result = loaded->second.get();
        }
    }
    m_byName.emplace(programFace, result);
    return result;
}

bool FaceLibrary::isVertical(const QString &programFace) const
{
    const auto choice = chooseFace(programFace);
    return choice && choice->vertical;
}

QFont FaceLibrary::font(const QString &programFace, int logicalHeight, int weight) const
{
    QFont f;
    const auto choice = chooseFace(programFace);
    if (choice)
        f.setFamily(choice->family);
    int pixelSize = logicalHeight < 0 ? -logicalHeight : logicalHeight;
    if (const Face *fc = face(programFace))
        pixelSize = fc->metrics(logicalHeight).pixelSize;
    if (pixelSize > 0)
        f.setPixelSize(pixelSize);
    // A logical weight of 550 or more is drawn bold (synthesised when the
    // face has no bold of its own); the IPA faces have one weight only.
    f.setWeight(weight >= 550 ? QFont::Bold : QFont::Normal);
    return f;
}

} // namespace corvane

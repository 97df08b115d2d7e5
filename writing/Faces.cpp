// Face names to font files through fontconfig; font files to HarfBuzz and
// QRawFont objects, cached for the life of the library.
#include "writing/Faces.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <span>
#include <tuple>
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
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8 *>(familyUtf8.constData()));
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
            if (QString::fromUtf8(reinterpret_cast<const char *>(name))
                        .compare(family, Qt::CaseInsensitive)
                == 0)
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

namespace {

// clang-format off
// Marks drawn differently down a column than along a line.
constexpr char32_t kTurningPunctuation[] = U"、。「」『』（）《》ー…―～";
// What any page of Japanese prose is made of besides those.
constexpr char32_t kPageCharacters[] =
    U"あいうえおかがしじてでとなにのはばまをんアイウエオカガシジテデトナニノハバマヲンヴ"
    U"一二三人日本語文字漢々〆・：？！ＡＢＣａｂｃ０１２３"
    U"ABCXYZabcxyz0123456789.,:;!?'\"()-/%&";
// clang-format on

hb_codepoint_t glyphAlong(hb_font_t *font, char32_t c, hb_direction_t direction)
{
    hb_buffer_t *buffer = hb_buffer_create();
    const uint32_t text = c;
    hb_buffer_add_utf32(buffer, &text, 1, 0, 1);
    hb_buffer_guess_segment_properties(buffer);
    hb_buffer_set_direction(buffer, direction);
    hb_buffer_set_language(buffer, hb_language_from_string("ja", -1));
    hb_shape(font, buffer, nullptr, 0);
    unsigned count = 0;
    const hb_glyph_info_t *info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_codepoint_t glyph = count == 1 ? info[0].codepoint : 0;
    hb_buffer_destroy(buffer);
    return glyph;
}

bool fileWritesPages(const QString &file, int index)
{
    hb_blob_t *blob = hb_blob_create_from_file(QFile::encodeName(file).constData());
    hb_face_t *face = hb_face_create(blob, unsigned(index));
    hb_blob_destroy(blob);
    hb_font_t *font = hb_font_create(face);
    hb_face_destroy(face);
    const bool writes = faceWritesPages(font);
    hb_font_destroy(font);
    return writes;
}

bool looksSerif(const QString &family)
{
    for (const char16_t *word : {u"Mincho", u"Serif", u"明朝", u"Ming"})
        if (family.contains(QString::fromUtf16(word), Qt::CaseInsensitive))
            return true;
    return false;
}

} // namespace

bool faceWritesPages(hb_font_t *font)
{
    hb_codepoint_t glyph = 0;
    for (const char32_t *c = kPageCharacters; *c; ++c)
        if (!hb_font_get_nominal_glyph(font, *c, &glyph))
            return false;
    for (const char32_t *c = kTurningPunctuation; *c; ++c) {
        const hb_codepoint_t along = glyphAlong(font, *c, HB_DIRECTION_LTR);
        if (along == 0 || glyphAlong(font, *c, HB_DIRECTION_TTB) == along)
            return false;
    }
    return true;
}

std::vector<FallbackCandidate> japaneseFaces()
{
    std::vector<FallbackCandidate> out;
    if (!FcInit())
        return out;
    FcPattern *pattern = FcPatternCreate();
    FcLangSet *ja = FcLangSetCreate();
    FcLangSetAdd(ja, reinterpret_cast<const FcChar8 *>("ja"));
    FcPatternAddLangSet(pattern, FC_LANG, ja);
    FcLangSetDestroy(ja);
    FcObjectSet *objects = FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_INDEX, FC_OUTLINE, nullptr);
    FcFontSet *set = FcFontList(nullptr, pattern, objects);
    if (set) {
        for (int i = 0; i < set->nfont; ++i) {
            FcChar8 *family = nullptr, *file = nullptr;
            int index = 0;
            FcBool outline = FcFalse;
            if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch
                || FcPatternGetString(set->fonts[i], FC_FILE, 0, &file) != FcResultMatch)
                continue;
            FcPatternGetInteger(set->fonts[i], FC_INDEX, 0, &index);
            if (FcPatternGetBool(set->fonts[i], FC_OUTLINE, 0, &outline) == FcResultMatch
                && !outline)
                continue;
            FallbackCandidate c;
            c.family = QString::fromUtf8(reinterpret_cast<const char *>(family));
            c.file = QString::fromUtf8(reinterpret_cast<const char *>(file));
            c.index = index;
            c.serif = looksSerif(c.family);
            c.writesPages = index == 0 && fileWritesPages(c.file, index);
            out.push_back(std::move(c));
        }
        FcFontSetDestroy(set);
    }
    FcObjectSetDestroy(objects);
    FcPatternDestroy(pattern);
    std::sort(out.begin(), out.end(), [](const FallbackCandidate &a, const FallbackCandidate &b) {
        return std::tie(a.family, a.file, a.index) < std::tie(b.family, b.file, b.index);
    });
    return out;
}

std::optional<FallbackCandidate> chooseFallback(const std::vector<FallbackCandidate> &candidates,
                                                bool gothic)
{
    constexpr const char *kMincho[] = {"IPAexMincho",         "Noto Serif CJK JP", "Noto Serif JP",
                                       "Source Han Serif JP", "TakaoMincho",       "IPAPMincho"};
    constexpr const char *kGothic[]
            = {"IPAexGothic", "Noto Sans CJK JP", "Noto Sans JP", "Source Han Sans JP",
               "TakaoGothic", "VL Gothic",        "IPAPGothic"};
    auto rank = [&](const FallbackCandidate &c) {
        const std::span<const char *const> known = gothic ? std::span<const char *const>(kGothic)
                                                          : std::span<const char *const>(kMincho);
        const int style = c.serif == !gothic ? 0 : 1;
        for (size_t i = 0; i < known.size(); ++i)
            if (c.family.compare(QLatin1String(known[i]), Qt::CaseInsensitive) == 0)
                return std::pair(style, int(i));
        return std::pair(style, int(known.size()));
    };
    const FallbackCandidate *best = nullptr;
    for (const FallbackCandidate &c : candidates) {
        if (!c.writesPages || c.index != 0)
            continue;
        if (!best || rank(c) < rank(*best))
            best = &c;
    }
    if (!best)
        return std::nullopt;
    return *best;
}

QString pageFontPackages()
{
    return QStringLiteral("fonts-ipafont-mincho fonts-ipafont-gothic");
}

namespace {

// The glyphs of a page are grey-scale antialiased on every machine, as their
// hinting is: a fontconfig rule of ours, read after the user's, sets it for
// this one file whatever the user's rules said. The rasteriser reads it when
// it builds a font from the file's bytes.
void pinGreyscaleAntialiasing(const QString &fileName)
{
    if (!FcInit())
        return;
    const QByteArray file = fileName.toHtmlEscaped().toUtf8();
    const QByteArray rule = "<?xml version=\"1.0\"?><fontconfig><match target=\"font\">"
                            "<test name=\"file\"><string>"
            + file
            + "</string></test>"
              "<edit name=\"antialias\" mode=\"assign\"><bool>true</bool></edit>"
              "<edit name=\"rgba\" mode=\"assign\"><const>none</const></edit>"
              "</match></fontconfig>";
    FcConfigParseAndLoadFromMemory(FcConfigGetCurrent(),
                                   reinterpret_cast<const FcChar8 *>(rule.constData()), FcFalse);
}

} // namespace

std::unique_ptr<Face> Face::load(const QString &fileName)
{
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        return nullptr;
    std::unique_ptr<Face> face(new Face);
    face->m_fileName = fileName;
    const qint64 size = file->size();
    if (uchar *mapped = size > 0 ? file->map(0, size) : nullptr)
        face->m_data = QByteArray::fromRawData(reinterpret_cast<const char *>(mapped), size);
    else
        face->m_data = file->readAll();
    face->m_file = std::move(file);
    if (face->m_data.isEmpty())
        return nullptr;
    pinGreyscaleAntialiasing(fileName);

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

    // hhea's ascender and descender: for CJK faces they split the em box at
    // the baseline (IPAMincho: 1802 + 246 = 2048 units). The OS/2 win
    // metrics measure a taller clipping box, not the character cell.
    hb_font_extents_t ext{};
    hb_font_get_h_extents(face->m_hbFont, &ext);
    face->m_ascender = std::max(0, int(ext.ascender));
    face->m_descender = std::max(0, int(-ext.descender));
    if (face->m_ascender + face->m_descender <= 0) {
        face->m_ascender = face->m_upem * 7 / 8;
        face->m_descender = face->m_upem - face->m_ascender;
    }
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
    // The named faces' cell is one em, so a positive (cell) height and a
    // negative (em) height ask for the same size.
    m.pixelSize = std::abs(logicalHeight);
    const double share = double(m_ascender) / double(m_ascender + m_descender);
    m.ascent = int(std::lround(share * m.pixelSize));
    m.descent = m.pixelSize - m.ascent;
    return m;
}

const QRawFont &Face::rawFont(int pixelSize) const
{
    auto it = m_rawFonts.find(pixelSize);
    if (it == m_rawFonts.end())
        it = m_rawFonts.emplace(pixelSize, QRawFont(m_data, pixelSize, kGlyphHinting)).first;
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
    QString family;
    if (const auto choice = chooseFace(programFace)) {
        family = choice->family;
        QString file = findFontFile(family);
        // The Japanese faces may be replaced by any installed one that can
        // write vertically; Liberation Serif has nothing to stand in for.
        const bool japanese = family.startsWith(QLatin1String("IPA"));
        if (file.isEmpty() && japanese) {
            if (const auto fallback
                = chooseFallback(japaneseFaces(), family.contains(QLatin1String("Gothic")))) {
                file = fallback->file;
                family = fallback->family;
            }
        }
        if (!file.isEmpty()) {
            auto loaded = m_byFile.find(file);
            if (loaded == m_byFile.end())
                loaded = m_byFile.emplace(file, Face::load(file)).first;
            result = loaded->second.get();
        }
    }
    m_byName.emplace(programFace, result);
    m_familyByName.emplace(programFace, result ? family : QString());
    return result;
}

QString FaceLibrary::family(const QString &programFace) const
{
    face(programFace);
    return m_familyByName[programFace];
}

QFont FaceLibrary::font(const QString &programFace, int logicalHeight, int weight) const
{
    QFont f;
    if (const QString fam = family(programFace); !fam.isEmpty())
        f.setFamily(fam);
    else if (const auto choice = chooseFace(programFace))
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

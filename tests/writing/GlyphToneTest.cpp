// How glyphs come onto the picture: the density of the strokes, rules of "―"
// without holes, the same pixels whatever the user's fontconfig says, and
// the stand-in faces when the IPA fonts are missing.
#include "effects/Random.h"
#include "effects/TABitmap.h"
#include "text/PagedText.h"
#include "writing/GlyphPainter.h"
#include "writing/PageComposer.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corvane;

namespace {

TABitmap composed(const PageComposer &c, const std::vector<std::string> &rows,
                  const PageStyle &style)
{
    TABitmap page(481, 351);
    RandomGenerator random(3);
    c.compose(page, rows, style, random);
    return page;
}

PageStyle plain(bool horizontal)
{
    PageStyle s;
    s.horizontal = horizontal;
    s.tenderly = false;
    return s;
}

// Each pixel's share of the way from the background to the text colour,
// summed: the amount of ink on the page.
double inkSum(const TABitmap &page, quint32 text, quint32 background)
{
    double d[3], bg[3], dd = 0;
    for (int i = 0; i < 3; ++i) {
        bg[i] = (background >> (16 - 8 * i)) & 0xFF; // B, G, R as the bytes lie
        d[i] = double((text >> (16 - 8 * i)) & 0xFF) - bg[i];
        dd += d[i] * d[i];
    }
    double sum = 0;
    for (int y = 0; y < page.height(); ++y) {
        const uchar *p = page.image().constScanLine(y);
        for (int x = 0; x < page.width(); ++x, p += 3) {
            const double t
                    = ((p[0] - bg[0]) * d[0] + (p[1] - bg[1]) * d[1] + (p[2] - bg[2]) * d[2]) / dd;
            sum += std::clamp(t, 0.0, 1.0);
        }
    }
    return sum;
}

std::vector<std::string> rashomonPage(int page)
{
    QFile f(QStringLiteral(CORVANE_CORPUS_DIR "/akutagawa-rashomon.txt"));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    const std::vector<std::string> rows
            = pagedRows(std::string(bytes.constData(), size_t(bytes.size())), true);
    return {rows.begin() + 13 * (page - 1), rows.begin() + 13 * page};
}

// Puts a fontconfig configuration in place for one test and the system's
// back afterwards. Only this program's own face lookup goes through it.
class FontconfigScope
{
public:
    explicit FontconfigScope(const QString &fontsDir)
    {
        m_dir.setAutoRemove(true);
        const QString conf = m_dir.filePath(QStringLiteral("fonts.conf"));
        QFile f(conf);
        if (f.open(QIODevice::WriteOnly))
            f.write(QStringLiteral(
                            "<?xml "
                            "version=\"1.0\"?><fontconfig><dir>%1</dir><cachedir>%2</cachedir>"
                            "</fontconfig>")
                            .arg(fontsDir, m_dir.filePath(QStringLiteral("cache")))
                            .toUtf8());
        f.close();
        FcInit();
        FcConfig *config = FcConfigCreate();
        m_ok = FcConfigParseAndLoad(
                       config,
                       reinterpret_cast<const FcChar8 *>(QFile::encodeName(conf).constData()),
                       FcTrue)
                && FcConfigBuildFonts(config) && FcConfigSetCurrent(config);
        FcConfigDestroy(config); // the current configuration keeps its own reference
    }
    ~FontconfigScope()
    {
        FcConfig *system = FcInitLoadConfigAndFonts();
        FcConfigSetCurrent(system);
        FcConfigDestroy(system);
    }
    bool ok() const { return m_ok; }

private:
    QTemporaryDir m_dir;
    bool m_ok = false;
};

class GlyphToneTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!m_composer.isReady())
            GTEST_SKIP() << "page fonts not installed";
    }
    PageComposer m_composer;
};

} // namespace

// The strokes carry as much ink as Chromium gives the same rows (IPAMincho
// 16 px, vertical-rl, 30 px pitch): 7603 on page 3 of Rashomon in the default
// colours, measured with tools/compare-with-chromium.py. Linear coverage
// alone falls some 9 % short of it.
TEST_F(GlyphToneTest, StrokesAreAsDenseAsABrowsers)
{
    const double chromium = 7603.1;
    const TABitmap page = composed(m_composer, rashomonPage(3), plain(false));
    const double ours = inkSum(page, kDefaultTextColour, kDefaultBackground);
    EXPECT_NEAR(ours / chromium, 1.0, 0.03) << ours;

    // The curve leaves no ink and full ink alone and only adds in between.
    const std::array<uchar, 256> tone = toneCurve();
    EXPECT_EQ(tone[0], 0);
    EXPECT_EQ(tone[255], 255);
    for (int c = 1; c < 255; ++c)
        ASSERT_GE(tone[size_t(c)], std::max<int>(c, tone[size_t(c - 1)])) << c;
}

// A glyph laid twice on the mask at the same place leaves it as once: a
// bridged rule or an overstruck bold is no darker at its edges.
TEST_F(GlyphToneTest, OverlappingGlyphsKeepTheLargerCoverage)
{
    const auto runs = m_composer.layoutRow("\x8a\xbf\x8e\x9a", 0, false, false); // 漢字
    const Face *face = m_composer.faces().face(pageFace(false, false));
    GlyphPainter once(QSize(481, 351)), twice(QSize(481, 351));
    for (const PlacedRun &run : runs) {
        once.add(face->rawFont(16), run);
        twice.add(face->rawFont(16), run);
        twice.add(face->rawFont(16), run);
    }
    EXPECT_EQ(once.coverage(), twice.coverage());
}

// Marks drawn in shared passes leave the mask as each drawn alone, struck
// or not, however close they are set (a reading pressed together overlaps).
TEST_F(GlyphToneTest, MarksDrawnTogetherLeaveTheMaskAsDrawnAlone)
{
    const QRawFont &small = m_composer.faces().face(pageFace(false, false))->rawFont(8);
    const quint32 zu = small.glyphIndexesForString(QStringLiteral("ず")).value(0);
    std::vector<PlacedRun> marks;
    for (int i = 0; i < 12; ++i) // 8, 6 and 3 px apart
        marks.push_back({false,
                         {},
                         1,
                         {zu},
                         {QPointF(100 + 3 * (i % 4), 40 + (8 - i / 4 * 2 - i / 8) * i)}});
    const QPointF struck[] = {QPointF(0, 0), QPointF(1, 0), QPointF(0, 1)};
    GlyphPainter alone(QSize(481, 351)), together(QSize(481, 351));
    for (const PlacedRun &run : marks)
        for (const QPointF &by : struck)
            alone.add(small, run, by);
    together.addApart(small, marks, struck);
    EXPECT_EQ(alone.coverage(), together.coverage());
}

// A run of "―" is one rule: along its middle every pixel from its first to
// its last is inked, in a column and along a line, in both faces.
TEST_F(GlyphToneTest, RunsOfTheBarAreOneUnbrokenRule)
{
    std::string bars;
    for (int i = 0; i < 6; ++i)
        bars += "\x81\x5c";
    for (bool horizontal : {false, true}) {
        for (bool gothic : {false, true}) {
            PageStyle style = plain(horizontal);
            style.gothic = gothic;
            style.textColour = 0xFFFFFF;
            style.background = 0;
            const TABitmap img = composed(m_composer, {bars}, style);
            // The most inked line across the rule's direction is its middle.
            const int from = horizontal ? 15 : 425 - 16, to = horizontal ? 15 + 17 : 425;
            int best = -1, bestInk = -1;
            for (int a = from; a < to; ++a) {
                int ink = 0;
                for (int b = 0; b < (horizontal ? 481 : 351); ++b) {
                    const int x = horizontal ? b : a, y = horizontal ? a : b;
                    ink += img.image().constScanLine(y)[3 * x];
                }
                if (ink > bestInk) {
                    bestInk = ink;
                    best = a;
                }
            }
            std::vector<int> along;
            for (int b = 0; b < (horizontal ? 481 : 351); ++b) {
                const int x = horizontal ? b : best, y = horizontal ? best : b;
                along.push_back(img.image().constScanLine(y)[3 * x]);
            }
            const auto first
                    = std::find_if(along.begin(), along.end(), [](int v) { return v > 0x80; });
            const auto last
                    = std::find_if(along.rbegin(), along.rend(), [](int v) { return v > 0x80; });
            ASSERT_NE(first, along.end());
            const int start = int(first - along.begin()), end = int(along.rend() - last) - 1;
            EXPECT_GE(end - start + 1, 6 * (horizontal ? 17 : 16) - 4) << horizontal << gothic;
            for (int i = start; i <= end; ++i)
                EXPECT_GT(along[size_t(i)], 0x80)
                        << "hole at " << i << (horizontal ? " across" : " down")
                        << (gothic ? " gothic" : " mincho");
        }
    }
}

// The hinting and the antialiasing are the program's, not the user's: the
// same page comes out pixel for pixel the same under a fontconfig that asks
// for full hinting, for none, and for bilevel glyphs with subpixel order.
TEST_F(GlyphToneTest, PagesDoNotFollowTheUsersFontSettings)
{
    const QString render = QStringLiteral(CORVANE_BINARY_DIR "/corvane-render");
    if (!QFile::exists(render))
        GTEST_SKIP() << "corvane-render not built";
    QTemporaryDir dir;
    const char *edits[] = {
            "<edit name=\"hinting\" mode=\"assign\"><bool>true</bool></edit>"
            "<edit name=\"hintstyle\" mode=\"assign\"><const>hintfull</const></edit>",
            "<edit name=\"hinting\" mode=\"assign\"><bool>false</bool></edit>"
            "<edit name=\"hintstyle\" mode=\"assign\"><const>hintnone</const></edit>",
            "<edit name=\"antialias\" mode=\"assign\"><bool>false</bool></edit>"
            "<edit name=\"rgba\" mode=\"assign\"><const>rgb</const></edit>",
    };
    QByteArray pictures[3];
    for (int i = 0; i < 3; ++i) {
        const QString conf = dir.filePath(QStringLiteral("%1.conf").arg(i));
        QFile f(conf);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("<?xml version=\"1.0\"?><fontconfig><include ignore_missing=\"yes\">"
                           "/etc/fonts/fonts.conf</include><match target=\"font\">")
                + edits[i] + "</match></fontconfig>");
        f.close();
        const QString out = dir.filePath(QStringLiteral("%1.bmp").arg(i));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("FONTCONFIG_FILE"), conf);
        p.setProcessEnvironment(env);
        p.start(render,
                {QStringLiteral("--page"), QStringLiteral("3"), QStringLiteral("--no-tenderly"),
                 QStringLiteral("--out"), out,
                 QStringLiteral(CORVANE_CORPUS_DIR "/akutagawa-rashomon.txt")});
        ASSERT_TRUE(p.waitForFinished(30000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
        QFile picture(out);
        ASSERT_TRUE(picture.open(QIODevice::ReadOnly));
        pictures[i] = picture.readAll();
    }
    EXPECT_FALSE(pictures[0].isEmpty());
    EXPECT_TRUE(pictures[0] == pictures[1]) << "hinting";
    EXPECT_TRUE(pictures[0] == pictures[2]) << "antialiasing";
}

// Without the IPA faces another installed Japanese face with vertical forms
// writes the page: of the candidates, one of the right style first, the
// known families in their order, never one without vertical forms or one
// that is not the first face of its file.
TEST(FaceFallback, ChoosesAJapaneseFaceThatCanWriteVertically)
{
    const std::vector<FallbackCandidate> candidates = {
            {QStringLiteral("Droid Sans Fallback"), QStringLiteral("/f/droid.ttf"), 0, false,
             false},
            {QStringLiteral("Noto Serif CJK JP"), QStringLiteral("/f/noto-serif.ttc"), 0, true,
             true},
            {QStringLiteral("IPAexMincho"), QStringLiteral("/f/ipaexm.ttf"), 0, true, true},
            {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("/f/noto-sans.ttc"), 0, true,
             false},
            {QStringLiteral("Noto Sans CJK KR"), QStringLiteral("/f/noto-sans.ttc"), 1, true,
             false},
            {QStringLiteral("Some Gothic"), QStringLiteral("/f/some.ttf"), 0, true, false},
    };
    EXPECT_EQ(chooseFallback(candidates, false)->family, QStringLiteral("IPAexMincho"));
    EXPECT_EQ(chooseFallback(candidates, true)->family, QStringLiteral("Noto Sans CJK JP"));
    // With only faces of the other style, one of them still writes the page.
    const std::vector<FallbackCandidate> sansOnly(candidates.begin() + 3, candidates.end());
    EXPECT_EQ(chooseFallback(sansOnly, false)->family, QStringLiteral("Noto Sans CJK JP"));
    const std::vector<FallbackCandidate> unusable = {candidates[0], candidates[4]};
    EXPECT_FALSE(chooseFallback(unusable, false));
    EXPECT_FALSE(chooseFallback({}, true));
    EXPECT_FALSE(pageFontPackages().isEmpty());
}

// Installed with the proportional IPA faces only, the page is written in
// them; with no Japanese face at all the page stays plain, no crash, and the
// window is told exactly once.
TEST(FaceFallback, PagesWithoutTheIpaFaces)
{
    const QString proportional
            = QStringLiteral("/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf");
    if (!QFile::exists(proportional))
        GTEST_SKIP() << "IPAPMincho not installed";
    QTemporaryDir fonts;
    ASSERT_TRUE(QFile::copy(proportional, fonts.filePath(QStringLiteral("ipamp.ttf"))));
    {
        FontconfigScope scope(fonts.path());
        ASSERT_TRUE(scope.ok());
        PageComposer composer;
        EXPECT_TRUE(composer.isReady());
        EXPECT_FALSE(composer.takeMissingFontsNotice());
        EXPECT_EQ(composer.faces().family(pageFace(false, true)), QStringLiteral("IPAPMincho"));
        const TABitmap page
                = composed(composer, {"\x8a\xbf\x8e\x9a\x81\x42"}, plain(false)); // 漢字。
        EXPECT_GT(inkSum(page, kDefaultTextColour, kDefaultBackground), 20);
    }
    QTemporaryDir empty;
    {
        FontconfigScope scope(empty.path());
        ASSERT_TRUE(scope.ok());
        PageComposer composer;
        EXPECT_FALSE(composer.isReady());
        EXPECT_TRUE(composer.takeMissingFontsNotice());
        EXPECT_FALSE(composer.takeMissingFontsNotice());
        const TABitmap page = composed(composer, {"\x8a\xbf\x8e\x9a"}, plain(false));
        EXPECT_EQ(inkSum(page, kDefaultTextColour, kDefaultBackground), 0);
    }
    // And the system's faces are back for the tests that follow.
    EXPECT_TRUE(PageComposer().isReady());
}

// Alone on a machine, a Japanese face stands in only when it can really write
// a page: IPAex and Noto CJK do; Droid Sans Fallback (brackets not turned, no
// Latin) gives the install message instead of a garbled page. Fonts that are
// not installed are skipped; CORVANE_TEST_FONT_ROOT may name unpacked packages.
TEST(FaceFallback, OnlyAFaceThatWritesPagesStandsIn)
{
    const std::pair<const char *, bool> fonts[]
            = {{"truetype/droid/DroidSansFallbackFull.ttf", false},
               {"opentype/ipaexfont-mincho/ipaexm.ttf", true},
               {"opentype/noto/NotoSerifCJK-Regular.ttc", true},
               {"opentype/ipafont-gothic/ipag.ttf", true}};
    for (const auto &[file, writes] : fonts) {
        QString path = qEnvironmentVariable("CORVANE_TEST_FONT_ROOT") + "/usr/share/fonts/" + file;
        if (!QFile::exists(path) && !QFile::exists(path = "/usr/share/fonts/" + QString(file)))
            continue;
        QTemporaryDir dir;
        ASSERT_TRUE(QFile::copy(path, dir.filePath(QFileInfo(path).fileName())));
        FontconfigScope scope(dir.path());
        PageComposer composer;
        EXPECT_EQ(composer.isReady(), writes) << file;
        EXPECT_EQ(composer.takeMissingFontsNotice(), !writes) << file;
        // 「漢字」。 down a column
        const TABitmap page
                = composed(composer, {"\x81\x75\x8a\xbf\x8e\x9a\x81\x76\x81\x42"}, plain(false));
        EXPECT_EQ(inkSum(page, kDefaultTextColour, kDefaultBackground) > 20, writes) << file;
    }
}

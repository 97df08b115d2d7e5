// The program's face names, the installed fonts behind them, and logical
// heights turned into pixel sizes.
#include "writing/Cp932Decoder.h"
#include "writing/Faces.h"

#include <gtest/gtest.h>

using namespace corvane;

// Every program face maps to its stand-in; the "@" forms are the vertical
// forms of the same family; other names are unknown.
TEST(Faces, ProgramNamesMapToInstalledFamilies)
{
    const struct
    {
        const char *name, *family;
        bool vertical;
    } cases[] = {
            {"ＭＳ 明朝", "IPAMincho", false},
            {"@ＭＳ 明朝", "IPAMincho", true},
            {"ＭＳ ゴシック", "IPAGothic", false},
            {"@ＭＳ ゴシック", "IPAGothic", true},
            {"ＭＳ Ｐゴシック", "IPAPGothic", false},
            {"ＭＳ Ｐ明朝", "IPAPMincho", false},
            {"Times New Roman", "Liberation Serif", false},
    };
    FaceLibrary faces;
    for (const auto &c : cases) {
        const auto choice = chooseFace(QString::fromUtf8(c.name));
        ASSERT_TRUE(choice) << c.name;
        EXPECT_EQ(choice->family, QString::fromLatin1(c.family));
        EXPECT_EQ(choice->vertical, c.vertical);
        EXPECT_NE(faces.face(QString::fromUtf8(c.name)), nullptr) << c.name << " not installed";
    }
    EXPECT_FALSE(chooseFace(QStringLiteral("MS Mincho")));
    EXPECT_FALSE(chooseFace(QStringLiteral("@")));
    EXPECT_EQ(faces.face(QStringLiteral("Arial")), nullptr);
    // fontconfig answers every request with some face; a family that is not
    // installed must still come back as missing.
    EXPECT_TRUE(findFontFile(QStringLiteral("No Such Family Corvane")).isEmpty());
    // Both forms of a face share one loaded file.
    EXPECT_EQ(faces.face(QStringLiteral("ＭＳ 明朝")), faces.face(QStringLiteral("@ＭＳ 明朝")));
}

// The named faces' cell is one em, so a positive (cell) height and a negative
// (em) height both give an em of that many pixels, in Mincho and Gothic alike:
// ticking "Gothic" must not change the size of the text. The cell splits at
// the baseline as the face's em box does.
TEST(Faces, LogicalHeightsAreTheEm)
{
    FaceLibrary faces;
    for (const char *name : {"ＭＳ 明朝", "ＭＳ ゴシック"}) {
        const Face *face = faces.face(QString::fromUtf8(name));
        ASSERT_NE(face, nullptr) << name;
        for (int h : {16, 17, 30}) {
            const FaceMetrics m = face->metrics(h);
            EXPECT_EQ(m.pixelSize, h) << name;
            EXPECT_EQ(m.cellHeight(), h) << name;
            EXPECT_EQ(face->metrics(-h).pixelSize, h) << name;
        }
        // IPA's em box: 1802 units of 2048 above the baseline.
        EXPECT_EQ(face->metrics(16).ascent, 14) << name;
        EXPECT_EQ(face->metrics(30).ascent, 26) << name;
        EXPECT_EQ(face->metrics(0).pixelSize, 0);
    }
    const QFont bold = faces.font(QStringLiteral("ＭＳ ゴシック"), 30, 700);
    EXPECT_EQ(bold.family(), QStringLiteral("IPAGothic"));
    EXPECT_EQ(bold.weight(), QFont::Bold);
    EXPECT_EQ(bold.pixelSize(), 30);
}

// CP932 rows decode as the editor cuts them: pairs upright, single bytes
// sideways, undefined pairs and stray lead bytes as "・", controls dropped.
// A lead byte takes whatever byte follows it, so the picture shows the two
// columns the wrapper counted as one upright character.
TEST(Cp932, RowsDecodeCharacterByCharacter)
{
    Cp932Decoder d;
    ASSERT_TRUE(d.isValid());
    const auto row = d.decodeRow("\x81\x42"
                                 "A\xb1\x85\x40\t\x81\x20"
                                 "\x88\xea\x81");
    ASSERT_EQ(row.size(), 7u);
    EXPECT_EQ(row[0].code, U'。');
    EXPECT_TRUE(row[0].doubleByte);
    EXPECT_EQ(row[1].code, U'A');
    EXPECT_FALSE(row[1].doubleByte);
    EXPECT_EQ(row[2].code, U'ｱ');
    EXPECT_FALSE(row[2].doubleByte);
    EXPECT_EQ(row[3].code, kCp932DefaultChar); // 0x85 0x40 is unassigned
    EXPECT_TRUE(row[3].doubleByte);
    EXPECT_EQ(row[4].code, kCp932DefaultChar); // 0x81 0x20 is one undefined pair
    EXPECT_TRUE(row[4].doubleByte);
    EXPECT_EQ(row[5].code, U'一');
    EXPECT_EQ(row[6].code, kCp932DefaultChar); // a lead byte at the very end
    EXPECT_FALSE(row[6].doubleByte);
    // Characters that CP932 maps differently from plain Shift-JIS.
    EXPECT_EQ(d.pair(0x81, 0x60), U'～');
    EXPECT_EQ(d.pair(0x87, 0x40), U'①');
    EXPECT_EQ(d.pair(0xFA, 0x40), U'ⅰ');
}

// One rule for where a double-byte character ends, seen through every part
// that cuts text: the wrapper's column map, the normalisation and the page
// row cut. (The settings file and the drawing have theirs in tests/settings
// and tests/writing.)
#include "text/Cp932.h"
#include "text/Normalise.h"
#include "text/Pages.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvane;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string s;
    for (int v : values)
        s += char(v);
    return s;
}

} // namespace

// A lead byte takes the byte after it whatever that byte is: a space, a tab,
// a control byte, another lead byte. Every part agrees on where the pair ends.
TEST(Cp932Rule, ALeadByteAndTheByteAfterItAreOneCharacterEverywhere)
{
    for (const int lead : {0x81, 0x9F, 0xE0, 0xFC}) {
        for (int second = 0; second < 256; ++second) {
            const std::string pair = bytes({lead, second});
            SCOPED_TRACE(testing::Message() << std::hex << lead << " " << second);
            const std::string text = "a" + pair + "b";

            ColumnMap map;
            map.build(text, 8);
            ASSERT_EQ(map.width(), 4);
            EXPECT_EQ(map.at(2), ColumnClass::LeadHalf);
            EXPECT_EQ(map.at(3), ColumnClass::TrailHalf);
            EXPECT_EQ(map.charAt(text, 3), pair);
            EXPECT_EQ(displayWidth(text, 8), 4);
            EXPECT_EQ(cp932CharLength(text, 1), 2u);

            // The row cut keeps the pair whole or leaves it out whole.
            EXPECT_EQ(cutRow(text, 2), "a");
            EXPECT_EQ(cutRow(text, 3), "a" + pair);

            // The normalisation never finds a pattern in the second byte, and
            // is back in step right after the pair.
            const std::string normalisedPair = normaliseText(pair);
            EXPECT_EQ(normaliseText(pair + "\x81\x46"), normalisedPair + " : ");
            EXPECT_EQ(normaliseText(text), "a" + normalisedPair + "b");
            if (lead != 0x81) {
                EXPECT_EQ(normalisedPair, pair);
            }
        }
    }
}

// 0x81 0x20 is the case the parts used to disagree on: the wrapper counted it
// as one character of two columns, while the row cut took 0x81 alone and
// could end a row on it.
TEST(Cp932Rule, LeadByteBeforeASpace)
{
    const std::string text = std::string(254, 'a') + "\x81\x20";
    EXPECT_EQ(displayWidth(text, 8), 256);
    EXPECT_EQ(cutRow(text), std::string(254, 'a'));
    EXPECT_EQ(cp932Prefix("\x81\x20", 1), "");
    EXPECT_EQ(cp932Prefix("\x81", 1), "\x81") << "a lead byte with nothing after it stands alone";
}

// A tab after a lead byte belongs to that character: the normalisation leaves
// it, so the four ideographic spaces it would insert cannot be misread from
// their first byte on as the wrapper reads the line.
TEST(Cp932Rule, NormalisationLeavesATabTakenByALeadByte)
{
    EXPECT_EQ(normaliseText("\x81\t"), "\x81\t");
    EXPECT_TRUE(isNormalised("\x81\tx"));
    EXPECT_EQ(normaliseText("x\t\x81"), "x\x81\x40\x81\x40\x81\x40\x81\x40\x81");
}

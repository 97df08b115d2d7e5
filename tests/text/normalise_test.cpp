#include "text/Normalise.h"
#include "tests/support/ReplaceAll.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace corvane;

namespace {

const std::string kIdeoSpace = "\x81\x40";

std::string readCorpus(const char *name)
{
    std::ifstream f(std::string(CORVANE_CORPUS_DIR) + "/" + name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

} // namespace

// Each replacement of the table, in its own words.
TEST(Normalise, ReplacesTabsBracketsAndColon)
{
    EXPECT_EQ(normaliseText("a\tb"), "a" + kIdeoSpace + kIdeoSpace + kIdeoSpace + kIdeoSpace + "b");
    // ≪語≫ -> 《語》
    EXPECT_EQ(normaliseText("\x81\xE1\x8C\xEA\x81\xE2"), "\x81\x73\x8C\xEA\x81\x74");
    // A full-width colon becomes space, colon, space: the line grows by one byte.
    const std::string colon = "\x8E\x9E\x81\x46\x95\xAA"; // 時：分
    EXPECT_EQ(normaliseText(colon), "\x8E\x9E : \x95\xAA");
    EXPECT_EQ(normaliseText(colon).size(), colon.size() + 1);
}

// A pattern is matched only where a character starts, never across the
// trail byte of one character and the lead byte of the next.
TEST(Normalise, LeavesPatternsAcrossCharacterBoundariesAlone)
{
    const std::string genji = "\x8C\xB9\x8E\x81\xE2\xB7"; // 源氏箙: 81 E2 straddles 氏|箙
    EXPECT_EQ(normaliseText(genji), genji);
    EXPECT_TRUE(isNormalised(genji));
    const std::string colonLike = "\x88\x81\x46"; // a character ending in 0x81, then "F"
    EXPECT_EQ(normaliseText(colonLike), colonLike);
    EXPECT_EQ(replaceAll(genji, "\x81\xE2", "\x81\x74"), genji);
    // After a real pattern the scan is still in step.
    EXPECT_EQ(normaliseText("\x81\x46" + genji), " : " + genji);
}

// A lead byte takes the byte after it, a tab too (as the wrapper counts it),
// and the scan is in step again after a line break: a lead byte ending a
// line does not hide the pattern that opens the next.
TEST(Normalise, LeadBytesTakeTheNextByteAndLineBreaksResync)
{
    EXPECT_EQ(normaliseText("\x81\t"), "\x81\t");
    EXPECT_EQ(normaliseText("\x88\r\n\x81\x46"), "\x88\r\n : ");
    EXPECT_EQ(normaliseText("\x88\r\x81\x46"), "\x88\r : ");
    EXPECT_EQ(normaliseText("\x88\n\t"),
              "\x88\n" + kIdeoSpace + kIdeoSpace + kIdeoSpace + kIdeoSpace);
    EXPECT_EQ(normaliseText("\x81"), "\x81");
    EXPECT_EQ(normaliseText(""), "");
}

// The one pass gives what the four replacements give one after another,
// on real prose, and a text without patterns comes back as it was.
TEST(Normalise, OnePassEqualsTheTableInOrder)
{
    for (const char *name :
         {"dazai-udaijin-sanetomo.txt", "akutagawa-rashomon.txt", "miyamoto-bunka-mondai.txt"}) {
        SCOPED_TRACE(name);
        std::string text = readCorpus(name);
        ASSERT_FALSE(text.empty());
        text += "\t\x81\xE1\x81\xE2\x81\x46"; // make sure every pattern occurs
        std::string stepwise = text;
        for (const Replacement &r : kNormalisation)
            stepwise = replaceAll(stepwise, r.find, r.with);
        const std::string once = normaliseText(text);
        EXPECT_EQ(once, stepwise);
        EXPECT_TRUE(isNormalised(once));
    }
    const std::string dazai = readCorpus("dazai-udaijin-sanetomo.txt");
    EXPECT_NE(normaliseText(dazai).find("\x8C\xB9\x8E\x81\xE2\xB7"), std::string::npos);
}

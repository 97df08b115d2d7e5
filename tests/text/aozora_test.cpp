// The Aozora notation: what becomes ruby, marks and line formats, what bad
// markup leaves standing, and the six corpus texts read without raw markup.
#include "text/Aozora.h"
#include "text/AozoraLayout.h"
#include "text/Cp932Convert.h"
#include "text/TextSource.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iconv.h>

using namespace corvane;

namespace {

std::string sj(std::string_view utf8)
{
    return utf8ToCp932(utf8);
}

struct Parsed
{
    AozoraText t;
    std::string text; // the reader's text in UTF-8, line breaks as \n
    std::string slice(const Mark &m) const
    {
        return sjisToUtf8(t.text.substr(m.from, m.to - m.from));
    }
    static std::string sjisToUtf8(std::string_view s)
    {
        iconv_t cd = iconv_open("UTF-8", "CP932");
        std::string out(s.size() * 3, '\0');
        char *in = const_cast<char *>(s.data()), *to = out.data();
        size_t inLeft = s.size(), outLeft = out.size();
        iconv(cd, &in, &inLeft, &to, &outLeft);
        iconv_close(cd);
        out.resize(out.size() - outLeft);
        return out;
    }
};

Parsed parse(std::string_view utf8)
{
    Parsed p{parseAozora(sj(utf8)), {}};
    p.text = Parsed::sjisToUtf8(p.t.text);
    std::erase(p.text, '\r');
    return p;
}

} // namespace

TEST(Aozora, NotationBecomesTextAndMarks)
{
    const Parsed p
            = parse("所々｜丹塗《にぬり》の下人《げにん》が※［＃「木＋夜」、第3水準1-85-76］"
                    "《えき》、ぐわん／＼と［＃「あばた」に傍点］あばた［＃「あばた」に傍点］\n"
                    "［＃５字下げ］一［＃「一」は中見出し］\n"
                    "≪引用≫と：\t\n"
                    "［＃改ページ］\n"
                    "［＃ここから２字下げ、折り返して３字下げ］\n塊\n［＃ここで字下げ終わり］\n"
                    "末［＃地から２字上げ］\n");
    EXPECT_EQ(p.text,
              "所々丹塗の下人が〓、ぐわん／＼とあばた\n一\n《引用》と : 　　　　\n塊\n末\n");
    ASSERT_EQ(p.t.marks.size(), 7u);
    const auto text = [&](const Mark &m) { return std::string(p.t.markText(m)); };
    EXPECT_EQ(p.slice(p.t.marks[0]), "丹塗");
    EXPECT_EQ(text(p.t.marks[0]), "にぬり");
    EXPECT_EQ(p.slice(p.t.marks[1]), "下人");
    EXPECT_EQ(p.t.marks[2].kind, MarkKind::Gaiji);
    EXPECT_EQ(text(p.t.marks[2]), "棭");
    EXPECT_EQ(p.t.marks[3].kind, MarkKind::Ruby); // the resolved gaiji is the base
    EXPECT_EQ(p.slice(p.t.marks[3]), "〓");
    EXPECT_EQ(p.t.marks[4].kind, MarkKind::Kunoji);
    EXPECT_EQ(text(p.t.marks[4]), "〳〵");
    EXPECT_EQ(p.t.marks[5].kind, MarkKind::Emphasis); // the first note had nothing before it
    EXPECT_EQ(p.slice(p.t.marks[5]), "あばた");
    EXPECT_EQ(p.t.marks[6].kind, MarkKind::Heading);
    EXPECT_EQ(p.slice(p.t.marks[6]), "一");
    ASSERT_EQ(p.t.lines.size(), 3u);
    EXPECT_EQ(p.t.lines[0].indent, 5);
    EXPECT_TRUE(p.t.lines[1].pageBefore);
    EXPECT_EQ(p.t.lines[1].indent, 2);
    EXPECT_EQ(p.t.lines[1].wrapIndent, 3);
    EXPECT_TRUE(p.t.lines[2].toFoot);
    EXPECT_EQ(p.t.lines[2].raise, 2);
    EXPECT_EQ(gaijiCharacter("「てへん＋丑」、第4水準2-12-93"), "扭");
    EXPECT_EQ(gaijiCharacter("「口＋世」、U+546D、135-7"), "呭");
    EXPECT_EQ(gaijiCharacter("「説明だけ」"), "");
    EXPECT_EQ(gaijiCharacter("第3水準1-95-99"), ""); // out of range
}

// Up to four letters or digits marked upright become one cell, longer runs
// stay text; smaller type stays at body size (the grid holds); 太字 is heavier.
TEST(Aozora, UprightRunsAndTypeStyles)
{
    const Parsed p
            = parse("第１２［＃「１２」は縦中横］号［＃縦中横］AB3［＃縦中横終わり］下人《げにん》"
                    "12345［＃「12345」は縦中横］な［＃「な」は縦中横］［＃１段階小さな文字］"
                    "（注）［＃小さな文字終わり］［＃太字］強［＃太字終わり］\n");
    EXPECT_EQ(p.text, "第〓号〓下人12345な（注）強\n");
    ASSERT_EQ(p.t.marks.size(), 4u);
    EXPECT_EQ(p.t.marks[0].kind, MarkKind::TateChuYoko);
    EXPECT_EQ(p.t.markText(p.t.marks[0]), "12");
    EXPECT_EQ(p.t.markText(p.t.marks[1]), "AB3");
    EXPECT_EQ(p.slice(p.t.marks[2]), "下人"); // moved with the runs before it
    EXPECT_EQ(p.slice(p.t.marks[3]), "強");
}

// A foot note in mid-line sends only the text after it to the foot: onto the
// last row when it fits there with an em to spare, else onto a row of its own.
TEST(Aozora, FootNoteInMidLineMovesOnlyTheTextAfterIt)
{
    TEditor editor;
    setupEditor2(editor);
    std::string line, blank;
    for (int i = 0; i < 17; ++i)
        (line += "あ"), (blank += "　");
    const AozoraLayout laid = layOutAozora(
            parseAozora(sj("本文。［＃地付き］〔日付〕\n" + line + "［＃地から２字上げ］署名\n")),
            editor);
    const auto row = [&](size_t r) { return Parsed::sjisToUtf8(laid.rows.text(r)); };
    EXPECT_EQ(row(0), "本文。" + blank.substr(0, 33) + "〔日付〕");
    EXPECT_EQ(row(1), line);
    EXPECT_EQ(row(2), blank.substr(0, 42) + "署名"); // two ems above the foot
}

TEST(Aozora, BadMarkupLosesNoText)
{
    // Each is shown as it stands; only the closed, meaningful parts go.
    const std::string huge = std::string("漢《") + std::string(3000, 'a') + "》";
    for (const std::string_view s :
         {"漢《よみ", "［＃閉じない", "］だけ", "かな《よみ》", "｜《よみ》", "｜だけ", "漢《》",
          "※［＃「x」、第9水準1-99-99］"}) {
        const Parsed p = parse(s);
        std::string expected(s);
        if (s.starts_with("※")) {
            expected = "〓";
            EXPECT_EQ(p.t.marks.size(), 1u);
            EXPECT_EQ(p.t.markText(p.t.marks[0]), "");
        } else {
            EXPECT_TRUE(p.t.marks.empty()) << s;
        }
        EXPECT_EQ(p.text, expected + "\n") << s;
    }
    EXPECT_EQ(parse(huge).text, huge + "\n");
    EXPECT_EQ(parse("前［＃外［＃内］外］後").text, "前後\n"); // nested notes close together
}

TEST(Aozora, RecognitionLeavesPlainTextsAlone)
{
    EXPECT_FALSE(isAozoraText(builtinTextBytes()));
    EXPECT_FALSE(isAozoraText(sj("下人《げにん》だけの文\n")));
    EXPECT_TRUE(isAozoraText(sj("本文［＃改ページ］\n底本：「x」\n")));
}

TEST(Aozora, CorpusReadsWithoutRawMarkup)
{
    TEditor editor;
    setupEditor2(editor);
    for (const auto &entry : std::filesystem::directory_iterator(CORVANE_CORPUS_DIR)) {
        if (entry.path().extension() != ".txt")
            continue;
        const std::string raw = *loadTextFile(QString::fromStdString(entry.path().string()));
        ASSERT_TRUE(isAozoraText(raw)) << entry.path();
        const AozoraText t = parseAozora(raw);
        const std::string text = Parsed::sjisToUtf8(t.text);
        for (std::string_view markup : {"［＃", "【テキスト中に現れる記号について】", "｜"})
            EXPECT_EQ(text.find(markup), std::string::npos) << entry.path() << " " << markup;
        // The only 《 left are the ≪ quotation marks the normalisation turns,
        // and tanaka's one reading after kana (どうしたの《ホスマラア》), which
        // has no base by Aozora's rule and stays text.
        const auto count = [](std::string_view s, std::string_view what) {
            size_t n = 0;
            for (size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + 1))
                ++n;
            return n;
        };
        const size_t baseless = entry.path().filename() == "tanaka-olympos.txt" ? 1 : 0;
        EXPECT_EQ(count(text, "《"), count(Parsed::sjisToUtf8(raw), "≪") + baseless)
                << entry.path();
        EXPECT_NE(text.find("底本 : "), std::string::npos) << entry.path(); // the colophon stays
        size_t rubies = 0, unresolved = 0;
        for (const Mark &m : t.marks) {
            rubies += m.kind == MarkKind::Ruby;
            unresolved += m.kind == MarkKind::Gaiji && t.markText(m).empty();
        }
        EXPECT_GT(rubies, 0u);
        EXPECT_LE(unresolved, 14u) << entry.path(); // ogai's notes that name only a page

        // Every ruby base lies whole in one row after layout.
        const AozoraLayout laid = layOutAozora(t, editor);
        EXPECT_EQ(laid.rows.size() % 13, 0u);
        for (const RowMark &m : laid.pages.marks) {
            if (m.mark.kind == MarkKind::Ruby) {
                ASSERT_LE(m.mark.to, laid.rows.length(m.row)) << entry.path();
            }
        }
    }
}

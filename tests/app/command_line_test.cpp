// The command line: a file as "Open With" passes it, --help and --version
// answered, anything else refused rather than taken for a file name.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

using corvane::CommandLine;
using corvane::parseCommandLine;

TEST(CommandLine, ReadsOneFileAndLetsQtOptionsThrough)
{
    const struct
    {
        QStringList arguments;
        QString file;
    } cases[] = {
            {{}, {}},
            {{QStringLiteral("book.txt")}, QStringLiteral("book.txt")},
            {{QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("a b.txt")},
             QStringLiteral("a b.txt")},
            {{QStringLiteral("--"), QStringLiteral("--help")}, QStringLiteral("--help")},
            {{QStringLiteral("-reverse"), QStringLiteral("-")}, QStringLiteral("-")},
    };
    for (const auto &c : cases) {
        const CommandLine line = parseCommandLine(c.arguments);
        EXPECT_EQ(line.action, CommandLine::Action::Run) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(line.file, c.file);
    }
}

TEST(CommandLine, AnswersHelpAndVersionAndRefusesTheRest)
{
    using A = CommandLine::Action;
    EXPECT_EQ(parseCommandLine({QStringLiteral("--help")}).action, A::Help);
    EXPECT_EQ(parseCommandLine({QStringLiteral("book.txt"), QStringLiteral("-h")}).action, A::Help);
    EXPECT_EQ(parseCommandLine({QStringLiteral("--version")}).action, A::Version);
    const CommandLine unknown = parseCommandLine({QStringLiteral("--fullscreen")});
    EXPECT_EQ(unknown.action, A::Error);
    EXPECT_TRUE(unknown.message.contains(QStringLiteral("'--fullscreen'")));
    EXPECT_EQ(parseCommandLine({QStringLiteral("a.txt"), QStringLiteral("b.txt")}).action,
              A::Error);
    EXPECT_EQ(corvane::answerCommandLine(unknown), 2);
    EXPECT_TRUE(corvane::commandLineVersion().startsWith(QStringLiteral("corvane 1.")));
}

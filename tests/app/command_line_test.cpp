// The command line: one file as "Open With" passes it, Qt's own options let
// through, --help and --version answered, anything else refused rather than
// taken for a file name. (The installed binary's answers: tests/install.)
#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, OneFileQtOptionsHelpVersionAndRefusals)
{
    using A = corvane::CommandLine::Action;
    const struct
    {
        const char *arguments; // separated by '|'
        A action;
        const char *file;
    } cases[] = {
            {"", A::Run, ""},
            {"-platform|xcb|a b.txt", A::Run, "a b.txt"},
            {"--|--help", A::Run, "--help"},
            {"-reverse|-", A::Run, "-"},
            {"book.txt|-h", A::Help, ""},
            {"--version", A::Version, ""},
            {"--fullscreen", A::Error, ""},
            {"a.txt|b.txt", A::Error, ""},
    };
    for (const auto &c : cases) {
        const QString joined = QString::fromUtf8(c.arguments);
        const auto line
                = corvane::parseCommandLine(joined.isEmpty() ? QStringList() : joined.split(u'|'));
        EXPECT_EQ(line.action, c.action) << c.arguments;
        EXPECT_EQ(line.file, QString::fromUtf8(c.file)) << c.arguments;
        EXPECT_EQ(line.message.isEmpty(), c.action != A::Error) << c.arguments;
    }
}

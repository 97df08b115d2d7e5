// corvane-render: the program's text and page pipeline from the command
// line, for checking layouts without a window.
#include "commands.h"

#include <cstring>

namespace {

using corvane::render::Args;
using corvane::render::Streams;

struct Command
{
    const char *option;
    const char *arguments;
    const char *help;
    int (*run)(const Args &, const Streams &);
};

const Command kCommands[] = {
        {"--dump-rows", "[FILE]",
         "Write every paged row, padding rows included, as raw CP932 bytes, each\n"
         "        followed by one LF. FILE is loaded as corvane.txt is with \"Keep\" on\n"
         "        (UTF-8 converted, normalised, wrapped at 36 columns, padded to pages\n"
         "        of 13); without FILE the built-in text is used as with \"Keep\" off.\n"
         "        A missing or unreadable FILE is an error (exit status 1).",
         corvane::render::dumpRows},
        {"--page",
         "N --out FILE [--horizontal] [--gothic] [--no-tenderly] [--fg 0xBBGGRR] [--bg 0xBBGGRR] "
         "[TEXT]",
         "Write page N as the window composes it (without the fades) to FILE, as\n"
         "        PNG, JPEG or BMP by its extension. TEXT is loaded as for --dump-rows.\n"
         "        Defaults: vertical Mincho, grain on, text 15197922, background\n"
         "        5266509. A page outside the text is an error (exit status 1).",
         corvane::render::renderPage},
        {"--dump-layout", "[--page N] [--horizontal] [--raw] FILE",
         "Write each glyph of page N (of every page without --page) with its cell in\n"
         "        picture pixels and its role (base, ruby, emphasis, gaiji, heading, bold), as\n"
         "        one JSON object per page; an Aozora text's pages add \"places\", where each\n"
         "        row starts in the file's normalised text (line breaks two bytes). Every command "
         "reads an Aozora Bunko text with its\n"
         "        ruby and notes; --raw shows its markup as it stands.",
         corvane::render::dumpLayout},
        {"--all",
         "--out DIR [--pages N,M,...] [--bmp] [--horizontal] [--gothic] [--no-tenderly] "
         "[--fg 0xBBGGRR] [--bg 0xBBGGRR] [TEXT]",
         "Write every page (those listed by --pages) as DIR/page-0001.png,\n"
         "        DIR/page-0002.png, ... (.bmp with --bmp).",
         corvane::render::renderAllPages},
};

void printUsage(std::FILE *f)
{
    std::fputs("Usage: corvane-render OPTION [ARGUMENTS]\n\nOptions:\n", f);
    for (const Command &c : kCommands)
        std::fprintf(f, "  %s %s\n        %s\n", c.option, c.arguments, c.help);
    std::fputs("  --help\n        Show this help and exit.\n", f);
}

} // namespace

int main(int argc, char **argv)
{
    const Streams io;
    if (argc < 2) {
        printUsage(io.err);
        return 2;
    }
    if (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0) {
        printUsage(io.out);
        return 0;
    }
    for (const Command &c : kCommands) {
        if (std::strcmp(argv[1], c.option) == 0)
            return c.run(Args(argv + 2, argv + argc), io);
    }
    std::fprintf(io.err, "corvane-render: unknown option '%s' (try --help)\n", argv[1]);
    return 2;
}

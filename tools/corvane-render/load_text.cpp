// The text of a command, paged as the window pages it: FILE as corvane.txt
// is read with "Keep" on, an Aozora text with its markup read unless raw,
// or the built-in text as with "Keep" off.
#include "commands.h"

#include "text/Aozora.h"
#include "text/PagedText.h"
#include "text/TextSource.h"

#include <QString>

namespace corvane::render {

std::optional<int> loadPages(TEditor &editor, const std::optional<std::string> &textFile, bool raw,
                             AozoraPages *marks)
{
    if (!textFile)
        return loadPaged(editor, builtinTextBytes(), false);
    const QString path = QString::fromLocal8Bit(textFile->c_str());
    // Through the one reader: a ZIP, UTF-16 and the refusals as for a dropped book.
    std::optional<std::string> loaded = loadTextFile(path);
    if (!loaded)
        return std::nullopt;
    AozoraPages pages;
    const int count = loadReading(editor, std::move(*loaded), true, !raw, pages);
    if (marks)
        *marks = std::move(pages);
    return count;
}

// Takes "--raw" out of args; true when it was there.
bool takeRaw(Args &args)
{
    const auto it = std::find(args.begin(), args.end(), "--raw");
    if (it == args.end())
        return false;
    args.erase(it);
    return true;
}

} // namespace corvane::render

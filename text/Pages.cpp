#include "text/Pages.h"

#include "text/Cp932.h"

#include <algorithm>

namespace corvane {

std::vector<std::string> padRows(std::vector<std::string> rows)
{
    const std::size_t r = rows.size() % kPageRows;
    if (r > 0)
        rows.resize(rows.size() + (kPageRows - r), std::string(kPaddingRow));
    return rows;
}

std::string joinRows(const std::vector<std::string> &rows)
{
    std::size_t size = 0;
    for (const std::string &r : rows)
        size += r.size() + 2;
    std::string out;
    out.reserve(size);
    for (const std::string &r : rows) {
        out += r;
        out += "\r\n";
    }
    return out;
}

int pageTotal(std::size_t lineCount)
{
    return int(lineCount / kPageRows + (lineCount % kPageRows > 0 ? 1 : 0));
}

std::string cutRow(std::string_view row, std::size_t limit)
{
    return std::string(cp932Prefix(row, limit));
}

PageRows pageRows(int lineCount, const std::function<std::string(int)> &line, int page)
{
    PageRows rows;
    if (page < 1 || page > pageTotal(std::size_t(std::max(lineCount, 0))))
        return rows;
    const int first = (page - 1) * kPageRows;
    for (int k = 0; k < kPageRows && first + k < lineCount; ++k)
        rows[k] = cutRow(line(first + k));
    return rows;
}

PageRows pageRows(const std::vector<std::string> &lines, int page)
{
    return pageRows(
            int(lines.size()), [&](int i) { return lines[std::size_t(i)]; }, page);
}

int tickFrequency(int pageCount)
{
    return pageCount > kTicksWithoutSpacing ? pageCount / kTicksWithoutSpacing + 1 : 1;
}

QString scaleHint(int frequency)
{
    return QStringLiteral("scale : ") + QString::number(frequency);
}

int leafPage(int leaf)
{
    return std::max(leaf, 1);
}

QString leafHint(int leaf)
{
    return QString::number(leafPage(leaf)) + QStringLiteral(" page");
}

int clampPage(int page, int pageCount)
{
    return std::clamp(page, 1, std::max(pageCount, 1));
}

int forwardPage(int page, int pageCount, bool samePage)
{
    if (samePage)
        return page;
    return page + 1 > pageCount ? 1 : page + 1;
}

int backPage(int page, int pageCount)
{
    return page > 1 ? page - 1 : pageCount;
}

std::optional<int> goPage(int leaf, int pageCount)
{
    const int target = leafPage(leaf);
    if (target > pageCount)
        return std::nullopt;
    return target;
}

} // namespace corvane

// Names of books as the file system holds them: bytes, not text. A name in
// Shift-JIS (what Japanese ZIP archives unpack to) is no UTF-8, and decoding
// it into a QString would turn it into replacement characters that name no
// file. Paths stay bytes from the command line, a drop or the settings file
// to the open; only what the reader is shown is decoded.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The path made absolute against the current folder and cleaned of "." and
// ".." parts and repeated slashes, as bytes.
std::string absoluteBookPath(std::string_view path);

// The last part of a path.
std::string_view fileNameOf(std::string_view path);

// A path for the reader's eyes: UTF-8 as it is, every byte that is no part
// of a UTF-8 character written as \xNN.
QString displayPath(std::string_view path);

// The local files a drop's text/uri-list names, percent-decoded to the
// bytes the file system uses; nullopt in place of a URL that is no local
// file. Comment lines are skipped.
std::vector<std::optional<std::string>> localFilesOfUriList(std::string_view uriList);

} // namespace corvane

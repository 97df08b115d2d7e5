// The start-up text work on the window's hidden editor: normalising the
// loaded text, cutting its rows into pages, and reading one page back.
// Also the whole chain on bytes, for the command-line dump and the tests.
#pragma once
#include "text/Pages.h"

#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class TEditor;

// Normalises the editor's text: unwrapped while it is edited, read-only
// and wrapped again afterwards, also when a step throws. The text is
// rewritten only when something changes.
void normaliseEditor(TEditor &editor);

// Empties the editor and loads text, normalised first when normalise is
// set: the same rows as loading and then normaliseEditor(), with one wrap
// of the whole text instead of three. The text is taken by value so that a
// caller moving it in does not hold a copy beside the rows.
void loadText(TEditor &editor, std::string text, bool normalise);
// The same for a text the caller keeps: only its normalised form is made.
void loadText(TEditor &editor, std::string_view text, bool normalise);

// Pads the editor's rows to whole pages and stores them back one row per
// line; returns the page count (FPageTotal).
int buildPages(TEditor &editor);

// The 13 rows of page (1-based) from a paged editor.
PageRows pageRows(const TEditor &editor, int page);

// Sets the editor up like the window's, loads text (normalised when
// normalise is set) and pages it; returns the page count. The editor's
// Lines are then the paged rows.
int loadPaged(TEditor &editor, std::string text, bool normalise);

// Every paged row of text (CP932 bytes) as the window gets them: loaded
// into an editor set up like the window's, normalised when normalise is
// set, wrapped, padded to pages of 13.
std::vector<std::string> pagedRows(std::string_view text, bool normalise);

} // namespace corvane

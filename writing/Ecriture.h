// Writing the current page onto the picture, from the first fade to the last
// repaint, as a window-free sequence. The window passes its picture, flags and
// rows; `present` (in the fade context) repaints the picture and holds it for
// a display frame, so every blend step is seen.
#pragma once
#include "core/Design.h"
#include "effects/Fades.h"
#include "writing/PageMarks.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

#include <functional>
#include <span>
#include <string>

namespace corvane {

class PageComposer;
class TABitmap;

// Blends `source` onto `picture` step by step and ends with a plain copy:
// 24 steps of Alpha 4 x i with `fine`, otherwise 17 steps of Alpha 6 x i;
// a present after every step and after the copy.
void blendInSteps(const TABitmap &source, QImage &picture, bool fine, const Present &present);

struct EcritureOptions
{
    bool fadeOut = false;    // "+Fade Out": fade the shown page out first, and blend in finer
    bool fadeIn = false;     // "+Fade In": blend the page in instead of one copy
    bool horizontal = false; // "Horizontal"
    bool gothic = false;     // "Gothic"
    bool FFileIn = false;    // the rows come from elsewhere and are written unchanged
    Colour FoColor = 0;      // text colour
    Colour GColor = 0;       // background colour
};

// Where the rows come from: FRetsuIist fills the window's FRows from FPage
// (called only when FFileIn is off), FRows reads them afterwards.
struct EcritureRows
{
    std::function<void()> FRetsuIist;
    std::function<std::span<const std::string>()> FRows;
    std::function<PageMarks()> marks; // the rows' annotations, read after FRetsuIist
};

// Writes the page onto the picture (the window's 24-bit image; a null one
// becomes 481 x 351): the fade in from a plain colour (FBColor), the rows, the
// fade-out of a shown page ("+Fade Out"), the page composed off screen with the
// grain when context.tenderly, then brought on in steps or in one copy. Sets
// FPageShown, clears FFreshStart, clears FBColor unless GColor is black.
// Returns the picture's new hint: "Corvanes", or empty when FFileIn.
QString Ecriture(QImage &picture, const PageComposer &composer, PictureState &state,
                 const EcritureOptions &options, const EcritureRows &rows,
                 const FadeContext &context);

} // namespace corvane

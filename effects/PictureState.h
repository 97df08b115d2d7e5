// What stands on the window's picture, as the page writing, the title screens,
// the fades and the animation starts read and leave it. One record, held by
// the window (and by the screen saver for its own picture) and passed by
// reference, so every routine sees the others' changes at once.
#pragma once

namespace corvane {

struct PictureState
{
    bool FBColor = false;    // the picture holds a plain fade colour, not GColor
    bool FPageShown = false; // a page or title screen stands on the picture
    bool FSamePage = true;   // the next forward command writes the current page again
    bool FFreshStart = true; // nothing written or animated since start-up
    bool FArtsShown = false; // a plan de arts picture stands on the picture
};

} // namespace corvane

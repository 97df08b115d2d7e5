// The title screen ("Corvane") and the end screen ("FIN"): the word rises out
// of the background colour and sinks back into it.
#pragma once
#include "effects/Fades.h"

#include <QImage>
#include <QString>
#include <QtGlobal>

namespace corvane {

class FaceLibrary;
class RandomGenerator;
class TABitmap;

inline constexpr int kTitleFontHeight = 30;
inline constexpr int kTitleFontWeight = 700;

// The word and its cell's top-left corner on a picture of the given size.
struct TitleWord
{
    const char *word;
    int x, y;
};
TitleWord titleWord(bool ending, int width, int height);

// The screen's bitmap: background, the word in bold (Mincho, or Gothic), the
// grain when tenderly. The bitmap keeps its size (an empty one becomes
// 481 x 351).
void composeTitle(TABitmap &bitmap, const FaceLibrary &faces, bool ending, bool gothic,
                  quint32 FoColor, quint32 GColor, bool tenderly, RandomGenerator &random);

struct TitleOptions
{
    bool FEnding = false; // the end screen instead of the title
    bool fadeOut = false; // "+Fade Out": the finer blend of 24 steps
    bool gothic = false;  // "Gothic"
    quint32 FoColor = 0;
    quint32 GColor = 0;
};

// The whole screen: on the end screen a shown picture first fades to the
// background (unless it is a plain fade colour or nothing was shown), then the
// word blends in, FPageShown is set and FBColor cleared, and the picture fades
// to the background colour again. The grain follows context.tenderly.
void FCorvanes(QImage &picture, const FaceLibrary &faces, PictureState &state,
               const TitleOptions &options, const FadeContext &context);

} // namespace corvane

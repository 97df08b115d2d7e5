// The About screen: the credit and concept lines written on the background
// colour, in the face chosen for pages, with the grain when asked.
#pragma once
#include <QtGlobal>

namespace corvane {

class FaceLibrary;
class RandomGenerator;
class TABitmap;

inline constexpr int kAboutFontHeight = 17; // logical height: the cell, in pixels
inline constexpr int kAboutBlendSteps = 17;
inline constexpr int kAboutBlendAlpha = 64;

// One line and the top-left corner of its cell on the picture (UTF-8 text).
struct AboutLine
{
    int x, y;
    const char *text;
};

inline constexpr AboutLine kAboutLines[] = {
        {75, 40, "Corvane ver 1.04"},
        {75, 65, "written by the Corvane author"},
        {75, 90, "since 2001-2003"},
        {75, 115, "made with C++, Qt and HarfBuzz"},
        {50, 140, "                              "},
        {50, 165, "Ecriture エクリチュール\u3000書かれたもの"},
        {50, 190, "intension\u3000強度の内包量\u3000"},
        {50, 215, "facteur territoriarisant\u3000領土化の要因"},
        {50, 240, "phylum machinique\u3000機械状系統流"},
        {50, 265, "synthese conjonctive de consommation"},
        {50, 290, " 消費の連接的綜合"},
        {50, 315, "words of Gilles Deleuze and Felix Guattari"},
};

// Fills bitmap (its size kept; an empty one becomes 481 x 351) with GColor and
// writes the lines in FoColor, Gothic or Mincho; then the grain when tenderly.
// Without the face installed the lines are left out, the rest is done.
void composeAbout(TABitmap &bitmap, const FaceLibrary &faces, bool gothic, quint32 FoColor,
                  quint32 GColor, bool tenderly, RandomGenerator &random);

} // namespace corvane

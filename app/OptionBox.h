// The option boxes of the face by name. Each value is the number the layout
// gives its box, so that OptionBox::Keep is LCheckBox11, held in LCheckBox[11].
// "Deep Separation" has a field of its own (SepaCheckBox) and no number; it
// takes the first value past the numbered boxes.
#pragma once

namespace corvane {

enum class OptionBox {
    Form = 1,
    Color = 2,
    Paint = 3,
    CoolColor = 4,
    FadeOut = 5, // "+Fade Out"
    Tenderly = 6,
    FadeIn = 7, // "+Fade In"
    Horizontal = 8,
    Keep = 11,
    BeginEnd = 12, // "+Begin End"
    NameOn = 13,
    Slow = 14,
    Gothic = 15,
    Movement = 16,
    MiniBlackHole = 17,
    RoadMovie = 18,
    Clock = 19,
    Green = 20,
    Bright = 21,
    Devenir = 22, // captioned "plan de arts"
    Repetition = 23,
    DeepSeparation = 24, // SepaCheckBox
};

} // namespace corvane

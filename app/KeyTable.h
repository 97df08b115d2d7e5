// The window's two key tables, one row per test of a key in the order the
// handlers make them: the character keys of FormKeyPress and the virtual keys
// of FormKeyDown (app/form_keys.cpp). Each row names its key, the condition
// under which it acts, the action and the status texts it shows; the same rows
// drive the handlers and print the list of keys (docs/keys.md).
#pragma once
#include <QChar>
#include <QString>
#include <span>

#include "app/OptionBox.h"

class TForm1;

namespace corvane {

// When a row acts. BusyLeave: while any animation runs, the matching key ends
// the handler at once and no later row runs; otherwise the row acts.
enum class When {
    Always,
    BusyLeave,
    NoDifference,            // FDifference not set
    NoVelocity,              // FVelocity not set
    DeepNoVelocity,          // FDeep set, FVelocity not
    Velocity,                // FVelocity set
    VelocityClock,           // FVelocity set, "Clock" checked
    VelocityNoClock,         // FVelocity set, "Clock" not checked
    VelocityNoClockMovement, // as VelocityNoClock, and "Movement" checked
    NoVelocityArtsBox,       // FVelocity not set, "plan de arts" box checked
    NoVelocityNoArtsBox,     // FVelocity not set, "plan de arts" box not checked
    RoomRight,               // FVelocity set and Pcx < picture width - 10
    RoomLeft,                // FVelocity set and Pcx > 10
    RoomUp,                  // FVelocity set and Pcy > 10
    RoomDown,                // FVelocity set and Pcy < picture height - 10
};
bool holds(When when, const TForm1 &form);
const char *describe(When when);

// What an action is given: the window, the key, and the row's two texts.
struct Press
{
    TForm1 &f;
    QChar key;                    // FormKeyPress: the character; FormKeyDown: none
    int index = 0;                // position of the key among the row's keys
    const char *wasSet = nullptr; // the text shown when the toggled box or flag was set
    const char *wasNot = nullptr; // ... when it was not

    void status(const char *text);
    void status(const char *text, int number); // the number appended in decimal
    // Each returns whether the box or flag was set before, having shown the
    // matching text.
    bool toggle(bool &flag);
    bool toggleBox(OptionBox option);
    bool flipBox(OptionBox option); // as toggleBox, showing nothing
};

using KeyAction = void (*)(Press &);

struct KeyPressStep
{
    int step;
    const char *keys; // the characters that match; nullptr: any key
    When when;
    KeyAction act;
    const char *wasSet, *wasNot;
    const char *does; // the action in words, for the list of keys
};

struct KeyDownStep
{
    const char *name; // the key as its cap reads, with its virtual key code
    int keys[3];      // Qt::Key values that match; all 0: any key
    When when;
    KeyAction act;
    const char *wasSet, *wasNot;
    const char *does;
};

std::span<const KeyPressStep> keyPressSteps();
std::span<const KeyDownStep> keyDownSteps();

// The keys and the context menu's items as Markdown tables, from the tables
// above and from the window's PopupMenu1.
QString keysMarkdown(const TForm1 &form);

} // namespace corvane

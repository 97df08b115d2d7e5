// The stored settings: one ordered table of (item name, field or box) drives
// both the start-up read and the shutdown write, so the two orders cannot drift.
// Writes every stored field of TForm1 and the Checked state of every option box;
// the places in the reader's books (FBooks) follow in a section of their own.
#include "app/TForm1.h"

#include <QGuiApplication>

#include <algorithm>
#include <variant>
#include <vector>

#include "controls/TLozengeCheckBox.h"
#include "settings/TRegManager.h"

using namespace corvane;

namespace {

constexpr int kStoredMagnitude = 1 << 20; // pixels or levels; see readSettings

struct Colour { uint32_t *field; };   // stored as a decimal integer
using Target = std::variant<int *, bool *, std::string *, Colour, TLozengeCheckBox *>;

struct Binding
{
    const char *item;  // name in the settings table, looked up without regard to case
    Target target;
};

std::vector<Binding> bindings(TForm1 &f)
{
    std::vector<Binding> b = {
        {"Form1Top", &f.Form1Top},
        {"Form1Left", &f.Form1Left},
    };
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 13, 11, 12, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})
        b.push_back({nullptr, f.box(n)});
    b.push_back({"SepaCheckBoxChecked", f.SepaCheckBox});
    const std::vector<Binding> fields = {
        {"FoColor", Colour{&f.FoColor}},
        {"GColor", Colour{&f.GColor}},
        {"FBColor", &f.FBColor},
        {"FPage", &f.FPage},
        {"FFileName", &f.FFileName},
        {"FLeaf", &f.FLeaf},
        {"FFileIn", &f.FFileIn},
        {"Pcx", &f.Pcx},
        {"Pcy", &f.Pcy},
        {"Pmvc", &f.Pmvc},
        {"Piro", &f.Piro},
        {"Pform", &f.Pform},
        {"Pirot", &f.Pirot},
        {"Pformt", &f.Pformt},
        {"Pdigi", &f.Pdigi},
        {"Pdigit", &f.Pdigit},
        {"Pb", &f.Pb},
        {"Pbt", &f.Pbt},
        {"Pmix", &f.Pmix},
        {"Pmouse", &f.Pmouse},
        {"Fconm", &f.Fconm},
        {"FBlackRect", &f.FBlackRect},
    };
    b.insert(b.end(), fields.begin(), fields.end());
    return b;
}

std::string itemName(const Binding &b)
{
    if (b.item)
        return b.item;
    auto *box = std::get<TLozengeCheckBox *>(b.target);
    return box->objectName().toStdString() + "Checked";
}

template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;

} // namespace

std::vector<std::string> TForm1::settingsOrder()
{
    std::vector<std::string> names;
    for (const Binding &b : bindings(*this))
        names.push_back(itemName(b));
    return names;
}

void TForm1::readSettings()
{
    for (const Binding &b : bindings(*this)) {
        TRegFiler &filer = RegManager1->FindFiler(itemName(b));
        std::visit(Overloaded{
                       [&](int *v) { *v = filer.ReadInteger(); },
                       [&](bool *v) { *v = filer.ReadBool(); },
                       [&](std::string *v) { *v = filer.ReadString(); },
                       [&](Colour c) { *c.field = uint32_t(filer.ReadInteger()); },
                       // Restoring a box runs none of its click handlers.
                       [&](TLozengeCheckBox *box) { box->setChecked(filer.ReadBool()); },
                   },
                   b.target);
    }
    // A hand-edited file may hold any integer. The Velocity centre and step and
    // the brightness base are added and subtracted every tick, so keep them
    // where that cannot overflow. The bound is far beyond anything the program
    // writes itself (the centre can follow the mouse off the picture, so the
    // picture is not the bound), and such values come back unchanged.
    for (int *v : {&Pcx, &Pcy, &Pmvc, &Fconm})
        *v = std::clamp(*v, -kStoredMagnitude, kStoredMagnitude);
    // The places in the reader's books follow the items, in a section of their own.
    FBooks.read(RegManager1->Filer());
}

void TForm1::writeSettings()
{
    // Wayland neither tells a program where its window is nor lets it place
    // one: x() and y() read 0 there, which must not overwrite a real position.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        Form1Top = y();
        Form1Left = x();
    }
    keepBookPlace();
    pageToStore();
    for (const Binding &b : bindings(*this)) {
        TRegFiler &filer = RegManager1->FindFiler(itemName(b));
        std::visit(Overloaded{
                       [&](int *v) { filer.WriteInteger(*v); },
                       [&](bool *v) { filer.WriteBool(*v); },
                       [&](std::string *v) { filer.WriteString(*v); },
                       [&](Colour c) { filer.WriteInteger(int(*c.field)); },
                       [&](TLozengeCheckBox *box) { filer.WriteBool(box->isChecked()); },
                   },
                   b.target);
    }
    FBooks.write(RegManager1->Filer());
}

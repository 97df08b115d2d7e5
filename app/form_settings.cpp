// The stored settings. The items, their order, kinds and defaults are the
// settings table's (settings/CorvaneSettings.h); the window only attaches to
// each item, by its name, the field or check box that holds it. The start-up
// read and the shutdown write walk the same table, so the two orders cannot
// drift. The places in the reader's books (bookPlaces) follow in a section of
// their own.
#include "app/TForm1.h"

#include <QGuiApplication>

#include <algorithm>
#include <variant>
#include <vector>

#include "controls/TLozengeCheckBox.h"
#include "core/Overloaded.h"
#include "settings/CorvaneSettings.h"
#include "settings/TRegManager.h"

using namespace corvane;

namespace {

constexpr int kStoredMagnitude = 1 << 20; // pixels or levels; see readSettings

// A colour, stored as a decimal integer.
struct ColourField
{
    Colour *field;
};
using Holder = std::variant<std::monostate, int *, bool *, std::string *, ColourField,
                            TLozengeCheckBox *>;

// Every stored field and box of the window by the name of the item that holds it.
std::vector<std::pair<std::string_view, Holder>> storedFields(TForm1 &f)
{
    return {
            {"LCheckBox1Checked", f.box(OptionBox::Form)},
            {"LCheckBox2Checked", f.box(OptionBox::Color)},
            {"LCheckBox3Checked", f.box(OptionBox::Paint)},
            {"LCheckBox4Checked", f.box(OptionBox::CoolColor)},
            {"LCheckBox5Checked", f.box(OptionBox::FadeOut)},
            {"LCheckBox6Checked", f.box(OptionBox::Tenderly)},
            {"LCheckBox7Checked", f.box(OptionBox::FadeIn)},
            {"LCheckBox8Checked", f.box(OptionBox::Horizontal)},
            {"LCheckBox13Checked", f.box(OptionBox::NameOn)},
            {"LCheckBox11Checked", f.box(OptionBox::Keep)},
            {"LCheckBox12Checked", f.box(OptionBox::BeginEnd)},
            {"LCheckBox14Checked", f.box(OptionBox::Slow)},
            {"LCheckBox15Checked", f.box(OptionBox::Gothic)},
            {"LCheckBox16Checked", f.box(OptionBox::Movement)},
            {"LCheckBox17Checked", f.box(OptionBox::MiniBlackHole)},
            {"LCheckBox18Checked", f.box(OptionBox::RoadMovie)},
            {"LCheckBox19Checked", f.box(OptionBox::Clock)},
            {"LCheckBox20Checked", f.box(OptionBox::Green)},
            {"LCheckBox21Checked", f.box(OptionBox::Bright)},
            {"LCheckBox22Checked", f.box(OptionBox::Devenir)},
            {"LCheckBox23Checked", f.box(OptionBox::Repetition)},
            {"SepaCheckBoxChecked", f.box(OptionBox::DeepSeparation)},
            {"Form1Top", &f.Form1Top},
            {"Form1Left", &f.Form1Left},
            {"FoColor", ColourField{&f.FoColor}},
            {"GColor", ColourField{&f.GColor}},
            {"FBColor", &f.pictureState.FBColor},
            {"FPage", &f.FPage},
            {"FFileName", &f.FFileName},
            {"FLeaf", &f.FLeaf},
            {"FFileIn", &f.FFileIn},
            {"Pcx", &f.velocityFx.Pcx},
            {"Pcy", &f.velocityFx.Pcy},
            {"Pmvc", &f.velocityFx.Pmvc},
            {"Piro", &f.velocityFx.Piro},
            {"Pform", &f.velocityFx.Pform},
            {"Pirot", &f.velocityFx.Pirot},
            {"Pformt", &f.velocityFx.Pformt},
            {"Pdigi", &f.velocityFx.Pdigi},
            {"Pdigit", &f.velocityFx.Pdigit},
            {"Pb", &f.velocityFx.Pb},
            {"Pbt", &f.velocityFx.Pbt},
            {"Pmix", &f.velocityFx.Pmix},
            {"Pmouse", &f.velocityFx.Pmouse},
            {"Fconm", &f.artsFx.Fconm},
            {"FBlackRect", &f.deepFx.FBlackRect},
            {"autoPages", &f.autoPages.on},
            {"autoSeconds", &f.autoPages.seconds},
            {"autoAnimation", &f.autoPages.animation},
            {"Aozora", &f.aozora.wanted},
    };
}

Holder holderOf(std::string_view item,
                const std::vector<std::pair<std::string_view, Holder>> &fields)
{
    for (const auto &[name, holder] : fields)
        if (name == item)
            return holder;
    return std::monostate{};
}

struct Binding
{
    const CorvaneSetting *setting;
    Holder holder; // monostate: the window has nothing of that name
};

std::vector<Binding> bindings(TForm1 &f)
{
    const auto fields = storedFields(f);
    std::vector<Binding> b;
    for (const CorvaneSetting &s : corvaneSettings())
        b.push_back({&s, holderOf(s.name, fields)});
    return b;
}

std::optional<SettingValue> valueOf(const Holder &h)
{
    return std::visit(
            Overloaded{
                    [](std::monostate) -> std::optional<SettingValue> { return std::nullopt; },
                    [](int *v) -> std::optional<SettingValue> { return int32_t(*v); },
                    [](bool *v) -> std::optional<SettingValue> { return *v; },
                    [](std::string *v) -> std::optional<SettingValue> { return *v; },
                    [](ColourField c) -> std::optional<SettingValue> { return int32_t(*c.field); },
                    [](TLozengeCheckBox *box) -> std::optional<SettingValue> {
                        return box->isChecked();
                    },
            },
            h);
}

void assign(const Holder &h, const SettingValue &value)
{
    std::visit(
            Overloaded{
                    [](std::monostate) {},
                    [&](int *v) { *v = settingAsInteger(value); },
                    [&](bool *v) { *v = settingAsInteger(value) != 0; },
                    [&](std::string *v) {
                        if (const std::string *s = std::get_if<std::string>(&value))
                            *v = *s;
                    },
                    [&](ColourField c) { *c.field = Colour(settingAsInteger(value)); },
                    // Restoring a box runs none of its click handlers.
                    [&](TLozengeCheckBox *box) { box->setChecked(settingAsInteger(value) != 0); },
            },
            h);
}

const void *addressOf(const Holder &h)
{
    return std::visit(Overloaded{
                              [](std::monostate) -> const void * { return nullptr; },
                              [](ColourField c) -> const void * { return c.field; },
                              [](auto *p) -> const void * { return p; },
                      },
                      h);
}

} // namespace

std::vector<TForm1::SettingBinding> TForm1::settingBindings()
{
    std::vector<SettingBinding> out;
    for (const Binding &b : bindings(*this))
        out.push_back({b.setting, addressOf(b.holder), valueOf(b.holder)});
    return out;
}

std::vector<std::string> TForm1::storedFieldNames()
{
    std::vector<std::string> names;
    for (const auto &field : storedFields(*this))
        names.emplace_back(field.first);
    return names;
}

void TForm1::readSettings()
{
    // One read of the file for every item and the books' places.
    const TRegReading once(*RegManager1, {corvane::kBooksSection});
    for (const Binding &b : bindings(*this))
        assign(b.holder, readSetting(*RegManager1, *b.setting));
    // A hand-edited file may hold any integer. The Velocity centre and step and
    // the brightness base are added and subtracted every tick, so keep them
    // where that cannot overflow. The bound is far beyond anything the program
    // writes itself (the centre can follow the mouse off the picture, so the
    // picture is not the bound), and such values come back unchanged.
    for (int *v : {&velocityFx.Pcx, &velocityFx.Pcy, &velocityFx.Pmvc, &artsFx.Fconm})
        *v = std::clamp(*v, -kStoredMagnitude, kStoredMagnitude);
    autoPages.normalise();
    restartAuto();
    // The places in the reader's books follow the items, in a section of their own.
    bookPlaces.read(RegManager1->Filer());
}

void TForm1::writeSettings()
{
    // Wayland neither tells a program where its window is nor lets it place
    // one: x() and y() read 0 there, which must not overwrite a real position.
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        // Full screen stands at the screen's corner; the window's place is the one kept.
        const QPoint at = fullScreenSaved ? fullScreenSaved->position : pos();
        Form1Top = at.y();
        Form1Left = at.x();
    }
    keepBookPlace();
    pageToStore();
    for (const Binding &b : bindings(*this))
        if (const std::optional<SettingValue> value = valueOf(b.holder))
            writeSetting(*RegManager1, *b.setting, *value);
    bookPlaces.write(RegManager1->Filer());
}

// Start-up and shutdown of the main window with a temporary settings file.
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/TForm1.h"
#include "controls/THWaSpeedButton.h"
#include "controls/TLozengeCheckBox.h"
#include "settings/CorvaneSettings.h"
#include "settings/IniProfile.h"

using corvane::OptionBox;

namespace {

struct Window
{
    QTemporaryDir dir;
    QString ini() const { return dir.filePath(QStringLiteral("corvane.ini")); }
    void store(const char *section, const char *key, const char *value)
    {
        ASSERT_TRUE(corvane::IniProfile(ini().toStdString()).write(section, key, value));
    }
    std::optional<std::string> stored(const char *section, const char *key) const
    {
        return corvane::IniProfile(ini().toStdString()).read(section, key);
    }
};

} // namespace

TEST(Lifecycle, FirstStartUsesTheDefaults)
{
    Window w;
    TForm1 f(w.ini());
    EXPECT_EQ(f.pos(), QPoint(100, 100));
    EXPECT_EQ(f.FoColor, 15197922u);
    EXPECT_EQ(f.GColor, 5266509u);
    EXPECT_EQ(f.FPage, 1);
    EXPECT_EQ(f.FLeaf, 1);
    EXPECT_EQ(f.velocityFx.Pcx, 240);
    EXPECT_EQ(f.velocityFx.Pcy, 175);
    EXPECT_EQ(f.artsFx.Fconm, 80);
    EXPECT_TRUE(f.deepFx.FBlackRect);
    for (int n : {4, 6, 7, 11, 12, 13})
        EXPECT_TRUE(f.checked(OptionBox(n))) << "LCheckBox" << n;
    for (int n : {1, 2, 3, 5, 8, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23})
        EXPECT_FALSE(f.checked(OptionBox(n))) << "LCheckBox" << n;
    EXPECT_TRUE(f.pictureState.FSamePage);
    EXPECT_TRUE(f.pictureState.FFreshStart);
    EXPECT_FALSE(f.pictureState.FPageShown);
    EXPECT_EQ(f.FPageCount, 0);
    EXPECT_TRUE(f.Timer2->isActive());
    EXPECT_EQ(f.Timer1->interval(), 55);
    EXPECT_EQ(f.Timer4->interval(), 7000);
    // Deep's colour walk starts from the clock, not from its grey.
    EXPECT_NE(f.deepFx.FDeepWalk, 15198183);
    EXPECT_GE(f.deepFx.FDeepWalk, 0);
    EXPECT_LT(f.deepFx.FDeepWalk, 16600000);
}

// The window's bindings against the settings table, as a consistency checker
// sees them: every item bound exactly once and in the table's order, every
// option box and every stored field of the window named by exactly one item,
// each field holding a value of the item's kind, and, with no settings file,
// every field starting at its item's default.
TEST(Lifecycle, EveryStoredItemIsBoundOnceToAFieldOfItsKind)
{
    Window w;
    TForm1 f(w.ini());
    const auto bindings = f.settingBindings();
    const auto table = corvane::corvaneSettings();
    ASSERT_EQ(bindings.size(), table.size());

    std::map<const void *, std::string> holders;
    std::set<std::string> items;
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        const TForm1::SettingBinding &b = bindings[i];
        const std::string name(b.setting->name);
        SCOPED_TRACE(name);
        EXPECT_EQ(b.setting, &table[i]) << "read and written in the table's order";
        EXPECT_TRUE(items.insert(name).second) << "bound twice";
        ASSERT_NE(b.holder, nullptr) << "no field or box of the window holds it";
        const auto [at, fresh] = holders.emplace(b.holder, name);
        EXPECT_TRUE(fresh) << "shares its field with " << at->second;
        ASSERT_TRUE(b.value.has_value());
        EXPECT_EQ(b.value->index(), std::size_t(b.setting->kind)) << "field of another kind";
        EXPECT_EQ(*b.value, b.setting->defaultValue) << "does not start at its default";
    }

    int boxes = 0;
    for (const QAbstractButton *button : f.findChildren<QAbstractButton *>())
        if (const auto *box = dynamic_cast<const TLozengeCheckBox *>(button)) {
            ++boxes;
            EXPECT_EQ(holders.count(box), 1u)
                    << box->objectName().toStdString() << " is not stored";
        }
    EXPECT_EQ(boxes, 22);
    const std::vector<std::string> fields = f.storedFieldNames();
    EXPECT_EQ(std::set<std::string>(fields.begin(), fields.end()).size(), fields.size());
    for (const std::string &field : fields)
        EXPECT_EQ(items.count(field), 1u) << field << " is stored under no item";
}

TEST(Lifecycle, StoredValuesComeBackAndKeepOffStartsAtPageOne)
{
    Window w;
    w.store("Form\\Form1", "Top", "230");
    w.store("Form\\Form1", "Left", "-40");
    w.store("Form\\FPage", "Integer", "7");
    w.store("Form\\LCheckBox11", "Checked", "0");
    w.store("Form\\LCheckBox14", "Checked", "1");
    w.store("Form\\FBColor", "Boolean", "1");
    w.store("Form1\\Pmvc", "Integer", "9");
    w.store("Form\\GColor", "Integer", "255");
    TForm1 f(w.ini());
    EXPECT_EQ(f.pos(), QPoint(-40, 230)) << "the stored position is applied unchanged";
    EXPECT_EQ(f.FPage, 1) << "without Keep the reading starts at page 1";
    EXPECT_EQ(f.pictureState.FBColor, false) << "the stored FBColor never takes effect at start-up";
    EXPECT_EQ(f.velocityFx.Pmvc, 9);
    EXPECT_EQ(f.Timer1->interval(), 110);
    EXPECT_EQ(f.Timer3->interval(), 110);
    EXPECT_EQ(f.Timer4->interval(), 12000);
    EXPECT_EQ(f.Timer5->interval(), 110);
    const QImage &pic = f.picture();
    EXPECT_EQ(pic.pixelColor(0, 0).red(), 255) << "the picture is filled with GColor";
}

TEST(Lifecycle, ClosingWritesAll47ItemsAndTheyReadBack)
{
    Window w;
    {
        TForm1 f(w.ini());
        f.box(OptionBox::BeginEnd)->setChecked(false); // no end screen in a test
        f.box(OptionBox::Paint)->setChecked(true);
        f.FLeaf = 12;
        f.FFileName = "Clipboard";
        f.velocityFx.Pcx = 17;
        f.move(321, 123);
        EXPECT_TRUE(f.FormCloseQuery());
    }
    QFile file(w.ini());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count('='), 50);
    EXPECT_EQ(w.stored("Form\\LCheckBox3", "Checked"), "1");
    EXPECT_EQ(w.stored("Form\\FFileName", "String"), "Clipboard");
    EXPECT_EQ(w.stored("Form\\Form1", "Left"), "321");

    TForm1 again(w.ini());
    EXPECT_TRUE(again.checked(OptionBox::Paint));
    EXPECT_FALSE(again.checked(OptionBox::BeginEnd));
    EXPECT_EQ(again.FLeaf, 12);
    EXPECT_EQ(again.velocityFx.Pcx, 17);
    EXPECT_EQ(again.FFileName, "Clipboard");
    EXPECT_EQ(again.Leafgo1->toolTip(), QStringLiteral("12 page"));
}

TEST(Lifecycle, SlowBoxSetsAllFourEffectTimers)
{
    Window w;
    TForm1 f(w.ini());
    f.box(OptionBox::Slow)->click();
    EXPECT_EQ(f.Timer1->interval(), 110);
    EXPECT_EQ(f.Timer3->interval(), 110);
    EXPECT_EQ(f.Timer4->interval(), 12000);
    EXPECT_EQ(f.Timer5->interval(), 110);
    f.box(OptionBox::Slow)->click();
    EXPECT_EQ(f.Timer4->interval(), 7000);
    EXPECT_EQ(f.Timer5->interval(), 55);
    // Setting an interval restarts a timer: the deferred load must not be put off.
    QThread::msleep(120);
    f.box(OptionBox::Slow)->click();
    EXPECT_EQ(f.Timer2->interval(), 500);
    EXPECT_TRUE(f.Timer2->isActive());
    EXPECT_LT(f.Timer2->remainingTime(), 450);
}

// The context menu PopupMenu1: its items in order, with captions, hints and
// Ctrl shortcuts, shown on a right click anywhere on the window face (and by
// the key "y", app/form_keys.cpp), and drawn by the window itself
// (app/MenuStyle.h); the tray menu PopupMenu2 drawn the same. Writes both
// menus and their item actions.
#include "app/TForm1.h"

#include <QAction>
#include <QMenu>

#include "app/Guarded.h"
#include "app/MenuStyle.h"

using namespace corvane;

void TForm1::createMenus()
{
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    drawMenuItself(PopupMenu1, kMenuItemWidth, true);

    // handler null: the command is not in this build yet, the item stays disabled.
    auto item = [this](const char *name, const char *caption, const char *hint, int key,
                       void (TForm1::*handler)()) {
        auto *a = PopupMenu1->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        a->setStatusTip(QString::fromLatin1(hint));
        if (key) {
            a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key(key)));
            a->setShortcutContext(Qt::WindowShortcut);
            // The items draw no shortcut text, so the menu keeps no room for it.
            a->setShortcutVisibleInContextMenu(false);
        }
        if (handler)
            connect(a, &QAction::triggered, this, guarded([this, handler] { (this->*handler)(); }));
        else
            a->setEnabled(false);
        addAction(a); // the shortcut works anywhere in the window, menu shown or not
        return a;
    };
    auto separator = [this](const char *name) {
        PopupMenu1->addSeparator()->setObjectName(QString::fromLatin1(name));
    };

    RunR1 = item("RunR1", "Difference(D)", "Ctrl+D", Qt::Key_D, &TForm1::Effect1Click);
    Deep1 = item("Deep1", "Deep (Mu-gen)", "", Qt::Key_P, &TForm1::RectButtonClick);
    RunalongA1 = item("RunalongA1", "Run along(R)", "Ctrl+R", Qt::Key_R, &TForm1::EffectOut1Click);
    Velocity1 = item("Velocity1", "Velocity(E)", "Ctrl+E", Qt::Key_E, &TForm1::VelocityClick);
    plandeartsA1
            = item("plandeartsA1", "plan de arts(A)", "Ctrl+A", Qt::Key_A, &TForm1::fineartsClick);
    separator("N3");
    Bitmapsave1 = item("Bitmapsave1", "Bitmapsave", "", 0, &TForm1::BitsaveClick);
    FColorF1 = item("FColorF1", "FColor", "", 0, &TForm1::FontColor1Click);
    BgColorB1 = item("BgColorB1", "BgColor", "", 0, &TForm1::BgColor1Click);
    BgRandomM1 = item("BgRandomM1", "BgRandom", "", 0, &TForm1::BGChangeClick);
    separator("N4");
    AboutT1 = item("AboutT1", "About", "", 0, &TForm1::About);
    LeafL1 = item("LeafL1", "Leaf", "", 0, &TForm1::Leaf1Click);
    GoG1 = item("GoG1", "Go", "", 0, &TForm1::Leafgo1Click);
    separator("N5");
    Ecriture1 = item("Ecriture1", "Ecriture", "Front Ctrl+F", Qt::Key_F, &TForm1::Ecriture1Click);
    BackPage1 = item("BackPage1", "BackPage", "Back Ctrl+B", Qt::Key_B, &TForm1::BackPage1Click);
    Reset2 = item("Reset2", "Reset", "Again Ctrl+G", Qt::Key_G, &TForm1::Reset1Click);
    aozoraItem = item("aozoraItem", "Aozora",
                      "Ruby and notes of Aozora Bunko, or the text as it stands  b", 0,
                      &TForm1::switchAozora);
    separator("N6");
    Small2 = item("Small2", "Small", "Ctrl+L", Qt::Key_L, &TForm1::Small1Click);
    Exit2 = item("Exit2", "Exit", "Ctrl+T", Qt::Key_T, &TForm1::Exit1Click);

    // The highlighted item's hint (its status tip) reaches the status line
    // through the application hint (app/form_hints.cpp).

    // The tray menu (app/form_tray.cpp), where Qt draws it: on an XEmbed tray.
    PopupMenu2 = new QMenu(this);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    drawMenuItself(PopupMenu2, kTrayItemWidth, false);
    Show1 = PopupMenu2->addAction(QStringLiteral("Show"));
    Show1->setObjectName(QStringLiteral("Show1"));
    PopupMenu2->addSeparator()->setObjectName(QStringLiteral("N1"));
    Close1 = PopupMenu2->addAction(QStringLiteral("Close"));
    Close1->setObjectName(QStringLiteral("Close1"));
    connect(Show1, &QAction::triggered, this, guarded([this] { Show1Click(); }));
    connect(Close1, &QAction::triggered, this, guarded([this] { Close1Click(); }));

    // A right click on the face or on any control that has no menu of its own.
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            guarded([this](const QPoint &at) { PopupMenu1->popup(mapToGlobal(at)); }));
}

void TForm1::Ecriture1Click()
{
    TriButton1Click();
}

void TForm1::BackPage1Click()
{
    TriButton2Click();
}

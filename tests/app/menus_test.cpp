// The popup menus' own drawing, as rendered: the lilac ground on every item,
// highlighted or not, the caption right of x = 15, the two-tone separator,
// and the item sizes of the context menu and of a tray-style menu.
#include <QAction>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/MenuStyle.h"
#include "app/TForm1.h"
#include "tests/support/TestWindow.h"

namespace {

// 0x00BBGGRR of a rendered pixel.
quint32 at(const QImage &img, int x, int y)
{
    const QColor c = img.pixelColor(x, y);
    return quint32(c.red()) | quint32(c.green()) << 8 | quint32(c.blue()) << 16;
}

constexpr quint32 kGround = 0xFFB3B3, kDark = 0x1A9185, kLight = 0xA7EFE8;

} // namespace

// Every item of PopupMenu1 is lilac to the menu's edge with its caption from
// x = 15; a separator is a dark line across its middle and a light one below,
// one pixel short of either edge; the highlight changes nothing.
TEST(Menus, ContextMenuDrawsItsOwnItems)
{
    TestWindow w;
    w.build();
    TForm1 &f = w.f();
    QMenu *menu = f.PopupMenu1;
    menu->popup(QPoint(100, 100));
    const QList<QAction *> actions = menu->actions();
    const QImage img = menu->grab().toImage();
    ASSERT_EQ(img.width(), 105) << "the menu is as wide as its items";

    for (QAction *a : actions) {
        const QRect r = menu->actionGeometry(a);
        SCOPED_TRACE(a->objectName().toStdString());
        EXPECT_EQ(r.size(), a->isSeparator() ? QSize(105, 10) : QSize(105, 25));
        if (a->isSeparator()) {
            const int mid = r.top() + 5;
            for (int x = 1; x <= 103; ++x) {
                EXPECT_EQ(at(img, x, mid), kDark) << x;
                EXPECT_EQ(at(img, x, mid + 1), kLight) << x;
            }
            for (int y = r.top(); y <= r.bottom(); ++y) {
                EXPECT_EQ(at(img, 0, y), kGround);
                EXPECT_EQ(at(img, 104, y), kGround);
                if (y != mid && y != mid + 1) {
                    EXPECT_EQ(at(img, 50, y), kGround);
                }
            }
            continue;
        }
        int ink = 0, left = 105;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = 0; x < 105; ++x)
                if (at(img, x, y) != kGround) {
                    ++ink;
                    left = std::min(left, x);
                }
        EXPECT_GT(ink, 20) << "no caption";
        EXPECT_GE(left, 15) << "the caption starts left of x = 15";
        for (int y : {r.top(), r.bottom()})
            EXPECT_EQ(at(img, 0, y), kGround);
    }

    const QRect first = menu->actionGeometry(actions[0]);
    menu->setActiveAction(actions[0]);
    const QImage lit = menu->grab().toImage();
    EXPECT_EQ(lit.copy(first), img.copy(first)) << "the highlighted item is drawn differently";
    menu->hide();
}

// The tray menu's items are 60 x 25; its separator is the platform's own.
TEST(Menus, TrayMenuItemsAreNarrowAndItsSeparatorIsThePlatforms)
{
    QWidget owner;
    QMenu menu(&owner);
    corvane::drawMenuItself(&menu, corvane::kTrayItemWidth, false);
    QAction *show = menu.addAction(QStringLiteral("Show"));
    QAction *rule = menu.addSeparator();
    menu.addAction(QStringLiteral("Close"));
    menu.popup(QPoint(10, 10));
    EXPECT_EQ(menu.actionGeometry(show).size(), QSize(60, 25));
    EXPECT_NE(menu.actionGeometry(rule).height(), 10) << "the separator took the window's size";
    const QImage img = menu.grab().toImage();
    const int mid = menu.actionGeometry(rule).center().y();
    EXPECT_NE(at(img, 30, mid), kDark);
    EXPECT_EQ(at(img, 2, 2), kGround);
    menu.hide();
}

// A right click on the window face opens the context menu where the mouse is;
// a left press there does not.
TEST(Menus, RightClickOnTheFaceOpensTheContextMenu)
{
    TestWindow w;
    w.build();
    TForm1 &f = w.f();
    f.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&f));
    const QPoint face(10, 100); // left of the picture, no control; room below for the menu
    // Through the window, as the platform delivers it: the press makes the menu event.
    QTest::mouseClick(f.windowHandle(), Qt::LeftButton, {}, face);
    EXPECT_FALSE(f.PopupMenu1->isVisible());
    QTest::mouseClick(f.windowHandle(), Qt::RightButton, {}, face);
    EXPECT_TRUE(f.PopupMenu1->isVisible());
    EXPECT_EQ(f.PopupMenu1->pos(), f.mapToGlobal(face));
    f.PopupMenu1->hide();
}

// The lozenge option box: its shape, its two lit states, and which changes
// of state tell the window.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/TLozengeCheckBox.h"

namespace {

const QRgb kFace = qRgb(157, 183, 171);

QImage shot(bool checked)
{
    QWidget parent;
    QPalette pal = parent.palette();
    pal.setColor(QPalette::Window, QColor(kFace));
    parent.setPalette(pal);
    TLozengeCheckBox box(&parent);
    box.resize(25, 25);
    box.setChecked(checked);
    return box.grab().toImage();
}

} // namespace

// A 25 x 25 box: a lozenge 14 x 14 around (11, 12) on the face colour.
TEST(Lozenge, ShapeAroundTheHalvedHeight)
{
    EXPECT_EQ(TLozengeCheckBox::lozenge(25), QPolygon({{11, 5}, {4, 12}, {11, 19}, {18, 12}}));
    EXPECT_EQ(TLozengeCheckBox::lozenge(26).at(1), QPoint(4, 13));
    EXPECT_EQ(TLozengeCheckBox::lozenge(27).at(1), QPoint(4, 14)); // 13.5 rounds to even
    const QImage img = shot(false);
    EXPECT_EQ(img.pixel(0, 0), kFace);
    EXPECT_EQ(img.pixel(11, 12), kFace);
    EXPECT_EQ(img.pixel(20, 12), kFace);
    EXPECT_EQ(img.pixel(11, 21), kFace);
}

// Off: the upper edges are white and the lower ones black; on: the reverse.
TEST(Lozenge, LitEdgesShowTheState)
{
    const QRgb white = qRgb(255, 255, 255), black = qRgb(0, 0, 0);
    const QImage off = shot(false), on = shot(true);
    for (QPoint upper : {QPoint(8, 8), QPoint(14, 8)}) {
        EXPECT_EQ(off.pixel(upper), white);
        EXPECT_EQ(on.pixel(upper), black);
    }
    for (QPoint lower : {QPoint(8, 16), QPoint(14, 16)}) {
        EXPECT_EQ(off.pixel(lower), black);
        EXPECT_EQ(on.pixel(lower), white);
    }
}

// A click inverts the state before clicked() is heard; setting it from code
// is silent.
TEST(Lozenge, ClickFiresAfterTheChangeCodeDoesNot)
{
    TLozengeCheckBox box;
    box.resize(25, 25);
    box.show();
    QSignalSpy clicks(&box, &QAbstractButton::clicked);
    bool seen = false;
    QObject::connect(&box, &QAbstractButton::clicked, [&] { seen = box.isChecked(); });
    box.setChecked(true);
    box.setChecked(false);
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(11, 12));
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(seen);
}

namespace {

// A box of the window's size in a plain window that has the focus.
struct Focusable
{
    QWidget window;
    TLozengeCheckBox *box = new TLozengeCheckBox(&window);
    QSignalSpy clicks{box, &QAbstractButton::clicked};
    Focusable()
    {
        QPalette pal = window.palette();
        pal.setColor(QPalette::Window, QColor(kFace));
        window.setPalette(pal);
        window.setAutoFillBackground(true);
        QFont font;
        font.setPixelSize(15);
        window.setFont(font);
        window.resize(60, 40);
        box->setGeometry(10, 10, 25, 25);
        window.show();
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    QImage shot() { return box->grab().toImage(); }
};

// Pixels of column x between rows top and bottom that are not the face.
int marked(const QImage &img, int x, int top, int bottom)
{
    int n = 0;
    for (int y = top; y <= bottom; ++y)
        n += img.pixel(x, y) != kFace;
    return n;
}

} // namespace

// A click gives the box the focus, and a focused box without a caption draws
// its focus rectangle as a dotted line one pixel wide at x = 21, as high as a
// line of its font; it goes with the focus.
TEST(Lozenge, ClickFocusesAndTheFocusRectangleShows)
{
    Focusable f;
    const QRect r = f.box->focusRect();
    EXPECT_EQ(r.left(), 21);
    EXPECT_EQ(r.width(), 1);
    EXPECT_EQ(r.height(), QFontMetrics(f.box->font()).height());
    EXPECT_EQ(r.top(), 12 - r.height() / 2);
    f.box->clearFocus(); // the window's activation gave it to its one tab stop
    ASSERT_FALSE(f.box->hasFocus());
    EXPECT_EQ(marked(f.shot(), 21, 0, 24), 0) << "no focus, no rectangle";

    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(11, 12));
    EXPECT_TRUE(f.box->hasFocus());
    const QImage focused = f.shot();
    const int dots = marked(focused, 21, r.top(), r.bottom());
    EXPECT_GE(dots, r.height() / 2 - 1) << "every other pixel";
    EXPECT_LE(dots, r.height() / 2 + 1);
    EXPECT_EQ(marked(focused, 20, 0, 24), 0) << "one pixel wide";
    EXPECT_EQ(marked(focused, 22, 0, 24), 0) << "one pixel wide";

    f.box->clearFocus();
    EXPECT_EQ(marked(f.shot(), 21, 0, 24), 0);
}

// With a caption the rectangle runs from x = 21 to the caption's end, cut at
// the control's right edge.
TEST(Lozenge, FocusRectangleSpansTheCaption)
{
    Focusable f;
    f.box->setText(QStringLiteral("Keep"));
    f.box->resize(170, 25);
    const int advance = QFontMetrics(f.box->font()).horizontalAdvance(QStringLiteral("Keep"));
    EXPECT_EQ(f.box->focusRect().left(), 21);
    EXPECT_EQ(f.box->focusRect().right(), 22 + advance - 1);
    f.box->resize(40, 25);
    EXPECT_EQ(f.box->focusRect().right(), 39);
}

// A focused box is not toggled by Space, Enter or any other key: the window
// reads the keys itself.
TEST(Lozenge, KeysNeverToggleAFocusedBox)
{
    Focusable f;
    QTest::mouseClick(f.box, Qt::LeftButton, {}, QPoint(11, 12));
    ASSERT_TRUE(f.box->hasFocus());
    ASSERT_TRUE(f.box->isChecked());
    for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Select, Qt::Key_Down})
        QTest::keyClick(f.box, key);
    EXPECT_TRUE(f.box->isChecked());
    EXPECT_EQ(f.clicks.count(), 1);
}

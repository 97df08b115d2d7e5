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

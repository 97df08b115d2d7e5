// The shine button ("Exit", "Small"): its looks under the pointer and which
// releases click.
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

#include "controls/THWaSpeedButton.h"

namespace {

struct Exit
{
    TShineSpeedButton button;
    QSignalSpy clicks{&button, &QAbstractButton::clicked};
    Exit()
    {
        QFont normal;
        normal.setPixelSize(15);
        normal.setBold(true);
        button.setFont(normal);
        QFont active;
        active.setPixelSize(17);
        button.setActiveFont(active, QColor(224, 114, 101));
        button.setText(QStringLiteral("Exit"));
        button.resize(42, 17);
        button.show();
    }
};

} // namespace

// A release on the left or top edge pixel is inside and clicks, although a
// move onto that edge during the press already shows the button released.
TEST(Shine, EdgePixelsCountAsInsideOnRelease)
{
    for (QPoint edge : {QPoint(0, 8), QPoint(20, 0)}) {
        Exit e;
        QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
        EXPECT_EQ(e.button.state(), TShineSpeedButton::PressedHot);
        QTest::mouseMove(&e.button, edge);
        EXPECT_EQ(e.button.state(), TShineSpeedButton::Up);
        QTest::mouseRelease(&e.button, Qt::LeftButton, {}, edge);
        EXPECT_EQ(e.clicks.count(), 1);
    }
}

// Dragged off, the caption returns to its normal font at once, and a release
// outside (including one past the right or bottom edge) does not click.
TEST(Shine, ReleaseOutsideDoesNotClick)
{
    for (QPoint outside : {QPoint(42, 8), QPoint(20, 17), QPoint(-1, 8)}) {
        Exit e;
        QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
        EXPECT_EQ(e.button.currentFont().pixelSize(), 17);
        QTest::mouseMove(&e.button, outside);
        EXPECT_EQ(e.button.currentFont().pixelSize(), 15);
        QTest::mouseRelease(&e.button, Qt::LeftButton, {}, outside);
        EXPECT_EQ(e.clicks.count(), 0);
    }
}

// Disabled while held, the button forgets the press and draws as disabled.
TEST(Shine, DisablingEndsThePress)
{
    Exit e;
    QTest::mousePress(&e.button, Qt::LeftButton, {}, {20, 8});
    e.button.setEnabled(false);
    EXPECT_EQ(e.button.state(), TShineSpeedButton::Disabled);
    e.button.setEnabled(true);
    QTest::mouseRelease(&e.button, Qt::LeftButton, {}, {20, 8});
    EXPECT_EQ(e.clicks.count(), 0);
}

// A flat button carries its caption and shows it only while captions are
// shown; a caption set meanwhile waits until they are.
TEST(FlatButton, CaptionShowsOnlyWhenAsked)
{
    THWaSpeedButton b;
    b.setCaption(QStringLiteral("Difference"));
    EXPECT_EQ(b.text(), QString());
    b.setCaptionShown(true);
    EXPECT_EQ(b.text(), QStringLiteral("Difference"));
    b.setCaptionShown(false);
    EXPECT_EQ(b.text(), QString());
    b.setCaption(QStringLiteral("Run along"));
    EXPECT_EQ(b.text(), QString());
    EXPECT_EQ(b.caption(), QStringLiteral("Run along"));
    b.setCaptionShown(true);
    EXPECT_EQ(b.text(), QStringLiteral("Run along"));
}

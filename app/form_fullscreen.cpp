// Full screen: F11 (and the menu's "Full screen") shows the picture alone on
// the screen the window is on; Esc or F11 brings the window back as it was.
// The window itself goes full screen, so every key, shortcut and the menu
// work as before; its face is covered by fullScreenView. Writes
// fullScreenView, fullScreenSaved and Image1's place of showing.
#include "app/TForm1.h"

#include <QAction>
#include <QMenu>

#include "app/FullScreenPicture.h"
#include "app/Guarded.h"
#include "app/TPictureBox.h"

using namespace corvane;

void TForm1::createFullScreen()
{
    fullScreenView = new FullScreenPicture(Image1->picture(), this);
    fullScreenView->setObjectName(QStringLiteral("fullScreenView"));
    fullScreenView->onMouseMove = [this](int x, int y) { Image1MouseMove(x, y); };
    fullScreenAction = PopupMenu1->addAction(QStringLiteral("Full screen"));
    fullScreenAction->setObjectName(QStringLiteral("fullScreenAction"));
    fullScreenAction->setStatusTip(QStringLiteral("F11, Esc"));
    connect(fullScreenAction, &QAction::triggered, this, guarded([this] { toggleFullScreen(); }));
}

bool TForm1::isFullScreenShown() const
{
    return fullScreenSaved.has_value();
}

void TForm1::toggleFullScreen()
{
    if (isFullScreenShown())
        leaveFullScreen();
    else
        enterFullScreen();
}

void TForm1::enterFullScreen()
{
    if (isFullScreenShown() || isHidden())
        return;
    fullScreenSaved = FullScreenSaved{pos(), mask(), focusWidget()};
    clearMask();
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    fullScreenView->setGeometry(rect());
    fullScreenView->show();
    fullScreenView->raise();
    Image1->setShownOn(fullScreenView);
    showFullScreen();
}

void TForm1::leaveFullScreen()
{
    if (!isFullScreenShown())
        return;
    const FullScreenSaved saved = *std::exchange(fullScreenSaved, std::nullopt);
    Image1->setShownOn(nullptr);
    fullScreenView->hide();
    showNormal();
    setFixedSize(kFaceWidth, kFaceHeight);
    move(saved.position);
    applyWindowMask(saved.mask);
    if (saved.focus)
        saved.focus->setFocus();
    Image1->repaintNow();
}

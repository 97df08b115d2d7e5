// The tray: "Small" hides the window behind an icon in the notification area;
// a left press on the icon brings it back, a right press opens PopupMenu2
// (made with the context menu, app/form_menu.cpp). Where the desktop has no
// notification area the window is minimised instead, so that it can always be
// reached again. Writes FTrayData, trayMissingTold and the window's visibility.
#include "app/TForm1.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

#include "app/Guarded.h"
#include "app/Platform.h"

using namespace corvane;

namespace {

constexpr const char *kTrayTip = "Corvane";
constexpr const char *kNoTrayStatus = "No tray: minimised";

} // namespace

QSystemTrayIcon *TForm1::tray()
{
    if (FTrayData)
        return FTrayData;
    FTrayData = new QSystemTrayIcon(this);
    FTrayData->setToolTip(QString::fromLatin1(kTrayTip));
    FTrayData->setIcon(QApplication::windowIcon());
    // Given to the icon, the menu opens where the desktop opens tray menus:
    // at the pointer on an XEmbed tray, in the desktop's own panel otherwise.
    FTrayData->setContextMenu(PopupMenu2);
    connect(FTrayData, &QSystemTrayIcon::activated, this,
            guarded([this](QSystemTrayIcon::ActivationReason r) { TrayMessage(int(r)); }));
    return FTrayData;
}

void TForm1::Small1Click()
{
    if (!platform->trayAvailable()) {
        // Hiding the window here would lose it: nothing could show it again.
        showMinimized();
        if (!trayMissingTold)
            setStatus(QString::fromLatin1(kNoTrayStatus));
        trayMissingTold = true;
        return;
    }
    tray()->show();
    hide();
}

void TForm1::TrayMessage(int reason)
{
    if (reason == QSystemTrayIcon::Trigger) {
        Show1Click();
        return;
    }
    // Any other press over the icon only brings the program forward; the menu
    // of a right press is opened by the icon itself, once the events waiting
    // have run.
    if (isVisible())
        activateWindow();
    processPendingEvents();
}

void TForm1::Show1Click()
{
    // A window minimised once (for want of a tray) keeps the X11 "iconic"
    // start-up hint, which Qt leaves set when the window manager restores
    // it; mapped again with that hint it would come back minimised. A hidden
    // window is given a fresh native window, which starts without it.
    if (!isVisible())
        destroy();
    showNormal();
    raise();
    activateWindow();
    tray()->hide();
}

void TForm1::Close1Click()
{
    tray()->hide();
    close(); // hidden, so the shutdown writes no end screen
}

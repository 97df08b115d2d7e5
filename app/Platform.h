// What the window asks of the desktop beyond drawing: whether a notification
// area exists, and letting pending events run in the middle of a handler.
// Kept together so that a test build, or another platform, can replace them.
#pragma once

namespace corvane {

// True when the desktop shows a notification area now: a StatusNotifierItem
// watcher on the session bus, or an XEmbed tray on the X screen. Wayland
// without a tray, GNOME without its extension and a bare X server have none.
bool trayAvailable();

// Runs the events already waiting, then returns. Called through
// TForm1::processPendingEvents by the key handler (at its end) and the tray
// handler (between bringing the window forward and opening the tray menu).
void processPendingEvents();

} // namespace corvane

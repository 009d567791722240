#pragma once

class QWidget;

// A dialog window about to be shown belongs to the window that opens it: the
// window of the modal dialog in use, else the active window. The window
// manager keeps it above that window, and above every window of the program
// that stays on top, which would otherwise hide it. Called when the dialog's
// show event arrives, before its window is mapped.
void ShowAboveOpener(QWidget& dialog);

// The window that would open a dialog now: the modal dialog in use, the
// active window, or the one active last while the activation moves; none
// when none of them is on screen.
QWidget* DialogOpener(const QWidget& dialog);
// Told each time a window of the program becomes the active one.
void WindowActivated(QWidget& window);

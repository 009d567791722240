#include "platform/DialogPlacement.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// The window manager gives the activation back to the opener only after a
// dialog has gone: a dialog right after another goes with the window that
// was active last and is still on screen.
QList<QPointer<QWidget>>& activeBefore() {
  static QList<QPointer<QWidget>> windows;
  return windows;
}

QWidget* lastActiveShown(const QWidget& except) {
  QList<QPointer<QWidget>>& windows = activeBefore();
  windows.removeAll(nullptr);
  for (auto at = windows.crbegin(); at != windows.crend(); ++at)
    if (*at != &except && (*at)->isVisible()) return *at;
  return nullptr;
}

bool staysOnTop(const QWidget& window) { return window.windowFlags().testFlag(Qt::WindowStaysOnTopHint); }

// Whether the window is the dialog or stands, as owner, behind it.
bool ownsOrIs(const QWindow* window, const QWindow* dialog) {
  for (const QWindow* at = window; at; at = at->transientParent())
    if (at == dialog) return true;
  return false;
}

bool anotherStaysOnTop(const QWidget& dialog) {
  for (const QWidget* window : QApplication::topLevelWidgets())
    if (window != &dialog && window->isVisible() && staysOnTop(*window)) return true;
  return false;
}

}  // namespace

void WindowActivated(QWidget& window) {
  constexpr qsizetype kRemembered = 16;
  QList<QPointer<QWidget>>& windows = activeBefore();
  windows.removeAll(window.window());
  windows.append(window.window());
  if (windows.size() > kRemembered) windows.removeFirst();
}

QWidget* DialogOpener(const QWidget& dialog) {
  for (QWidget* candidate : {QApplication::activeModalWidget(), QApplication::activeWindow(), lastActiveShown(dialog)}) {
    QWidget* window = candidate ? candidate->window() : nullptr;
    if (window && window != &dialog && window->isVisible()) return window;
  }
  return nullptr;
}

void ShowAboveOpener(QWidget& dialog) {
  QWindow* handle = dialog.windowHandle();
  if (!dialog.isWindow() || !handle) return;
  if (QWidget* opener = DialogOpener(dialog); opener && opener->windowHandle() && !ownsOrIs(opener->windowHandle(), handle))
    handle->setTransientParent(opener->windowHandle());
  if (!staysOnTop(dialog) && anotherStaysOnTop(dialog)) handle->setFlags(handle->flags() | Qt::WindowStaysOnTopHint);
}

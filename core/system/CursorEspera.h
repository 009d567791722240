#pragma once

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>

// The hourglass cursor while an object of this class lives.
class CursorEspera {
 public:
  CursorEspera() : activo_(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (activo_) QGuiApplication::setOverrideCursor(Qt::WaitCursor);
  }
  ~CursorEspera() {
    if (activo_) QGuiApplication::restoreOverrideCursor();
  }
  CursorEspera(const CursorEspera&) = delete;
  CursorEspera& operator=(const CursorEspera&) = delete;

 private:
  bool activo_;
};

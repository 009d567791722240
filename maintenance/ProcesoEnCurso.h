#pragma once

#include "core/system/CursorEspera.h"

#include <QList>
#include <QPointer>
#include <QStatusBar>
#include <QWidget>

// A long run of a maintenance form: its flag up, the buttons that start or
// end it disabled and the hourglass cursor shown while it lives; in every
// outcome the buttons come back and the status bar is emptied.
class ProcesoEnCurso {
 public:
  ProcesoEnCurso(bool& enCurso, QList<QWidget*> botones, QStatusBar& estado)
      : enCurso_(enCurso), botones_(std::move(botones)), estado_(&estado) {
    enCurso_ = true;
    for (QWidget* boton : botones_) boton->setEnabled(false);
  }
  ~ProcesoEnCurso() {
    if (estado_) estado_->clearMessage();
    for (QWidget* boton : botones_) boton->setEnabled(true);
    enCurso_ = false;
  }
  ProcesoEnCurso(const ProcesoEnCurso&) = delete;
  ProcesoEnCurso& operator=(const ProcesoEnCurso&) = delete;

 private:
  bool& enCurso_;
  QList<QWidget*> botones_;
  QPointer<QStatusBar> estado_;
  CursorEspera cursor_;
};

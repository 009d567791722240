#pragma once

#include "platform/PlainMessage.h"

#include <QStringList>

// Records what the plain message dialog is asked to show while it lives;
// its questions, as title and text joined by "|", get the answer set.
class MensajesSimples : public PlainMessage {
 public:
  MensajesSimples() : instalados_(*this) {}
  void Show(const QString& text) override { textos.append(text); }
  bool AskYesNo(const QString& title, const QString& text) override {
    preguntas.append(title + u'|' + text);
    return respuesta;
  }

  QStringList textos;
  QStringList preguntas;
  bool respuesta = false;

 private:
  PlainMessageSeam::Scoped instalados_;
};

#pragma once

#include "platform/PlainMessage.h"

#include <QStringList>

// Records what the plain message dialog is asked to show while it lives.
class MensajesSimples : public PlainMessage {
 public:
  MensajesSimples() : instalados_(*this) {}
  void Show(const QString& text) override { textos.append(text); }

  QStringList textos;

 private:
  PlainMessageSeam::Scoped instalados_;
};

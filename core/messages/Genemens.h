#pragma once

#include "platform/Form.h"
#include "platform/MessagePresenter.h"

#include <memory>

namespace Ui {
class TfGENEMENS;
}

// The message box every message of the program is shown in, one at a time:
// the request is read from TipoMensajeActual, TextoMensajeActual and
// RespuestaMensaje when the box is shown. A message asked for while the box is
// on screen is not shown and gets the answer of a box closed unanswered.
class TfGENEMENS : public Form, public MessagePresenter {
  Q_OBJECT

 public:
  explicit TfGENEMENS(QWidget* owner = nullptr);
  ~TfGENEMENS() override;

  QString Present(const QString& kind, const QString& text, const QString& defaultAnswer) override;
  bool LastClosed() const override { return cerrado_; }

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void FormShow();
  void FormActivate();
  void FormHide();

  std::unique_ptr<Ui::TfGENEMENS> ui_;
  QString tipoMostrado_;    // the request on screen, which a nested message leaves alone
  int tamanoFuenteTexto_ = 0;
  bool cerrado_ = false;  // the last request got no button
};

extern TfGENEMENS* fGENEMENS;

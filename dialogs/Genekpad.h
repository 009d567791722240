#pragma once

#include "platform/Form.h"

#include <QLabel>
#include <QPointer>

#include <memory>

namespace Ui {
class TfGENEKPAD;
}

// A panel used as a key: pressing lowers its bevel, releasing raises it
// again and, over the panel, presses the key.
class PanelTecla : public QLabel {
  Q_OBJECT

 public:
  explicit PanelTecla(QWidget* parent = nullptr);

 signals:
  void Pulsada(const QString& tecla);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
};

// The on-screen numeric keypad: each key goes to the active control of
// FormularioDestino, an edit or a data grid, and the focus back to that form.
class TfGENEKPAD : public Form {
  Q_OBJECT

 public:
  explicit TfGENEKPAD(QWidget* owner = nullptr);
  ~TfGENEKPAD() override;

  QWidget* FormularioDestino() const { return formularioDestino_; }
  void SetFormularioDestino(QWidget* formulario) { formularioDestino_ = formulario; }
  const QString& ComaPendiente() const { return comaPendiente_; }
  void Pulsar(const QString& tecla);

 private:
  std::unique_ptr<Ui::TfGENEKPAD> ui_;
  QPointer<QWidget> formularioDestino_;
  QString comaPendiente_;
};

extern TfGENEKPAD* fGENEKPAD;

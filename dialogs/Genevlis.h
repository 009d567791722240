#pragma once

#include "core/services/PosicionFormulario.h"
#include "platform/Form.h"

#include <QStringList>

#include <memory>

class QTableWidget;
class QToolButton;
class RejillaValores;

namespace Ui {
class TfGENEVLIS;
}

// The name/value grid in its three modes (ModoVisorGENEVLIS): the fields of
// a record, read-only ("VisorCampos"); a record's user fields
// ("VisorCamposUsuario"); rows defined by their opener ("VisorAgregarDatos"),
// whose DefinicionesFilas ("check>name>values>options") are checked on save.
class TfGENEVLIS : public Form {
  Q_OBJECT
  Q_PROPERTY(QString ContenidosMemo MEMBER ContenidosMemo)
  Q_PROPERTY(QStringList DefinicionesFilas MEMBER DefinicionesFilas)
  Q_PROPERTY(QString OpcionesVisor MEMBER OpcionesVisor)

 public:
  explicit TfGENEVLIS(QWidget* owner = nullptr);
  ~TfGENEVLIS() override;

  QString ContenidosMemo;
  QStringList DefinicionesFilas;
  QString OpcionesVisor;

  QTableWidget& StringGrid();
  QToolButton& pbAutoajustar() { return *autoajustar_; }
  // What a double-click or F2 on the row offers: a record search, a list,
  // or the memo's text.
  void EditarFila(int fila);
  bool ValidarFilas();

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void autoajustar();
  void teclaPulsada(quint16& tecla, Qt::KeyboardModifiers estado);
  QString nombreMostrado(const QString& nombre) const;
  void buscarEnTabla(int fila, const QString& tabla);
  void editarMemo(int fila, const QString& nombre);

  std::unique_ptr<Ui::TfGENEVLIS> ui_;
  RejillaValores* estilo_;
  QToolButton* autoajustar_;
  int anchoCreacion_;
};

extern TfGENEVLIS* fGENEVLIS;
extern PosicionFormulario PosicionGENEVLIS;

void RegistrarGENEVLIS();

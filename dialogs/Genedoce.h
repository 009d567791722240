#pragma once

#include "platform/Form.h"

#include <QStringList>

#include <memory>

namespace Ui {
class TfGENEDOCE;
}

class QFileDialog;
class QTreeWidgetItem;
enum class PasoDocumentos;

// The electronic documentation of a record: its attached files, folders, web
// pages and notes (DOCUTRON), shown, opened, paged through and mailed.
class TfGENEDOCE : public Form {
  Q_OBJECT
  Q_PROPERTY(QString NombreTabla MEMBER NombreTabla)
  Q_PROPERTY(QString ClaveTabla MEMBER ClaveTabla)

 public:
  explicit TfGENEDOCE(QWidget* owner = nullptr);
  ~TfGENEDOCE() override;

  QString NombreTabla;
  QString ClaveTabla;
  // The mailing selection: title, "|", location; sorted, each once.
  QStringList DocumentosSeleccionados;
  QFileDialog* OpenDialog1;

  Q_INVOKABLE void CargarDocumentos();
  void MostrarDocumento(QTreeWidgetItem* elemento);

  void pbAgregarClick();
  void pbAgregarCarpetaClick();
  void pbAgregarWebClick();
  void pbEditarDescripcionClick();
  void pbEliminarClick();
  void pbEjecutarClick();
  void pbEnviarEMailClick();
  void pbPrimeroClick();
  void pbAnteriorClick();
  void pbSiguienteClick();
  void pbUltimoClick();
  void InicializarSeleccion();
  void AgregarASeleccion();
  void VerSeleccion();
  void EnviarSeleccion();
  void EnviarDocumentoSeleccionado();
  void EnviarDocumentosSeleccionados();

 protected:
  QSize sizeHint() const override;
  void showEvent(QShowEvent* event) override;

 private:
  QTreeWidgetItem* elegido() const;
  // Writes the row and shows it in the list; false when it was refused.
  bool insertar(const QString& titulo, const QString& ubicacion, const QString& descripcion);
  void agregar(const QString& titulo, const QString& ubicacion);
  void paso(PasoDocumentos paso);
  void vaciarVisor();
  void mostrarImagen(const QString& archivo);

  std::unique_ptr<Ui::TfGENEDOCE> ui_;
  QWidget* WebBrowser1 = nullptr;
};

extern TfGENEDOCE* fGENEDOCE;

void RegistrarGENEDOCE();

#pragma once

#include "maintenance/actualizacion/EjecucionActualizacion.h"
#include "platform/CommonDialogs.h"
#include "platform/Form.h"

#include <memory>

class QFileDialog;
struct OpcionesActualizacion;

namespace Ui {
class TfGENEACTS;
}

// The database update wizard: backup options, scripts and options, the
// databases and tables, a last warning, and the page the update runs on
// with its progress and error logs.
class TfGENEACTS : public Form {
  Q_OBJECT

 public:
  explicit TfGENEACTS(QWidget* owner = nullptr);
  ~TfGENEACTS() override;

  void pbSiguienteClick();
  void pbAnteriorClick();
  void pbCancelarClick();
  void pbSalirClick();
  void pbActualizarClick();
  void pbImprimirClick();
  void RealizarCopiaSeguridadClick();
  void IncluirArchivoCfgEspecialClick();
  void IncluirArchivosCfgComplementariosClick();
  void ActualizarLenguajeIntercalacionClick();
  void pbExaminar1Click();
  void pbExaminarCfgClick();
  void pbExaminarEspecialClick();
  void pbExaminarComplementariosClick();
  void pbMapeadoClick();

  // "Progreso" or "Error": a line of that log, shown at once.
  void AnotarLinea(const QString& tipo, const QString& texto);
  bool ComprobarDatosActualizacion(QWidget* pagina);

  QFileDialog* const OpenDialog1;
  PrintDialog PrintDialog1;

 protected:
  // The pages' captions are fitted to the letter once the pages have their size.
  void showEvent(QShowEvent* event) override;

 private:
  void mostrarLinea(EjecucionActualizacion::Tipo tipo, const QString& linea);
  QString leerDefiniciones() const;
  void llenarListas();
  OpcionesActualizacion opciones() const;
  void examinarArchivo(class QLineEdit& edit, bool anadir);

  std::unique_ptr<Ui::TfGENEACTS> ui_;
  QString definiciones_;
  QString mapeado_;
  EjecucionActualizacion ejecucion_;
  bool ejecutando_ = false;
};

extern TfGENEACTS* fGENEACTS;

void RegistrarGENEACTS();

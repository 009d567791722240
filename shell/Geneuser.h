#pragma once

#include "dialogs/MantenimientoRegistros.h"

#include <QMap>

#include <memory>

namespace Ui {
class TfGENEUSER;
}

class QListWidget;

// The users of the suite (USUARIO) on a card with pages: password and
// category or profile, the companies each may open and the configuration
// values. Configuration values and the access counter are written at once;
// the rest is saved with the record.
class TfGENEUSER : public MantenimientoRegistros {
  Q_OBJECT

 public:
  explicit TfGENEUSER(QWidget* owner = nullptr);
  ~TfGENEUSER() override;

  void pbANoAccesiblesClick();
  void pbANoAccesiblesTodoClick();
  void pbAAccesiblesClick();
  void pbAAccesiblesTodoClick();
  void pbDuplicarClick();
  void SpeedButton1Click();
  void EditConfiguracionDblClick();

  // The configuration keys in the page's order, with the defaults the page shows.
  static const QList<QPair<QString, QString>>& ClavesConfiguracion();

 protected:
  bool ComprobarDatos(QWidget* control) override;
  void Table1BeforePost(Dataset& dataset) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DataSource1DataChange(Field* campo);
  void CargarEmpresasUsuario();
  void ActualizarBotonesEmpresas();
  void CargarConfiguracionUsuario();
  void colorearCategoria();
  // Moves the selected companies (or all) from one list to the other.
  void moverEmpresas(QListWidget& origen, QListWidget& destino, bool todas);
  void anadirEmpresa(QListWidget& lista, const QString& codigo);
  // Saves a pending edit of the user before a write that takes effect at once; false when it could not.
  bool grabarEdicionPendiente();
  QString usuarioActual() const;

  std::unique_ptr<Ui::TfGENEUSER> ui_;
  QMap<int, QString> nombresEmpresas_;  // EMPRESA, by code
};

extern TfGENEUSER* fGENEUSER;

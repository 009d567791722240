#pragma once

#include "dialogs/MantenimientoRegistros.h"
#include "platform/StringList.h"

#include <QMap>
#include <QStringList>

#include <functional>
#include <optional>

#include <memory>

namespace Ui {
class TfGENEUSER;
}

class QListWidget;
class QModelIndex;
class QPainter;
class QStyleOptionViewItem;
class QTreeWidgetItem;

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
  void CopiarDatosUsuariosDesdeArchivoConfiguracionClick();
  // The name=value lines of the user's ".cfg" file in the program folder;
  // none when the code is no plain file name or the file cannot be read.
  static std::optional<StringList> LeerArchivoConfiguracion(const QString& usuario);

  // The program rights and hidden controls pages (GeneuserProgramas.cpp).
  void pbSelectedClick();
  void pbReadOnlyClick();
  void pbDeseleccionarClick();
  void pbOpenActiveClick();
  void pbDesmarcarClick();
  void Expandirlalista1Click();
  void Colapsarlalista1Click();
  void BuscarunControl1Click();
  void Eliminardelalista1Click();
  void LBProgramasDrawItem(QPainter& lienzo, const QStyleOptionViewItem& opcion, const QModelIndex& fila) const;
  // The texts from the root down to the node, joined by ".".
  static QString RutaNodo(const QTreeWidgetItem* nodo);

  // The configuration keys in the page's order, with the defaults the page shows.
  static const QList<QPair<QString, QString>>& ClavesConfiguracion();

 protected:
  bool ComprobarDatos(QWidget* control) override;
  void Table1BeforePost(Dataset& dataset) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void DataSource1DataChange(Field* campo);
  void usuariosGuardados();
  void CargarEmpresasUsuario();
  void ActualizarBotonesEmpresas();
  void CargarConfiguracionUsuario();
  void colorearCategoria();
  // Moves the selected companies (or all) from one list to the other.
  void moverEmpresas(QListWidget& origen, QListWidget& destino, bool todas);
  void anadirEmpresa(QListWidget& lista, const QString& codigo);
  static void ordenarPorCodigo(QListWidget& lista);
  // Saves a pending edit of the user before a write that takes effect at once; false when it could not.
  bool grabarEdicionPendiente();
  QString usuarioActual() const;

  // The file's values of the keys it holds go into the record being edited.
  void copiarDatosArchivo(const StringList& archivo);
  void prepararPaginasDerechos();
  void CargarListaProgramas();
  void CargarListasProgramas();
  void CargarControlesNoVisibles();
  void GrabarListasProgramas();
  // Applies the change to every selected program, then writes the lists.
  void marcarProgramas(const std::function<void(const QString& programa)>& cambio);
  bool esCabecera(const QString& programa) const;

  std::unique_ptr<Ui::TfGENEUSER> ui_;
  QMap<int, QString> nombresEmpresas_;  // EMPRESA, by code
  QStringList ProgramasNoAccesibles_, ProgramasSoloLectura_, ProgramasActivos_;
};

extern TfGENEUSER* fGENEUSER;

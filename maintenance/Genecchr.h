#pragma once

#include "maintenance/ArchivoEquivalencias.h"
#include "maintenance/SentenciasConversion.h"
#include "platform/Form.h"

#include <memory>

class QFileDialog;
class QListWidget;
class QMenu;
class Query;
class QTableWidget;

namespace Ui {
class TfGENECCHR;
}

// The character converter: replaces texts inside the text columns of the
// chosen databases by the pairs of its table, each database in one
// transaction.
class TfGENECCHR : public Form {
  Q_OBJECT

 public:
  explicit TfGENECCHR(QWidget* owner = nullptr);
  ~TfGENECCHR() override;

  QTableWidget& TablaEquivalencias() const;
  QListWidget& BasesDeDatos() const;
  QMenu* PopupMenu1;
  QMenu* PopupMenu2;
  QFileDialog* OpenDialog1;
  QFileDialog* SaveDialog1;

  // The pairs from the table's first row up to the first with both cells
  // empty; and the table filled with pairs, the rest emptied.
  QList<ParEquivalencia> Equivalencias() const;
  void PonerEquivalencias(const QList<ParEquivalencia>& pares);

  // "Aplicacion" or "Todas".
  void LlenarBasesDatos(const QString& modo);
  // The text columns of a table of a database.
  QList<ColumnaTexto> ColumnasTexto(const QString& baseDatos, const QString& tabla);

  void ProcesarTablasClick();
  void ProcesarCamposClick();
  void ImportarDesdeTablaClick();
  void ExportarATablaClick();
  void Inicializarlatabla1Click();
  void AgregarunaBasedeDatosquenoestenlalista1Click();
  void Crearlalistasoloconlasbasesdedatosdelaaplicacin1Click();
  void pbIniciarConversionClick();
  void pbSalirClick();
  void pbAyudaClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void MostrarEstado(const QString& texto);
  QStringList TablasAConvertir() const;
  bool CampoAConvertir(const QString& campo, const QStringList& palabras) const;
  void ConvertirBaseDatos(const QString& baseDatos, const QStringList& tablas, const QStringList& palabras,
                          const ServidorConversion& servidor);

  std::unique_ptr<Ui::TfGENECCHR> ui_;
  std::unique_ptr<Query> ADOQuery;
  bool convirtiendo_ = false;
};

extern TfGENECCHR* fGENECCHR;

void RegistrarGENECCHR();

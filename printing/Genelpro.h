#pragma once

#include "platform/Form.h"
#include "printing/CeldasListado.h"
#include "printing/InformeFijo.h"
#include "printing/ParametrosListado.h"

#include <QFont>
#include <QList>
#include <QPageLayout>
#include <QStringList>

#include <initializer_list>
#include <memory>
#include <optional>

class Band;
class Dataset;
class DatasetSource;
class ReportComponent;
class ReportEngine;
struct ReportItem;

// The report behind the programmable listing: fixed bands, and cells made
// before each run from the fields of whatever dataset it is given, as
// columns or as cards. The caller fills the public items, then previews or
// prints it, and frees it afterwards.
class TfGENELPRO : public Form {
  Q_OBJECT

 public:
  explicit TfGENELPRO(QWidget* owner = nullptr);
  ~TfGENELPRO() override;

  ReportEngine& QuickReport() const;
  Dataset* DataSet() const { return dataSet_; }
  void SetDataSet(Dataset* dataSet);

  QString Titulo;
  QPageLayout::Orientation Orientacion = QPageLayout::Portrait;
  QString Papel;         // "A3" or "A4"; empty is "A4"
  QString ListaTotales;  // field names joined by ",", or "Todas"
  std::optional<QFont> FuenteListado;
  bool AjustarPalabras = true;
  bool FormatoFicha = false;
  bool SepararPorPaginas = false;
  int NumeroColumnasFicha = 1;
  int NumeroLineasMemoFicha = 3;
  QString ListaAnchos;  // "|"-separated weights replacing the display widths
  QString ExpresionGrupo;
  bool SinDetalle = false;
  // What the listing was asked for, printed in the restrictions header.
  QList<RangoImpreso> Rangos;
  QString Filtros;

  // The preview window, until it is closed; the printer (or its dialog) when
  // no preview is asked for.
  void Previsualizar();
  void Imprimir();

  void QuickReportBeforePrint();
  int IndiceCampoColumna(int columna) const;
  int AnchoColumna(int campo) const;

 private:
  void PrepararCabecera();
  void DisenarColumnas();
  void DisenarFichas();
  void LiberarCeldas();
  void AnchoDeBandas(int ancho);
  void Comprimir(ReportItem& celda, bool conPosicion) const;
  ReportItem& CeldaTitulo(Band& banda, int numero, const QString& campo);
  ReportItem& CeldaValor(Band& banda, int numero, int campo);
  void LBDetallePrint(ReportItem& celda, QString& valor);
  void LBTotalesPrint(ReportItem& celda, QString& valor);
  void BandaDetalleBeforePrint(Band& banda, bool& imprimir);
  void BandaTotalesBeforePrint(Band& banda, bool& imprimir);
  void BandaCabeceraGrupoBeforePrint(Band& banda, bool& imprimir);
  std::vector<int> Marcas() const;
  std::vector<double> Pesos() const;
  std::vector<int> AnchosMinimos() const;
  QFont FuenteTitulo() const;
  void ComprimirAnchos(std::initializer_list<const char*> elementos);
  QStringList CamposGrupo() const;
  QFont Fuente() const;

  ReportComponent* informe_;
  Dataset* dataSet_ = nullptr;
  std::unique_ptr<DatasetSource> fuente_;
  ParametrosListado parametros_;
  int ultimoCampo_ = -1;
  bool instrucciones_ = false;
  QStringList listaInstrucciones_;
  QString opciones_;  // of the form the listing was asked from
  CabeceraDisenada cabeceraDisenada_;  // taken once: every output starts from it
};

extern TfGENELPRO* fGENELPRO;

#pragma once

#include "platform/CommonDialogs.h"
#include "platform/StringList.h"
#include "platform/data/Table.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>
#include <functional>
#include <memory>

class DataSource;
class Query;
class QColorDialog;
class QFileDialog;
class QFontDialog;
class QPageSetupDialog;
class QPrinter;

// The shared data module: the non-visual container whose methods are the data
// layer of the suite. Its creation opens the general database's user table
// (creating it when missing) and gives an empty one the default
// administrator; in the suite's module programs, with a company selected, it
// also reads the company's general parameters and base currency. A failure
// reaches the application's exception handler and leaves the module in
// place, not ready.
class TModuloDatos : public QObject {
  Q_OBJECT

  // Dialogs are widgets and cannot have the module as their parent.
  std::unique_ptr<QFileDialog> abrir_;
  std::unique_ptr<QFileDialog> guardar_;
  std::unique_ptr<QFontDialog> fuente_;
  std::unique_ptr<QColorDialog> color_;
  std::unique_ptr<QPrinter> impresora_;
  std::unique_ptr<QPageSetupDialog> configurarImpresora_;

 public:
  explicit TModuloDatos(QObject* owner = nullptr);
  ~TModuloDatos() override;

  // The company tables: they carry no table name in the application manager.
  Table* const ParamGenerales;
  Table* const Table1;
  // The general database's user table, opened by the module's creation.
  QPointer<Table> Usuario;
  QFileDialog* const OpenDialog1;
  QFileDialog* const SaveDialog1;
  QFontDialog* const FontDialog1;
  Table* const Responsabilidad;
  Table* const Empresa;
  DataSource* const DSEmpresa;
  Query* const Query1;
  Table* const Moneda;
  DataSource* const DSMoneda;
  QColorDialog* const ColorDialog1;
  PrintDialog PrintDialog1;
  Table* const GATablas;
  Table* const GAnalisis;
  Table* const RegistroAccesos;
  Table* const QR_Export_Table;

  // The catalogue queries' results of the key routines, once the module is ready.
  StringList CacheConsultasSQL;

  // The printer set-up dialog, made at its first use, as asking the print
  // system for its printers takes time.
  QPageSetupDialog* PrinterSetupDialog1();

  // After the general parameters are saved: the base currency again.
  void ParamGeneralesAfterPost();
  // Elements 1 to 5: PARAGENE's Iva1..Iva5 and Recargo1..Recargo5; 0 is 0.
  const std::array<double, 6>& PorcentajesIVAEmpresa() const { return PorcentajesIVA; }
  const std::array<double, 6>& PorcentajesRecargoEmpresa() const { return PorcentajesRecargo; }
  bool MonedaBaseDistintaDeNacional() const { return MonedaBaseDistintaNacional; }

 private:
  void ModuloDatosCreate();
  void ModuloDatosDestroy();
  void PrepararEmpresa();

  std::array<double, 6> PorcentajesIVA{};
  std::array<double, 6> PorcentajesRecargo{};
  bool MonedaBaseDistintaNacional = false;
  StringList listaPrivada_;
};

extern TModuloDatos* ModuloDatos;
// Set as the last step of the module's creation, cleared by its destruction.
extern bool ModuloDatosListo;

// Number formats and the base currency, set by the module's creation.
extern QString FormatoNumericoEstandar;
extern std::array<QString, 6> PlantillasNumericas;  // templates 1 to 5; 0 unused
extern int DecimalesMonedaBase;
extern double CambioMonedaBase;
extern QString AbreviaturaMonedaBase;
extern QString DescripcionMonedaBase;
// The running program is one of the suite's module programs, neither the
// application manager nor its configuration program.
bool EsProgramaModulo();
// Puts the values above back to those they have before the module's creation.
void ResetModuloDatos();

// The incident trace hook: it keeps nothing itself; an observer, when one is
// installed, is handed every call.
using ObservadorTraza = std::function<void(const QString& texto, const QString& detalle, const QVariant& extra)>;
void InstalarObservadorTraza(ObservadorTraza observador);
void RegistrarTraza(const QString& texto, const QString& detalle, const QVariant& extra);

#pragma once

#include "printing/formlang/EntornoImpreso.h"

class Dataset;
class Field;
class Table;

// The documents and lines a caller prepared in its temporary tables
// (`Temporal`, and `LTemporal` as its detail in the order
// "CodigoTemporal;Linea;LineaMemo") and the definitions of IMPRESO, as a
// printed-form run reads them.
class TablasImpreso : public FuenteImpreso {
 public:
  TablasImpreso(Dataset& temporal, Table* lineas, Table& impreso)
      : temporal_(temporal), lineas_(lineas), impreso_(impreso) {}

  void PrimerDocumento() override;
  void SiguienteDocumento() override;
  bool FinDocumentos() const override;
  std::optional<QVariant> CampoDocumento(const QString& campo) const override;
  QString ClaveDocumento() const override;

  bool LineasAbiertas() const override;
  void BorrarContinuaciones() override;
  void PrimeraLinea() override;
  void SiguienteLinea() override;
  bool FinLineas() const override;
  QList<std::pair<QString, QVariant>> ValoresLinea() const override;
  std::optional<QString> InstruccionesLinea() const override;

  std::optional<DefinicionImpreso> Impreso(const QString& codigo) const override;

 private:
  Dataset& temporal_;
  Table* lineas_;
  Table& impreso_;
};

// A field's value for the commands: a number for numeric fields, else its text.
QVariant ValorCampo(const Field& campo);

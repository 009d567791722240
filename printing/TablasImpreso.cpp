#include "printing/TablasImpreso.h"

#include "core/datamodule/ClavesRegistro.h"
#include "core/helpers/LiteralesSQL.h"
#include "platform/data/DataSource.h"
#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/data/Table.h"

QVariant ValorCampo(const Field& campo) {
  if (campo.IsNull()) return QVariant();
  if (campo.AsVariant().IsNumeric()) return campo.AsFloat();
  return campo.AsString();
}

void TablasImpreso::PrimerDocumento() { temporal_.First(); }

void TablasImpreso::SiguienteDocumento() { temporal_.Next(); }

bool TablasImpreso::FinDocumentos() const { return temporal_.Eof(); }

std::optional<QVariant> TablasImpreso::CampoDocumento(const QString& campo) const {
  const Field* encontrado = temporal_.FindField(campo);
  if (!encontrado) return std::nullopt;
  return ValorCampo(*encontrado);
}

QString TablasImpreso::ClaveDocumento() const { return ClaveRegistro(temporal_); }

bool TablasImpreso::LineasAbiertas() const { return lineas_ && lineas_->Active(); }

void TablasImpreso::BorrarContinuaciones() {
  if (!LineasAbiertas() || lineas_->IsEmpty()) return;
  Table* tabla = lineas_;
  // One statement over the rows the lines show (those of the master's
  // document), so an error leaves every earlier row where it was and a memo
  // of thousands of rows costs one pass of the engine.
  Query borrar;
  borrar.SetDatabaseName(tabla->DatabaseName());
  QStringList condiciones{NombreSQL(u"LineaMemo"_qs) + u" > 0"_qs};
  QList<Variant> valores;
  const DataSource* maestro = tabla->MasterSource();
  const QStringList camposMaestro = tabla->MasterFields().split(u';', Qt::SkipEmptyParts);
  for (int n = 0; maestro && maestro->DataSet() && n < camposMaestro.size() && n < tabla->IndexFieldCount(); ++n) {
    const QString detalle = NombreSQL(tabla->IndexFields(n).FieldName());
    const Field& campo = maestro->DataSet()->FieldByName(camposMaestro[n].trimmed());
    if (campo.IsNull()) {
      condiciones << detalle + u" IS NULL"_qs;
    } else {
      condiciones << detalle + u" = :Clave"_qs + QString::number(valores.size());
      valores << campo.AsVariant();
    }
  }
  borrar.SQL().SetText(u"DELETE FROM "_qs + NombreSQL(tabla->TableName()) + u" WHERE "_qs + condiciones.join(u" AND "_qs));
  for (int n = 0; n < valores.size(); ++n) borrar.ParamByName(u"Clave"_qs + QString::number(n)).SetValue(valores[n]);
  borrar.ExecSQL();
  if (borrar.RowsAffected() > 0) lineas_->Refresh();
}

void TablasImpreso::PrimeraLinea() { lineas_->First(); }

void TablasImpreso::SiguienteLinea() { lineas_->Next(); }

bool TablasImpreso::FinLineas() const { return lineas_->Eof(); }

QList<std::pair<QString, QVariant>> TablasImpreso::ValoresLinea() const {
  QList<std::pair<QString, QVariant>> valores;
  for (int n = 0; n < lineas_->FieldCount(); ++n) {
    const Field& campo = lineas_->Fields(n);
    valores.append({campo.FieldName(), ValorCampo(campo)});
  }
  return valores;
}

std::optional<QString> TablasImpreso::InstruccionesLinea() const {
  const Field* campo = lineas_->FindField(u"Instrucciones"_qs);
  if (!campo) return std::nullopt;
  return campo->AsString();
}

std::optional<DefinicionImpreso> TablasImpreso::Impreso(const QString& codigo) const {
  if (codigo.isEmpty() || !impreso_.Active() || !impreso_.FindKey({Variant::String(codigo)})) return std::nullopt;
  auto texto = [&](const char16_t* campo) {
    const Field* encontrado = impreso_.FindField(QString::fromUtf16(campo));
    return encontrado ? encontrado->AsString() : QString();
  };
  return DefinicionImpreso{texto(u"Codigo"), texto(u"Descripcion"),          texto(u"Modo"),
                           texto(u"Instrucciones"), texto(u"Formato"), texto(u"ImpresoraPorDefecto")};
}

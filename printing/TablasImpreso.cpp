#include "printing/TablasImpreso.h"

#include "core/datamodule/ClavesRegistro.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <vector>

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
  // Found from the last row back, then deleted in that order, so no row is
  // passed over while the cursor moves under the deletions.
  std::vector<Bookmark> continuaciones;
  for (lineas_->Last(); !lineas_->Bof(); lineas_->Prior()) {
    if (lineas_->FieldByName(u"LineaMemo"_qs).AsFloat() > 0) continuaciones.push_back(lineas_->GetBookmark());
  }
  for (const Bookmark& continuacion : continuaciones) {
    lineas_->GotoBookmark(continuacion);
    lineas_->Delete();
  }
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

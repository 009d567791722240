#include "printing/FormatosListado.h"

#include "core/datamodule/CamposNoVisibles.h"
#include "core/helpers/LiteralesSQL.h"
#include "platform/Exceptions.h"
#include "platform/data/Dataset.h"
#include "platform/data/Field.h"

#include <QRegularExpression>

namespace {

void EscribirFormato(Dataset& formatos, const FormatoListado& formato) {
  formatos.FieldByName(QStringLiteral("Titulo")).SetAsString(formato.titulo);
  formatos.FieldByName(QStringLiteral("ListaSeleccionado")).SetAsString(formato.seleccionados.join(QStringLiteral("\r\n")));
  formatos.FieldByName(QStringLiteral("ListaFiltrosSQL")).SetAsString(formato.filtros);
  formatos.Post();
}

// A write that fails leaves the table browsing the record it was on.
bool Escribir(Dataset& formatos, auto&& escribir) {
  try {
    escribir();
    return true;
  } catch (const Exception&) {
    formatos.Cancel();
    return false;
  }
}

}  // namespace

QStringList CamposDisponiblesListado(const QStringList& campos) {
  QStringList disponibles;
  for (const QString& campo : campos)
    if (!CampoNoVisible(campo)) disponibles.append(campo);
  return disponibles;
}

FormatoListado FormatoStandard(const QStringList& disponibles, const QString& tituloPorDefecto,
                               const QString& tabla) {
  const QString titulo =
      tituloPorDefecto.isEmpty() ? QStringLiteral("Listado programable de la tabla ") + tabla : tituloPorDefecto;
  return {titulo, disponibles, QString()};
}

FormatoListado FormatoGuardado(const Dataset& formatos, const QStringList& disponibles) {
  FormatoListado formato{formatos.FieldByName(QStringLiteral("Titulo")).AsString(), {},
                         formatos.FieldByName(QStringLiteral("ListaFiltrosSQL")).AsString()};
  static const QRegularExpression finLinea(QStringLiteral("\r\n|\r|\n"));
  for (const QString& campo : formatos.FieldByName(QStringLiteral("ListaSeleccionado")).AsString().split(finLinea))
    if (disponibles.contains(campo)) formato.seleccionados.append(campo);
  return formato;
}

bool GuardarFormato(Dataset& formatos, const FormatoListado& formato) {
  return Escribir(formatos, [&] {
    formatos.Edit();
    EscribirFormato(formatos, formato);
  });
}

bool GuardarFormatoComo(Dataset& formatos, const QString& prefijo, const QString& nombre,
                        const FormatoListado& formato) {
  return Escribir(formatos, [&] {
    formatos.Insert();
    formatos.FieldByName(QStringLiteral("Prefijo")).SetAsString(prefijo);
    formatos.FieldByName(QStringLiteral("Nombre")).SetAsString(nombre);
    EscribirFormato(formatos, formato);
  });
}

QString FiltroFormatos(const QString& prefijo) { return QStringLiteral("Prefijo = ") + LiteralSQL(prefijo); }

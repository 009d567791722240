#include "printing/CeldasListado.h"

#include "core/forms/FormatosCampo.h"
#include "platform/data/Field.h"
#include "platform/format/Format.h"

namespace {

// The value of the record's instruction line for the field, empty when it has none.
QString Instruccion(const QStringList& instrucciones, const QString& campo) {
  const QString prefijo = campo + u'=';
  for (const QString& linea : instrucciones)
    if (linea.startsWith(prefijo)) return linea.mid(prefijo.size());
  return QString();
}

}  // namespace

QString TextoDetalle(const Field& campo) {
  try {
    if (campo.DataType() == ftFloat || campo.DataType() == ftCurrency)
      return FormatFloat(FormatoNumerico(campo.FieldName()), campo.AsFloat());
    if (campo.DataType() == ftDateTime || campo.DataType() == ftDate || campo.DataType() == ftTime) {
      if (campo.FieldName().contains(QStringLiteral("HORA"), Qt::CaseInsensitive))
        return FormatDateTime(QStringLiteral("hh:nn:ss"), campo.AsDateTime());
      if (campo.AsDateTime() == 0) return QString();
    }
  } catch (const std::exception&) {
  }
  return campo.AsString();
}

Qt::Alignment AlineacionDetalle(bool columnas, FieldType tipo, const QStringList& instrucciones, const QString& campo) {
  if (Instruccion(instrucciones, campo).contains(QStringLiteral("JR"))) return Qt::AlignRight;
  return columnas && (tipo == ftFloat || tipo == ftCurrency) ? Qt::AlignRight : Qt::AlignLeft;
}

bool DetalleEnNegrita(const QStringList& instrucciones) {
  return !instrucciones.isEmpty() && instrucciones.first().contains(QStringLiteral("Negrita"));
}

bool ColumnaConTotal(FieldType tipo, const QString& campo, const QString& listaTotales) {
  if (tipo != ftFloat && tipo != ftCurrency) return false;
  if (listaTotales == u"Todas") return true;
  for (const QString& nombre : listaTotales.split(u','))
    if (nombre.trimmed().compare(campo, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString TextoRestricciones(const QList<RangoImpreso>& rangos, const QString& filtros) {
  QString texto;
  for (const RangoImpreso& rango : rangos) {
    if (rango.desde.isEmpty() && rango.hasta.isEmpty()) continue;
    texto += QStringLiteral("Desde ") + rango.campo + QStringLiteral(": ") + rango.desde + QStringLiteral(", ") +
             QStringLiteral("Hasta ") + rango.campo + QStringLiteral(": ") + rango.hasta + QStringLiteral(", ");
  }
  if (!filtros.isEmpty()) texto += QStringLiteral(" Filtros: ") + filtros;
  return texto.remove(QStringLiteral("\r\n")).remove(u'\n').remove(QStringLiteral("Edit"));
}

#include "core/helpers/LiteralesSQL.h"

#include "core/startup/Configuracion.h"
#include "core/helpers/Textos.h"
#include "platform/format/Format.h"

#include <algorithm>

QString ValorSQL(const Variant& valor) {
  switch (valor.Type()) {
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return FormatFloat(QStringLiteral("0.000000"), valor.AsDouble()).replace(FormatSettings::DecimalSeparator, u'.');
    case VarType::Integer:
      return QString::number(valor.AsInt64());
    case VarType::String:
      return Entrecomillar(valor.AsString());
    case VarType::Date: {
      const TDateTime date = valor.AsDateTime();
      if (date == 0) return Entrecomillar(FechaNulaSQL);
      return Entrecomillar(FormatDateTime(FormatoFechaSQL + QStringLiteral(" hh:nn:ss"), date));
    }
    case VarType::Null:
      return QStringLiteral("''");
    default:
      return QString();
  }
}

QString LiteralSQL(const QString& texto) {
  QString doubled = texto;
  return Entrecomillar(doubled.replace(u'\'', QLatin1String("''")));
}

QString NombreVisible(const QString& nombre) {
  QString visible = nombre;
  for (QChar& c : visible)
    if (c.category() == QChar::Other_Control) c = u'?';
  return visible;
}

QString MensajeNombreNoValido(const QString& nombre) {
  return QString::fromUtf16(kNombreNoValido) + QStringLiteral(" (") + NombreVisible(nombre) + u')';
}

#include "core/datamodule/SiguienteCodigo.h"

#include "core/connections/Conexiones.h"
#include "core/datamodule/CatalogoClaves.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

#include <QStringList>

#include <algorithm>

namespace {

bool esTexto(FieldType tipo) { return tipo == ftString; }

QString literal(const Field& campo) {
  if (campo.IsNull()) return ValorSQL(Variant::Null());
  switch (campo.DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return QString::number(campo.AsVariant().AsInt64());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
      return ValorSQL(Variant::Double(campo.AsFloat()));
    case ftDate:
    case ftTime:
    case ftDateTime:
      return ValorSQL(Variant::Date(campo.AsDateTime()));
    default:
      return LiteralSQL(campo.AsString());
  }
}

}  // namespace

qint64 SiguienteCodigo(Table& tabla, qint64 incremento, qint64 desde, qint64 hasta) {
  const QStringList claves = DefinicionIndice(tabla).split(u';', Qt::SkipEmptyParts);
  // Without a primary index the code is the first field.
  const int n = std::max(static_cast<int>(claves.size()), 1);
  if (n > tabla.FieldCount()) return incremento;
  const Field& codigo = tabla.Fields(n - 1);
  const QString campo = NombreSQL(codigo.FieldName());
  const bool texto = esTexto(codigo.DataType());

  QStringList condiciones;
  // ISNUMERIC also takes "1.5", "1e3" and "-": only digits make a code.
  if (texto && EsSQLServer())
    condiciones.append(u"ISNUMERIC("_qs + campo + u") = 1 AND "_qs + campo + u" NOT LIKE '%[^0-9]%'"_qs);
  else if (texto)
    condiciones.append(campo + u" <> '' AND "_qs + campo + u" NOT LIKE '%[^0-9]%'"_qs);
  // A text code is compared as the number it is, not as text ("12" > "100");
  // the server may convert before it filters, so only digits are converted.
  const QString valor =
      texto ? u"CASE WHEN "_qs + campo + u" NOT LIKE '%[^0-9]%' THEN CAST("_qs + campo + u" AS BIGINT) END"_qs : campo;
  if (desde != -1) condiciones.append(valor + u" >= "_qs + QString::number(desde));
  if (hasta != -1) condiciones.append(valor + u" <= "_qs + QString::number(hasta));
  for (int i = 0; i < n - 1; ++i) condiciones.append(NombreSQL(claves[i]) + u'=' + literal(tabla.FieldByName(claves[i])));

  QString donde;
  for (const QString& condicion : condiciones)
    donde += (donde.isEmpty() ? u" WHERE "_qs : u" AND "_qs) + u" ("_qs + condicion + u") "_qs;
  const QString maximo = u"MAX("_qs + valor + u") "_qs;
  const QString sql = u"SELECT "_qs + maximo + u" FROM "_qs + NombreSQLTabla(tabla.TableName()) + u" WITH(NOLOCK) "_qs + donde;
  const QString resultado = EjecutarSQL(sql, u'?' + tabla.DatabaseName(), texto ? u"Silenciosa"_qs : QString());
  bool numero = false;
  const qint64 mayor = resultado.trimmed().toLongLong(&numero);
  return (numero ? mayor : 0) + incremento;
}

#include "core/sql/InsercionSQL.h"

#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/sql/EjecucionSQL.h"
#include "platform/StringList.h"
#include "platform/data/Field.h"
#include "platform/data/Table.h"

bool InsertarValores(const QString& textoInsercion, const QString& baseDatos, const QString& opciones) {
  StringList lineas;
  lineas.SetText(textoInsercion);
  if (lineas.Count() == 0) return false;
  QStringList campos, valores;
  for (int i = 1; i < lineas.Count(); ++i) {
    const QString campo = lineas.Names(i);
    QString valor = lineas.ValueFromIndex(i);
    if (campo.isEmpty() || valor.isEmpty()) continue;
    campos.append(campo);
    valores.append(u'\'' + valor.remove(u'\'') + u'\'');
  }
  const QString sql = QStringLiteral("INSERT INTO ") + lineas[0] + QStringLiteral(" (") + campos.join(QStringLiteral(", ")) +
                      QStringLiteral(") ") + QStringLiteral(" VALUES (") + valores.join(QStringLiteral(", ")) +
                      QStringLiteral(") ");
  const QString resultado = opciones.contains(QLatin1String("ADOConnection")) ? EjecutarSQLADO(sql, baseDatos, opciones)
                                                                                 : EjecutarSQL(sql, baseDatos, opciones);
  return resultado.isEmpty();
}

void SentenciaUpdate(Table& tabla) {
  if (!EsSQLServer()) return;
  QStringList asignaciones, condiciones;
  for (int i = 0; i < tabla.FieldCount(); ++i) {
    const Field& campo = tabla.Fields(i);
    if (campo.DataType() != ftMemo && campo.DataType() != ftFmtMemo) continue;
    // An empty memo is written as NULL; the value itself is never rewritten.
    const QString valor = campo.AsString();
    asignaciones.append(campo.FieldName() + QStringLiteral(" = ") +
                        (valor.isEmpty() ? QStringLiteral("NULL") : LiteralSQL(valor)));
  }
  if (asignaciones.isEmpty()) return;
  const QString lista = asignaciones.join(QStringLiteral(", "));
  for (int i = 0; i < tabla.FieldCount(); ++i) {
    const Field& campo = tabla.Fields(i);
    if (!campo.IsKey()) continue;
    const bool fecha = campo.DataType() == ftDate || campo.DataType() == ftDateTime;
    condiciones.append(campo.FieldName() + QStringLiteral(" = ") +
                       (fecha ? ValorSQL(Variant::Date(campo.AsDateTime())) : LiteralSQL(campo.AsString())));
  }
  if (condiciones.isEmpty()) return;
  EjecutarSQL(QStringLiteral("UPDATE ") + tabla.TableName() + QStringLiteral("  SET ") + lista +
                  QStringLiteral("  WHERE ") + condiciones.join(QStringLiteral(" AND ")),
              tabla.DatabaseName());
}

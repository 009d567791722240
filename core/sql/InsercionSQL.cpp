#include "core/sql/InsercionSQL.h"

#include "core/connections/Conexiones.h"
#include "core/helpers/LiteralesSQL.h"
#include "core/messages/MensajeSistema.h"
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
    campos.append(NombreSQL(campo));
    valores.append(u'\'' + valor.remove(u'\'') + u'\'');
  }
  const QString sql = QStringLiteral("INSERT INTO ") + NombreSQLTabla(lineas[0]) + QStringLiteral(" (") + campos.join(QStringLiteral(", ")) +
                      QStringLiteral(") ") + QStringLiteral(" VALUES (") + valores.join(QStringLiteral(", ")) +
                      QStringLiteral(") ");
  const QString resultado = opciones.contains(QLatin1String("ADOConnection")) ? EjecutarSQLADO(sql, baseDatos, opciones)
                                                                                 : EjecutarSQL(sql, baseDatos, opciones);
  return resultado.isEmpty();
}

QString TextoSentenciaUpdate(const Table& tabla, QStringList* noValidos) {
  const auto valido = [&](const QString& nombre) {
    if (NombreObjetoSQLValido(nombre)) return true;
    if (noValidos) noValidos->append(nombre);
    return false;
  };
  if (!valido(tabla.TableName())) return {};
  QStringList asignaciones, condiciones;
  for (int i = 0; i < tabla.FieldCount(); ++i) {
    const Field& campo = tabla.Fields(i);
    if (campo.DataType() != ftMemo && campo.DataType() != ftFmtMemo) continue;
    if (!valido(campo.FieldName())) continue;
    // An empty memo is written as NULL; the value itself is never rewritten.
    const QString valor = campo.AsString();
    asignaciones.append(NombreSQL(campo.FieldName()) + QStringLiteral(" = ") +
                        (valor.isEmpty() ? QStringLiteral("NULL") : LiteralSQL(valor)));
  }
  if (asignaciones.isEmpty()) return {};
  for (int i = 0; i < tabla.FieldCount(); ++i) {
    const Field& campo = tabla.Fields(i);
    if (!campo.IsKey()) continue;
    // Without the whole key the statement would write other records.
    if (!valido(campo.FieldName())) return {};
    const bool fecha = campo.DataType() == ftDate || campo.DataType() == ftDateTime;
    condiciones.append(NombreSQL(campo.FieldName()) + QStringLiteral(" = ") +
                       (fecha ? ValorSQL(Variant::Date(campo.AsDateTime())) : LiteralSQL(campo.AsString())));
  }
  if (condiciones.isEmpty()) return {};
  return QStringLiteral("UPDATE ") + NombreSQLTabla(tabla.TableName()) + QStringLiteral("  SET ") +
         asignaciones.join(QStringLiteral(", ")) + QStringLiteral("  WHERE ") + condiciones.join(QStringLiteral(" AND "));
}

void SentenciaUpdate(Table& tabla) {
  if (!EsSQLServer()) return;
  QStringList noValidos;
  const QString sentencia = TextoSentenciaUpdate(tabla, &noValidos);
  for (const QString& nombre : noValidos) MensajeAviso(MensajeNombreNoValido(nombre));
  if (!sentencia.isEmpty()) EjecutarSQL(sentencia, tabla.DatabaseName());
}

#include "platform/engine/AuditTriggerText.h"

#include "platform/sql/NombresSQL.h"

#include <algorithm>

namespace {

using Column = AuditTrigger::Column;
using Written = AuditTrigger::Written;

QString quoted(const QString& text) { return u'\'' + QString(text).replace(u'\'', QStringLiteral("''")) + u'\''; }

// The value as text; one NULL would empty the whole concatenation.
QString valueText(const Column& column, const QString& separator = QStringLiteral(", ")) {
  const QString name = NombreSQL(column.name);
  switch (column.written) {
    case Written::Time:
      return QStringLiteral("ISNULL(CONVERT( VARCHAR, ") + name + separator + QStringLiteral("108), '')");
    case Written::Date:
      return QStringLiteral("ISNULL(CONVERT( VARCHAR, ") + name + separator + QStringLiteral("103), '')");
    default:
      return QStringLiteral("ISNULL(CAST(") + name + QStringLiteral(" AS VARCHAR), '')");
  }
}

// A key column with the variable its value is fetched into: "@" and its
// name, or, when any key's name can be no variable's, "@Clave" and its place
// for every key, so no two meet.
struct Key {
  Column column;
  QString variable;
};

QList<Key> keys(const AuditTrigger& trigger) {
  QList<Key> keys;
  for (const Column& column : trigger.columns)
    if (column.key) keys.append({column, u'@' + column.name});
  if (!std::all_of(keys.begin(), keys.end(), [](const Key& key) { return NombreSQLCorriente(key.column.name); }))
    for (int i = 0; i < keys.size(); ++i) keys[i].variable = QStringLiteral("@Clave") + QString::number(i + 1);
  return keys;
}

QString dataExpression(const AuditTrigger& trigger) {
  QStringList parts;
  for (const Column& column : trigger.columns)
    if (column.written != Written::LeftOut)
      parts.append(quoted(column.name + u'=') + QStringLiteral("+ ") + valueText(column) + QStringLiteral(" +'|'"));
  return parts.join(u'+');
}

QString keyExpression(const QList<Key>& keys) {
  QStringList parts;
  for (const Key& key : keys) parts.append(valueText(key.column, QStringLiteral(" ,")) + QStringLiteral(" +'|'"));
  QString expression = parts.join(u'+');
  expression.chop(4);
  return expression;
}

QString keyCondition(const QList<Key>& keys) {
  QStringList parts;
  for (const Key& key : keys)
    parts.append(QStringLiteral(" (") + NombreSQL(key.column.name) + QStringLiteral(" = ") + key.variable + QStringLiteral(") "));
  return parts.join(QLatin1String(" AND "));
}

QString declarations(const QList<Key>& keys) {
  QString text;
  for (const Key& key : keys) text += QStringLiteral(" DECLARE ") + key.variable + u' ' + key.column.keyType + QStringLiteral("\r\n");
  return text;
}

QString variables(const QList<Key>& keys) {
  QStringList names;
  for (const Key& key : keys) names.append(key.variable);
  return names.join(u',');
}

QString columnNames(const QList<Key>& keys) {
  QStringList names;
  for (const Key& key : keys) names.append(NombreSQL(key.column.name));
  return names.join(u',');
}

QString updateBlocks(const AuditTrigger& trigger, const QString& condition) {
  QString blocks;
  for (const Column& column : trigger.columns) {
    if (column.written == Written::LeftOut) continue;
    blocks += QStringLiteral("    IF UPDATE(") + NombreSQL(column.name) + QStringLiteral(") ") + QStringLiteral("    BEGIN ") +
              QStringLiteral("      SET @Datos = @Datos + ") + QStringLiteral("                   (SELECT ") +
              quoted(column.name + u'=') + QStringLiteral("                      +") + valueText(column) +
              QStringLiteral("                      FROM inserted WHERE ") + condition + QStringLiteral(")+") +
              QStringLiteral("                   (SELECT ") + quoted(QStringLiteral(" [")) +
              QStringLiteral("                      +") + valueText(column) + u'+' + quoted(QStringLiteral("]")) +
              QStringLiteral("                      FROM deleted WHERE ") + condition + QStringLiteral(")+") +
              QStringLiteral("'|'") + QStringLiteral("    END");
  }
  return blocks;
}

const QString kUserSplit =
    QStringLiteral("    IF CHARINDEX('|',APP_NAME()) > 0") + QStringLiteral("      BEGIN") +
    QStringLiteral("        SET @Aplicacion = SUBSTRING(APP_NAME(), 0, CHARINDEX('|',APP_NAME()))") +
    QStringLiteral("        SET @Usuario = SUBSTRING(APP_NAME(), CHARINDEX('|',APP_NAME())+1, "
                   "LEN(APP_NAME())-(CHARINDEX('|',APP_NAME())))") +
    QStringLiteral("      END") + QStringLiteral("    ELSE") + QStringLiteral("      BEGIN") +
    QStringLiteral("        SET @Aplicacion = APP_NAME()") + QStringLiteral("        SET @Usuario = SYSTEM_USER") +
    QStringLiteral("      END");

QString cursorHead(const QList<Key>& keys, const QString& rows) {
  return QStringLiteral("    DECLARE MICursor CURSOR FOR") + QStringLiteral(" \t   ") + QStringLiteral("SELECT ") +
         columnNames(keys) + QStringLiteral(" FROM ") + rows + QStringLiteral("    OPEN MICursor") +
         QStringLiteral("    FETCH next FROM MICursor") + QStringLiteral("    INTO ") + variables(keys) +
         QStringLiteral("    WHILE @@fetch_status = 0") + QStringLiteral("      BEGIN");
}

QString cursorTail(const QList<Key>& keys) {
  return QStringLiteral("        FETCH next FROM MICursor") + QStringLiteral("        INTO ") + variables(keys) +
         QStringLiteral("      END") + QStringLiteral("      CLOSE MICursor") + QStringLiteral("      DEALLOCATE MICursor") +
         QStringLiteral("  END");
}

}  // namespace

QString SqlServerAuditTrigger(const AuditTrigger& trigger) {
  const QList<Key> keyColumns = keys(trigger);
  const QString condition = keyCondition(keyColumns);
  const QString head = QStringLiteral("CREATE TRIGGER ") + NombreSQL(trigger.name) + QStringLiteral(" ON ") + NombreSQLTabla(trigger.table);
  const QString insertHead = QStringLiteral("INSERT INTO ") + trigger.logTable + QStringLiteral(" SELECT ") +
                             quoted(trigger.table) + QStringLiteral(", ") + QStringLiteral("                         (SELECT ") +
                             keyExpression(keyColumns);
  const QString action = QStringLiteral("                         ") + quoted(trigger.actionWord) + QStringLiteral(", @Aplicacion");
  if (trigger.event == AuditTrigger::Event::Update)
    return head + QStringLiteral("  FOR UPDATE AS") + QStringLiteral("  BEGIN ") +
           QStringLiteral("    DECLARE @Datos varchar(8000)") + QStringLiteral("    DECLARE @Usuario varchar(12)") +
           QStringLiteral("    DECLARE @Aplicacion varchar(30)") + QStringLiteral("    ") + declarations(keyColumns) +
           kUserSplit + QStringLiteral("    SET @Datos = ''") + cursorHead(keyColumns, QStringLiteral("inserted")) +
           QStringLiteral("        ") + updateBlocks(trigger, condition) + QStringLiteral("         ") + insertHead +
           QStringLiteral(" FROM inserted WHERE ") + condition + QStringLiteral("), ") +
           QStringLiteral("                         @Usuario, getdate(), @Datos,") + action +
           QStringLiteral("         SET @Datos = ''") + cursorTail(keyColumns);
  const bool deleted = trigger.event == AuditTrigger::Event::Delete;
  const QString rows = deleted ? QStringLiteral("deleted") : QStringLiteral("inserted");
  return head + (deleted ? QStringLiteral("  FOR DELETE AS") : QStringLiteral("  FOR INSERT AS")) + QStringLiteral("  BEGIN") +
         QStringLiteral("    DECLARE @Usuario varchar(12)") + QStringLiteral("    DECLARE @Aplicacion varchar(30)") +
         QStringLiteral("    ") + declarations(keyColumns) + kUserSplit + cursorHead(keyColumns, rows) +
         QStringLiteral("        ") + insertHead + QStringLiteral(" FROM ") + rows + QStringLiteral(" WHERE ") + condition +
         QStringLiteral("), ") + QStringLiteral("                         @Usuario, getdate(),") +
         QStringLiteral("                         (SELECT ") + dataExpression(trigger) + QStringLiteral(" FROM ") + rows +
         QStringLiteral(" WHERE ") + condition + QStringLiteral("),") + action + cursorTail(keyColumns);
}

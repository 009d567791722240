#include "platform/engine/AuditTriggerText.h"

#include "platform/sqlite/SqlText.h"

#include <QStringList>

namespace {

using Column = AuditTrigger::Column;
using Written = AuditTrigger::Written;
using SqlText::Quoted;

QString literal(QString text) { return u'\'' + text.replace(u'\'', QLatin1String("''")) + u'\''; }

// Dates are kept as ISO text. A new row's auto number is its row number,
// which the table's own trigger may not have written yet.
QString valueText(const Column& column, const QString& row) {
  QString value = row + u'.' + Quoted(column.name);
  if (column.autoNumber && row == u"NEW") value = QStringLiteral("coalesce(%1, NEW.rowid)").arg(value);
  switch (column.written) {
    case Written::Date:
      return QStringLiteral("ifnull(strftime('%d/%m/%Y', ") + value + QStringLiteral("), '')");
    case Written::Time:
      return QStringLiteral("ifnull(strftime('%H:%M:%S', ") + value + QStringLiteral("), '')");
    default:
      return QStringLiteral("ifnull(CAST(") + value + QStringLiteral(" AS TEXT), '')");
  }
}

QString keyText(const AuditTrigger& trigger, const QString& row) {
  QStringList parts;
  for (const Column& column : trigger.columns)
    if (column.key) parts.append(valueText(column, row));
  return parts.isEmpty() ? QStringLiteral("''") : parts.join(QLatin1String(" || '|' || "));
}

QString dataText(const AuditTrigger& trigger, const QString& row) {
  QStringList parts;
  for (const Column& column : trigger.columns)
    if (column.written != Written::LeftOut)
      parts.append(literal(column.name + u'=') + QStringLiteral(" || ") + valueText(column, row) + QStringLiteral(" || '|'"));
  return parts.isEmpty() ? QStringLiteral("''") : parts.join(QLatin1String(" || "));
}

QString changesText(const AuditTrigger& trigger) {
  QStringList parts;
  for (const Column& column : trigger.columns) {
    if (column.written == Written::LeftOut) continue;
    const QString name = Quoted(column.name);
    parts.append(QStringLiteral("CASE WHEN NEW.%1 IS NOT OLD.%1 THEN ").arg(name) + literal(column.name + u'=') +
                 QStringLiteral(" || ") + valueText(column, QStringLiteral("NEW")) + QStringLiteral(" || ' [' || ") +
                 valueText(column, QStringLiteral("OLD")) + QStringLiteral(" || ']|' ELSE '' END"));
  }
  return parts.isEmpty() ? QStringLiteral("''") : parts.join(QLatin1String(" || "));
}

const QString kBar = QStringLiteral("instr(app_name(), '|')");

// The table numbering a new row is no edit.
QString whenEdited(const AuditTrigger& trigger) {
  QStringList numbered;
  for (const Column& column : trigger.columns)
    if (column.autoNumber) numbered.append(QStringLiteral("OLD.") + Quoted(column.name) + QStringLiteral(" IS NOT NULL"));
  return numbered.isEmpty() ? QString() : QStringLiteral(" WHEN ") + numbered.join(QLatin1String(" AND "));
}

}  // namespace

QString SqliteAuditTrigger(const AuditTrigger& trigger) {
  const bool deleted = trigger.event == AuditTrigger::Event::Delete;
  const QString row = deleted ? QStringLiteral("OLD") : QStringLiteral("NEW");
  const QString event = deleted ? QStringLiteral("DELETE")
                                : trigger.event == AuditTrigger::Event::Insert ? QStringLiteral("INSERT") : QStringLiteral("UPDATE");
  const QString data = trigger.event == AuditTrigger::Event::Update ? changesText(trigger) : dataText(trigger, row);
  const QString user = QStringLiteral("CASE WHEN %1 > 0 THEN substr(app_name(), %1 + 1) ELSE zem_system_user() END").arg(kBar);
  const QString application = QStringLiteral("CASE WHEN %1 > 0 THEN substr(app_name(), 1, %1 - 1) ELSE app_name() END").arg(kBar);
  const QString when = trigger.event == AuditTrigger::Event::Update ? whenEdited(trigger) : QString();
  return QStringLiteral("CREATE TRIGGER %1 AFTER %2 ON %3 FOR EACH ROW%11 BEGIN INSERT INTO %4 SELECT %5, %6, %7, "
                        "datetime('now', 'localtime'), %8, %9, %10; END")
      .arg(Quoted(trigger.name), event, Quoted(trigger.table), Quoted(trigger.logTable), literal(trigger.table),
           keyText(trigger, row), user, data, literal(trigger.actionWord), application, when);
}

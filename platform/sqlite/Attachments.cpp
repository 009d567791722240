#include "platform/sqlite/Attachments.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"

#include <sqlite3.h>

#include <algorithm>

bool Attachments::Contains(const QString& schema) const {
  return !connection_.QueryRows(QStringLiteral("SELECT 1 FROM pragma_database_list WHERE name = ? COLLATE NOCASE"),
                                {schema})
              .rows.isEmpty();
}

void Attachments::Keep(const QString& schema, const QString& file) {
  if (Contains(schema)) {
    onDemand_.removeIf([&](const QString& name) { return name.compare(schema, Qt::CaseInsensitive) == 0; });
    return;
  }
  attach(schema, file, {});
}

void Attachments::Use(const QString& schema, const QString& file, const QStringList& inUse) {
  for (qsizetype i = 0; i < onDemand_.size(); ++i)
    if (onDemand_[i].compare(schema, Qt::CaseInsensitive) == 0) {
      onDemand_.move(i, onDemand_.size() - 1);
      return;
    }
  if (Contains(schema)) return;  // kept
  attach(schema, file, inUse);
  onDemand_.append(schema);
}

int Attachments::attachedCount() const {
  return connection_
      .QueryRows(QStringLiteral("SELECT count(*) FROM pragma_database_list WHERE name NOT IN ('main', 'temp')"))
      .rows[0][0]
      .toInt();
}

void Attachments::attach(const QString& schema, const QString& file, const QStringList& inUse) {
  if (connection_.InTransaction())
    throw EDatabaseError(QString::fromLatin1(EngineText::AttachInTransaction).arg(schema), file);
  const int limit = sqlite3_limit(connection_.Handle(), SQLITE_LIMIT_ATTACHED, -1);
  for (int attached = attachedCount(); attached >= limit; --attached) {
    const auto unused = std::find_if(onDemand_.begin(), onDemand_.end(),
                                     [&](const QString& name) { return !inUse.contains(name, Qt::CaseInsensitive); });
    if (unused == onDemand_.end()) break;  // SQLite's own error says there is no room
    connection_.Execute(QStringLiteral("DETACH DATABASE ") + SqlText::Quoted(*unused));
    onDemand_.erase(unused);
  }
  connection_.Execute(QStringLiteral("ATTACH DATABASE ? AS ") + SqlText::Quoted(schema), {file});
}

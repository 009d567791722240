#include "platform/sqlite/Attachments.h"

#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "platform/sqlite/SqlText.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

#include <algorithm>

namespace {

QString sameFileKey(const QString& file) {
  const QFileInfo info(file);
  const QString canonical = info.canonicalFilePath();
  return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

std::optional<QString> Attachments::fileOf(const QString& schema) const {
  const SqlRows rows = connection_.QueryRows(
      QStringLiteral("SELECT file FROM pragma_database_list WHERE name = ? COLLATE NOCASE"), {schema});
  if (rows.rows.isEmpty()) return std::nullopt;
  return rows.rows[0][0].toString();
}

bool Attachments::Contains(const QString& schema) const { return fileOf(schema).has_value(); }

// A schema name attached to another file is given the file asked for.
bool Attachments::attachedTo(const QString& schema, const QString& file) {
  const std::optional<QString> attached = fileOf(schema);
  if (!attached) return false;
  if (sameFileKey(*attached) == sameFileKey(file)) return true;
  if (connection_.InTransaction())
    throw EDatabaseError(QString::fromLatin1(EngineText::AttachInTransaction).arg(schema), file);
  detach(schema);
  return false;
}

Attachments::~Attachments() {
  for (const auto& [schema, file] : observed_) {
    try {
      observer_(schema, file, false);
    } catch (const std::exception&) {
      // What the observer keeps of a closed connection is its own to mend.
    }
  }
}

void Attachments::detach(const QString& schema) {
  connection_.Execute(QStringLiteral("DETACH DATABASE ") + SqlText::Quoted(schema));
  const auto told = observed_.find(schema.toUpper());
  if (told == observed_.end()) return;
  const QString file = told->second;
  observed_.erase(told);
  observer_(schema, file, false);
}

bool Attachments::Release(const QString& schema) {
  const auto known = std::find_if(onDemand_.begin(), onDemand_.end(),
                                  [&](const QString& name) { return name.compare(schema, Qt::CaseInsensitive) == 0; });
  if (known == onDemand_.end()) return !Contains(schema);
  if (connection_.InTransaction()) return false;
  const QString name = *known;
  onDemand_.erase(known);
  detach(name);
  return true;
}

void Attachments::Keep(const QString& schema, const QString& file) {
  const bool attached = attachedTo(schema, file);
  onDemand_.removeIf([&](const QString& name) { return name.compare(schema, Qt::CaseInsensitive) == 0; });
  if (!attached) attach(schema, file, {});
}

void Attachments::Use(const QString& schema, const QString& file, const QStringList& inUse) {
  const bool attached = attachedTo(schema, file);
  qsizetype known = -1;
  for (qsizetype i = 0; i < onDemand_.size() && known < 0; ++i)
    if (onDemand_[i].compare(schema, Qt::CaseInsensitive) == 0) known = i;
  if (attached) {
    if (known >= 0) onDemand_.move(known, onDemand_.size() - 1);
    return;  // kept, or used on demand before
  }
  if (known >= 0) onDemand_.removeAt(known);
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
    const QString name = *unused;
    onDemand_.erase(unused);
    detach(name);
  }
  if (!observer_) {
    connection_.Execute(QStringLiteral("ATTACH DATABASE ? AS ") + SqlText::Quoted(schema), {file});
    return;
  }
  observer_(schema, file, true);
  try {
    connection_.Execute(QStringLiteral("ATTACH DATABASE ? AS ") + SqlText::Quoted(schema), {file});
  } catch (...) {
    observer_(schema, file, false);
    throw;
  }
  observed_[schema.toUpper()] = file;
}

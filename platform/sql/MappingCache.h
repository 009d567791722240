#pragma once

#include "platform/sql/SqlTypes.h"
#include "platform/sql/TextMemo.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>

class Connection;

// What the mapper learnt of one connection, so that a statement does not
// ask the catalogue again: the columns and primary keys of the tables of
// the connection's own file and of its temporary schema, the names of its
// temporary objects, and the statements it mapped under the current date
// format. All of it is forgotten as soon as the schema version of either
// moves: DDL of ours or of another program, a restore into the file.
class MappingCache {
 public:
  explicit MappingCache(Connection& connection);
  ~MappingCache();
  MappingCache(const MappingCache&) = delete;
  MappingCache& operator=(const MappingCache&) = delete;

  // Before each statement is mapped.
  void Validate(const QString& dateFormat);

  const QString* Mapped(const QString& statement) const;
  void KeepMapped(const QString& statement, const QString& mapped);

  // By the table's text as the statement names it.
  const QList<SqlColumn>* Columns(const QString& table) const;
  const QList<SqlColumn>& KeepColumns(const QString& table, QList<SqlColumn> columns);
  std::optional<QStringList> PrimaryKey(const QString& schema, const QString& table) const;
  void KeepPrimaryKey(const QString& schema, const QString& table, const QStringList& columns);
  // Whether the connection has a temporary object of that name (ASCII case
  // ignored, as SQLite names are).
  bool IsTemporary(const QString& name);
  // After the mapping itself made a temporary object.
  void ForgetTemporaryNames() { temporary_.reset(); }

 private:
  class SchemaVersion;
  void forget();

  Connection& connection_;
  std::unique_ptr<SchemaVersion> main_;
  std::unique_ptr<SchemaVersion> temp_;
  std::optional<std::pair<qint64, qint64>> versions_;  // none while they cannot be read
  QString dateFormat_;
  TextMemo<QString> mapped_;
  std::map<QString, QList<SqlColumn>> columns_;  // references stay valid while others are added
  QHash<QString, QStringList> primaryKeys_;
  std::optional<QSet<QString>> temporary_;
};

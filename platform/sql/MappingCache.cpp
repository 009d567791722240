#include "platform/sql/MappingCache.h"

#include "platform/sqlite/Connection.h"

#include <sqlite3.h>

namespace {

// SQLite compares names ignoring the case of ASCII letters only.
QString NameKey(const QString& name) {
  QString key = name;
  for (QChar& c : key)
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - (u'a' - u'A'));
  return key;
}

}  // namespace

// The version of one schema, read through a statement prepared once; it is
// reset at once, so it holds no lock between statements.
class MappingCache::SchemaVersion {
 public:
  SchemaVersion(sqlite3* db, const char* pragma) {
    if (sqlite3_prepare_v3(db, pragma, -1, SQLITE_PREPARE_PERSISTENT, &statement_, nullptr) != SQLITE_OK) {
      sqlite3_finalize(statement_);
      statement_ = nullptr;
    }
  }
  ~SchemaVersion() { sqlite3_finalize(statement_); }
  SchemaVersion(const SchemaVersion&) = delete;
  SchemaVersion& operator=(const SchemaVersion&) = delete;

  std::optional<qint64> Read() {
    if (!statement_) return std::nullopt;
    std::optional<qint64> version;
    if (sqlite3_step(statement_) == SQLITE_ROW) version = sqlite3_column_int64(statement_, 0);
    sqlite3_reset(statement_);
    return version;
  }

 private:
  sqlite3_stmt* statement_ = nullptr;
};

MappingCache::MappingCache(Connection& connection) : connection_(connection) {}

MappingCache::~MappingCache() = default;

void MappingCache::forget() {
  mapped_.Clear();
  columns_.clear();
  primaryKeys_.clear();
  temporary_.reset();
}

void MappingCache::Validate(const QString& dateFormat) {
  if (!main_) {
    main_ = std::make_unique<SchemaVersion>(connection_.Handle(), "PRAGMA main.schema_version");
    temp_ = std::make_unique<SchemaVersion>(connection_.Handle(), "PRAGMA temp.schema_version");
  }
  const std::optional<qint64> main = main_->Read();
  const std::optional<qint64> temp = temp_->Read();
  const std::optional<std::pair<qint64, qint64>> versions =
      main && temp ? std::optional(std::pair(*main, *temp)) : std::nullopt;
  // Unread versions vouch for nothing: what is kept then lasts one statement.
  if (!versions || versions != versions_) forget();
  versions_ = versions;
  if (dateFormat != dateFormat_) mapped_.Clear();
  dateFormat_ = dateFormat;
}

const QString* MappingCache::Mapped(const QString& statement) const { return mapped_.Find(statement); }

void MappingCache::KeepMapped(const QString& statement, const QString& mapped) { mapped_.Keep(statement, mapped); }

const QList<SqlColumn>* MappingCache::Columns(const QString& table) const {
  const auto found = columns_.find(table);
  return found == columns_.end() ? nullptr : &found->second;
}

const QList<SqlColumn>& MappingCache::KeepColumns(const QString& table, QList<SqlColumn> columns) {
  QList<SqlColumn>& kept = columns_[table];
  kept = std::move(columns);
  return kept;
}

std::optional<QStringList> MappingCache::PrimaryKey(const QString& schema, const QString& table) const {
  const auto found = primaryKeys_.constFind(NameKey(schema) + u'.' + NameKey(table));
  return found == primaryKeys_.cend() ? std::nullopt : std::optional(found.value());
}

void MappingCache::KeepPrimaryKey(const QString& schema, const QString& table, const QStringList& columns) {
  primaryKeys_.insert(NameKey(schema) + u'.' + NameKey(table), columns);
}

bool MappingCache::IsTemporary(const QString& name) {
  if (!temporary_) {
    QSet<QString> names;
    for (const QVariantList& row : connection_.QueryRows(QStringLiteral("SELECT name FROM temp.sqlite_master")).rows)
      names.insert(NameKey(row[0].toString()));
    temporary_ = std::move(names);
  }
  return temporary_->contains(NameKey(name));
}

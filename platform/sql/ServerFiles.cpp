#include "platform/sql/ServerFiles.h"

#include "platform/sql/Collation.h"
#include "platform/sql/SqlDialect.h"
#include "platform/sql/Sqlite.h"

#include <QDir>
#include <QFileInfo>

#include <sqlite3.h>

namespace ServerFiles {

QString MasterFile(const QString& folder) { return QDir(folder).filePath(QStringLiteral("master.sqlite")); }

bool IsMaster(const QString& database) { return database.compare(QLatin1String(kMasterName), Qt::CaseInsensitive) == 0; }

QString DatabaseFile(const QString& folder, const QString& database) {
  if (IsMaster(database)) return MasterFile(folder);
  return QDir(folder).filePath(database.toUpper() + QStringLiteral(".sqlite"));
}

bool IsServerFolder(const QString& folder) { return QFileInfo::exists(MasterFile(folder)); }

}  // namespace ServerFiles

namespace {

// Read without the dialect's views and functions: this runs while a
// connection of the server installs them.
QString CollationInMaster(const QString& folder, const QString& database) {
  sqlite3* raw = nullptr;
  const int rc = sqlite3_open_v2(ServerFiles::MasterFile(folder).toUtf8().constData(), &raw,
                                 SQLITE_OPEN_READONLY, nullptr);
  SqliteHandle master(raw);
  if (rc != SQLITE_OK) return {};
  sqlite3_busy_timeout(raw, 10000);
  SqlDialect::InstallCollations(raw);
  try {
    const SqlRows rows = QuerySql(raw, QStringLiteral("SELECT collation_name FROM sysdatabases WHERE name = ?"),
                                  {database});
    return rows.rows.isEmpty() ? QString() : rows.rows[0][0].toString();
  } catch (const std::exception&) {
    return {};
  }
}

}  // namespace

DatabaseLocation DatabaseLocation::OfFile(const QString& path) {
  DatabaseLocation location;
  location.collationName = Collation::kDefaultName.toString();
  if (path.isEmpty()) return location;
  const QFileInfo file(path);
  const QString folder = file.absolutePath();
  location.databaseName = file.completeBaseName().toUpper();
  if (!ServerFiles::IsServerFolder(folder)) return location;
  location.serverFolder = folder;
  if (file.fileName() == QFileInfo(ServerFiles::MasterFile(folder)).fileName()) {
    location.databaseName = QString::fromLatin1(ServerFiles::kMasterName);
    return location;
  }
  const QString collation = CollationInMaster(folder, location.databaseName);
  if (!collation.isEmpty()) location.collationName = collation;
  return location;
}

DatabaseLocation DatabaseLocation::Of(sqlite3* connection) {
  const char* file = sqlite3_db_filename(connection, "main");
  return OfFile(file ? QString::fromUtf8(file) : QString());
}

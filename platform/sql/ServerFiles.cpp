#include "platform/sql/ServerFiles.h"

#include "platform/sql/Collation.h"
#include "platform/sql/SqlError.h"
#include "platform/sqlite/Connection.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace ServerFiles {

QString MasterFile(const QString& folder) { return QDir(folder).filePath(QStringLiteral("master.sqlite")); }

bool IsMaster(const QString& database) { return database.compare(QLatin1String(kMasterName), Qt::CaseInsensitive) == 0; }

QString DatabaseFile(const QString& folder, const QString& database) {
  if (IsMaster(database)) return MasterFile(folder);
  // The name becomes part of a path: it must not lead out of the folder.
  const bool control = std::any_of(database.begin(), database.end(), [](QChar c) { return c.unicode() < 0x20; });
  if (database.isEmpty() || control || database.contains(u'/') || database.contains(u'\\') ||
      database.contains(QLatin1String("..")))
    throw SqlError(QStringLiteral("Invalid database name '%1'.").arg(database));
  return QDir(folder).filePath(database.toUpper() + QStringLiteral(".sqlite"));
}

bool IsServerFolder(const QString& folder) { return QFileInfo::exists(MasterFile(folder)); }

}  // namespace ServerFiles

namespace {

QString CollationInMaster(const QString& folder, const QString& database) {
  try {
    const SqlRows rows = OpenConnection(ServerFiles::MasterFile(folder))
                             ->QueryRows(QStringLiteral("SELECT collation_name FROM sysdatabases WHERE name = ?"),
                                         {database});
    return rows.rows.isEmpty() ? QString() : rows.rows[0][0].toString();
  } catch (const std::exception&) {
    return {};  // a server still being made
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

DatabaseLocation DatabaseLocation::Of(const Connection& connection) { return OfFile(connection.FileName()); }

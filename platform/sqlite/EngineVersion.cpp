#include "platform/sqlite/EngineVersion.h"

#include <sqlite3.h>

EngineVersion SqliteEngineVersion() {
  // The source id begins "yyyy-mm-dd hh:mm:ss".
  const QString sourceId = QString::fromLatin1(sqlite3_sourceid());
  return {sqlite3_libversion_number(), SQLITE_VERSION_NUMBER,
          QDateTime::fromString(sourceId.left(19), QStringLiteral("yyyy-MM-dd HH:mm:ss"))};
}

#include "platform/sqlite/DatabaseError.h"

#include <sqlite3.h>

namespace {

QString join(const QString& engineText, const QString& driverText) {
  return driverText.isEmpty() ? engineText : engineText + u'\n' + driverText;
}

// "NOT NULL constraint failed: T.Codigo" names the column after the last ".".
QString columnOfNotNullMessage(const QString& message) {
  const qsizetype colon = message.lastIndexOf(u':');
  const QString qualified = message.mid(colon + 1).trimmed();
  return qualified.mid(qualified.lastIndexOf(u'.') + 1);
}

}  // namespace

EDatabaseError::EDatabaseError(const QString& engineText, const QString& driverText, int sqliteCode)
    : Exception(join(engineText, driverText)),
      engineText_(engineText),
      driverText_(driverText),
      sqliteCode_(sqliteCode) {}

void RaiseSqliteError(sqlite3* db, int resultCode) {
  const QString driverText = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode));
  QString engineText = QString::fromLatin1(EngineText::GeneralSqlError);
  switch (resultCode & 0xff) {
    case SQLITE_BUSY:
      engineText = QString::fromLatin1(EngineText::RecordLocked);
      break;
    case SQLITE_LOCKED:
      engineText = QString::fromLatin1(EngineText::TableIsBusy);
      break;
    case SQLITE_READONLY:
      engineText = QString::fromLatin1(EngineText::TableIsReadOnly);
      break;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      engineText = QString::fromLatin1(EngineText::CorruptHeader);
      break;
    case SQLITE_FULL:
      engineText = QString::fromLatin1(EngineText::InsufficientDiskSpace);
      break;
    case SQLITE_CANTOPEN:
      engineText = QString::fromLatin1(EngineText::PathNotFound);
      break;
    case SQLITE_CONSTRAINT:
      if (resultCode == SQLITE_CONSTRAINT_PRIMARYKEY || resultCode == SQLITE_CONSTRAINT_UNIQUE)
        engineText = QString::fromLatin1(EngineText::KeyViolation);
      else if (resultCode == SQLITE_CONSTRAINT_NOTNULL)
        engineText = QString::fromLatin1(EngineText::FieldRequired).arg(columnOfNotNullMessage(driverText));
      break;
    case SQLITE_ERROR:
      if (driverText.startsWith(u"no such table")) engineText = QString::fromLatin1(EngineText::TableDoesNotExist);
      break;
    default:
      break;
  }
  throw EDatabaseError(engineText, driverText, resultCode);
}

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

EDatabaseError::EDatabaseError(const QString& engineText, const QString& driverText)
    : Exception(join(engineText, driverText)), engineText_(engineText), driverText_(driverText) {}

void RaiseSqliteError(sqlite3* db, int resultCode) {
  const QString driverText = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(resultCode));
  switch (resultCode & 0xff) {
    case SQLITE_BUSY:
      throw EDatabaseError(EngineText::RecordLocked, driverText);
    case SQLITE_LOCKED:
      throw EDatabaseError(EngineText::TableIsBusy, driverText);
    case SQLITE_READONLY:
      throw EDatabaseError(EngineText::TableIsReadOnly, driverText);
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
      throw EDatabaseError(EngineText::CorruptHeader, driverText);
    case SQLITE_CANTOPEN:
      throw EDatabaseError(EngineText::PathNotFound, driverText);
    case SQLITE_CONSTRAINT:
      if (resultCode == SQLITE_CONSTRAINT_PRIMARYKEY || resultCode == SQLITE_CONSTRAINT_UNIQUE)
        throw EDatabaseError(EngineText::KeyViolation, driverText);
      if (resultCode == SQLITE_CONSTRAINT_NOTNULL)
        throw EDatabaseError(QString::fromLatin1(EngineText::FieldRequired).arg(columnOfNotNullMessage(driverText)),
                             driverText);
      break;
    case SQLITE_ERROR:
      if (driverText.startsWith(u"no such table"))
        throw EDatabaseError(EngineText::TableDoesNotExist, driverText);
      break;
    default:
      break;
  }
  throw EDatabaseError(EngineText::GeneralSqlError, driverText);
}

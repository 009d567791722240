#include "platform/odbc/OdbcError.h"

#include "platform/sqlite/DatabaseError.h"

#include <QRegularExpression>

#include <sql.h>

#include <algorithm>
#include <array>

namespace {

QString engine(const char* text) { return QString::fromLatin1(text); }

// "column 'Codigo'" in SQL Server's text, "failed: T.Codigo" in SQLite's.
QString requiredColumn(const QString& driverText) {
  static const QRegularExpression sqlServer(QStringLiteral("column '([^']*)'"));
  static const QRegularExpression sqlite(QStringLiteral("NOT NULL constraint failed: (?:[^ .]*\\.)?([^ ]+)"));
  const QRegularExpressionMatch match = sqlServer.match(driverText);
  return match.hasMatch() ? match.captured(1) : sqlite.match(driverText).captured(1);
}

QString sqlServerText(const OdbcDiagnostic& diagnostic) {
  switch (diagnostic.nativeError) {
    case 2627:  // PRIMARY KEY or UNIQUE constraint
    case 2601:  // unique index
      return engine(EngineText::KeyViolation);
    case 515:
      return engine(EngineText::FieldRequired).arg(requiredColumn(diagnostic.text));
    case 208:   // invalid object name
    case 3701:  // cannot drop, does not exist
    case 4902:  // cannot alter, does not exist
      return engine(EngineText::TableDoesNotExist);
    case 1205:  // chosen as deadlock victim
    case 1222:  // lock request time out
      return engine(EngineText::RecordLocked);
    case 911:   // database does not exist
    case 4060:  // cannot open database
      return engine(EngineText::UnknownDatabase);
    case 18456:
      return engine(EngineText::UnknownUserName);
    default:
      return {};
  }
}

// The SQLite driver gives SQLite's primary result code as native error.
QString sqliteText(const OdbcDiagnostic& diagnostic) {
  switch (diagnostic.nativeError) {
    case 5:
      return engine(EngineText::RecordLocked);
    case 6:
      return engine(EngineText::TableIsBusy);
    case 8:
      return engine(EngineText::TableIsReadOnly);
    case 13:
      return engine(EngineText::InsufficientDiskSpace);
    case 19:
      if (diagnostic.text.contains(QLatin1String("UNIQUE constraint failed")) ||
          diagnostic.text.contains(QLatin1String("PRIMARY KEY")))
        return engine(EngineText::KeyViolation);
      if (diagnostic.text.contains(QLatin1String("NOT NULL constraint failed")))
        return engine(EngineText::FieldRequired).arg(requiredColumn(diagnostic.text));
      return {};
    case 1:
      return diagnostic.text.contains(QLatin1String("no such table")) ? engine(EngineText::TableDoesNotExist) : QString();
    default:
      return {};
  }
}

// What SQLSTATE alone says, whatever the driver.
QString stateText(const QString& state) {
  if (state == u"42S02") return engine(EngineText::TableDoesNotExist);
  if (state == u"40001") return engine(EngineText::RecordLocked);  // serialization failure, deadlock
  if (state == u"28000") return engine(EngineText::UnknownUserName);
  return {};
}

bool isWarning(const OdbcDiagnostic& diagnostic) {
  return diagnostic.state.startsWith(u"01") || diagnostic.state.startsWith(u"00");
}

}  // namespace

QList<OdbcDiagnostic> ReadDiagnostics(short handleType, void* handle) {
  QList<OdbcDiagnostic> diagnostics;
  if (!handle) return diagnostics;
  for (SQLSMALLINT record = 1;; ++record) {
    std::array<SQLCHAR, 6> state{};
    SQLINTEGER nativeError = 0;
    SQLSMALLINT length = 0;
    if (!SQL_SUCCEEDED(SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError, nullptr, 0, &length)))
      break;
    QByteArray text(length + 1, '\0');
    SQLGetDiagRec(handleType, handle, record, state.data(), &nativeError, reinterpret_cast<SQLCHAR*>(text.data()),
                  static_cast<SQLSMALLINT>(text.size()), &length);
    text.truncate(std::min<qsizetype>(length, text.size() - 1));
    diagnostics.append({QString::fromLatin1(reinterpret_cast<const char*>(state.data())), static_cast<int>(nativeError),
                        QString::fromUtf8(text)});
  }
  return diagnostics;
}

QString EngineTextOf(const QList<OdbcDiagnostic>& diagnostics, OdbcServer server) {
  for (const OdbcDiagnostic& diagnostic : diagnostics) {
    QString text = server == OdbcServer::SqlServer ? sqlServerText(diagnostic)
                   : server == OdbcServer::Sqlite  ? sqliteText(diagnostic)
                                                   : QString();
    if (text.isEmpty()) text = stateText(diagnostic.state);
    if (!text.isEmpty()) return text;
  }
  return engine(EngineText::GeneralSqlError);
}

void RaiseOdbcError(short handleType, void* handle, OdbcServer server) {
  const QList<OdbcDiagnostic> diagnostics = ReadDiagnostics(handleType, handle);
  QStringList texts;
  for (const OdbcDiagnostic& diagnostic : diagnostics) texts << diagnostic.text;
  throw EDatabaseError(EngineTextOf(diagnostics, server), texts.join(u'\n'));
}

void CheckOdbc(short result, short handleType, void* handle, OdbcServer server) {
  if (result == SQL_SUCCESS || result == SQL_NO_DATA) return;
  if (result == SQL_SUCCESS_WITH_INFO) {
    const QList<OdbcDiagnostic> diagnostics = ReadDiagnostics(handleType, handle);
    if (std::all_of(diagnostics.begin(), diagnostics.end(), isWarning)) return;
  }
  RaiseOdbcError(handleType, handle, server);
}

#include "platform/odbc/OdbcConnection.h"

#include "platform/ConnectionString.h"
#include "platform/engine/EngineDialect.h"
#include "platform/odbc/OdbcStatement.h"
#include "platform/sql/SqlTokenizer.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"

#include <sql.h>
#include <sqlext.h>

#include <array>

namespace {

QString infoText(void* connection, SQLUSMALLINT item) {
  std::array<char, 256> text{};
  SQLSMALLINT length = 0;
  if (!SQL_SUCCEEDED(SQLGetInfo(connection, item, text.data(), static_cast<SQLSMALLINT>(text.size()), &length)))
    return {};
  return QString::fromUtf8(text.data());
}

OdbcServer serverOf(const QString& dbmsName) {
  if (dbmsName.contains(QLatin1String("SQL Server"), Qt::CaseInsensitive)) return OdbcServer::SqlServer;
  if (dbmsName.startsWith(QLatin1String("SQLite"), Qt::CaseInsensitive)) return OdbcServer::Sqlite;
  return OdbcServer::Other;
}

// Before a connection answers, the driver it names tells whose errors come back.
OdbcServer serverOfDriver(const QString& connectionString) {
  if (connectionString.contains(QLatin1String("FreeTDS"), Qt::CaseInsensitive) ||
      connectionString.contains(QLatin1String("tdsodbc"), Qt::CaseInsensitive))
    return OdbcServer::SqlServer;
  return connectionString.contains(QLatin1String("sqlite"), Qt::CaseInsensitive) ? OdbcServer::Sqlite
                                                                                   : OdbcServer::Other;
}

// The texts SQLite itself gives for the same misuse on the other road.
[[noreturn]] void raiseMisuse(const char* sqliteText) {
  throw EDatabaseError(QString::fromLatin1(EngineText::GeneralSqlError), QString::fromLatin1(sqliteText));
}

// The same database whatever password reached it.
QString identityOf(const QString& connectionString) {
  QStringList pairs;
  for (const auto& [name, value] : ConnectionString::Pairs(connectionString))
    if (name.compare(u"PWD", Qt::CaseInsensitive) != 0 && name.compare(u"Password", Qt::CaseInsensitive) != 0)
      pairs.append(name.toUpper() + u'=' + value);
  return pairs.join(u';');
}

}  // namespace

OdbcConnection::OdbcConnection(const QString& connectionString, std::optional<int> loginTimeoutSeconds)
    : identity_(identityOf(connectionString)), environment_(SQL_HANDLE_ENV, nullptr), connection_(SQL_HANDLE_DBC, environment_.Get()) {
  if (loginTimeoutSeconds)
    CheckOdbc(SQLSetConnectAttr(handle(), SQL_ATTR_LOGIN_TIMEOUT,
                                reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(*loginTimeoutSeconds)), SQL_IS_UINTEGER),
              SQL_HANDLE_DBC, handle(), serverOfDriver(connectionString));
  QByteArray text = connectionString.toUtf8();
  const SQLRETURN result = SQLDriverConnect(handle(), nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                            static_cast<SQLSMALLINT>(text.size()), nullptr, 0, nullptr,
                                            SQL_DRIVER_NOPROMPT);
  if (!SQL_SUCCEEDED(result)) RaiseOdbcError(SQL_HANDLE_DBC, handle(), serverOfDriver(connectionString));
  server_ = serverOf(infoText(handle(), SQL_DBMS_NAME));
  takesBatches_ = infoText(handle(), SQL_MULT_RESULT_SETS) == u"Y";
  SQLUSMALLINT describes = SQL_FALSE;
  describesParameters_ =
      SQL_SUCCEEDED(SQLGetFunctions(handle(), SQL_API_SQLDESCRIBEPARAM, &describes)) && describes == SQL_TRUE;
}

OdbcConnection::~OdbcConnection() {
  kept_.Clear();
  if (inTransaction_) SQLEndTran(SQL_HANDLE_DBC, handle(), SQL_ROLLBACK);
  SQLDisconnect(handle());
}

QStringList OdbcConnection::statementsOf(const QString& batch) const {
  if (takesBatches_) return {batch};
  return SplitSqlStatements(batch);
}

void OdbcConnection::forEachStatement(const QString& batch, const QVariantList& parameters,
                                      const std::function<void(OdbcStatement&)>& run) {
  qsizetype bound = 0;
  for (const QString& text : statementsOf(batch)) {
    OdbcStatement statement(*this, text);
    for (int i = 1; i <= statement.ParameterCount() && bound < parameters.size(); ++i)
      statement.Bind(i, parameters[bound++]);
    run(statement);
  }
}

void OdbcConnection::ForEachStatement(const QString& batch, const std::function<void(EngineStatement&)>& run) {
  forEachStatement(batch, {}, run);
}

void OdbcConnection::Execute(const QString& sql, const QVariantList& parameters) {
  forEachStatement(sql, parameters, [](OdbcStatement& statement) {
    while (statement.Step()) {
    }
  });
}

SqlRows OdbcConnection::QueryRows(const QString& sql, const QVariantList& parameters) {
  OdbcStatement statement(*this, sql);
  for (int i = 0; i < parameters.size(); ++i) statement.Bind(i + 1, parameters[i]);
  SqlRows result;
  while (statement.Step()) result.rows << statement.row_;
  result.columns = statement.columns_;
  return result;
}

QList<SqlRows> OdbcConnection::QueryResults(const QString& sql, const QVariantList& parameters) {
  QList<SqlRows> results;
  forEachStatement(sql, parameters, [&results](OdbcStatement& statement) {
    for (bool more = statement.execute(); more; more = statement.nextResultWithColumns()) {
      SqlRows rows{statement.columns_, {}};
      while (statement.fetch()) rows.rows << statement.row_;
      results << rows;
    }
  });
  return results;
}

std::unique_ptr<EngineStatement> OdbcConnection::Prepare(const QString& sql) {
  return std::make_unique<OdbcStatement>(*this, sql);
}

std::unique_ptr<EngineStatement> OdbcConnection::TakeKept(const QString& sql, StatementCache::Lease& lease) {
  return kept_.Take(sql, lease, [&] { return std::make_unique<OdbcStatement>(*this, sql, OdbcStatement::Kept); });
}

void OdbcConnection::GiveKept(const StatementCache::Lease& lease, std::unique_ptr<EngineStatement> statement) {
  kept_.Give(lease, std::move(statement));
}

void OdbcConnection::TraceTo(const QString& fileName) {
  QByteArray file = fileName.toLocal8Bit();
  CheckOdbc(SQLSetConnectAttr(handle(), SQL_ATTR_TRACEFILE, file.data(), SQL_NTS), SQL_HANDLE_DBC, handle(), server_);
  CheckOdbc(SQLSetConnectAttr(handle(), SQL_ATTR_TRACE, reinterpret_cast<SQLPOINTER>(SQL_OPT_TRACE_ON), SQL_IS_UINTEGER),
            SQL_HANDLE_DBC, handle(), server_);
}

void OdbcConnection::statementRuns(OdbcStatement& statement) {
  if (active_ != &statement) {
    finishHeld();
    readOutActive();
  }
  active_ = &statement;
}

void OdbcConnection::statementEnded(const OdbcStatement& statement) {
  if (active_ == &statement) active_ = nullptr;
}

void OdbcConnection::statementRan() {
  if (inTransaction_) transactionWrote_ = true;
}

void OdbcConnection::statementFailed() {
  if (!inTransaction_ || server_ != OdbcServer::SqlServer || !transactionWrote_ || transactionLost_) return;
  transactionLost_ = serverTransactionCount() == 0;
}

// -1 when it cannot be told.
qint64 OdbcConnection::serverTransactionCount() {
  try {
    OdbcHandle statement(SQL_HANDLE_STMT, handle());
    QByteArray text("SELECT @@TRANCOUNT");
    SQLBIGINT count = -1;
    SQLLEN indicator = 0;
    if (!SQL_SUCCEEDED(SQLExecDirect(statement.Get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS)) ||
        !SQL_SUCCEEDED(SQLFetch(statement.Get())) ||
        !SQL_SUCCEEDED(SQLGetData(statement.Get(), 1, SQL_C_SBIGINT, &count, sizeof count, &indicator)))
      return -1;
    return count;
  } catch (const EDatabaseError&) {
    return -1;
  }
}

void OdbcConnection::readOutActive() {
  if (!active_) return;
  OdbcStatement* const reading = std::exchange(active_, nullptr);
  reading->readOut();
}

void OdbcConnection::setAutocommit(bool on) {
  const SQLRETURN result =
      SQLSetConnectAttr(handle(), SQL_ATTR_AUTOCOMMIT,
                        reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(on ? SQL_AUTOCOMMIT_ON : SQL_AUTOCOMMIT_OFF)),
                        SQL_IS_UINTEGER);
  CheckOdbc(result, SQL_HANDLE_DBC, handle(), server_);
}

void OdbcConnection::StartTransaction() {
  if (inTransaction_) raiseMisuse("cannot start a transaction within a transaction");
  readOutActive();
  setAutocommit(false);
  inTransaction_ = true;
  transactionWrote_ = transactionLost_ = false;
}

// A failing end leaves the transaction open, so the caller can still roll it back.
void OdbcConnection::endTransaction(short completion) {
  readOutActive();
  CheckOdbc(SQLEndTran(SQL_HANDLE_DBC, handle(), completion), SQL_HANDLE_DBC, handle(), server_);
  // Out of the transaction only once the driver commits each statement again.
  setAutocommit(true);
  inTransaction_ = false;
}

void OdbcConnection::Commit() {
  if (!inTransaction_) raiseMisuse("cannot commit - no transaction is active");
  if (transactionLost_) {
    endTransaction(SQL_ROLLBACK);
    raiseMisuse("cannot commit - no transaction is active");
  }
  endTransaction(SQL_COMMIT);
}

bool OdbcConnection::undoTransaction() {
  if (!inTransaction_) raiseMisuse("cannot rollback - no transaction is active");
  endTransaction(SQL_ROLLBACK);
  return true;
}

QStringList OdbcConnection::tables(const QString& pattern, const QString& types) {
  OdbcStatement statement(*this, QString());
  statement.runTables(pattern, types);
  QStringList names;
  constexpr int kTableName = 2;
  while (statement.Step()) names << statement.Column(kTableName).toString();
  return names;
}

bool OdbcConnection::TableExists(const QString& tableName) {
  // "_" in a name is a pattern that also matches other names.
  for (const QString& name : tables(tableName, QStringLiteral("TABLE,VIEW")))
    if (name.compare(tableName, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QStringList OdbcConnection::TableNames() {
  QStringList names = tables(QStringLiteral("%"), QStringLiteral("TABLE"));
  // SQLite's own tables (sqlite_sequence, ...), which its driver lists as any other.
  if (server_ == OdbcServer::Sqlite)
    names.removeIf([](const QString& name) { return name.startsWith(u"sqlite_", Qt::CaseInsensitive); });
  names.sort();
  return names;
}

const EngineDialect& OdbcConnection::Dialect() const {
  return server_ == OdbcServer::Sqlite ? EngineDialect::SqliteDriver() : EngineDialect::SqlServer();
}

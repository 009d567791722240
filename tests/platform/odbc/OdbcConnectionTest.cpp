#include "platform/engine/CachedStatement.h"
#include "platform/engine/EngineStatement.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/OdbcParameters.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/odbc/OdbcTrace.h"

#include <gtest/gtest.h>

#include <sql.h>
#include <sqlext.h>

// The ODBC road run for real through unixODBC, with the SQLite ODBC driver
// on a plain file (no collations of ours in it).
namespace {

class OdbcSqlite : public ::testing::Test {
 protected:
  std::unique_ptr<OdbcConnection> open() const {
    return std::make_unique<OdbcConnection>(u"DRIVER=SQLite3;Database="_qs + folder_.File(u"DATOS.db"_qs) +
                                            u";Timeout=200"_qs);
  }
  qint64 count(const QString& table = u"T"_qs) {
    return connection_->QueryRows(u"SELECT COUNT(*) FROM "_qs + table).rows.value(0).value(0).toLongLong();
  }
  void expectFailure(const std::function<void()>& work, const QString& engineText) {
    try {
      work();
      ADD_FAILURE() << "no failure, expected " << engineText.toStdString();
    } catch (const EDatabaseError& error) {
      EXPECT_EQ(error.EngineMessage(), engineText) << error.DriverMessage().toStdString();
      EXPECT_FALSE(error.DriverMessage().isEmpty());
    }
  }

  TemporaryFolder folder_;
  std::unique_ptr<OdbcConnection> connection_ = open();
};

}  // namespace

TEST_F(OdbcSqlite, ValuesRoundTripThroughParameters) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Texto TEXT, Numero DOUBLE, Datos BLOB)"_qs);
  QByteArray bytes(100 * 1024, '\0');
  for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
  // Two-byte characters cross every boundary of the pieces a long text is read in.
  const QString largo = QString(u"añ"_qs).repeated(50 * 1024) + u"€"_qs;
  const std::tuple<QVariant, QVariant, QVariant> filas[] = {
      {QVariant(), QVariant(), QVariant()},
      {u"Ñandú, camión y pingüino"_qs, -1.25, QByteArray("\x00\xff", 2)},
      {largo, 1e300, bytes},
      {QString(), 0.0, QByteArray()},
  };
  qint64 id = 0;
  for (const auto& [texto, numero, datos] : filas)
    connection_->Execute(u"INSERT INTO T VALUES (?, ?, ?, ?)"_qs, {++id, texto, numero, datos});
  connection_->Execute(u"INSERT INTO T (Id) VALUES (?)"_qs, {Q_INT64_C(9007199254740993)});

  const SqlRows leidas = connection_->QueryRows(u"SELECT Id, Texto, Numero, Datos FROM T ORDER BY Id"_qs);
  EXPECT_EQ(leidas.columns, QStringList({"Id", "Texto", "Numero", "Datos"}));
  ASSERT_EQ(leidas.rows.size(), 5);
  for (int fila = 0; fila < 4; ++fila) {
    const auto& [texto, numero, datos] = filas[fila];
    const QVariantList& leida = leidas.rows[fila];
    EXPECT_EQ(leida[0], QVariant(qint64(fila + 1)));
    EXPECT_EQ(leida[1].isNull(), texto.isNull()) << fila;
    EXPECT_EQ(leida[1].toString(), texto.toString()) << fila;
    EXPECT_EQ(leida[2], numero) << fila;
    EXPECT_EQ(leida[3].isNull(), datos.isNull()) << fila;
    EXPECT_EQ(leida[3].toByteArray(), datos.toByteArray()) << fila;
  }
  EXPECT_EQ(leidas.rows[4][0], QVariant(Q_INT64_C(9007199254740993)));
  EXPECT_EQ(leidas.rows[1][2].typeId(), QMetaType::Double);
  EXPECT_EQ(leidas.rows[1][3].typeId(), QMetaType::QByteArray);
}

TEST_F(OdbcSqlite, ATransactionSpansSeveralCallsUntilCommitOrRollback) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY)"_qs);
  const auto otra = open();
  for (const bool confirmar : {false, true}) {
    connection_->StartTransaction();
    EXPECT_TRUE(connection_->InTransaction());
    connection_->Execute(u"INSERT INTO T VALUES (1)"_qs);
    connection_->Execute(u"INSERT INTO T VALUES (2)"_qs);
    EXPECT_EQ(otra->QueryRows(u"SELECT COUNT(*) FROM T"_qs).rows[0][0], QVariant(qint64(0)));
    confirmar ? connection_->Commit() : connection_->Rollback();
    EXPECT_FALSE(connection_->InTransaction());
    EXPECT_EQ(otra->QueryRows(u"SELECT COUNT(*) FROM T"_qs).rows[0][0], QVariant(qint64(confirmar ? 2 : 0)));
  }
  // Back to writing each statement at once.
  connection_->Execute(u"INSERT INTO T VALUES (3)"_qs);
  EXPECT_EQ(otra->QueryRows(u"SELECT COUNT(*) FROM T"_qs).rows[0][0], QVariant(qint64(3)));
  const QString general = QString::fromLatin1(EngineText::GeneralSqlError);
  expectFailure([&] { connection_->Commit(); }, general);
  expectFailure([&] { connection_->Rollback(); }, general);
  connection_->StartTransaction();
  expectFailure([&] { connection_->StartTransaction(); }, general);
}

TEST_F(OdbcSqlite, FailuresRaiseTheEngineTexts) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Nombre TEXT NOT NULL)"_qs);
  connection_->Execute(u"INSERT INTO T VALUES (1, 'a')"_qs);
  const std::pair<const char*, QString> casos[] = {
      {"INSERT INTO T VALUES (1, 'b')", QString::fromLatin1(EngineText::KeyViolation)},
      {"INSERT INTO T VALUES (2, NULL)", u"Field 'Nombre' must have a value"_qs},
      {"SELECT * FROM NOEXISTE", QString::fromLatin1(EngineText::TableDoesNotExist)},
      {"SELEC 1", QString::fromLatin1(EngineText::GeneralSqlError)},
  };
  for (const auto& [sql, texto] : casos) {
    SCOPED_TRACE(sql);
    expectFailure([&] { connection_->Execute(QString::fromLatin1(sql)); }, texto);
    expectFailure([&] { connection_->QueryRows(QString::fromLatin1(sql)); }, texto);
  }
  EXPECT_EQ(count(), 1);
}

TEST_F(OdbcSqlite, ABatchRunsEveryStatementAndReturnsEachResult) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER, Nombre TEXT); INSERT INTO T VALUES (?, ?);\n"
                       "INSERT INTO T VALUES (?, 'dos'); UPDATE T SET Nombre = ? WHERE Id = ?"_qs,
                       {1, u"uno"_qs, 2, u"UNO"_qs, 1});
  const QList<SqlRows> resultados = connection_->QueryResults(
      u"SELECT Nombre FROM T ORDER BY Id; DELETE FROM T WHERE Id = 2; SELECT COUNT(*) AS N FROM T"_qs);
  ASSERT_EQ(resultados.size(), 2);
  EXPECT_EQ(resultados[0].columns, QStringList{"Nombre"});
  EXPECT_EQ(resultados[0].rows, QList<QVariantList>({{u"UNO"_qs}, {u"dos"_qs}}));
  EXPECT_EQ(resultados[1].rows, QList<QVariantList>({{qint64(1)}}));
  // A failure after a result is a failure of the batch, never a short answer.
  expectFailure([&] { connection_->QueryResults(u"SELECT Id FROM T; SELECT * FROM NOEXISTE"_qs); },
                QString::fromLatin1(EngineText::TableDoesNotExist));
}

TEST_F(OdbcSqlite, ASecondConnectionWaitingForTheWriterIsRefusedAsLocked) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY)"_qs);
  const auto otra = open();
  connection_->StartTransaction();
  connection_->Execute(u"INSERT INTO T VALUES (1)"_qs);
  expectFailure([&] { otra->Execute(u"INSERT INTO T VALUES (2)"_qs); },
                QString::fromLatin1(EngineText::RecordLocked));
  connection_->Commit();
  otra->Execute(u"INSERT INTO T VALUES (2)"_qs);
  EXPECT_EQ(count(), 2);
}

TEST_F(OdbcSqlite, AQueryReadsOutItsRowsBeforeAnotherStatementRuns) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Nombre TEXT)"_qs);
  connection_->Execute(u"INSERT INTO T VALUES (1, 'a'); INSERT INTO T VALUES (2, 'b'); INSERT INTO T VALUES (3, 'c')"_qs);
  const std::unique_ptr<EngineStatement> consulta = connection_->Prepare(u"SELECT Id, Nombre FROM T ORDER BY Id"_qs);
  ASSERT_TRUE(consulta->Step());
  // SQLite refuses to drop a table a statement is still reading.
  connection_->Execute(u"CREATE TABLE U AS SELECT * FROM T; DROP TABLE T"_qs);
  EXPECT_EQ(consulta->Column(1), QVariant(u"a"_qs));
  QStringList resto;
  while (consulta->Step()) resto << consulta->Column(1).toString();
  EXPECT_EQ(resto, QStringList({"b", "c"}));
  EXPECT_EQ(consulta->ColumnName(1), u"Nombre"_qs);
  EXPECT_EQ(consulta->ColumnDeclaredType(1).toUpper(), u"TEXT"_qs);
  EXPECT_TRUE(consulta->IsReadOnly());

  const std::unique_ptr<EngineStatement> cambio = connection_->Prepare(u"UPDATE U SET Nombre = ? WHERE Id > ?"_qs);
  EXPECT_EQ(cambio->ParameterCount(), 2);
  cambio->Bind(1, u"x"_qs);
  cambio->Bind(2, 1);
  EXPECT_FALSE(cambio->Step());
  EXPECT_EQ(cambio->Changes(), 2);
  EXPECT_FALSE(cambio->IsReadOnly());
}

TEST_F(OdbcSqlite, TablesByName) {
  connection_->Execute(u"CREATE TABLE TAX (Id INTEGER PRIMARY KEY AUTOINCREMENT); CREATE TABLE Clientes (Id INTEGER);"
                       "CREATE VIEW Vista AS SELECT * FROM TAX"_qs);
  EXPECT_EQ(connection_->TableNames(), QStringList({"Clientes", "TAX"}));
  EXPECT_TRUE(connection_->TableExists(u"vista"_qs));
  EXPECT_TRUE(connection_->TableExists(u"CLIENTES"_qs));
  EXPECT_TRUE(connection_->TableExists(u"tax"_qs));
  EXPECT_FALSE(connection_->TableExists(u"T_X"_qs));  // "_" matches any character in a pattern
}

// A ":name" parameter reaches the driver as a "?" marker and keeps its
// name; one in a string, a comment or a "::" stays text.
TEST_F(OdbcSqlite, NamedParametersBecomeMarkersWithTheirNames) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Texto VARCHAR(12))"_qs);
  connection_->Execute(u"INSERT INTO T VALUES (1, ':uno'), (2, 'dos')"_qs);
  const struct {
    const char16_t* sql;
    QStringList names;
    qint64 firstId;
  } cases[] = {
      {u"SELECT Id FROM T WHERE Id >= :Desde AND Id <= :Hasta ORDER BY Id", {u":Desde"_qs, u":Hasta"_qs}, 1},
      {u"SELECT Id FROM T WHERE Texto = ':uno' AND Id = :Id /* :no */", {u":Id"_qs}, 1},
      {u"SELECT Id FROM T WHERE Id = ? OR Id = :Otro ORDER BY Id", {QString(), u":Otro"_qs}, 1},
  };
  for (const auto& c : cases) {
    const QString sql = QString::fromUtf16(c.sql);
    SCOPED_TRACE(sql.toStdString());
    const std::unique_ptr<EngineStatement> statement = connection_->Prepare(sql);
    ASSERT_EQ(statement->ParameterCount(), c.names.size());
    for (int i = 1; i <= statement->ParameterCount(); ++i) {
      EXPECT_EQ(statement->ParameterName(i), c.names[i - 1]);
      statement->Bind(i, QVariant(qint64(i)));
    }
    ASSERT_TRUE(statement->Step());
    EXPECT_EQ(statement->Column(0).toLongLong(), c.firstId);
  }
  // Described as a table declares it, its size with it.
  const std::unique_ptr<EngineStatement> described = connection_->Prepare(u"SELECT Texto FROM T"_qs);
  ASSERT_TRUE(described->Step());
  EXPECT_TRUE(described->ColumnDeclaredType(0).endsWith(u"(12)"_qs)) << described->ColumnDeclaredType(0).toStdString();
}

// What each value goes to the driver as: a date as a timestamp to SQL
// Server, which reads text dates under the session's DATEFORMAT; as the
// text SQLite keeps dates in to SQLite's driver. A text or a NULL takes the
// column's type where the driver describes the marker; otherwise a NULL
// typed by its column goes as that type, and a text as varchar where the
// suite's code page holds it (a varchar column sought with nvarchar is
// scanned).
TEST(OdbcParameterTypes, EachValueGoesAsItsOwnOrItsColumnsType) {
  const QDateTime date(QDate(2024, 1, 31), QTime(15, 45));
  using Described = OdbcParameters::Described;
  const auto typedNull = [](QMetaType type) { return QVariant(type); };
  const struct {
    QVariant value;
    OdbcServer server;
    std::optional<Described> described;
    short cType, sqlType;
    unsigned long size;
  } cases[] = {
      {QVariant(qint64(7)), OdbcServer::SqlServer, {}, SQL_C_SBIGINT, SQL_BIGINT, 19},
      {QVariant(2.5), OdbcServer::SqlServer, {}, SQL_C_DOUBLE, SQL_DOUBLE, 15},
      {QVariant(QByteArray("\x00\x01", 2)), OdbcServer::SqlServer, {}, SQL_C_BINARY, SQL_VARBINARY, 64},
      {QVariant(QByteArray(9000, 'x')), OdbcServer::SqlServer, {}, SQL_C_BINARY, SQL_LONGVARBINARY, 9000},
      {QVariant(QString(100, u'ñ')), OdbcServer::SqlServer, {}, SQL_C_CHAR, SQL_VARCHAR, 256},  // bytes as UTF-8 counts them
      {QVariant(u"Ωμέγα"_qs), OdbcServer::SqlServer, {}, SQL_C_CHAR, SQL_WVARCHAR, 64},
      {QVariant(QString(2000, u'€')), OdbcServer::SqlServer, {}, SQL_C_CHAR, SQL_VARCHAR, 8000},
      {QVariant(QString(3000, u'€')), OdbcServer::SqlServer, {}, SQL_C_CHAR, SQL_LONGVARCHAR, 9000},
      {QVariant(u"Ñandú"_qs), OdbcServer::Sqlite, {}, SQL_C_CHAR, SQL_WVARCHAR, 64},
      {QVariant(date), OdbcServer::SqlServer, {}, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23},
      {QVariant(date), OdbcServer::Sqlite, {}, SQL_C_CHAR, SQL_WVARCHAR, 23},
      {QVariant(), OdbcServer::SqlServer, {}, SQL_C_CHAR, SQL_VARCHAR, 1},
      {typedNull(QMetaType::fromType<QByteArray>()), OdbcServer::SqlServer, {}, SQL_C_BINARY, SQL_VARBINARY, 64},
      {typedNull(QMetaType::fromType<QDateTime>()), OdbcServer::SqlServer, {}, SQL_C_TYPE_TIMESTAMP, SQL_TYPE_TIMESTAMP, 23},
      // Described by the driver.
      {QVariant(), OdbcServer::SqlServer, Described{SQL_VARBINARY, 50, 0}, SQL_C_BINARY, SQL_VARBINARY, 50},
      {typedNull(QMetaType::fromType<QString>()), OdbcServer::Other, Described{SQL_DECIMAL, 12, 2}, SQL_C_DOUBLE,
       SQL_DECIMAL, 12},
      {QVariant(u"abc"_qs), OdbcServer::SqlServer, Described{SQL_WVARCHAR, 10, 0}, SQL_C_CHAR, SQL_WVARCHAR, 64},
      {QVariant(QString(5000, u'x')), OdbcServer::Other, Described{SQL_WVARCHAR, 10, 0}, SQL_C_CHAR, SQL_WLONGVARCHAR,
       5000},
      // Not a text column: the text's own type, for the server to convert.
      {QVariant(u"12"_qs), OdbcServer::SqlServer, Described{SQL_INTEGER, 10, 0}, SQL_C_CHAR, SQL_VARCHAR, 64},
      {QVariant(qint64(7)), OdbcServer::SqlServer, Described{SQL_VARCHAR, 10, 0}, SQL_C_SBIGINT, SQL_BIGINT, 19},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(&c - cases);
    const OdbcParameters::Types types = OdbcParameters::TypesOf(c.value, c.server, c.described);
    EXPECT_EQ(types.cType, c.cType);
    EXPECT_EQ(types.sqlType, c.sqlType);
    EXPECT_EQ(types.size, c.size);
  }
}

TEST_F(OdbcSqlite, ADateParameterFindsTheDateAsStored) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Alta DATETIME)"_qs);
  connection_->Execute(u"INSERT INTO T VALUES (1, '2024-01-31 15:45:00'), (2, '2024-01-31 15:45:00.250')"_qs);
  for (const auto& [date, id] : {std::pair(QDateTime(QDate(2024, 1, 31), QTime(15, 45)), 1),
                                 std::pair(QDateTime(QDate(2024, 1, 31), QTime(15, 45, 0, 250)), 2)})
    EXPECT_EQ(connection_->QueryRows(u"SELECT Id FROM T WHERE Alta = ?"_qs, {date}).rows.value(0).value(0),
              QVariant(qint64(id)));
}

// A statement the datasets run again and again is prepared once, and its
// texts and NULLs go as the driver describes their markers (the SQLite
// driver describes every marker as a long text); a NULL is NULL, whatever
// column type it carries. A change of the schema prepares it afresh.
TEST_F(OdbcSqlite, AKeptStatementIsPreparedOnceAndItsTextsAndNullsTakeTheDescribedTypes) {
  connection_->Execute(u"CREATE TABLE T (Id INTEGER PRIMARY KEY, Nombre VARCHAR(20), Datos BLOB)"_qs);
  const QString trace = folder_.File(u"odbc.trace"_qs);
  connection_->TraceTo(trace);
  const QString insert = u"INSERT INTO T VALUES (?, ?, ?)"_qs;
  const QVariant noBytes(QMetaType::fromType<QByteArray>());
  const QVariantList rows[] = {
      {1, u"uno"_qs, QByteArray("a")}, {2, QVariant(), QVariant()}, {3, u"tres"_qs, noBytes}, {4, u"ocho"_qs, noBytes}};
  for (const QVariantList& row : rows) {
    const CachedStatement statement(*connection_, insert);
    for (int i = 0; i < row.size(); ++i) statement->Bind(i + 1, row[i]);
    EXPECT_FALSE(statement->Step());
  }
  EXPECT_EQ(connection_->KeptStatementCount(), 1);
  EXPECT_EQ(OdbcTrace::Calls(trace, u"SQLPrepare"_qs).size(), 1);
  EXPECT_EQ(OdbcTrace::Calls(trace, u"SQLExecute"_qs).size(), 4);
  EXPECT_EQ(OdbcTrace::Calls(trace, u"SQLDescribeParam"_qs).size(), 3);  // each marker once
  // Only a marker whose types changed is bound again (a new binding makes
  // FreeTDS prepare the statement anew); the last row changes none.
  EXPECT_EQ(OdbcTrace::BoundSqlTypes(trace).join(u' ').toStdString(),
            "SQL_BIGINT SQL_LONGVARCHAR SQL_VARBINARY SQL_LONGVARCHAR SQL_LONGVARCHAR SQL_LONGVARCHAR");
  EXPECT_EQ(connection_->QueryRows(u"SELECT Id, Nombre, Datos IS NULL FROM T ORDER BY Id"_qs).rows,
            QList<QVariantList>({{qint64(1), u"uno"_qs, qint64(0)},
                                 {qint64(2), QVariant(), qint64(1)},
                                 {qint64(3), u"tres"_qs, qint64(1)},
                                 {qint64(4), u"ocho"_qs, qint64(1)}}));

  connection_->Execute(u"CREATE TABLE U (A INTEGER)"_qs);
  connection_->Execute(insert, {5, u"cinco"_qs, QVariant()});  // run once, directly
  EXPECT_EQ(OdbcTrace::Calls(trace, u"SQLPrepare"_qs).size(), 1);
  const CachedStatement again(*connection_, insert);
  again->Bind(1, 6);
  EXPECT_FALSE(again->Step());
  EXPECT_EQ(OdbcTrace::Calls(trace, u"SQLPrepare"_qs).size(), 2);
}

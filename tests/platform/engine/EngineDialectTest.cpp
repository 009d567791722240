#include "platform/engine/EngineDialect.h"
#include "platform/engine/EngineStatement.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

// The same work through the engine interface on every engine at hand: our
// SQLite connection, unixODBC with the SQLite driver on a plain file, and a
// real server when ZEMWIN_SQLSERVER_ODBC names one.
namespace {

struct Engine {
  const char* name;
  std::function<std::shared_ptr<EngineConnection>(const TemporaryFolder&)> open;
  const char* table;
};

const Engine kEngines[] = {
    {"SQLite", [](const TemporaryFolder& folder) { return OpenConnection(folder.File(u"DATOS.sqlite"_qs)); }, "T"},
    {"ODBC SQLite",
     [](const TemporaryFolder& folder) -> std::shared_ptr<EngineConnection> {
       return std::make_shared<OdbcConnection>(u"DRIVER=SQLite3;Database="_qs + folder.File(u"ODBC.db"_qs));
     },
     "T"},
    {"SQL Server",
     [](const TemporaryFolder&) -> std::shared_ptr<EngineConnection> {
       const QString server = qEnvironmentVariable("ZEMWIN_SQLSERVER_ODBC");
       if (server.isEmpty()) return nullptr;
       return SqlServerOdbc::Open(server);
     },
     "#ZEMDIALECTO"},
};

qint64 first(EngineConnection& engine, const QString& sql, const QVariantList& parameters = {}) {
  return engine.QueryRows(sql, parameters).rows.value(0).value(0).toLongLong();
}

}  // namespace

TEST(EngineDialect, WindowsOwnTablesAndNullSafeTermsOnEveryEngine) {
  for (const Engine& each : kEngines) {
    SCOPED_TRACE(each.name);
    TemporaryFolder folder;
    const std::shared_ptr<EngineConnection> engine = each.open(folder);
    if (!engine) continue;
    const EngineDialect& dialect = engine->Dialect();
    const QString table = dialect.OwnTable(QString::fromLatin1(each.table));
    engine->Execute(u"CREATE TABLE "_qs + table + u" (K INTEGER NOT NULL PRIMARY KEY, N VARCHAR(10))"_qs);
    const std::unique_ptr<EngineStatement> insert =
        engine->Prepare(u"INSERT INTO "_qs + table + u" (K, N) VALUES (?, ?)"_qs);
    const QVariantList names{u"a"_qs, QVariant(), u"c"_qs, QVariant(), u"e"_qs};
    for (int k = 1; k <= names.size(); ++k) {
      insert->Reset();
      insert->Bind(1, qint64(k));
      insert->Bind(2, names[k - 1]);
      while (insert->Step()) {
      }
      EXPECT_EQ(insert->Changes(), 1);
    }

    // Two rows from after the first, in key order, whatever the table holds further on.
    const SqlRows window = engine->QueryRows(dialect.Window(u"K"_qs, table, u" WHERE K > ? ORDER BY K"_qs, 2), {1});
    EXPECT_EQ(window.rows, (QList<QVariantList>{{qint64(2)}, {qint64(3)}}));
    EXPECT_EQ(engine->QueryRows(dialect.Window(u"K"_qs, table, u" ORDER BY K DESC"_qs, 1)).rows,
              QList<QVariantList>{{qint64(5)}});
    // The row at a place of the order; none past the last.
    const QString place = dialect.RowAtPlace(u"K"_qs, table, u" WHERE K > ? ORDER BY K"_qs);
    EXPECT_EQ(engine->QueryRows(place, {1, 2}).rows, QList<QVariantList>{{qint64(4)}});
    EXPECT_TRUE(engine->QueryRows(place, {1, 4}).rows.isEmpty());

    // NULL equals NULL; a value only itself.
    const EngineDialect::NullSafeTerm term = dialect.NullSafeEquals(u"N"_qs);
    const std::pair<QVariant, qint64> matches[] = {{QVariant(), 2}, {u"c"_qs, 1}, {u"x"_qs, 0}};
    for (const auto& [value, expected] : matches) {
      QVariantList parameters;
      for (int use = 0; use < term.parameterUses; ++use) parameters << value;
      EXPECT_EQ(first(*engine, u"SELECT COUNT(*) FROM "_qs + table + u" WHERE "_qs + term.text, parameters), expected)
          << value.toString().toStdString();
    }
  }
}

// A table of the connection's own database, not a temporary one of the
// same name, which SQLite would find first.
TEST(EngineDialect, TheOwnTableIsNotATemporaryOneOfTheSameName) {
  TemporaryFolder folder;
  const std::shared_ptr<Connection> own = OpenConnection(folder.File(u"PROPIA.sqlite"_qs));
  own->Execute(u"CREATE TABLE T (K INTEGER); INSERT INTO T VALUES (1)"_qs);
  own->Execute(u"CREATE TEMP TABLE T (K INTEGER); INSERT INTO temp.T VALUES (7)"_qs);
  const EngineDialect& dialect = own->Dialect();
  EXPECT_EQ(first(*own, u"SELECT K FROM "_qs + dialect.OwnTable(u"T"_qs)), 1);
  EXPECT_EQ(&dialect, &EngineDialect::Sqlite());
}

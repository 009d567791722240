#include "platform/engine/EngineDialect.h"
#include "platform/engine/EngineStatement.h"
#include "platform/odbc/OdbcConnection.h"
#include "platform/odbc/SqlServerOdbc.h"
#include "platform/sqlite/Connection.h"
#include "tests/fixtures/TemporaryFolder.h"

#include <gtest/gtest.h>

#include <functional>

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

// The work on each engine at hand, with its dialect and a table name of its
// own (on a server, a temporary one).
void onEveryEngine(const std::function<void(EngineConnection&, const EngineDialect&, const QString& table)>& work) {
  for (const Engine& each : kEngines) {
    SCOPED_TRACE(each.name);
    TemporaryFolder folder;
    const std::shared_ptr<EngineConnection> engine = each.open(folder);
    if (!engine) continue;
    const EngineDialect& dialect = engine->Dialect();
    work(*engine, dialect, dialect.OwnTable(QString::fromLatin1(each.table)));
  }
}

qint64 first(EngineConnection& engine, const QString& sql, const QVariantList& parameters = {}) {
  return engine.QueryRows(sql, parameters).rows.value(0).value(0).toLongLong();
}

}  // namespace

TEST(EngineDialect, WindowsOwnTablesAndNullSafeTermsOnEveryEngine) {
  onEveryEngine([](EngineConnection& engine, const EngineDialect& dialect, const QString& table) {
    engine.Execute(u"CREATE TABLE "_qs + table + u" (K INTEGER NOT NULL PRIMARY KEY, N VARCHAR(10))"_qs);
    const std::unique_ptr<EngineStatement> insert =
        engine.Prepare(u"INSERT INTO "_qs + table + u" (K, N) VALUES (?, ?)"_qs);
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
    const SqlRows window = engine.QueryRows(dialect.Window(u"K"_qs, table, u" WHERE K > ? ORDER BY K"_qs, 2), {1});
    EXPECT_EQ(window.rows, (QList<QVariantList>{{qint64(2)}, {qint64(3)}}));
    EXPECT_EQ(engine.QueryRows(dialect.Window(u"K"_qs, table, u" ORDER BY K DESC"_qs, 1)).rows,
              QList<QVariantList>{{qint64(5)}});
    // The row at a place of the order; none past the last.
    const QString place = dialect.RowAtPlace(u"K"_qs, table, u" WHERE K > ? ORDER BY K"_qs);
    EXPECT_EQ(engine.QueryRows(place, {1, 2}).rows, QList<QVariantList>{{qint64(4)}});
    EXPECT_TRUE(engine.QueryRows(place, {1, 4}).rows.isEmpty());

    // NULL equals NULL; a value only itself.
    const EngineDialect::NullSafeTerm term = dialect.NullSafeEquals(u"N"_qs);
    const std::pair<QVariant, qint64> matches[] = {{QVariant(), 2}, {u"c"_qs, 1}, {u"x"_qs, 0}};
    for (const auto& [value, expected] : matches) {
      QVariantList parameters;
      for (int use = 0; use < term.parameterUses; ++use) parameters << value;
      EXPECT_EQ(first(engine, u"SELECT COUNT(*) FROM "_qs + table + u" WHERE "_qs + term.text, parameters), expected)
          << value.toString().toStdString();
    }
  });
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

// The catalogue as Table reads it, the same shape on every engine: columns
// with their key positions, indexes field by field, row ids where the
// engine gives them. Savepoints undo only their own work.
TEST(EngineDialect, TheCatalogueAndSavepointsOnEveryEngine) {
  for (const Engine& each : kEngines) {
    if (QLatin1String(each.table) != u"T") continue;  // a server's temporary table is not in its catalogue
    SCOPED_TRACE(each.name);
    TemporaryFolder folder;
    const std::shared_ptr<EngineConnection> engine = each.open(folder);
    if (!engine) continue;
    const EngineDialect& dialect = engine->Dialect();
    engine->Execute(u"CREATE TABLE T (B INTEGER NOT NULL, A INTEGER NOT NULL, N VARCHAR(10), PRIMARY KEY (A, B))"_qs);
    engine->Execute(u"CREATE INDEX T_PorNombre ON T (N"_qs + dialect.TextCollation() + u" DESC, "_qs +
                    QString::fromLatin1(EngineDialect::kCarriedKeyMark) + u"A, B)"_qs);
    const SqlRows columns = engine->QueryRows(dialect.TableColumns(), {u"T"_qs});
    ASSERT_EQ(columns.rows.size(), 3);
    const std::pair<const char16_t*, qint64> expected[] = {{u"B", 2}, {u"A", 1}, {u"N", 0}};
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(columns.rows[i][0].toString(), QString::fromUtf16(expected[i].first));
      EXPECT_EQ(columns.rows[i][3].toLongLong(), expected[i].second);
    }
    EXPECT_EQ(columns.rows[2][1].toString().toUpper(), u"VARCHAR(10)"_qs);
    const SqlRows indexes = engine->QueryRows(dialect.TableIndexes(), {u"T"_qs});
    ASSERT_EQ(indexes.rows.size(), 3);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(indexes.rows[i][0].toString(), u"T_PorNombre"_qs);
      EXPECT_EQ(indexes.rows[i][2].toLongLong(), 1);  // carries the key
      EXPECT_EQ(indexes.rows[i][3].toString(), QStringList({u"N"_qs, u"A"_qs, u"B"_qs})[i]);
      EXPECT_EQ(indexes.rows[i][4].toLongLong(), i == 0 ? 1 : 0);
    }
    if (!dialect.TableHasRowIds().isEmpty()) {
      EXPECT_EQ(engine->QueryRows(dialect.TableHasRowIds(), {u"T"_qs}).rows.size(), 1);
    }

    engine->StartTransaction();
    engine->Execute(u"INSERT INTO T (A, B) VALUES (1, 1)"_qs);
    const EngineDialect::SavepointTexts savepoint = dialect.Savepoint(u"prueba"_qs);
    engine->Execute(savepoint.set);
    engine->Execute(u"INSERT INTO T (A, B) VALUES (2, 2)"_qs);
    engine->Execute(savepoint.undo);
    engine->Commit();
    EXPECT_EQ(first(*engine, u"SELECT COUNT(*) FROM T"_qs), 1);
  }
}

// A record's unchanged check on every kind of column: text byte for byte
// (another case is a change), long texts and pictures as the engine can
// compare them, dates given as the engine reads them, NULL equal to NULL.
TEST(EngineDialect, TheUnchangedCheckComparesEveryKindOfColumnOnEveryEngine) {
  using Kind = EngineDialect::ColumnKind;
  const struct {
    const char* column;
    Kind kind;
    QVariant stored, other;
  } columns[] = {
      {"T", Kind::Text, u"Año"_qs, u"año"_qs},
      {"M", Kind::LongText, QString(3000, u'ñ'), QString(3000, u'n')},
      {"B", Kind::LongBytes, QByteArray("\x00\xff", 2), QByteArray("\x00\xfe", 2)},
      {"V", Kind::Bytes, QByteArray("\x01", 1), QByteArray("\x02", 1)},
      {"F", Kind::Date, u"2024-01-31 15:45:00"_qs, u"2024-01-31 15:45:01"_qs},
      {"N", Kind::Number, 2.5, 2.25},
  };
  onEveryEngine([&](EngineConnection& engine, const EngineDialect& dialect, const QString& table) {
    engine.Execute(u"CREATE TABLE "_qs + table +
                   u" (K INTEGER NOT NULL PRIMARY KEY, T VARCHAR(10), M TEXT, B IMAGE, V VARBINARY(10), F DATETIME, "
                   "N FLOAT)"_qs);
    QVariantList values{1}, nulls{2};
    for (const auto& c : columns) {
      values << dialect.Bound(c.stored, c.kind);
      nulls << dialect.Bound(QVariant(), c.kind);
    }
    const QString insert = u"INSERT INTO "_qs + table + u" VALUES (?, ?, ?, ?, ?, ?, ?)"_qs;
    engine.Execute(insert, values);
    engine.Execute(insert, nulls);
    for (const auto& c : columns) {
      SCOPED_TRACE(c.column);
      const EngineDialect::NullSafeTerm term = dialect.Unchanged(QString::fromLatin1(c.column), c.kind);
      const std::pair<QVariant, qint64> probes[] = {{c.stored, 1}, {c.other, 0}, {QVariant(), 2}};
      for (const auto& [probe, key] : probes) {
        const QVariantList parameters(term.parameterUses, dialect.Bound(probe, c.kind));
        EXPECT_EQ(first(engine, u"SELECT SUM(K) FROM "_qs + table + u" WHERE "_qs + term.text, parameters), key)
            << probe.toString().left(10).toStdString();
      }
    }
  });
}

// What a real server is given: its collation only on text, TEXT and IMAGE
// columns compared as the types that replaced them; a stored date as a date,
// which the server does not read under the session's DATEFORMAT.
TEST(EngineDialect, SqlServerComparesAndBindsEachKindOfColumnAsItAllows) {
  using Kind = EngineDialect::ColumnKind;
  const EngineDialect& server = EngineDialect::SqlServer();
  const std::pair<Kind, const char*> unchanged[] = {
      {Kind::Text, "([T] COLLATE Latin1_General_BIN2 = ? OR ([T] COLLATE Latin1_General_BIN2 IS NULL AND ? IS NULL))"},
      {Kind::LongText,
       "(CAST([T] AS NVARCHAR(MAX)) COLLATE Latin1_General_BIN2 = ? OR (CAST([T] AS NVARCHAR(MAX)) COLLATE "
       "Latin1_General_BIN2 IS NULL AND ? IS NULL))"},
      {Kind::LongBytes, "(CAST([T] AS VARBINARY(MAX)) = ? OR (CAST([T] AS VARBINARY(MAX)) IS NULL AND ? IS NULL))"},
      {Kind::Number, "([T] = ? OR ([T] IS NULL AND ? IS NULL))"},
  };
  for (const auto& [kind, text] : unchanged) EXPECT_EQ(server.Unchanged(u"[T]"_qs, kind).text, QString::fromLatin1(text));
  // An identity column is left to the server, asked in the same scope.
  const QString insert = u"INSERT INTO [T] ([A]) VALUES (?)"_qs;
  EXPECT_EQ(server.InsertNumbered(insert), insert + u"; SELECT CAST(SCOPE_IDENTITY() AS BIGINT)"_qs);
  EXPECT_TRUE(EngineDialect::Sqlite().InsertNumbered(insert).isEmpty());

  const QDateTime afternoon(QDate(2024, 1, 31), QTime(15, 45, 0, 250), Qt::UTC);
  const struct {
    const EngineDialect& dialect;
    QVariant stored;
    Kind kind;
    QVariant bound;
  } bindings[] = {
      {server, u"2024-01-31 15:45:00.250"_qs, Kind::Date, afternoon},
      {server, u"2024-01-31 15:45:00"_qs, Kind::Date, afternoon.addMSecs(-250)},
      {server, u"2024-01-31"_qs, Kind::Date, QDateTime(QDate(2024, 1, 31), QTime(0, 0), Qt::UTC)},
      {server, u"31/01/2024"_qs, Kind::Date, u"31/01/2024"_qs},  // not as dates are stored: the server's own reading
      {server, u"2024-01-31"_qs, Kind::Text, u"2024-01-31"_qs},
      {EngineDialect::Sqlite(), u"2024-01-31 15:45:00"_qs, Kind::Date, u"2024-01-31 15:45:00"_qs},
  };
  for (const auto& b : bindings) {
    SCOPED_TRACE(b.stored.toString().toStdString());
    const QVariant bound = b.dialect.Bound(b.stored, b.kind);
    EXPECT_EQ(bound.typeId(), b.bound.typeId());
    EXPECT_EQ(bound, b.bound);
  }
  const std::pair<Kind, QMetaType> nulls[] = {{Kind::LongBytes, QMetaType::fromType<QByteArray>()},
                                              {Kind::Date, QMetaType::fromType<QDateTime>()}};
  for (const auto& [kind, type] : nulls) {
    const QVariant null = server.Bound(QVariant(), kind);
    EXPECT_TRUE(null.isNull());
    EXPECT_EQ(null.metaType(), type);
  }
}

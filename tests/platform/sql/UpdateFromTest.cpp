#include "platform/sql/SqlError.h"
#include "platform/sql/SqlMapper.h"
#include "tests/fixtures/TemporaryFolder.h"
#include "tests/platform/sql/ServerClient.h"

#include <gtest/gtest.h>

// UPDATE and DELETE with a FROM of their own, on the embedded server: each
// changes the rows SQL Server changes for it, or fails and changes none.

namespace {

const char* const kTables[] = {
    "USE master CREATE DATABASE ZEM1", "USE ZEM1",
    "CREATE TABLE dbo.ART (Codigo INTEGER DEFAULT 0, Nombre VARCHAR(20) NULL, Precio DECIMAL(8,3) NULL, "
    "Stock SMALLINT NULL, CONSTRAINT ART_Clave1 PRIMARY KEY (Codigo))",
    "CREATE TABLE dbo.LIN (Almacen VARCHAR(4) DEFAULT '', Codigo INTEGER DEFAULT 0, Cantidad INTEGER NULL, "
    "CONSTRAINT LIN_Clave1 PRIMARY KEY (Almacen, Codigo))",
    // Without a key, and with only a UNIQUE constraint: SQLite's rowid tells their rows apart.
    "CREATE TABLE dbo.HEAP (Codigo INTEGER NULL, Valor INTEGER NULL)",
    "CREATE TABLE dbo.UNICO (Codigo INTEGER NOT NULL, Valor INTEGER NULL, Nombre VARCHAR(10) NULL, "
    "CONSTRAINT UNICO_Codigo UNIQUE (Codigo))",
    // A column named as SQLite's row id: the rows are still told apart by their own.
    "CREATE TABLE dbo.RID (RowId INTEGER NULL, Valor INTEGER NULL)",
};

const char* const kRows[] = {
    "DELETE FROM ART", "DELETE FROM LIN", "DELETE FROM HEAP", "DELETE FROM UNICO", "DELETE FROM RID",
    "INSERT INTO ART VALUES (1, 'Uno', 1.5, 10)", "INSERT INTO ART VALUES (2, 'Dos', 7.75, NULL)",
    "INSERT INTO ART VALUES (3, 'Tres', 3, 30)",
    "INSERT INTO LIN VALUES ('A', 1, 10)", "INSERT INTO LIN VALUES ('A', 2, 20)", "INSERT INTO LIN VALUES ('B', 3, 30)",
    // Two rows of one code, told apart only by their values.
    "INSERT INTO HEAP VALUES (1, 1)", "INSERT INTO HEAP VALUES (2, 2)", "INSERT INTO HEAP VALUES (2, 9)",
    "INSERT INTO HEAP VALUES (3, 3)",
    "INSERT INTO UNICO VALUES (1, 1, 'Uno')", "INSERT INTO UNICO VALUES (2, 2, 'Dos')",
    "INSERT INTO UNICO VALUES (3, 3, 'Tres')",
    "INSERT INTO RID VALUES (1, 1)", "INSERT INTO RID VALUES (1, 2)", "INSERT INTO RID VALUES (2, 3)",
};

struct Change {
  const char* statement;
  const char* table;  // whose rows are looked at after it
  const char* after;  // its rows in the order of their columns, "|" between rows
  const char* error = nullptr;
};

constexpr const char* kLin = "A 1 10|A 2 20|B 3 30";
constexpr const char* kHeap = "1 1|2 2|2 9|3 3";

const Change kChanges[] = {
    // The target and its instance in the FROM, one name in two spellings.
    {"UPDATE dbo.LIN SET Cantidad = 0 FROM [LIN] t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 3",
     "LIN", "A 1 10|A 2 20|B 3 0"},
    {"UPDATE [dbo].[lin] SET Cantidad = 0 FROM dbo.LIN AS t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo "
     "WHERE t2.Codigo = 3",
     "LIN", "A 1 10|A 2 20|B 3 0"},
    {"UPDATE [LIN] SET Cantidad = 0 FROM LIN t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 3", "LIN",
     "A 1 10|A 2 20|B 3 0"},
    {"UPDATE ZEM1.dbo.LIN SET Cantidad = 0 FROM [zem1].[dbo].[Lin] t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo "
     "WHERE t2.Codigo = 3",
     "LIN", "A 1 10|A 2 20|B 3 0"},
    {"UPDATE lin SET Cantidad = 0 FROM ZEM1..LIN t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 3",
     "LIN", "A 1 10|A 2 20|B 3 0"},
    {"UPDATE dbo.LIN SET Cantidad = 0 FROM [LIN] t1 INNER JOIN lin t2 ON t1.Codigo = t2.Codigo", "LIN", kLin,
     "The table 'LIN' is ambiguous."},
    {"UPDATE t1 SET t1.Cantidad = 0 FROM LIN t1 JOIN ART t2 ON t2.Codigo = t1.Codigo WHERE t2.Codigo = 3", "LIN",
     "A 1 10|A 2 20|B 3 0"},
    {"UPDATE LIN SET Almacen = 'C', [lin].Cantidad = ART.Stock + 1 FROM LIN JOIN ART ON ART.Codigo = LIN.Codigo "
     "WHERE ART.Codigo = 3",
     "LIN", "A 1 10|A 2 20|C 3 31"},
    {"UPDATE LIN SET Cantidad = 1 WHERE LIN.Codigo = 1", "LIN", "A 1 1|A 2 20|B 3 30"},
    {"UPDATE dbo.LIN SET LIN.Cantidad = 2 WHERE Codigo = 2", "LIN", "A 1 10|A 2 2|B 3 30"},
    {"UPDATE t1 SET ART.Stock = 0 FROM LIN t1 JOIN ART ON ART.Codigo = t1.Codigo", "LIN", kLin,
     "The multi-part identifier \"ART.Stock\" could not be bound."},
    // Tables without a key.
    {"UPDATE HEAP SET Valor = 7 FROM HEAP t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 2", "HEAP",
     "1 1|2 7|2 7|3 3"},
    {"UPDATE HEAP SET Valor = 7 FROM HEAP t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t1.Valor = 9", "HEAP",
     "1 1|2 2|2 7|3 3"},
    {"UPDATE UNICO SET Valor = 7 FROM UNICO t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 2",
     "UNICO", "1 1 Uno|2 7 Dos|3 3 Tres"},
    // Compared under the database's collation through the row's own table.
    {"UPDATE UNICO SET Valor = 0 FROM UNICO u JOIN ART a ON a.Codigo = u.Codigo WHERE u.Nombre = 'DÓS'", "UNICO",
     "1 1 Uno|2 0 Dos|3 3 Tres"},
    {"UPDATE t1 SET Valor = t2.Stock FROM [dbo].[heap] t1 JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Stock > 10",
     "HEAP", "1 1|2 2|2 9|3 30"},
    {"UPDATE HEAP SET Valor = Valor * 10 FROM HEAP INNER JOIN ART ON HEAP.Codigo = ART.Codigo WHERE ART.Nombre = 'Uno'",
     "HEAP", "1 10|2 2|2 9|3 3"},
    {"DELETE HEAP FROM HEAP t1 JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Nombre = 'Dos'", "HEAP", "1 1|3 3"},
    {"DELETE t1 FROM HEAP t1 JOIN ART t2 ON t2.Codigo = t1.Codigo WHERE t1.Valor = 9", "HEAP", "1 1|2 2|3 3"},
    {"DELETE u FROM UNICO u JOIN LIN l ON l.Codigo = u.Codigo WHERE l.Almacen = 'A'", "UNICO", "3 3 Tres"},
    {"DELETE HEAP FROM HEAP, ART WHERE HEAP.Codigo = ART.Codigo AND ART.Precio = 7.75", "HEAP", "1 1|3 3"},
    {"UPDATE RID SET Valor = 0 FROM RID r JOIN ART a ON a.Codigo = r.Valor WHERE a.Codigo = 1", "RID", "1 0|1 2|2 3"},
    {"UPDATE [rid] SET RowId = RowId + 5 FROM ART JOIN RID ON RID.Valor = ART.Codigo WHERE ART.Codigo = 2", "RID",
     "1 1|2 3|6 2"},
    {"DELETE RID FROM RID r JOIN ART a ON a.Codigo = r.Valor WHERE a.Codigo = 1", "RID", "1 2|2 3"},
    // The target's table in the FROM without an alias.
    {"UPDATE LIN SET Cantidad = -5 FROM LIN INNER JOIN ART ON LIN.Codigo = ART.Codigo WHERE ART.Codigo = 2", "LIN",
     "A 1 10|A 2 -5|B 3 30"},
    {"UPDATE LIN SET Cantidad = LIN.Cantidad + ART.Stock FROM dbo.LIN INNER JOIN ART ON dbo.LIN.Codigo = ART.Codigo "
     "WHERE ART.Stock IS NOT NULL",
     "LIN", "A 1 20|A 2 20|B 3 60"},
    {"UPDATE [dbo].[lin] SET Cantidad = [LIN].[Cantidad] * 2 FROM [dbo].[LIN] JOIN ART ON [LIN].[Codigo] = ART.Codigo "
     "WHERE ART.Nombre = 'TRES'",
     "LIN", "A 1 10|A 2 20|B 3 60"},
    {"DELETE [dbo].[lin] FROM ZEM1.dbo.LIN t1 JOIN ART t2 ON t2.Codigo = t1.Codigo WHERE t2.Stock = 10", "LIN",
     "A 2 20|B 3 30"},
    {"DELETE dbo.LIN FROM LIN t1 INNER JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Codigo = 1", "LIN",
     "A 2 20|B 3 30"},
    {"DELETE LIN FROM LIN INNER JOIN ART ON LIN.Codigo = ART.Codigo WHERE ART.Stock IS NULL", "LIN", "A 1 10|B 3 30"},
    {"DELETE FROM t1 FROM LIN t1 JOIN ART t2 ON t1.Codigo = t2.Codigo WHERE t2.Precio > 2", "LIN", "A 1 10"},
    {"DELETE t1 FROM LIN t1 JOIN ART t2 ON t1.Codigo = t2.Codigo", "LIN", ""},
    // Several joins, outer joins on either side, parenthesised joins.
    {"UPDATE t1 SET Cantidad = t1.Cantidad + t3.Valor FROM LIN t1 JOIN ART t2 ON t2.Codigo = t1.Codigo "
     "JOIN HEAP t3 ON t3.Codigo = t2.Codigo WHERE t2.Precio < 5",
     "LIN", "A 1 11|A 2 20|B 3 33"},
    {"UPDATE LIN SET Cantidad = ISNULL(h.Valor, -1) FROM LIN LEFT JOIN HEAP h ON h.Codigo = LIN.Codigo "
     "AND h.Valor > 1 AND h.Valor < 9",
     "LIN", "A 1 -1|A 2 2|B 3 3"},
    {"UPDATE h SET Valor = 0 FROM ART a LEFT JOIN HEAP h ON h.Codigo = a.Codigo AND a.Stock IS NOT NULL", "HEAP",
     "1 0|2 2|2 9|3 0"},
    {"UPDATE LIN SET Cantidad = 99 FROM LIN FULL JOIN ART a ON a.Codigo = LIN.Codigo AND a.Codigo > 1 "
     "WHERE a.Codigo IS NULL",
     "LIN", "A 1 99|A 2 20|B 3 30"},
    {"UPDATE HEAP SET Valor = -1 FROM HEAP FULL OUTER JOIN LIN ON LIN.Codigo = HEAP.Codigo AND LIN.Almacen = 'B' "
     "WHERE LIN.Codigo IS NULL",
     "HEAP", "1 -1|2 -1|2 -1|3 3"},
    {"UPDATE LIN SET Cantidad = 0 FROM (LIN t1 JOIN ART t2 ON t1.Codigo = t2.Codigo) WHERE t2.Codigo = 3", "LIN",
     "A 1 10|A 2 20|B 3 0"},
    {"UPDATE t1 SET Valor = 0 FROM ART t2 JOIN (HEAP t1 JOIN LIN l ON l.Codigo = t1.Codigo) ON t2.Codigo = t1.Codigo "
     "WHERE l.Almacen = 'B'",
     "HEAP", "1 1|2 2|2 9|3 0"},
    {"DELETE LIN FROM ART JOIN (LIN JOIN HEAP ON HEAP.Codigo = LIN.Codigo) ON ART.Codigo = LIN.Codigo "
     "WHERE HEAP.Valor = 9",
     "LIN", "A 1 10|B 3 30"},
    {"DELETE t1 FROM ART t2 JOIN (HEAP t1 JOIN LIN l ON l.Codigo = t1.Codigo) ON t2.Codigo = t1.Codigo "
     "WHERE l.Almacen = 'A' AND t1.Valor < 9",
     "HEAP", "2 9|3 3"},
    // A table after the comma that follows an ON condition is a table of the FROM.
    {"DELETE LIN FROM ART a JOIN HEAP h ON h.Codigo = a.Codigo, LIN l WHERE l.Codigo = a.Codigo AND a.Codigo = 2",
     "LIN", "A 1 10|B 3 30"},
    {"UPDATE LIN SET Cantidad = 0 FROM ART a JOIN HEAP h ON h.Codigo = a.Codigo, LIN l "
     "WHERE l.Codigo = a.Codigo AND a.Codigo = 2",
     "LIN", "A 1 10|A 2 0|B 3 30"},
    {"DELETE TOP (1) LIN FROM ART a JOIN HEAP h ON h.Codigo = a.Codigo, LIN l WHERE l.Codigo = a.Codigo AND h.Valor = 9",
     "LIN", "A 1 10|B 3 30"},
    {"UPDATE h SET Valor = 0 FROM ART a JOIN LIN l ON l.Codigo = a.Codigo, HEAP h WHERE h.Codigo = a.Codigo "
     "AND l.Almacen = 'B'",
     "HEAP", "1 1|2 2|2 9|3 0"},
    {"DELETE u FROM LIN l, ART a LEFT JOIN HEAP h ON h.Codigo = a.Codigo, UNICO u WHERE u.Codigo = l.Codigo "
     "AND a.Codigo = l.Codigo AND h.Valor = 9",
     "UNICO", "1 1 Uno|3 3 Tres"},
    {"DELETE LIN FROM LIN x JOIN ART a ON a.Codigo = x.Codigo, LIN l WHERE l.Codigo = a.Codigo", "LIN", kLin,
     "The table 'LIN' is ambiguous."},
    // The instance without an alias is the target; the aliased one is another table.
    {"UPDATE LIN SET Cantidad = 0 FROM ART a JOIN LIN x ON x.Codigo = a.Codigo, [dbo].[LIN] WHERE x.Almacen = 'B'",
     "LIN", "A 1 0|A 2 0|B 3 0"},
    // A comma joins looser than JOIN: the target put beside a FROM of outer joins misses none of their rows.
    {"DELETE HEAP FROM ART RIGHT JOIN LIN ON ART.Codigo = LIN.Codigo AND ART.Stock IS NOT NULL "
     "WHERE HEAP.Codigo = LIN.Codigo AND ART.Codigo IS NULL",
     "HEAP", "1 1|3 3"},
    {"DELETE TOP (1) HEAP FROM ART FULL JOIN LIN ON ART.Codigo = LIN.Codigo AND LIN.Almacen = 'B' "
     "WHERE HEAP.Valor = LIN.Codigo * 3 AND ART.Codigo IS NULL",
     "HEAP", "1 1|2 2|2 9"},
    {"UPDATE HEAP SET Valor = 0 FROM ART RIGHT JOIN LIN ON ART.Codigo = LIN.Codigo AND ART.Stock IS NOT NULL "
     "WHERE HEAP.Codigo = LIN.Codigo AND ART.Codigo IS NULL",
     "HEAP", "1 1|2 0|2 0|3 3"},
    {"UPDATE l SET Cantidad = -1 FROM ART a, HEAP h RIGHT JOIN LIN l ON l.Codigo = h.Valor AND h.Valor > 1 "
     "WHERE a.Codigo = 3 AND h.Codigo IS NULL",
     "LIN", "A 1 -1|A 2 20|B 3 30"},
    // Self-joins: each row takes the value its partner had before the statement.
    {"UPDATE a SET Cantidad = b.Cantidad FROM LIN a JOIN LIN b ON b.Codigo = a.Codigo + 1 WHERE a.Almacen = 'A'",
     "LIN", "A 1 20|A 2 30|B 3 30"},
    {"UPDATE LIN SET Cantidad = b.Cantidad FROM LIN JOIN LIN b ON b.Codigo = LIN.Codigo + 1 WHERE LIN.Almacen = 'A'",
     "LIN", "A 1 20|A 2 30|B 3 30"},
    {"UPDATE a SET Valor = b.Valor FROM HEAP a JOIN HEAP b ON b.Codigo = a.Codigo + 1 AND b.Valor < 9", "HEAP",
     "1 2|2 3|2 3|3 3"},
    {"UPDATE HEAP SET Valor = 0 FROM HEAP a JOIN HEAP b ON b.Codigo = a.Codigo", "HEAP", kHeap,
     "The table 'HEAP' is ambiguous."},
    {"DELETE LIN FROM LIN a JOIN LIN b ON a.Codigo = b.Codigo", "LIN", kLin, "The table 'LIN' is ambiguous."},
    // A subquery's bare column is its own tables' first, else the target's.
    {"UPDATE LIN SET Cantidad = (SELECT MAX(Stock) FROM ART WHERE ART.Codigo <= Cantidad / 10) FROM LIN "
     "JOIN ART a ON a.Codigo = LIN.Codigo WHERE a.Codigo = 2",
     "LIN", "A 1 10|A 2 10|B 3 30"},
    {"UPDATE t1 SET Cantidad = (SELECT Stock FROM ART WHERE Codigo = 3) FROM LIN t1 JOIN ART t2 ON t2.Codigo = t1.Codigo "
     "WHERE t2.Codigo = 1",
     "LIN", "A 1 30|A 2 20|B 3 30"},
    {"UPDATE LIN SET Cantidad = (SELECT MAX(Stock) AS Cantidad FROM ART WHERE ART.Codigo < Cantidad) FROM LIN "
     "JOIN ART a ON a.Codigo = LIN.Codigo WHERE EXISTS (SELECT 1 FROM HEAP WHERE HEAP.Valor = Cantidad / 10)",
     "LIN", "A 1 30|A 2 30|B 3 30"},
    // The target not in the FROM: joined to it, as a table of its own.
    {"UPDATE HEAP SET Valor = 5 FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Stock IS NULL", "HEAP",
     "1 1|2 5|2 5|3 3"},
    {"DELETE HEAP FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Stock > 10", "HEAP", "1 1|2 2|2 9"},
    {"DELETE LIN FROM ART WHERE ART.Codigo = 9", "LIN", kLin},
    {"DELETE HEAP FROM ART JOIN LIN ON LIN.Codigo = ART.Codigo WHERE HEAP.Codigo = LIN.Codigo AND LIN.Almacen = 'B'",
     "HEAP", "1 1|2 2|2 9"},
    // TOP: at most that many of the rows the statement brings.
    {"DELETE TOP (5) FROM LIN WHERE Almacen = 'A'", "LIN", "B 3 30"},
    {"DELETE TOP (1) LIN FROM LIN JOIN ART ON ART.Codigo = LIN.Codigo WHERE ART.Nombre = 'Dos'", "LIN",
     "A 1 10|B 3 30"},
    {"DELETE TOP (0) FROM [dbo].[LIN]", "LIN", kLin},
    {"DELETE TOP (2) h FROM HEAP h, ART a WHERE h.Codigo = 2", "HEAP", "1 1|3 3"},
    {"DELETE TOP (1) h FROM LIN l LEFT JOIN HEAP h ON h.Codigo = l.Codigo AND h.Valor = 9", "HEAP", "1 1|2 2|3 3"},
    {"DELETE TOP (2) LIN FROM LIN JOIN HEAP h ON h.Codigo >= LIN.Codigo WHERE LIN.Almacen = 'A'", "LIN", "B 3 30"},
    {"DELETE TOP (1 + 1) HEAP FROM ART WHERE ART.Codigo = HEAP.Codigo AND ART.Codigo = 2", "HEAP", "1 1|3 3"},
    {"DELETE TOP (3) h FROM ART JOIN (HEAP h JOIN LIN ON LIN.Codigo = h.Codigo) ON ART.Codigo = h.Codigo "
     "WHERE LIN.Almacen = 'A'",
     "HEAP", "3 3"},
    {"DELETE TOP (10) PERCENT FROM LIN", "LIN", kLin, "'TOP (10) PERCENT' is not supported by the embedded server."},
    {"DELETE TOP (-1) FROM LIN WHERE Codigo = 1", "LIN", kLin, "A TOP N value may not be negative."},
    {"UPDATE TOP (1) LIN SET Cantidad = 0", "LIN", kLin, "'UPDATE TOP' is not supported by the embedded server."},
    {"UPDATE TOP (2) h SET Valor = 0 FROM HEAP h JOIN ART a ON a.Codigo = h.Codigo", "HEAP", kHeap,
     "'UPDATE TOP' is not supported by the embedded server."},
};

QString Shown(const QList<QStringList>& rows) {
  QStringList shown;
  for (const QStringList& row : rows) shown << row.join(u' ');
  return shown.join(u'|');
}

class UpdateFrom : public ::testing::Test {
 protected:
  UpdateFrom() : client_(folder_.Path()) {
    for (const char* statement : kTables) client_.Run(QString::fromUtf8(statement));
  }

  QString Rows(const char* table) {
    return Shown(client_.Texts(u"SELECT * FROM %1 ORDER BY 1, 2"_qs.arg(QLatin1String(table))));
  }

  TemporaryFolder folder_;
  ServerClient client_;
};

}  // namespace

TEST_F(UpdateFrom, ChangesTheRowsSqlServerChanges) {
  for (const Change& change : kChanges) {
    for (const char* statement : kRows) client_.Run(QString::fromUtf8(statement));
    const QString error = client_.Error(QString::fromUtf8(change.statement));
    EXPECT_EQ(error.toStdString(), change.error ? change.error : "") << change.statement;
    EXPECT_EQ(Rows(change.table).toStdString(), change.after) << change.statement;
  }
}

// What cannot be bound to rows of the join is refused before it runs.
TEST_F(UpdateFrom, AViewIsRefusedAndKeepsItsRows) {
  for (const char* statement : kRows) client_.Run(QString::fromUtf8(statement));
  client_.Connection().Execute(u"CREATE VIEW VLIN AS SELECT * FROM LIN"_qs);
  for (const char* statement : {"UPDATE VLIN SET Cantidad = 0 FROM VLIN v JOIN ART a ON a.Codigo = v.Codigo",
                                "DELETE VLIN FROM VLIN v JOIN ART a ON a.Codigo = v.Codigo"}) {
    EXPECT_EQ(client_.Error(QString::fromUtf8(statement)),
              u"'UPDATE or DELETE of the view VLIN through a FROM' is not supported by the embedded server."_qs)
        << statement;
    EXPECT_EQ(Rows("LIN"), QString::fromUtf8(kLin)) << statement;
  }
}

// A table whose columns take every name SQLite reads its row ids by has no
// way to tell its rows apart.
TEST_F(UpdateFrom, ATableWhoseColumnsHideItsRowIdsIsRefusedAndKeepsItsRows) {
  client_.Run(u"CREATE TABLE OCULTO (RowId INTEGER NULL, Oid INTEGER NULL, _RowId_ INTEGER NULL)"_qs);
  client_.Run(u"INSERT INTO OCULTO VALUES (1, 1, 1)"_qs);
  client_.Run(u"INSERT INTO OCULTO VALUES (1, 1, 1)"_qs);
  for (const char* statement : {"UPDATE o SET RowId = 2 FROM OCULTO o JOIN ART a ON a.Codigo = o.Oid",
                                "DELETE OCULTO FROM OCULTO JOIN ART a ON a.Codigo = OCULTO.Oid"}) {
    EXPECT_EQ(client_.Error(QString::fromUtf8(statement)),
              u"'UPDATE or DELETE through a FROM of OCULTO, whose columns RowId, _RowId_ and Oid hide its row ids' "
              "is not supported by the embedded server."_qs)
        << statement;
    EXPECT_EQ(Rows("OCULTO"), u"1 1 1|1 1 1"_qs) << statement;
  }
}

// On a large table without a key the join reaches one row, by the table's
// index, and only that row changes.
TEST_F(UpdateFrom, ALargeTableWithoutAKeyChangesTheJoinedRowsOnly) {
  for (const char* statement : kRows) client_.Run(QString::fromUtf8(statement));
  client_.Connection().Execute(
      u"WITH RECURSIVE n(i) AS (SELECT 10 UNION ALL SELECT i + 1 FROM n WHERE i < 100009) "
      "INSERT INTO HEAP (Codigo, Valor) SELECT i, i FROM n; CREATE INDEX HEAP_Codigo ON HEAP (Codigo)"_qs);
  client_.Run(u"UPDATE h SET Valor = -a.Stock FROM ART a JOIN HEAP h ON h.Codigo = a.Codigo * 33333 "
              "WHERE a.Codigo = 3"_qs);
  client_.Run(u"DELETE HEAP FROM HEAP h JOIN ART a ON a.Codigo * 33333 + 1 = h.Codigo"_qs);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT COUNT(*) FROM HEAP"_qs)), u"100001"_qs);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT Codigo, Valor FROM HEAP WHERE Valor < 0 OR Codigo IN (33334, 66667, 99998, "
                                "100000, 100001) ORDER BY Codigo"_qs)),
            u"99998 99998|99999 -30|100001 100001"_qs);

  // The target not in the FROM is joined by its index, not read whole.
  const QString joined = u"DELETE HEAP FROM ART WHERE ART.Codigo * 33333 = HEAP.Codigo AND ART.Codigo = 1"_qs;
  const QString mapped = SqlMapper(SqlContext::ForConnection(client_.Connection(), u"mm/dd/yyyy"_qs)).Map(joined);
  for (const QVariantList& step : client_.Connection().QueryRows(u"EXPLAIN QUERY PLAN "_qs + mapped).rows)
    EXPECT_FALSE(step.last().toString().startsWith(u"SCAN")) << step.last().toString().toStdString();
  client_.Run(joined);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT COUNT(*) FROM HEAP WHERE Codigo = 33333"_qs)), u"0"_qs);

  // TOP takes that many of the rows the join or the condition brings, and no other.
  client_.Run(u"DELETE TOP (2) h FROM ART a JOIN HEAP h ON h.Codigo IN (a.Codigo * 20000, a.Codigo * 20000 + 1) "
              "WHERE a.Codigo > 1"_qs);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT COUNT(*) FROM HEAP WHERE Codigo IN (40000, 40001, 60000, 60001)"_qs)), u"2"_qs);
  client_.Run(u"DELETE TOP (10) FROM HEAP WHERE Codigo > 90000"_qs);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT COUNT(*) FROM HEAP WHERE Codigo > 90000"_qs)), u"9998"_qs);
  EXPECT_EQ(Shown(client_.Texts(u"SELECT COUNT(*) FROM HEAP"_qs)), u"99988"_qs);
}

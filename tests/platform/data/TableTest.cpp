#include "platform/data/Field.h"
#include "platform/data/Query.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/fixtures/SecondProcess.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <vector>
#include <utility>

TEST(TableWrites, OpeningAMissingTableSaysItDoesNotExist) {
  DataFixture data;
  auto table = data.NewTable(u"NOEXISTE"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Open(); }), u"Table does not exist"_qs);
  EXPECT_TRUE(MessageOf([&] { table->Open(); }).contains(u"NOEXISTE"));
  EXPECT_FALSE(table->Active());
  EXPECT_FALSE(table->Exists());
  EXPECT_TRUE(data.NewTable(u"clientes"_qs)->Exists());
  EXPECT_EQ(EngineMessageOf([&] { data.NewTable(QString())->Open(); }), u"Missing TableName property"_qs);
}

TEST(TableWrites, TwoDatasetsSeeEachOthersWritesAfterRefresh) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto mine = data.OpenTable(u"CLIENTES"_qs);
  auto theirs = data.OpenTable(u"CLIENTES"_qs);
  EditRecord(*theirs, {{u"Nombre"_qs, Text(u"Ana María"_qs)}});
  AppendRecord(*theirs, {{u"Codigo"_qs, Int(2)}});
  EXPECT_EQ(mine->FieldByName(u"Nombre"_qs).AsString(), u"Ana"_qs);
  EXPECT_EQ(mine->RecordCount(), 1);
  mine->Refresh();
  EXPECT_EQ(mine->FieldByName(u"Nombre"_qs).AsString(), u"Ana María"_qs);
  EXPECT_EQ(mine->RecordCount(), 2);
  mine->Last();
  mine->Delete();
  theirs->Refresh();
  EXPECT_EQ(Walk(*theirs, u"Codigo"_qs), QStringList{u"1"_qs});
}

// Each failure leaves the database, the record being edited and the state
// as they were.
TEST(TableWrites, AFailedWriteChangesNothing) {
  const auto edit = [](Table& t) { t.Edit(); };
  const auto append = [](Table& t, bool withKey) {
    t.Append();
    if (withKey) t.FieldByName(u"Codigo"_qs).SetAsInteger(1);
  };
  const auto post = [](Table& t) { t.Post(); };
  const struct {
    const char* name;
    std::function<void(Table&)> prepare;
    const char* around;  // what another user does after the record was read
    std::function<void(Table&)> fail;
    QString engineText;
    DataSetState state;
  } cases[] = {
      {"duplicate key", [&](Table& t) { append(t, true); }, "", post, u"Key violation"_qs, dsInsert},
      {"no key", [&](Table& t) { append(t, false); }, "", post, u"Field 'Codigo' must have a value"_qs, dsInsert},
      {"changed", edit, "UPDATE CLIENTES SET Saldo = 7", post,
       u"Couldn't perform the edit because another user changed the record."_qs, dsEdit},
      {"deleted", edit, "DELETE FROM CLIENTES", post, u"Record/Key deleted"_qs, dsEdit},
      {"filter raises", edit, "",
       [](Table& t) {
         t.OnFilterRecord = [](Dataset&, bool&) { throw EDatabaseError(u"Table is busy"_qs); };
         t.Post();
       },
       u"Table is busy"_qs, dsEdit},
      {"delete deleted", [](Table&) {}, "DELETE FROM CLIENTES", [](Table& t) { t.Delete(); }, u"Record/Key deleted"_qs,
       dsBrowse},
      {"edit deleted", [](Table&) {}, "DELETE FROM CLIENTES", edit, u"Record/Key deleted"_qs, dsBrowse},
  };
  const QString summary = u"SELECT COUNT(*) || ':' || IFNULL(Saldo, '') || IFNULL(Notas, '') FROM CLIENTES"_qs;
  for (const auto& c : cases) {
    DataFixture data;
    data.AddCustomer(1, u"Ana"_qs);
    auto mine = data.OpenTable(u"CLIENTES"_qs);
    mine->SetFiltered(true);
    c.prepare(*mine);
    if (mine->State() != dsBrowse) mine->FieldByName(u"Notas"_qs).SetAsString(u"cliente nuevo"_qs);
    if (*c.around) data.Execute(QString::fromLatin1(c.around));
    const QVariant before = data.Scalar(summary);
    EXPECT_EQ(EngineMessageOf([&] { c.fail(*mine); }), c.engineText) << c.name;
    EXPECT_EQ(data.Scalar(summary), before) << c.name;
    EXPECT_EQ(mine->State(), c.state) << c.name;
    EXPECT_EQ(mine->RecordCount(), 1) << c.name;
    if (c.state != dsBrowse) {
      EXPECT_EQ(mine->FieldByName(u"Notas"_qs).AsString(), u"cliente nuevo"_qs) << c.name;
    }
  }
  // The engine refuses an empty key too: no row-id alias makes up a number.
  DataFixture data;
  EXPECT_EQ(EngineMessageOf([&] { data.Execute(u"INSERT INTO CLIENTES (Codigo) VALUES (NULL)"_qs); }),
            u"Field 'Codigo' must have a value"_qs);
  auto usuario = data.NewTable(u"USUARIO"_qs);
  usuario->FieldDefs().Add(u"Codigo"_qs, ftString, 10);
  usuario->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  usuario->CreateTable();
  usuario->Open();
  usuario->Append();
  usuario->FieldByName(u"Codigo"_qs).SetAsString(QString());
  EXPECT_EQ(EngineMessageOf([&] { usuario->Post(); }), u"Field 'Codigo' must have a value"_qs);
}

// A full disk is told as such, not as a failure of the statement.
TEST(TableWrites, AFullDiskSaysSoAndChangesNothing) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto mine = data.OpenTable(u"CLIENTES"_qs);
  data.Scalar(u"PRAGMA max_page_count = 1"_qs);  // the file may not grow by one page
  mine->Edit();
  mine->FieldByName(u"Notas"_qs).SetAsString(QString(100000, u'x'));
  EXPECT_EQ(EngineMessageOf([&] { mine->Post(); }), u"Insufficient disk space"_qs);
  EXPECT_EQ(mine->State(), dsEdit);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES WHERE Notas IS NULL"_qs).toInt(), 1);
}

TEST(TableWrites, ANewRecordTakesItsPlaceInKeyOrder) {
  DataFixture data;
  data.AddCustomer(10, u"A"_qs);
  data.AddCustomer(30, u"C"_qs);
  auto table = data.OpenTable(u"CLIENTES"_qs);
  AppendRecord(*table, {{u"Codigo"_qs, Int(20)}});
  EXPECT_EQ(table->RecNo(), 2);
  EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), 20);
  table->First();
  EditRecord(*table, {{u"Codigo"_qs, Int(40)}});
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), (QStringList{u"20"_qs, u"30"_qs, u"40"_qs}));
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES WHERE Codigo = 10"_qs).toInt(), 0);
}

TEST(TableWrites, ATableWithoutKeyIsWrittenByRowId) {
  DataFixture data;
  auto table = data.NewTable(u"NOTAS"_qs);
  table->FieldDefs().Add(u"Texto"_qs, ftString, 20);
  table->CreateTable();
  data.Execute(u"INSERT INTO NOTAS VALUES ('igual'), ('igual'), ('otra')"_qs);
  table->Open();
  table->Next();
  EditRecord(*table, {{u"Texto"_qs, Text(u"segunda"_qs)}});
  table->Insert();
  table->FieldByName(u"Texto"_qs).SetAsString(u"nueva"_qs);
  table->Post();
  EXPECT_EQ(table->RecNo(), 2);
  table->First();
  table->Delete();
  EXPECT_EQ(Walk(*table, u"Texto"_qs), (QStringList{u"nueva"_qs, u"segunda"_qs, u"otra"_qs}));
  EXPECT_EQ(data.Scalar(u"SELECT group_concat(Texto, ',') FROM (SELECT Texto FROM NOTAS ORDER BY rowid)"_qs)
                .toString(),
            u"segunda,otra,nueva"_qs);
}

// A column may take one of the engine's names for the row id: the table is
// then written through a row id name no column hides, or through its key,
// and every write lands on the record shown.
TEST(TableWrites, AColumnNamedAsTheRowIdDoesNotTakeItsPlace) {
  struct Kind {
    const char* table;
    const char* hiddenBy;  // the column(s) holding a row id name
  } const kinds[] = {
      {"CREATE TABLE NOTAS (RowId INTEGER, Texto VARCHAR(20))", "RowId"},
      {"CREATE TABLE NOTAS (ROWID INTEGER, _RowId_ INTEGER, Texto VARCHAR(20))", "ROWID, _RowId_"},
      {"CREATE TABLE NOTAS (Oid INTEGER NOT NULL, Texto VARCHAR(20), PRIMARY KEY (Oid))", "Oid (key)"},
      {"CREATE TABLE NOTAS (Numero INTEGER NOT NULL, rowid INTEGER, Texto VARCHAR(20), PRIMARY KEY (Numero))",
       "rowid, keyed"},
  };
  for (const Kind& kind : kinds) {
    SCOPED_TRACE(kind.hiddenBy);
    DataFixture data;
    data.Execute(QString::fromLatin1(kind.table));
    const bool keyed = QByteArray(kind.table).contains("PRIMARY KEY");
    const QString first = QString::fromLatin1(kind.table).section(u'(', 1).section(u' ', 0, 0);
    // The row id column holds 7 in every record; a key column numbers them.
    for (int n = 1; n <= 3; ++n)
      data.Execute(u"INSERT INTO NOTAS (%1, Texto) VALUES (%2, 'texto%3')"_qs.arg(first).arg(keyed ? n : 7).arg(n));
    if (QByteArray(kind.table).contains("Numero")) data.Execute(u"UPDATE NOTAS SET rowid = 7"_qs);
    auto table = data.OpenTable(u"NOTAS"_qs);
    table->Next();
    EditRecord(*table, {{u"Texto"_qs, Text(u"segunda"_qs)}});
    EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"segunda"_qs);
    table->First();
    table->Delete();
    table->Append();
    table->FieldByName(first).SetAsInteger(keyed ? 9 : 7);
    table->FieldByName(u"Texto"_qs).SetAsString(u"nueva"_qs);
    table->Post();
    EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), u"nueva"_qs);
    EXPECT_EQ(data.Scalar(u"SELECT group_concat(Texto, ',') FROM (SELECT Texto FROM NOTAS ORDER BY Texto)"_qs)
                  .toString(),
              u"nueva,segunda,texto3"_qs);
    EXPECT_EQ(Walk(*table, u"Texto"_qs).size(), 3);
  }
  // Columns taking all three names leave a table without a key nothing to
  // tell its records apart by: it is refused, not read or written by a column.
  DataFixture data;
  data.Execute(u"CREATE TABLE NOTAS (RowId INTEGER, Oid INTEGER, _ROWID_ INTEGER, Texto VARCHAR(20))"_qs);
  data.Execute(u"INSERT INTO NOTAS VALUES (1, 1, 1, 'a'), (1, 1, 1, 'b')"_qs);
  auto table = data.NewTable(u"NOTAS"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Open(); }), u"Capability not supported"_qs);
  EXPECT_TRUE(MessageOf([&] { table->Open(); }).contains(u"has no key"));
  EXPECT_FALSE(table->Active());
}

// In a table with row ids and in one kept in key order without them; a
// Post that failed once writes one record when tried again.
TEST(TableWrites, AnAutoIncrementFieldNumbersNewRecords) {
  for (const QString& rowIds : {u""_qs, u" WITHOUT ROWID"_qs}) {
    DataFixture data;
    data.Execute(u"CREATE TABLE INCAPLIC (Numero INTEGER IDENTITY NOT NULL, Texto VARCHAR(20), "
                 "PRIMARY KEY (Numero))"_qs + rowIds);
    auto table = data.OpenTable(u"INCAPLIC"_qs);
    bool failOnce = true;
    table->OnFilterRecord = [&](Dataset&, bool&) {
      if (std::exchange(failOnce, false)) throw EDatabaseError(u"Table is busy"_qs);
    };
    table->SetFiltered(true);
    for (const char* text : {"uno", "dos"}) {
      table->Append();
      table->FieldByName(u"Texto"_qs).SetAsString(QString::fromLatin1(text));
      if (failOnce) {
        EXPECT_EQ(EngineMessageOf([&] { table->Post(); }), u"Table is busy"_qs);
      }
      table->Post();
    }
    EXPECT_EQ(table->FieldByName(u"Numero"_qs).AsInteger(), 2) << rowIds.toStdString();
    EXPECT_EQ(table->FieldByName(u"Numero"_qs).DataType(), ftAutoInc);
    EXPECT_EQ(data.Scalar(u"SELECT group_concat(Numero || Texto) FROM INCAPLIC"_qs).toString(), u"1uno,2dos"_qs);
  }
}

TEST(TableWrites, AReadOnlyTableRefusesChanges) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto table = data.NewTable(u"CLIENTES"_qs);
  table->SetReadOnly(true);
  table->Open();
  EXPECT_EQ(EngineMessageOf([&] { table->Edit(); }), u"Cannot modify a read-only dataset"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Append(); }), u"Cannot modify a read-only dataset"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->Delete(); }), u"Cannot modify a read-only dataset"_qs);
  EXPECT_EQ(EngineMessageOf([&] { table->SetReadOnly(false); }),
            u"Cannot perform this operation on an open dataset"_qs);
}

TEST(TableStructure, CreatesEmptiesAndDeletesTables) {
  DataFixture data;
  auto table = data.NewTable(u"LINEAS"_qs);
  table->FieldDefs().Add(u"Pedido"_qs, ftInteger);
  table->FieldDefs().Add(u"Linea"_qs, ftSmallint);
  table->FieldDefs().Add(u"Fecha"_qs, ftDateTime, 0, true);
  table->IndexDefs().Add(u"<Primary>"_qs, u"Pedido;Linea"_qs, ixPrimary);
  table->IndexDefs().Add(u"Fecha"_qs, u"Fecha;Pedido"_qs, ixDescending | ixCaseInsensitive);
  table->CreateTable();
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM sqlite_master WHERE name = 'LINEAS_Fecha'"_qs).toInt(), 1);
  data.Execute(u"INSERT INTO LINEAS VALUES (1, 2, '2024-01-31 00:00:00'), (1, 1, '2024-01-30 00:00:00')"_qs);
  table->Open();
  EXPECT_EQ(table->FieldByName(u"Linea"_qs).AsInteger(), 1);  // key order
  EXPECT_TRUE(table->FieldByName(u"Fecha"_qs).Required());
  table->EmptyTable();
  EXPECT_TRUE(table->IsEmpty());
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM LINEAS"_qs).toInt(), 0);
  EXPECT_EQ(EngineMessageOf([&] { table->DeleteTable(); }), u"Cannot perform this operation on an open dataset"_qs);
  table->Close();
  table->DeleteTable();
  EXPECT_FALSE(table->Exists());
  EXPECT_EQ(EngineMessageOf([&] { table->DeleteTable(); }), u"Table does not exist"_qs);
}

TEST(TableStructure, CreatingReplacesATableButAFailureKeepsTheOldOne) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto table = data.NewTable(u"CLIENTES"_qs);
  table->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  table->FieldDefs().Add(u"Raro"_qs, ftUnknown);
  EXPECT_EQ(EngineMessageOf([&] { table->CreateTable(); }), u"Invalid field type"_qs);
  table->IndexDefs().Add(u"Mal"_qs, u"NoExiste"_qs, 0);
  table->FieldDefs().Clear();
  table->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  EXPECT_EQ(EngineMessageOf([&] { table->CreateTable(); }), u"General SQL error"_qs);
  EXPECT_EQ(data.Scalar(u"SELECT Nombre FROM CLIENTES"_qs).toString(), u"Ana"_qs);
  table->IndexDefs().Clear();
  table->CreateTable();
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES"_qs).toInt(), 0);
}

// After the rollback the open datasets show what the database holds.
TEST(TableDatabases, ADatabaseTransactionCoversItsDatasets) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto connection = data.Connection();
  auto table = data.OpenTable(u"CLIENTES"_qs);
  Query query;
  query.SetDatabaseName(data.DatabaseName());
  query.SQL().SetText(u"SELECT Nombre FROM CLIENTES"_qs);
  connection->StartTransaction();
  EditRecord(*table, {{u"Nombre"_qs, Text(u"Eva"_qs)}});
  AppendRecord(*table, {{u"Codigo"_qs, Int(2)}});
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  table->Edit();
  table->FieldByName(u"Nombre"_qs).SetAsString(u"Luis"_qs);
  connection->Rollback();
  // The record being edited is gone with the rollback; no other takes the edit.
  EXPECT_EQ(EngineMessageOf([&] { table->Post(); }), u"Record/Key deleted"_qs);
  table->Cancel();
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), QStringList{u"1"_qs});
  EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString(), u"Ana"_qs);
  EXPECT_EQ(Walk(query, u"Nombre"_qs), QStringList{u"Ana"_qs});
}

TEST(TableWrites, ANewRecordGivenUpLeavesAnEmptyTableAtBothEnds) {
  DataFixture data;
  auto table = data.OpenTable(u"CLIENTES"_qs);
  ASSERT_TRUE(table->Bof() && table->Eof());
  table->Insert();
  table->Cancel();
  EXPECT_TRUE(table->Bof());
  EXPECT_TRUE(table->Eof());
  data.AddCustomer(1, u"Ana"_qs);
  table->Refresh();
  table->Insert();
  table->Cancel();
  EXPECT_FALSE(table->Eof());
}

// SQLite gives a deleted record's key, or its row id, to the next record:
// the deleted record's bookmark must not find that one.
TEST(TableBookmarks, ADeletedRecordsBookmarkStaysInvalidWhenItsKeyOrRowIdComesBack) {
  const struct {
    const char* name;
    const char* create;
    bool rowIds;
  } tables[] = {
      {"keyed, with row ids", "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo))", true},
      {"keyed, without row ids",
       "CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo)) WITHOUT ROWID", false},
      {"without key", "CREATE TABLE T (Codigo INT, Nombre TEXT)", true},
  };
  for (const auto& kind : tables)
    for (const bool byStatement : {false, true}) {
      SCOPED_TRACE(std::string(kind.name) + (byStatement ? ", added by a statement" : ", added by the table"));
      DataFixture data;
      data.Execute(QString::fromUtf8(kind.create));
      data.Execute(u"INSERT INTO T VALUES (1, 'primero'), (2, 'segundo')"_qs);
      auto table = data.OpenTable(u"T"_qs);
      table->Last();
      const Bookmark deleted = table->GetBookmark();
      table->Delete();
      if (byStatement) {
        data.Execute(u"INSERT INTO T VALUES (2, 'nuevo')"_qs);
        table->Refresh();
        table->Last();
      } else {
        AppendRecord(*table, {{u"Codigo"_qs, Int(2)}, {u"Nombre"_qs, Text(u"nuevo"_qs)}});
      }
      if (kind.rowIds) {  // the case itself: SQLite gave the row id out again
        EXPECT_EQ(data.Scalar(u"SELECT rowid FROM T WHERE Nombre = 'nuevo'"_qs).toInt(), 2);
      }
      EXPECT_FALSE(table->BookmarkValid(deleted));
      table->Refresh();
      EXPECT_FALSE(table->BookmarkValid(deleted));
      // The others keep theirs.
      const Bookmark nuevo = table->GetBookmark();
      table->First();
      table->Refresh();
      ASSERT_TRUE(table->BookmarkValid(nuevo));
      table->GotoBookmark(nuevo);
      EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString(), u"nuevo"_qs);
    }
}

// One closed table object renamed between its works works on the table it
// names each time, as a program making its temporary tables in turn does.
TEST(TableStructure, ATableRenamedWhileClosedWorksOnItsNewName) {
  DataFixture data;
  auto table = data.NewTable(u"UNO"_qs);
  table->FieldDefs().Add(u"Codigo"_qs, ftInteger);
  table->IndexDefs().Add(QString(), u"Codigo"_qs, ixPrimary);
  table->CreateTable();
  table->SetTableName(u"DOS"_qs);
  table->CreateTable();
  data.Execute(u"INSERT INTO UNO VALUES (1); INSERT INTO DOS VALUES (2)"_qs);
  table->SetTableName(u"UNO"_qs);
  table->EmptyTable();
  table->SetTableName(u"DOS"_qs);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM DOS"_qs).toInt(), 1);
  table->EmptyTable();
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM DOS"_qs).toInt(), 0);
  table->SetTableName(u"UNO"_qs);
  table->DeleteTable();
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM sqlite_master WHERE name IN ('UNO', 'DOS')"_qs).toInt(), 1);
  table->SetTableName(u"DOS"_qs);
  table->Open();
  EXPECT_TRUE(table->IsEmpty());
}

// A program may give any row id; records under those at both ends of the
// range, and next to the ends, are edited, found by their bookmarks and
// deleted like any other.
TEST(TableWrites, RecordsUnderRowIdsAtTheEndsOfTheRangeAreWrittenAndDeleted) {
  const qint64 rowIds[] = {std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::min() + 1, -1, 0, 1,
                           std::numeric_limits<qint64>::max()};
  for (const bool keyed : {false, true}) {
    SCOPED_TRACE(keyed ? "keyed" : "without key");
    DataFixture data;
    data.Execute(keyed ? u"CREATE TABLE T (Codigo INT NOT NULL, Nombre TEXT, PRIMARY KEY (Codigo))"_qs
                       : u"CREATE TABLE T (Codigo INT, Nombre TEXT)"_qs);
    int codigo = 0;
    for (const qint64 rowId : rowIds)
      data.Execute(u"INSERT INTO T (rowid, Codigo, Nombre) VALUES (%1, %2, 'n')"_qs.arg(rowId).arg(++codigo));
    auto table = data.OpenTable(u"T"_qs);
    std::vector<Bookmark> marks;
    for (table->First(); !table->Eof(); table->Next()) {
      EditRecord(*table, {{u"Nombre"_qs, Text(u"e%1"_qs.arg(table->FieldByName(u"Codigo"_qs).AsInteger()))}});
      marks.push_back(table->GetBookmark());
    }
    EXPECT_EQ(data.Scalar(u"SELECT group_concat(rowid || ':' || Nombre, ',') FROM (SELECT rowid, Nombre FROM T ORDER BY rowid)"_qs)
                  .toString(),
              u"-9223372036854775808:e1,-9223372036854775807:e2,-1:e3,0:e4,1:e5,9223372036854775807:e6"_qs);
    ASSERT_EQ(marks.size(), std::size(rowIds));
    for (std::size_t i = 0; i < marks.size(); ++i) {
      table->GotoBookmark(marks[i]);
      EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), static_cast<int>(i) + 1);
    }
    table->GotoBookmark(marks.front());
    table->Delete();
    EXPECT_FALSE(table->BookmarkValid(marks.front()));
    EXPECT_TRUE(table->BookmarkValid(marks.back()));
    EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM T"_qs).toInt(), 5);
    EXPECT_EQ(data.Scalar(u"SELECT MIN(rowid) FROM T"_qs).toLongLong(), std::numeric_limits<qint64>::min() + 1);
  }
}

// Another program declares the columns otherwise while the table is open:
// the records written afterwards show what the file holds, as a dataset
// opened afresh reads them.
TEST(TableWrites, WritesAfterAnotherProgramRedeclaredTheColumnsShowWhatTheFileHolds) {
  for (const char* rowIds : {"", " WITHOUT ROWID"}) {
    SCOPED_TRACE(rowIds);
    DataFixture data;
    data.Execute(u"CREATE TABLE T (Codigo INT NOT NULL, Texto TEXT, Cifra TEXT, PRIMARY KEY (Codigo))%1; "
                 "INSERT INTO T VALUES (1, '1', '2')"_qs.arg(QString::fromLatin1(rowIds)));
    auto table = data.OpenTable(u"T"_qs);
    AppendRecord(*table, {{u"Codigo"_qs, Int(2)}, {u"Texto"_qs, Text(u"0041"_qs)}});  // the statements prepared
    SecondProcess other(
        u"execute"_qs,
        {{u"ZEM_FILE"_qs, data.File()},
         {u"ZEM_SQL"_qs, u"CREATE TABLE N (Codigo INT NOT NULL, Texto INTEGER, Cifra REAL, PRIMARY KEY (Codigo))%1; "
                         "INSERT INTO N SELECT * FROM T; DROP TABLE T; ALTER TABLE N RENAME TO T"_qs.arg(
                             QString::fromLatin1(rowIds))}});
    ASSERT_EQ(other.ReadReport(), u"executed"_qs);
    EXPECT_EQ(other.Finish(), 0);
    auto fresh = data.OpenTable(u"T"_qs);
    const auto expectAsTheFileHolds = [&](const char* shown) {
      EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), QString::fromLatin1(shown));
      fresh->Refresh();
      ASSERT_TRUE(fresh->Locate(u"Codigo"_qs, Int(table->FieldByName(u"Codigo"_qs).AsInteger())));
      EXPECT_EQ(table->FieldByName(u"Texto"_qs).AsString(), fresh->FieldByName(u"Texto"_qs).AsString());
    };
    AppendRecord(*table, {{u"Codigo"_qs, Int(3)}, {u"Texto"_qs, Text(u"0042"_qs)}, {u"Cifra"_qs, Text(u"7"_qs)}});
    expectAsTheFileHolds("42");
    AppendRecord(*table, {{u"Codigo"_qs, Int(4)}, {u"Texto"_qs, Text(u"0043"_qs)}, {u"Cifra"_qs, Text(u"8"_qs)}});
    expectAsTheFileHolds("43");
    EditRecord(*table, {{u"Texto"_qs, Text(u"0044"_qs)}});
    expectAsTheFileHolds("44");
    EXPECT_EQ(data.Scalar(u"SELECT group_concat(typeof(Texto) || typeof(Cifra), ',') FROM (SELECT * FROM T ORDER BY Codigo)"_qs)
                  .toString(),
              u"integerreal,integernull,integerreal,integerreal"_qs);
  }
}

// The disk fills inside a transaction and the engine undoes all of it: one
// failure says so and why, every dataset on the file shows it as it is, and
// Commit has nothing left to say.
TEST(EngineUndoneTransactions, EveryDatasetShowsTheFileAndOneFailureTellsIt) {
  DataFixture data;
  for (const int codigo : {1, 2, 3}) data.AddCustomer(codigo, u"c%1"_qs.arg(codigo));
  auto connection = data.Connection();
  auto table = data.OpenTable(u"CLIENTES"_qs);
  auto other = data.OpenTable(u"CLIENTES"_qs);
  Query query;
  query.SetDatabaseName(data.DatabaseName());
  query.SQL().SetText(u"SELECT Codigo FROM CLIENTES ORDER BY Codigo"_qs);
  query.Open();
  connection->StartTransaction();
  for (const int codigo : {10, 11, 12}) AppendRecord(*table, {{u"Codigo"_qs, Int(codigo)}});
  other->Refresh();
  query.Close();
  query.Open();
  ASSERT_EQ(Walk(query, u"Codigo"_qs).size(), 6u);
  data.Scalar(u"PRAGMA max_page_count = %1"_qs.arg(data.Scalar(u"PRAGMA page_count"_qs).toInt()));
  table->Append();
  table->FieldByName(u"Codigo"_qs).SetAsInteger(13);
  table->FieldByName(u"Notas"_qs).SetAsString(QString(100000, u'x'));
  EXPECT_EQ(MessageOf([&] { table->Post(); }),
            u"Insufficient disk space\ndatabase or disk is full\nSe han deshecho todos los cambios de la transacción."_qs);
  EXPECT_EQ(data.Scalar(u"SELECT group_concat(Codigo, ',') FROM CLIENTES"_qs).toString(), u"1,2,3"_qs);
  table->Cancel();
  const QStringList file{u"1"_qs, u"2"_qs, u"3"_qs};
  EXPECT_EQ(Walk(*table, u"Codigo"_qs), file);
  EXPECT_EQ(Walk(*other, u"Codigo"_qs), file);
  EXPECT_EQ(Walk(query, u"Codigo"_qs), file);
  EXPECT_FALSE(connection->InTransaction());
  EXPECT_EQ(MessageOf([&] { connection->Commit(); }), QString());
  // Later work runs as any other.
  data.Scalar(u"PRAGMA max_page_count = 1000000"_qs);
  connection->StartTransaction();
  AppendRecord(*table, {{u"Codigo"_qs, Int(20)}});
  connection->Commit();
  EXPECT_EQ(data.Scalar(u"SELECT group_concat(Codigo, ',') FROM CLIENTES"_qs).toString(), u"1,2,3,20"_qs);
  EXPECT_TRUE(MessageOf([&] { connection->Commit(); }).endsWith(u"cannot commit - no transaction is active"_qs));
}

#include "platform/data/Field.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstring>
#include <vector>

namespace {

// A table VALORES (Codigo, the key; Valor of the declared type), with row
// ids or without them.
std::unique_ptr<Table> valores(const DataFixture& data, const QString& declared, bool rowIds) {
  data.Execute(u"DROP TABLE IF EXISTS VALORES"_qs);
  data.Execute(u"CREATE TABLE VALORES (Codigo INT NOT NULL, Valor %1, PRIMARY KEY (Codigo))%2"_qs.arg(
      declared, rowIds ? QString() : u" WITHOUT ROWID"_qs));
  return data.OpenTable(u"VALORES"_qs);
}

QString storedText(const DataFixture& data) {
  return data.Scalar(u"SELECT typeof(Valor) || ':' || Valor FROM VALORES"_qs).toString();
}

}  // namespace

// After Post a record shows what the file keeps, where the column's type
// changed what was written, as another dataset reading it shows it.
TEST(TableWrites, APostedRecordShowsWhatTheFileKeeps) {
  const struct {
    const char* declared;
    QString written, shown, stored;
  } cases[] = {
      {"VARCHAR(10)", u"0042"_qs, u"0042"_qs, u"text:0042"_qs},
      {"ZONA", u"0042"_qs, u"42"_qs, u"integer:42"_qs},        // numeric: a text of digits becomes a number
      {"ZONA", u" 7.50 "_qs, u"7,5"_qs, u"real:7.5"_qs},
      {"ZONA", u"7 de mayo"_qs, u"7 de mayo"_qs, u"text:7 de mayo"_qs},
      {"CLAVE INTEGER", u"12"_qs, u"12"_qs, u"integer:12"_qs},
      {"", u"12"_qs, u"12"_qs, u"text:12"_qs},                 // no type: kept as it came
      {"VARCHAR(10)", u"a\xD800z"_qs, u"a?z"_qs, u"text:a?z"_qs},  // a lone surrogate
  };
  for (const bool rowIds : {true, false})
    for (const auto& c : cases) {
      const QString name = QLatin1String(c.declared) + u' ' + c.written + (rowIds ? u" rowid"_qs : QString());
      DataFixture data;
      auto table = valores(data, QLatin1String(c.declared), rowIds);
      table->Append();
      table->FieldByName(u"Codigo"_qs).SetAsInteger(1);
      table->FieldByName(u"Valor"_qs).SetAsString(c.written);
      table->Post();
      EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), c.shown) << name.toStdString();
      EXPECT_EQ(storedText(data), c.stored) << name.toStdString();
      // The same written over another value.
      data.Execute(u"UPDATE VALORES SET Valor = NULL"_qs);
      table->Refresh();
      table->Edit();
      table->FieldByName(u"Valor"_qs).SetAsString(c.written);
      table->Post();
      EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), c.shown) << "edited " << name.toStdString();
      EXPECT_EQ(storedText(data), c.stored) << "edited " << name.toStdString();
    }
}

// A trigger that changes the record written, or writes another, is seen
// at Post; one that keeps the record from being written leaves no record.
TEST(TableWrites, WhatATriggerDoesToARecordIsSeenAtPost) {
  for (const bool rowIds : {true, false}) {
    DataFixture data;
    auto table = valores(data, u"VARCHAR(20)"_qs, rowIds);
    data.Execute(u"CREATE TABLE HISTORIA (Texto VARCHAR(40))"_qs);
    data.Execute(
        u"CREATE TRIGGER VALORES_ALTA AFTER INSERT ON VALORES BEGIN "
        "UPDATE VALORES SET Valor = upper(Valor) WHERE Codigo = NEW.Codigo; END"_qs);
    data.Execute(
        u"CREATE TRIGGER VALORES_RECHAZO BEFORE INSERT ON VALORES WHEN NEW.Codigo > 99 BEGIN "
        "SELECT RAISE(IGNORE); END"_qs);
    AppendRecord(*table, {{u"Codigo"_qs, Int(1)}, {u"Valor"_qs, Text(u"nuevo"_qs)}});
    EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), u"NUEVO"_qs) << rowIds;
    data.Execute(
        u"CREATE TRIGGER VALORES_CAMBIO AFTER UPDATE OF Valor ON VALORES BEGIN "
        "INSERT INTO HISTORIA VALUES (OLD.Valor); END"_qs);
    // The history's row leaves the record as written.
    EditRecord(*table, {{u"Valor"_qs, Text(u"cambiado"_qs)}});
    EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), u"cambiado"_qs) << rowIds;
    EXPECT_EQ(data.Scalar(u"SELECT Texto FROM HISTORIA"_qs).toString(), u"NUEVO"_qs) << rowIds;
    data.Execute(u"DROP TRIGGER VALORES_CAMBIO"_qs);
    data.Execute(
        u"CREATE TRIGGER VALORES_CAMBIO AFTER UPDATE OF Valor ON VALORES BEGIN "
        "UPDATE VALORES SET Valor = Valor || '!' WHERE Codigo = NEW.Codigo; END"_qs);
    table->Refresh();
    EditRecord(*table, {{u"Valor"_qs, Text(u"otra vez"_qs)}});
    EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), u"otra vez!"_qs) << rowIds;

    table->Append();
    table->FieldByName(u"Codigo"_qs).SetAsInteger(100);
    table->FieldByName(u"Valor"_qs).SetAsString(u"rechazado"_qs);
    EXPECT_EQ(EngineMessageOf([&] { table->Post(); }), u"Record/Key deleted"_qs) << rowIds;
    EXPECT_EQ(table->State(), dsInsert) << rowIds;
    table->Cancel();
    EXPECT_EQ(Walk(*table, u"Codigo;Valor"_qs), QStringList{u"1:otra vez!"_qs}) << rowIds;
  }
}

// Inside a running transaction, a Post that fails leaves the database, the
// buffer and the records shown as they were, and keeps the records posted
// before it: a duplicate key, a NOT NULL, and a trigger that fails after the
// record was written.
TEST(TableWrites, AFailedPostInATransactionUndoesItselfAlone) {
  const struct {
    const char* name;
    int codigo;
    const char* valor;
    QString engineText;
  } cases[] = {
      {"duplicate key", 1, "otro", u"Key violation"_qs},
      {"trigger fails", 3, "malo", u"rechazado"_qs},
      {"trigger fails on another key", 4, "malo", u"rechazado"_qs},
  };
  for (const bool rowIds : {false, true})
    for (const auto& c : cases) {
      const std::string name = c.name + std::string(rowIds ? " rowid" : "");
      DataFixture data;
      auto table = valores(data, u"VARCHAR(20)"_qs, rowIds);
      data.Execute(
          u"CREATE TRIGGER VALORES_MALO AFTER INSERT ON VALORES WHEN NEW.Valor = 'malo' BEGIN "
          "SELECT RAISE(FAIL, 'rechazado'); END"_qs);
      AppendRecord(*table, {{u"Codigo"_qs, Int(1)}, {u"Valor"_qs, Text(u"uno"_qs)}});
      data.Connection()->StartTransaction();
      AppendRecord(*table, {{u"Codigo"_qs, Int(2)}, {u"Valor"_qs, Text(u"dos"_qs)}});
      table->Append();
      table->FieldByName(u"Codigo"_qs).SetAsInteger(c.codigo);
      table->FieldByName(u"Valor"_qs).SetAsString(QLatin1String(c.valor));
      EXPECT_TRUE(MessageOf([&] { table->Post(); }).contains(c.engineText)) << name;
      EXPECT_EQ(table->State(), dsInsert) << name;
      EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsString(), QLatin1String(c.valor)) << name;
      EXPECT_EQ(data.Scalar(u"SELECT group_concat(Codigo || Valor, ',') FROM VALORES"_qs).toString(), u"1uno,2dos"_qs)
          << name;
      table->Cancel();
      EXPECT_EQ(Walk(*table, u"Codigo;Valor"_qs), (QStringList{u"1:uno"_qs, u"2:dos"_qs})) << name;
      AppendRecord(*table, {{u"Codigo"_qs, Int(5)}, {u"Valor"_qs, Text(u"cinco"_qs)}});
      data.Connection()->Rollback();
      table->Refresh();
      EXPECT_EQ(Walk(*table, u"Codigo;Valor"_qs), QStringList{u"1:uno"_qs}) << name;
    }
}

// A trigger made in the middle of the transaction is taken into account.
TEST(TableWrites, ATriggerMadeDuringTheTransactionIsSeenByTheNextPost) {
  DataFixture data;
  auto table = valores(data, u"VARCHAR(20)"_qs, false);
  data.Connection()->StartTransaction();
  AppendRecord(*table, {{u"Codigo"_qs, Int(1)}, {u"Valor"_qs, Text(u"uno"_qs)}});
  data.Execute(
      u"CREATE TRIGGER VALORES_MALO AFTER INSERT ON VALORES WHEN NEW.Valor = 'malo' BEGIN "
      "SELECT RAISE(FAIL, 'rechazado'); END"_qs);
  table->Append();
  table->FieldByName(u"Codigo"_qs).SetAsInteger(2);
  table->FieldByName(u"Valor"_qs).SetAsString(u"malo"_qs);
  EXPECT_TRUE(MessageOf([&] { table->Post(); }).contains(u"rechazado"));
  EXPECT_EQ(data.Scalar(u"SELECT group_concat(Codigo || Valor, ',') FROM VALORES"_qs).toString(), u"1uno"_qs);
  table->Cancel();
  data.Connection()->Rollback();
}

namespace {

// The statements the engine runs on a file's connection that read the table
// VALORES or its columns.
class ReadsSeen {
 public:
  explicit ReadsSeen(const QString& file) : connection_(OpenConnection(file)) {
    sqlite3_trace_v2(connection_->Handle(), SQLITE_TRACE_STMT, &ReadsSeen::seen, this);
  }
  ~ReadsSeen() { sqlite3_trace_v2(connection_->Handle(), 0, nullptr, nullptr); }
  int Reads() const { return reads_; }

 private:
  static int seen(unsigned, void* context, void*, void* sql) {
    const auto* text = static_cast<const char*>(sql);
    if (std::strncmp(text, "SELECT", 6) == 0 && (std::strstr(text, "VALORES") || std::strstr(text, "table_info")))
      ++static_cast<ReadsSeen*>(context)->reads_;
    return 0;
  }
  std::shared_ptr<Connection> connection_;
  int reads_ = 0;
};

}  // namespace

// Once its column types are known, a record posted again is known as the
// file keeps it without reading it back, whatever else was compiled since.
TEST(TableWrites, ARecordPostedAgainIsNotReadBack) {
  if (DataFixture::ThroughOdbc()) GTEST_SKIP() << "the driver's road reads every write back";
  for (const bool rowIds : {true, false}) {
    DataFixture data;
    auto table = valores(data, u"FLOAT"_qs, rowIds);
    table->Append();
    table->FieldByName(u"Codigo"_qs).SetAsInteger(1);
    table->FieldByName(u"Valor"_qs).SetAsFloat(1);
    table->Post();
    std::vector<int> readsAtPost;
    for (int edit = 2; edit <= 5; ++edit) {
      data.Scalar(u"SELECT %1 FROM VALORES"_qs.arg(edit));  // another statement compiled meanwhile
      table->Edit();
      table->FieldByName(u"Valor"_qs).SetAsFloat(edit);
      const ReadsSeen seen(data.File());
      table->Post();
      readsAtPost.push_back(seen.Reads());
      EXPECT_EQ(table->FieldByName(u"Valor"_qs).AsFloat(), edit);
    }
    EXPECT_EQ(readsAtPost.back(), 0) << "rowIds " << rowIds;
    EXPECT_EQ(storedText(data), u"real:5.0"_qs);
  }
}

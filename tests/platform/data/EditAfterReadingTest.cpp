#include "platform/data/Field.h"
#include "platform/engine/EngineConnection.h"
#include "platform/sqlite/Connection.h"
#include "tests/platform/data/RecordsHelpers.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <random>

namespace {

// PRECIOS (Codigo, the key; Nombre; Precio; Familia), with row ids or
// without them, and an index on Nombre.
std::unique_ptr<Table> precios(const DataFixture& data, bool rowIds, int records) {
  data.Execute(u"CREATE TABLE PRECIOS (Codigo INT NOT NULL, Nombre VARCHAR(20), Precio FLOAT, Familia VARCHAR(10), "
               "PRIMARY KEY (Codigo))%1"_qs.arg(rowIds ? QString() : u" WITHOUT ROWID"_qs));
  data.Execute(u"CREATE INDEX PRECIOS_PorNombre ON PRECIOS (Nombre, Codigo)"_qs);
  for (int codigo = 1; codigo <= records; ++codigo)
    data.Execute(u"INSERT INTO PRECIOS VALUES (%1, 'Articulo %1', %1.5, 'F%2')"_qs.arg(codigo).arg(codigo % 3));
  return data.OpenTable(u"PRECIOS"_qs);
}

// Another program's connection to the file.
class OtherProgram {
 public:
  explicit OtherProgram(const DataFixture& data) {
    sqlite3_open_v2(data.File().toUtf8().constData(), &db_, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_busy_timeout(db_, 5000);
  }
  ~OtherProgram() { sqlite3_close_v2(db_); }
  OtherProgram(const OtherProgram&) = delete;
  OtherProgram& operator=(const OtherProgram&) = delete;

  void Execute(const QString& sql) {
    char* error = nullptr;
    if (sqlite3_exec(db_, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
      ADD_FAILURE() << sql.toStdString() << ": " << (error ? error : "");
      sqlite3_free(error);
    }
  }

 private:
  sqlite3* db_ = nullptr;
};

QString storedName(const DataFixture& data, int codigo) {
  return data.Scalar(u"SELECT Nombre FROM PRECIOS WHERE Codigo = %1"_qs.arg(codigo)).toString();
}

}  // namespace

// Edit shows the record as the file holds it then, whatever changed it
// since it was read, in a transaction or between two: a statement of the
// program, a rollback, another program; and Post writes over that.
TEST(TableWrites, EditShowsTheRecordAsTheFileHoldsItWhateverChangedItSinceItWasRead) {
  using Step = std::function<void(const DataFixture&, EngineConnection&)>;
  const struct {
    const char* name;
    Step before, between;
  } cases[] = {
      {"nothing", {}, {}},
      {"a statement of the program", {},
       [](const DataFixture& data, EngineConnection&) {
         data.Execute(u"UPDATE PRECIOS SET Nombre = 'Cambiado' WHERE Codigo = 2"_qs);
       }},
      {"a rollback to a savepoint",
       [](const DataFixture& data, EngineConnection&) {
         data.Execute(u"SAVEPOINT prueba"_qs);
         data.Execute(u"UPDATE PRECIOS SET Nombre = 'Provisional' WHERE Codigo = 2"_qs);
       },
       [](const DataFixture& data, EngineConnection&) {
         data.Execute(u"ROLLBACK TO prueba"_qs);
         data.Execute(u"RELEASE prueba"_qs);
       }},
      {"a rollback of the whole transaction",
       [](const DataFixture& data, EngineConnection&) {
         data.Execute(u"UPDATE PRECIOS SET Nombre = 'Provisional' WHERE Codigo = 2"_qs);
       },
       [](const DataFixture&, EngineConnection& connection) {
         connection.RollbackQuietly();  // the table not told
         connection.StartTransaction();
       }},
      {"another program between two transactions", {},
       [](const DataFixture& data, EngineConnection& connection) {
         connection.Commit();
         OtherProgram(data).Execute(u"UPDATE PRECIOS SET Nombre = 'Del otro' WHERE Codigo = 2"_qs);
         connection.StartTransaction();
       }},
      {"a column the program added", {},
       [](const DataFixture& data, EngineConnection&) {
         data.Execute(u"ALTER TABLE PRECIOS ADD COLUMN Nota VARCHAR(10)"_qs);
         data.Execute(u"UPDATE PRECIOS SET Nombre = 'Con nota', Nota = 'x' WHERE Codigo = 2"_qs);
       }},
  };
  for (const bool rowIds : {false, true})
    for (const auto& c : cases) {
      const std::string name = std::string(c.name) + (rowIds ? " (row ids)" : "");
      DataFixture data;
      auto table = precios(data, rowIds, 3);
      table->Close();
      const std::shared_ptr<EngineConnection> connection = data.Connection();
      connection->StartTransaction();
      if (c.before) c.before(data, *connection);
      table->Open();  // its records read in the transaction
      ASSERT_TRUE(table->FindKey({Variant::Integer(2)})) << name;
      if (c.between) c.between(data, *connection);
      table->Edit();
      const QString stored = storedName(data, 2);
      EXPECT_EQ(table->FieldByName(u"Nombre"_qs).AsString().toStdString(), stored.toStdString()) << name;
      table->FieldByName(u"Precio"_qs).SetAsFloat(9.5);
      EXPECT_EQ(EngineMessageOf([&] { table->Post(); }).toStdString(), "") << name;
      EXPECT_EQ(data.Scalar(u"SELECT Nombre || ':' || Precio FROM PRECIOS WHERE Codigo = 2"_qs).toString().toStdString(),
                (stored + u":9.5"_qs).toStdString())
          << name;
      connection->Commit();
    }
}

// Record after record edited, each time other fields (emptied, or the key
// itself), sought by the key or by another index, in transactions kept or
// undone, while the program and another one change the table's columns
// (another one making it anew with its columns in another order): every
// Post writes what was changed and nothing else, as a fresh reading of the
// file shows it.
TEST(TableWrites, EveryPostWritesTheFieldsChangedWhileTheTableChangesAround) {
  const QStringList fields{u"Nombre"_qs, u"Precio"_qs, u"Familia"_qs};
  using Values = std::array<QString, 3>;  // as the file gives them back as text; "-" for NULL
  const auto fileRecords = [](const DataFixture& data) {
    std::map<int, Values> records;
    const QList<QVariantList> rows =
        data.Connection()
            ->QueryRows(u"SELECT Codigo, COALESCE(Nombre, '-'), COALESCE(CAST(Precio AS TEXT), '-'), "
                        "COALESCE(Familia, '-') FROM PRECIOS"_qs)
            .rows;
    for (const QVariantList& row : rows)
      records[row[0].toInt()] = Values{row[1].toString(), row[2].toString(), row[3].toString()};
    return records;
  };
  for (const bool rowIds : {false, true}) {
    DataFixture data;
    auto table = precios(data, rowIds, 20);
    std::map<int, Values> model = fileRecords(data);
    std::optional<std::map<int, Values>> atStart;  // of the running transaction
    const std::shared_ptr<EngineConnection> connection = data.Connection();
    std::mt19937 random(rowIds ? 7 : 11);
    const auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<unsigned>(count)); };
    int added = 0;
    for (int step = 0; step < 240; ++step) {
      const std::string where = "step " + std::to_string(step) + (rowIds ? " (row ids)" : "");
      if (step % 30 == 29) {
        // The columns change under the open table.
        if (atStart) {
          connection->Commit();
          atStart.reset();
        }
        const QString column = u"Extra%1"_qs.arg(++added);
        if (step % 60 == 29) {
          data.Execute(u"ALTER TABLE PRECIOS ADD COLUMN %1 INT"_qs.arg(column));
        } else {
          OtherProgram other(data);
          other.Execute(u"BEGIN; ALTER TABLE PRECIOS RENAME TO VIEJO; "
                        "CREATE TABLE PRECIOS (%1 INT, Familia VARCHAR(10), Precio FLOAT, Codigo INT NOT NULL, "
                        "Nombre VARCHAR(20), PRIMARY KEY (Codigo))%2; "
                        "INSERT INTO PRECIOS (Familia, Precio, Codigo, Nombre) "
                        "SELECT Familia, Precio, Codigo, Nombre FROM VIEJO; DROP TABLE VIEJO; "
                        "CREATE INDEX PRECIOS_PorNombre ON PRECIOS (Nombre, Codigo); COMMIT"_qs.arg(
                            column, rowIds ? QString() : u" WITHOUT ROWID"_qs));
        }
      }
      if (step % 25 == 0) {
        if (atStart && pick(2) == 0) {
          connection->Rollback();
          model = *atStart;
          atStart.reset();
        } else if (atStart) {
          connection->Commit();
          atStart.reset();
        } else {
          connection->StartTransaction();
          atStart = model;
        }
      }
      // Sought by the key, or through the index on Nombre.
      auto chosen = model.begin();
      std::advance(chosen, pick(static_cast<int>(model.size())));
      const int codigo = chosen->first;
      if (step % 7 == 3) {
        table->SetIndexName(u"PorNombre"_qs);
        ASSERT_TRUE(table->Locate(u"Codigo"_qs, Variant::Integer(codigo))) << where;
        table->SetIndexName(QString());
      } else {
        ASSERT_TRUE(table->FindKey({Variant::Integer(codigo)})) << where;
      }
      table->Edit();
      Values& values = chosen->second;
      for (int field = 0; field < 3; ++field) {
        if (pick(2) == 0) continue;
        Field& edited = table->FieldByName(fields[field]);
        if (pick(5) == 0) {
          edited.Clear();
          values[field] = u"-"_qs;
        } else if (field == 1) {
          const double price = pick(1000) / 4.0;
          edited.SetAsFloat(price);
          values[field] = data.Scalar(u"SELECT CAST(CAST(%1 AS REAL) AS TEXT)"_qs.arg(price)).toString();
        } else {
          values[field] = u"%1 %2"_qs.arg(fields[field].left(3)).arg(pick(50));
          edited.SetAsString(values[field]);
        }
      }
      int key = codigo;
      if (pick(10) == 0) {
        for (key = 100 + pick(100); model.contains(key);) ++key;
        table->FieldByName(u"Codigo"_qs).SetAsInteger(key);
      }
      const Values posted = values;
      table->Post();
      if (key != codigo) {
        model.erase(codigo);
        model[key] = posted;
      }
      ASSERT_EQ(fileRecords(data), model) << where;
      EXPECT_EQ(table->FieldByName(u"Codigo"_qs).AsInteger(), key) << where;
    }
    if (atStart) connection->Commit();
  }
}

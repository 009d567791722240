#include "platform/data/Field.h"
#include "platform/format/DateTime.h"
#include "platform/sqlite/Connection.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>

namespace {

std::unique_ptr<Query> newQuery(const DataFixture& data, const QString& sql) {
  auto query = std::make_unique<Query>();
  query->SetDatabaseName(data.DatabaseName());
  query->SQL().SetText(sql);
  return query;
}

}  // namespace

TEST(Queries, ReadRowsWithTheirParametersAndDeclaredTypes) {
  DataFixture data;
  data.Execute(u"INSERT INTO CLIENTES VALUES (1, 'Ana', '2024-01-31 00:00:00', 10.5, NULL), "
               "(2, 'Luis', '2024-03-01 00:00:00', 20, 'x'), (3, 'Eva', '2023-12-31 00:00:00', 30, NULL)"_qs);
  auto query = newQuery(data, u"SELECT Codigo, Nombre, Alta, Saldo\r\n  FROM CLIENTES\r\n"
                              " WHERE Alta >= :Desde AND Nombre <> ':Nombre' ORDER BY Codigo DESC"_qs);
  ASSERT_EQ(query->Params().Count(), 1);
  query->ParamByName(u"desde"_qs).SetAsDateTime(EncodeDate(2024, 1, 1));
  query->Open();
  EXPECT_EQ(query->RecordCount(), 2);
  EXPECT_EQ(query->FieldByName(u"Nombre"_qs).AsString(), u"Luis"_qs);
  EXPECT_EQ(query->FieldByName(u"Nombre"_qs).DataType(), ftString);
  EXPECT_EQ(query->FieldByName(u"Nombre"_qs).Size(), 40);
  EXPECT_EQ(query->FieldByName(u"Alta"_qs).DataType(), ftDateTime);
  EXPECT_EQ(query->FieldByName(u"Saldo"_qs).DataType(), ftFloat);
  EXPECT_DOUBLE_EQ(query->FieldByName(u"Saldo"_qs).AsFloat(), 20.0);
  EXPECT_EQ(EngineMessageOf([&] { query->Edit(); }), u"Cannot modify a read-only dataset"_qs);
  EXPECT_EQ(EngineMessageOf([&] { query->ExecSQL(); }), u"Cannot perform this operation on an open dataset"_qs);
  query->Close();
  EXPECT_EQ(EngineMessageOf([&] { query->ParamByName(u"Hasta"_qs); }), u"Parameter 'Hasta' not found"_qs);
  // Expressions take the type of their values.
  data.Execute(u"INSERT INTO CLIENTES (Codigo, Alta) VALUES (4, '2024-01-31 15:45:00')"_qs);
  query->SQL().SetText(u"SELECT COUNT(*) AS N, MAX(Alta) AS Ultima, 'x' || Codigo AS Clave, AVG(Codigo) AS Media "
                       "FROM CLIENTES WHERE Codigo > 2"_qs);
  query->Open();
  EXPECT_EQ(query->FieldByName(u"N"_qs).DataType(), ftInteger);
  EXPECT_EQ(query->FieldByName(u"N"_qs).AsInteger(), 2);
  EXPECT_EQ(query->FieldByName(u"Ultima"_qs).DataType(), ftDateTime);
  EXPECT_EQ(query->FieldByName(u"Ultima"_qs).AsString(), u"31/01/2024 15:45:00"_qs);
  EXPECT_EQ(query->FieldByName(u"Clave"_qs).DataType(), ftString);
  EXPECT_EQ(query->FieldByName(u"Media"_qs).DataType(), ftFloat);
  // A text written in the statement stays text, though it reads like a date.
  query->Close();
  query->SQL().SetText(u"SELECT '2016-12-21' AS Literal, MAX(Alta) AS Ultima, UPPER('2016-12-21 10:00:00') AS Mayus, "
                       "'2016-12-21' Escrito FROM CLIENTES WHERE Codigo > 2"_qs);
  query->Open();
  for (const QString& name : {u"Literal"_qs, u"Mayus"_qs, u"Escrito"_qs})
    EXPECT_EQ(query->FieldByName(name).DataType(), ftString) << name.toStdString();
  EXPECT_EQ(query->FieldByName(u"Literal"_qs).AsString(), u"2016-12-21"_qs);
  EXPECT_EQ(query->FieldByName(u"Ultima"_qs).DataType(), ftDateTime);
}

namespace {

// The machine's time zone for a while, as if set by its user.
class TimeZone {
 public:
  explicit TimeZone(const char* zone) : before_(qgetenv("TZ")), had_(qEnvironmentVariableIsSet("TZ")) {
    qputenv("TZ", zone);
    tzset();
  }
  ~TimeZone() {
    had_ ? qputenv("TZ", before_) : qunsetenv("TZ");
    tzset();
  }
  TimeZone(const TimeZone&) = delete;
  TimeZone& operator=(const TimeZone&) = delete;

 private:
  QByteArray before_;
  bool had_;
};

}  // namespace

// A date parameter at an hour the local clock skips (summer time starts at
// 02:00 in Madrid) still names that hour.
TEST(Queries, ADateParameterAtAnHourTheClockSkipsFindsItsRecords) {
  const TimeZone madrid("Europe/Madrid");
  DataFixture data;
  data.Execute(u"INSERT INTO CLIENTES (Codigo, Alta) VALUES (1, '2024-03-31 02:30:00'), (2, '2024-03-31 03:30:00')"_qs);
  auto query = newQuery(data, u"SELECT Codigo FROM CLIENTES WHERE Alta = :Alta"_qs);
  query->ParamByName(u"Alta"_qs).SetAsDateTime(EncodeDate(2024, 3, 31) + EncodeTime(2, 30, 0, 0));
  query->Open();
  EXPECT_EQ(query->RecordCount(), 1);
  EXPECT_EQ(query->FieldByName(u"Codigo"_qs).AsInteger(), 1);
}

TEST(Queries, ExecuteBatchesAndCountTheRowsTheyChange) {
  DataFixture data;
  auto query = newQuery(data, u"INSERT INTO CLIENTES (Codigo, Nombre) VALUES (:Codigo, :Nombre); "
                              "INSERT INTO CLIENTES (Codigo, Nombre) VALUES (:Codigo + 1, :Nombre);"_qs);
  query->ParamByName(u"Codigo"_qs).SetAsInteger(5);
  query->ParamByName(u"Nombre"_qs).SetAsString(QString());
  query->ExecSQL();
  EXPECT_EQ(query->RowsAffected(), 2);
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM CLIENTES WHERE Nombre IS NULL"_qs).toInt(), 2);
  query->SQL().SetText(u"UPDATE CLIENTES SET Saldo = :Saldo"_qs);
  query->ParamByName(u"Saldo"_qs).SetValue(Variant::Double(1.5));
  query->ExecSQL();
  EXPECT_EQ(query->RowsAffected(), 2);
  EXPECT_EQ(data.Scalar(u"SELECT SUM(Saldo) FROM CLIENTES"_qs).toDouble(), 3.0);

  // A definition after them changes no rows, whatever the engine counted last
  // on the connection an open table keeps.
  auto table = data.OpenTable(u"CLIENTES"_qs);
  query->SQL().SetText(u"UPDATE CLIENTES SET Saldo = 2"_qs);
  query->ExecSQL();
  query->SQL().SetText(u"CREATE TABLE OTRA (A INT)"_qs);
  query->ExecSQL();
  EXPECT_EQ(query->RowsAffected(), 0);
}

TEST(Queries, ReportTheEnginesErrors) {
  DataFixture data;
  EXPECT_EQ(EngineMessageOf([&] { newQuery(data, u"SELECT * FROM NOEXISTE"_qs)->Open(); }), u"Table does not exist"_qs);
  EXPECT_EQ(EngineMessageOf([&] { newQuery(data, u"  "_qs)->Open(); }), u"No SQL statement available"_qs);
  data.AddCustomer(1, u"Ana"_qs);
  EXPECT_EQ(EngineMessageOf([&] { newQuery(data, u"INSERT INTO CLIENTES (Codigo) VALUES (1)"_qs)->ExecSQL(); }),
            u"Key violation"_qs);
}


// A whole number is shown to its last digit, past 2^53 too.
TEST(Queries, ShowWholeNumbersToTheirLastDigit) {
  DataFixture data;
  const char* const numbers[] = {"9007199254740993", "-9007199254740993", "9223372036854775807",
                                 "-9223372036854775808", "123"};
  for (const char* number : numbers) {
    auto query = newQuery(data, u"SELECT CAST('%1' AS INTEGER) AS N"_qs.arg(QLatin1String(number)));
    query->Open();
    EXPECT_EQ(query->FieldByName(u"N"_qs).AsString(), QLatin1String(number));
  }
}

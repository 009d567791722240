#include "platform/data/Field.h"
#include "platform/format/DateTime.h"
#include "platform/sqlite/DatabaseError.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace {

const TDateTime kAlta = EncodeDate(2024, 1, 31) + EncodeTime(15, 45, 0, 0);

class FieldValues : public ::testing::Test {
 protected:
  void SetUp() override {
    data_.AddCustomer(1, u"Ana"_qs);
    table_ = data_.OpenTable(u"CLIENTES"_qs);
    table_->Edit();
  }
  Field& field(const char* name) { return table_->FieldByName(QString::fromLatin1(name)); }

  DataFixture data_;
  std::unique_ptr<Table> table_;
};

}  // namespace

TEST(FieldTypes, EveryTypeRoundTripsThroughTheFile) {
  DataFixture data;
  struct Column {
    const char* name;
    FieldType type;
    int size;
    std::function<void(Field&)> write;
    std::function<void(const Field&)> check;
  };
  const QByteArray bytes("\x00\x01\xfe\xff", 4);
  const QString memo = u"Primera línea\r\nSegunda: «ñandú» €"_qs;
  const auto writeBytes = [&](Field& f) { f.SetAsBytes(bytes); };
  const auto hasBytes = [&](const Field& f) { EXPECT_EQ(f.AsBytes(), bytes); };
  const auto writeMemo = [&](Field& f) { f.SetAsString(memo); };
  const auto hasMemo = [&](const Field& f) { EXPECT_EQ(f.AsString(), memo); };
  const std::vector<Column> columns = {
      {"Texto", ftString, 20, [](Field& f) { f.SetAsString(u"Año ñandú"_qs); },
       [](const Field& f) { EXPECT_EQ(f.AsString(), u"Año ñandú"_qs); }},
      {"Corto", ftSmallint, 0, [](Field& f) { f.SetAsInteger(-32768); },
       [](const Field& f) { EXPECT_EQ(f.AsInteger(), -32768); }},
      {"Entero", ftInteger, 0, [](Field& f) { f.SetAsInteger(2147483647); },
       [](const Field& f) { EXPECT_EQ(f.AsInteger(), 2147483647); }},
      {"Palabra", ftWord, 0, [](Field& f) { f.SetAsInteger(65535); },
       [](const Field& f) { EXPECT_EQ(f.AsInteger(), 65535); }},
      {"Activo", ftBoolean, 0, [](Field& f) { f.SetAsBoolean(true); },
       [](const Field& f) { EXPECT_TRUE(f.AsBoolean()); }},
      {"Importe", ftFloat, 0, [](Field& f) { f.SetAsFloat(1234.5678); },
       [](const Field& f) { EXPECT_DOUBLE_EQ(f.AsFloat(), 1234.5678); }},
      {"Moneda", ftCurrency, 0, [](Field& f) { f.SetAsFloat(10.25); },
       [](const Field& f) { EXPECT_DOUBLE_EQ(f.AsFloat(), 10.25); }},
      {"Exacto", ftBCD, 0, [](Field& f) { f.SetAsFloat(3.125); },
       [](const Field& f) { EXPECT_DOUBLE_EQ(f.AsFloat(), 3.125); }},
      {"Dia", ftDate, 0, [](Field& f) { f.SetAsDateTime(EncodeDate(2024, 1, 31)); },
       [](const Field& f) { EXPECT_DOUBLE_EQ(f.AsDateTime(), EncodeDate(2024, 1, 31)); }},
      {"Hora", ftTime, 0, [](Field& f) { f.SetAsDateTime(EncodeTime(8, 30, 15, 250)); },
       [](const Field& f) { EXPECT_NEAR(f.AsDateTime(), EncodeTime(8, 30, 15, 250), 1e-9); }},
      {"Alta", ftDateTime, 0, [](Field& f) { f.SetAsDateTime(kAlta); },
       [](const Field& f) { EXPECT_NEAR(f.AsDateTime(), kAlta, 1e-9); }},
      {"Fijos", ftBytes, 4, writeBytes, hasBytes},
      {"Variables", ftVarBytes, 8, writeBytes, hasBytes},
      {"Numero", ftAutoInc, 0, [](Field&) {}, [](const Field& f) { EXPECT_EQ(f.AsInteger(), 1); }},
      {"Datos", ftBlob, 0, writeBytes, hasBytes},
      {"Notas", ftMemo, 0, writeMemo, hasMemo},
      {"Imagen", ftGraphic, 0, writeBytes, hasBytes},
      {"Formato", ftFmtMemo, 0, writeMemo, hasMemo},
      {"OlePdx", ftParadoxOle, 0, writeBytes, hasBytes},
      {"OleDbf", ftDBaseOle, 0, writeBytes, hasBytes},
      {"Tipado", ftTypedBinary, 0, writeBytes, hasBytes},
  };
  {
    auto table = data.NewTable(u"TIPOS"_qs);
    for (const Column& column : columns)
      table->FieldDefs().Add(QString::fromLatin1(column.name), column.type, column.size);
    table->CreateTable();
    table->Open();
    table->Append();
    for (const Column& column : columns) column.write(table->FieldByName(QString::fromLatin1(column.name)));
    table->Post();
  }
  auto table = data.OpenTable(u"TIPOS"_qs);
  ASSERT_EQ(table->RecordCount(), 1);
  for (const Column& column : columns) {
    SCOPED_TRACE(column.name);
    const Field& field = table->FieldByName(QString::fromLatin1(column.name));
    EXPECT_EQ(field.DataType(), column.type);
    EXPECT_EQ(field.Size(), column.size);
    column.check(field);
  }
  // Dates are kept as ISO text, whatever their type, with milliseconds only
  // when there are any.
  EXPECT_EQ(data.Scalar(u"SELECT Alta FROM TIPOS"_qs), QVariant(u"2024-01-31 15:45:00"_qs));
  EXPECT_EQ(data.Scalar(u"SELECT Dia FROM TIPOS"_qs), QVariant(u"2024-01-31 00:00:00"_qs));
  EXPECT_EQ(data.Scalar(u"SELECT Hora FROM TIPOS"_qs), QVariant(u"1899-12-30 08:30:15.250"_qs));
  // A key column declared exactly INTEGER would be SQLite's row id.
  EXPECT_EQ(data.Scalar(u"SELECT COUNT(*) FROM pragma_table_info('TIPOS') WHERE type LIKE 'integer'"_qs).toInt(), 0);
  table->Close();
  EXPECT_EQ(table->FieldCount(), 0) << "dynamic fields go with the opening";
}

TEST_F(FieldValues, EmptyTextIsStoredAsNull) {
  field("Nombre").SetAsString(QString());
  field("Notas").SetAsString(QString());
  field("Saldo").SetAsString(QString());
  field("Alta").SetAsString(QString());
  EXPECT_TRUE(field("Nombre").IsNull());
  table_->Post();
  EXPECT_EQ(data_.Scalar(u"SELECT COUNT(*) FROM CLIENTES WHERE Nombre IS NULL AND Notas IS NULL "
                         "AND Saldo IS NULL AND Alta IS NULL"_qs)
                .toInt(),
            1);
  // NULL reads as the empty value of each kind.
  EXPECT_EQ(field("Nombre").AsString(), QString());
  EXPECT_EQ(field("Saldo").AsFloat(), 0.0);
  EXPECT_EQ(field("Alta").AsDateTime(), 0.0);
  EXPECT_EQ(field("Alta").Text(), QString());
  EXPECT_EQ(field("Nombre").AsVariant().Type(), VarType::Null);
}

TEST_F(FieldValues, ConvertWithTheSpanishSettings) {
  field("Saldo").SetAsString(u"1234,5"_qs);
  field("Alta").SetAsString(u"31/01/2024 15:45:00"_qs);
  EXPECT_DOUBLE_EQ(field("Saldo").AsFloat(), 1234.5);
  EXPECT_EQ(field("Saldo").AsString(), u"1234,5"_qs);
  EXPECT_EQ(field("Saldo").AsInteger(), 1234);
  EXPECT_NEAR(field("Alta").AsDateTime(), kAlta, 1e-9);
  EXPECT_EQ(field("Alta").AsString(), u"31/01/2024 15:45:00"_qs);
  EXPECT_EQ(field("Codigo").AsString(), u"1"_qs);
  field("Nombre").SetAsFloat(2.5);
  EXPECT_EQ(field("Nombre").AsString(), u"2,5"_qs);
  EXPECT_DOUBLE_EQ(field("Nombre").AsFloat(), 2.5);
  field("Nombre").SetAsString(u"Talleres Gómez y Compañía, Sociedad Limitada"_qs);
  EXPECT_EQ(field("Nombre").AsString(), u"Talleres Gómez y Compañía, Sociedad Limi"_qs);  // 40 characters
}

TEST_F(FieldValues, TextAndDisplayTextFollowTheDisplayFormat) {
  field("Saldo").SetAsFloat(1234.5);
  field("Alta").SetAsDateTime(kAlta);
  field("Saldo").SetDisplayFormat(u"#,##0.00"_qs);
  field("Alta").SetDisplayFormat(u"dd/mm/yyyy"_qs);
  EXPECT_EQ(field("Saldo").Text(), u"1.234,50"_qs);
  EXPECT_EQ(field("Saldo").DisplayText(), u"1.234,50"_qs);
  EXPECT_EQ(field("Alta").Text(), u"31/01/2024 15:45:00"_qs);
  EXPECT_EQ(field("Alta").DisplayText(), u"31/01/2024"_qs);
}

TEST_F(FieldValues, GiveTheVariantKindsOfTheSystem) {
  field("Saldo").SetAsFloat(2.5);
  field("Alta").SetAsDateTime(kAlta);
  EXPECT_EQ(field("Nombre").AsVariant().Type(), VarType::String);
  EXPECT_EQ(field("Codigo").AsVariant().Type(), VarType::Integer);
  EXPECT_EQ(field("Saldo").AsVariant().Type(), VarType::Double);
  EXPECT_EQ(field("Alta").AsVariant().Type(), VarType::Date);
  EXPECT_EQ(field("Codigo").AsVariant().AsInt64(), 1);
  field("Notas").SetAsVariant(Variant::Integer(12));
  EXPECT_EQ(field("Notas").AsString(), u"12"_qs);
  field("Saldo").SetValue(Variant::Null());
  EXPECT_TRUE(field("Saldo").IsNull());
  field("Alta").SetAsVariant(Variant::Date(EncodeDate(2000, 2, 29)));
  EXPECT_EQ(field("Alta").AsString(), u"29/02/2000"_qs);
}

// A refused value leaves the field as it was.
TEST(FieldValuesRefused, WhatDoesNotConvertOrIsOutOfTheRange) {
  DataFixture data;
  auto table = data.NewTable(u"EMPRESA"_qs);
  table->FieldDefs().Add(u"Codigo"_qs, ftSmallint);
  table->FieldDefs().Add(u"Numero"_qs, ftInteger);
  table->FieldDefs().Add(u"Activo"_qs, ftBoolean);
  table->FieldDefs().Add(u"Saldo"_qs, ftFloat);
  table->FieldDefs().Add(u"Alta"_qs, ftDateTime);
  table->CreateTable();
  table->Open();
  table->Append();
  Field& codigo = table->FieldByName(u"Codigo"_qs);
  Field& numero = table->FieldByName(u"Numero"_qs);
  Field& saldo = table->FieldByName(u"Saldo"_qs);
  Field& alta = table->FieldByName(u"Alta"_qs);
  codigo.SetAsInteger(7);
  numero.SetAsInteger(7);
  saldo.SetAsFloat(7);
  const QString small = u"%1 is not a valid value for field 'Codigo'. The allowed range is -32768 to 32767"_qs;
  const QString whole =
      u"%1 is not a valid value for field 'Numero'. The allowed range is -2147483648 to 2147483647"_qs;
  const struct {
    std::function<void()> action;
    QString message;
  } cases[] = {
      {[&] { codigo.SetAsInteger(40000); }, small.arg(u"40000"_qs)},
      {[&] { codigo.SetAsString(u"-40000"_qs); }, small.arg(u"-40000"_qs)},
      {[&] { numero.SetAsFloat(1e10); }, whole.arg(u"10000000000"_qs)},
      {[&] { numero.SetAsFloat(1e300); }, whole.arg(u"1E300"_qs)},
      {[&] { numero.SetAsFloat(std::nan("")); }, whole.arg(u"NAN"_qs)},
      {[&] { numero.SetAsFloat(-HUGE_VAL); }, whole.arg(u"-INF"_qs)},
      {[&] { numero.SetAsVariant(Variant::Double(3e9)); }, whole.arg(u"3000000000"_qs)},
      {[&] { numero.SetAsString(u"3000000000"_qs); }, whole.arg(u"3000000000"_qs)},
      {[&] { numero.SetAsString(u"abc"_qs); }, u"'abc' is not a valid integer value"_qs},
      {[&] { saldo.SetAsString(u"1,2,3"_qs); }, u"'1,2,3' is not a valid floating point value"_qs},
      {[&] { alta.SetAsString(u"31/02/2024"_qs); }, u"'31/02/2024' is not a valid date and time"_qs},
      {[&] { alta.AsInteger(); }, u"Cannot access field 'Alta' as type Integer"_qs},
      {[&] { numero.SetAsDateTime(0); }, u"Cannot access field 'Numero' as type DateTime"_qs},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MessageOf(c.action), c.message);
    EXPECT_EQ(codigo.AsString() + numero.AsString() + saldo.AsString() + alta.AsString(), u"777"_qs);
  }
  codigo.SetAsString(u"9999"_qs);
  EXPECT_EQ(codigo.AsInteger(), 9999);
  Field& activo = table->FieldByName(u"Activo"_qs);
  activo.SetAsString(u"f"_qs);
  EXPECT_FALSE(activo.AsBoolean());
  EXPECT_EQ(activo.AsString(), u"False"_qs);
  EXPECT_EQ(MessageOf([&] { activo.SetAsString(u"Si"_qs); }), u"'Si' is not a valid boolean value for field 'Activo'"_qs);
}

TEST(PersistentFields, KeepTheirSettingsAcrossOpenings) {
  DataFixture data;
  data.AddCustomer(1, u"Ana"_qs);
  auto table = data.NewTable(u"CLIENTES"_qs);
  auto* saldo = new Field(table.get(), u"Saldo"_qs);
  saldo->SetDisplayLabel(u"Saldo pendiente"_qs);
  saldo->SetTag(1000);
  saldo->SetVisible(false);
  auto* codigo = new Field(table.get(), u"Codigo"_qs);
  table->Open();
  EXPECT_EQ(table->FieldCount(), 2);  // only the fields the program made
  EXPECT_EQ(saldo->DataType(), ftFloat);
  EXPECT_EQ(codigo->Index(), 1);
  table->Close();
  table->Open();
  EXPECT_EQ(table->FindField(u"SALDO"_qs), saldo);
  EXPECT_EQ(saldo->DisplayLabel(), u"Saldo pendiente"_qs);
  EXPECT_EQ(saldo->Tag(), 1000);
  EXPECT_FALSE(saldo->Visible());
  EXPECT_EQ(codigo->DisplayLabel(), u"Codigo"_qs);
  table->Close();
  new Field(table.get(), u"NoExiste"_qs);
  EXPECT_EQ(MessageOf([&] { table->Open(); }), u"Field 'NoExiste' not found"_qs);
  EXPECT_FALSE(table->Active());
}

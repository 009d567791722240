#include "platform/data/TypeTable.h"

#include <gtest/gtest.h>

namespace {

TypeTable::SqlServerColumnOptions options(const QString& length, bool textForMax = false, bool genericSql = false) {
  return {length, QStringLiteral("DECIMAL(28,8)"), QStringLiteral("12/30/1899 00:00:00"), textForMax, genericSql};
}

}  // namespace

TEST(TypeTable, GivesTheSqlServerColumnTextsOfTableCreation) {
  struct Case {
    FieldType type;
    TypeTable::SqlServerColumnOptions options;
    const char* column;
  };
  const Case cases[] = {
      {ftString, options(u"40"_qs), " VARCHAR(40) DEFAULT ''"},
      {ftString, options(u"MAX"_qs), " VARCHAR(MAX) DEFAULT ''"},
      {ftString, options(u"max"_qs, true), " TEXT "},
      {ftSmallint, options(u"0"_qs), " SMALLINT DEFAULT 0"},
      {ftInteger, options(u"0"_qs), " INTEGER DEFAULT 0"},
      {ftAutoInc, options(u"0"_qs), " INTEGER IDENTITY(1,1)"},
      {ftDateTime, options(u"0"_qs), " DATETIME DEFAULT '12/30/1899 00:00:00'"},
      {ftDateTime, options(u"0"_qs, false, true), " TIMESTAMP DEFAULT '12/30/1899 00:00:00'"},
      {ftFloat, options(u"0"_qs), " DECIMAL(28,8) DEFAULT 0"},
      {ftMemo, options(u"0"_qs), " TEXT "},
      {ftBlob, options(u"0"_qs), " IMAGE"},
      {ftGraphic, options(u"0"_qs), " IMAGE"},
      // Types table creation left without a column type get one of their kind.
      {ftBoolean, options(u"0"_qs), " BIT DEFAULT 0"},
      {ftDate, options(u"0"_qs), " DATETIME DEFAULT '12/30/1899 00:00:00'"},
      {ftVarBytes, options(u"16"_qs), " VARBINARY(16)"},
      {ftUnknown, options(u"0"_qs), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TypeTable::SqlServerColumn(c.type, c.options), QString::fromLatin1(c.column)) << c.type;
  EXPECT_EQ(TypeTable::SqlServerColumn(ftFloat, {u"0"_qs, u"DECIMAL(28,12)"_qs, {}, false, false}),
            u" DECIMAL(28,12) DEFAULT 0"_qs);
}

TEST(TypeTable, EveryTypeComesBackFromItsDeclaredSqliteType) {
  for (int type = ftString; type <= ftTypedBinary; ++type) {
    const auto fieldType = static_cast<FieldType>(type);
    const QString declared = TypeTable::SqliteDeclaredType(fieldType, 25);
    int size = -1;
    EXPECT_EQ(TypeTable::FromDeclaredType(declared, &size), fieldType) << declared.toStdString();
    const bool sized = fieldType == ftString || fieldType == ftBytes || fieldType == ftVarBytes;
    EXPECT_EQ(size, sized ? 25 : 0) << declared.toStdString();
    // A key column declared exactly INTEGER would be SQLite's row id.
    EXPECT_NE(declared.toUpper(), u"INTEGER"_qs);
  }
}

TEST(TypeTable, ReadsTheSqlServerColumnTextsBack) {
  struct Case {
    const char* declared;
    FieldType type;
    int size;
  };
  const Case cases[] = {
      {"VARCHAR(40)", ftString, 40},     {"varchar(max)", ftMemo, 0},   {"SMALLINT", ftSmallint, 0},
      {"INTEGER", ftInteger, 0},         {"INTEGER IDENTITY(1,1)", ftAutoInc, 0},
      {"DATETIME", ftDateTime, 0},       {"TIMESTAMP", ftDateTime, 0},  {"DECIMAL(28,12)", ftFloat, 0},
      {"TEXT", ftMemo, 0},               {"IMAGE", ftBlob, 0},          {"BIT", ftBoolean, 0},
      {"MONEY", ftCurrency, 0},          {"NVARCHAR(10)", ftString, 10}, {"", ftString, 0},
  };
  for (const Case& c : cases) {
    int size = -1;
    EXPECT_EQ(TypeTable::FromDeclaredType(QString::fromLatin1(c.declared), &size), c.type) << c.declared;
    EXPECT_EQ(size, c.size) << c.declared;
  }
}

TEST(TypeTable, GivesTheValueKindsOfTheSystemsVariants) {
  EXPECT_EQ(TypeTable::VariantKindOf(ftString), VarType::String);
  EXPECT_EQ(TypeTable::VariantKindOf(ftMemo), VarType::String);
  EXPECT_EQ(TypeTable::VariantKindOf(ftSmallint), VarType::Integer);
  EXPECT_EQ(TypeTable::VariantKindOf(ftInteger), VarType::Integer);
  EXPECT_EQ(TypeTable::VariantKindOf(ftDateTime), VarType::Date);
  EXPECT_EQ(TypeTable::VariantKindOf(ftFloat), VarType::Double);
}

#include "platform/data/TypeTable.h"

#include <gtest/gtest.h>

namespace {

TypeTable::SqlServerColumnOptions options(const QString& length) {
  return {length, u"DECIMAL(28,8)"_qs, u"12/30/1899 00:00:00"_qs, false, false};
}

}  // namespace

TEST(TypeTable, GivesTheSqlServerColumnTextsOfTableCreation) {
  struct Case {
    FieldType type;
    TypeTable::SqlServerColumnOptions options;
    const char* column;
  };
  // Those the definitions use are checked with the statements table creation writes.
  const Case cases[] = {
      {ftBlob, options(u"0"_qs), " IMAGE"},
      // Types table creation left without a column type get one of their kind.
      {ftDate, options(u"0"_qs), " DATETIME DEFAULT '12/30/1899 00:00:00'"},
      {ftVarBytes, options(u"16"_qs), " VARBINARY(16)"},
      {ftUnknown, options(u"0"_qs), ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TypeTable::SqlServerColumn(c.type, c.options), QString::fromLatin1(c.column)) << c.type;
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

// String, integer, float and date fields give theirs through their values.
TEST(TypeTable, GivesTheValueKindsOfTheSystemsVariants) {
  const std::pair<FieldType, VarType> kinds[] = {{ftMemo, VarType::String}, {ftSmallint, VarType::Integer},
                                                 {ftBoolean, VarType::Boolean}, {ftBCD, VarType::Currency}};
  for (const auto& [type, kind] : kinds) EXPECT_EQ(TypeTable::VariantKindOf(type), kind) << type;
}

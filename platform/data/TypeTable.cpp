#include "platform/data/TypeTable.h"

#include "platform/sql/TextMemo.h"

#include <QRegularExpression>

#include <array>

namespace TypeTable {

namespace {

struct Row {
  FieldType type;
  const char* sqlite;  // declared SQLite type; "%1" takes the size
  ValueClass valueClass;
  VarType variantKind;
};

// Indexed by FieldType.
constexpr std::array<Row, ftTypedBinary + 1> kRows{{
    {ftUnknown, "", ValueClass::Text, VarType::String},
    {ftString, "VARCHAR(%1)", ValueClass::Text, VarType::String},
    {ftSmallint, "SMALLINT", ValueClass::Integer, VarType::Integer},
    {ftInteger, "INT", ValueClass::Integer, VarType::Integer},
    {ftWord, "WORD", ValueClass::Integer, VarType::Integer},
    {ftBoolean, "BOOLEAN", ValueClass::Boolean, VarType::Boolean},
    {ftFloat, "FLOAT", ValueClass::Float, VarType::Double},
    {ftCurrency, "MONEY", ValueClass::Float, VarType::Double},
    {ftBCD, "NUMERIC(28,8)", ValueClass::Float, VarType::Currency},
    {ftDate, "DATE", ValueClass::DateTime, VarType::Date},
    {ftTime, "TIME", ValueClass::DateTime, VarType::Date},
    {ftDateTime, "DATETIME", ValueClass::DateTime, VarType::Date},
    {ftBytes, "BINARY(%1)", ValueClass::Binary, VarType::String},
    {ftVarBytes, "VARBINARY(%1)", ValueClass::Binary, VarType::String},
    {ftAutoInc, "INTEGER IDENTITY", ValueClass::Integer, VarType::Integer},
    {ftBlob, "BLOB", ValueClass::Binary, VarType::String},
    {ftMemo, "TEXT", ValueClass::Text, VarType::String},
    {ftGraphic, "GRAPHIC", ValueClass::Binary, VarType::String},
    {ftFmtMemo, "FMTTEXT", ValueClass::Text, VarType::String},
    {ftParadoxOle, "PARADOXOLE", ValueClass::Binary, VarType::String},
    {ftDBaseOle, "DBASEOLE", ValueClass::Binary, VarType::String},
    {ftTypedBinary, "TYPEDBINARY", ValueClass::Binary, VarType::String},
}};

// Declared names that are not in the table above, as SQL Server and other
// engines write them.
struct Alias {
  const char* name;
  FieldType type;
};
constexpr Alias kAliases[] = {
    {"INTEGER", ftInteger},  {"BIGINT", ftInteger},      {"TINYINT", ftSmallint}, {"BIT", ftBoolean},
    {"DECIMAL", ftFloat},    {"REAL", ftFloat},          {"DOUBLE", ftFloat},     {"SMALLMONEY", ftCurrency},
    {"SMALLDATETIME", ftDateTime}, {"TIMESTAMP", ftDateTime},
    {"CHAR", ftString},      {"NCHAR", ftString},        {"NVARCHAR", ftString},  {"NTEXT", ftMemo},
    {"CLOB", ftMemo},        {"IMAGE", ftBlob},          {"VARBINARY", ftVarBytes}, {"BINARY", ftBytes},
};

const Row& rowOf(FieldType type) {
  return kRows.at(type >= ftUnknown && type <= ftTypedBinary ? type : ftUnknown);
}

}  // namespace

QString SqlServerColumn(FieldType type, const SqlServerColumnOptions& options) {
  const QString dateColumn = (options.genericSql ? u" TIMESTAMP DEFAULT '"_qs : u" DATETIME DEFAULT '"_qs) +
                             options.nullDate + u'\'';
  switch (type) {
    case ftUnknown:
      return QString();
    case ftString:
      if (options.textForMax && options.length.toUpper() == u"MAX") return u" TEXT "_qs;
      return u" VARCHAR("_qs + options.length + u") DEFAULT ''"_qs;
    case ftSmallint:
      return u" SMALLINT DEFAULT 0"_qs;
    case ftInteger:
    case ftWord:
      return u" INTEGER DEFAULT 0"_qs;
    case ftAutoInc:
      return u" INTEGER IDENTITY(1,1)"_qs;
    case ftBoolean:
      return u" BIT DEFAULT 0"_qs;
    case ftFloat:
    case ftBCD:
      return u' ' + options.decimalType + u" DEFAULT 0"_qs;
    case ftCurrency:
      return u" MONEY DEFAULT 0"_qs;
    case ftDate:
    case ftTime:
    case ftDateTime:
      return dateColumn;
    case ftBytes:
      return u" BINARY("_qs + options.length + u')';
    case ftVarBytes:
      return u" VARBINARY("_qs + options.length + u')';
    case ftMemo:
    case ftFmtMemo:
      return u" TEXT "_qs;
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
      return u" IMAGE"_qs;
  }
  return QString();
}

QString SqliteDeclaredType(FieldType type, int size) {
  const QString declared = QString::fromLatin1(rowOf(type).sqlite);
  return declared.contains(u"%1") ? declared.arg(size) : declared;
}

namespace {

FieldType typeOfDeclaredName(const QString& name, const QString& length) {
  if (name == u"VARCHAR" && length == u"MAX") return ftMemo;
  if (name.contains(u"IDENTITY")) return ftAutoInc;
  for (const Row& row : kRows) {
    const QString own = QString::fromLatin1(row.sqlite).section(u'(', 0, 0);
    if (!own.isEmpty() && own == name) return row.type;
  }
  for (const Alias& alias : kAliases)
    if (name == QLatin1String(alias.name)) return alias.type;

  // SQLite's own affinity rules for anything else.
  if (name.contains(u"INT")) return ftInteger;
  if (name.contains(u"CHAR") || name.contains(u"CLOB") || name.contains(u"TEXT"))
    return length.isEmpty() ? ftMemo : ftString;
  if (name.contains(u"BLOB")) return ftBlob;
  if (name.contains(u"REAL") || name.contains(u"FLOA") || name.contains(u"DOUB")) return ftFloat;
  if (name.contains(u"DATE") || name.contains(u"TIME")) return ftDateTime;
  return ftString;
}

FieldType readDeclaredType(const QString& declared, int* size) {
  static const QRegularExpression pattern(QStringLiteral(R"(^\s*([A-Z ]*?)\s*(?:\(\s*(\w+)\s*(?:,[^)]*)?\))?\s*$)"));
  const QRegularExpressionMatch match = pattern.match(declared.toUpper());
  const QString name = match.hasMatch() ? match.captured(1) : declared.toUpper().trimmed();
  const QString length = match.captured(2);
  const FieldType type = typeOfDeclaredName(name, length);
  if (size) *size = (type == ftString || type == ftBytes || type == ftVarBytes) ? length.toInt() : 0;
  return type;
}

}  // namespace

FieldType FromDeclaredType(const QString& declared, int* size) {
  // Every query asks again for the same few declared types.
  thread_local TextMemo<std::pair<FieldType, int>> read;
  const auto [type, length] = read.Of(declared, [&] {
    int width = 0;
    const FieldType kind = readDeclaredType(declared, &width);
    return std::pair(kind, width);
  });
  if (size) *size = length;
  return type;
}

ValueClass ValueClassOf(FieldType type) { return rowOf(type).valueClass; }

VarType VariantKindOf(FieldType type) { return rowOf(type).variantKind; }

EngineDialect::ColumnKind ColumnKindOf(FieldType type) {
  using Kind = EngineDialect::ColumnKind;
  switch (type) {
    case ftUnknown:
      return Kind::Number;  // compared as it is, under no collation
    case ftMemo:
    case ftFmtMemo:
      return Kind::LongText;
    case ftBytes:
    case ftVarBytes:
      return Kind::Bytes;
    default:
      break;
  }
  switch (ValueClassOf(type)) {
    case ValueClass::Text:
      return Kind::Text;
    case ValueClass::Binary:
      return Kind::LongBytes;
    case ValueClass::DateTime:
      return Kind::Date;
    default:
      return Kind::Number;
  }
}

}  // namespace TypeTable

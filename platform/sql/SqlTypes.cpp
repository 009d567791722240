#include "platform/sql/SqlTypes.h"

#include <QStringList>

namespace {

struct TypeRow {
  QStringView name;
  int xtype;
  int length;  // storage of a fixed-size type
};

constexpr TypeRow kTypes[] = {
    {u"IMAGE", 34, 16},      {u"TEXT", 35, 16},         {u"UNIQUEIDENTIFIER", 36, 16}, {u"DATE", 40, 3},
    {u"TINYINT", 48, 1},     {u"SMALLINT", 52, 2},      {u"INT", 56, 4},               {u"INTEGER", 56, 4},
    {u"SMALLDATETIME", 58, 4}, {u"REAL", 59, 4},        {u"MONEY", 60, 8},             {u"DATETIME", 61, 8},
    {u"FLOAT", 62, 8},       {u"NTEXT", 99, 16},        {u"BIT", 104, 1},              {u"DECIMAL", 106, 17},
    {u"NUMERIC", 108, 17},   {u"SMALLMONEY", 122, 4},   {u"BIGINT", 127, 8},           {u"VARBINARY", 165, 0},
    {u"VARCHAR", 167, 0},    {u"BINARY", 173, 0},       {u"CHAR", 175, 0},             {u"NVARCHAR", 231, 0},
    {u"NCHAR", 239, 0},
};

const TypeRow* Row(const QString& name) {
  for (const TypeRow& row : kTypes)
    if (row.name == name) return &row;
  return nullptr;
}

bool OneOf(const QString& name, std::initializer_list<QStringView> names) {
  for (QStringView candidate : names)
    if (name == candidate) return true;
  return false;
}

}  // namespace

SqlType SqlType::Parse(QStringView text) {
  SqlType type;
  const qsizetype open = text.indexOf(u'(');
  type.name = text.first(open < 0 ? text.size() : open).trimmed().toString().toUpper();
  if (type.name.endsWith(u" IDENTITY")) {
    type.name = type.name.first(type.name.size() - 9).trimmed();
    type.identity = true;
    return type;
  }
  if (open >= 0) {
    const qsizetype close = text.indexOf(u')', open);
    const QStringList numbers = text.mid(open + 1, (close < 0 ? text.size() : close) - open - 1).toString().split(u',');
    const QString first = numbers.value(0).trimmed();
    bool ok = false;
    const int value = first.toInt(&ok);
    if (first.compare(u"MAX", Qt::CaseInsensitive) == 0) type.length = kMax;
    else if (ok) type.length = value;
    if (numbers.size() > 1) {
      const int scale = numbers[1].trimmed().toInt(&ok);
      if (ok) type.scale = scale;
    }
  }
  return type;
}

bool SqlType::IsText() const { return OneOf(name, {u"CHAR", u"VARCHAR", u"NCHAR", u"NVARCHAR", u"TEXT", u"NTEXT"}); }
bool SqlType::IsInteger() const {
  return OneOf(name, {u"BIT", u"TINYINT", u"SMALLINT", u"INT", u"INTEGER", u"BIGINT"});
}
bool SqlType::IsDecimal() const {
  return OneOf(name, {u"DECIMAL", u"NUMERIC", u"FLOAT", u"REAL", u"MONEY", u"SMALLMONEY"});
}
bool SqlType::IsDate() const { return OneOf(name, {u"DATETIME", u"SMALLDATETIME", u"DATE"}); }
bool SqlType::IsKnown() const { return Row(name) != nullptr; }

int SqlType::Xtype() const {
  const TypeRow* row = Row(name);
  return row ? row->xtype : 0;
}

int SqlType::StorageLength() const {
  const TypeRow* row = Row(name);
  if (row && row->length > 0) return row->length;
  const int characters = length.value_or(1);
  if (characters == kMax) return -1;
  return name.startsWith(u'N') ? characters * 2 : characters;
}

QString SqlType::ErrorName() const {
  if (name == u"INTEGER") return QStringLiteral("int");
  if (name == u"DECIMAL") return QStringLiteral("numeric");
  return name.toLower();
}

QString SqlType::DataTypeName() const { return name == u"INTEGER" ? QStringLiteral("int") : name.toLower(); }

std::optional<int> SqlType::CharacterLength() const {
  if (name == u"TEXT") return 2147483647;
  if (name == u"NTEXT") return 1073741823;
  if (!IsText()) return std::nullopt;
  return length.value_or(1);
}

#include "platform/data/Param.h"

#include "platform/sqlite/DatabaseError.h"

void Param::SetAsString(const QString& value) { value_ = value.isEmpty() ? QVariant() : QVariant(value); }

// To the millisecond, as the stored text has it; in UTC, where no clock
// change skips an hour (a local 02:30 on the day summer time starts is no
// time at all).
void Param::SetAsDateTime(TDateTime value) {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, millisecond = 0;
  DecodeDate(value, year, month, day);
  DecodeTime(value, hour, minute, second, millisecond);
  value_ = QDateTime(QDate(year, month, day), QTime(hour, minute, second, millisecond), Qt::UTC);
}

void Param::SetValue(const Variant& value) {
  switch (value.Type()) {
    case VarType::Empty:
    case VarType::Null:
      return Clear();
    case VarType::Smallint:
    case VarType::Integer:
    case VarType::Int64:
    case VarType::Byte:
      value_ = QVariant(value.AsInt64());
      return;
    case VarType::Boolean:
      return SetAsBoolean(value.AsBoolean());
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return SetAsFloat(value.AsDouble());
    case VarType::Date:
      return SetAsDateTime(value.AsDateTime());
    default:
      return SetAsString(value.AsString());
  }
}

Param* Params::FindParam(const QString& name) {
  for (Param& param : params_)
    if (param.Name().compare(name, Qt::CaseInsensitive) == 0) return &param;
  return nullptr;
}

Param& Params::ParamByName(const QString& name) {
  if (Param* param = FindParam(name)) return *param;
  throw EDatabaseError(QString::fromLatin1(EngineText::ParameterNotFound).arg(name));
}

void Params::ParseSql(const QString& sql) {
  QList<Param> parsed;
  QChar quote;
  for (qsizetype i = 0; i < sql.size(); ++i) {
    const QChar c = sql[i];
    if (!quote.isNull()) {
      if (c == quote) quote = QChar();
      continue;
    }
    if (c == u'\'' || c == u'"' || c == u'[') {
      quote = c == u'[' ? QChar(u']') : c;
      continue;
    }
    if (c != u':') continue;
    // "::" is not a parameter, nor is a time such as 10:30 inside a number.
    if (i + 1 < sql.size() && sql[i + 1] == u':') {
      ++i;
      continue;
    }
    if (i > 0 && (sql[i - 1].isLetterOrNumber() || sql[i - 1] == u'_')) continue;
    qsizetype end = i + 1;
    while (end < sql.size() && (sql[end].isLetterOrNumber() || sql[end] == u'_')) ++end;
    if (end == i + 1) continue;
    const QString name = sql.mid(i + 1, end - i - 1);
    const bool seen = std::any_of(parsed.begin(), parsed.end(),
                                  [&](const Param& p) { return p.Name().compare(name, Qt::CaseInsensitive) == 0; });
    if (!seen) parsed.append(FindParam(name) ? *FindParam(name) : Param(name));
    i = end - 1;
  }
  params_ = std::move(parsed);
}

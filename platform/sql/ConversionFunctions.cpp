#include "platform/sql/ConversionFunctions.h"

#include "platform/sql/ColumnConversion.h"
#include "platform/sql/SqlDates.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTypes.h"
#include "platform/sql/SqlValues.h"

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

namespace {

constexpr int kDefaultVarcharLength = 30;

QString NumberText(sqlite3_value* value) {
  if (sqlite3_value_type(value) == SQLITE_INTEGER) return QString::number(sqlite3_value_int64(value));
  const double number = sqlite3_value_double(value);
  if (number == std::trunc(number) && std::abs(number) < 1e15) return QString::number(qint64(number));
  return QString::number(number, 'g', 15);
}

// SQL Server's date styles that the system writes.
std::optional<QString> DateStyleFormat(int style) {
  switch (style) {
    case 101: return QStringLiteral("MM/dd/yyyy");
    case 103: return QStringLiteral("dd/MM/yyyy");
    case 104: return QStringLiteral("dd.MM.yyyy");
    case 105: return QStringLiteral("dd-MM-yyyy");
    case 108: return QStringLiteral("HH:mm:ss");
    case 112: return QStringLiteral("yyyyMMdd");
    case 120: return QStringLiteral("yyyy-MM-dd HH:mm:ss");
    default: return std::nullopt;
  }
}

QString FitText(QString text, const SqlType& type, bool defaultLength) {
  int length = type.length.value_or(defaultLength ? kDefaultVarcharLength : SqlType::kMax);
  if (type.name == u"TEXT" || type.name == u"NTEXT") length = SqlType::kMax;
  if (length != SqlType::kMax) {
    text.truncate(length);
    if (type.name == u"CHAR" || type.name == u"NCHAR") text = text.leftJustified(length, u' ');
  }
  return text;
}

void ToText(sqlite3_context* context, sqlite3_value* value, const SqlType& type, std::optional<int> style) {
  QString text;
  if (IsNumber(value)) {
    text = NumberText(value);
  } else {
    text = TextOf(value);
    if (style) {
      const std::optional<QDateTime> date = ParseIsoDateTime(text);
      const std::optional<QString> format = DateStyleFormat(*style);
      if (date && !format) return ResultError(context, QStringLiteral("%1 is not a valid style number when converting from datetime to a character string.").arg(*style));
      if (date) text = date->toString(*format);
    }
  }
  ResultText(context, FitText(text, type, true));
}

std::optional<qint64> ParseInteger(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return 0;
  bool ok = false;
  const qint64 number = trimmed.startsWith(u'+') ? trimmed.mid(1).toLongLong(&ok) : trimmed.toLongLong(&ok);
  return ok ? std::optional<qint64>(number) : std::nullopt;
}

std::optional<double> ParseDecimal(const QString& text) {
  bool ok = false;
  const double number = text.trimmed().toDouble(&ok);
  return ok ? std::optional<double>(number) : std::nullopt;
}

QString ConversionFailed(const QString& text, const SqlType& type) {
  if (type.IsInteger())
    return QStringLiteral("Conversion failed when converting the varchar value '%1' to data type %2.")
        .arg(text, type.ErrorName());
  return QStringLiteral("Error converting data type varchar to %1.").arg(type.ErrorName());
}

QVariant ValueOf(sqlite3_value* value) {
  switch (sqlite3_value_type(value)) {
    case SQLITE_NULL: return {};
    case SQLITE_INTEGER: return qint64(sqlite3_value_int64(value));
    case SQLITE_FLOAT: return sqlite3_value_double(value);
    case SQLITE_BLOB:
      return QByteArray(static_cast<const char*>(sqlite3_value_blob(value)), sqlite3_value_bytes(value));
    default: return TextOf(value);
  }
}

void Result(sqlite3_context* context, const ColumnValue& converted) {
  const QVariant& value = converted.value;
  if (!converted.error.isEmpty()) return ResultError(context, converted.error);
  switch (value.typeId()) {
    case QMetaType::UnknownType: return sqlite3_result_null(context);
    case QMetaType::LongLong: return sqlite3_result_int64(context, value.toLongLong());
    case QMetaType::Double: return sqlite3_result_double(context, value.toDouble());
    case QMetaType::QByteArray: {
      const QByteArray bytes = value.toByteArray();
      return sqlite3_result_blob(context, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT);
    }
    default: return ResultText(context, value.toString());
  }
}

// A style names its order; without one the session's date format does.
void ToDate(sqlite3_context* context, sqlite3_value* value, const SqlType& type, std::optional<int> style,
            DateOrder order) {
  if (style == 103 || style == 104 || style == 105) order = DateOrder::DayMonthYear;
  if (style == 101) order = DateOrder::MonthDayYear;
  ColumnValue date = ToColumnType(ValueOf(value), type, order);
  if (type.name == u"DATE" && date.error.isEmpty()) date.value = date.value.toString().left(10);  // no time
  Result(context, date);
}

// The type text is most often the same for every row of a statement: it is
// read once and kept with the statement while the argument stays the same.
const SqlType& TypeArgument(sqlite3_context* context, sqlite3_value** values) {
  if (const auto* kept = static_cast<const SqlType*>(sqlite3_get_auxdata(context, 0))) return *kept;
  auto* parsed = new SqlType(SqlType::Parse(TextOf(values[0])));
  sqlite3_set_auxdata(context, 0, parsed, [](void* type) { delete static_cast<SqlType*>(type); });
  // SQLite frees it at once when the argument is not a constant; read again.
  if (const auto* kept = static_cast<const SqlType*>(sqlite3_get_auxdata(context, 0))) return *kept;
  static thread_local SqlType single;
  single = SqlType::Parse(TextOf(values[0]));
  return single;
}

void Convert(sqlite3_context* context, int count, sqlite3_value** values) {
  const SqlType& type = TypeArgument(context, values);
  if (!type.IsKnown() || type.Xtype() == 34 || type.Xtype() == 36)
    return ResultError(context, QStringLiteral("Type %1 is not a defined system type.").arg(TextOf(values[0])));
  sqlite3_value* value = values[1];
  if (IsNull(value)) return sqlite3_result_null(context);
  std::optional<int> style;
  if (count > 2 && !IsNull(values[2])) style = sqlite3_value_int(values[2]);
  const DateOrder order = count > 3 ? DateOrderOf(TextOf(values[3])) : DateOrder::MonthDayYear;
  if (type.IsText()) return ToText(context, value, type, style);
  // Numbers are range-checked, rounded and truncated as a column of the type is.
  if (type.IsInteger() || type.IsDecimal()) return Result(context, ToColumnType(ValueOf(value), type, order));
  if (type.IsDate()) return ToDate(context, value, type, style, order);
  ResultError(context, QStringLiteral("Explicit conversion to data type %1 is not allowed.").arg(type.DataTypeName()));
}

// "+": two texts are joined; otherwise a text takes the other side's numeric
// type, as SQL Server converts by type precedence (an empty text is 0).
ColumnValue AddTwo(const QVariant& a, const QVariant& b) {
  if (a.isNull() || b.isNull()) return {};
  auto isNumber = [](const QVariant& v) {
    return v.typeId() == QMetaType::LongLong || v.typeId() == QMetaType::Double;
  };
  auto text = [](const QVariant& v) {
    return v.typeId() == QMetaType::QByteArray ? QString::fromUtf8(v.toByteArray()) : v.toString();
  };
  if (!isNumber(a) && !isNumber(b)) return {text(a) + text(b), {}};
  if (a.typeId() != QMetaType::Double && b.typeId() != QMetaType::Double) {
    auto integer = [&](const QVariant& v) {
      return isNumber(v) ? std::optional<qint64>(v.toLongLong()) : ParseInteger(text(v));
    };
    const std::optional<qint64> x = integer(a), y = integer(b);
    if (!x || !y) return {{}, ConversionFailed(text(x ? b : a), SqlType::Parse(u"INT"))};
    qint64 sum = 0;
    // Past 64 bits only a bigint can have been added.
    if (__builtin_add_overflow(*x, *y, &sum))
      return {{}, QStringLiteral("Arithmetic overflow error converting expression to data type bigint.")};
    return {sum, {}};
  }
  auto decimal = [&](const QVariant& v) {
    if (isNumber(v)) return std::optional<double>(v.toDouble());
    return text(v).trimmed().isEmpty() ? std::optional<double>(0) : ParseDecimal(text(v));
  };
  const std::optional<double> x = decimal(a), y = decimal(b);
  if (!x || !y) return {{}, ConversionFailed(text(x ? b : a), SqlType::Parse(u"FLOAT"))};
  return {*x + *y, {}};
}

// zem_add(a, b, ...): a + b + ... from the left, as the terms are written.
void Add(sqlite3_context* context, int count, sqlite3_value** values) {
  ColumnValue sum{ValueOf(values[0]), {}};
  for (int i = 1; i < count && sum.error.isEmpty(); ++i) sum = AddTwo(sum.value, ValueOf(values[i]));
  Result(context, sum);
}

// zem_store(type, value[, date format]): the value a write through SQL
// stores in a column of the declared type.
void Store(sqlite3_context* context, int count, sqlite3_value** values) {
  const DateOrder order = count > 2 ? DateOrderOf(TextOf(values[2])) : DateOrder::MonthDayYear;
  Result(context, ToColumnType(ValueOf(values[1]), TypeArgument(context, values), order));
}

// zem_arithmetic(type, value): the result of arithmetic in a whole number
// type, refused past the type's range (SQLite computes in 64 bits, or in
// floats past them).
void Arithmetic(sqlite3_context* context, int, sqlite3_value** values) {
  const SqlType& type = TypeArgument(context, values);
  sqlite3_value* value = values[1];
  const bool beyond64Bits = sqlite3_value_type(value) == SQLITE_FLOAT && std::abs(sqlite3_value_double(value)) >= 0x1p63;
  if (beyond64Bits || (IsNumber(value) && !ToColumnType(ValueOf(value), type, DateOrder::MonthDayYear).error.isEmpty()))
    return ResultError(context, QStringLiteral("Arithmetic overflow error converting expression to data type %1.")
                                    .arg(type.ErrorName()));
  sqlite3_result_value(context, value);
}

// One step of zem_chain: its operator and the type its result takes.
struct ChainStep {
  QChar op;
  SqlType type;
  qint64 low, high;
};

std::vector<ChainStep> ParseChainSteps(const QString& text) {
  std::vector<ChainStep> steps;
  for (const QString& step : text.split(u';')) {
    const SqlType type = SqlType::Parse(step.mid(1));
    const bool wide = type.name == u"BIGINT";
    const qint64 low = type.name == u"TINYINT" ? 0 : type.name == u"SMALLINT" ? -32768 : wide ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint32>::min();
    const qint64 high = type.name == u"TINYINT" ? 255 : type.name == u"SMALLINT" ? 32767 : wide ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint32>::max();
    steps.push_back({step.isEmpty() ? QChar() : step[0], type, low, high});
  }
  return steps;
}

// The steps are most often the same for every row: read once.
const std::vector<ChainStep>& ChainSteps(sqlite3_context* context, int at, sqlite3_value* value) {
  if (const auto* kept = static_cast<const std::vector<ChainStep>*>(sqlite3_get_auxdata(context, at))) return *kept;
  auto* parsed = new std::vector<ChainStep>(ParseChainSteps(TextOf(value)));
  sqlite3_set_auxdata(context, at, parsed, [](void* steps) { delete static_cast<std::vector<ChainStep>*>(steps); });
  if (const auto* kept = static_cast<const std::vector<ChainStep>*>(sqlite3_get_auxdata(context, at))) return *kept;
  static thread_local std::vector<ChainStep> single;
  single = ParseChainSteps(TextOf(value));
  return single;
}

// a op b of whole numbers; nothing past 64 bits. An error text for a
// division by zero.
std::optional<qint64> WholeStep(QChar op, qint64 a, qint64 b, QString& error) {
  qint64 result = 0;
  switch (op.unicode()) {
    case u'+': return __builtin_add_overflow(a, b, &result) ? std::nullopt : std::optional<qint64>(result);
    case u'-': return __builtin_sub_overflow(a, b, &result) ? std::nullopt : std::optional<qint64>(result);
    case u'*': return __builtin_mul_overflow(a, b, &result) ? std::nullopt : std::optional<qint64>(result);
    case u'&': return a & b;
    case u'|': return a | b;
    case u'^': return a ^ b;
    default: break;
  }
  if (b == 0) {
    error = QStringLiteral("Divide by zero error encountered.");
    return std::nullopt;
  }
  if (a == std::numeric_limits<qint64>::min() && b == -1) return op == u'%' ? std::optional<qint64>(0) : std::nullopt;
  return op == u'/' ? a / b : a % b;
}

// zem_chain(a, b, c, ..., '+INT;-INT;*BIGINT'): whole number operations
// from the left, as SQL Server works them: each result checked against its
// type's range, a division against zero, NULL from a NULL on. The steps
// come last, so that SQLite's parser takes a chain nested in the first
// argument as deep as it can.
void Chain(sqlite3_context* context, int count, sqlite3_value** values) {
  if (count < 3) return ResultError(context, QStringLiteral("zem_chain: wrong number of arguments"));
  const std::vector<ChainStep>& steps = ChainSteps(context, count - 1, values[count - 1]);
  if (size_t(count - 2) != steps.size()) return ResultError(context, QStringLiteral("zem_chain: wrong number of arguments"));
  if (IsNull(values[0])) return sqlite3_result_null(context);
  qint64 result = sqlite3_value_int64(values[0]);
  for (size_t k = 0; k < steps.size(); ++k) {
    sqlite3_value* value = values[k + 1];
    if (IsNull(value)) return sqlite3_result_null(context);
    QString error;
    const std::optional<qint64> next = WholeStep(steps[k].op, result, sqlite3_value_int64(value), error);
    if (!error.isEmpty()) return ResultError(context, error);
    if (!next || *next < steps[k].low || *next > steps[k].high)
      return ResultError(context, QStringLiteral("Arithmetic overflow error converting expression to data type %1.")
                                      .arg(steps[k].type.ErrorName()));
    result = *next;
  }
  sqlite3_result_int64(context, result);
}

// zem_abs(n): SQLite's abs, but the one whole number without a positive
// counterpart fails as SQL Server's bigint does.
void Abs(sqlite3_context* context, int, sqlite3_value** values) {
  sqlite3_value* value = values[0];
  if (IsNull(value)) return sqlite3_result_null(context);
  if (sqlite3_value_type(value) != SQLITE_INTEGER) return sqlite3_result_double(context, std::abs(sqlite3_value_double(value)));
  const qint64 number = sqlite3_value_int64(value);
  if (number == std::numeric_limits<qint64>::min())
    return ResultError(context, QStringLiteral("Arithmetic overflow error converting expression to data type bigint."));
  sqlite3_result_int64(context, number < 0 ? -number : number);
}

// zem_xor(a, b): T-SQL's "^" of whole numbers.
void Xor(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0]) || IsNull(values[1])) return sqlite3_result_null(context);
  sqlite3_result_int64(context, sqlite3_value_int64(values[0]) ^ sqlite3_value_int64(values[1]));
}

// zem_modulo(a, b, scale): a % b of decimals of that scale, the sign of
// a's; SQLite's "%" would take the whole parts.
void Modulo(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0]) || IsNull(values[1])) return sqlite3_result_null(context);
  const double a = sqlite3_value_double(values[0]), b = sqlite3_value_double(values[1]);
  if (b == 0) return ResultError(context, QStringLiteral("Divide by zero error encountered."));
  const double unit = std::pow(10.0, sqlite3_value_int(values[2]));
  const double scaledA = std::round(a * unit), scaledB = std::round(b * unit);
  if (std::abs(scaledA) < 0x1p62 && std::abs(scaledB) < 0x1p62 && scaledB != 0)
    return sqlite3_result_double(context, double(qint64(scaledA) % qint64(scaledB)) / unit);
  sqlite3_result_double(context, std::fmod(a, b));
}

// zem_divisor(d): d, unless it is zero (a text as the number it reads as).
void Divisor(sqlite3_context* context, int, sqlite3_value** values) {
  sqlite3_value* value = values[0];
  const bool zero = IsNumber(value) ? sqlite3_value_double(value) == 0
                                    : !IsNull(value) && ParseDecimal(TextOf(value)).value_or(1) == 0;
  if (zero) return ResultError(context, QStringLiteral("Divide by zero error encountered."));
  sqlite3_result_value(context, value);
}

// The row counts of OFFSET and FETCH, as SQL Server takes them: whole
// numbers, never negative (nor zero rows fetched). SQLite would read a
// negative count as "every row".
void RowCount(sqlite3_context* context, sqlite3_value* value, bool fetch) {
  const QString clause = fetch ? QStringLiteral("FETCH") : QStringLiteral("OFFSET");
  std::optional<qint64> count;
  if (sqlite3_value_type(value) == SQLITE_INTEGER) count = sqlite3_value_int64(value);
  else if (sqlite3_value_type(value) == SQLITE_TEXT && !TextOf(value).trimmed().isEmpty()) count = ParseInteger(TextOf(value));
  if (!count)
    return ResultError(context, QStringLiteral("The number of rows provided for a %1 clause must be an integer.").arg(clause));
  if (fetch && *count <= 0)
    return ResultError(context, QStringLiteral("The number of rows provided for a FETCH clause must be greater then zero."));
  if (*count < 0) return ResultError(context, QStringLiteral("The offset specified in a OFFSET clause may not be negative."));
  sqlite3_result_int64(context, *count);
}

// zem_top_rows(n): TOP (n)'s count, as SQL Server takes it.
void TopRows(sqlite3_context* context, int, sqlite3_value** values) {
  sqlite3_value* value = values[0];
  if (IsNull(value)) return ResultError(context, QStringLiteral("A TOP or FETCH clause contains an invalid value."));
  std::optional<qint64> count;
  if (sqlite3_value_type(value) == SQLITE_INTEGER) count = sqlite3_value_int64(value);
  else if (sqlite3_value_type(value) == SQLITE_TEXT) count = ParseInteger(TextOf(value));
  if (!count)
    return ResultError(context,
                       QStringLiteral("The number of rows provided for a TOP or FETCH clauses row count parameter must be an integer."));
  if (*count < 0) return ResultError(context, QStringLiteral("A TOP N value may not be negative."));
  sqlite3_result_int64(context, *count);
}

void OffsetRows(sqlite3_context* context, int, sqlite3_value** values) { RowCount(context, values[0], false); }
void FetchRows(sqlite3_context* context, int, sqlite3_value** values) { RowCount(context, values[0], true); }

}  // namespace

void RegisterConversionFunctions(sqlite3* connection) {
  struct Row {
    const char* name;
    int arguments;
    void (*function)(sqlite3_context*, int, sqlite3_value**);
  };
  constexpr Row kRows[] = {{"zem_convert", 2, Convert}, {"zem_convert", 3, Convert}, {"zem_convert", 4, Convert},
                           {"zem_add", -1, Add},         {"zem_store", 2, Store},     {"zem_store", 3, Store},
                           {"zem_divisor", 1, Divisor}, {"zem_arithmetic", 2, Arithmetic},
                           {"zem_modulo", 3, Modulo}, {"zem_abs", 1, Abs}, {"zem_xor", 2, Xor},
                           {"zem_chain", -1, Chain}, {"zem_offset_rows", 1, OffsetRows},
                           {"zem_fetch_rows", 1, FetchRows}, {"zem_top_rows", 1, TopRows}};
  for (const Row& row : kRows)
    if (sqlite3_create_function_v2(connection, row.name, row.arguments, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   row.function, nullptr, nullptr, nullptr) != SQLITE_OK)
      throw SqlError(QString::fromUtf8(sqlite3_errmsg(connection)));
}

#include "platform/sql/TextFunctions.h"

#include "platform/Clock.h"
#include "platform/sql/Collation.h"
#include "platform/sql/SqlDates.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlValues.h"

#include <memory>
#include <string>


namespace {

const Collation& CollationOf(sqlite3_context* context) {
  return *static_cast<const Collation*>(sqlite3_user_data(context));
}

bool AnyNull(int count, sqlite3_value** values) {
  for (int i = 0; i < count; ++i)
    if (IsNull(values[i])) return true;
  return false;
}

QString WithoutTrailingBlanks(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == u' ') --end;
  return text.left(end);
}

void Len(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0])) return sqlite3_result_null(context);
  sqlite3_result_int64(context, WithoutTrailingBlanks(TextOf(values[0])).size());
}

// A negative length is refused even of a NULL text, as SQL Server does.
bool NegativeLength(sqlite3_value* length) { return !IsNull(length) && sqlite3_value_int64(length) < 0; }

QString InvalidLength(const char* function) {
  return QStringLiteral("Invalid length parameter passed to the %1 function.").arg(QLatin1String(function));
}

// SUBSTRING counts from 1; a start before 1 eats into the length.
void Substring(sqlite3_context* context, int count, sqlite3_value** values) {
  if (NegativeLength(values[2])) return ResultError(context, InvalidLength("substring"));
  if (AnyNull(count, values)) return sqlite3_result_null(context);
  const QString text = TextOf(values[0]);
  const qint64 start = sqlite3_value_int64(values[1]);
  const qint64 length = sqlite3_value_int64(values[2]);
  const qint64 first = std::max<qint64>(start, 1);
  const qint64 end = std::min<qint64>(start + length, text.size() + 1);
  ResultText(context, end > first ? text.mid(first - 1, end - first) : QString());
}

void LeftOrRight(sqlite3_context* context, sqlite3_value** values, bool left) {
  if (NegativeLength(values[1])) return ResultError(context, InvalidLength(left ? "left" : "right"));
  if (IsNull(values[0]) || IsNull(values[1])) return sqlite3_result_null(context);
  const qint64 length = sqlite3_value_int64(values[1]);
  const QString text = TextOf(values[0]);
  ResultText(context, left ? text.left(length) : text.right(length));
}
// REPLICATE: NULL for a negative count; the result stops at 8,000
// characters, as a text that is not (MAX) does, so no count makes it larger.
void Replicate(sqlite3_context* context, int, sqlite3_value** values) {
  constexpr qint64 kLongest = 8000;
  if (IsNull(values[0]) || IsNull(values[1]) || sqlite3_value_int64(values[1]) < 0)
    return sqlite3_result_null(context);
  const QString text = TextOf(values[0]);
  const qint64 count = text.isEmpty() ? 0 : std::min<qint64>(sqlite3_value_int64(values[1]), kLongest / text.size() + 1);
  ResultText(context, text.repeated(count).left(kLongest));
}

void Left(sqlite3_context* context, int, sqlite3_value** values) { LeftOrRight(context, values, true); }
void Right(sqlite3_context* context, int, sqlite3_value** values) { LeftOrRight(context, values, false); }

void CharIndex(sqlite3_context* context, int count, sqlite3_value** values) {
  if (AnyNull(count, values)) return sqlite3_result_null(context);
  const QString what = TextOf(values[0]);
  if (what.isEmpty()) return sqlite3_result_int(context, 0);
  const qint64 from = count > 2 ? std::max<qint64>(sqlite3_value_int64(values[2]), 1) : 1;
  sqlite3_result_int64(context, CollationOf(context).IndexOf(what, TextOf(values[1]), from - 1) + 1);
}

// An explicit collation (COLLATE in the statement) as the last argument;
// the mapper has checked its name.
const Collation& CollationOf(sqlite3_context* context, int count, sqlite3_value** values, int explicitAt) {
  const Collation* named = count > explicitAt ? Collation::Find(TextOf(values[explicitAt])) : nullptr;
  return named ? *named : CollationOf(context);
}

void Replace(sqlite3_context* context, int count, sqlite3_value** values) {
  if (AnyNull(count, values)) return sqlite3_result_null(context);
  const Collation& collation = CollationOf(context, count, values, 3);
  const QString text = TextOf(values[0]);
  const QString what = TextOf(values[1]);
  const QString with = TextOf(values[2]);
  if (what.isEmpty()) return ResultText(context, text);
  const QString folded = collation.Fold(text);
  const QString foldedWhat = collation.Fold(what);
  QString result;
  qsizetype from = 0;
  for (qsizetype at; (at = folded.indexOf(foldedWhat, from)) >= 0; from = at + what.size())
    result += text.mid(from, at - from) + with;
  ResultText(context, result + text.mid(from));
}

void Upper(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0])) return sqlite3_result_null(context);
  ResultText(context, TextOf(values[0]).toUpper());
}

void Lower(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0])) return sqlite3_result_null(context);
  ResultText(context, TextOf(values[0]).toLower());
}

// ISNUMERIC answers 1 for whatever converts to one of the numeric types:
// a currency sign, a sign, digits with thousands commas, a decimal point, an
// exponent; even a lone sign or point counts.
bool LooksNumeric(const QString& text) {
  qsizetype i = 0;
  auto skip = [&](auto accepts) {
    const qsizetype start = i;
    while (i < text.size() && accepts(text[i])) ++i;
    return i - start;
  };
  const auto isCurrency = [](QChar c) { return c == u'$' || c == u'€' || c == u'£'; };
  const bool leadingCurrency = i < text.size() && isCurrency(text[i]);
  if (leadingCurrency) ++i;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  if (!leadingCurrency && i < text.size() && isCurrency(text[i])) ++i;
  qsizetype digits = skip([](QChar c) { return c.isDigit() || c == u','; });
  if (i < text.size() && text[i] == u'.') ++i;
  digits += skip([](QChar c) { return c.isDigit(); });
  if (digits > 0 && i < text.size() && QStringView(u"eEdD").contains(text[i])) {
    ++i;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
    if (skip([](QChar c) { return c.isDigit(); }) == 0) return false;
  }
  return i == text.size();
}

void IsNumeric(sqlite3_context* context, int, sqlite3_value** values) {
  if (IsNull(values[0])) return sqlite3_result_int(context, 0);
  if (IsNumber(values[0])) return sqlite3_result_int(context, 1);
  const QString text = TextOf(values[0]).trimmed();
  sqlite3_result_int(context, !text.isEmpty() && LooksNumeric(text) ? 1 : 0);
}

void GetDate(sqlite3_context* context, int, sqlite3_value**) {
  ResultText(context, IsoDateTime(ClockSeam::Get().Now()));
}

// The value's text as UTF-16, decoded into a buffer kept for the next row:
// LIKE reads every row of a scan, and allocating for each costs more than
// the match.
QStringView Utf16Of(sqlite3_value* value) {
  thread_local std::u16string buffer;
  const auto* bytes = sqlite3_value_text(value);
  const int size = sqlite3_value_bytes(value);
  buffer.resize(static_cast<std::size_t>(size));
  std::size_t out = 0;
  for (int i = 0; i < size;) {
    const unsigned char lead = bytes[i];
    char32_t code = lead;
    int length = 1;
    if (lead >= 0xF0 && i + 3 < size) {
      code = ((lead & 0x07u) << 18) | ((bytes[i + 1] & 0x3Fu) << 12) | ((bytes[i + 2] & 0x3Fu) << 6) | (bytes[i + 3] & 0x3Fu);
      length = 4;
    } else if (lead >= 0xE0 && i + 2 < size) {
      code = ((lead & 0x0Fu) << 12) | ((bytes[i + 1] & 0x3Fu) << 6) | (bytes[i + 2] & 0x3Fu);
      length = 3;
    } else if (lead >= 0xC0 && i + 1 < size) {
      code = ((lead & 0x1Fu) << 6) | (bytes[i + 1] & 0x3Fu);
      length = 2;
    }
    i += length;
    if (code >= 0x10000) {
      buffer[out++] = static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
      buffer[out++] = static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      buffer[out++] = static_cast<char16_t>(code);
    }
  }
  return QStringView(buffer.data(), static_cast<qsizetype>(out));
}

// The text against a statement's LIKE pattern, read once while it stays
// the same: SQLite keeps it beside the argument only while that argument is
// the same at every row (a literal, a parameter), so a pattern kept is the
// pattern at hand, if read under the same collation and escape.
void MatchPattern(sqlite3_context* context, const Collation& collation, QChar escape, sqlite3_value** values) {
  if (const auto* kept = static_cast<const LikePattern*>(sqlite3_get_auxdata(context, 0));
      kept && kept->ReadWith(collation, escape))
    return sqlite3_result_int(context, kept->Matches(Utf16Of(values[1])) ? 1 : 0);
  auto read = std::make_unique<LikePattern>(collation, TextOf(values[0]), escape);
  sqlite3_result_int(context, read->Matches(Utf16Of(values[1])) ? 1 : 0);
  // SQLite may free it before this returns: nothing uses it after.
  sqlite3_set_auxdata(context, 0, read.release(), [](void* pattern) { delete static_cast<LikePattern*>(pattern); });
}

// zem_like(pattern, text, collation).
void CollatedLike(sqlite3_context* context, int count, sqlite3_value** values) {
  if (AnyNull(count, values)) return sqlite3_result_null(context);
  MatchPattern(context, CollationOf(context, count, values, 2), QChar(), values);
}

void LikeFunction(sqlite3_context* context, int count, sqlite3_value** values) {
  if (AnyNull(count, values)) return sqlite3_result_null(context);
  QChar escape;
  if (count > 2) {
    const QString escapeText = TextOf(values[2]);
    if (escapeText.size() != 1)
      return ResultError(context, QStringLiteral("The invalid escape character \"%1\" was specified in a LIKE predicate.")
                                      .arg(escapeText));
    escape = escapeText[0];
  }
  // like(pattern, text): SQLite hands the pattern first.
  MatchPattern(context, CollationOf(context), escape, values);
}

struct FunctionRow {
  const char* name;
  int arguments;
  void (*function)(sqlite3_context*, int, sqlite3_value**);
  bool deterministic;
};

constexpr FunctionRow kFunctions[] = {
    {"zem_len", 1, Len, true},
    {"zem_substring", 3, Substring, true},
    {"zem_left", 2, Left, true},
    {"zem_right", 2, Right, true},
    {"zem_charindex", 2, CharIndex, true},
    {"zem_charindex", 3, CharIndex, true},
    {"zem_replicate", 2, Replicate, true},
    {"zem_replace", 3, Replace, true},
    {"zem_replace", 4, Replace, true},
    {"zem_like", 3, CollatedLike, true},
    {"zem_upper", 1, Upper, true},
    {"zem_lower", 1, Lower, true},
    {"zem_isnumeric", 1, IsNumeric, true},
    {"zem_getdate", 0, GetDate, false},
    {"like", 2, LikeFunction, true},
    {"like", 3, LikeFunction, true},
};

}  // namespace

void RegisterTextFunctions(sqlite3* connection, const Collation& collation) {
  for (const FunctionRow& row : kFunctions) {
    const int flags = SQLITE_UTF8 | (row.deterministic ? SQLITE_DETERMINISTIC : 0);
    if (sqlite3_create_function_v2(connection, row.name, row.arguments, flags,
                                   const_cast<Collation*>(&collation), row.function, nullptr, nullptr,
                                   nullptr) != SQLITE_OK)
      throw SqlError(QString::fromUtf8(sqlite3_errmsg(connection)));
  }
}

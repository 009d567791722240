#include "core/helpers/TextoSQL.h"

#include "core/helpers/Textos.h"
#include "platform/sql/SqlError.h"
#include "platform/sql/SqlTokenizer.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {

using Tokens = std::vector<SqlToken>;

// A text the engine will refuse anyway (an unclosed quote or comment) is
// rewritten in no way.
std::optional<Tokens> Tokenized(const QString& sql) {
  try {
    return TokenizeSql(sql);
  } catch (const SqlError&) {
    return std::nullopt;
  }
}

bool IsText(const Tokens& tokens, size_t i, SqlTokenKind kind, QStringView text) {
  return i < tokens.size() && tokens[i].kind == kind && tokens[i].text == text;
}

bool EndsInBlank(const Tokens& tokens, size_t i) {
  return i < tokens.size() && tokens[i].Is(SqlTokenKind::Whitespace) && tokens[i].text.endsWith(u' ');
}

// The operator at i compares with the empty text as " <op> ''" is written.
bool ComparesWithEmpty(const Tokens& tokens, size_t i, QStringView op, SqlTokenKind kind = SqlTokenKind::String,
                       QStringView empty = u"''") {
  return i > 0 && IsText(tokens, i, SqlTokenKind::Symbol, op) && EndsInBlank(tokens, i - 1) &&
         IsText(tokens, i + 1, SqlTokenKind::Whitespace, u" ") && IsText(tokens, i + 2, kind, empty);
}

struct EmptyComparison {
  QStringView op;
  QLatin1String widened;  // after "(" + field
};

const EmptyComparison kComparisons[] = {
    {u"=", QLatin1String(" = '' OR %1 IS NULL)")},
    {u"<>", QLatin1String(" <> '' AND %1 IS NOT NULL)")},
};

struct Widening {
  size_t op;  // the field ends at the blank before it, the literal two tokens after it
  const EmptyComparison* comparison;
  size_t fieldBegin = 0;
};

// The field is the run of tokens right before the blank, back to the
// previous blank or parenthesis; none when the blank is not alone.
std::optional<size_t> FieldBegin(const Tokens& tokens, size_t op, size_t floor) {
  const size_t blank = op - 1;
  if (tokens[blank].text.size() != 1) return std::nullopt;
  size_t begin = blank;
  const auto endsField = [&](const SqlToken& token) {
    return token.Is(SqlTokenKind::Whitespace) || token.Is(SqlTokenKind::Open) || token.Is(SqlTokenKind::Close);
  };
  while (begin > floor && !endsField(tokens[begin - 1])) --begin;
  if (begin == blank) return std::nullopt;
  return begin;
}

QString Join(const Tokens& tokens, size_t from, size_t to) {
  QString text;
  for (size_t i = from; i < to; ++i) text += tokens[i].text;
  return text;
}

}  // namespace

QString NombreTablaSQL(const QString& sql) {
  QString text = sql;
  text.replace(QLatin1String("\r\n"), QLatin1String(" "));
  text = text.trimmed().replace(QLatin1String(" FROM "), QLatin1String("|")).trimmed();
  // Blanks right after the FROM do not hide the table.
  const QString afterFrom = ExtraerElemento(1, text, QStringLiteral("|")).trimmed();
  return ExtraerElemento(0, afterFrom, QStringLiteral(" ")).trimmed().toUpper();
}

QString AmpliarComparacionesVacias(const QString& sql) {
  if (!sql.contains(QLatin1String(" = ''")) && !sql.contains(QLatin1String(" <> ''"))) return sql;
  const std::optional<Tokens> tokens = Tokenized(sql);
  if (!tokens) return sql;
  size_t where = tokens->size();
  std::vector<size_t> found[std::size(kComparisons)];
  for (size_t i = 0; i < tokens->size(); ++i) {
    if (where == tokens->size() && (*tokens)[i].IsWord(u"WHERE")) where = i;
    for (size_t k = 0; k < std::size(kComparisons); ++k)
      if (ComparesWithEmpty(*tokens, i, kComparisons[k].op)) found[k].push_back(i);
  }
  if (where == tokens->size()) return sql;
  // A kind whose first comparison lies before the WHERE stays as it is.
  std::vector<Widening> widenings;
  for (size_t k = 0; k < std::size(kComparisons); ++k)
    if (!found[k].empty() && found[k].front() > where)
      for (size_t op : found[k]) widenings.push_back({op, &kComparisons[k]});
  std::sort(widenings.begin(), widenings.end(), [](const Widening& a, const Widening& b) { return a.op < b.op; });
  size_t floor = 0;
  for (Widening& widening : widenings) {
    const std::optional<size_t> begin = FieldBegin(*tokens, widening.op, floor);
    if (!begin) return sql;
    widening.fieldBegin = *begin;
    floor = widening.op + 3;
  }
  QString result;
  result.reserve(sql.size());
  size_t at = 0;
  for (const Widening& widening : widenings) {
    result += Join(*tokens, at, widening.fieldBegin);
    const QString field = Join(*tokens, widening.fieldBegin, widening.op - 1);
    result += u'(' + field + QString(widening.comparison->widened).arg(field);
    at = widening.op + 3;
  }
  return result + Join(*tokens, at, tokens->size());
}

QString ComparacionesConNULL(const QString& sql, bool forzarNULL) {
  // Most texts have nothing to rewrite: they are not read token by token.
  if (!sql.contains(QLatin1String("NULL")) &&
      !(forzarNULL && (sql.contains(QLatin1String("''")) || sql.contains(QLatin1String("\"\"")))))
    return sql;
  const std::optional<Tokens> tokens = Tokenized(sql);
  if (!tokens) return sql;
  const QString isNull = QStringLiteral(" IS NULL ");
  QString result;
  result.reserve(sql.size());
  for (size_t i = 0; i < tokens->size(); ++i) {
    const size_t value = IsText(*tokens, i + 1, SqlTokenKind::Whitespace, u" ") ? i + 2 : i + 1;
    if (IsText(*tokens, i, SqlTokenKind::Symbol, u"=") && IsText(*tokens, value, SqlTokenKind::Word, u"NULL")) {
      result += isNull;
      i = value;
    } else if (forzarNULL && (ComparesWithEmpty(*tokens, i, u"=") ||
                              ComparesWithEmpty(*tokens, i, u"=", SqlTokenKind::QuotedName, u"\"\""))) {
      result.chop(1);  // the blank before the operator
      result += isNull;
      i += 2;
    } else {
      result += (*tokens)[i].text;
    }
  }
  return result;
}

#include "platform/sql/SqlRewrite.h"

#include <algorithm>
#include <limits>

namespace {

// SQL Server's data type precedence, lowest first; NUMERIC ranks as
// DECIMAL and INTEGER as INT.
constexpr QStringView kPrecedence[] = {
    u"BINARY",     u"VARBINARY", u"CHAR",      u"VARCHAR", u"NCHAR", u"NVARCHAR", u"UNIQUEIDENTIFIER",
    u"IMAGE",      u"TEXT",      u"NTEXT",     u"BIT",     u"TINYINT", u"SMALLINT", u"INT",
    u"BIGINT",     u"SMALLMONEY", u"MONEY",    u"DECIMAL", u"REAL",  u"FLOAT",    u"DATE",
    u"SMALLDATETIME", u"DATETIME",
};

int Rank(const SqlType& type) {
  const QString name = type.name == u"INTEGER" ? u"INT"_qs : type.name == u"NUMERIC" ? u"DECIMAL"_qs : type.name;
  for (size_t i = 0; i < std::size(kPrecedence); ++i)
    if (kPrecedence[i] == name) return int(i) + 1;
  return 0;
}

bool IsExactDecimal(const SqlType& type) { return type.name == u"DECIMAL" || type.name == u"NUMERIC"; }

// The digits before the point that a value of an exact number type holds.
std::optional<int> WholeDigits(const SqlType& type) {
  if (type.name == u"BIT") return 1;
  if (type.name == u"TINYINT") return 3;
  if (type.name == u"SMALLINT") return 5;
  if (type.name == u"INT" || type.name == u"INTEGER") return 10;
  if (type.name == u"BIGINT") return 19;
  if (IsExactDecimal(type)) return type.length.value_or(18) - type.scale.value_or(0);
  return std::nullopt;
}

SqlType Named(QStringView name, std::optional<int> length = std::nullopt, std::optional<int> scale = std::nullopt) {
  SqlType type;
  type.name = name.toString();
  type.length = length;
  type.scale = scale;
  return type;
}

// A number as SQL Server types it: a whole number past int's range is a
// NUMERIC of its digits, 2.50 is NUMERIC(3,2), 1e3 a FLOAT.
SqlType NumberType(QStringView text) {
  if (text.contains(u'e', Qt::CaseInsensitive)) return Named(u"FLOAT");
  const qsizetype point = text.indexOf(u'.');
  QStringView whole = point < 0 ? text : text.first(point);
  while (whole.startsWith(u'0')) whole = whole.mid(1);
  const int scale = point < 0 ? 0 : int(text.size() - point - 1);
  if (point < 0) {
    bool ok = whole.isEmpty();  // zeros alone
    const qint64 value = ok ? 0 : whole.toLongLong(&ok);
    if (ok && value <= std::numeric_limits<qint32>::max()) return Named(u"INT");
  }
  return Named(u"NUMERIC", std::clamp(int(whole.size()) + scale, std::max(scale, 1), 38), scale);
}

SqlType StringType(const SqlToken& token) {
  const bool national = token.text.startsWith(u'N') || token.text.startsWith(u'n');
  return Named(national ? u"NVARCHAR" : u"VARCHAR", std::max<int>(1, int(token.Value().size())));
}

bool IsSign(const SqlNode& node) {
  return node.token.IsSymbol(u"-") || node.token.IsSymbol(u"+") || node.token.IsSymbol(u"~");
}

// Where an operand starting at nodes[at] ends (one past it): a literal, a
// column, a call, a parenthesis or a CASE; nothing for anything else.
std::optional<size_t> OperandEnd(const SqlNodes& nodes, size_t at, size_t end) {
  const SqlNode& node = nodes[at];
  if (node.kind != SqlNode::Kind::Token || node.Is(SqlTokenKind::String) || node.Is(SqlTokenKind::Number) ||
      node.Is(SqlTokenKind::Variable) || node.IsWord(u"NULL"))
    return at + 1;
  const bool function = node.IsWord(u"LEFT") || node.IsWord(u"RIGHT");
  if (!IsNameNode(node) && !function) return std::nullopt;
  const size_t chainEnd = function ? at + 1 : ReadChain(nodes, at).end;
  const size_t after = NextSignificant(nodes, chainEnd);
  return after < end && nodes[after].IsGroup() ? after + 1 : chainEnd;
}

std::optional<SqlType> ArgumentType(const std::vector<SqlNodes>& arguments, size_t i, const SqlObjects& objects) {
  if (i >= arguments.size()) return std::nullopt;
  return ExpressionType(arguments[i], 0, arguments[i].size(), objects);
}

// The type of an aggregate's sum: int for the smaller whole numbers,
// DECIMAL(38, s) for a decimal, FLOAT for an approximate number.
std::optional<SqlType> SumType(const std::optional<SqlType>& argument) {
  if (!argument) return std::nullopt;
  if (argument->name == u"BIGINT") return Named(u"BIGINT");
  if (argument->IsInteger()) return Named(u"INT");
  if (IsExactDecimal(*argument)) return Named(argument->name, 38, argument->scale.value_or(0));
  if (argument->name == u"REAL") return Named(u"FLOAT");
  if (argument->IsDecimal()) return Named(argument->name);
  return std::nullopt;
}

}  // namespace

std::optional<SqlType> CallType(const QString& name, const SqlNodes& arguments, const SqlObjects& objects) {
  auto is = [&](QStringView function) { return name.compare(function, Qt::CaseInsensitive) == 0; };
  if (is(u"CAST")) {
    for (size_t i = arguments.size(); i-- > 0;)
      if (arguments[i].IsWord(u"AS")) return SqlType::Parse(RenderSql(arguments, i + 1).trimmed());
    return std::nullopt;
  }
  const std::vector<SqlNodes> parts = SplitAtCommas(arguments);
  if (is(u"CONVERT")) return SqlType::Parse(RenderSql(parts.front()).trimmed());
  if (is(u"ISNULL") || is(u"NULLIF") || is(u"ABS") || is(u"MIN") || is(u"MAX")) return ArgumentType(parts, 0, objects);
  if (is(u"COALESCE")) {
    std::vector<std::optional<SqlType>> types;
    for (size_t i = 0; i < parts.size(); ++i) {
      types.push_back(ArgumentType(parts, i, objects));
      const size_t first = NextSignificant(parts[i], 0);
      const bool null = first < parts[i].size() && parts[i][first].IsWord(u"NULL");
      if (!types.back() && !null) return std::nullopt;
    }
    return HighestType(types);
  }
  if (is(u"SUM") || is(u"AVG")) {
    size_t begin = NextSignificant(arguments, 0);
    if (begin < arguments.size() && (arguments[begin].IsWord(u"DISTINCT") || arguments[begin].IsWord(u"ALL"))) ++begin;
    const std::optional<SqlType> sum = SumType(ExpressionType(arguments, begin, arguments.size(), objects));
    // An average of decimals keeps at least six decimal places.
    if (is(u"AVG") && sum && IsExactDecimal(*sum)) return Named(sum->name, 38, std::max(6, sum->scale.value_or(0)));
    return sum;
  }
  if (is(u"COUNT") || is(u"LEN") || is(u"CHARINDEX") || is(u"ISNUMERIC")) return Named(u"INT");
  if (is(u"REPLICATE")) {
    const std::optional<SqlType> text = ArgumentType(parts, 0, objects);
    return Named(text && text->name.startsWith(u'N') ? u"NVARCHAR" : u"VARCHAR", 8000);
  }
  if (is(u"GETDATE")) return Named(u"DATETIME");
  static constexpr QStringView kTextFunctions[] = {u"SUBSTRING", u"LEFT",  u"RIGHT", u"UPPER",
                                                   u"LOWER",     u"LTRIM", u"RTRIM", u"REPLACE"};
  if (std::any_of(std::begin(kTextFunctions), std::end(kTextFunctions), is)) {
    const std::optional<SqlType> text = ArgumentType(parts, 0, objects);
    return text && text->IsText() ? *text : Named(u"VARCHAR", 8000);
  }
  return std::nullopt;
}

namespace {

// A subquery's one column: the expression of its select list.
std::optional<SqlType> SubqueryType(const SqlNodes& nodes, size_t select, const SqlObjects& objects) {
  size_t begin = NextSignificant(nodes, select + 1);
  if (begin < nodes.size() && (nodes[begin].IsWord(u"DISTINCT") || nodes[begin].IsWord(u"ALL")))
    begin = NextSignificant(nodes, begin + 1);
  if (begin < nodes.size() && nodes[begin].IsWord(u"TOP")) begin = NextSignificant(nodes, NextSignificant(nodes, begin + 1) + 1);
  size_t end = begin;
  while (end < nodes.size() && !nodes[end].IsWord(u"FROM") && !nodes[end].IsWord(u"AS") && !nodes[end].IsWord(u"UNION")) {
    if (nodes[end].Is(SqlTokenKind::Comma)) return std::nullopt;
    ++end;
  }
  return ExpressionType(nodes, begin, end, objects);
}

std::optional<SqlType> OperandType(const SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects) {
  const SqlNode& node = nodes[begin];
  if (node.kind == SqlNode::Kind::Case) return HighestType(CaseResultTypes(node.children, objects));
  if (node.IsGroup()) {
    const size_t first = NextSignificant(node.children, 0);
    if (first < node.children.size() && node.children[first].IsWord(u"SELECT"))
      return SubqueryType(node.children, first, objects);
    return ExpressionType(node.children, 0, node.children.size(), objects);
  }
  if (node.kind != SqlNode::Kind::Token) return std::nullopt;
  if (node.Is(SqlTokenKind::Number)) return NumberType(node.token.text);
  if (node.Is(SqlTokenKind::String)) return StringType(node.token);
  const size_t last = PreviousSignificant(nodes, end);
  if (nodes[last].IsGroup()) {
    if (PreviousSignificant(nodes, last) != begin) return std::nullopt;  // a call with a dotted name
    return CallType(node.token.text.toString(), nodes[last].children, objects);
  }
  if (!IsNameNode(node)) return std::nullopt;
  const std::optional<SqlColumn> column = objects.ColumnOf(ReadChain(nodes, begin));
  return column ? std::optional<SqlType>(column->type) : std::nullopt;
}

}  // namespace

std::optional<ArithmeticTerms> ReadArithmetic(const SqlNodes& nodes, size_t begin, size_t end) {
  ArithmeticTerms terms;
  size_t at = NextSignificant(nodes, begin);
  while (at < end) {
    while (at < end && nodes[at].Is(SqlTokenKind::Symbol) && IsSign(nodes[at])) at = NextSignificant(nodes, at + 1);
    if (at >= end) return std::nullopt;
    const std::optional<size_t> operandEnd = OperandEnd(nodes, at, end);
    if (!operandEnd) return std::nullopt;
    terms.operands.emplace_back(at, *operandEnd);
    const size_t next = NextSignificant(nodes, *operandEnd);
    if (next >= end) {
      terms.end = *operandEnd;
      return terms;
    }
    if (IsArithmeticOperator(nodes[next])) {
      terms.operators.push_back(next);
      at = NextSignificant(nodes, next + 1);
    } else if (IsNameNode(nodes[next]) && NextSignificant(nodes, next + 1) >= end) {
      terms.end = *operandEnd;  // a select item's bare alias
      return terms;
    } else {
      return std::nullopt;
    }
  }
  return std::nullopt;
}

bool IsArithmeticOperator(const SqlNode& node) {
  static constexpr QStringView kOperators[] = {u"+", u"-", u"*", u"/", u"%", u"&", u"|", u"^"};
  return node.Is(SqlTokenKind::Symbol) &&
         std::any_of(std::begin(kOperators), std::end(kOperators), [&](QStringView op) { return node.token.text == op; });
}

std::vector<std::optional<SqlType>> OperandTypes(const SqlNodes& nodes, const ArithmeticTerms& terms,
                                                 const SqlObjects& objects) {
  std::vector<std::optional<SqlType>> types;
  for (const auto& [begin, end] : terms.operands) types.push_back(OperandType(nodes, begin, end, objects));
  return types;
}

std::optional<SqlType> ExpressionType(const SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects) {
  const std::optional<ArithmeticTerms> terms = ReadArithmetic(nodes, begin, end);
  if (!terms) return std::nullopt;
  const std::vector<std::optional<SqlType>> types = OperandTypes(nodes, *terms, objects);
  if (std::any_of(types.begin(), types.end(), [](const auto& type) { return !type; })) return std::nullopt;
  return types.size() == 1 ? types.front() : HighestType(types);
}

std::vector<std::pair<size_t, size_t>> CaseResults(const SqlNodes& children) {
  std::vector<std::pair<size_t, size_t>> results;
  std::optional<size_t> start;
  for (size_t i = 0; i < children.size(); ++i) {
    const SqlNode& node = children[i];
    const bool ends = node.IsWord(u"WHEN") || node.IsWord(u"ELSE") || node.IsWord(u"END");
    if (ends && start) results.emplace_back(*start, i);
    if (ends) start.reset();
    if (node.IsWord(u"THEN") || node.IsWord(u"ELSE")) start = i + 1;
  }
  return results;
}

std::vector<std::optional<SqlType>> CaseResultTypes(const SqlNodes& children, const SqlObjects& objects) {
  std::vector<std::optional<SqlType>> types;
  for (const auto& [begin, end] : CaseResults(children)) types.push_back(ExpressionType(children, begin, end, objects));
  return types;
}

int TypeFamily(const SqlType& type) {
  if (type.IsDate()) return 5;
  if (type.name == u"FLOAT" || type.name == u"REAL") return 4;
  if (type.IsDecimal()) return 3;
  if (type.IsInteger()) return 2;
  return type.IsText() ? 1 : 0;
}

bool TakesHigherType(const SqlType& own, const SqlType& highest) {
  const int from = TypeFamily(own), to = TypeFamily(highest);
  return to > 1 && from > 0 && from < to && (from == 1 || to <= 4);
}

std::optional<SqlType> HighestType(const std::vector<std::optional<SqlType>>& types) {
  std::optional<SqlType> highest;
  for (const std::optional<SqlType>& type : types)
    if (type && (!highest || Rank(*type) > Rank(*highest))) highest = type;
  if (!highest || !IsExactDecimal(*highest)) return highest;
  // Wide enough for every exact number given with it, as SQL Server sizes
  // it: DECIMAL(8,3) with an INT is DECIMAL(13,3).
  int whole = 0, scale = 0;
  for (const std::optional<SqlType>& type : types) {
    if (!type) continue;
    if (const std::optional<int> digits = WholeDigits(*type)) {
      whole = std::max(whole, *digits);
      if (!type->IsInteger()) scale = std::max(scale, type->scale.value_or(0));
    }
  }
  return Named(highest->name, std::min(38, whole + scale), scale);
}

QString TypeText(const SqlType& type) {
  if (!type.length) return type.name;
  const QString length = *type.length == SqlType::kMax ? u"MAX"_qs : QString::number(*type.length);
  return type.scale ? QStringLiteral("%1(%2,%3)").arg(type.name, length).arg(*type.scale)
                    : QStringLiteral("%1(%2)").arg(type.name, length);
}

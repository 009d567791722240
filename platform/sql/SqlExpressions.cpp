#include "platform/sql/SqlRewrite.h"

#include "platform/sql/SqlError.h"

#include <algorithm>

namespace {

// SQL Server's functions the system's statements use, with their SQLite
// counterparts; any other function is refused.
struct FunctionRow {
  QStringView name;
  QStringView target;
  int minArguments;
  int maxArguments;
};

constexpr FunctionRow kFunctions[] = {
    {u"ISNULL", u"ifnull", 2, 2},           {u"GETDATE", u"zem_getdate", 0, 0},
    {u"ISNUMERIC", u"zem_isnumeric", 1, 1}, {u"CHARINDEX", u"zem_charindex", 2, 3},
    {u"LEN", u"zem_len", 1, 1},             {u"SUBSTRING", u"zem_substring", 3, 3},
    {u"LEFT", u"zem_left", 2, 2},           {u"RIGHT", u"zem_right", 2, 2},
    {u"UPPER", u"zem_upper", 1, 1},         {u"LOWER", u"zem_lower", 1, 1},
    {u"REPLACE", u"zem_replace", 3, 3},     {u"LTRIM", u"ltrim", 1, 1},
    {u"RTRIM", u"rtrim", 1, 1},             {u"COALESCE", u"coalesce", 2, 100},
    {u"NULLIF", u"nullif", 2, 2},           {u"ABS", u"zem_abs", 1, 1},
    {u"COUNT", u"count", 1, 1},             {u"SUM", u"sum", 1, 1},
    {u"MIN", u"min", 1, 1},                 {u"MAX", u"max", 1, 1},
    {u"AVG", u"avg", 1, 1},                 {u"REPLICATE", u"zem_replicate", 2, 2},
};

const FunctionRow* FindFunction(const QString& name) {
  for (const FunctionRow& row : kFunctions)
    if (name.compare(row.name, Qt::CaseInsensitive) == 0) return &row;
  return nullptr;
}

int ArgumentCount(const SqlNodes& arguments) {
  return NextSignificant(arguments, 0) == arguments.size() ? 0 : int(SplitAtCommas(arguments).size());
}

QString RenderArgument(SqlNodes argument, const SqlObjects& objects) {
  RewriteExpressions(argument, objects);
  return RenderSql(argument).trimmed();
}

// A text becomes a date in the session's order: its date format follows
// the style (NULL when none was given).
QString DateFormatArguments(const QString& type, int arguments, const SqlObjects& objects) {
  if (!SqlType::Parse(type).IsDate()) return {};
  return (arguments < 3 ? QStringLiteral(", NULL, ") : QStringLiteral(", ")) +
         QuoteSqlString(objects.Context().dateFormat);
}

std::optional<SqlType> TypeOf(const SqlNodes& value, const SqlObjects& objects) {
  return ExpressionType(value, 0, value.size(), objects);
}

bool IsMoney(const std::optional<SqlType>& type) { return type && type->name.endsWith(u"MONEY"); }

// MONEY becomes a whole number rounded, where SQLite would truncate it.
QString ConvertedValue(const SqlType& target, const SqlNodes& value, const SqlObjects& objects) {
  const QString rendered = RenderArgument(value, objects);
  return target.IsInteger() && IsMoney(TypeOf(value, objects)) ? u"round("_qs + rendered + u')' : rendered;
}

bool IsNullConstant(const SqlNodes& value) {
  const size_t first = NextSignificant(value, 0);
  return first < value.size() && value[first].IsWord(u"NULL") && NextSignificant(value, first + 1) == value.size();
}

// COALESCE converts an argument to the type of higher precedence that
// another argument is written in; SQLite would hand each back as it is.
QString RewriteCoalesce(const SqlNodes& arguments, const SqlObjects& objects) {
  const std::vector<SqlNodes> parts = SplitAtCommas(arguments);
  if (std::all_of(parts.begin(), parts.end(), IsNullConstant))
    throw SqlError(QStringLiteral("At least one of the arguments to COALESCE must be an expression that is not the "
                                  "NULL constant."));
  std::vector<std::optional<SqlType>> types;
  for (const SqlNodes& part : parts) types.push_back(TypeOf(part, objects));
  const std::optional<SqlType> highest = HighestType(types);
  QStringList rendered;
  for (size_t i = 0; i < parts.size(); ++i) {
    const QString value = RenderArgument(parts[i], objects);
    rendered << (highest && types[i] && TakesHigherType(*types[i], *highest) ? ConversionCall(*highest, value, objects)
                                                                              : value);
  }
  return u"coalesce("_qs + rendered.join(u", ") + u')';
}

// ISNULL answers in its first argument's type: the replacement is
// converted to it (a text cut to its length), unless it already is of it.
QString RewriteIsNull(const SqlNodes& arguments, const SqlObjects& objects) {
  const std::vector<SqlNodes> parts = SplitAtCommas(arguments);
  const std::optional<SqlType> checked = TypeOf(parts[0], objects);
  const std::optional<SqlType> replacement = TypeOf(parts[1], objects);
  const bool same = replacement && checked && TypeText(*replacement) == TypeText(*checked);
  const bool fits = replacement && checked && replacement->IsText() && checked->IsText() && checked->length &&
                    replacement->length &&
                    (*checked->length == SqlType::kMax ||
                     (*replacement->length != SqlType::kMax && *replacement->length <= *checked->length));
  // A lone rewritten node is a literal already converted to the column's
  // type (RewriteComparedLiterals).
  const size_t first = NextSignificant(parts[1], 0);
  const bool converted = first < parts[1].size() && parts[1][first].kind == SqlNode::Kind::Text &&
                         NextSignificant(parts[1], first + 1) == parts[1].size();
  const bool converts = checked && TypeFamily(*checked) > 0 && !same && !fits && !converted && !IsNullConstant(parts[1]);
  const QString value = converts ? ConversionCall(*checked, ConvertedValue(*checked, parts[1], objects), objects)
                                 : RenderArgument(parts[1], objects);
  return QStringLiteral("ifnull(%1, %2)").arg(RenderArgument(parts[0], objects), value);
}

QString RewriteCast(const SqlNodes& arguments, const SqlObjects& objects) {
  size_t as = arguments.size();
  for (size_t i = 0; i < arguments.size(); ++i)
    if (arguments[i].IsWord(u"AS")) as = i;
  if (as == arguments.size()) throw SqlError(QStringLiteral("Incorrect syntax near 'CAST', expected 'AS'."));
  const SqlNodes value(arguments.begin(), arguments.begin() + qsizetype(as));
  const QString type = RenderSql(arguments, as + 1).trimmed();
  return QStringLiteral("zem_convert(%1, %2%3)")
      .arg(QuoteSqlString(type), ConvertedValue(SqlType::Parse(type), value, objects),
           DateFormatArguments(type, 2, objects));
}

QString RewriteConvert(const SqlNodes& arguments, const SqlObjects& objects) {
  const std::vector<SqlNodes> parts = SplitAtCommas(arguments);
  if (parts.size() < 2 || parts.size() > 3)
    throw SqlError(QStringLiteral("The convert function requires 2 to 3 arguments."));
  QString call = QStringLiteral("zem_convert(%1").arg(QuoteSqlString(RenderSql(parts[0]).trimmed()));
  for (size_t i = 1; i < parts.size(); ++i)
    call += QStringLiteral(", ") +
            (i == 1 ? ConvertedValue(SqlType::Parse(RenderSql(parts[0])), parts[i], objects) : RenderArgument(parts[i], objects));
  return call + DateFormatArguments(RenderSql(parts[0]), int(parts.size()), objects) + u')';
}

QString RewriteCall(const QString& name, const SqlNode& group, const SqlObjects& objects) {
  if (name.compare(u"CAST", Qt::CaseInsensitive) == 0) return RewriteCast(group.children, objects);
  if (name.compare(u"CONVERT", Qt::CaseInsensitive) == 0) return RewriteConvert(group.children, objects);
  if (name.compare(u"COALESCE", Qt::CaseInsensitive) == 0 && ArgumentCount(group.children) >= 2)
    return RewriteCoalesce(group.children, objects);
  if (name.compare(u"ISNULL", Qt::CaseInsensitive) == 0 && ArgumentCount(group.children) == 2)
    return RewriteIsNull(group.children, objects);
  const FunctionRow* row = FindFunction(name);
  if (!row) throw SqlError(QStringLiteral("'%1' is not a recognized built-in function name.").arg(name));
  const int count = ArgumentCount(group.children);
  if (count < row->minArguments || count > row->maxArguments)
    throw SqlError(QStringLiteral("The %1 function requires %2 argument(s).")
                       .arg(name.toLower(), row->minArguments == row->maxArguments
                                                ? QString::number(row->minArguments)
                                                : QStringLiteral("%1 to %2").arg(row->minArguments).arg(row->maxArguments)));
  // REPLACE(a, b COLLATE c, d) replaces under that collation.
  SqlNodes arguments = group.children;
  const QString collation = row->name == u"REPLACE" ? TakeCollation(arguments) : QString();
  const QString rendered = RenderArgument(arguments, objects);
  // The average of whole numbers is a whole number, truncated, as SQL
  // Server divides their sum.
  if (row->name == u"AVG")
    if (const std::optional<SqlType> type = CallType(name, arguments, objects); type && type->IsInteger())
      return QStringLiteral("(sum(%1) / count(%1))").arg(rendered);
  const QString call = row->target.toString() + u'(' + rendered +
                       (collation.isEmpty() ? QString() : u", "_qs + QuoteSqlString(collation)) + u')';
  // A sum of whole numbers is an int (a bigint's a bigint), and ABS keeps
  // its argument's type, which SQL Server refuses past its range.
  const bool checked = row->name == u"SUM" || row->name == u"ABS";
  const std::optional<SqlType> type = checked ? CallType(name, arguments, objects) : std::nullopt;
  if (type && type->IsInteger() && type->name != u"BIT" && type->name != u"BIGINT")
    return QStringLiteral("zem_arithmetic(%1, %2)").arg(QuoteSqlString(TypeText(*type)), call);
  return call;
}

bool IsNamePart(const SqlNode& node) {
  return node.Is(SqlTokenKind::QuotedName) || (node.Is(SqlTokenKind::Word) && !IsKeyword(node));
}

// A table hint: only NOLOCK, which SQLite's readers need not ask for.
void RemoveTableHint(SqlNodes& nodes, size_t with, size_t group) {
  const SqlNodes& hint = nodes[group].children;
  const size_t word = NextSignificant(hint, 0);
  if (word == hint.size() || !hint[word].IsWord(u"NOLOCK") || NextSignificant(hint, word + 1) != hint.size())
    Unsupported(QStringLiteral("WITH ") + RenderSql(nodes[group]));
  nodes.erase(nodes.begin() + qsizetype(with) + 1, nodes.begin() + qsizetype(group) + 1);
  nodes[with] = SqlNode::Rewritten(QString());
}

// The rest is blanked, not erased: erasing would move the whole tail of a
// long statement for every name.
void Replace(SqlNodes& nodes, size_t begin, size_t end, QString text) {
  for (size_t i = begin + 1; i < end; ++i) nodes[i] = SqlNode{};
  nodes[begin] = SqlNode::Rewritten(std::move(text));
}

// A CASE answers in the type of highest precedence among its results: a
// result of a lower type is converted to it, as SQL Server converts it.
void RewriteCase(SqlNode& node, const SqlObjects& objects) {
  const std::vector<std::optional<SqlType>> types = CaseResultTypes(node.children, objects);
  const std::optional<SqlType> highest = HighestType(types);
  RewriteExpressions(node.children, objects);
  const std::vector<std::pair<size_t, size_t>> results = CaseResults(node.children);
  if (!highest || results.size() != types.size()) return;
  for (size_t k = results.size(); k-- > 0;) {
    if (!types[k] || !TakesHigherType(*types[k], *highest)) continue;
    const size_t first = NextSignificant(node.children, results[k].first);
    const size_t end = PreviousSignificant(node.children, results[k].second) + 1;
    Replace(node.children, first, end, ConversionCall(*highest, RenderSql(node.children, first, end).trimmed(), objects));
  }
}

}  // namespace

QString ConversionCall(const SqlType& type, const QString& value, const SqlObjects& objects) {
  return QStringLiteral("zem_convert(%1, %2%3)")
      .arg(QuoteSqlString(TypeText(type)), value, DateFormatArguments(TypeText(type), 2, objects));
}

QString RewriteLiteral(const SqlToken& token) {
  return (token.text.startsWith(u'\'') ? token.text : token.text.mid(1)).toString();
}

void RewriteExpressions(SqlNodes& nodes, const SqlObjects& objects, TablePositions positions) {
  GroupJoinChains(nodes);
  RewriteSetOperationTypes(nodes, objects);
  RewriteOffset(nodes);
  RewriteTop(nodes);
  RewriteComparedLiterals(nodes, objects);
  RewriteCollatedLike(nodes);
  RewritePrefixLike(nodes, objects);
  RewriteArithmeticTypes(nodes, objects);
  bool selectSeen = false;
  for (size_t i = 0; i < nodes.size(); ++i) {
    SqlNode& node = nodes[i];
    const bool isTable = node.IsSignificant() && positions.Next(node);
    selectSeen = selectSeen || node.IsWord(u"SELECT");
    // The table it makes would not keep its columns' types: SQLite's
    // CREATE TABLE ... AS gives them its own.
    if (selectSeen && node.IsWord(u"INTO")) Unsupported(QStringLiteral("SELECT ... INTO"));
    if (node.kind == SqlNode::Kind::Case) {
      RewriteCase(node, objects);
      continue;
    }
    if (node.kind == SqlNode::Kind::Group) {
      RewriteExpressions(node.children, objects, TablePositions::Inside(node, isTable));
      continue;
    }
    if (node.kind != SqlNode::Kind::Token) continue;
    const SqlToken& token = node.token;
    if (token.kind == SqlTokenKind::Variable) Unsupported(token.text.toString());
    if (token.kind == SqlTokenKind::String) {
      node = SqlNode::Rewritten(RewriteLiteral(token));
      continue;
    }
    const size_t next = NextSignificant(nodes, i + 1);
    const bool groupFollows = next < nodes.size() && nodes[next].IsGroup();
    if (token.IsWord(u"WITH")) {
      if (!groupFollows) Unsupported(QStringLiteral("WITH"));
      RemoveTableHint(nodes, i, next);
      continue;
    }
    if (token.IsWord(u"COLLATE")) {
      RewriteCollation(nodes, i);
      continue;
    }
    if (token.IsWord(u"CURRENT_TIMESTAMP")) {
      node = SqlNode::Rewritten(QStringLiteral("zem_getdate()"));
      continue;
    }
    const bool functionKeyword = (token.IsWord(u"LEFT") || token.IsWord(u"RIGHT")) && groupFollows;
    if (!IsNamePart(node) && !functionKeyword) continue;
    const SqlChain chain = ReadChain(nodes, i);
    const size_t afterChain = NextSignificant(nodes, chain.end);
    if (chain.names.size() == 1 && token.kind == SqlTokenKind::Word && afterChain < nodes.size() &&
        nodes[afterChain].IsGroup() && !isTable) {
      Replace(nodes, i, afterChain + 1, RewriteCall(token.text.toString(), nodes[afterChain], objects));
    } else if (chain.names.size() > 1 && afterChain < nodes.size() && nodes[afterChain].IsGroup() && !isTable) {
      Unsupported(chain.written.join(u'.') + QStringLiteral("()"));
    } else {
      Replace(nodes, chain.begin, chain.end,
              isTable ? RenderTableChain(chain, objects) : RenderChain(chain, objects));
    }
  }
  RewriteDivisions(nodes);
  RewriteConcatenation(nodes);
  GroupIntersections(nodes);
}

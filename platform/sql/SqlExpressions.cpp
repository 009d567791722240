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
    {u"NULLIF", u"nullif", 2, 2},           {u"ABS", u"abs", 1, 1},
    {u"COUNT", u"count", 1, 1},             {u"SUM", u"sum", 1, 1},
    {u"MIN", u"min", 1, 1},                 {u"MAX", u"max", 1, 1},
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

// The type of a value the statement writes as a literal, a column or a
// conversion; nothing for any other expression.
std::optional<QString> WrittenType(const SqlNodes& value, const SqlObjects& objects) {
  const size_t first = NextSignificant(value, 0);
  const size_t last = PreviousSignificant(value, value.size());
  if (first >= value.size()) return std::nullopt;
  if (first == last && value[first].Is(SqlTokenKind::String)) return QStringLiteral("VARCHAR");
  if (first == last && value[first].Is(SqlTokenKind::Number))
    return value[first].token.text.contains(u'.') ? QStringLiteral("NUMERIC(38,10)") : QStringLiteral("INT");
  if (value[last].IsGroup() && PreviousSignificant(value, last) == first) {
    const SqlNodes& inside = value[last].children;
    if (value[first].IsWord(u"CONVERT")) return RenderSql(SplitAtCommas(inside).front()).trimmed();
    if (!value[first].IsWord(u"CAST")) return std::nullopt;
    for (size_t i = inside.size(); i-- > 0;)
      if (inside[i].IsWord(u"AS")) return RenderSql(inside, i + 1).trimmed();
    return std::nullopt;
  }
  const std::optional<SqlChain> chain = ChainEndingAt(value, last);
  if (!chain || chain->begin != first) return std::nullopt;
  const std::optional<SqlColumn> column = objects.ColumnOf(*chain);
  return column ? std::optional<QString>(column->declared) : std::nullopt;
}

bool IsMoney(const std::optional<QString>& type) { return type && SqlType::Parse(*type).name.endsWith(u"MONEY"); }

// MONEY becomes a whole number rounded, where SQLite would truncate it.
QString ConvertedValue(const SqlType& target, const SqlNodes& value, const SqlObjects& objects) {
  const QString rendered = RenderArgument(value, objects);
  return target.IsInteger() && IsMoney(WrittenType(value, objects)) ? u"round("_qs + rendered + u')' : rendered;
}

// SQL Server's order of types, the highest of which COALESCE answers in.
int Precedence(const SqlType& type) {
  if (type.IsDate()) return 5;
  if (type.name == u"FLOAT" || type.name == u"REAL") return 4;
  if (type.IsDecimal()) return 3;
  if (type.IsInteger()) return 2;
  return type.IsText() ? 1 : 0;
}

bool IsNullConstant(const SqlNodes& value) {
  const size_t first = NextSignificant(value, 0);
  return first < value.size() && value[first].IsWord(u"NULL") && NextSignificant(value, first + 1) == value.size();
}

// The digits before the point that a value of an exact number type holds.
std::optional<int> WholeDigits(const SqlType& type) {
  if (type.name == u"BIT") return 1;
  if (type.name == u"TINYINT") return 3;
  if (type.name == u"SMALLINT") return 5;
  if (type.name == u"INT" || type.name == u"INTEGER") return 10;
  if (type.name == u"BIGINT") return 19;
  if (type.name == u"DECIMAL" || type.name == u"NUMERIC") return type.length.value_or(18) - type.scale.value_or(0);
  return std::nullopt;
}

// A decimal answer is wide enough for every exact number given with it, as
// SQL Server sizes it: COALESCE(DECIMAL(8,3), INT) is DECIMAL(13,3).
QString WidenedDecimal(const QString& highest, const std::vector<std::optional<QString>>& types) {
  const SqlType top = SqlType::Parse(highest);
  if (top.name != u"DECIMAL" && top.name != u"NUMERIC") return highest;
  int whole = 0, scale = 0;
  for (const std::optional<QString>& written : types) {
    if (!written) continue;
    const SqlType type = SqlType::Parse(*written);
    if (const std::optional<int> digits = WholeDigits(type)) {
      whole = std::max(whole, *digits);
      if (!type.IsInteger()) scale = std::max(scale, type.scale.value_or(0));
    }
  }
  return QStringLiteral("%1(%2,%3)").arg(top.name).arg(std::min(38, whole + scale)).arg(scale);
}

// COALESCE converts a text argument to the type of higher precedence that
// another argument is written in; SQLite would hand each back as it is.
QString RewriteCoalesce(const SqlNodes& arguments, const SqlObjects& objects) {
  const std::vector<SqlNodes> parts = SplitAtCommas(arguments);
  if (std::all_of(parts.begin(), parts.end(), IsNullConstant))
    throw SqlError(QStringLiteral("At least one of the arguments to COALESCE must be an expression that is not the "
                                  "NULL constant."));
  std::vector<std::optional<QString>> types;
  std::optional<QString> highest;
  for (const SqlNodes& part : parts) {
    types.push_back(WrittenType(part, objects));
    if (types.back() && (!highest || Precedence(SqlType::Parse(*types.back())) > Precedence(SqlType::Parse(*highest))))
      highest = types.back();
  }
  const int top = highest ? Precedence(SqlType::Parse(*highest)) : 0;
  if (highest) highest = WidenedDecimal(*highest, types);
  QStringList rendered;
  for (size_t i = 0; i < parts.size(); ++i) {
    const QString value = RenderArgument(parts[i], objects);
    const int own = types[i] ? Precedence(SqlType::Parse(*types[i])) : 0;
    // A text takes any higher type; a number only a higher number's.
    const bool converts = top > 1 && own > 0 && own < top && (own == 1 || top <= 4);
    rendered << (converts ? QStringLiteral("zem_convert(%1, %2%3)")
                                .arg(QuoteSqlString(*highest), value, DateFormatArguments(*highest, 2, objects))
                          : value);
  }
  return u"coalesce("_qs + rendered.join(u", ") + u')';
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
  return row->target.toString() + u'(' + RenderArgument(arguments, objects) +
         (collation.isEmpty() ? QString() : u", "_qs + QuoteSqlString(collation)) + u')';
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

}  // namespace

QString RewriteLiteral(const SqlToken& token) {
  return (token.text.startsWith(u'\'') ? token.text : token.text.mid(1)).toString();
}

void RewriteExpressions(SqlNodes& nodes, const SqlObjects& objects) {
  RewriteOffset(nodes);
  RewriteTop(nodes);
  RewriteComparedLiterals(nodes, objects);
  RewriteCollatedLike(nodes);
  RewritePrefixLike(nodes, objects);
  TablePositions positions;
  for (size_t i = 0; i < nodes.size(); ++i) {
    SqlNode& node = nodes[i];
    const bool isTable = node.IsSignificant() && positions.Next(node);
    if (node.kind == SqlNode::Kind::Group || node.kind == SqlNode::Kind::Case) {
      RewriteExpressions(node.children, objects);
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
}

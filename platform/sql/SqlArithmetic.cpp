#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"

#include <algorithm>

namespace {

using Types = std::vector<std::optional<SqlType>>;

bool IsMultiplicative(const SqlNode& node) {
  return node.token.IsSymbol(u"*") || node.token.IsSymbol(u"/") || node.token.IsSymbol(u"%");
}

// The highest of types[from, to); nothing when one of them is not known.
std::optional<SqlType> KnownHighest(const Types& types, size_t from, size_t to) {
  const Types part(types.begin() + qsizetype(from), types.begin() + qsizetype(to));
  if (std::any_of(part.begin(), part.end(), [](const auto& type) { return !type; })) return std::nullopt;
  return HighestType(part);
}

SqlNode Token(SqlTokenKind kind, QStringView text) { return SqlNode{SqlNode::Kind::Token, {kind, text}, {}, {}}; }

// a % b becomes zem_modulo(a, b, scale): the operands of the left side
// bound to the "%" (a * b % c) and the operand after it, which the group's
// own rewriting then types again.
void ReplaceModulo(SqlNodes& nodes, size_t leftBegin, size_t at, size_t rightEnd, int scale) {
  SqlNode arguments;
  arguments.kind = SqlNode::Kind::Group;
  arguments.children.assign(nodes.begin() + qsizetype(leftBegin), nodes.begin() + qsizetype(at));
  arguments.children.push_back(Token(SqlTokenKind::Comma, u","));
  arguments.children.insert(arguments.children.end(), nodes.begin() + qsizetype(at) + 1,
                            nodes.begin() + qsizetype(rightEnd));
  arguments.children.push_back(Token(SqlTokenKind::Comma, u","));
  arguments.children.push_back(SqlNode::Clause(QString::number(scale)));
  nodes.erase(nodes.begin() + qsizetype(leftBegin) + 1, nodes.begin() + qsizetype(rightEnd));
  nodes[leftBegin] = SqlNode::Rewritten(u"zem_modulo"_qs);
  nodes.insert(nodes.begin() + qsizetype(leftBegin) + 1, std::move(arguments));
}

// "/" and "%" whose sides are a decimal or a float, from the last to the
// first so the earlier keep their places.
void RewriteDecimalOperators(SqlNodes& nodes, size_t begin, const ArithmeticTerms& terms, const Types& types) {
  for (size_t k = terms.operators.size(); k-- > 0;) {
    const size_t at = terms.operators[k];
    const bool division = nodes[at].token.IsSymbol(u"/");
    if (!division && !nodes[at].token.IsSymbol(u"%")) continue;
    size_t first = k;
    while (first > 0 && IsMultiplicative(nodes[terms.operators[first - 1]])) --first;
    const std::optional<SqlType> type = KnownHighest(types, first, k + 2);
    const int family = type ? TypeFamily(*type) : 0;
    if (family != 3 && family != 4) continue;
    if (division) {
      // SQLite divides whole numbers as whole numbers, and keeps a decimal
      // column's whole values as integers: the left side is made a float.
      nodes.insert(nodes.begin() + qsizetype(at), {Token(SqlTokenKind::Symbol, u"*"), Token(SqlTokenKind::Whitespace, u" "),
                                                   Token(SqlTokenKind::Number, u"1.0"), Token(SqlTokenKind::Whitespace, u" ")});
      continue;
    }
    // SQLite's "%" takes the whole parts of its sides; SQL Server keeps a
    // decimal's fraction and refuses a float.
    if (family == 4)
      throw SqlError(QStringLiteral("The data types %1 and %2 are incompatible in the modulo operator.")
                         .arg(KnownHighest(types, first, k + 1)->DataTypeName(), types[k + 1]->DataTypeName()));
    const size_t leftBegin = NextSignificant(nodes, first == 0 ? begin : terms.operators[first - 1] + 1);
    ReplaceModulo(nodes, leftBegin, at, terms.operands[k + 1].second,
                  type->name.endsWith(u"MONEY") ? 4 : type->scale.value_or(0));
    k = first;  // the operators bound to its left side went into its group
  }
}

void RewriteSegment(SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects) {
  const std::optional<ArithmeticTerms> terms = ReadArithmetic(nodes, begin, end);
  if (!terms || terms->operators.empty()) return;
  const Types types = OperandTypes(nodes, *terms, objects);
  const std::optional<SqlType> result = KnownHighest(types, 0, types.size());
  if (result && result->IsInteger() && result->name != u"BIT") {
    nodes.insert(nodes.begin() + qsizetype(terms->end), SqlNode::Clause(u")"_qs));
    nodes.insert(nodes.begin() + qsizetype(NextSignificant(nodes, begin)),
                 SqlNode::Clause(QStringLiteral("zem_arithmetic(%1, ").arg(QuoteSqlString(TypeText(*result)))));
    return;
  }
  RewriteDecimalOperators(nodes, begin, *terms, types);
}

}  // namespace

void RewriteArithmeticTypes(SqlNodes& nodes, const SqlObjects& objects) {
  if (std::none_of(nodes.begin(), nodes.end(), IsArithmeticOperator)) return;
  const std::vector<std::pair<size_t, size_t>> segments = OperandSegments(nodes);
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) RewriteSegment(nodes, it->first, it->second, objects);
}

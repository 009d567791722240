#include "platform/sql/SqlError.h"
#include "platform/sql/SqlRewrite.h"

#include <algorithm>
#include <map>

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

bool IsBitwise(const SqlNode& node) {
  return node.token.IsSymbol(u"&") || node.token.IsSymbol(u"|") || node.token.IsSymbol(u"^");
}

bool IsWholeNumberType(const std::optional<SqlType>& type) { return type && type->IsInteger() && type->name != u"BIT"; }

// One binary operation of an arithmetic run: the operands [first, last] it
// spans and its operator, terms.operators[op].
struct Operation {
  size_t first, last, op;
};

// The operations in T-SQL's order, inner before outer: "*", "/" and "%"
// bind first; "+", "-", "&", "^" and "|" share the next level; each level
// binds from the left.
std::vector<Operation> Operations(const SqlNodes& nodes, const ArithmeticTerms& terms) {
  auto level = [&](size_t k) { return IsMultiplicative(nodes[terms.operators[k]]) ? 1 : 2; };
  std::vector<Operation> operations;
  std::vector<std::pair<size_t, size_t>> spans{{0, 0}};
  std::vector<size_t> pending;
  auto reduce = [&] {
    const size_t last = spans.back().second;
    spans.pop_back();
    spans.back().second = last;
    operations.push_back({spans.back().first, last, pending.back()});
    pending.pop_back();
  };
  for (size_t k = 0; k < terms.operators.size(); ++k) {
    while (!pending.empty() && level(pending.back()) <= level(k)) reduce();
    pending.push_back(k);
    spans.emplace_back(k + 1, k + 1);
  }
  while (!pending.empty()) reduce();
  return operations;
}

// Where operand k starts with its signs, and whether one of them is "-".
std::pair<size_t, bool> SignedStart(const SqlNodes& nodes, size_t begin, const ArithmeticTerms& terms, size_t k) {
  const size_t start = NextSignificant(nodes, k == 0 ? begin : terms.operators[k - 1] + 1);
  bool negated = false;
  for (size_t i = start; i < terms.operands[k].first; ++i) negated = negated || nodes[i].token.IsSymbol(u"-");
  return {start, negated};
}

// Clauses put before nodes (a position's outer ones first) and operators
// replaced, applied to a segment at once.
class SegmentEdit {
 public:
  void Open(size_t at, const QString& text) { before_[at].prepend(text); }  // called inner first
  void Close(size_t at) { Append(at, u")"_qs); }
  void Append(size_t at, const QString& text) { before_[at].append(text); }  // called inner first
  void Replace(size_t at, const QString& text) { replaced_[at] = SqlNode::Clause(text); }

  void Apply(SqlNodes& nodes, size_t begin, size_t end) {
    if (before_.empty() && replaced_.empty()) return;
    SqlNodes rewritten;
    for (size_t i = begin; i <= end; ++i) {
      if (const auto clauses = before_.find(i); clauses != before_.end())
        for (const QString& clause : clauses->second) rewritten.push_back(SqlNode::Clause(clause));
      if (i == end) break;
      const auto replacement = replaced_.find(i);
      rewritten.push_back(replacement == replaced_.end() ? std::move(nodes[i]) : replacement->second);
    }
    nodes.erase(nodes.begin() + qsizetype(begin), nodes.begin() + qsizetype(end));
    nodes.insert(nodes.begin() + qsizetype(begin), std::make_move_iterator(rewritten.begin()),
                 std::make_move_iterator(rewritten.end()));
  }

 private:
  std::map<size_t, QStringList> before_;
  std::map<size_t, SqlNode> replaced_;
};

// Operations a call of zem_chain takes at most: SQLite's parser refuses
// deep nesting, a function more than 127 arguments.
constexpr size_t kOperationsPerCall = 100;

// A run of operations of one level, the elements spans joined by
// operators: zem_chain(a, b, ..., '+INT;-INT;...'), each step's result
// checked against the type of all the run's elements up to it.
void ChainRun(const SqlNodes& nodes, const std::vector<std::pair<size_t, size_t>>& spans,
              const std::vector<size_t>& operators, const std::vector<std::optional<SqlType>>& stepTypes,
              SegmentEdit& edit) {
  const size_t steps = spans.size() - 1;
  if (steps == 0) return;
  QString previousEnd;  // the steps and ")" that end the call before
  for (size_t call = 0; call * kOperationsPerCall < steps; ++call) {  // inner call first
    const size_t from = call * kOperationsPerCall, to = std::min(steps, from + kOperationsPerCall);
    QStringList written;
    for (size_t k = from; k < to; ++k)
      written << nodes[operators[k]].token.text.toString() + TypeText(*stepTypes[k]);
    edit.Open(spans.front().first, u"zem_chain("_qs);
    const QString stepsArgument = u", "_qs + QuoteSqlString(written.join(u';')) + u')';
    for (size_t k = from; k < to; ++k) edit.Replace(operators[k], k == from && call > 0 ? previousEnd + u", "_qs : u", "_qs);
    previousEnd = stepsArgument;
  }
  edit.Append(spans.back().second, previousEnd);
}

// Arithmetic in whole number types as SQL Server works it: "*", "/" and
// "%" first, then "+", "-", "&", "^" and "|" from the left, each operation
// and each negation checked against its type's range (Stock + 1 - 1 fails
// at Stock's maximum) and each division against zero (zem_chain,
// zem_arithmetic).
void RewriteWholeNumberOperations(SqlNodes& nodes, size_t begin, const ArithmeticTerms& terms, const Types& types) {
  SegmentEdit edit;
  std::vector<std::pair<size_t, size_t>> leaves;  // with their signs
  for (size_t k = 0; k < terms.operands.size(); ++k) {
    const auto [start, negated] = SignedStart(nodes, begin, terms, k);
    leaves.emplace_back(start, terms.operands[k].second);
    if (negated && !nodes[terms.operands[k].first].Is(SqlTokenKind::Number)) {
      edit.Open(start, QStringLiteral("zem_arithmetic(%1, ").arg(QuoteSqlString(TypeText(*types[k]))));
      edit.Close(terms.operands[k].second);
    }
  }
  // The multiplicative runs, each a term of the run of the next level.
  std::vector<std::pair<size_t, size_t>> termSpans;
  std::vector<size_t> termOperators;
  std::vector<std::optional<SqlType>> termSteps;
  size_t first = 0;
  for (size_t k = 0; k <= terms.operators.size(); ++k) {
    if (k < terms.operators.size() && IsMultiplicative(nodes[terms.operators[k]])) continue;
    const std::vector<std::pair<size_t, size_t>> spans(leaves.begin() + qsizetype(first), leaves.begin() + qsizetype(k) + 1);
    const std::vector<size_t> operators(terms.operators.begin() + qsizetype(first), terms.operators.begin() + qsizetype(k));
    std::vector<std::optional<SqlType>> steps;
    for (size_t step = first; step < k; ++step) steps.push_back(KnownHighest(types, first, step + 2));
    ChainRun(nodes, spans, operators, steps, edit);
    termSpans.emplace_back(spans.front().first, spans.back().second);
    if (k < terms.operators.size()) {
      termOperators.push_back(terms.operators[k]);
      termSteps.push_back(std::nullopt);  // set below
    }
    first = k + 1;
  }
  // A term's type is the highest of its leaves: the step after it takes
  // every leaf up to the end of the next term.
  for (size_t t = 0, leaf = 0; t < termOperators.size(); ++t) {
    while (terms.operators[leaf] != termOperators[t]) ++leaf;
    size_t last = leaf + 1;
    while (last < terms.operators.size() && IsMultiplicative(nodes[terms.operators[last]])) ++last;
    termSteps[t] = KnownHighest(types, 0, last + 1);
  }
  ChainRun(nodes, termSpans, termOperators, termSteps, edit);
  edit.Apply(nodes, begin, terms.end);
}

// "&" and "|" of operands whose types are not all known are put in
// parentheses, as SQLite binds them after "+" and "-", and "^", which
// SQLite lacks, becomes zem_xor.
void RewriteBitwiseOperations(SqlNodes& nodes, size_t begin, const ArithmeticTerms& terms) {
  SegmentEdit edit;
  for (const Operation& operation : Operations(nodes, terms)) {
    const size_t at = terms.operators[operation.op];
    if (!IsBitwise(nodes[at])) continue;
    const bool exclusive = nodes[at].token.IsSymbol(u"^");
    edit.Open(SignedStart(nodes, begin, terms, operation.first).first, exclusive ? u"zem_xor("_qs : u"("_qs);
    if (exclusive) edit.Replace(at, u", "_qs);
    edit.Close(terms.operands[operation.last].second);
  }
  edit.Apply(nodes, begin, terms.end);
}

void RewriteSegment(SqlNodes& nodes, size_t begin, size_t end, const SqlObjects& objects) {
  const std::optional<ArithmeticTerms> terms = ReadArithmetic(nodes, begin, end);
  if (!terms) return;
  const Types types = OperandTypes(nodes, *terms, objects);
  const std::optional<SqlType> result = KnownHighest(types, 0, types.size());
  const bool wholeNumbers =
      std::all_of(types.begin(), types.end(), [](const auto& type) { return IsWholeNumberType(type); });
  const bool xor_ = std::any_of(terms->operators.begin(), terms->operators.end(),
                                [&](size_t at) { return nodes[at].token.IsSymbol(u"^"); });
  if (wholeNumbers) return RewriteWholeNumberOperations(nodes, begin, *terms, types);
  if (xor_) return RewriteBitwiseOperations(nodes, begin, *terms);
  if (terms->operators.empty()) return;
  // A text among whole numbers is converted as zem_add converts it; the
  // check is of the result.
  if (IsWholeNumberType(result)) {
    nodes.insert(nodes.begin() + qsizetype(terms->end), SqlNode::Clause(u")"_qs));
    nodes.insert(nodes.begin() + qsizetype(NextSignificant(nodes, begin)),
                 SqlNode::Clause(QStringLiteral("zem_arithmetic(%1, ").arg(QuoteSqlString(TypeText(*result)))));
    return;
  }
  RewriteDecimalOperators(nodes, begin, *terms, types);
}

}  // namespace

void RewriteArithmeticTypes(SqlNodes& nodes, const SqlObjects& objects) {
  const bool negation = std::any_of(nodes.begin(), nodes.end(), [](const SqlNode& node) {
    return node.kind == SqlNode::Kind::Token && node.token.IsSymbol(u"-");
  });
  if (!negation && std::none_of(nodes.begin(), nodes.end(), IsArithmeticOperator)) return;
  const std::vector<std::pair<size_t, size_t>> segments = OperandSegments(nodes);
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) RewriteSegment(nodes, it->first, it->second, objects);
}

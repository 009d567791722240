#include "platform/sql/SqlRewrite.h"

#include <algorithm>

namespace {

bool EndsOperand(const SqlNode& node) {
  if (node.kind != SqlNode::Kind::Token) return true;
  switch (node.token.kind) {
    case SqlTokenKind::Word: return !IsKeyword(node);
    case SqlTokenKind::QuotedName:
    case SqlTokenKind::String:
    case SqlTokenKind::Number:
    case SqlTokenKind::Variable: return true;
    default: return false;
  }
}

bool EndsSegment(const SqlNode& node) {
  return node.clause || node.Is(SqlTokenKind::Comma) || node.Is(SqlTokenKind::Semicolon) || IsKeyword(node) || IsComparison(node);
}

bool IsAdditive(const SqlNode& node) { return node.token.IsSymbol(u"+") || node.token.IsSymbol(u"-"); }

// Terms a call of zem_add takes at most; SQLite allows a few more.
constexpr int kTermsPerCall = 100;

// One operand run between keywords, commas and comparisons: a + b + c - d + e
// becomes zem_add(zem_add(a, b, c) - d, e); "+" and "-" share one precedence
// and bind left to right. A run of "+" is one call, so a long chain nests
// only every kTermsPerCall terms (SQLite's parser refuses deep nesting).
void RewriteSegment(SqlNodes& nodes, size_t begin, size_t end) {
  std::vector<size_t> operators;
  bool addition = false;
  for (size_t i = begin; i < end; ++i) {
    if (!nodes[i].Is(SqlTokenKind::Symbol) || !IsAdditive(nodes[i])) continue;
    const size_t previous = PreviousSignificant(nodes, i);
    if (previous == size_t(-1) || previous < begin || !EndsOperand(nodes[previous])) continue;  // a sign
    operators.push_back(i);
    addition = addition || nodes[i].token.IsSymbol(u"+");
  }
  if (!addition) return;
  // Which "+" opens a call of its own: the first, one after a "-", and one
  // past a full call. Every call opens before the first operand, so the
  // text grows by appending only.
  std::vector<bool> opens(operators.size(), false);
  int terms = 0;
  bool open = false;
  for (size_t k = 0; k < operators.size(); ++k) {
    if (!nodes[operators[k]].token.IsSymbol(u"+")) {
      open = false;
      continue;
    }
    opens[k] = !open || terms == kTermsPerCall;
    terms = opens[k] ? 2 : terms + 1;
    open = true;
  }
  const size_t first = NextSignificant(nodes, begin);
  const size_t last = PreviousSignificant(nodes, end);
  QString expression;
  for (const bool call : opens)
    if (call) expression += QLatin1String("zem_add(");
  expression += RenderSql(nodes, first, operators[0]).trimmed();
  open = false;
  for (size_t k = 0; k < operators.size(); ++k) {
    const size_t termEnd = k + 1 < operators.size() ? operators[k + 1] : last + 1;
    const QString term = RenderSql(nodes, operators[k] + 1, termEnd).trimmed();
    const bool plus = nodes[operators[k]].token.IsSymbol(u"+");
    if (open && (!plus || opens[k])) expression += u')';
    open = open && plus && !opens[k];
    if (plus) {
      expression += QLatin1String(", ") + term;
      open = true;
    } else {
      expression += QLatin1String(" - ") + term;
    }
  }
  if (open) expression += u')';
  for (size_t i = first + 1; i <= last; ++i) nodes[i] = SqlNode{};  // blanked: erasing moves the tail
  nodes[first] = SqlNode::Rewritten(expression);
}

}  // namespace

std::vector<std::pair<size_t, size_t>> OperandSegments(const SqlNodes& nodes) {
  std::vector<std::pair<size_t, size_t>> segments;
  size_t begin = 0;
  for (size_t i = 0; i <= nodes.size(); ++i) {
    if (i < nodes.size() && !EndsSegment(nodes[i])) continue;
    if (NextSignificant(nodes, begin) < i) segments.emplace_back(begin, i);
    begin = i + 1;
  }
  return segments;
}

void RewriteConcatenation(SqlNodes& nodes) {
  // Without a "+" at this level no segment has anything to rewrite.
  const auto plus = [](const SqlNode& node) { return node.kind == SqlNode::Kind::Token && node.token.IsSymbol(u"+"); };
  if (std::none_of(nodes.begin(), nodes.end(), plus)) return;
  const std::vector<std::pair<size_t, size_t>> segments = OperandSegments(nodes);
  // From the last, so the earlier segments keep their places.
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) RewriteSegment(nodes, it->first, it->second);
}

#include "platform/sql/SqlRewrite.h"

#include <algorithm>

namespace {

bool IsDivision(const SqlNode& node) {
  return node.kind == SqlNode::Kind::Token && (node.token.IsSymbol(u"/") || node.token.IsSymbol(u"%"));
}

// A number written as something other than zero cannot divide by zero.
bool IsNonZeroNumber(const SqlNode& node) {
  return node.Is(SqlTokenKind::Number) && node.token.text.toString().toDouble() != 0;
}

}  // namespace

void RewriteDivisions(SqlNodes& nodes) {
  if (std::none_of(nodes.begin(), nodes.end(), IsDivision)) return;
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (!IsDivision(nodes[i])) continue;
    const size_t first = NextSignificant(nodes, i + 1);
    size_t operand = first;
    while (operand < nodes.size() && (nodes[operand].token.IsSymbol(u"-") || nodes[operand].token.IsSymbol(u"+")))
      operand = NextSignificant(nodes, operand + 1);
    if (operand >= nodes.size() || IsNonZeroNumber(nodes[operand])) continue;
    nodes[first] = SqlNode::Rewritten(u"zem_divisor("_qs + RenderSql(nodes, first, operand + 1).trimmed() + u')');
    for (size_t k = first + 1; k <= operand; ++k) nodes[k] = SqlNode{};  // blanked: erasing moves the tail
    i = operand;
  }
}

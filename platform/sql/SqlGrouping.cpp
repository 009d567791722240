// T-SQL's grouping of joins and set operations, spelt out with parentheses
// in the text SQLite reads, whose own grouping goes from left to right.

#include "platform/sql/SqlRewrite.h"

#include <algorithm>
#include <iterator>

bool EndsFromList(const SqlNode& node) {
  static constexpr QStringView kWords[] = {u"WHERE",  u"GROUP",     u"ORDER",  u"HAVING", u"UNION",
                                           u"EXCEPT", u"INTERSECT", u"SET",    u"VALUES", u"SELECT",
                                           u"LIMIT",  u"OPTION"};
  return std::any_of(std::begin(kWords), std::end(kWords), [&](QStringView word) { return node.IsWord(word); });
}

namespace {

bool IsSetOperator(const SqlNode& node) {
  return node.IsWord(u"UNION") || node.IsWord(u"EXCEPT") || node.IsWord(u"INTERSECT");
}

// The significant nodes of [begin, end) become one group, with text before
// it when given; returns where the range now ends.
size_t Parenthesise(SqlNodes& nodes, size_t begin, size_t end, const QString& before = {}) {
  const size_t first = NextSignificant(nodes, begin);
  const size_t last = PreviousSignificant(nodes, end);
  if (first >= end || last == size_t(-1) || last < first) return end;
  SqlNodes inside(std::make_move_iterator(nodes.begin() + qsizetype(first)),
                  std::make_move_iterator(nodes.begin() + qsizetype(last) + 1));
  nodes.erase(nodes.begin() + qsizetype(first) + 1, nodes.begin() + qsizetype(last) + 1);
  nodes[first] = SqlNode::Parenthesised(std::move(inside));
  if (before.isEmpty()) return end - (last - first);
  nodes.insert(nodes.begin() + qsizetype(first), SqlNode::Rewritten(before));
  return end - (last - first) + 1;
}

// Whether the chain in [begin, end) holds a RIGHT or FULL join of its own.
// Only these keep rows that joining from left to right would not: a chain
// of inner and left joins brings the same rows either way, and stays as
// written, because SQLite names a parenthesised join's columns anew where
// two of its tables share a name.
bool JoinsOuterRight(const SqlNodes& nodes, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (!nodes[i].IsWord(u"RIGHT") && !nodes[i].IsWord(u"FULL")) continue;
    const size_t next = NextSignificant(nodes, i + 1);
    if (next < end && (nodes[next].IsWord(u"JOIN") || nodes[next].IsWord(u"OUTER"))) return true;
  }
  return false;
}

}  // namespace

// A FROM list ends where its clause does: at a word that starts another, at
// a clause of the mapper's own (the UPDATE and DELETE targets' conditions)
// or at the level's end. An ON condition holds no comma of this level.
void GroupJoinChains(SqlNodes& nodes) {
  for (size_t from = 0; from < nodes.size(); ++from) {
    if (!nodes[from].IsWord(u"FROM")) continue;
    size_t item = from + 1;
    bool afterComma = false;
    size_t i = from + 1;
    for (;; ++i) {
      const bool end = i == nodes.size() || nodes[i].clause || nodes[i].IsWord(u"FROM") || EndsFromList(nodes[i]);
      if (!end && !nodes[i].Is(SqlTokenKind::Comma)) continue;
      if (afterComma && JoinsOuterRight(nodes, item, i)) i = Parenthesise(nodes, item, i);
      if (end) break;
      afterComma = true;
      item = i + 1;
    }
    from = i - 1;  // the node that ended the list may start another
  }
}

// The branches are told apart by their operators; the last one ends at the
// ORDER BY of the whole result. A TOP's branch is a query of its own already
// (RewriteTop), so no LIMIT of a branch stands at this level.
void GroupIntersections(SqlNodes& nodes) {
  std::vector<size_t> operators;
  size_t end = nodes.size();
  for (size_t i = 0; i < nodes.size(); ++i) {
    if (IsSetOperator(nodes[i])) operators.push_back(i);
    else if (!operators.empty() && nodes[i].IsWord(u"ORDER")) {
      end = i;
      break;
    }
  }
  // From the last run back, so that the earlier keep their places.
  for (size_t op = operators.size(); op-- > 1;) {
    if (!nodes[operators[op]].IsWord(u"INTERSECT") || nodes[operators[op - 1]].IsWord(u"INTERSECT")) continue;
    size_t runEnd = op + 1;
    while (runEnd < operators.size() && nodes[operators[runEnd]].IsWord(u"INTERSECT")) ++runEnd;
    size_t begin = operators[op - 1] + 1;
    const size_t quantifier = NextSignificant(nodes, begin);
    if (quantifier < nodes.size() && (nodes[quantifier].IsWord(u"ALL") || nodes[quantifier].IsWord(u"DISTINCT")))
      begin = quantifier + 1;
    const size_t last = runEnd < operators.size() ? operators[runEnd] : end;
    Parenthesise(nodes, begin, last, QStringLiteral("SELECT * FROM "));
  }
}

// A LIKE on a text column whose pattern starts with fixed characters also
// bounds the column to the texts that start so under the collation LIKE
// uses, so that an index kept under that collation finds them; the LIKE
// stays and decides. SQLite's own LIKE optimisation knows no collation of
// ours.

#include "platform/sql/Collation.h"
#include "platform/sql/SqlRewrite.h"
#include "platform/sqlite/SqlText.h"

#include <algorithm>
#include <optional>

namespace {

// The characters before the pattern's first wildcard or set.
QString FixedStart(QStringView pattern) {
  qsizetype end = 0;
  while (end < pattern.size() && pattern[end] != u'%' && pattern[end] != u'_' && pattern[end] != u'[') ++end;
  return pattern.first(end).toString();
}

// A text above every text that starts with the prefix under the collation:
// the prefix with its last character replaced by one that sorts after it
// whatever follows (never a blank, which comparisons drop at the end);
// nothing when no character does.
std::optional<QString> AboveEveryTextStartingWith(const Collation& collation, QString prefix) {
  while (!prefix.isEmpty()) {
    const QChar last = prefix.back();
    prefix.chop(1);
    // One character sorting after the last one followed by anything.
    const QString longer = QString(last) + u'a';
    for (char32_t code = last.unicode() + 1u; code <= 0xFFFD; ++code) {
      if (QChar::isSurrogate(code) || code == u' ') continue;
      const QChar candidate(static_cast<char16_t>(code));
      if (collation.Compare(QStringView(&candidate, 1), longer) > 0) return prefix + candidate;
    }
  }
  return std::nullopt;
}

// Whether the node ends an operand on its left: the range keeps LIKE's
// place among the operators only between such nodes.
bool OpensOperand(const SqlNodes& nodes, size_t before) {
  if (before == size_t(-1)) return true;
  const SqlNode& node = nodes[before];
  for (const QStringView word : {u"AND", u"OR", u"NOT", u"WHERE", u"ON", u"HAVING", u"WHEN"})
    if (node.IsWord(word)) return true;
  return false;
}

bool ClosesOperand(const SqlNodes& nodes, size_t after) {
  if (after >= nodes.size()) return true;
  const SqlNode& node = nodes[after];
  if (node.clause) return true;
  for (const QStringView word : {u"AND", u"OR", u"THEN", u"ORDER", u"GROUP", u"HAVING", u"UNION", u"EXCEPT",
                                 u"INTERSECT", u"WHEN", u"ELSE", u"END"})
    if (node.IsWord(word)) return true;
  return false;
}

}  // namespace

void RewritePrefixLike(SqlNodes& nodes, const SqlObjects& objects) {
  const Collation* collation = Collation::Find(objects.Context().collationName);
  if (!collation) return;
  const QString collate = QStringLiteral(" COLLATE ") + SqlText::Quoted(Collation::CanonicalName(objects.Context().collationName));
  for (size_t like = 0; like < nodes.size(); ++like) {
    if (!nodes[like].IsWord(u"LIKE")) continue;
    const size_t pattern = NextSignificant(nodes, like + 1);
    if (pattern >= nodes.size() || !nodes[pattern].Is(SqlTokenKind::String)) continue;
    const size_t after = NextSignificant(nodes, pattern + 1);
    const size_t operand = PreviousSignificant(nodes, like);
    if (operand == size_t(-1) || !ClosesOperand(nodes, after)) continue;
    const std::optional<SqlChain> chain = ChainEndingAt(nodes, operand);
    if (!chain || !OpensOperand(nodes, PreviousSignificant(nodes, chain->begin))) continue;
    const std::optional<SqlColumn> column = objects.ColumnOf(*chain);
    if (!column || !column->type.IsText()) continue;
    const QString start = FixedStart(nodes[pattern].token.Value());
    if (start.isEmpty() || std::any_of(start.begin(), start.end(), [](QChar c) { return c.isSurrogate(); })) continue;

    const SqlNodes name(nodes.begin() + qsizetype(chain->begin), nodes.begin() + qsizetype(chain->end));
    SqlNodes bounded{SqlNode::Rewritten(u"("_qs)};
    bounded.insert(bounded.end(), nodes.begin() + qsizetype(chain->begin), nodes.begin() + qsizetype(pattern) + 1);
    const auto bound = [&](const QString& comparison) {
      bounded.push_back(SqlNode::Rewritten(u" AND "_qs));
      // The copies of the name are rewritten with the rest of the statement.
      bounded.insert(bounded.end(), name.begin(), name.end());
      bounded.push_back(SqlNode::Rewritten(collate + comparison));
    };
    bound(u" >= "_qs + QuoteSqlString(start));
    if (const std::optional<QString> above = AboveEveryTextStartingWith(*collation, start))
      bound(u" < "_qs + QuoteSqlString(*above));
    bounded.push_back(SqlNode::Rewritten(u")"_qs));
    nodes.erase(nodes.begin() + qsizetype(chain->begin), nodes.begin() + qsizetype(pattern) + 1);
    nodes.insert(nodes.begin() + qsizetype(chain->begin), bounded.begin(), bounded.end());
    like = chain->begin + bounded.size() - 1;
  }
}

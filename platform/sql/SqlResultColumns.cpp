#include "platform/sql/SqlResultColumns.h"

#include "platform/sql/SqlTree.h"
#include "platform/sql/SqlTypes.h"

namespace {

bool OneOfWords(const SqlNode& node, std::initializer_list<QStringView> words) {
  for (QStringView word : words)
    if (node.IsWord(word)) return true;
  return false;
}

bool EndsSelectList(const SqlNode& node) {
  return OneOfWords(node, {u"FROM", u"WHERE", u"GROUP", u"ORDER", u"HAVING", u"INTO"});
}

// CAST(x AS type), CONVERT(type, x[, style]) or a function that answers text.
bool IsTextCall(const SqlNode& function, const SqlNode& arguments) {
  if (OneOfWords(function, {u"LEFT", u"RIGHT", u"SUBSTRING", u"UPPER", u"LOWER", u"LTRIM", u"RTRIM", u"REPLACE"}))
    return true;
  const SqlNodes& inside = arguments.children;
  if (function.IsWord(u"CONVERT")) {
    const std::vector<SqlNodes> parts = SplitAtCommas(inside);
    return SqlType::Parse(RenderSql(parts.front())).IsText();
  }
  if (!function.IsWord(u"CAST")) return false;
  for (size_t i = inside.size(); i-- > 0;)
    if (inside[i].IsWord(u"AS")) return SqlType::Parse(RenderSql(inside, i + 1)).IsText();
  return false;
}

// A text value alone, before its alias if it has one.
bool IsTextItem(const SqlNodes& item) {
  const size_t first = NextSignificant(item, 0);
  if (first >= item.size()) return false;
  size_t after = NextSignificant(item, first + 1);
  if (item[first].Is(SqlTokenKind::Word) && after < item.size() && item[after].IsGroup()) {
    if (!IsTextCall(item[first], item[after])) return false;
    after = NextSignificant(item, after + 1);
  } else if (!item[first].Is(SqlTokenKind::String)) {
    return false;
  }
  if (after < item.size() && item[after].IsWord(u"AS")) after = NextSignificant(item, after + 1);
  return after >= item.size() ||
         ((item[after].Is(SqlTokenKind::Word) || item[after].Is(SqlTokenKind::QuotedName) ||
           item[after].Is(SqlTokenKind::String)) &&
          NextSignificant(item, after + 1) >= item.size());
}

}  // namespace

bool IsWrittenAsText(QStringView statement, int column) {
  SqlNodes nodes;
  try {
    nodes = BuildSqlTree(TokenizeSql(statement));
  } catch (const std::exception&) {
    return false;
  }
  size_t select = 0;
  while (select < nodes.size() && !nodes[select].IsWord(u"SELECT")) ++select;
  for (size_t i = select; i < nodes.size(); ++i)
    if (OneOfWords(nodes[i], {u"UNION", u"EXCEPT", u"INTERSECT"})) return false;
  size_t begin = NextSignificant(nodes, select + 1);
  if (begin < nodes.size() && OneOfWords(nodes[begin], {u"DISTINCT", u"ALL"})) begin = NextSignificant(nodes, begin + 1);
  if (begin < nodes.size() && nodes[begin].IsWord(u"TOP"))
    begin = NextSignificant(nodes, NextSignificant(nodes, begin + 1) + 1);
  size_t end = begin;
  while (end < nodes.size() && !EndsSelectList(nodes[end])) ++end;
  const std::vector<SqlNodes> items = SplitAtCommas(SqlNodes(nodes.begin() + qsizetype(std::min(begin, end)),
                                                             nodes.begin() + qsizetype(end)));
  for (int k = 0; k < column && k < int(items.size()); ++k)
    for (const SqlNode& node : items[size_t(k)])
      if (node.token.IsSymbol(u"*")) return false;
  return column < int(items.size()) && IsTextItem(items[size_t(column)]);
}

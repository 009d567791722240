#pragma once

#include "platform/sql/SqlTokenizer.h"

#include <vector>

// A statement's tokens with parenthesised groups and CASE ... END blocks
// nested, so a rewrite sees whole operands; rewritten pieces become Text.
struct SqlNode;
using SqlNodes = std::vector<SqlNode>;

struct SqlNode {
  enum class Kind { Token, Group, Case, Text };

  Kind kind = Kind::Token;
  SqlToken token{SqlTokenKind::Whitespace, {}};
  std::vector<SqlNode> children;  // Group: between "(" and ")"; Case: from CASE to END
  QString text;                   // Text
  bool clause = false;            // Text: a clause of the mapper's own, which ends an expression

  static SqlNode Rewritten(QString text);
  static SqlNode Clause(QString text);
  // A group of the mapper's own: the nodes in parentheses.
  static SqlNode Parenthesised(SqlNodes children);

  bool IsSignificant() const { return kind != Kind::Token || token.IsSignificant(); }
  bool IsWord(QStringView word) const { return kind == Kind::Token && token.IsWord(word); }
  template <size_t N>
  bool IsWord(const char16_t (&word)[N]) const { return kind == Kind::Token && token.IsWord(word); }
  bool Is(SqlTokenKind tokenKind) const { return kind == Kind::Token && token.kind == tokenKind; }
  bool IsGroup() const { return kind == Kind::Group; }
};

// Raises SqlError for unbalanced parentheses or a CASE without END.
SqlNodes BuildSqlTree(const std::vector<SqlToken>& tokens);

QString RenderSql(const SqlNode& node);
QString RenderSql(const SqlNodes& nodes, size_t from = 0, size_t to = size_t(-1));

// Index of the first significant node at or after `from` (nodes.size() when
// none), and of the last one before `before` (npos when none).
size_t NextSignificant(const SqlNodes& nodes, size_t from);
size_t PreviousSignificant(const SqlNodes& nodes, size_t before);

// The nodes split at their top-level commas.
std::vector<SqlNodes> SplitAtCommas(const SqlNodes& nodes);

// SQL's reserved words that end an operand; NULL is not one of them.
bool IsKeyword(const SqlNode& node);

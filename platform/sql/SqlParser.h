#pragma once

#include "platform/sql/SqlSyntax.h"
#include "platform/sql/SqlTokenizer.h"

#include <QString>
#include <QStringView>

#include <vector>

// Reads one statement of a batch (a piece SplitSqlStatements gives) by
// T-SQL's grammar, as far as the embedded server supports it, into its
// syntax tree. A text the grammar does not accept raises SqlError with SQL
// Server's wording: "Incorrect syntax near ...", or error 4145 for an
// expression where a condition is expected (WHERE, ON, HAVING, a searched
// CASE's WHEN, IIF's first argument); a statement of a kind the server does
// not run raises its "is not supported by the embedded server." text.
class SqlParser {
 public:
  static SqlSyntax ParseStatement(QStringView statement);

 private:
  // Where the grammar stopped: the significant token it could not take
  // (tokens_.size() at the end of the text).
  struct Failure {
    size_t at;
    bool nonBoolean;
  };

  explicit SqlParser(QStringView statement);

  // The cursor over the significant tokens.
  const SqlToken* Peek(size_t ahead = 0) const;
  bool PeekWord(QStringView word, size_t ahead = 0) const;
  bool PeekKind(SqlTokenKind kind, size_t ahead = 0) const;
  bool PeekSymbol(QStringView symbol, size_t ahead = 0) const;
  bool Word(QStringView word);
  bool Kind(SqlTokenKind kind);
  bool Symbol(QStringView symbol);
  void Expect(QStringView word);
  void ExpectKind(SqlTokenKind kind);
  [[noreturn]] void Fail() const;
  [[noreturn]] void FailNonBoolean() const;
  // The tokens [from, to) as written, after what a refusal puts before them.
  [[noreturn]] void Unsupported(size_t from, size_t to, const QString& before = {}) const;
  SqlSyntax Node(SqlSyntaxKind kind, size_t first) const { return {kind, first, position_, {}}; }
  // The first reading that takes the tokens; when none does, the failure
  // that got furthest.
  template <typename First, typename Second>
  SqlSyntax Either(First first, Second second);
  bool OpensQuery(size_t ahead) const;

  // Statements (SqlParserStatements.cpp).
  SqlSyntax statement();
  SqlSyntax select();
  SqlSyntax insert();
  SqlSyntax update();
  SqlSyntax deleteStatement();
  SqlSyntax dmlTop();
  void assignment();
  // DDL, transactions and the server's commands (SqlParserCommands.cpp).
  SqlSyntax create();
  SqlSyntax alter();
  SqlSyntax drop();
  SqlSyntax transaction();
  SqlSyntax serverCommand();
  SqlSyntax ifExists();
  void tableElement();
  void columnDefinition();
  void columnConstraint();
  void keyColumns();
  void commandOptions();

  // Queries and their FROM (SqlParserQueries.cpp).
  SqlSyntax queryExpression();
  SqlSyntax intersectTerm();
  SqlSyntax queryPrimary();
  SqlSyntax selectBlock();
  SqlSyntax orderBy();
  SqlSyntax top();
  void selectItem();
  SqlSyntax from();
  SqlSyntax tableSource();
  SqlSyntax joinsAfter(SqlSyntax left);
  SqlSyntax tablePrimary();
  void tableHints();
  bool alias();
  bool JoinFollows() const;

  // Conditions and expressions (SqlParserExpressions.cpp).
  SqlSyntax condition(SqlSyntaxKind clause);
  SqlSyntax orCondition();
  SqlSyntax andCondition();
  SqlSyntax notCondition();
  SqlSyntax predicate();
  SqlSyntax expression();
  SqlSyntax multiplicative();
  SqlSyntax unary();
  SqlSyntax primary();
  SqlSyntax parenthesised();
  SqlSyntax caseExpression();
  SqlSyntax functionCall(size_t first);
  void expressionList();
  void dataType();
  bool Name();
  void ExpectName();
  // A dotted name (db..T included); with `star`, one that may end in ".*".
  void chain(bool star = false);

  QString statement_;
  std::vector<SqlToken> tokens_;  // significant only
  size_t position_ = 0;
};

template <typename First, typename Second>
SqlSyntax SqlParser::Either(First first, Second second) {
  const size_t start = position_;
  try {
    return first();
  } catch (const Failure& failed) {
    position_ = start;
    try {
      return second();
    } catch (const Failure& also) {
      throw failed.at > also.at ? failed : also;
    }
  }
}

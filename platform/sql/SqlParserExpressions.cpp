#include "platform/sql/SqlParser.h"

#include "platform/sql/ReservedWords.h"

namespace {

constexpr QStringView kComparisons[] = {u"=", u"<>", u"!=", u"<", u">", u"<=", u">=", u"!<", u"!>"};
constexpr QStringView kAdditive[] = {u"+", u"-", u"&", u"^", u"|"};
constexpr QStringView kMultiplicative[] = {u"*", u"/", u"%"};

template <size_t N>
bool IsOneOf(const SqlToken* token, const QStringView (&symbols)[N]) {
  if (!token || !token->Is(SqlTokenKind::Symbol)) return false;
  for (const QStringView symbol : symbols)
    if (token->text == symbol) return true;
  return false;
}

}  // namespace

// WHERE, ON or HAVING (the word the caller found) and the condition after it.
SqlSyntax SqlParser::condition(SqlSyntaxKind clause) {
  const size_t first = position_;
  ++position_;
  SqlSyntax node = Node(clause, first);
  node.parts.push_back(orCondition());
  node.last = position_;
  return node;
}

SqlSyntax SqlParser::orCondition() {
  const size_t first = position_;
  SqlSyntax left = andCondition();
  while (Word(u"OR")) {
    SqlSyntax either = Node(SqlSyntaxKind::Or, first);
    either.parts = {std::move(left), andCondition()};
    either.last = position_;
    left = std::move(either);
  }
  return left;
}

SqlSyntax SqlParser::andCondition() {
  const size_t first = position_;
  SqlSyntax left = notCondition();
  while (Word(u"AND")) {
    SqlSyntax both = Node(SqlSyntaxKind::And, first);
    both.parts = {std::move(left), notCondition()};
    both.last = position_;
    left = std::move(both);
  }
  return left;
}

SqlSyntax SqlParser::notCondition() {
  const size_t first = position_;
  if (!Word(u"NOT")) return predicate();
  SqlSyntax negated = Node(SqlSyntaxKind::Not, first);
  negated.parts.push_back(notCondition());
  negated.last = position_;
  return negated;
}

// A condition in parentheses, or an expression compared, matched, ranged,
// listed or tested for NULL; an expression alone is no condition.
SqlSyntax SqlParser::predicate() {
  const size_t first = position_;
  if (Word(u"EXISTS")) {
    SqlSyntax exists = Node(SqlSyntaxKind::Exists, first);
    ExpectKind(SqlTokenKind::Open);
    exists.parts.push_back(queryExpression());
    ExpectKind(SqlTokenKind::Close);
    exists.last = position_;
    return exists;
  }
  auto grouped = [&] {
    ExpectKind(SqlTokenKind::Open);
    SqlSyntax inner = orCondition();
    ExpectKind(SqlTokenKind::Close);
    return inner;
  };
  auto compared = [&] {
    SqlSyntax node = Node(SqlSyntaxKind::Predicate, first);
    node.parts.push_back(expression());
    if (IsOneOf(Peek(), kComparisons)) {
      ++position_;
      if (Word(u"ALL") || Word(u"ANY") || Word(u"SOME")) {
        ExpectKind(SqlTokenKind::Open);
        node.parts.push_back(queryExpression());
        ExpectKind(SqlTokenKind::Close);
      } else {
        node.parts.push_back(expression());
      }
    } else if (Word(u"IS")) {
      Word(u"NOT");
      Expect(u"NULL");
    } else {
      const bool negated = Word(u"NOT");
      if (Word(u"LIKE")) {
        node.parts.push_back(expression());
        if (Word(u"ESCAPE")) node.parts.push_back(expression());
      } else if (Word(u"BETWEEN")) {
        node.parts.push_back(expression());
        Expect(u"AND");
        node.parts.push_back(expression());
      } else if (Word(u"IN")) {
        ExpectKind(SqlTokenKind::Open);
        if (OpensQuery(0)) {
          node.parts.push_back(queryExpression());
        } else {
          expressionList();
        }
        ExpectKind(SqlTokenKind::Close);
      } else if (negated) {
        Fail();
      } else {
        FailNonBoolean();
      }
    }
    node.last = position_;
    return node;
  };
  if (PeekKind(SqlTokenKind::Open) && !OpensQuery(1)) return Either(grouped, compared);
  return compared();
}

void SqlParser::expressionList() {
  do expression();
  while (Kind(SqlTokenKind::Comma));
}

SqlSyntax SqlParser::expression() {
  const size_t first = position_;
  SqlSyntax node = Node(SqlSyntaxKind::Expression, first);
  node.parts.push_back(multiplicative());
  while (IsOneOf(Peek(), kAdditive)) {
    ++position_;
    node.parts.push_back(multiplicative());
  }
  if (node.parts.size() == 1) return std::move(node.parts.front());
  node.last = position_;
  return node;
}

SqlSyntax SqlParser::multiplicative() {
  const size_t first = position_;
  SqlSyntax node = Node(SqlSyntaxKind::Expression, first);
  node.parts.push_back(unary());
  while (IsOneOf(Peek(), kMultiplicative)) {
    ++position_;
    node.parts.push_back(unary());
  }
  if (node.parts.size() == 1) return std::move(node.parts.front());
  node.last = position_;
  return node;
}

SqlSyntax SqlParser::unary() {
  const size_t first = position_;
  if (Symbol(u"-") || Symbol(u"+") || Symbol(u"~")) {
    SqlSyntax node = Node(SqlSyntaxKind::Expression, first);
    node.parts.push_back(unary());
    node.last = position_;
    return node;
  }
  SqlSyntax operand = primary();
  if (Word(u"COLLATE")) {
    ExpectName();
    operand.last = position_;
  }
  return operand;
}

namespace {

// Keywords SQL Server reserves that are called as functions, and those
// that are values of their own.
constexpr QStringView kKeywordFunctions[] = {u"COALESCE", u"NULLIF", u"LEFT", u"RIGHT", u"TRY_CONVERT"};
constexpr QStringView kKeywordValues[] = {u"CURRENT_TIMESTAMP", u"CURRENT_USER", u"SESSION_USER", u"SYSTEM_USER",
                                          u"USER"};

template <size_t N>
bool IsWordOf(const SqlToken* token, const QStringView (&words)[N]) {
  if (!token) return false;
  for (const QStringView word : words)
    if (token->IsWord(word)) return true;
  return false;
}

}  // namespace

SqlSyntax SqlParser::primary() {
  const size_t first = position_;
  const SqlToken* token = Peek();
  if (!token) Fail();
  if (token->Is(SqlTokenKind::Number) || token->Is(SqlTokenKind::String) || token->Is(SqlTokenKind::Variable) ||
      token->IsSymbol(u"?") || token->IsWord(u"NULL") || IsWordOf(token, kKeywordValues)) {
    ++position_;
    return Node(SqlSyntaxKind::Expression, first);
  }
  // A named parameter of the data layer's, :name.
  if (token->IsSymbol(u":") && (PeekKind(SqlTokenKind::Word, 1) || PeekKind(SqlTokenKind::Number, 1)) &&
      Peek(1)->text.data() == token->text.data() + token->text.size()) {
    position_ += 2;
    return Node(SqlSyntaxKind::Expression, first);
  }
  if (token->Is(SqlTokenKind::Open)) return parenthesised();
  if (token->IsWord(u"CASE")) return caseExpression();
  if (token->IsWord(u"CAST") || token->IsWord(u"TRY_CAST")) {
    ++position_;
    SqlSyntax call = Node(SqlSyntaxKind::FunctionCall, first);
    ExpectKind(SqlTokenKind::Open);
    call.parts.push_back(expression());
    Expect(u"AS");
    dataType();
    ExpectKind(SqlTokenKind::Close);
    call.last = position_;
    return call;
  }
  if (token->IsWord(u"CONVERT") || token->IsWord(u"TRY_CONVERT")) {
    ++position_;
    SqlSyntax call = Node(SqlSyntaxKind::FunctionCall, first);
    ExpectKind(SqlTokenKind::Open);
    dataType();
    ExpectKind(SqlTokenKind::Comma);
    call.parts.push_back(expression());
    if (Kind(SqlTokenKind::Comma)) call.parts.push_back(expression());
    ExpectKind(SqlTokenKind::Close);
    call.last = position_;
    return call;
  }
  if (IsWordOf(token, kKeywordFunctions) && PeekKind(SqlTokenKind::Open, 1)) {
    ++position_;
    return functionCall(first);
  }
  chain();
  if (PeekKind(SqlTokenKind::Open)) return functionCall(first);
  return Node(SqlSyntaxKind::Expression, first);
}

// A subquery, or an expression in parentheses.
SqlSyntax SqlParser::parenthesised() {
  const size_t first = position_;
  auto subquery = [&] {
    ExpectKind(SqlTokenKind::Open);
    SqlSyntax node = Node(SqlSyntaxKind::Subquery, first);
    node.parts.push_back(queryExpression());
    ExpectKind(SqlTokenKind::Close);
    node.last = position_;
    return node;
  };
  auto grouped = [&] {
    ExpectKind(SqlTokenKind::Open);
    SqlSyntax inner = expression();
    ExpectKind(SqlTokenKind::Close);
    return inner;
  };
  if (OpensQuery(1)) return Either(subquery, grouped);
  return grouped();
}

// name(...): COUNT(*), an aggregate over DISTINCT, IIF whose first argument
// is a condition, and OVER (...) after any of them.
SqlSyntax SqlParser::functionCall(size_t first) {
  SqlSyntax call = Node(SqlSyntaxKind::FunctionCall, first);
  const bool iif = position_ == first + 1 && tokens_[first].IsWord(u"IIF");
  ExpectKind(SqlTokenKind::Open);
  if (iif) {
    call.parts.push_back(orCondition());
    ExpectKind(SqlTokenKind::Comma);
    call.parts.push_back(expression());
    ExpectKind(SqlTokenKind::Comma);
    call.parts.push_back(expression());
  } else if (!Symbol(u"*") && !PeekKind(SqlTokenKind::Close)) {
    if (!Word(u"DISTINCT")) Word(u"ALL");
    do call.parts.push_back(expression());
    while (Kind(SqlTokenKind::Comma));
  }
  ExpectKind(SqlTokenKind::Close);
  if (Word(u"OVER")) {
    ExpectKind(SqlTokenKind::Open);
    if (Word(u"PARTITION")) {
      Expect(u"BY");
      expressionList();
    }
    if (PeekWord(u"ORDER")) orderBy();
    ExpectKind(SqlTokenKind::Close);
  }
  call.last = position_;
  return call;
}

// CASE value WHEN value THEN ... or CASE WHEN condition THEN ..., [ELSE ...] END.
SqlSyntax SqlParser::caseExpression() {
  const size_t first = position_;
  Expect(u"CASE");
  SqlSyntax node = Node(SqlSyntaxKind::Case, first);
  const bool searched = PeekWord(u"WHEN");
  if (!searched) node.parts.push_back(expression());
  if (!PeekWord(u"WHEN")) Fail();
  while (Word(u"WHEN")) {
    node.parts.push_back(searched ? orCondition() : expression());
    Expect(u"THEN");
    node.parts.push_back(expression());
  }
  if (Word(u"ELSE")) node.parts.push_back(expression());
  Expect(u"END");
  node.last = position_;
  return node;
}

// A type: a name of one or two words (DOUBLE PRECISION) and its length,
// precision and scale, or MAX.
void SqlParser::dataType() {
  if (!Kind(SqlTokenKind::Word) && !Kind(SqlTokenKind::QuotedName)) Fail();
  if (!Word(u"PRECISION")) Word(u"VARYING");
  if (Kind(SqlTokenKind::Open)) {
    if (!Word(u"MAX")) ExpectKind(SqlTokenKind::Number);
    if (Kind(SqlTokenKind::Comma)) ExpectKind(SqlTokenKind::Number);
    ExpectKind(SqlTokenKind::Close);
  }
}

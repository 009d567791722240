#include "platform/sql/SqlParser.h"

// T-SQL's precedence: INTERSECT binds before UNION and EXCEPT, which go
// from left to right; an ORDER BY and OFFSET end the whole expression.
SqlSyntax SqlParser::queryExpression() {
  const size_t first = position_;
  SqlSyntax left = intersectTerm();
  for (;;) {
    SqlSyntaxKind kind;
    if (Word(u"UNION")) {
      kind = SqlSyntaxKind::Union;
      Word(u"ALL");
    } else if (Word(u"EXCEPT")) {
      kind = SqlSyntaxKind::Except;
    } else {
      break;
    }
    SqlSyntax right = intersectTerm();
    SqlSyntax operation = Node(kind, first);
    operation.parts = {std::move(left), std::move(right)};
    left = std::move(operation);
  }
  if (PeekWord(u"ORDER")) {
    SqlSyntax ordered = Node(left.kind, first);
    ordered.parts = {std::move(left), orderBy()};
    ordered.last = position_;
    return ordered;
  }
  return left;
}

SqlSyntax SqlParser::intersectTerm() {
  const size_t first = position_;
  SqlSyntax left = queryPrimary();
  while (Word(u"INTERSECT")) {
    SqlSyntax right = queryPrimary();
    SqlSyntax operation = Node(SqlSyntaxKind::Intersect, first);
    operation.parts = {std::move(left), std::move(right)};
    left = std::move(operation);
  }
  return left;
}

SqlSyntax SqlParser::queryPrimary() {
  if (!Kind(SqlTokenKind::Open)) return selectBlock();
  SqlSyntax query = queryExpression();
  ExpectKind(SqlTokenKind::Close);
  return query;
}

SqlSyntax SqlParser::selectBlock() {
  const size_t first = position_;
  Expect(u"SELECT");
  SqlSyntax query = Node(SqlSyntaxKind::SelectBlock, first);
  if (!Word(u"ALL")) Word(u"DISTINCT");
  if (PeekWord(u"TOP")) query.parts.push_back(top());
  do selectItem();
  while (Kind(SqlTokenKind::Comma));
  if (Word(u"INTO")) chain();
  if (PeekWord(u"FROM")) query.parts.push_back(from());
  if (PeekWord(u"WHERE")) query.parts.push_back(condition(SqlSyntaxKind::Where));
  if (Word(u"GROUP")) {
    Expect(u"BY");
    expressionList();
  }
  if (PeekWord(u"HAVING")) query.parts.push_back(condition(SqlSyntaxKind::Having));
  query.last = position_;
  return query;
}

// TOP n or TOP (expression), [PERCENT] [WITH TIES].
SqlSyntax SqlParser::top() {
  const size_t first = position_;
  Expect(u"TOP");
  if (PeekKind(SqlTokenKind::Open)) {
    primary();
  } else if (!Kind(SqlTokenKind::Number) && !Kind(SqlTokenKind::Variable) && !Symbol(u"?")) {
    Fail();
  }
  Word(u"PERCENT");
  if (Word(u"WITH")) Expect(u"TIES");
  return Node(SqlSyntaxKind::Top, first);
}

// *, T.*, expression [[AS] alias], alias = expression.
void SqlParser::selectItem() {
  if (Symbol(u"*")) return;
  if ((PeekKind(SqlTokenKind::Word) || PeekKind(SqlTokenKind::QuotedName)) && PeekSymbol(u"=", 1) && Name()) {
    Symbol(u"=");
    expression();
    return;
  }
  const size_t start = position_;
  if (Name() && PeekKind(SqlTokenKind::Dot)) {
    position_ = start;
    chain(true);
    if (tokens_[position_ - 1].IsSymbol(u"*")) return;
  }
  position_ = start;
  expression();
  if (Word(u"AS")) {
    if (!Kind(SqlTokenKind::String)) ExpectName();
  } else if (!Kind(SqlTokenKind::String)) {
    Name();
  }
}

SqlSyntax SqlParser::orderBy() {
  const size_t first = position_;
  Expect(u"ORDER");
  Expect(u"BY");
  do {
    expression();
    if (!Word(u"ASC")) Word(u"DESC");
  } while (Kind(SqlTokenKind::Comma));
  const size_t offset = position_;
  if (Word(u"OFFSET")) {
    if (PeekWord(u"ROWS") || PeekWord(u"ROW")) {
      position_ = offset;
      Fail();
    }
    expression();
    if (!Word(u"ROWS")) Expect(u"ROW");
    if (Word(u"FETCH")) {
      if (!Word(u"NEXT")) Expect(u"FIRST");
      expression();
      if (!Word(u"ROWS")) Expect(u"ROW");
      Expect(u"ONLY");
    }
  }
  return Node(SqlSyntaxKind::OrderBy, first);
}

SqlSyntax SqlParser::from() {
  const size_t first = position_;
  Expect(u"FROM");
  SqlSyntax list = Node(SqlSyntaxKind::From, first);
  do list.parts.push_back(tableSource());
  while (Kind(SqlTokenKind::Comma));
  list.last = position_;
  return list;
}

bool SqlParser::JoinFollows() const {
  return PeekWord(u"JOIN") || PeekWord(u"INNER") || PeekWord(u"LEFT") || PeekWord(u"RIGHT") || PeekWord(u"FULL") ||
         PeekWord(u"CROSS");
}

SqlSyntax SqlParser::tableSource() { return joinsAfter(tablePrimary()); }

// A JOIN's right side may hold joins of its own before its ON
// (A JOIN B JOIN C ON c ON b); every JOIN but CROSS JOIN has an ON.
SqlSyntax SqlParser::joinsAfter(SqlSyntax left) {
  const size_t first = left.first;
  while (JoinFollows()) {
    bool cross = false;
    if (Word(u"CROSS")) {
      cross = true;
    } else if (Word(u"LEFT") || Word(u"RIGHT") || Word(u"FULL")) {
      Word(u"OUTER");
    } else {
      Word(u"INNER");
    }
    Expect(u"JOIN");
    SqlSyntax right = tablePrimary();
    if (!cross && JoinFollows()) right = joinsAfter(std::move(right));
    SqlSyntax join = Node(SqlSyntaxKind::Join, first);
    join.parts = {std::move(left), std::move(right)};
    if (!cross) {
      if (!PeekWord(u"ON")) Fail();
      join.parts.push_back(condition(SqlSyntaxKind::On));
    }
    join.last = position_;
    left = std::move(join);
  }
  return left;
}

// A table [[AS] alias] [WITH (hints)], a derived table with its alias, or
// joins in parentheses.
SqlSyntax SqlParser::tablePrimary() {
  const size_t first = position_;
  if (!PeekKind(SqlTokenKind::Open)) {
    chain();
    SqlSyntax table = Node(SqlSyntaxKind::Table, first);
    alias();
    if (PeekWord(u"WITH")) tableHints();
    table.last = position_;
    return table;
  }
  auto derived = [&] {
    ExpectKind(SqlTokenKind::Open);
    SqlSyntax derivedTable = Node(SqlSyntaxKind::DerivedTable, first);
    derivedTable.parts.push_back(queryExpression());
    ExpectKind(SqlTokenKind::Close);
    if (!alias()) Fail();
    if (Kind(SqlTokenKind::Open)) {
      do ExpectName();
      while (Kind(SqlTokenKind::Comma));
      ExpectKind(SqlTokenKind::Close);
    }
    derivedTable.last = position_;
    return derivedTable;
  };
  auto joined = [&] {
    ExpectKind(SqlTokenKind::Open);
    SqlSyntax joins = tableSource();
    ExpectKind(SqlTokenKind::Close);
    return joins;
  };
  if (OpensQuery(0)) return Either(derived, joined);
  return Either(joined, derived);
}

void SqlParser::tableHints() {
  Expect(u"WITH");
  ExpectKind(SqlTokenKind::Open);
  do ExpectKind(SqlTokenKind::Word);
  while (Kind(SqlTokenKind::Comma));
  ExpectKind(SqlTokenKind::Close);
}

// OFFSET after a FROM begins a clause, never an alias.
bool SqlParser::alias() {
  if (Word(u"AS")) {
    ExpectName();
    return true;
  }
  return !PeekWord(u"OFFSET") && Name();
}

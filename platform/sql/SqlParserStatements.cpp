#include "platform/sql/SqlParser.h"

// The statement a piece of a batch holds, by its first words.
SqlSyntax SqlParser::statement() {
  if (PeekWord(u"SELECT") || PeekKind(SqlTokenKind::Open)) return select();
  if (PeekWord(u"INSERT")) return insert();
  if (PeekWord(u"UPDATE")) return update();
  if (PeekWord(u"DELETE")) return deleteStatement();
  if (PeekWord(u"CREATE")) return create();
  if (PeekWord(u"ALTER")) return alter();
  if (PeekWord(u"DROP")) return drop();
  if (PeekWord(u"BEGIN") || PeekWord(u"COMMIT") || PeekWord(u"ROLLBACK")) return transaction();
  if (PeekWord(u"IF")) return ifExists();
  return serverCommand();
}

SqlSyntax SqlParser::select() {
  const size_t first = position_;
  SqlSyntax node = Node(SqlSyntaxKind::Select, first);
  node.parts.push_back(queryExpression());
  node.last = position_;
  return node;
}

// INSERT [INTO] T [(columns)] VALUES (...)[, (...)] | query | DEFAULT VALUES.
SqlSyntax SqlParser::insert() {
  const size_t first = position_;
  Expect(u"INSERT");
  SqlSyntax node = Node(SqlSyntaxKind::Insert, first);
  Word(u"INTO");
  chain();
  if (PeekKind(SqlTokenKind::Open) && !OpensQuery(0)) {
    ExpectKind(SqlTokenKind::Open);
    do chain();
    while (Kind(SqlTokenKind::Comma));
    ExpectKind(SqlTokenKind::Close);
  }
  if (Word(u"VALUES")) {
    do {
      ExpectKind(SqlTokenKind::Open);
      do
        if (!Word(u"DEFAULT")) expression();
      while (Kind(SqlTokenKind::Comma));
      ExpectKind(SqlTokenKind::Close);
    } while (Kind(SqlTokenKind::Comma));
  } else if (Word(u"DEFAULT")) {
    Expect(u"VALUES");
  } else {
    node.parts.push_back(queryExpression());
  }
  node.last = position_;
  return node;
}

// TOP (n) [PERCENT] of UPDATE and DELETE: the parentheses are required.
SqlSyntax SqlParser::dmlTop() {
  const size_t first = position_;
  Expect(u"TOP");
  if (!PeekKind(SqlTokenKind::Open)) Fail();
  primary();
  Word(u"PERCENT");
  return Node(SqlSyntaxKind::Top, first);
}

// UPDATE [TOP (n)] target SET column = value, ... [FROM ...] [WHERE ...].
SqlSyntax SqlParser::update() {
  const size_t first = position_;
  Expect(u"UPDATE");
  SqlSyntax node = Node(SqlSyntaxKind::Update, first);
  if (PeekWord(u"TOP")) node.parts.push_back(dmlTop());
  const size_t target = position_;
  chain();
  node.parts.push_back(Node(SqlSyntaxKind::Table, target));
  if (PeekWord(u"WITH")) tableHints();
  Expect(u"SET");
  do assignment();
  while (Kind(SqlTokenKind::Comma));
  if (PeekWord(u"FROM")) node.parts.push_back(from());
  if (PeekWord(u"WHERE")) node.parts.push_back(condition(SqlSyntaxKind::Where));
  node.last = position_;
  return node;
}

// column = value, T.column = value, @variable = value.
void SqlParser::assignment() {
  if (!Kind(SqlTokenKind::Variable)) chain();
  if (!Symbol(u"=")) Fail();
  if (!Word(u"DEFAULT")) expression();
}

// DELETE [TOP (n)] [FROM] target [FROM ...] [WHERE ...].
SqlSyntax SqlParser::deleteStatement() {
  const size_t first = position_;
  Expect(u"DELETE");
  SqlSyntax node = Node(SqlSyntaxKind::Delete, first);
  if (PeekWord(u"TOP")) node.parts.push_back(dmlTop());
  Word(u"FROM");
  const size_t target = position_;
  chain();
  node.parts.push_back(Node(SqlSyntaxKind::Table, target));
  if (PeekWord(u"WITH")) tableHints();
  if (PeekWord(u"FROM")) node.parts.push_back(from());
  if (PeekWord(u"WHERE")) node.parts.push_back(condition(SqlSyntaxKind::Where));
  node.last = position_;
  return node;
}

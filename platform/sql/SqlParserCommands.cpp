#include "platform/sql/SqlParser.h"

#include "platform/sql/ReservedWords.h"

// CREATE TABLE, [UNIQUE] [CLUSTERED|NONCLUSTERED] INDEX, DATABASE, and the
// server's own row TRIGGER (the rest of the batch, SQLite's text).
SqlSyntax SqlParser::create() {
  const size_t first = position_;
  Expect(u"CREATE");
  if (Word(u"TABLE")) {
    chain();
    // SQL Server lets the list end in a comma.
    ExpectKind(SqlTokenKind::Open);
    do tableElement();
    while (Kind(SqlTokenKind::Comma) && !PeekKind(SqlTokenKind::Close));
    ExpectKind(SqlTokenKind::Close);
    return Node(SqlSyntaxKind::CreateTable, first);
  }
  if (Word(u"DATABASE")) {
    ExpectName();
    if (Word(u"COLLATE")) ExpectName();
    return Node(SqlSyntaxKind::ServerCommand, first);
  }
  if (Word(u"TRIGGER")) {
    position_ = tokens_.size();
    return Node(SqlSyntaxKind::Trigger, first);
  }
  Word(u"UNIQUE");
  if (!Word(u"CLUSTERED")) Word(u"NONCLUSTERED");
  if (!Word(u"INDEX")) Unsupported(first, first + 2);
  chain();
  Expect(u"ON");
  chain();
  keyColumns();
  return Node(SqlSyntaxKind::CreateIndex, first);
}

// ALTER TABLE T ADD column | DROP ...; ALTER DATABASE db COLLATE c | SET RECOVERY model.
SqlSyntax SqlParser::alter() {
  const size_t first = position_;
  Expect(u"ALTER");
  if (Word(u"DATABASE")) {
    ExpectName();
    if (Word(u"COLLATE")) {
      ExpectName();
    } else {
      Expect(u"SET");
      Expect(u"RECOVERY");
      ExpectName();
    }
    return Node(SqlSyntaxKind::ServerCommand, first);
  }
  if (!Word(u"TABLE")) Unsupported(first, first + 2);
  chain();
  if (Word(u"ADD")) {
    do tableElement();
    while (Kind(SqlTokenKind::Comma));
  } else if (Word(u"DROP")) {
    if (Word(u"CONSTRAINT")) {
      ExpectName();
    } else {
      Word(u"COLUMN");
      do ExpectName();
      while (Kind(SqlTokenKind::Comma));
    }
  } else {
    Unsupported(position_, tokens_.size(), QStringLiteral("ALTER TABLE "));
  }
  return Node(SqlSyntaxKind::AlterTable, first);
}

// A column, or a table's constraint: [CONSTRAINT name] PRIMARY KEY |
// UNIQUE [CLUSTERED|NONCLUSTERED] (columns) | FOREIGN KEY (columns)
// REFERENCES T (columns) | CHECK (condition).
void SqlParser::tableElement() {
  const bool named = Word(u"CONSTRAINT");
  if (named) ExpectName();
  if (Word(u"PRIMARY")) {
    Expect(u"KEY");
    if (!Word(u"CLUSTERED")) Word(u"NONCLUSTERED");
    keyColumns();
  } else if (Word(u"UNIQUE")) {
    if (!Word(u"CLUSTERED")) Word(u"NONCLUSTERED");
    keyColumns();
  } else if (Word(u"FOREIGN")) {
    Expect(u"KEY");
    keyColumns();
    if (!PeekWord(u"REFERENCES")) Fail();
    columnConstraint();
  } else if (PeekWord(u"CHECK")) {
    columnConstraint();
  } else if (named) {
    Fail();
  } else {
    columnDefinition();
  }
}

// name type [constraints] [WITH VALUES]; a column without its type is
// refused by the definition's own reading, in SQL Server's words.
void SqlParser::columnDefinition() {
  ExpectName();
  const bool typed = PeekKind(SqlTokenKind::QuotedName) ||
                     (PeekKind(SqlTokenKind::Word) &&
                      (!IsServerKeyword(Peek()->text) || PeekWord(u"DOUBLE") || PeekWord(u"NATIONAL")));
  if (typed) dataType();
  while (Peek() && !PeekKind(SqlTokenKind::Comma) && !PeekKind(SqlTokenKind::Close)) {
    if (Word(u"WITH")) {
      Expect(u"VALUES");
      continue;
    }
    columnConstraint();
  }
}

void SqlParser::columnConstraint() {
  if (Word(u"CONSTRAINT")) {
    ExpectName();
  } else if (Word(u"NOT")) {
    Expect(u"NULL");
  } else if (Word(u"NULL") || Word(u"ROWGUIDCOL")) {
  } else if (Word(u"DEFAULT")) {
    expression();
  } else if (Word(u"IDENTITY")) {
    if (Kind(SqlTokenKind::Open)) {
      expression();
      ExpectKind(SqlTokenKind::Comma);
      expression();
      ExpectKind(SqlTokenKind::Close);
    }
  } else if (Word(u"PRIMARY")) {
    Expect(u"KEY");
    if (!Word(u"CLUSTERED")) Word(u"NONCLUSTERED");
  } else if (Word(u"UNIQUE")) {
    if (!Word(u"CLUSTERED")) Word(u"NONCLUSTERED");
  } else if (Word(u"COLLATE")) {
    ExpectName();
  } else if (Word(u"CHECK")) {
    ExpectKind(SqlTokenKind::Open);
    orCondition();
    ExpectKind(SqlTokenKind::Close);
  } else if (Word(u"REFERENCES")) {
    chain();
    if (PeekKind(SqlTokenKind::Open)) keyColumns();
    while (Word(u"ON")) {
      if (!Word(u"DELETE")) Expect(u"UPDATE");
      if (Word(u"NO")) {
        Expect(u"ACTION");
      } else if (Word(u"SET")) {
        if (!Word(u"NULL")) Expect(u"DEFAULT");
      } else {
        Expect(u"CASCADE");
      }
    }
  } else {
    Fail();
  }
}

// (column [ASC|DESC], ...)
void SqlParser::keyColumns() {
  ExpectKind(SqlTokenKind::Open);
  do {
    ExpectName();
    if (!Word(u"ASC")) Word(u"DESC");
  } while (Kind(SqlTokenKind::Comma));
  ExpectKind(SqlTokenKind::Close);
}

// DROP TABLE [IF EXISTS] T, DROP INDEX I | T.I | I ON T, DROP DATABASE db,
// DROP TRIGGER t.
SqlSyntax SqlParser::drop() {
  const size_t first = position_;
  Expect(u"DROP");
  if (Word(u"TABLE")) {
    if (Word(u"IF")) Expect(u"EXISTS");
    chain();
    return Node(SqlSyntaxKind::DropTable, first);
  }
  if (Word(u"INDEX")) {
    chain();
    if (Word(u"ON")) chain();
    return Node(SqlSyntaxKind::DropIndex, first);
  }
  if (Word(u"DATABASE") || Word(u"TRIGGER")) {
    chain();
    return Node(SqlSyntaxKind::ServerCommand, first);
  }
  Unsupported(first, first + 2);
}

// BEGIN TRAN[SACTION] [name], COMMIT and ROLLBACK [TRAN[SACTION]|WORK] [name].
SqlSyntax SqlParser::transaction() {
  const size_t first = position_;
  if (Word(u"BEGIN")) {
    if (!Word(u"TRAN") && !Word(u"TRANSACTION")) Unsupported(first, tokens_.size());
  } else {
    ++position_;
    if (!Word(u"TRAN") && !Word(u"TRANSACTION")) Word(u"WORK");
  }
  Name();
  return Node(SqlSyntaxKind::Transaction, first);
}

// IF EXISTS (query) statement.
SqlSyntax SqlParser::ifExists() {
  const size_t first = position_;
  Expect(u"IF");
  if (!PeekWord(u"EXISTS")) Unsupported(first, first + 2);
  SqlSyntax node = Node(SqlSyntaxKind::IfExists, first);
  node.parts.push_back(predicate());
  node.parts.push_back(statement());
  node.last = position_;
  return node;
}

// USE, BACKUP, RESTORE, SET TRANSACTION ISOLATION LEVEL, EXEC, KILL and
// DBCC CHECKTABLE; the server runs no other.
SqlSyntax SqlParser::serverCommand() {
  const size_t first = position_;
  if (Word(u"USE")) {
    ExpectName();
  } else if (Word(u"BACKUP") || Word(u"RESTORE")) {
    const bool backup = tokens_[first].IsWord(u"BACKUP");
    Expect(u"DATABASE");
    ExpectName();
    Expect(backup ? u"TO" : u"FROM");
    Expect(u"DISK");
    if (!Symbol(u"=")) Fail();
    ExpectKind(SqlTokenKind::String);
    if (Word(u"WITH")) commandOptions();
  } else if (PeekWord(u"SET") && PeekWord(u"TRANSACTION", 1)) {
    position_ += 2;
    Expect(u"ISOLATION");
    Expect(u"LEVEL");
    ExpectKind(SqlTokenKind::Word);
    Kind(SqlTokenKind::Word);
  } else if (Word(u"EXEC") || Word(u"EXECUTE")) {
    chain();
    if (Peek()) {
      do {
        if (PeekKind(SqlTokenKind::Variable) && PeekSymbol(u"=", 1)) position_ += 2;
        expression();
      } while (Kind(SqlTokenKind::Comma));
    }
  } else if (Word(u"KILL")) {
    ExpectKind(SqlTokenKind::Number);
  } else if (PeekWord(u"DBCC") && PeekWord(u"CHECKTABLE", 1)) {
    position_ += 2;
    ExpectKind(SqlTokenKind::Open);
    if (!Kind(SqlTokenKind::String)) chain();
    ExpectKind(SqlTokenKind::Close);
    if (Word(u"WITH")) commandOptions();
  } else if (PeekWord(u"SET") || PeekWord(u"DBCC")) {
    Unsupported(first, tokens_.size());
  } else if (Peek()) {
    Unsupported(first, first + 2);
  } else {
    Fail();
  }
  return Node(SqlSyntaxKind::ServerCommand, first);
}

// WITH option [, option]: FORMAT, INIT, REPLACE, PHYSICAL_ONLY.
void SqlParser::commandOptions() {
  do ExpectName();
  while (Kind(SqlTokenKind::Comma));
}

#include "platform/sql/SqlParser.h"

#include "platform/sql/ReservedWords.h"
#include "platform/sql/SqlError.h"

SqlParser::SqlParser(QStringView statement) : statement_(statement.toString()) {
  for (const SqlToken& token : TokenizeSql(statement_))
    if (token.IsSignificant()) tokens_.push_back(token);
}

SqlSyntax SqlParser::ParseStatement(QStringView statement) {
  SqlParser parser(statement);
  try {
    SqlSyntax syntax = parser.statement();
    parser.Kind(SqlTokenKind::Semicolon);
    if (parser.Peek()) parser.Fail();
    return syntax;
  } catch (const Failure& failure) {
    if (parser.tokens_.empty()) throw SqlError(QStringLiteral("The statement is empty."));
    // At the end of the text SQL Server names its last token.
    const SqlToken& token = parser.tokens_[std::min(failure.at, parser.tokens_.size() - 1)];
    const QString text = token.Is(SqlTokenKind::String) ? token.Value() : token.text.toString();
    if (failure.nonBoolean)
      throw SqlError(QStringLiteral("An expression of non-boolean type specified in a context where a condition is "
                                    "expected, near '%1'.").arg(text));
    if (token.Is(SqlTokenKind::Word) && IsServerKeyword(token.text))
      throw SqlError(QStringLiteral("Incorrect syntax near the keyword '%1'.").arg(text.toUpper()));
    throw SqlError(QStringLiteral("Incorrect syntax near '%1'.").arg(text));
  }
}

const SqlToken* SqlParser::Peek(size_t ahead) const {
  return position_ + ahead < tokens_.size() ? &tokens_[position_ + ahead] : nullptr;
}

bool SqlParser::PeekWord(QStringView word, size_t ahead) const {
  const SqlToken* token = Peek(ahead);
  return token && token->IsWord(word);
}

bool SqlParser::PeekKind(SqlTokenKind kind, size_t ahead) const {
  const SqlToken* token = Peek(ahead);
  return token && token->Is(kind);
}

bool SqlParser::PeekSymbol(QStringView symbol, size_t ahead) const {
  const SqlToken* token = Peek(ahead);
  return token && token->IsSymbol(symbol);
}

bool SqlParser::Word(QStringView word) {
  if (!PeekWord(word)) return false;
  ++position_;
  return true;
}

bool SqlParser::Kind(SqlTokenKind kind) {
  if (!PeekKind(kind)) return false;
  ++position_;
  return true;
}

bool SqlParser::Symbol(QStringView symbol) {
  if (!PeekSymbol(symbol)) return false;
  ++position_;
  return true;
}

void SqlParser::Expect(QStringView word) {
  if (!Word(word)) Fail();
}

void SqlParser::ExpectKind(SqlTokenKind kind) {
  if (!Kind(kind)) Fail();
}

void SqlParser::Fail() const { throw Failure{position_, false}; }

void SqlParser::FailNonBoolean() const { throw Failure{position_, true}; }

void SqlParser::Unsupported(size_t from, size_t to, const QString& before) const {
  const qsizetype begin = from < tokens_.size() ? tokens_[from].text.data() - statement_.constData() : statement_.size();
  const qsizetype end = to < tokens_.size() ? tokens_[to].text.data() - statement_.constData() : statement_.size();
  throw SqlError(QStringLiteral("'%1' is not supported by the embedded server.")
                     .arg((before + statement_.mid(begin, end - begin)).simplified()));
}

bool SqlParser::OpensQuery(size_t ahead) const {
  while (PeekKind(SqlTokenKind::Open, ahead)) ++ahead;
  return PeekWord(u"SELECT", ahead);
}

bool SqlParser::Name() {
  const SqlToken* token = Peek();
  if (!token) return false;
  if (!token->Is(SqlTokenKind::QuotedName) && !(token->Is(SqlTokenKind::Word) && !IsServerKeyword(token->text)))
    return false;
  ++position_;
  return true;
}

void SqlParser::ExpectName() {
  if (!Name()) Fail();
}

void SqlParser::chain(bool star) {
  ExpectName();
  while (Kind(SqlTokenKind::Dot)) {
    if (PeekKind(SqlTokenKind::Dot)) continue;  // db..T
    if (star && Symbol(u"*")) return;
    ExpectName();
  }
}

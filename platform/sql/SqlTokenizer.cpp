#include "platform/sql/SqlTokenizer.h"

#include "platform/sql/SqlError.h"
#include "platform/sql/TextMemo.h"

#include <optional>

namespace {

bool IsWordStart(QChar c) { return c.isLetter() || c == u'_' || c == u'#'; }
bool IsWordPart(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'#' || c == u'@' || c == u'$'; }

// Index just past a run delimited by `close`, where a doubled `close` stands
// for itself; -1 when the text ends first.
qsizetype EndOfQuoted(QStringView text, qsizetype start, QChar close) {
  for (qsizetype i = start + 1; i < text.size(); ++i) {
    if (text[i] != close) continue;
    if (i + 1 < text.size() && text[i + 1] == close) {
      ++i;
      continue;
    }
    return i + 1;
  }
  return -1;
}

// Block comments nest in SQL Server.
qsizetype EndOfBlockComment(QStringView text, qsizetype start) {
  int depth = 0;
  for (qsizetype i = start; i + 1 < text.size(); ++i) {
    if (text[i] == u'/' && text[i + 1] == u'*') {
      ++depth;
      ++i;
    } else if (text[i] == u'*' && text[i + 1] == u'/') {
      ++i;
      if (--depth == 0) return i + 1;
    }
  }
  return -1;
}

qsizetype EndOfNumber(QStringView text, qsizetype i) {
  while (i < text.size() && text[i].isDigit()) ++i;
  if (i < text.size() && text[i] == u'.') {
    ++i;
    while (i < text.size() && text[i].isDigit()) ++i;
  }
  if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
    qsizetype j = i + 1;
    if (j < text.size() && (text[j] == u'+' || text[j] == u'-')) ++j;
    if (j < text.size() && text[j].isDigit()) {
      while (j < text.size() && text[j].isDigit()) ++j;
      i = j;
    }
  }
  return i;
}

const QStringView kTwoCharSymbols[] = {u"<=", u">=", u"<>", u"!=", u"!<", u"!>", u"||", u"::"};

}  // namespace

QString SqlToken::Value() const {
  switch (kind) {
    case SqlTokenKind::String: {
      const qsizetype open = text.indexOf(u'\'');
      return text.mid(open + 1, text.size() - open - 2).toString().replace(QStringLiteral("''"), QStringLiteral("'"));
    }
    case SqlTokenKind::QuotedName:
      if (text.startsWith(u'['))
        return text.mid(1, text.size() - 2).toString().replace(QStringLiteral("]]"), QStringLiteral("]"));
      return text.mid(1, text.size() - 2).toString().replace(QStringLiteral("\"\""), QStringLiteral("\""));
    default:
      return text.toString();
  }
}

namespace {


// Hands each token of the text to `take`, until the given number of
// significant ones were read.
template <typename Take>
void ScanSql(QStringView s, size_t significantTokens, Take&& take) {
  qsizetype i = 0;
  size_t significant = 0;
  auto add = [&](SqlTokenKind kind, qsizetype end) {
    const SqlToken token{kind, s.mid(i, end - i)};
    if (token.IsSignificant()) ++significant;
    take(token);
    i = end;
  };
  auto unterminated = [&](const char* what) {
    throw SqlError(QStringLiteral("Unclosed %1 after the character string '%2'.")
                       .arg(QLatin1String(what), s.mid(i).toString()));
  };
  while (i < s.size() && significant < significantTokens) {
    const QChar c = s[i];
    const QChar next = i + 1 < s.size() ? s[i + 1] : QChar();
    if (c.isSpace()) {
      qsizetype end = i;
      while (end < s.size() && s[end].isSpace()) ++end;
      add(SqlTokenKind::Whitespace, end);
    } else if (c == u'-' && next == u'-') {
      qsizetype end = s.indexOf(u'\n', i);
      add(SqlTokenKind::Comment, end < 0 ? s.size() : end);
    } else if (c == u'/' && next == u'*') {
      const qsizetype end = EndOfBlockComment(s, i);
      if (end < 0) unterminated("comment");
      add(SqlTokenKind::Comment, end);
    } else if (c == u'\'' || ((c == u'N' || c == u'n') && next == u'\'')) {
      const qsizetype end = EndOfQuoted(s, c == u'\'' ? i : i + 1, u'\'');
      if (end < 0) unterminated("quotation mark");
      add(SqlTokenKind::String, end);
    } else if (c == u'[') {
      const qsizetype end = EndOfQuoted(s, i, u']');
      if (end < 0) unterminated("bracket");
      add(SqlTokenKind::QuotedName, end);
    } else if (c == u'"') {
      const qsizetype end = EndOfQuoted(s, i, u'"');
      if (end < 0) unterminated("quotation mark");
      add(SqlTokenKind::QuotedName, end);
    } else if (c.isDigit() || (c == u'.' && next.isDigit())) {
      add(SqlTokenKind::Number, EndOfNumber(s, i));
    } else if (c == u'@') {
      qsizetype end = i + 1;
      while (end < s.size() && (s[end] == u'@' || IsWordPart(s[end]))) ++end;
      add(SqlTokenKind::Variable, end);
    } else if (IsWordStart(c)) {
      qsizetype end = i + 1;
      while (end < s.size() && IsWordPart(s[end])) ++end;
      add(SqlTokenKind::Word, end);
    } else if (c == u'(') {
      add(SqlTokenKind::Open, i + 1);
    } else if (c == u')') {
      add(SqlTokenKind::Close, i + 1);
    } else if (c == u',') {
      add(SqlTokenKind::Comma, i + 1);
    } else if (c == u'.') {
      add(SqlTokenKind::Dot, i + 1);
    } else if (c == u';') {
      add(SqlTokenKind::Semicolon, i + 1);
    } else {
      qsizetype end = i + 1;
      for (QStringView pair : kTwoCharSymbols)
        if (s.mid(i, 2) == pair) end = i + 2;
      add(SqlTokenKind::Symbol, end);
    }
  }
}

}  // namespace

std::vector<SqlToken> TokenizeSql(QStringView statement, size_t significantTokens) {
  std::vector<SqlToken> tokens;
  tokens.reserve(size_t(statement.size()) / 4 + 1);  // about one token in four characters, blanks included
  ScanSql(statement, significantTokens,
          [&](const SqlToken& token) { tokens.push_back(token); });
  return tokens;
}

namespace {

template <size_t... N>
bool IsOneOf(const SqlToken& token, const char16_t (&... words)[N]) {
  return token.Is(SqlTokenKind::Word) && (token.IsWord(words) || ...);
}

// Where SQL Server's parser sees the next statement of a batch begin: a
// statement's leading word at the top level, unless it goes on the current
// one (INSERT ... SELECT, UPDATE ... SET, UNION SELECT, ALTER TABLE ...
// DROP, ON DELETE). The body of a view, procedure, function or trigger and
// an IF are never cut.
class StatementStarts {
 public:
  bool StartsNew(const SqlToken& token, int depth) {
    if (!token.IsSignificant()) return false;
    const bool starts = depth == 0 && head_ && StartsStatement(token);
    if (starts) Reset();
    Follow(token, depth);
    return starts;
  }
  void Reset() { *this = StatementStarts(); }
  // A module's definition (CREATE VIEW, PROCEDURE, FUNCTION, TRIGGER) is
  // the whole rest of its batch, its ";" included, as SQL Server reads it.
  bool ToBatchEnd() const { return toBatchEnd_; }

 private:
  bool StartsStatement(const SqlToken& token) const {
    if (whole_ || previous_.Is(SqlTokenKind::Dot)) return false;
    if (!IsOneOf(token, u"SELECT", u"INSERT", u"UPDATE", u"DELETE", u"CREATE", u"DROP", u"ALTER", u"USE", u"BEGIN",
                         u"COMMIT", u"ROLLBACK", u"EXEC", u"EXECUTE", u"SET", u"TRUNCATE", u"BACKUP", u"RESTORE",
                         u"DBCC", u"KILL", u"DECLARE", u"PRINT", u"GRANT"))
      return false;
    if (token.IsWord(u"SELECT"))
      return !IsOneOf(previous_, u"UNION", u"ALL", u"EXCEPT", u"INTERSECT", u"AS") &&
             !(IsOneOf(*head_, u"INSERT") && !sawSource_);
    if (token.IsWord(u"SET")) return !IsOneOf(*head_, u"UPDATE", u"ALTER");
    if (IsOneOf(token, u"DELETE", u"UPDATE")) return !IsOneOf(previous_, u"ON", u"DO");
    if (token.IsWord(u"DROP")) return !head_->IsWord(u"ALTER");
    if (IsOneOf(token, u"EXEC", u"EXECUTE")) return !head_->IsWord(u"INSERT");
    return true;
  }

  void Follow(const SqlToken& token, int depth) {
    if (!head_) {
      head_ = token;
      whole_ = IsOneOf(token, u"IF", u"WITH", u"WHILE");
    } else if (previous_.IsWord(u"CREATE") || previous_.IsWord(u"ALTER")) {
      const bool module = IsOneOf(token, u"VIEW", u"PROCEDURE", u"PROC", u"FUNCTION", u"TRIGGER");
      whole_ = whole_ || module;
      toBatchEnd_ = toBatchEnd_ || (module && previous_.text.data() == head_->text.data());
    }
    if (depth == 0 && IsOneOf(token, u"VALUES", u"SELECT")) sawSource_ = true;
    previous_ = token;
  }

  std::optional<SqlToken> head_;
  SqlToken previous_{SqlTokenKind::Whitespace, {}};
  bool whole_ = false;
  bool sawSource_ = false;
  bool toBatchEnd_ = false;
};

}  // namespace

QStringList SplitSqlStatements(const QString& batch) {
  thread_local TextMemo<QStringList> split;
  return split.Of(batch, [&] { return SplitSqlStatements(QStringView(batch)); });
}

QStringList SplitSqlStatements(QStringView batch) {
  QStringList statements;
  qsizetype begin = 0;  // of the statement being read
  qsizetype at = 0;
  bool significant = false;
  auto finish = [&] {
    if (significant) statements.append(batch.mid(begin, at - begin).trimmed().toString());
    begin = at;
    significant = false;
  };
  StatementStarts starts;
  int depth = 0;
  ScanSql(batch, size_t(-1), [&](const SqlToken& token) {
    if (token.Is(SqlTokenKind::Semicolon) && !starts.ToBatchEnd()) {
      finish();
      at = begin = at + token.text.size();
      starts.Reset();
      return;
    }
    if (starts.StartsNew(token, depth)) finish();
    if (token.Is(SqlTokenKind::Open)) ++depth;
    if (token.Is(SqlTokenKind::Close)) --depth;
    at += token.text.size();
    significant = significant || token.IsSignificant();
  });
  finish();
  return statements;
}

QString QuoteSqlString(QStringView text) {
  QString quoted = text.toString();
  quoted.replace(u'\'', QStringLiteral("''"));
  return u'\'' + quoted + u'\'';
}

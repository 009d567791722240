#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

enum class SqlTokenKind {
  Whitespace,
  Comment,
  Word,        // keyword or plain identifier
  QuotedName,  // [name] or "name"
  String,      // 'text' or N'text'
  Number,
  Variable,    // @name, @@name
  Symbol,      // operators and other punctuation
  Open,
  Close,
  Comma,
  Dot,
  Semicolon,
};

// Keywords are compared as SQL Server compares them: ASCII letters in
// either case.
inline bool IsSqlWordText(QStringView text, QStringView word) {
  if (text.size() != word.size()) return false;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t a = text[i].unicode();
    const char16_t b = word[i].unicode();
    const char16_t lower = a | 0x20;
    if (a != b && (lower != (b | 0x20) || lower < u'a' || lower > u'z')) return false;
  }
  return true;
}

// A token as written, a view of the statement it was read from (or of a
// literal): the statement outlives its tokens.
struct SqlToken {
  SqlTokenKind kind;
  QStringView text;

  bool Is(SqlTokenKind k) const { return kind == k; }
  // A Word equal to word, ignoring case.
  bool IsWord(QStringView word) const { return kind == SqlTokenKind::Word && IsSqlWordText(text, word); }
  bool IsSymbol(QStringView symbol) const { return kind == SqlTokenKind::Symbol && text == symbol; }
  // A literal's length is known when compiled; a view made of it at run time counts it.
  template <size_t N>
  bool IsWord(const char16_t (&word)[N]) const { return IsWord(QStringView(word, qsizetype(N) - 1)); }
  template <size_t N>
  bool IsSymbol(const char16_t (&symbol)[N]) const { return IsSymbol(QStringView(symbol, qsizetype(N) - 1)); }
  bool IsSignificant() const { return kind != SqlTokenKind::Whitespace && kind != SqlTokenKind::Comment; }
  // The name of a Word or QuotedName, the content of a String, unquoted.
  QString Value() const;
};

// Splits a statement of SQL Server's dialect into tokens, whitespace and
// comments included, so that joining the texts gives the statement back.
// The tokens view the statement, which must outlive them.
// Raises SqlError for an unterminated string, name or comment. Stops after
// the given number of significant tokens, for a look at how a text begins.
std::vector<SqlToken> TokenizeSql(QStringView statement, size_t significantTokens = size_t(-1));

// The statements of a batch, split at each ";" that is not inside a string,
// a quoted name or a comment, and where a statement written right after
// another begins (SQL Server needs no ";" between them); pieces with nothing
// but blanks and comments are left out.
QStringList SplitSqlStatements(QStringView batch);
// The same, kept for the texts split lately.
QStringList SplitSqlStatements(const QString& batch);

// A text as an SQL string literal, its quotes doubled.
QString QuoteSqlString(QStringView text);

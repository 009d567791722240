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

struct SqlToken {
  SqlTokenKind kind;
  QString text;  // as written

  bool Is(SqlTokenKind k) const { return kind == k; }
  bool IsWord(QStringView word) const;  // a Word equal to word, ignoring case
  bool IsSymbol(QStringView symbol) const { return kind == SqlTokenKind::Symbol && text == symbol; }
  bool IsSignificant() const { return kind != SqlTokenKind::Whitespace && kind != SqlTokenKind::Comment; }
  // The name of a Word or QuotedName, the content of a String, unquoted.
  QString Value() const;
};

// Splits a statement of SQL Server's dialect into tokens, whitespace and
// comments included, so that joining the texts gives the statement back.
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

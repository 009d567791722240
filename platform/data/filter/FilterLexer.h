#pragma once

#include <QString>

// The words of a filter expression. Names come plain, in brackets or in
// double quotes; text constants in single quotes, a doubled quote standing
// for one; numbers may also come without quotes.
enum class FilterToken { End, Name, Text, Number, And, Or, Not, LeftParen, RightParen, Comparison };

class FilterLexer {
 public:
  explicit FilterLexer(const QString& text);

  // Reads the next word; raises EDatabaseError for a word the engine does
  // not know.
  void Next();
  FilterToken Token() const { return token_; }
  // A name or constant without its quotes, or the comparison's symbol.
  const QString& Value() const { return value_; }
  // The word as written, for messages: quoted, or "nothing" at the end.
  QString Shown() const;

 private:
  QString readQuoted(QChar close, const char* unterminated);

  QString text_;
  qsizetype position_ = 0;
  qsizetype start_ = 0;
  FilterToken token_ = FilterToken::End;
  QString value_;
};

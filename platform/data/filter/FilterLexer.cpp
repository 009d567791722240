#include "platform/data/filter/FilterLexer.h"

#include "platform/data/filter/FilterTexts.h"
#include "platform/sqlite/DatabaseError.h"

namespace {

bool isNameCharacter(QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; }

}  // namespace

FilterLexer::FilterLexer(const QString& text) : text_(text) { Next(); }

QString FilterLexer::Shown() const {
  if (token_ == FilterToken::End) return QString::fromLatin1(EngineText::FilterNothing);
  return u'\'' + text_.mid(start_, position_ - start_) + u'\'';
}

QString FilterLexer::readQuoted(QChar close, const char* unterminated) {
  QString value;
  ++position_;
  while (true) {
    if (position_ >= text_.size()) throw EDatabaseError(QString::fromLatin1(unterminated));
    const QChar c = text_[position_++];
    if (c == close) {
      if (close != u'\'' || position_ >= text_.size() || text_[position_] != u'\'') break;
      ++position_;  // a doubled quote
    }
    value.append(c);
  }
  return value;
}

void FilterLexer::Next() {
  while (position_ < text_.size() && text_[position_].isSpace()) ++position_;
  start_ = position_;
  value_.clear();
  if (position_ >= text_.size()) {
    token_ = FilterToken::End;
    return;
  }
  const QChar c = text_[position_];
  if (c == u'\'') {
    value_ = readQuoted(u'\'', EngineText::FilterUnterminatedString);
    token_ = FilterToken::Text;
  } else if (c == u'[') {
    value_ = readQuoted(u']', EngineText::FilterUnterminatedName);
    token_ = FilterToken::Name;
  } else if (c == u'"') {
    value_ = readQuoted(u'"', EngineText::FilterUnterminatedName);
    token_ = FilterToken::Name;
  } else if (c == u'(' || c == u')') {
    ++position_;
    token_ = c == u'(' ? FilterToken::LeftParen : FilterToken::RightParen;
  } else if (c == u'=' || c == u'<' || c == u'>') {
    ++position_;
    value_ = c;
    if (position_ < text_.size() && c != u'=' && (text_[position_] == u'=' || (c == u'<' && text_[position_] == u'>')))
      value_.append(text_[position_++]);
    token_ = FilterToken::Comparison;
  } else if (c.isDigit() ||
             ((c == u'-' || c == u'.') && position_ + 1 < text_.size() && text_[position_ + 1].isDigit())) {
    ++position_;
    while (position_ < text_.size() && (text_[position_].isDigit() || text_[position_] == u'.')) ++position_;
    value_ = text_.mid(start_, position_ - start_);
    token_ = FilterToken::Number;
  } else if (isNameCharacter(c)) {
    while (position_ < text_.size() && isNameCharacter(text_[position_])) ++position_;
    value_ = text_.mid(start_, position_ - start_);
    if (value_.compare(u"AND", Qt::CaseInsensitive) == 0)
      token_ = FilterToken::And;
    else if (value_.compare(u"OR", Qt::CaseInsensitive) == 0)
      token_ = FilterToken::Or;
    else if (value_.compare(u"NOT", Qt::CaseInsensitive) == 0)
      token_ = FilterToken::Not;
    else
      token_ = FilterToken::Name;
  } else {
    throw EDatabaseError(QString::fromLatin1(EngineText::FilterInvalidCharacter).arg(c));
  }
}

#include "platform/sql/Collation.h"

#include <array>

namespace {

QStringView WithoutTrailingBlanks(QStringView text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == u' ') --end;
  return text.first(end);
}

// Base letter, lower case, of every character up to the end of Latin
// Extended-B; computed once.
const std::array<char16_t, 0x250>& BaseLetters() {
  static const std::array<char16_t, 0x250> table = [] {
    std::array<char16_t, 0x250> letters{};
    for (char16_t code = 0; code < letters.size(); ++code) {
      QChar c(code);
      const QString decomposition = c.decomposition();
      if (c.decompositionTag() == QChar::Canonical && !decomposition.isEmpty()) c = decomposition[0];
      letters[code] = c.toCaseFolded().unicode();
    }
    return letters;
  }();
  return table;
}

constexpr char16_t kEnye = u'ñ';

}  // namespace

const Collation& Collation::Default() {
  static const Collation latin1General(false);
  return latin1General;
}

const Collation* Collation::Find(QStringView name) {
  static const Collation spanish(true);
  if (!name.endsWith(u"_CI_AI", Qt::CaseInsensitive)) return nullptr;
  if (name.startsWith(u"Modern_Spanish", Qt::CaseInsensitive) ||
      name.startsWith(u"Traditional_Spanish", Qt::CaseInsensitive))
    return &spanish;
  return &Default();
}

QChar Collation::Fold(QChar c) const {
  const char16_t code = c.unicode();
  if (code < 0x80) return (code >= u'A' && code <= u'Z') ? QChar(char16_t(code + 32)) : c;
  if (enyeIsLetter_ && (code == kEnye || code == u'Ñ')) return QChar(kEnye);
  if (code < BaseLetters().size()) return QChar(BaseLetters()[code]);
  return c.toCaseFolded();
}

QString Collation::Fold(QStringView text) const {
  QString folded(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) folded[i] = Fold(text[i]);
  return folded;
}

// Twice the folded code, so that "ñ" as a letter of its own fits between
// "n" and "o".
int Collation::Weight(QChar c) const {
  const QChar folded = Fold(c);
  if (folded.unicode() == kEnye) return u'n' * 2 + 1;
  return folded.unicode() * 2;
}

int Collation::Compare(QStringView a, QStringView b) const {
  a = WithoutTrailingBlanks(a);
  b = WithoutTrailingBlanks(b);
  const qsizetype common = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < common; ++i) {
    const int difference = Weight(a[i]) - Weight(b[i]);
    if (difference != 0) return difference;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

qsizetype Collation::IndexOf(QStringView what, QStringView text, qsizetype from) const {
  return Fold(text).indexOf(Fold(what), std::max<qsizetype>(from, 0));
}

namespace {

// Matches one [...] set at pattern[p] against c; returns the index past the
// set, or -1 when the set is not closed (then "[" is an ordinary character).
qsizetype MatchSet(const QString& pattern, qsizetype p, QChar c, bool& matched) {
  qsizetype i = p + 1;
  const bool negated = i < pattern.size() && pattern[i] == u'^';
  if (negated) ++i;
  bool found = false;
  const qsizetype first = i;
  while (i < pattern.size() && (pattern[i] != u']' || i == first)) {
    if (i + 2 < pattern.size() && pattern[i + 1] == u'-' && pattern[i + 2] != u']') {
      if (c >= pattern[i] && c <= pattern[i + 2]) found = true;
      i += 3;
    } else {
      if (c == pattern[i]) found = true;
      ++i;
    }
  }
  if (i >= pattern.size()) return -1;
  matched = found != negated;
  return i + 1;
}

bool LikeFrom(const QString& pattern, qsizetype p, const QString& text, qsizetype t, QChar escape) {
  while (p < pattern.size()) {
    const QChar pc = pattern[p];
    if (!escape.isNull() && pc == escape && p + 1 < pattern.size()) {
      if (t >= text.size() || text[t] != pattern[p + 1]) return false;
      p += 2;
      ++t;
    } else if (pc == u'%') {
      while (p < pattern.size() && pattern[p] == u'%') ++p;
      if (p == pattern.size()) return true;
      for (qsizetype start = t; start <= text.size(); ++start)
        if (LikeFrom(pattern, p, text, start, escape)) return true;
      return false;
    } else if (pc == u'_') {
      if (t >= text.size()) return false;
      ++p;
      ++t;
    } else if (pc == u'[') {
      if (t >= text.size()) return false;
      bool matched = false;
      const qsizetype after = MatchSet(pattern, p, text[t], matched);
      if (after < 0) {
        if (text[t] != pc) return false;
        ++p;
      } else {
        if (!matched) return false;
        p = after;
      }
      ++t;
    } else {
      if (t >= text.size() || text[t] != pc) return false;
      ++p;
      ++t;
    }
  }
  return t == text.size();
}

}  // namespace

bool Collation::Like(QStringView pattern, QStringView text, QChar escape) const {
  // Trailing blanks are not significant for single-byte text.
  return LikeFrom(Fold(WithoutTrailingBlanks(pattern)), 0, Fold(WithoutTrailingBlanks(text)), 0,
                  escape.isNull() ? escape : Fold(escape));
}

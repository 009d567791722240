#include "platform/sql/Collation.h"

#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>

namespace {

QStringView WithoutTrailingBlanks(QStringView text) {
  qsizetype end = text.size();
  while (end > 0 && text[end - 1] == u' ') --end;
  return text.first(end);
}

// Base letter, lower case, of every character up to the end of Latin
// Extended-B; computed once, before any statement runs (a function-local
// table cost a guard on every character folded).
std::array<char16_t, 0x250> MakeBaseLetters() {
  std::array<char16_t, 0x250> letters{};
  for (char16_t code = 0; code < letters.size(); ++code) {
    QChar c(code);
    const QString decomposition = c.decomposition();
    if (c.decompositionTag() == QChar::Canonical && !decomposition.isEmpty()) c = decomposition[0];
    letters[code] = c.toCaseFolded().unicode();
  }
  return letters;
}

const std::array<char16_t, 0x250> kBaseLetters = MakeBaseLetters();

const std::array<char16_t, 0x250>& BaseLetters() { return kBaseLetters; }

constexpr char16_t kEnye = u'ñ';

struct Family {
  QStringView name;
  bool enyeIsLetter;
  std::initializer_list<QStringView> suffixes;
};

const Family kFamilies[] = {
    {u"SQL_Latin1_General_CP1", false, {u"CI_AI", u"CI_AS", u"CS_AS", u"BIN"}},
    {u"Latin1_General", false, {u"CI_AI", u"CI_AS", u"CS_AI", u"CS_AS", u"BIN", u"BIN2"}},
    {u"Modern_Spanish", true, {u"CI_AI", u"CI_AS", u"CS_AI", u"CS_AS", u"BIN", u"BIN2"}},
    {u"Traditional_Spanish", true, {u"CI_AI", u"CI_AS", u"CS_AI", u"CS_AS", u"BIN", u"BIN2"}},
};

// The family and suffix a name spells, without regard to case.
std::optional<std::pair<const Family*, QStringView>> Parse(QStringView name) {
  for (const Family& family : kFamilies) {
    if (name.size() <= family.name.size() || !name.startsWith(family.name, Qt::CaseInsensitive) ||
        name[family.name.size()] != u'_')
      continue;
    const QStringView suffix = name.mid(family.name.size() + 1);
    for (QStringView known : family.suffixes)
      if (suffix.compare(known, Qt::CaseInsensitive) == 0) return std::make_pair(&family, known);
  }
  return std::nullopt;
}

const Collation& Of(bool enyeIsLetter, QStringView suffix) {
  // One instance per rule set, alive for the process: SQLite keeps pointers.
  static const Collation kAll[2][5] = {
      {Collation({false, false, false, false}), Collation({false, false, true, false}),
       Collation({false, true, false, false}), Collation({false, true, true, false}),
       Collation({false, true, true, true})},
      {Collation({true, false, false, false}), Collation({true, false, true, false}),
       Collation({true, true, false, false}), Collation({true, true, true, false}), Collation({true, true, true, true})},
  };
  int rules = 4;
  if (suffix == u"CI_AI") rules = 0;
  else if (suffix == u"CI_AS") rules = 1;
  else if (suffix == u"CS_AI") rules = 2;
  else if (suffix == u"CS_AS") rules = 3;
  return kAll[enyeIsLetter ? 1 : 0][rules];
}

bool IsUpper(QChar c) { return c.isUpper(); }

// The engine's text as the engine itself turns it into UTF-16 for the
// collation above, byte for byte the same (ill-formed sequences included),
// so that both give every index one order; read here without the engine's
// copy of each value on every comparison.
using Utf16 = QVarLengthArray<char16_t, 128>;

void AppendAsTheEngineReads(const unsigned char* text, int length, Utf16& units) {
  // The bits a leading byte carries, by the byte from 0xC0 on.
  static constexpr unsigned char kLeadingBits[] = {
      0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
      0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x1b, 0x1c, 0x1d, 0x1e, 0x1f,
      0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09, 0x0a, 0x0b, 0x0c, 0x0d, 0x0e, 0x0f,
      0x00, 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x00, 0x01, 0x02, 0x03, 0x00, 0x01, 0x00, 0x00,
  };
  const unsigned char* end = text + length;
  while (text < end) {
    std::uint32_t c = *text++;
    if (c >= 0xc0) {
      c = kLeadingBits[c - 0xc0];
      while (text < end && (*text & 0xc0) == 0x80) c = (c << 6) + (0x3f & *text++);
      if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE) c = 0xFFFD;
    }
    if (c <= 0xFFFF) {
      units.append(static_cast<char16_t>(c));
    } else {
      const std::uint32_t above = c - 0x10000;
      units.append(static_cast<char16_t>(((0xD8 + ((above >> 18) & 0x03)) << 8) |
                                         ((((c >> 10) & 0x3F) + ((above >> 10) & 0xC0)) & 0xFF)));
      units.append(static_cast<char16_t>(((0xDC + ((c >> 8) & 0x03)) << 8) | (c & 0xFF)));
    }
  }
}

}  // namespace

// Looked up once: filters and index orders ask for it on every comparison.
const Collation& Collation::Default() {
  static const Collation& collation = *Find(kDefaultName);
  return collation;
}

const Collation* Collation::Find(QStringView name) {
  const auto parsed = Parse(name);
  return parsed ? &Of(parsed->first->enyeIsLetter, parsed->second) : nullptr;
}

QString Collation::CanonicalName(QStringView name) {
  const auto parsed = Parse(name);
  return parsed ? parsed->first->name.toString() + u'_' + parsed->second.toString() : QString();
}

QChar Collation::Fold(QChar c) const {
  if (rules_.binary) return c;
  const char16_t code = c.unicode();
  QChar folded = c;
  if (rules_.enyeIsLetter && (code == kEnye || code == u'Ñ')) folded = QChar(kEnye);
  else if (!rules_.accentSensitive && code < BaseLetters().size()) folded = QChar(BaseLetters()[code]);
  else folded = c.toCaseFolded();
  return rules_.caseSensitive && c.isUpper() ? folded.toUpper() : folded;
}

QString Collation::Fold(QStringView text) const {
  QString folded(text.size(), Qt::Uninitialized);
  for (qsizetype i = 0; i < text.size(); ++i) folded[i] = Fold(text[i]);
  return folded;
}

// Twice the base letter's code, so that "ñ" as a letter of its own fits
// between "n" and "o".
int Collation::Weight(QChar c) const {
  const char16_t code = c.unicode();
  if (rules_.enyeIsLetter && (code == kEnye || code == u'Ñ')) return u'n' * 2 + 1;
  const QChar base = code < BaseLetters().size() ? QChar(BaseLetters()[code]) : c.toCaseFolded();
  return base.unicode() * 2;
}

int Collation::Compare(QStringView a, QStringView b) const {
  a = WithoutTrailingBlanks(a);
  b = WithoutTrailingBlanks(b);
  if (rules_.binary) return a.compare(b);
  const qsizetype common = std::min(a.size(), b.size());
  for (qsizetype i = 0; i < common; ++i) {
    const int difference = Weight(a[i]) - Weight(b[i]);
    if (difference != 0) return difference;
  }
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (qsizetype i = 0; rules_.accentSensitive && i < common; ++i) {
    const int difference = int(a[i].toCaseFolded().unicode()) - int(b[i].toCaseFolded().unicode());
    if (difference != 0) return difference;
  }
  for (qsizetype i = 0; rules_.caseSensitive && i < common; ++i) {
    const int difference = int(IsUpper(a[i])) - int(IsUpper(b[i]));
    if (difference != 0) return difference;
  }
  return 0;
}

int Collation::CompareUtf8(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB) const {
  Utf16 unitsA, unitsB;
  AppendAsTheEngineReads(a, lengthA, unitsA);
  AppendAsTheEngineReads(b, lengthB, unitsB);
  return Compare(QStringView(unitsA.data(), unitsA.size()), QStringView(unitsB.data(), unitsB.size()));
}

qsizetype Collation::IndexOf(QStringView what, QStringView text, qsizetype from) const {
  return Fold(text).indexOf(Fold(what), std::max<qsizetype>(from, 0));
}

bool Collation::Like(QStringView pattern, QStringView text, QChar escape) const {
  return LikePattern(*this, pattern, escape).Matches(text);
}

// Trailing blanks are not significant for single-byte text.
LikePattern::LikePattern(const Collation& collation, QStringView pattern, QChar escape)
    : collation_(&collation), escape_(escape) {
  const QString folded = collation.Fold(WithoutTrailingBlanks(pattern));
  const QChar foldedEscape = escape.isNull() ? escape : collation.Fold(escape);
  for (qsizetype p = 0; p < folded.size(); ++p) {
    const QChar c = folded[p];
    if (!foldedEscape.isNull() && c == foldedEscape && p + 1 < folded.size()) {
      elements_.push_back({Element::Character, folded[++p], {}, false});
    } else if (c == u'%') {
      if (elements_.empty() || elements_.back().kind != Element::AnyRun) elements_.push_back({Element::AnyRun, {}, {}, false});
    } else if (c == u'_') {
      elements_.push_back({Element::AnyOne, {}, {}, false});
    } else if (c == u'[') {
      // The set's first character may be "]"; an unclosed "[" is a character.
      qsizetype i = p + 1;
      const bool negated = i < folded.size() && folded[i] == u'^';
      if (negated) ++i;
      const qsizetype first = i;
      while (i < folded.size() && (folded[i] != u']' || i == first)) ++i;
      if (i >= folded.size()) {
        elements_.push_back({Element::Character, c, {}, false});
      } else {
        elements_.push_back({Element::Set, {}, folded.mid(first, i - first), negated});
        p = i;
      }
    } else {
      elements_.push_back({Element::Character, c, {}, false});
    }
  }
  const bool runsAround = elements_.size() >= 2 && elements_.front().kind == Element::AnyRun &&
                         elements_.back().kind == Element::AnyRun;
  fixedBetweenRuns_ = runsAround && std::none_of(elements_.begin() + 1, elements_.end() - 1,
                                                 [](const Element& e) { return e.kind == Element::AnyRun; });
  // The text of the elements between, when all are plain characters.
  const auto plainText = [](auto first, auto last) -> std::optional<QString> {
    QString text;
    for (; first != last; ++first) {
      if (first->kind != Element::Character) return std::nullopt;
      text += first->character;
    }
    return text;
  };
  if (fixedBetweenRuns_) contained_ = plainText(elements_.begin() + 1, elements_.end() - 1);
  if (elements_.size() >= 2 && elements_.back().kind == Element::AnyRun)
    prefix_ = plainText(elements_.begin(), elements_.end() - 1);
}

bool LikePattern::ReadWith(const Collation& collation, QChar escape) const {
  return collation_ == &collation && escape_ == escape;
}

bool LikePattern::InSet(const Element& set, QChar c) {
  bool found = false;
  const QString& s = set.set;
  for (qsizetype i = 0; i < s.size() && !found;) {
    if (i + 2 < s.size() && s[i + 1] == u'-') {
      found = c >= s[i] && c <= s[i + 2];
      i += 3;
    } else {
      found = c == s[i];
      ++i;
    }
  }
  return found != set.negated;
}

bool LikePattern::MatchesOne(const Element& element, QChar c) {
  switch (element.kind) {
    case Element::AnyOne:
      return true;
    case Element::Character:
      return element.character == c;
    case Element::Set:
      return InSet(element, c);
    case Element::AnyRun:
      break;
  }
  return true;
}

// Every place in the pattern the text read so far can have reached, moved on
// one character at a time.
bool LikePattern::Matches(QStringView text) const {
  text = WithoutTrailingBlanks(text);
  if (prefix_) {
    if (text.size() < prefix_->size()) return false;
    for (qsizetype i = 0; i < prefix_->size(); ++i)
      if (collation_->Fold(text[i]) != (*prefix_)[i]) return false;
    return true;
  }
  thread_local QString folded;
  folded.resize(text.size());
  QChar* out = folded.data();
  for (const QChar c : text) *out++ = collation_->Fold(c);
  if (contained_) return folded.contains(*contained_);
  if (fixedBetweenRuns_) {
    const auto first = elements_.begin() + 1;
    const auto last = elements_.end() - 1;
    const qsizetype width = last - first;
    for (qsizetype start = 0; start + width <= folded.size(); ++start) {
      qsizetype at = start;
      auto element = first;
      while (element != last && MatchesOne(*element, folded[at])) {
        ++element;
        ++at;
      }
      if (element == last) return true;
    }
    return false;
  }
  const std::size_t count = elements_.size();
  thread_local std::vector<char> reached, next;
  reached.assign(count + 1, 0);
  next.assign(count + 1, 0);
  const auto throughRuns = [this, count](std::vector<char>& states) {
    for (std::size_t i = 0; i < count; ++i)
      if (states[i] && elements_[i].kind == Element::AnyRun) states[i + 1] = 1;
  };
  reached[0] = 1;
  throughRuns(reached);
  for (const QChar c : std::as_const(folded)) {
    std::fill(next.begin(), next.end(), 0);
    bool any = false;
    for (std::size_t i = 0; i < count; ++i) {
      if (!reached[i]) continue;
      const Element& element = elements_[i];
      switch (element.kind) {
        case Element::AnyRun:
          next[i] = 1;
          break;
        case Element::AnyOne:
          next[i + 1] = 1;
          break;
        case Element::Character:
          if (element.character == c) next[i + 1] = 1;
          break;
        case Element::Set:
          if (InSet(element, c)) next[i + 1] = 1;
          break;
      }
      any = any || next[i] || next[i + 1];
    }
    if (!any) return false;
    throughRuns(next);
    reached.swap(next);
  }
  return reached[count] != 0;
}

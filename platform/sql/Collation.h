#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

struct sqlite3;

// SQL Server's collations the system and its installations name, for
// Spanish text: the Latin1_General, SQL_Latin1_General_CP1, Modern_Spanish
// and Traditional_Spanish families, each case and accent insensitive
// (_CI_AI), accent sensitive (_CI_AS), case sensitive (_CS_AI, _CS_AS) or
// binary (_BIN, _BIN2), as far as SQL Server has the name. Trailing blanks are never significant (SQL Server's
// padded comparison). The Latin1 families take the tilde of "ñ" as an
// accent; the Spanish ones keep "ñ" a letter of its own, sorted between "n"
// and "o". Letters sort by their base letter first, then by accent, then
// lower case before upper case.
class Collation {
 public:
  static constexpr QStringView kDefaultName = u"SQL_Latin1_General_CP1_CI_AI";

  static const Collation& Default();
  // The collation of a name, without regard to case; nullptr for a name
  // SQL Server would not know ("Invalid collation").
  static const Collation* Find(QStringView name);
  // The name as SQL Server spells it; empty for an unknown one.
  static QString CanonicalName(QStringView name);

  // Lets the connection use every collation Find knows, registered when a
  // statement, a column or an index first names it; false on failure.
  static bool RegisterWhenNeeded(sqlite3* handle);

  // Negative, zero or positive, as a sorts before, equal to or after b.
  int Compare(QStringView a, QStringView b) const;
  bool Equal(QStringView a, QStringView b) const { return Compare(a, b) == 0; }
  // The same for two texts as the engine keeps them in UTF-8: read as the
  // engine reads them into UTF-16, ill-formed bytes included.
  int CompareUtf8(const unsigned char* a, int lengthA, const unsigned char* b, int lengthB) const;

  // The text with every character replaced by the one it equals under the
  // collation (lower case and no accent where they do not count), one for
  // one, so positions found in the folded text hold in the original.
  QString Fold(QStringView text) const;
  QChar Fold(QChar c) const;

  // SQL Server's LIKE: % any run, _ one character, [abc], [a-c] and [^abc]
  // sets, an optional escape character; compared under the collation. Many
  // texts against one pattern: LikePattern.
  bool Like(QStringView pattern, QStringView text, QChar escape = QChar()) const;

  // The first position (from 0) of what in text at or after from under the
  // collation; -1 when absent.
  qsizetype IndexOf(QStringView what, QStringView text, qsizetype from = 0) const;

  struct Rules {
    bool enyeIsLetter = false;
    bool caseSensitive = false;
    bool accentSensitive = false;
    bool binary = false;
  };
  explicit constexpr Collation(Rules rules) : rules_(rules) {}

 private:
  int Weight(QChar c) const;

  Rules rules_;
};

// A LIKE pattern folded and read once, matched against texts in time bounded
// by the pattern's length times the text's, whatever its runs of "%".
class LikePattern {
 public:
  LikePattern(const Collation& collation, QStringView pattern, QChar escape = QChar());

  bool Matches(QStringView text) const;
  // Whether it was read under that collation with that escape.
  bool ReadWith(const Collation& collation, QChar escape) const;

 private:
  struct Element {
    enum Kind { Character, AnyOne, AnyRun, Set } kind;
    QChar character;  // Character
    QString set;      // Set: the folded text between the brackets
    bool negated = false;
  };
  static bool InSet(const Element& set, QChar c);
  static bool MatchesOne(const Element& element, QChar c);

  const Collation* collation_;
  QChar escape_;
  std::vector<Element> elements_;
  // "%text%", the search's usual pattern: found as folded text.
  std::optional<QString> contained_;
  // "%...%" with no other run: tried at every place of the text.
  bool fixedBetweenRuns_ = false;
  // "text%", the Parcial search's pattern: the text's start, folded, is it.
  std::optional<QString> prefix_;
};

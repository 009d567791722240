#pragma once

#include <QString>
#include <QStringView>

// The case- and accent-insensitive comparison of SQL Server's *_CI_AI
// collations as the system uses them for Spanish text: "á" equals "a", case
// is ignored, and trailing blanks are not significant (as in SQL Server's
// padded comparison). The collation families differ in one letter: the
// Latin1_General ones (the system's default SQL_Latin1_General_Cp1_CI_AI)
// take the tilde of "ñ" as an accent, so "ñ" equals "n"; the Spanish ones
// (Modern_Spanish_CI_AI, Traditional_Spanish_CI_AI) keep "ñ" a letter of its
// own, sorted between "n" and "o".
class Collation {
 public:
  static constexpr QStringView kDefaultName = u"SQL_Latin1_General_Cp1_CI_AI";

  static const Collation& Default();
  // The collation of a SQL Server collation name (any *_CI_AI name, without
  // regard to case), nullptr for a name the system does not support.
  static const Collation* Find(QStringView name);

  // Negative, zero or positive, as a sorts before, equal to or after b.
  int Compare(QStringView a, QStringView b) const;
  bool Equal(QStringView a, QStringView b) const { return Compare(a, b) == 0; }

  // The text with every character replaced by the one it equals under the
  // collation (lower case, no accent), one for one, so positions found in
  // the folded text hold in the original.
  QString Fold(QStringView text) const;
  QChar Fold(QChar c) const;

  // SQL Server's LIKE: % any run, _ one character, [abc], [a-c] and [^abc]
  // sets, an optional escape character; compared under the collation.
  bool Like(QStringView pattern, QStringView text, QChar escape = QChar()) const;

  // The first position (from 0) of what in text at or after from under the
  // collation; -1 when absent.
  qsizetype IndexOf(QStringView what, QStringView text, qsizetype from = 0) const;

 private:
  explicit Collation(bool enyeIsLetter) : enyeIsLetter_(enyeIsLetter) {}
  int Weight(QChar c) const;

  bool enyeIsLetter_;
};

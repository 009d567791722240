#include "platform/Exceptions.h"
#include "platform/format/Format.h"

// Dates and times are read as the system read them under its Spanish
// settings: "d/m/y" (or "d/m" in the current year) with two-digit years
// placed in the fifty years either side of the current year, and "h[:n[:s[,z]]]"
// with an optional AM/PM mark. Blanks may stand around every number.

namespace {

constexpr int TwoDigitYearCenturyWindow = 50;
constexpr auto TimeAMString = u"a.m.";
constexpr auto TimePMString = u"p.m.";

class Scanner {
 public:
  explicit Scanner(const QString& text) : text_(text) {}

  bool AtEnd() {
    SkipBlanks();
    return at_ >= text_.size();
  }

  // Up to four digits (the fifth is left unread); `length` tells how many.
  bool Number(int& value, int& length) {
    SkipBlanks();
    const qsizetype start = at_;
    int n = 0;
    while (at_ < text_.size() && text_[at_] >= u'0' && text_[at_] <= u'9' && n < 1000)
      n = n * 10 + (text_[at_++].unicode() - u'0');
    if (at_ == start) return false;
    value = n;
    length = static_cast<int>(at_ - start);
    return true;
  }

  bool Char(QChar c) {
    SkipBlanks();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }

  bool Word(QStringView word) {
    SkipBlanks();
    if (!QStringView(text_).mid(at_).startsWith(word, Qt::CaseInsensitive)) return false;
    at_ += word.size();
    return true;
  }

 private:
  void SkipBlanks() {
    while (at_ < text_.size() && text_[at_] == u' ') ++at_;
  }

  const QString& text_;
  qsizetype at_ = 0;
};

int CurrentYear() {
  int year = 0, month = 0, day = 0;
  DecodeDate(Date(), year, month, day);
  return year;
}

bool ScanDate(Scanner& scanner, TDateTime& value) {
  int first = 0, second = 0, year = 0, length = 0;
  if (!scanner.Number(first, length) || !scanner.Char(FormatSettings::DateSeparator) ||
      !scanner.Number(second, length))
    return false;
  if (scanner.Char(FormatSettings::DateSeparator)) {
    if (!scanner.Number(year, length)) return false;
    if (length <= 2) {
      const int centuryBase = CurrentYear() - TwoDigitYearCenturyWindow;
      year += centuryBase / 100 * 100;
      if (year < centuryBase) year += 100;
    }
  } else {
    year = CurrentYear();
  }
  return TryEncodeDate(year, second, first, value);
}

// -1 without a mark, else the hour the mark adds.
int HalfDayMark(Scanner& scanner) {
  if (scanner.Word(TimeAMString) || scanner.Word(u"AM")) return 0;
  if (scanner.Word(TimePMString) || scanner.Word(u"PM")) return 12;
  return -1;
}

bool ScanTime(Scanner& scanner, TDateTime& value) {
  int baseHour = HalfDayMark(scanner);
  int hour = 0, minute = 0, second = 0, msec = 0, length = 0;
  if (!scanner.Number(hour, length)) return false;
  if (scanner.Char(FormatSettings::TimeSeparator)) {
    if (!scanner.Number(minute, length)) return false;
    if (scanner.Char(FormatSettings::TimeSeparator)) {
      if (!scanner.Number(second, length)) return false;
      if (scanner.Char(FormatSettings::DecimalSeparator) && !scanner.Number(msec, length)) return false;
    }
  }
  if (baseHour < 0) baseHour = HalfDayMark(scanner);
  if (baseHour >= 0) {
    if (hour == 0 || hour > 12) return false;
    hour = hour % 12 + baseHour;
  }
  return TryEncodeTime(hour, minute, second, msec, value);
}

}  // namespace

bool TryStrToDate(const QString& text, TDateTime& value) {
  Scanner scanner(text);
  TDateTime date = 0;
  if (!ScanDate(scanner, date) || !scanner.AtEnd()) return false;
  value = date;
  return true;
}

bool TryStrToTime(const QString& text, TDateTime& value) {
  Scanner scanner(text);
  TDateTime time = 0;
  if (!ScanTime(scanner, time) || !scanner.AtEnd()) return false;
  value = time;
  return true;
}

// A date with an optional time after it, or a time alone; nothing may follow.
bool TryStrToDateTime(const QString& text, TDateTime& value) {
  Scanner scanner(text);
  TDateTime date = 0;
  TDateTime time = 0;
  if (ScanDate(scanner, date) && (scanner.AtEnd() || (ScanTime(scanner, time) && scanner.AtEnd()))) {
    value = ComposeDateTime(date, time);
    return true;
  }
  return TryStrToTime(text, value);
}

TDateTime StrToDate(const QString& text) {
  TDateTime value = 0;
  if (!TryStrToDate(text, value)) throw Exception(QStringLiteral("'%1' is not a valid date").arg(text));
  return value;
}

TDateTime StrToTime(const QString& text) {
  TDateTime value = 0;
  if (!TryStrToTime(text, value)) throw Exception(QStringLiteral("'%1' is not a valid time").arg(text));
  return value;
}

TDateTime StrToDateTime(const QString& text) {
  TDateTime value = 0;
  if (!TryStrToDateTime(text, value)) throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
  return value;
}

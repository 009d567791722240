#include "platform/format/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

// Numbers are formatted from their decimal digits, as the system's own
// formatting did: the value's first 18 significant digits, then rounding half
// away from zero at the place the pattern asks for. So a double holding
// 2.67499999999999982 (the nearest to 2.675) gives "2,67" with "0.00".

namespace {

constexpr int MaxDigits = 18;

struct DecimalNumber {
  std::string digits;  // significant digits, no trailing zeros; empty for zero
  int exponent = 0;    // value = 0.digits x 10^exponent
  bool negative = false;
};

// The value rounded to at most `precision` significant digits and at most
// `decimals` digits after the point (or cut there, toward zero). A value
// that rounds to zero loses its sign.
DecimalNumber ToDecimal(double value, int precision, int decimals, bool towardZero = false) {
  DecimalNumber number;
  if (value == 0) return number;
  char buffer[64];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value), std::chars_format::scientific,
                                     MaxDigits - 1);
  const std::string text(buffer, written.ptr);  // d.ddddddddddddddddde+XX
  const std::size_t e = text.find('e');
  std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
  int exponent = std::stoi(text.substr(e + 1)) + 1;

  const long long place = static_cast<long long>(exponent) + decimals;
  if (place < 0) return number;
  const std::size_t cut = static_cast<std::size_t>(std::min<long long>({place, precision, MaxDigits}));
  const bool roundUp = !towardZero && cut < digits.size() && digits[cut] >= '5';
  digits.resize(cut);
  if (roundUp) {
    while (!digits.empty() && digits.back() == '9') digits.pop_back();
    if (digits.empty()) {
      digits = "1";
      ++exponent;
    } else {
      ++digits.back();
    }
  }
  while (!digits.empty() && digits.back() == '0') digits.pop_back();
  if (digits.empty()) return number;
  number.digits = std::move(digits);
  number.exponent = exponent;
  number.negative = value < 0;
  return number;
}

bool Overflows(const DecimalNumber& number) {
  const std::string text = "0." + number.digits + 'e' + std::to_string(number.exponent);
  double read = 0;
  return std::from_chars(text.data(), text.data() + text.size(), read).ec == std::errc::result_out_of_range &&
         number.exponent > 0;
}

QString ExponentText(QChar letter, bool plusSign, int exponent, int minimumDigits) {
  QString text(letter);
  if (exponent < 0)
    text += u'-';
  else if (plusSign)
    text += u'+';
  return text + QString::number(std::abs(exponent)).rightJustified(minimumDigits, u'0');
}

// General form with up to `precision` significant digits: plain when the
// exponent allows it, otherwise "1,5E-5" style.
QString GeneralText(double value, int precision) {
  if (std::isnan(value)) return QStringLiteral("NAN");
  if (std::isinf(value)) return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
  DecimalNumber number = ToDecimal(value, precision, 9999);
  // The largest doubles would round past the largest one and not read back.
  if (Overflows(number)) number = ToDecimal(value, precision, 9999, true);
  if (number.digits.empty()) return QStringLiteral("0");
  QString text = number.negative ? QStringLiteral("-") : QString();
  const QString digits = QString::fromLatin1(number.digits);
  const int e = number.exponent;
  if (e > precision || e < -3) {
    text += digits[0];
    if (digits.size() > 1) text += FormatSettings::DecimalSeparator + digits.mid(1);
    return text + ExponentText(u'E', false, e - 1, 0);
  }
  if (e <= 0) return text + u'0' + FormatSettings::DecimalSeparator + QString(-e, u'0') + digits;
  if (digits.size() <= e) return text + digits + QString(e - digits.size(), u'0');
  return text + digits.left(e) + FormatSettings::DecimalSeparator + digits.mid(e);
}

// One section of a pattern ("#,##0.00") and the shape it asks for.
struct Section {
  qsizetype start = 0;  // offset in the pattern
  bool empty = true;
  int digitCount = 0;     // "0" and "#" placeholders
  int decimalIndex = 0;   // placeholders before the point
  int firstForced = 0;    // integer places forced to show a digit
  int lastOptional = 0;   // places at or below this one show nothing when there is no digit
  bool thousands = false;
  bool scientific = false;
};

bool IsQuote(QChar c) { return c == u'"' || c == u'\''; }

// The offset after the literal that starts at `at` (a quote); an unclosed
// literal runs to the end of the pattern.
qsizetype SkipLiteral(const QString& pattern, qsizetype at) {
  const qsizetype close = pattern.indexOf(pattern[at], at + 1);
  return close < 0 ? pattern.size() : close + 1;
}

QString LiteralText(const QString& pattern, qsizetype at) {
  const qsizetype close = pattern.indexOf(pattern[at], at + 1);
  return pattern.mid(at + 1, (close < 0 ? pattern.size() : close) - at - 1);
}

// Where section `index` starts; a missing or empty section falls back to the
// first one.
qsizetype FindSection(const QString& pattern, int index) {
  qsizetype at = 0;
  for (int found = 0; found < index;) {
    if (at >= pattern.size()) return 0;
    if (IsQuote(pattern[at])) {
      at = SkipLiteral(pattern, at);
    } else {
      if (pattern[at] == u';') ++found;
      ++at;
    }
  }
  if (at >= pattern.size() || pattern[at] == u';') return 0;
  return at;
}

bool IsExponentMark(const QString& pattern, qsizetype at) {
  return (pattern[at] == u'E' || pattern[at] == u'e') && at + 1 < pattern.size() &&
         (pattern[at + 1] == u'+' || pattern[at + 1] == u'-');
}

Section ScanSection(const QString& pattern, qsizetype start) {
  Section section;
  section.start = start;
  section.empty = start >= pattern.size() || pattern[start] == u';';
  int decimalIndex = -1;
  int firstZero = -1;
  int afterLastZero = 0;
  qsizetype at = start;
  while (at < pattern.size() && pattern[at] != u';') {
    const QChar c = pattern[at];
    if (IsQuote(c)) {
      at = SkipLiteral(pattern, at);
      continue;
    }
    if (IsExponentMark(pattern, at)) {
      section.scientific = true;
      at += 2;
      while (at < pattern.size() && pattern[at] == u'0') ++at;
      continue;
    }
    if (c == u'#') {
      ++section.digitCount;
    } else if (c == u'0') {
      if (firstZero < 0) firstZero = section.digitCount;
      afterLastZero = ++section.digitCount;
    } else if (c == u'.') {
      if (decimalIndex < 0) decimalIndex = section.digitCount;
    } else if (c == u',') {
      section.thousands = true;
    }
    ++at;
  }
  section.decimalIndex = decimalIndex < 0 ? section.digitCount : decimalIndex;
  section.lastOptional = std::min(0, section.decimalIndex - afterLastZero);
  section.firstForced = firstZero < 0 ? 0 : std::max(0, section.decimalIndex - firstZero);
  return section;
}

// Lays the digits into the placeholders of a section. Places count down with
// the decimal point between place 1 and place 0.
class Layout {
 public:
  Layout(const Section& section, const DecimalNumber& number) : section_(section), number_(number) {
    if (section.scientific) {
      place_ = section.decimalIndex;
    } else {
      place_ = std::max(number.exponent, section.decimalIndex);
      pending_ = number.exponent - section.decimalIndex;
    }
  }

  void Placeholder() {
    if (pending_ > 0) {
      // More integer digits than placeholders: all go to the first one.
      for (; pending_ > 0; --pending_) NextDigit();
      NextDigit();
    } else if (pending_ < 0) {
      ++pending_;
      if (place_ <= section_.firstForced) Put(u'0');
      --place_;
    } else {
      NextDigit();
    }
  }

  void Text(QStringView text) { output_ += text; }
  const QString& Output() const { return output_; }

 private:
  void NextDigit() {
    if (next_ < number_.digits.size())
      Put(QChar::fromLatin1(number_.digits[next_++]));
    else if (place_ > section_.lastOptional)
      Put(u'0');
    --place_;
  }

  void Put(QChar digit) {
    if (place_ == 0) output_ += FormatSettings::DecimalSeparator;
    output_ += digit;
    if (section_.thousands && place_ > 1 && place_ % 3 == 1) output_ += FormatSettings::ThousandSeparator;
  }

  const Section& section_;
  const DecimalNumber& number_;
  QString output_;
  int place_ = 0;
  int pending_ = 0;
  std::size_t next_ = 0;
};

QString ApplySection(const QString& pattern, const Section& section, const DecimalNumber& number) {
  Layout layout(section, number);
  // Only the first section shows the sign by itself; the others carry their own.
  if (number.negative && section.start == 0) layout.Text(u"-");
  qsizetype at = section.start;
  while (at < pattern.size() && pattern[at] != u';') {
    const QChar c = pattern[at];
    if (c == u'0' || c == u'#') {
      layout.Placeholder();
      ++at;
    } else if (c == u'.' || c == u',') {
      ++at;
    } else if (IsQuote(c)) {
      layout.Text(LiteralText(pattern, at));
      at = SkipLiteral(pattern, at);
    } else if (IsExponentMark(pattern, at)) {
      const bool plusSign = pattern[at + 1] == u'+';
      at += 2;
      int zeros = 0;
      while (at < pattern.size() && pattern[at] == u'0') {
        ++zeros;
        ++at;
      }
      const int exponent = number.digits.empty() ? 0 : number.exponent - section.decimalIndex;
      layout.Text(ExponentText(c, plusSign, exponent, std::min(zeros, 4)));
    } else {
      layout.Text(QStringView(&c, 1));
      ++at;
    }
  }
  return layout.Output();
}

}  // namespace

QString FormatFloat(const QString& format, double value) {
  const int sign = value > 0 ? 0 : value < 0 ? 1 : 2;
  Section section = ScanSection(format, FindSection(format, sign));
  if (section.empty || !std::isfinite(value)) return GeneralText(value, 15);
  const DecimalNumber number = section.scientific
                                   ? ToDecimal(value, section.digitCount, 9999)
                                   : ToDecimal(value, MaxDigits, section.digitCount - section.decimalIndex);
  if (!section.scientific && number.exponent > MaxDigits) return GeneralText(value, 15);
  if (number.digits.empty()) {
    // Rounded to zero: shown by the zero section, or the first.
    const qsizetype zero = FindSection(format, 2);
    if (zero != section.start) section = ScanSection(format, zero);
    if (section.empty) return GeneralText(value, 15);
  }
  return ApplySection(format, section, number);
}

QString FloatToStr(double value) { return GeneralText(value, 15); }

QString IntToStr(qint64 value) { return QString::number(value); }

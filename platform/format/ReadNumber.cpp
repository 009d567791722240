#include "platform/Exceptions.h"
#include "platform/format/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

// Numbers are read as the system read them under its Spanish settings: blanks
// around, an optional sign, digits with "," as the decimal point and an
// optional exponent; no thousands separators. Whole numbers take an optional
// sign and decimal digits, or hexadecimal digits after "$" or "0x".

namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

qsizetype SkipBlanks(const QString& text, qsizetype at) {
  while (at < text.size() && text[at] == u' ') ++at;
  return at;
}

qsizetype SkipDigits(const QString& text, qsizetype at, std::string& into) {
  for (; at < text.size() && IsDigit(text[at]); ++at) into += static_cast<char>(text[at].unicode());
  return at;
}

int DigitValue(QChar c) {
  if (IsDigit(c)) return c.unicode() - u'0';
  if (c >= u'a' && c <= u'f') return c.unicode() - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c.unicode() - u'A' + 10;
  return -1;
}

// The magnitude of a whole number; false when it has no digits, holds another
// character or exceeds `limit`.
bool ReadMagnitude(const QString& text, qsizetype at, quint64 limit, quint64& magnitude, bool& hexadecimal) {
  hexadecimal = false;
  if (at < text.size() && text[at] == u'$') {
    hexadecimal = true;
    ++at;
  } else if (at + 1 < text.size() && text[at] == u'0' && (text[at + 1] == u'x' || text[at + 1] == u'X')) {
    hexadecimal = true;
    at += 2;
  }
  const quint64 base = hexadecimal ? 16 : 10;
  if (at >= text.size()) return false;
  magnitude = 0;
  for (; at < text.size(); ++at) {
    const int digit = DigitValue(text[at]);
    if (digit < 0 || static_cast<quint64>(digit) >= base) return false;
    if (magnitude > (limit - static_cast<quint64>(digit)) / base) return false;
    magnitude = magnitude * base + static_cast<quint64>(digit);
  }
  return true;
}

// Whether a number in the normal form ([-]digits[.digits][e[+-]digits]) that
// no double holds lies below 1 rather than above it.
bool TooSmall(const std::string& normal) {
  const std::size_t e = std::min(normal.find('e'), normal.size());
  long long exponent = 0;
  for (std::size_t i = e + 1; i < normal.size(); ++i)
    if (normal[i] >= '0' && normal[i] <= '9') exponent = std::min(exponent * 10 + (normal[i] - '0'), 1LL << 40);
  if (e + 1 < normal.size() && normal[e + 1] == '-') exponent = -exponent;
  const std::size_t start = normal[0] == '-' ? 1 : 0;
  const std::size_t point = std::min(normal.find('.'), e);
  // The value is 0.d... x 10^(order + exponent), d its first significant digit.
  const std::size_t firstInteger = normal.find_first_not_of('0', start);
  long long order = 0;
  if (firstInteger < point) {
    order = static_cast<long long>(point - firstInteger);
  } else if (point < e) {
    const std::size_t firstDecimal = normal.find_first_not_of('0', point + 1);
    order = -static_cast<long long>(std::min(firstDecimal, e) - point - 1);
  }
  return order + exponent <= 0;
}

template <class Integer>
bool TryReadInteger(const QString& text, Integer& value) {
  using Unsigned = std::make_unsigned_t<Integer>;
  qsizetype at = SkipBlanks(text, 0);
  bool negative = false;
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) negative = text[at++] == u'-';
  quint64 magnitude = 0;
  bool hexadecimal = false;
  const quint64 widest = std::numeric_limits<Unsigned>::max();
  if (!ReadMagnitude(text, at, widest, magnitude, hexadecimal)) return false;
  if (!hexadecimal) {
    const quint64 limit = static_cast<quint64>(std::numeric_limits<Integer>::max()) + (negative ? 1 : 0);
    if (magnitude > limit) return false;
  }
  // Hexadecimal fills the bit pattern: "$FFFFFFFF" is -1.
  const Unsigned bits = static_cast<Unsigned>(negative ? Unsigned(0) - static_cast<Unsigned>(magnitude)
                                                       : static_cast<Unsigned>(magnitude));
  value = static_cast<Integer>(bits);
  return true;
}

}  // namespace

bool TryStrToFloat(const QString& text, double& value) {
  std::string normal;
  qsizetype at = SkipBlanks(text, 0);
  if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) {
    if (text[at] == u'-') normal += '-';
    ++at;
  }
  const std::size_t mantissaStart = normal.size();
  at = SkipDigits(text, at, normal);
  std::size_t digits = normal.size() - mantissaStart;
  if (at < text.size() && text[at] == FormatSettings::DecimalSeparator) {
    normal += '.';
    const std::size_t before = normal.size();
    at = SkipDigits(text, at + 1, normal);
    digits += normal.size() - before;
  }
  if (digits == 0) return false;
  if (at < text.size() && (text[at] == u'E' || text[at] == u'e')) {
    normal += 'e';
    ++at;
    if (at < text.size() && (text[at] == u'+' || text[at] == u'-')) normal += static_cast<char>(text[at++].unicode());
    const std::size_t before = normal.size();
    at = SkipDigits(text, at, normal);
    if (normal.size() == before) return false;
  }
  if (SkipBlanks(text, at) != text.size()) return false;
  double result = 0;
  const auto [end, error] = std::from_chars(normal.data(), normal.data() + normal.size(), result);
  if (end != normal.data() + normal.size()) return false;
  if (error == std::errc::result_out_of_range) {
    // Too small for a double reads as zero; too large is no number.
    if (!TooSmall(normal)) return false;
    result = 0;
  } else if (error != std::errc() || !std::isfinite(result)) {
    return false;
  }
  value = result;
  return true;
}

bool TryStrToInt(const QString& text, int& value) { return TryReadInteger(text, value); }

bool TryStrToInt64(const QString& text, qint64& value) { return TryReadInteger(text, value); }

double StrToFloat(const QString& text) {
  double value = 0;
  if (!TryStrToFloat(text, value))
    throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(text));
  return value;
}

int StrToInt(const QString& text) {
  int value = 0;
  if (!TryStrToInt(text, value)) throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
  return value;
}

int StrToIntDef(const QString& text, int defaultValue) {
  int value = 0;
  return TryStrToInt(text, value) ? value : defaultValue;
}

#include "platform/report/RunningSum.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

// Digits a double holds for certain: an amount and its total show no more.
constexpr int kSignificantDigits = 15;
constexpr int kMaxPower = 38;  // 10^38 is the largest power of ten in 128 bits

// An amount as printed: digits * 10^-decimals, digits without trailing zeros.
struct Shown {
  long long digits = 0;
  int decimals = 0;  // negative for whole tens, hundreds...
  double value = 0;  // the same as a double
};

Shown shown(double value) {
  char text[40];
  const auto [end, error] =
      std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, kSignificantDigits - 1);
  if (error != std::errc()) return {};
  *end = '\0';
  const char* exponentAt = std::strchr(text, 'e');
  Shown amount;
  amount.value = std::strtod(text, nullptr);
  for (const char* c = text; c < exponentAt; ++c)
    if (*c >= '0' && *c <= '9') amount.digits = amount.digits * 10 + (*c - '0');
  if (text[0] == '-') amount.digits = -amount.digits;
  amount.decimals = kSignificantDigits - 1 - std::atoi(exponentAt + 1);
  if (amount.digits == 0) return {0, 0, amount.value};
  while (amount.digits % 10 == 0) {
    amount.digits /= 10;
    --amount.decimals;
  }
  return amount;
}

std::optional<__int128> powerOfTen(int exponent) {
  if (exponent < 0 || exponent > kMaxPower) return std::nullopt;
  __int128 power = 1;
  for (int i = 0; i < exponent; ++i) power *= 10;
  return power;
}

std::optional<__int128> scaled(__int128 value, int exponent) {
  const std::optional<__int128> power = powerOfTen(exponent);
  __int128 result = 0;
  if (!power || __builtin_mul_overflow(value, *power, &result)) return std::nullopt;
  return result;
}

int digitCount(__int128 value) {
  int count = 0;
  for (; value != 0; value /= 10) ++count;
  return count;
}

// The decimal units / 10^decimals read back as a double.
double asDouble(__int128 units, int decimals) {
  const bool negative = units < 0;
  std::string digits;
  for (__int128 rest = units; rest != 0; rest /= 10) digits.insert(digits.begin(), char('0' + std::abs(int(rest % 10))));
  if (digits.size() <= std::size_t(decimals)) digits.insert(0, std::size_t(decimals) + 1 - digits.size(), '0');
  if (decimals > 0) digits.insert(digits.size() - std::size_t(decimals), 1, '.');
  if (negative) digits.insert(0, 1, '-');
  return std::strtod(digits.c_str(), nullptr);
}

// The value rounded to so many decimals, as its decimal text rounds it.
double roundedTo(double value, int decimals) {
  std::string text(400 + static_cast<std::size_t>(decimals), '\0');
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
  if (error != std::errc()) return value;
  *end = '\0';
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace

void RunningSum::Add(double value) {
  const Shown amount = std::isfinite(value) ? shown(value) : Shown{};
  const double term = std::isfinite(value) ? amount.value : value;
  const double total = sum_ + term;
  carried_ += std::abs(sum_) >= std::abs(term) ? (sum_ - total) + term : (term - total) + sum_;
  sum_ = total;
  if (!std::isfinite(value)) {
    exact_ = false;
    return;
  }
  if (amount.decimals > decimals_) {
    const std::optional<__int128> rescaled = scaled(units_, amount.decimals - decimals_);
    if (rescaled) units_ = *rescaled;
    else exact_ = false;
    decimals_ = amount.decimals;
  }
  if (!exact_) return;
  const std::optional<__int128> units = scaled(amount.digits, decimals_ - amount.decimals);
  if (!units || __builtin_add_overflow(units_, *units, &units_)) exact_ = false;
}

// A total keeps no more digits than a double holds for certain.
double RunningSum::Value() const {
  if (!exact_) return ApproximateValue();
  __int128 units = units_;
  int decimals = decimals_;
  const int dropped = std::min(decimals, digitCount(units) - kSignificantDigits);
  if (dropped > 0) {
    const __int128 divisor = *powerOfTen(dropped);
    const __int128 half = divisor / 2;
    units = units < 0 ? -((-units + half) / divisor) : (units + half) / divisor;
    decimals -= dropped;
  }
  return asDouble(units, decimals);
}

double RunningSum::ApproximateValue() const {
  if (!std::isfinite(sum_)) return sum_;
  const double total = sum_ + carried_;
  if (total == 0) return 0;
  const int whole = static_cast<int>(std::floor(std::log10(std::abs(total)))) + 1;
  const int decimals = std::min(std::max(decimals_, 0), kSignificantDigits - whole);
  return decimals < 0 ? total : roundedTo(total, decimals);
}

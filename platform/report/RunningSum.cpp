#include "platform/report/RunningSum.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {

// Digits a double holds for certain: the total keeps no more.
constexpr int kSignificantDigits = 15;

// The decimals of the shortest text that reads back as the value.
int decimalsWritten(double value) {
  char text[32];
  const auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific);
  if (error != std::errc()) return 0;
  const std::string_view written(text, static_cast<std::size_t>(end - text));
  const std::size_t exponentAt = written.find('e');
  const std::size_t pointAt = written.find('.');
  const int fraction = pointAt == std::string_view::npos ? 0 : static_cast<int>(exponentAt - pointAt - 1);
  int exponent = 0;
  std::from_chars(written.data() + exponentAt + 1 + (written[exponentAt + 1] == '+'), end, exponent);
  return std::max(0, fraction - exponent);
}

// The value rounded to so many decimals, as the decimal text of the binary
// value rounds it, read back.
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
  const double total = sum_ + value;
  carried_ += std::abs(sum_) >= std::abs(value) ? (sum_ - total) + value : (value - total) + sum_;
  sum_ = total;
  if (std::isfinite(value)) decimals_ = std::max(decimals_, decimalsWritten(value));
}

// An infinite total has no rounding error to carry; a finite one keeps no
// more digits than a double holds for certain.
double RunningSum::Value() const {
  if (!std::isfinite(sum_)) return sum_;
  const double total = sum_ + carried_;
  if (total == 0) return 0;
  const int whole = static_cast<int>(std::floor(std::log10(std::abs(total)))) + 1;
  const int decimals = std::min(decimals_, kSignificantDigits - whole);
  return decimals < 0 ? total : roundedTo(total, decimals);
}

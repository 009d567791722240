#include "platform/report/RunningSum.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

namespace {

// Amounts made as a program makes them (price times quantity, a share of a
// total), each with the exact decimal it stands for, in integers of the
// smallest unit.
struct ComputedAmounts {
  std::vector<double> amounts;
  long long totalUnits = 0;  // in 10^-kDecimals
  int decimals = 0;          // the most any amount shows
  static constexpr int kDecimals = 6;

  void Add(double amount, long long units, int shownDecimals) {
    amounts.push_back(amount);
    totalUnits += units;
    decimals = std::max(decimals, shownDecimals);
  }
  // The exact total as a double, read from its decimal text.
  double Expected() const {
    const long long whole = std::llabs(totalUnits);
    std::string text = std::to_string(whole / 1'000'000) + '.';
    const std::string fraction = std::to_string(1'000'000 + whole % 1'000'000).substr(1);
    text = (totalUnits < 0 ? "-" : "") + text + fraction;
    return std::strtod(text.c_str(), nullptr);
  }
};

long long powerOfTen(int exponent) {
  long long power = 1;
  while (exponent-- > 0) power *= 10;
  return power;
}

// The decimals of an exact amount: trailing zeros of its units shown none.
int shownDecimals(long long units) {
  int decimals = ComputedAmounts::kDecimals;
  while (decimals > 0 && units % 10 == 0) {
    units /= 10;
    --decimals;
  }
  return decimals;
}

double Total(const std::vector<double>& amounts) {
  RunningSum sum;
  for (const double amount : amounts) sum.Add(amount);
  return sum.Value();
}

}  // namespace

// Random products and sums of decimals against the same amounts added in
// integers: every total is the exact decimal, however the doubles erred.
TEST(RunningSum, TotalsOfComputedAmountsAreTheExactDecimalSum) {
  std::mt19937_64 random(20261208);
  const auto between = [&random](long long low, long long high) {
    return low + static_cast<long long>(random() % static_cast<unsigned long long>(high - low + 1));
  };
  int mismatches = 0;
  for (int round = 0; round < 400; ++round) {
    ComputedAmounts computed;
    const int rows = static_cast<int>(between(1, 60));
    for (int row = 0; row < rows; ++row) {
      const int priceDecimals = static_cast<int>(between(0, 3));
      const int quantityDecimals = static_cast<int>(between(0, 3));
      // Within 15 significant digits at six decimals, totals included.
      const long long price = between(-99'999, 99'999);
      const long long quantity = between(1, 99);
      if (row % 3 == 2) {
        // A sum of two amounts of one sign, as 0.1 + 0.2 (one that cancels
        // would show its noise on its own line).
        const long long sign = price < 0 ? -1 : 1;
        const double amount = static_cast<double>(sign) *
                              (static_cast<double>(sign * price) / static_cast<double>(powerOfTen(priceDecimals)) +
                               static_cast<double>(quantity) / static_cast<double>(powerOfTen(quantityDecimals)));
        const long long units = price * powerOfTen(ComputedAmounts::kDecimals - priceDecimals) +
                                sign * quantity * powerOfTen(ComputedAmounts::kDecimals - quantityDecimals);
        computed.Add(amount, units, shownDecimals(units));
      } else {
        const double amount = static_cast<double>(price) / static_cast<double>(powerOfTen(priceDecimals)) *
                              (static_cast<double>(quantity) / static_cast<double>(powerOfTen(quantityDecimals)));
        const long long units = price * quantity * powerOfTen(ComputedAmounts::kDecimals - priceDecimals - quantityDecimals);
        computed.Add(amount, units, shownDecimals(units));
      }
    }
    // Half the rounds end on the amount that brings the total back near zero.
    if (round % 2) {
      const long long back = -computed.totalUnits + between(-3, 3);
      computed.Add(static_cast<double>(back) / 1e6 * 3 / 3, back, shownDecimals(back));
    }
    const double total = Total(computed.amounts);
    if (total != computed.Expected() && ++mismatches <= 5)
      ADD_FAILURE() << "round " << round << ": " << total << " instead of " << computed.Expected();
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(RunningSum, AmountsAsTheLinesShowThem) {
  const double sevenTimes121[] = {1.1 * 1.1, 1.1 * 1.1, 1.1 * 1.1, 1.1 * 1.1, 1.1 * 1.1, 1.1 * 1.1, 1.1 * 1.1};
  std::vector<double> cancelling(std::begin(sevenTimes121), std::end(sevenTimes121));
  for (int i = 0; i < 7; ++i) cancelling.push_back(-1.21);
  const struct {
    std::vector<double> amounts;
    double total;
  } cases[] = {
      {{12345 * 0.001, -2469 * 0.01, 37035 * 0.001, -4938 * 0.01}, -24.69},
      {cancelling, 0},
      {{0.1 * 3, 0.7 * 17.635 * 3}, 37.3335},
      {{1e20, 1.5}, 1e20},        // a total keeps 15 significant digits
      {{1e300, 1e-300}, 1e300},   // past any exact unit
      {{1e308, 1e308}, HUGE_VAL},
  };
  for (const auto& [amounts, total] : cases) EXPECT_EQ(Total(amounts), total) << amounts.front();
  EXPECT_TRUE(std::isnan(Total({1.0, NAN})));
}

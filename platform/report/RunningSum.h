#pragma once

#include <cmath>

// A total of many amounts, each a binary approximation of a decimal one:
// the rounding error of every addition is carried apart (Neumaier), so that
// a thousand times 0.01 totals 10 and not 9.99999999999983.
class RunningSum {
 public:
  void Add(double value) {
    const double total = sum_ + value;
    carried_ += std::abs(sum_) >= std::abs(value) ? (sum_ - total) + value : (value - total) + sum_;
    sum_ = total;
  }
  // An infinite total has no rounding error to carry.
  double Value() const { return std::isfinite(sum_) ? sum_ + carried_ : sum_; }

 private:
  double sum_ = 0;
  double carried_ = 0;
};

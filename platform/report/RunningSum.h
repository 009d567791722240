#pragma once

// A total of many amounts, each a binary approximation of a decimal one.
// The rounding error of every addition is carried apart (Neumaier), and the
// total is given as the decimal it stands for: rounded to the most decimals
// any amount was written with, so that 3,000 amounts of three decimals
// total a number of three decimals and not one with binary noise after it.
class RunningSum {
 public:
  void Add(double value);
  double Value() const;

 private:
  double sum_ = 0;
  double carried_ = 0;
  int decimals_ = 0;
};

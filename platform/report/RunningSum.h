#pragma once

// A total of many amounts as the listing prints them: each amount taken as
// the decimal of its 15 significant digits (a computed 12.344999999999999
// is the 12,345 its line shows), added exactly in units of the smallest
// decimal any amount shows, so that the total has no binary noise and
// amounts that cancel total 0. Amounts past what 38 digits of those units
// hold are added as doubles, their rounding error carried apart (Neumaier).
class RunningSum {
 public:
  void Add(double value);
  double Value() const;

 private:
  double ApproximateValue() const;

  __int128 units_ = 0;  // the exact total, in units of 10^-decimals_
  int decimals_ = 0;    // the most any amount shows
  bool exact_ = true;
  double sum_ = 0;
  double carried_ = 0;
};

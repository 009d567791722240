#include "platform/format/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct FloatCase {
  const char16_t* pattern;
  double value;
  const char16_t* expected;
};

void ExpectFormats(const std::vector<FloatCase>& cases) {
  for (const FloatCase& c : cases)
    EXPECT_EQ(FormatFloat(QString::fromUtf16(c.pattern), c.value), QString::fromUtf16(c.expected))
        << "pattern " << QString::fromUtf16(c.pattern).toStdString() << " value " << c.value;
}

}  // namespace

TEST(FormatFloat, PlaceholdersSeparatorsAndGrouping) {
  ExpectFormats({
      {u"#,##0.00", 1234.5, u"1.234,50"}, {u"#,##0.00", -1234.5, u"-1.234,50"},
      {u"#,##0.00", 1234567.891, u"1.234.567,89"}, {u"#,##0.00", 0, u"0,00"}, {u"#,##0.00", 12.3, u"12,30"},
      {u"#,##0", 123456, u"123.456"}, {u"#,##0", 123, u"123"}, {u"#,##0", 123456789012.0, u"123.456.789.012"},
      {u"#,#", 1234567, u"1.234.567"},
      {u"0.00,", 1234.5, u"1.234,50"},  // a comma anywhere asks for grouping
      {u"0", 12345, u"12345"}, {u"000", 5, u"005"}, {u"000.0", 5, u"005,0"}, {u"0.##", 1, u"1"}, {u"0.##", 1.5, u"1,5"},
      {u"0.##", 1.456, u"1,46"}, {u"#.##", 0, u""}, {u"#.##", 0.5, u",5"}, {u"#.##", 0.05, u",05"},
      {u"0.00", 0.05, u"0,05"}, {u"0.000000", 0.0001234, u"0,000123"}, {u"0.000000", 1234.5, u"1234,500000"},
  });
}

TEST(FormatFloat, RoundsHalfAwayFromZeroOnTheDecimalDigits) {
  ExpectFormats({
      {u"0", 0.5, u"1"}, {u"0", 1.5, u"2"}, {u"0", 2.5, u"3"}, {u"0", -2.5, u"-3"}, {u"0.00", 0.125, u"0,13"},
      {u"0.00", -0.125, u"-0,13"},
      {u"0.00", 2.675, u"2,67"},  // the double is 2.67499999999999982...
      {u"0.00", 2.665, u"2,67"},  // the double is 2.66500000000000003...
      {u"0.00", 1.005, u"1,00"},  // the double is 1.00499999999999989...
      {u"0.0", 0.05, u"0,1"}, {u"0.00", 9.999, u"10,00"}, {u"#,##0", 999.5, u"1.000"},
  });
}

TEST(FormatFloat, SectionsForNegativeAndZeroValues) {
  ExpectFormats({
      {u"0.00;(0.00)", 5, u"5,00"}, {u"0.00;(0.00)", -5, u"(5,00)"}, {u"0.00;(0.00);\"cero\"", 0, u"cero"},
      {u"0.00;(0.00);\"cero\"", 0.5, u"0,50"},
      {u"0.00;(0.00);'cero'", 0.001, u"cero"},   // rounds to zero
      {u"0.00;(0.00);'cero'", -0.004, u"cero"},  // likewise, without a sign
      {u"0.00;", -5, u"-5,00"},                  // an empty section falls back to the first
      {u"0.00;;'nada'", -5, u"-5,00"}, {u"0.00;-0.00;", 0, u"0,00"}, {u"0.00;-0.00", 0, u"0,00"},
      {u"#,##0.00;-#,##0.00", -0.004, u"0,00"},  // never "-0,00"
      {u"0.00", -0.001, u"0,00"}, {u"0", -0.4, u"0"}, {u"0.00", -0.0, u"0,00"}, {u"0.00;'neg'0.00", -0.005, u"neg0,01"},
      // A value that rounds to zero shows as zero itself, optional places empty.
      {u"0.##", 0.001, u"0"}, {u"#.##", 0.004, u""}, {u"0.0#", -0.001, u"0,0"},
  });
}

TEST(FormatFloat, LiteralTextAndScientificNotation) {
  ExpectFormats({
      {u"'Total: '#,##0.00' €'", 1234.5, u"Total: 1.234,50 €"},
      {u"\"Total: \"0.0", -1234.5, u"-Total: 1234,5"},  // the first section puts the sign in front
      {u"0.0 kg", 1234.5, u"1234,5 kg"}, {u"\"a;b\"0", 5, u"a;b5"}, {u"\"a;b\"0;\"menos\"0", -5, u"menos5"},
      {u"0'abc", 5, u"5abc"},  // an unclosed literal runs to the end
      {u"0.00E+00", 1234.5, u"1,23E+03"}, {u"0.00E+00", 0.000123, u"1,23E-04"}, {u"0.00E-00", 0.000123, u"1,23E-04"},
      {u"0.00E-00", 1234.5, u"1,23E03"}, {u"0.00E+00", 0, u"0,00E+00"}, {u"0.00e+0", 1234.5, u"1,23e+3"},
      {u"0.00E+00", -98765, u"-9,88E+04"},
      {u"0E0", 5, u"0E5"},  // "E" without a sign is plain text between placeholders
  });
}

TEST(FormatFloat, FallsBackToTheGeneralFormWhereThePatternCannotServe) {
  ExpectFormats({
      {u"", 1234.5, u"1234,5"}, {u";0", 1234.5, u"1234,5"}, {u"0.00", 1e20, u"1E20"}, {u"0", 1e18, u"1E18"},
      {u"0", 123456789012345678.0, u"123456789012345680"},
  });
  EXPECT_EQ(FormatFloat(u"0.00"_qs, std::numeric_limits<double>::quiet_NaN()), u"NAN"_qs);
  EXPECT_EQ(FormatFloat(u"0.00"_qs, -std::numeric_limits<double>::infinity()), u"-INF"_qs);
}

TEST(FloatToStr, GeneralFormWithFifteenSignificantDigits) {
  const std::pair<double, const char16_t*> cases[] = {
      {0, u"0"}, {1.5, u"1,5"}, {-1.5, u"-1,5"}, {0.1, u"0,1"}, {0.1 + 0.2, u"0,3"}, {100, u"100"}, {2.675, u"2,675"},
      {1.0 / 3, u"0,333333333333333"}, {2.0 / 3, u"0,666666666666667"}, {123456789012345.0, u"123456789012345"},
      {1e15, u"1E15"}, {1234567890123456.0, u"1,23456789012346E15"}, {0.0001, u"0,0001"}, {0.00001, u"1E-5"},
      {-1.5e-7, u"-1,5E-7"},
  };
  for (const auto& [value, expected] : cases) EXPECT_EQ(FloatToStr(value), QString::fromUtf16(expected)) << value;
  // The largest doubles are cut rather than rounded past the range, so they read back.
  EXPECT_EQ(FloatToStr(-std::numeric_limits<double>::max()), u"-1,79769313486231E308"_qs);
  EXPECT_EQ(StrToFloat(FloatToStr(std::numeric_limits<double>::max())), 1.79769313486231e308);
  EXPECT_EQ(FloatToStr(9.99999999999999999e307), u"1E308"_qs);
  EXPECT_EQ(IntToStr(-9223372036854775807LL - 1), u"-9223372036854775808"_qs);
}

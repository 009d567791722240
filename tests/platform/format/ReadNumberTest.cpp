#include "platform/Exceptions.h"
#include "platform/format/Format.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/format/Readings.h"

#include <functional>

#include <gtest/gtest.h>

TEST(ReadNumber, FloatsTakeTheCommaAsDecimalPoint) {
  ExpectReads<double>(TryStrToFloat,
                      {{u"1,5", 1.5}, {u"-1,5", -1.5}, {u"+2", 2}, {u" 3,25 ", 3.25}, {u",5", 0.5}, {u"5,", 5},
                       {u"1,5E3", 1500}, {u"1,5e-2", 0.015}, {u"1E+2", 100}, {u"0", 0}, {u"1234567,89", 1234567.89},
                       {u"1e-400", 0}, {u"-1e-5000", 0}, {u"0,0001e-99999999999999999999", 0}},
                      {u"1.5", u"1.234,5", u"1 000", u"", u" ", u"abc", u"1,5x", u"--1", u"1E", u",", u"-", u"1,2,3",
                       u"1e999", u"1e5000", u"INF", u"NAN", u"0x10", u"$10"});
}

TEST(ReadNumber, WholeNumbersInDecimalOrHexadecimal) {
  ExpectReads<int>(TryStrToInt, {{u"12", 12}, {u" -7", -7}, {u"+7", 7}, {u"$FF", 255}, {u"0x1A", 26}, {u"$ff", 255},
                    {u"-$10", -16}, {u"$FFFFFFFF", -1}, {u"2147483647", 2147483647},
                    {u"-2147483648", -2147483647 - 1}, {u"007", 7}},
                   {u"2147483648", u"-2147483649", u"12 ", u"1,5", u"", u"$", u"0x", u"1.000", u"$G", u"$100000000",
                    u"- 5", u"abc"});
  ExpectReads<qint64>(TryStrToInt64, {{u"9223372036854775807", 9223372036854775807LL},
                       {u"-9223372036854775808", -9223372036854775807LL - 1}, {u"$FFFFFFFFFF", 0xFFFFFFFFFFLL}},
                      {u"9223372036854775808"});
}

TEST(ReadNumber, FailuresRaiseTheStandardTexts) {
  EXPECT_EQ(StrToFloat(u"2,5"_qs), 2.5);
  EXPECT_EQ(StrToInt(u"42"_qs), 42);
  EXPECT_EQ(StrToIntDef(u"x"_qs, 7), 7);
  EXPECT_EQ(StrToIntDef(u"8"_qs, 7), 8);
  for (const auto& [read, message] :
       {std::pair<std::function<void()>, const char*>{[] { StrToFloat(u"1.5"_qs); },
                                                      "'1.5' is not a valid floating point value"},
        {[] { StrToInt(u"abc"_qs); }, "'abc' is not a valid integer value"}})
    EXPECT_EQ(MessageOf(read), QLatin1String(message));
}

#include "platform/Exceptions.h"
#include "platform/format/Format.h"

#include <gtest/gtest.h>

TEST(ReadNumber, FloatsTakeTheCommaAsDecimalPoint) {
  const std::pair<const char16_t*, double> accepted[] = {
      {u"1,5", 1.5},     {u"-1,5", -1.5},       {u"+2", 2},         {u" 3,25 ", 3.25}, {u",5", 0.5},
      {u"5,", 5},        {u"1,5E3", 1500},      {u"1,5e-2", 0.015}, {u"1E+2", 100},    {u"0", 0},
      {u"1234567,89", 1234567.89}, {u"1e-400", 0}, {u"-1e-5000", 0}, {u"0,0001e-99999999999999999999", 0},
  };
  for (const auto& [text, expected] : accepted) {
    double value = -99;
    EXPECT_TRUE(TryStrToFloat(QString::fromUtf16(text), value)) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(value, expected) << QString::fromUtf16(text).toStdString();
  }
  const char16_t* const refused[] = {u"1.5", u"1.234,5", u"1 000", u"", u" ", u"abc", u"1,5x", u"--1", u"1E",
                                     u",", u"-", u"1,2,3", u"1e999", u"1e5000", u"INF", u"NAN", u"0x10", u"$10"};
  for (const char16_t* text : refused) {
    double value = -99;
    EXPECT_FALSE(TryStrToFloat(QString::fromUtf16(text), value)) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(value, -99);
  }
}

TEST(ReadNumber, WholeNumbersInDecimalOrHexadecimal) {
  const std::pair<const char16_t*, int> accepted[] = {
      {u"12", 12},        {u" -7", -7},         {u"+7", 7},
      {u"$FF", 255},      {u"0x1A", 26},        {u"$ff", 255},
      {u"-$10", -16},     {u"$FFFFFFFF", -1},   {u"2147483647", 2147483647},
      {u"-2147483648", -2147483647 - 1},        {u"007", 7},
  };
  for (const auto& [text, expected] : accepted) {
    int value = -99;
    EXPECT_TRUE(TryStrToInt(QString::fromUtf16(text), value)) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(value, expected) << QString::fromUtf16(text).toStdString();
  }
  const char16_t* const refused[] = {u"2147483648", u"-2147483649", u"12 ", u"1,5", u"", u"$", u"0x",
                                     u"1.000", u"$G", u"$100000000", u"- 5", u"abc"};
  for (const char16_t* text : refused) {
    int value = -99;
    EXPECT_FALSE(TryStrToInt(QString::fromUtf16(text), value)) << QString::fromUtf16(text).toStdString();
    EXPECT_EQ(value, -99);
  }
  qint64 wide = 0;
  EXPECT_TRUE(TryStrToInt64(u"9223372036854775807"_qs, wide));
  EXPECT_EQ(wide, 9223372036854775807LL);
  EXPECT_TRUE(TryStrToInt64(u"-9223372036854775808"_qs, wide));
  EXPECT_EQ(wide, -9223372036854775807LL - 1);
  EXPECT_TRUE(TryStrToInt64(u"$FFFFFFFFFF"_qs, wide));
  EXPECT_EQ(wide, 0xFFFFFFFFFFLL);
  EXPECT_FALSE(TryStrToInt64(u"9223372036854775808"_qs, wide));
}

TEST(ReadNumber, FailuresRaiseTheStandardTexts) {
  EXPECT_EQ(StrToFloat(u"2,5"_qs), 2.5);
  EXPECT_EQ(StrToInt(u"42"_qs), 42);
  EXPECT_EQ(StrToIntDef(u"x"_qs, 7), 7);
  EXPECT_EQ(StrToIntDef(u"8"_qs, 7), 8);
  try {
    StrToFloat(u"1.5"_qs);
    ADD_FAILURE() << "1.5 read as a number";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"'1.5' is not a valid floating point value"_qs);
  }
  try {
    StrToInt(u"abc"_qs);
    ADD_FAILURE() << "abc read as a number";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"'abc' is not a valid integer value"_qs);
  }
}

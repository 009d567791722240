#include "platform/Exceptions.h"
#include "platform/format/Format.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/platform/data/DataFixture.h"
#include "tests/platform/format/Readings.h"

#include <gtest/gtest.h>

TEST(ReadDateTime, DatesAreDayMonthYear) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  ExpectReads<TDateTime>(TryStrToDate,
              {{u"15/1/2024", At(2024, 1, 15)}, {u" 15 / 01 / 2024 ", At(2024, 1, 15)}, {u"15/1", At(2024, 1, 15)},
               {u"29/2/2024", At(2024, 2, 29)}, {u"1/1/0024", At(24, 1, 1)}, {u"2/1/1890", At(1890, 1, 2)}},
              {u"31/2/2024", u"29/2/2023", u"15-1-2024", u"15.1.2024", u"2024/1/15", u"15/1/2024x", u"", u"15/13/2024",
               u"15/1/12345", u"15/1/2024 10:00", u"15", u"15/", u"15/1/"});
}

TEST(ReadDateTime, TwoDigitYearsFallWithinFiftyYearsOfTheCurrentYear) {
  const std::tuple<int, const char16_t*, int> cases[] = {
      {2024, u"15/1/24", 2024}, {2024, u"15/1/73", 2073}, {2024, u"15/1/74", 1974}, {2024, u"15/1/99", 1999},
      {2024, u"15/1/5", 2005},  {2024, u"15/1/00", 2000}, {2060, u"15/1/24", 2024}, {2060, u"15/1/09", 2109},
      {2060, u"15/1/10", 2010}};
  for (const auto& [currentYear, text, year] : cases) {
    ManualClock clock(QDateTime(QDate(currentYear, 3, 1), QTime(12, 0)));
    EXPECT_EQ(StrToDate(QString::fromUtf16(text)), At(year, 1, 15)) << currentYear << " " << year;
  }
}

TEST(ReadDateTime, TimesAreHourMinuteAndSecond) {
  ExpectReads<TDateTime>(TryStrToTime, {{u"10:20", EncodeTime(10, 20, 0, 0)}, {u"10:20:30", EncodeTime(10, 20, 30, 0)},
               {u"10", EncodeTime(10, 0, 0, 0)}, {u"9:5:7", EncodeTime(9, 5, 7, 0)},
               {u" 10 : 20 ", EncodeTime(10, 20, 0, 0)}, {u"10:20:30,5", EncodeTime(10, 20, 30, 5)},
               {u"10:20 PM", EncodeTime(22, 20, 0, 0)}, {u"12:00 AM", 0}, {u"12:30 pm", EncodeTime(12, 30, 0, 0)},
               {u"PM 3:00", EncodeTime(15, 0, 0, 0)}, {u"0:00", 0}, {u"23:59:59", EncodeTime(23, 59, 59, 0)}},
              {u"25:00", u"24:00", u"10:60", u"10:20:60", u"10:", u"10:20:", u"abc", u"13:00 PM", u"0:30 am",
               u"10.20", u"", u"10:20 x"});
}

TEST(ReadDateTime, DateWithOptionalTimeOrTimeAlone) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  ExpectReads<TDateTime>(TryStrToDateTime, {{u"15/1/2024 10:20", At(2024, 1, 15, 10, 20)}, {u"15/1/2024", At(2024, 1, 15)},
               {u"10:20", EncodeTime(10, 20, 0, 0)}, {u"29/12/1899 6:00", -1.25},
               {u"15/1/24 23:59:59", At(2024, 1, 15, 23, 59, 59)}},
              {u"15/1/2024 10:20 x", u"15/1/2024 x", u"x", u"", u"15/1/2024 25:00"});
}

TEST(ReadDateTime, FailuresRaiseTheStandardTexts) {
  const std::pair<TDateTime (*)(const QString&), const char*> cases[] = {
      {StrToDate, "'x' is not a valid date"}, {StrToTime, "'x' is not a valid time"},
      {StrToDateTime, "'x' is not a valid date and time"}};
  for (const auto& [read, message] : cases) EXPECT_EQ(MessageOf([&] { read(u"x"_qs); }), QLatin1String(message));
}

#include "platform/Exceptions.h"
#include "platform/format/DateTime.h"
#include "tests/fixtures/ManualClock.h"
#include "tests/platform/data/DataFixture.h"

#include <gtest/gtest.h>

TEST(DateTime, DaysCountFromTheThirtiethOfDecember1899) {
  const std::tuple<int, int, int, double> cases[] = {
      {1899, 12, 30, 0}, {1899, 12, 31, 1},       {1900, 1, 1, 2},       {2024, 1, 15, 45306},
      {1899, 12, 29, -1}, {1890, 1, 1, -3650},    {1, 1, 1, -693593},    {9999, 12, 31, 2958465},
  };
  for (const auto& [y, m, d, expected] : cases) {
    EXPECT_EQ(EncodeDate(y, m, d), expected) << y << "-" << m << "-" << d;
    int year = 0, month = 0, day = 0;
    DecodeDate(expected, year, month, day);
    EXPECT_EQ(QDate(year, month, day), QDate(y, m, d));
  }
}

TEST(DateTime, EncodingRefusesWhatIsNoDateOrTime) {
  const int badDates[][3] = {{2023, 2, 29}, {2024, 13, 1}, {2024, 0, 1}, {2024, 4, 31}, {0, 1, 1}, {10000, 1, 1}};
  for (const auto& d : badDates) {
    TDateTime value = 0;
    EXPECT_FALSE(TryEncodeDate(d[0], d[1], d[2], value));
    EXPECT_EQ(MessageOf([&] { EncodeDate(d[0], d[1], d[2]); }), u"Invalid argument to date encode"_qs)
        << d[0] << "-" << d[1] << "-" << d[2];
  }
  for (const auto& [hour, minute, msec] : {std::tuple{24, 0, 0}, {0, 60, 0}, {0, 0, 1000}, {-1, 0, 0}})
    EXPECT_THROW(EncodeTime(hour, minute, 0, msec), Exception) << hour << ":" << minute << "." << msec;
  EXPECT_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_EQ(EncodeTime(18, 0, 0, 0), 0.75);
}

TEST(DateTime, TheFractionIsTheTimeOfDayEvenBeforeDayZero) {
  const std::tuple<double, int, int, int, int, int, int, int> cases[] = {
      {-1.25, 1899, 12, 29, 6, 0, 0, 0}, {-0.5, 1899, 12, 30, 12, 0, 0, 0}, {45306.5, 2024, 1, 15, 12, 0, 0, 0},
      {45306.99999999999, 2024, 1, 16, 0, 0, 0, 0},  // rounds to the next millisecond: next day
      {45306 + 45296.789 / 86400, 2024, 1, 15, 12, 34, 56, 789},
  };
  for (const auto& [value, y, mo, d, h, mi, s, ms] : cases) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, msec = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, msec);
    EXPECT_EQ(QDateTime(QDate(year, month, day), QTime(hour, minute, second, msec)),
              QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms)))
        << value;
  }
  EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(ComposeDateTime(2, 0.25), 2.25);
  EXPECT_EQ(ComposeDateTime(45306.7, 1.25), 45306.25);  // whole days of the date, time of day of the time
}

TEST(DateTime, ConvertsToAndFromQtDates) {
  for (const auto& [value, when] : {std::pair{45306.25, QDateTime(QDate(2024, 1, 15), QTime(6, 0))},
                                    {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
                                    {45306.5, QDateTime(QDate(2024, 1, 15), QTime(12, 0))}}) {
    EXPECT_EQ(ToDateTime(when), value);
    EXPECT_EQ(FromDateTime(value), when);
  }
  EXPECT_EQ(ToDateTime(QDateTime()), 0);
  EXPECT_FALSE(FromDateTime(3e6).isValid() || FromDateTime(1e300).isValid());  // past year 9999
}

TEST(DateTime, DayOfWeekCountsFromSunday) {
  // 30/12/1899 a Saturday, the day after a Sunday, 15/1/2024 a Monday, 29/12/1899 a Friday.
  EXPECT_EQ(QList<int>({DayOfWeek(0), DayOfWeek(1), DayOfWeek(EncodeDate(2024, 1, 15)), DayOfWeek(-1.25)}),
            QList<int>({7, 1, 2, 6}));
}

TEST(DateTime, NowAndDateReadTheClockInUse) {
  ManualClock clock(QDateTime(QDate(2024, 1, 15), QTime(9, 30)));
  EXPECT_EQ(Now(), 45306 + 9.5 / 24);
  EXPECT_EQ(Date(), 45306);
  clock.Advance(15 * 3600 * 1000);
  EXPECT_EQ(Date(), 45307);
}

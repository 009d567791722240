#include "platform/format/Format.h"
#include "tests/platform/format/Readings.h"

#include <gtest/gtest.h>

namespace {

void ExpectFormats(TDateTime value, const std::vector<std::pair<const char16_t*, const char16_t*>>& cases) {
  for (const auto& [pattern, expected] : cases)
    EXPECT_EQ(FormatDateTime(QString::fromUtf16(pattern), value), QString::fromUtf16(expected))
        << "pattern " << QString::fromUtf16(pattern).toStdString();
}

}  // namespace

TEST(FormatDateTime, DateAndTimeTokens) {
  ExpectFormats(At(2024, 1, 15, 9, 5, 7, 45),  // a Monday
                {
                    {u"dd/mm/yyyy", u"15/01/2024"}, {u"d/m/yy", u"15/1/24"}, {u"y", u"24"}, {u"yyy", u"2024"},
                    {u"yyyy-mm-dd", u"2024-01-15"}, {u"ddd", u"lun"}, {u"dddd", u"lunes"}, {u"mmm", u"ene"},
                    {u"mmmm", u"enero"}, {u"MMMM", u"enero"}, {u"hh:nn:ss", u"09:05:07"}, {u"h:n:s", u"9:5:7"},
                    {u"hhh", u"09"}, {u"z", u"45"}, {u"zz", u"45"}, {u"zzz", u"045"},
                    {u"yyyymmddhhnnss", u"20240115090507"}, {u"ddddd", u"15/01/2024"},
                    {u"dddddd", u"lunes, 15 de enero de 2024"}, {u"t", u"09:05"}, {u"tt", u"09:05:07"},
                    {u"c", u"15/01/2024 09:05:07"}, {u"", u"15/01/2024 09:05:07"},
                });
}

TEST(FormatDateTime, MAfterAnHourMeansMinutes) {
  ExpectFormats(At(2024, 1, 15, 9, 5, 7), {
                    {u"hh:mm", u"09:05"}, {u"hh:mm:ss", u"09:05:07"}, {u"h mm", u"9 05"}, {u"hhmm", u"0905"},
                    {u"mm/dd hh", u"01/15 09"}, {u"mm:hh", u"01:09"},
                    {u"hh:nn dd/mm", u"09:05 15/01"},  // after another letter, m is the month again
                });
}

TEST(FormatDateTime, SpanishNamesOfEveryMonthAndDay) {
  const char16_t* const shortMonths[] = {u"ene", u"feb", u"mar", u"abr", u"may", u"jun",
                                         u"jul", u"ago", u"sep", u"oct", u"nov", u"dic"};
  const char16_t* const longMonths[] = {u"enero", u"febrero", u"marzo", u"abril", u"mayo", u"junio",
                                        u"julio", u"agosto", u"septiembre", u"octubre", u"noviembre", u"diciembre"};
  for (int month = 1; month <= 12; ++month) {
    EXPECT_EQ(FormatDateTime(u"mmm"_qs, At(2024, month, 1)), QString::fromUtf16(shortMonths[month - 1]));
    EXPECT_EQ(FormatDateTime(u"mmmm"_qs, At(2024, month, 1)), QString::fromUtf16(longMonths[month - 1]));
  }
  // 14 January 2024 is a Sunday.
  const char16_t* const shortDays[] = {u"dom", u"lun", u"mar", u"mié", u"jue", u"vie", u"sáb"};
  const char16_t* const longDays[] = {u"domingo", u"lunes", u"martes", u"miércoles", u"jueves", u"viernes", u"sábado"};
  for (int day = 0; day < 7; ++day) {
    EXPECT_EQ(FormatDateTime(u"ddd"_qs, At(2024, 1, 14 + day)), QString::fromUtf16(shortDays[day]));
    EXPECT_EQ(FormatDateTime(u"dddd"_qs, At(2024, 1, 14 + day)), QString::fromUtf16(longDays[day]));
  }
}

TEST(FormatDateTime, TwelveHourClockAndLiterals) {
  ExpectFormats(At(2024, 1, 15, 21, 30), {
                                             {u"hh:nn am/pm", u"09:30 pm"}, {u"h:nn AM/PM", u"9:30 PM"},
                                             {u"h a/p", u"9 p"}, {u"hh:nn", u"21:30"},
                                             {u"'Hoy es' dddd", u"Hoy es lunes"}, {u"\"d\"d", u"d15"},
                                             {u"hh\"h\"nn", u"21h30"},
                                             {u"'am/pm' hh", u"am/pm 21"},  // quoted: not a marker
                                             {u"dd 'de' mmmm", u"15 de enero"}, {u"dd-x", u"15-x"},
                                         });
  EXPECT_EQ(FormatDateTime(u"h:nn am/pm"_qs, At(2024, 1, 15, 0, 15)), u"12:15 am"_qs);
  EXPECT_EQ(FormatDateTime(u"h:nn am/pm"_qs, At(2024, 1, 15, 12, 0)), u"12:00 pm"_qs);
}

TEST(FormatDateTime, DatesBeforeDayZeroAndTheStandardTexts) {
  EXPECT_EQ(DateToStr(0), u"30/12/1899"_qs);
  EXPECT_EQ(TimeToStr(0), u"00:00:00"_qs);
  EXPECT_EQ(DateTimeToStr(0), u"30/12/1899"_qs);  // midnight: no time
  EXPECT_EQ(DateTimeToStr(-1.25), u"29/12/1899 06:00:00"_qs);
  EXPECT_EQ(DateTimeToStr(At(1890, 1, 1, 23, 59, 59)), u"01/01/1890 23:59:59"_qs);
  EXPECT_EQ(TimeToStr(0.75), u"18:00:00"_qs);
  EXPECT_EQ(DateToStr(At(2024, 2, 29)), u"29/02/2024"_qs);
}

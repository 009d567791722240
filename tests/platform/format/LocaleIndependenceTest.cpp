#include "platform/Variant.h"
#include "platform/format/Format.h"
#include "tests/fixtures/ManualClock.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <clocale>

namespace {

// A sample of every road through the engine, with the results the fixed
// Spanish settings give.
const std::pair<QString (*)(), const char16_t*> Samples[] = {
    {[] { return FormatFloat(u"#,##0.00"_qs, 1234567.5); }, u"1.234.567,50"},
    {[] { return FormatFloat(u"0.00E+00"_qs, 0.000123); }, u"1,23E-04"}, {[] { return FloatToStr(-2.5); }, u"-2,5"},
    {[] { return FloatToStr(1.5e-7); }, u"1,5E-7"},
    {[] { return FloatToStr(StrToFloat(u" 1234,75 "_qs)); }, u"1234,75"},
    {[] {
       double value = 0;
       return TryStrToFloat(u"1.5"_qs, value) ? u"read"_qs : u"refused"_qs;
     },
     u"refused"},
    {[] { return IntToStr(StrToInt(u"-12"_qs)); }, u"-12"},
    {[] { return FormatDateTime(u"dddd, d' de 'mmmm hh:nn"_qs, StrToDateTime(u"7/2/2024 18:05"_qs)); },
     u"miércoles, 7 de febrero 18:05"},
    {[] { return DateTimeToStr(StrToDate(u"1/3/24"_qs)); }, u"01/03/2024"},
    {[] { return TimeToStr(StrToTime(u"9:05:07"_qs)); }, u"09:05:07"},
    {[] { return Variant::Double(0.25).AsString(); }, u"0,25"},
};

QStringList RunSamples() {
  QStringList results;
  for (const auto& [sample, expected] : Samples) results.append(sample());
  return results;
}

QStringList Expected() {
  QStringList expected;
  for (const auto& [sample, text] : Samples) expected.append(QString::fromUtf16(text));
  return expected;
}

}  // namespace

// The engine never consults the process locale: a Spanish (or any) C and Qt
// locale leaves every result as it is.
TEST(FormatEngine, GivesTheSameResultsWhateverTheProcessLocale) {
  ManualClock clock(QDateTime(QDate(2024, 6, 1), QTime(10, 0)));
  const std::string original = std::setlocale(LC_ALL, nullptr);

  ASSERT_NE(std::setlocale(LC_ALL, "C"), nullptr);
  QLocale::setDefault(QLocale::c());
  EXPECT_EQ(RunSamples(), Expected());

  ASSERT_NE(std::setlocale(LC_ALL, "es_ES.UTF-8"), nullptr)
      << "the es_ES.UTF-8 locale is missing: scripts/install-deps.sh generates it";
  QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
  EXPECT_EQ(RunSamples(), Expected());

  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  EXPECT_EQ(RunSamples(), Expected());

  std::setlocale(LC_ALL, original.c_str());
  QLocale::setDefault(QLocale::system());
}

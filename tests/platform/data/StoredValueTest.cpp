#include "platform/data/StoredValue.h"

#include "platform/Exceptions.h"

#include <gtest/gtest.h>

// A date and time is stored as its text: read back to its day count and
// written again, whichever way it was written.
TEST(StoredValue, DatesAndTimesReadFromTheirTextAndWrittenBack) {
  struct Case {
    const char* stored;
    TDateTime value;
    const char* written;
  };
  const Case cases[] = {
      {"2024-01-05 07:03:04", 45296 + 25384 / 86400.0, "2024-01-05 07:03:04"},
      {"2024-01-05T07:03:04.250", 45296 + 25384.25 / 86400.0, "2024-01-05 07:03:04.250"},
      {"2024-01-05 07:03:04.007", 45296 + 25384.007 / 86400.0, "2024-01-05 07:03:04.007"},
      {"2024-01-05 07:03:04.000", 45296 + 25384 / 86400.0, "2024-01-05 07:03:04"},
      {" 2024-1-5 7:3 ", 45296 + 25380 / 86400.0, "2024-01-05 07:03:00"},
      {"2024-01-05 07:03:04.2509", 45296 + 25384.25 / 86400.0, "2024-01-05 07:03:04.250"},
      {"2024-01-05", 45296, "2024-01-05 00:00:00"},
      {"1899-12-29 06:00:00", -1.25, "1899-12-29 06:00:00"},
      {"0001-01-01 00:00:00", -693593, "0001-01-01 00:00:00"},
      {"9999-12-31 23:59:59", 2958465 + 86399 / 86400.0, "9999-12-31 23:59:59"},
  };
  for (const Case& c : cases) {
    const TDateTime value = StoredValue::ToDateTime(QString::fromLatin1(c.stored));
    EXPECT_NEAR(value, c.value, 1e-9) << c.stored;
    EXPECT_EQ(StoredValue::FromDateTime(value).toString(), QString::fromLatin1(c.written)) << c.stored;
  }
  EXPECT_EQ(StoredValue::FromDateTime(2958466).toString(), u"0000-00-00 00:00:00"_qs) << "past year 9999, no date";
  for (const char* wrong : {"2024-02-30 00:00:00", "2024-13-05 07:03:04", "2024-01-05 24:00:00", "2024-01-05 07:03:0x",
                            "2024-01-05 07:03:04.", "2024/01/05 07:03:04", "20240-01-05 07:03:04", ""})
    EXPECT_THROW(StoredValue::ToDateTime(QString::fromLatin1(wrong)), Exception) << wrong;
}

// A text is taken as written where writing its date again gives it back,
// and only there.
TEST(StoredValue, ATextIsAWrittenDateWhereWritingItsDateAgainGivesItBack) {
  for (const char* text :
       {"2024-01-05 07:03:04", "2024-01-05 07:03:04.250", "2024-01-05 07:03:04.000", "2024-01-05T07:03:04",
        "2024-02-29 00:00:00", "2023-02-29 00:00:00", "1900-02-29 12:00:00", "2000-02-29 12:00:00",
        "2024-04-31 00:00:00", "2024-12-31 23:59:59.999", "2024-00-10 00:00:00", "2024-01-00 00:00:00",
        "0000-01-01 00:00:00", "0001-01-01 00:00:00", "9999-12-31 23:59:59", "2024-01-05 23:60:00",
        "2024-01-05 07:03", "2024-01-05 07:03:04.25", " 2024-01-05 07:03:04", "2024-01-05 07:03:04 ",
        "2024-01-05 07:03:\u0664\u0664"}) {
    const QString written = QString::fromUtf8(text);
    bool givenBack = false;
    try {
      givenBack = StoredValue::FromDateTime(StoredValue::ToDateTime(written)).toString() == written;
    } catch (const Exception&) {
    }
    EXPECT_EQ(StoredValue::IsWrittenDateTime(written), givenBack) << text;
  }
}

#pragma once

#include "platform/format/DateTime.h"

#include <QString>

#include <initializer_list>
#include <utility>

#include <gtest/gtest.h>

inline TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int msec = 0) {
  return ComposeDateTime(EncodeDate(year, month, day), EncodeTime(hour, minute, second, msec));
}

// Every accepted text gives its value; a refused one leaves the value alone.
template <class T, class Reader>
void ExpectReads(Reader read, std::initializer_list<std::pair<const char16_t*, T>> accepted,
                 std::initializer_list<const char16_t*> refused) {
  for (const auto& [text, expected] : accepted) {
    T value = -99;
    EXPECT_TRUE(read(QString::fromUtf16(text), value) && value == expected) << QString::fromUtf16(text).toStdString();
  }
  for (const char16_t* text : refused) {
    T value = -99;
    EXPECT_FALSE(read(QString::fromUtf16(text), value) || value != -99) << QString::fromUtf16(text).toStdString();
  }
}

#pragma once

#include <QDateTime>

// Dates and times as the system keeps them: a day count with the time of day
// as its fraction, day 0 being 30 December 1899. Before that day the whole
// part counts the days back and the fraction still adds the time of day:
// -1.25 is 29 December 1899 at 06:00.
using TDateTime = double;

TDateTime ToDateTime(const QDateTime& value);   // an invalid value gives 0
QDateTime FromDateTime(TDateTime value);        // invalid outside years 1 to 9999

TDateTime EncodeDate(int year, int month, int day);  // raises Exception when not a date
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);  // likewise
bool TryEncodeDate(int year, int month, int day, TDateTime& value);
bool TryEncodeTime(int hour, int minute, int second, int millisecond, TDateTime& value);
// A date and a time of day joined under the sign rule above.
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// Outside years 1 to 9999 the date decodes as 0/0/0.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);
int DayOfWeek(TDateTime value);  // 1 Sunday .. 7 Saturday

// The current date and time, read from the clock in use.
TDateTime Now();
TDateTime Date();

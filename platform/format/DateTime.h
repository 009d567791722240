#pragma once

#include <QDateTime>

// Dates and times as the system keeps them: a day count with the time of day
// as its fraction, day 0 being 30 December 1899.
using TDateTime = double;

TDateTime ToDateTime(const QDateTime& value);   // an invalid value gives 0
QDateTime FromDateTime(TDateTime value);

TDateTime EncodeDate(int year, int month, int day);  // raises Exception when not a date
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// The current date and time, read from the clock in use.
TDateTime Now();
TDateTime Date();

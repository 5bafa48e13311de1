#pragma once
// Dates and times as the application stores and shows them: a day count with
// the time of day as its fraction, and a small format language that users'
// stored display formats are written in, so its meaning never changes.

#include <array>
#include <functional>
#include <string>

// Days since 1899-12-30 00:00; the fraction is the time of day. Before that
// day the whole part counts backwards while the fraction still runs forwards
// from midnight, so -1.25 is 1899-12-29 06:00.
using TDateTime = double;

// The words and patterns a date or time is shown with.
struct TFormatSettings {
    std::string ShortDateFormat;
    std::string LongDateFormat;
    std::string ShortTimeFormat;
    std::string LongTimeFormat;
    std::string TimeAMString;
    std::string TimePMString;
    char DateSeparator = '/';
    char TimeSeparator = ':';
    std::array<std::string, 12> ShortMonthNames;
    std::array<std::string, 12> LongMonthNames;
    std::array<std::string, 7> ShortDayNames; // Sunday first
    std::array<std::string, 7> LongDayNames;  // Sunday first
};

// What a fresh US-English system shows.
TFormatSettings EnglishFormatSettings();

// The settings every formatting call without explicit settings uses. Starts as
// EnglishFormatSettings(); the Windows build replaces it with the user's locale.
TFormatSettings& FormatSettings();

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Throw EConvertError for a date outside 0001-01-01 .. 9999-12-31 or a time
// field out of its range.
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeTime(int hour, int minute, int second, int millisecond);

// The fraction is rounded to the nearest millisecond; a value within half a
// millisecond of the next midnight decodes as that midnight, never as 24:00.
// Throw EConvertError for a value that is not a finite date near our era.
void DecodeDate(TDateTime value, int& year, int& month, int& day);
void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond);

// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(TDateTime value);

// The local date and time. Tests pin it with SetNowProvider; an empty function
// brings back the real clock.
TDateTime Now();
TDateTime Date();
TDateTime Time();
void SetNowProvider(std::function<TDateTime()> provider);

// Shows a value in the format language (field letters in either case):
//   c                 short date, then a blank and the long time when the time is not 00:00:00.000
//   d dd ddd dddd     day, two-digit day, short and long day name
//   ddddd dddddd      short and long date format
//   m mm mmm mmmm     month, two-digit month, short and long month name;
//                     m and mm are minutes when the previous field was h or hh
//   y yy / yyy yyyy   two-digit / four-digit year
//   h hh n nn s ss    hour, minute, second, without and with a leading zero
//   t tt              short and long time format
//   am/pm a/p         marker in the letter case written; ampm: TimeAMString/TimePMString.
//                     Any of these makes h and hh use the 12-hour clock
//   / :               date and time separator
//   "x" 'x'           literal text; anything else is copied as is
// An empty format means "c".
std::string FormatDateTime(const std::string& format, TDateTime value);
std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& settings);

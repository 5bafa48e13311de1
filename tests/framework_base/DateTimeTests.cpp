#include "DateTime.h"
#include "Exceptions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace {

TDateTime At(int year, int month, int day, int hour = 0, int minute = 0, int second = 0, int ms = 0)
{
    return EncodeDate(year, month, day) + EncodeTime(hour, minute, second, ms);
}

// A Thursday afternoon, its morning, and the day's turning points.
const TDateTime Afternoon = At(2026, 3, 5, 14, 7, 9);
const TDateTime Morning = At(2026, 3, 5, 9, 5, 3);
const TDateTime Midnight = At(2026, 3, 5);
const TDateTime Noon = At(2026, 3, 5, 12);

struct Case {
    std::string format;
    std::string expected;
};

void ExpectAll(TDateTime value, const std::vector<Case>& cases, const TFormatSettings& settings = EnglishFormatSettings())
{
    for (const Case& c : cases)
        EXPECT_EQ(FormatDateTime(c.format, value, settings), c.expected) << "format \"" << c.format << '"';
}

// Pins the process-wide settings for tests of the overload that uses them.
class PinnedSettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = FormatSettings();
        FormatSettings() = EnglishFormatSettings();
    }
    void TearDown() override { FormatSettings() = saved_; }

private:
    TFormatSettings saved_;
};

} // namespace

// ---- Calendar ----

TEST(DateTimeCalendar, KnownDayNumbers)
{
    EXPECT_EQ(EncodeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(EncodeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(EncodeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(EncodeDate(2000, 1, 1), 36526.0);
    EXPECT_EQ(EncodeDate(1, 1, 1), -693593.0);
}

TEST(DateTimeCalendar, LeapYears)
{
    EXPECT_TRUE(IsLeapYear(2000));
    EXPECT_TRUE(IsLeapYear(2024));
    EXPECT_FALSE(IsLeapYear(1900));
    EXPECT_FALSE(IsLeapYear(2023));
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2100, 2), 28);
    EXPECT_NO_THROW(EncodeDate(2024, 2, 29));
    EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
    EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
}

TEST(DateTimeCalendar, EveryDayOfTheSupportedRangeRoundTrips)
{
    TDateTime expected = EncodeDate(1, 1, 1);
    for (int year = 1; year <= 9999; ++year) {
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(year, month); ++day, expected += 1) {
                const TDateTime value = EncodeDate(year, month, day);
                int y = 0, m = 0, d = 0;
                DecodeDate(value, y, m, d);
                if (value != expected || y != year || m != month || d != day)
                    FAIL() << year << '-' << month << '-' << day << " encoded as " << value;
            }
        }
    }
}

TEST(DateTimeCalendar, RejectsDatesOutsideTheRange)
{
    EXPECT_THROW(EncodeDate(0, 12, 31), EConvertError);
    EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 13, 1), EConvertError);
    EXPECT_THROW(EncodeDate(2026, 4, 31), EConvertError);
    int y = 0, m = 0, d = 0;
    EXPECT_THROW(DecodeDate(std::numeric_limits<double>::quiet_NaN(), y, m, d), EConvertError);
    EXPECT_THROW(DecodeDate(std::numeric_limits<double>::infinity(), y, m, d), EConvertError);
}

TEST(DateTimeCalendar, DayOfWeekStartsOnSunday)
{
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 30)), 7);
    EXPECT_EQ(DayOfWeek(EncodeDate(1899, 12, 31)), 1);
    EXPECT_EQ(DayOfWeek(EncodeDate(1800, 1, 1)), 4);
    EXPECT_EQ(DayOfWeek(Afternoon), 5);
    EXPECT_EQ(DayOfWeek(At(2026, 3, 8, 23, 59)), 1);
}

TEST(DateTimeCalendar, BeforeTheEpochTheFractionStillRunsFromMidnight)
{
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, ms = 0;
    DecodeDate(-1.25, y, m, d);
    DecodeTime(-1.25, h, n, s, ms);
    EXPECT_EQ(std::vector<int>({y, m, d, h, n}), std::vector<int>({1899, 12, 29, 6, 0}));
}

// ---- Time of day ----

TEST(DateTimeClock, EverySecondOfADayRoundTrips)
{
    for (int second = 0; second < 86400; ++second) {
        const int ms = second * 7 % 1000;
        const TDateTime value = Midnight + EncodeTime(second / 3600, second / 60 % 60, second % 60, ms);
        int h = 0, n = 0, s = 0, z = 0, y = 0, m = 0, d = 0;
        DecodeTime(value, h, n, s, z);
        DecodeDate(value, y, m, d);
        if (h * 3600 + n * 60 + s != second || z != ms || d != 5)
            FAIL() << "second " << second << " decoded as " << h << ':' << n << ':' << s << '.' << z;
    }
}

TEST(DateTimeClock, TheEndOfADayNeverBecomes24Hours)
{
    int h = 0, n = 0, s = 0, ms = 0, y = 0, m = 0, d = 0;
    DecodeTime(Midnight + 0.99999999, h, n, s, ms);
    EXPECT_EQ(std::vector<int>({h, n, s, ms}), std::vector<int>({23, 59, 59, 999}));

    // Within half a millisecond of the next midnight it is that midnight.
    const TDateTime almost = Midnight + 0.9999999999;
    DecodeTime(almost, h, n, s, ms);
    DecodeDate(almost, y, m, d);
    EXPECT_EQ(std::vector<int>({d, h, n, s, ms}), std::vector<int>({6, 0, 0, 0, 0}));
    EXPECT_EQ(DayOfWeek(almost), 6);
    EXPECT_EQ(FormatDateTime("c", almost, EnglishFormatSettings()), "3/6/2026");
}

TEST(DateTimeClock, RejectsFieldsOutOfRange)
{
    EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
    EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
    EXPECT_THROW(EncodeTime(-1, 0, 0, 0), EConvertError);
    EXPECT_EQ(EncodeTime(12, 0, 0, 0), 0.5);
}

TEST(DateTimeClock, NowProviderPinsNow)
{
    SetNowProvider([] { return Afternoon; });
    EXPECT_EQ(Now(), Afternoon);
    EXPECT_EQ(Date(), Midnight);
    EXPECT_NEAR(Time(), EncodeTime(14, 7, 9, 0), 1e-9);
    SetNowProvider({});
    EXPECT_GT(Now(), EncodeDate(2020, 1, 1));
    EXPECT_LT(Now(), EncodeDate(2200, 1, 1));
}

// ---- Format language ----

TEST(FormatDateTimeFields, DateParts)
{
    ExpectAll(Afternoon, {
        {"d", "5"}, {"dd", "05"}, {"ddd", "Thu"}, {"dddd", "Thursday"},
        {"ddddd", "3/5/2026"}, {"dddddd", "Thursday, March 5, 2026"}, {"ddddddd", "Thursday, March 5, 20265"},
        {"m", "3"}, {"mm", "03"}, {"mmm", "Mar"}, {"mmmm", "March"}, {"mmmmm", "March3"},
        {"y", "26"}, {"yy", "26"}, {"yyy", "2026"}, {"yyyy", "2026"}, {"yyyyyy", "2026"},
        {"/", "/"}, {":", ":"},
    });
    ExpectAll(At(2026, 11, 23), {{"d/m", "23/11"}, {"dd/mm", "23/11"}, {"ddd dddd", "Mon Monday"}});
}

TEST(FormatDateTimeFields, TimeParts)
{
    ExpectAll(Afternoon, {{"h", "14"}, {"hh", "14"}, {"n", "7"}, {"nn", "07"}, {"s", "9"}, {"ss", "09"},
                          {"t", "2:07 PM"}, {"tt", "2:07:09 PM"}, {"hhh", "1414"}});
    ExpectAll(Morning, {{"h", "9"}, {"hh", "09"}, {"n", "5"}, {"nn", "05"}, {"s", "3"}, {"ss", "03"}});
}

TEST(FormatDateTimeFields, LettersInEitherCase)
{
    ExpectAll(Afternoon, {{"DD/MM/YYYY", "05/03/2026"}, {"Dddd", "Thursday"}, {"MMMM", "March"},
                          {"HH:NN:SS", "14:07:09"}, {"T", "2:07 PM"}, {"C", "3/5/2026 2:07:09 PM"}});
}

TEST(FormatDateTimeFields, MAfterAnHourMeansMinutes)
{
    ExpectAll(Morning, {
        {"h:m", "9:5"}, {"hh:mm", "09:05"}, {"h 'x' mm", "9 x 05"}, {"h\"h\"mm", "9h05"},
        {"m/d", "3/5"}, {"hh:nn", "09:05"}, {"h:mmm", "9:Mar"},
        // The rule looks at the nearest field only.
        {"h:mm:mm", "9:05:03"}, {"h:nn m", "9:05 3"}, {"hh:mm:ss m/d", "09:05:03 3/5"},
    });
}

TEST(FormatDateTimeFields, QuotedTextIsLiteral)
{
    ExpectAll(Afternoon, {
        {"'d' d", "d 5"}, {"\"mm\" mm", "mm 03"}, {"\"it's\" d", "it's 5"}, {"'say \"hi\"'", "say \"hi\""},
        {"'it''s'", "its"}, {"d 'dd", "5 dd"}, {"d \"", "5 "}, {"''d", "5"},
    });
}

TEST(FormatDateTimeFields, OtherCharactersAreCopied)
{
    ExpectAll(Afternoon, {{"hh:nn:ss.zzz", "14:07:09.zzz"}, {"[d] #-", "[5] #-"}, {"a", "a"}, {"am", "a3"},
                          {"yyyy\tx", "2026\tx"}});
}

TEST(FormatDateTimeFields, SeparatorsComeFromTheSettings)
{
    TFormatSettings dotted = EnglishFormatSettings();
    dotted.DateSeparator = '.';
    dotted.TimeSeparator = '.';
    ExpectAll(Afternoon, {{"m/d/yyyy", "3.5.2026"}, {"hh:nn", "14.07"}, {"'/:'", "/:"}}, dotted);
}

TEST(FormatDateTimeMarkers, CopyTheLetterCaseOfTheFormat)
{
    ExpectAll(Morning, {{"h:mm am/pm", "9:05 am"}, {"h:mm AM/PM", "9:05 AM"}, {"h:mm Am/pM", "9:05 Am"},
                        {"h:mm a/p", "9:05 a"}, {"h:mm A/P", "9:05 A"}, {"h:mm ampm", "9:05 AM"}});
    ExpectAll(Afternoon, {{"h:mm am/pm", "2:07 pm"}, {"h:mm AM/PM", "2:07 PM"}, {"h:mm Am/pM", "2:07 pM"},
                          {"h:mm a/p", "2:07 p"}, {"h:mm A/P", "2:07 P"}, {"h:mm AMPM", "2:07 PM"}});
}

TEST(FormatDateTimeMarkers, AmPmUsesTheSettingsWords)
{
    TFormatSettings settings = EnglishFormatSettings();
    settings.TimeAMString = "vorm.";
    settings.TimePMString = "nachm.";
    ExpectAll(Morning, {{"hh:nn ampm", "09:05 vorm."}}, settings);
    ExpectAll(Afternoon, {{"hh:nn ampm", "02:07 nachm."}}, settings);
}

TEST(FormatDateTimeMarkers, TwelveHourClockEdges)
{
    const std::vector<std::pair<TDateTime, std::string>> cases = {
        {Midnight, "12:00 am"},         {At(2026, 3, 5, 0, 7), "12:07 am"}, {At(2026, 3, 5, 1), "1:00 am"},
        {At(2026, 3, 5, 11, 59), "11:59 am"}, {Noon, "12:00 pm"},         {At(2026, 3, 5, 12, 30), "12:30 pm"},
        {At(2026, 3, 5, 13), "1:00 pm"},     {At(2026, 3, 5, 23, 59), "11:59 pm"},
    };
    for (const auto& [value, expected] : cases)
        EXPECT_EQ(FormatDateTime("h:nn am/pm", value, EnglishFormatSettings()), expected);
    // The marker may come before the hour, and quoted markers do not count.
    ExpectAll(Afternoon, {{"a/p hh", "p 02"}, {"h 'am/pm'", "14 am/pm"}});
    ExpectAll(Midnight, {{"h:nn", "0:00"}, {"hh:nn", "00:00"}, {"hh AMPM", "12 AM"}});
}

TEST(FormatDateTimeNested, CShowsTheTimeOnlyWhenThereIsOne)
{
    ExpectAll(Afternoon, {{"c", "3/5/2026 2:07:09 PM"}, {"", "3/5/2026 2:07:09 PM"}});
    ExpectAll(Midnight, {{"c", "3/5/2026"}, {"", "3/5/2026"}});
    ExpectAll(Noon, {{"c", "3/5/2026 12:00:00 PM"}});
    ExpectAll(Midnight + EncodeTime(0, 0, 0, 1), {{"c", "3/5/2026 12:00:00 AM"}});
}

TEST(FormatDateTimeNested, SelfReferringSettingsStop)
{
    TFormatSettings settings = EnglishFormatSettings();
    settings.ShortDateFormat.assign(1, 'c');
    settings.LongDateFormat = "dddddd";
    ExpectAll(Midnight, {{"c", "c"}, {"dddddd", "dddddd"}}, settings);
}

TEST(FormatDateTimeNested, EmptyNestedFormatShowsNothing)
{
    TFormatSettings settings = EnglishFormatSettings();
    settings.ShortTimeFormat.clear();
    ExpectAll(Afternoon, {{"[t]", "[]"}}, settings);
}

TEST(FormatDateTimeYears, OutsideFourDigits)
{
    ExpectAll(At(5, 1, 2), {{"yy", "05"}, {"yyyy", "0005"}, {"d/m/y", "2/1/05"}});
    ExpectAll(At(100, 6, 7), {{"yy", "00"}, {"yyyy", "0100"}});
    ExpectAll(At(9999, 12, 31), {{"yy", "99"}, {"yyyy", "9999"}});
    ExpectAll(EncodeDate(9999, 12, 31) + 1, {{"yy", "00"}, {"yyyy", "10000"}, {"m/d", "1/1"}});
    EXPECT_THROW(FormatDateTime("c", std::nan(""), EnglishFormatSettings()), EConvertError);
}

TEST(FormatDateTimeOffered, TheFormatsUsersPickFrom)
{
    ExpectAll(Afternoon, {
        {"ddddd", "3/5/2026"},
        {"dddddd", "Thursday, March 5, 2026"},
        {"mmmm d, yyyy", "March 5, 2026"},
        {"m/d/yyyy", "3/5/2026"},
        {"yyyy-mm-dd", "2026-03-05"},
        {"d-mmm-yy", "5-Mar-26"},
        {"m.d.yy", "3.5.26"},
        {"mmm.  d, yy", "Mar.  5, 26"},
        {"d mmmm yyyy", "5 March 2026"},
        {"mmmm yy", "March 26"},
        {"mmm-yy", "Mar-26"},
        {"ddddd t", "3/5/2026 2:07 PM"},
        {"c", "3/5/2026 2:07:09 PM"},
        {"t", "2:07 PM"},
        {"tt", "2:07:09 PM"},
        {"hh:nn", "14:07"},
        {"hh:nn:ss", "14:07:09"},
        {"d mmmm yyyy t", "5 March 2026 2:07 PM"},
    });
    ExpectAll(Morning, {{"ddddd t", "3/5/2026 9:05 AM"}, {"c", "3/5/2026 9:05:03 AM"}, {"hh:nn:ss", "09:05:03"}});
}

TEST_F(PinnedSettings, FormatSettingsStartEnglishAndDriveTheShortOverload)
{
    EXPECT_EQ(FormatDateTime("dddddd tt", Afternoon), "Thursday, March 5, 2026 2:07:09 PM");
    FormatSettings().LongMonthNames[2] = "Marzo";
    EXPECT_EQ(FormatDateTime("mmmm", Afternoon), "Marzo");
}

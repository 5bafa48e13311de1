#include "LocaleFormatSettings.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Conversions = std::vector<std::pair<std::string, std::string>>;

void ExpectConversions(std::string (*convert)(const std::string&), const Conversions& cases)
{
    for (const auto& [picture, expected] : cases)
        EXPECT_EQ(convert(picture), expected) << "picture \"" << picture << '"';
}

const TDateTime Afternoon = EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 0);
const TDateTime Morning = EncodeDate(2026, 3, 5) + EncodeTime(9, 5, 3, 0);

SYSTEMTIME SystemTimeOf(TDateTime value)
{
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0, ms = 0;
    DecodeDate(value, year, month, day);
    DecodeTime(value, hour, minute, second, ms);
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(year);
    st.wMonth = static_cast<WORD>(month);
    st.wDay = static_cast<WORD>(day);
    st.wDayOfWeek = static_cast<WORD>(DayOfWeek(value) - 1);
    st.wHour = static_cast<WORD>(hour);
    st.wMinute = static_cast<WORD>(minute);
    st.wSecond = static_cast<WORD>(second);
    return st;
}

std::string SystemDate(LCID locale, DWORD flags, const SYSTEMTIME& st)
{
    char text[256] = {};
    GetDateFormatA(locale, flags, &st, nullptr, text, sizeof text);
    return text;
}

std::string SystemTime(LCID locale, const SYSTEMTIME& st)
{
    char text[256] = {};
    GetTimeFormatA(locale, 0, &st, nullptr, text, sizeof text);
    return text;
}

} // namespace

TEST(LocalePictures, DatePicturesBecomeOurFormats)
{
    ExpectConversions(DatePictureToFormat, {
        {"M/d/yyyy", "m/d/yyyy"},
        {"dddd, MMMM d, yyyy", "dddd, mmmm d, yyyy"},
        {"dd.MM.yyyy", "dd.mm.yyyy"},
        {"d/M/y", "d/m/yy"},
        {"yy/MM/dd", "yy/mm/dd"},
        {"yyyyy MMMMM ddddd", "yyyy mmmm dddd"},
        {"dddd, d' de 'MMMM' de 'yyyy", "dddd, d' de 'mmmm' de 'yyyy"},
        {"gg yyyy/MM/dd", "yyyy/mm/dd"},
        {"d x M", "d' x 'm"},
        {"d 'o''clock'", "d' o'\"'\"'clock'"},
        {"'unterminated d", "'unterminated d'"},
        {"H:mm", "'H:mm'"},
    });
}

TEST(LocalePictures, TimePicturesBecomeOurFormats)
{
    ExpectConversions(TimePictureToFormat, {
        {"h:mm:ss tt", "h:nn:ss AMPM"},
        {"h:mm tt", "h:nn AMPM"},
        {"hh:mm t", "hh:nn AMPM"},
        {"tt h:mm", "AMPM h:nn"},
        {"HH:mm:ss", "hh:nn:ss"},
        {"H:mm", "h:nn"},
        {"H' h 'mm", "h' h 'nn"},
        // 12-hour needs a marker in our language; 24-hour cannot keep one.
        {"h:mm", "h:nn AMPM"},
        {"HH:mm tt", "hh:nn"},
    });
}

TEST(LocalePictures, ShortTimeLeavesOutTheSeconds)
{
    ExpectConversions(ShortTimePictureFrom, {
        {"h:mm:ss tt", "h:mm tt"},
        {"HH:mm:ss", "HH:mm"},
        {"HH.mm.ss' Uhr'", "HH.mm' Uhr'"},
        {"ss:mm", "mm"},
        {"H:mm", "H:mm"},
    });
}

TEST(LocaleSettings, UserDefaultIsTheWinePrefixsUsEnglish)
{
    ASSERT_EQ(LANGIDFROMLCID(GetUserDefaultLCID()), 0x0409) << "the test prefix runs in US English";
    const TFormatSettings settings = LocaleFormatSettings();
    EXPECT_EQ(settings.ShortDateFormat, "m/d/yyyy");
    EXPECT_EQ(settings.LongDateFormat, "dddd, mmmm d, yyyy");
    EXPECT_EQ(settings.ShortTimeFormat, "h:nn AMPM");
    EXPECT_EQ(settings.LongTimeFormat, "h:nn:ss AMPM");
    EXPECT_EQ(settings.TimeAMString, "AM");
    EXPECT_EQ(settings.TimePMString, "PM");
    EXPECT_EQ(settings.DateSeparator, '/');
    EXPECT_EQ(settings.TimeSeparator, ':');
    EXPECT_EQ(settings.ShortMonthNames, EnglishFormatSettings().ShortMonthNames);
    EXPECT_EQ(settings.LongMonthNames, EnglishFormatSettings().LongMonthNames);
    EXPECT_EQ(settings.ShortDayNames, EnglishFormatSettings().ShortDayNames);
    EXPECT_EQ(settings.LongDayNames, EnglishFormatSettings().LongDayNames);
}

TEST(LocaleSettings, ApplyReplacesTheCurrentSettings)
{
    const TFormatSettings saved = FormatSettings();
    FormatSettings().ShortDateFormat = "yyyy";
    ApplyLocaleFormatSettings();
    EXPECT_EQ(FormatDateTime("c", Afternoon), "3/5/2026 2:07:09 PM");
    EXPECT_EQ(FormatDateTime("dddddd t", Morning), "Thursday, March 5, 2026 9:05 AM");
    FormatSettings() = saved;
}

// Our formats made from a locale's pictures show what Windows itself shows.
TEST(LocaleSettings, AgreeWithTheSystemsOwnFormatting)
{
    const LCID locales[] = {0x0409, 0x0809, 0x0407, 0x040C, 0x0410, 0x0C0A, 0x0413};
    for (LCID locale : locales) {
        const TFormatSettings settings = LocaleFormatSettings(locale);
        for (TDateTime value : {Afternoon, Morning}) {
            const SYSTEMTIME st = SystemTimeOf(value);
            SCOPED_TRACE("locale " + std::to_string(locale));
            EXPECT_EQ(FormatDateTime("ddddd", value, settings), SystemDate(locale, DATE_SHORTDATE, st));
            EXPECT_EQ(FormatDateTime("dddddd", value, settings), SystemDate(locale, DATE_LONGDATE, st));
            EXPECT_EQ(FormatDateTime("tt", value, settings), SystemTime(locale, st));
        }
    }
}

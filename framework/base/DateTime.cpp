#include "DateTime.h"

#include "Exceptions.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <ctime>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace {

constexpr long long MsPerDay = 86'400'000;
// Day 0 is 1899-12-30, which is 25569 days before 1970-01-01.
constexpr long long DaysBefore1970 = 25'569;
// Keeps the day count and the year well inside the integer types; a few
// million years either way is far beyond any value the program stores.
constexpr double MaxMagnitude = 1e9;

struct CivilDate {
    int year;
    int month;
    int day;
};

// The whole day and the time of day rounded to the nearest millisecond. The
// rounding carries into the next day so that it can never produce 24:00.
struct DayAndMs {
    long long day;
    long long ms;
};

DayAndMs Split(TDateTime value)
{
    if (!std::isfinite(value) || std::fabs(value) > MaxMagnitude)
        throw EConvertError("Invalid date and time value");
    const double whole = std::trunc(value);
    DayAndMs parts{static_cast<long long>(whole), std::llround(std::fabs(value - whole) * MsPerDay)};
    if (parts.ms >= MsPerDay) {
        parts.ms -= MsPerDay;
        ++parts.day;
    }
    return parts;
}

// Proleptic Gregorian calendar through 400-year eras starting on March 1st,
// which puts the leap day at the end of the counted year.
long long DayNumber(int year, int month, int day)
{
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146'097 + dayOfEra - 719'468 + DaysBefore1970;
}

CivilDate FromDayNumber(long long dayNumber)
{
    const long long z = dayNumber - DaysBefore1970 + 719'468;
    const long long era = (z >= 0 ? z : z - 146'096) / 146'097;
    const long long dayOfEra = z - era * 146'097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36'524 - dayOfEra / 146'096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long shiftedMonth = (5 * dayOfYear + 2) / 153;
    const int month = static_cast<int>(shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9);
    const int day = static_cast<int>(dayOfYear - (153 * shiftedMonth + 2) / 5 + 1);
    return {static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0)), month, day};
}

int DayOfWeekOf(long long dayNumber)
{
    // Day 1, 1899-12-31, was a Sunday.
    return static_cast<int>(((dayNumber - 1) % 7 + 7) % 7) + 1;
}

std::function<TDateTime()>& NowProvider()
{
    static std::function<TDateTime()> provider;
    return provider;
}

TDateTime ClockNow()
{
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &seconds);
#else
    localtime_r(&seconds, &local);
#endif
    const auto ms = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    // A leap second shows as the last ordinary second.
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday)
         + EncodeTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), ms);
}

// ---- The format language ----

enum class Kind {
    Literal,
    DateSeparator,
    TimeSeparator,
    Day,
    Month,
    Year,
    Hour,
    Minute,
    Second,
    Time,
    DateTime,
    AmPm,       // am/pm as written
    AP,         // a/p as written
    LocaleAmPm, // ampm
};

struct Token {
    Kind kind;
    int count;        // length of a letter run
    std::string text; // the literal text, or the field as written
};

// Deep enough for any sensible settings (a format inside "c" inside a format);
// stops settings that name themselves, like a short date of "c".
constexpr int MaxNesting = 3;

char Lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const std::string& text, std::size_t pos, std::string_view lowerWord)
{
    if (text.size() - pos < lowerWord.size())
        return false;
    for (std::size_t i = 0; i < lowerWord.size(); ++i)
        if (Lower(text[pos + i]) != lowerWord[i])
            return false;
    return true;
}

struct LetterRule {
    char letter;
    Kind kind;
    int maxRun;
};

constexpr LetterRule LetterRules[] = {
    {'c', Kind::DateTime, 1}, {'d', Kind::Day, 6},    {'m', Kind::Month, 4},  {'y', Kind::Year, INT_MAX},
    {'h', Kind::Hour, 2},     {'n', Kind::Minute, 2}, {'s', Kind::Second, 2}, {'t', Kind::Time, 2},
};

const LetterRule* RuleFor(char lower)
{
    const auto rule = std::find_if(std::begin(LetterRules), std::end(LetterRules),
                                   [lower](const LetterRule& r) { return r.letter == lower; });
    return rule == std::end(LetterRules) ? nullptr : rule;
}

Token QuotedLiteral(const std::string& format, std::size_t& pos)
{
    const char quote = format[pos];
    const std::size_t end = format.find(quote, pos + 1);
    const std::size_t textEnd = end == std::string::npos ? format.size() : end;
    Token token{Kind::Literal, 1, format.substr(pos + 1, textEnd - pos - 1)};
    pos = end == std::string::npos ? format.size() : end + 1;
    return token;
}

std::optional<Token> Marker(const std::string& format, std::size_t& pos)
{
    static constexpr std::pair<std::string_view, Kind> markers[] = {
        {"am/pm", Kind::AmPm}, {"ampm", Kind::LocaleAmPm}, {"a/p", Kind::AP}};
    for (const auto& [word, kind] : markers) {
        if (StartsWithNoCase(format, pos, word)) {
            Token token{kind, 1, format.substr(pos, word.size())};
            pos += word.size();
            return token;
        }
    }
    return std::nullopt;
}

Token NextToken(const std::string& format, std::size_t& pos)
{
    const char c = format[pos];
    if (c == '"' || c == '\'')
        return QuotedLiteral(format, pos);
    if (auto marker = Marker(format, pos))
        return *marker;
    ++pos;
    if (c == '/')
        return {Kind::DateSeparator, 1, "/"};
    if (c == ':')
        return {Kind::TimeSeparator, 1, ":"};
    const LetterRule* rule = RuleFor(Lower(c));
    if (!rule)
        return {Kind::Literal, 1, std::string(1, c)};
    const std::size_t start = pos - 1;
    while (pos < format.size() && pos - start < static_cast<std::size_t>(rule->maxRun)
           && Lower(format[pos]) == rule->letter)
        ++pos;
    return {rule->kind, static_cast<int>(pos - start), format.substr(start, pos - start)};
}

std::vector<Token> Tokenize(const std::string& format)
{
    std::vector<Token> tokens;
    for (std::size_t pos = 0; pos < format.size();)
        tokens.push_back(NextToken(format, pos));
    return tokens;
}

bool IsMarker(const Token& token)
{
    return token.kind == Kind::AmPm || token.kind == Kind::AP || token.kind == Kind::LocaleAmPm;
}

bool IsField(const Token& token)
{
    return token.kind != Kind::Literal && token.kind != Kind::DateSeparator && token.kind != Kind::TimeSeparator;
}

std::string Padded(long long value, std::size_t width)
{
    std::string digits = std::to_string(value < 0 ? -value : value);
    if (digits.size() < width)
        digits.insert(0, width - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

std::string Number(int value, int count)
{
    return count >= 2 ? Padded(value, 2) : std::to_string(value);
}

struct Parts {
    CivilDate date;
    int dayOfWeek;
    int hour;
    int minute;
    int second;
    bool hasTime;
};

Parts PartsOf(TDateTime value)
{
    const DayAndMs split = Split(value);
    const auto seconds = static_cast<int>(split.ms / 1000);
    return {FromDayNumber(split.day), DayOfWeekOf(split.day), seconds / 3600, seconds / 60 % 60, seconds % 60,
            split.ms != 0};
}

class Renderer {
public:
    Renderer(const TFormatSettings& settings, const Parts& parts) : settings_(settings), parts_(parts) {}

    void Render(const std::string& format, int depth, std::string& out) const
    {
        const std::vector<Token> tokens = Tokenize(format);
        const bool twelveHour = std::any_of(tokens.begin(), tokens.end(), IsMarker);
        bool afterHour = false;
        for (const Token& token : tokens) {
            if (!IsField(token)) {
                RenderPlain(token, out);
                continue;
            }
            if (IsNested(token))
                RenderNested(token, depth, out);
            else
                RenderField(token, twelveHour, afterHour, out);
            afterHour = token.kind == Kind::Hour;
        }
    }

private:
    static bool IsNested(const Token& token)
    {
        return token.kind == Kind::Time || token.kind == Kind::DateTime || (token.kind == Kind::Day && token.count >= 5);
    }

    void RenderPlain(const Token& token, std::string& out) const
    {
        if (token.kind == Kind::Literal)
            out += token.text;
        else if (token.kind == Kind::DateSeparator && settings_.DateSeparator != '\0')
            out += settings_.DateSeparator;
        else if (token.kind == Kind::TimeSeparator && settings_.TimeSeparator != '\0')
            out += settings_.TimeSeparator;
    }

    void RenderNested(const Token& token, int depth, std::string& out) const
    {
        if (depth >= MaxNesting) {
            out += token.text;
            return;
        }
        if (token.kind == Kind::Day) {
            Render(token.count == 5 ? settings_.ShortDateFormat : settings_.LongDateFormat, depth + 1, out);
        } else if (token.kind == Kind::Time) {
            Render(token.count == 1 ? settings_.ShortTimeFormat : settings_.LongTimeFormat, depth + 1, out);
        } else {
            Render(settings_.ShortDateFormat, depth + 1, out);
            if (parts_.hasTime) {
                out += ' ';
                Render(settings_.LongTimeFormat, depth + 1, out);
            }
        }
    }

    void RenderField(const Token& token, bool twelveHour, bool afterHour, std::string& out) const
    {
        const bool pm = parts_.hour >= 12;
        switch (token.kind) {
        case Kind::Day: out += DayText(token.count); break;
        case Kind::Month:
            out += afterHour && token.count <= 2 ? Number(parts_.minute, token.count) : MonthText(token.count);
            break;
        case Kind::Year: out += YearText(token.count); break;
        case Kind::Hour: out += Number(twelveHour ? TwelveHour(parts_.hour) : parts_.hour, token.count); break;
        case Kind::Minute: out += Number(parts_.minute, token.count); break;
        case Kind::Second: out += Number(parts_.second, token.count); break;
        // The marker keeps the letter case the format was written in.
        case Kind::AmPm: out += pm ? token.text.substr(3, 2) : token.text.substr(0, 2); break;
        case Kind::AP: out += pm ? token.text[2] : token.text[0]; break;
        case Kind::LocaleAmPm: out += pm ? settings_.TimePMString : settings_.TimeAMString; break;
        default: break;
        }
    }

    static int TwelveHour(int hour)
    {
        return hour % 12 == 0 ? 12 : hour % 12;
    }

    std::string DayText(int count) const
    {
        if (count == 3)
            return settings_.ShortDayNames[parts_.dayOfWeek - 1];
        if (count == 4)
            return settings_.LongDayNames[parts_.dayOfWeek - 1];
        return Number(parts_.date.day, count);
    }

    std::string MonthText(int count) const
    {
        if (count == 3)
            return settings_.ShortMonthNames[parts_.date.month - 1];
        if (count == 4)
            return settings_.LongMonthNames[parts_.date.month - 1];
        return Number(parts_.date.month, count);
    }

    std::string YearText(int count) const
    {
        const int year = parts_.date.year;
        return count <= 2 ? Padded((year % 100 + 100) % 100, 2) : Padded(year, 4);
    }

    const TFormatSettings& settings_;
    const Parts& parts_;
};

} // namespace

TFormatSettings EnglishFormatSettings()
{
    TFormatSettings settings;
    settings.ShortDateFormat = "m/d/yyyy";
    settings.LongDateFormat = "dddd, mmmm d, yyyy";
    settings.ShortTimeFormat = "h:mm AMPM";
    settings.LongTimeFormat = "h:mm:ss AMPM";
    settings.TimeAMString = "AM";
    settings.TimePMString = "PM";
    settings.DateSeparator = '/';
    settings.TimeSeparator = ':';
    settings.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    settings.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};
    settings.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    settings.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    return settings;
}

TFormatSettings& FormatSettings()
{
    static TFormatSettings settings = EnglishFormatSettings();
    return settings;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : days[month - 1];
}

TDateTime EncodeDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        throw EConvertError("Invalid argument to date encode");
    return static_cast<TDateTime>(DayNumber(year, month, day));
}

TDateTime EncodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0
        || millisecond > 999)
        throw EConvertError("Invalid argument to time encode");
    const long long ms = ((hour * 60LL + minute) * 60 + second) * 1000 + millisecond;
    return static_cast<TDateTime>(ms) / MsPerDay;
}

void DecodeDate(TDateTime value, int& year, int& month, int& day)
{
    const CivilDate date = FromDayNumber(Split(value).day);
    year = date.year;
    month = date.month;
    day = date.day;
}

void DecodeTime(TDateTime value, int& hour, int& minute, int& second, int& millisecond)
{
    const auto ms = static_cast<int>(Split(value).ms);
    hour = ms / 3'600'000;
    minute = ms / 60'000 % 60;
    second = ms / 1000 % 60;
    millisecond = ms % 1000;
}

int DayOfWeek(TDateTime value)
{
    return DayOfWeekOf(Split(value).day);
}

TDateTime Now()
{
    const auto& provider = NowProvider();
    return provider ? provider() : ClockNow();
}

TDateTime Date()
{
    return std::trunc(Now());
}

TDateTime Time()
{
    const TDateTime now = Now();
    return std::fabs(now - std::trunc(now));
}

void SetNowProvider(std::function<TDateTime()> provider)
{
    NowProvider() = std::move(provider);
}

std::string FormatDateTime(const std::string& format, TDateTime value)
{
    return FormatDateTime(format, value, FormatSettings());
}

std::string FormatDateTime(const std::string& format, TDateTime value, const TFormatSettings& settings)
{
    const Parts parts = PartsOf(value);
    std::string out;
    Renderer(settings, parts).Render(format.empty() ? "c" : format, 0, out);
    return out;
}

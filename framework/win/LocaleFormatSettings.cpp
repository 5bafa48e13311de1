#include "LocaleFormatSettings.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// One piece of a Windows picture: a run of one picture letter, or literal text
// (quotes already removed). begin/end locate it in the picture.
struct PictureToken {
    char letter; // '\0' for literal text
    int count;
    std::string text;
    std::size_t begin;
    std::size_t end;
};

constexpr std::string_view DateLetters = "dMyg";
constexpr std::string_view TimeLetters = "hHmst";

// Reads quoted text starting at the opening quote; two quotes in a row stand
// for one quote, inside quoted text or outside it.
std::string ReadQuoted(const std::string& picture, std::size_t& pos)
{
    std::string text;
    if (pos + 1 < picture.size() && picture[pos + 1] == '\'') {
        pos += 2;
        return "'";
    }
    for (++pos; pos < picture.size(); ++pos) {
        if (picture[pos] != '\'') {
            text += picture[pos];
        } else if (pos + 1 < picture.size() && picture[pos + 1] == '\'') {
            text += '\'';
            ++pos;
        } else {
            ++pos;
            break;
        }
    }
    return text;
}

void AddLiteral(std::vector<PictureToken>& tokens, const std::string& text, std::size_t begin, std::size_t end)
{
    if (!tokens.empty() && tokens.back().letter == '\0') {
        tokens.back().text += text;
        tokens.back().end = end;
    } else {
        tokens.push_back({'\0', 0, text, begin, end});
    }
}

std::vector<PictureToken> ParsePicture(const std::string& picture, std::string_view letters)
{
    std::vector<PictureToken> tokens;
    std::size_t pos = 0;
    while (pos < picture.size()) {
        const std::size_t begin = pos;
        const char c = picture[pos];
        if (c == '\'') {
            const std::string text = ReadQuoted(picture, pos);
            AddLiteral(tokens, text, begin, pos);
        } else if (letters.find(c) != std::string_view::npos) {
            while (pos < picture.size() && picture[pos] == c)
                ++pos;
            tokens.push_back({c, static_cast<int>(pos - begin), {}, begin, pos});
        } else {
            AddLiteral(tokens, std::string(1, c), begin, ++pos);
        }
    }
    return tokens;
}

bool IsAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Literal text in our language: letters would read as fields and quotes
// as quoting, so such text is quoted; a single quote goes in double quotes.
// The separators '/' and ':' stay bare so that they follow the settings.
std::string LiteralToFormat(const std::string& text)
{
    const bool plain = std::none_of(text.begin(), text.end(),
                                    [](char c) { return IsAsciiLetter(c) || c == '\'' || c == '"'; });
    if (plain)
        return text;
    std::string out;
    bool open = false;
    for (char c : text) {
        if (c == '\'') {
            out += open ? "'\"'\"" : "\"'\"";
            open = false;
            continue;
        }
        if (!open)
            out += '\'';
        open = true;
        out += c;
    }
    if (open)
        out += '\'';
    return out;
}

std::string Repeat(char letter, int count, int most)
{
    return std::string(static_cast<std::size_t>(std::min(count, most)), letter);
}

std::string DateTokenToFormat(const PictureToken& token)
{
    switch (token.letter) {
    case 'd': return Repeat('d', token.count, 4);
    case 'M': return Repeat('m', token.count, 4);
    case 'y': return token.count <= 2 ? "yy" : "yyyy";
    case 'g': return {}; // our language has no era
    default: return LiteralToFormat(token.text);
    }
}

// Leaving out an era or a marker can leave a blank at either end.
std::string TrimBlanks(const std::string& text)
{
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool HasLetter(const std::vector<PictureToken>& tokens, char letter)
{
    return std::any_of(tokens.begin(), tokens.end(), [letter](const PictureToken& t) { return t.letter == letter; });
}

std::string TimeTokenToFormat(const PictureToken& token, bool twelveHour)
{
    switch (token.letter) {
    case 'h':
    case 'H': return Repeat('h', token.count, 2);
    case 'm': return Repeat('n', token.count, 2);
    case 's': return Repeat('s', token.count, 2);
    // A 24-hour picture with a marker cannot be said in our language, where
    // any marker makes hours 12-hour: the hours win and the marker goes.
    case 't': return twelveHour ? "AMPM" : "";
    default: return LiteralToFormat(token.text);
    }
}

std::optional<std::string> LocaleText(LCID locale, LCTYPE type)
{
    const int size = GetLocaleInfoA(locale, type, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::string text(static_cast<std::size_t>(size), '\0');
    if (GetLocaleInfoA(locale, type, text.data(), size) <= 0)
        return std::nullopt;
    text.resize(std::strlen(text.c_str()));
    return text;
}

void ReadText(LCID locale, LCTYPE type, std::string& target)
{
    if (auto text = LocaleText(locale, type))
        target = *text;
}

void ReadSeparator(LCID locale, LCTYPE type, char& target)
{
    if (auto text = LocaleText(locale, type); text && !text->empty())
        target = text->front();
}

void ReadNames(LCID locale, TFormatSettings& settings)
{
    for (int i = 0; i < 12; ++i) {
        ReadText(locale, LOCALE_SABBREVMONTHNAME1 + i, settings.ShortMonthNames[i]);
        ReadText(locale, LOCALE_SMONTHNAME1 + i, settings.LongMonthNames[i]);
    }
    // Windows counts Monday = 1 .. Sunday = 7; our arrays start with Sunday.
    for (int i = 0; i < 7; ++i) {
        const LCTYPE offset = static_cast<LCTYPE>((i + 6) % 7);
        ReadText(locale, LOCALE_SABBREVDAYNAME1 + offset, settings.ShortDayNames[i]);
        ReadText(locale, LOCALE_SDAYNAME1 + offset, settings.LongDayNames[i]);
    }
}

void ReadFormats(LCID locale, TFormatSettings& settings)
{
    if (auto picture = LocaleText(locale, LOCALE_SSHORTDATE))
        settings.ShortDateFormat = DatePictureToFormat(*picture);
    if (auto picture = LocaleText(locale, LOCALE_SLONGDATE))
        settings.LongDateFormat = DatePictureToFormat(*picture);
    const auto longTime = LocaleText(locale, LOCALE_STIMEFORMAT);
    if (longTime)
        settings.LongTimeFormat = TimePictureToFormat(*longTime);
    // Older systems have no short time picture.
    if (auto shortTime = LocaleText(locale, LOCALE_SSHORTTIME))
        settings.ShortTimeFormat = TimePictureToFormat(*shortTime);
    else if (longTime)
        settings.ShortTimeFormat = TimePictureToFormat(ShortTimePictureFrom(*longTime));
}

} // namespace

std::string DatePictureToFormat(const std::string& picture)
{
    std::string format;
    for (const PictureToken& token : ParsePicture(picture, DateLetters))
        format += DateTokenToFormat(token);
    return TrimBlanks(format);
}

std::string TimePictureToFormat(const std::string& picture)
{
    const std::vector<PictureToken> tokens = ParsePicture(picture, TimeLetters);
    const bool twelveHour = HasLetter(tokens, 'h');
    std::string format;
    for (const PictureToken& token : tokens)
        format += TimeTokenToFormat(token, twelveHour);
    if (twelveHour && !HasLetter(tokens, 't'))
        format += " AMPM";
    return TrimBlanks(format);
}

std::string ShortTimePictureFrom(const std::string& longTimePicture)
{
    const std::vector<PictureToken> tokens = ParsePicture(longTimePicture, TimeLetters);
    const auto seconds = std::find_if(tokens.begin(), tokens.end(), [](const PictureToken& t) { return t.letter == 's'; });
    if (seconds == tokens.end())
        return longTimePicture;
    // The separator before the seconds goes with them; seconds that come first
    // take the separator after them instead.
    std::size_t begin = seconds->begin;
    std::size_t end = seconds->end;
    if (seconds != tokens.begin() && std::prev(seconds)->letter == '\0')
        begin = std::prev(seconds)->begin;
    else if (std::next(seconds) != tokens.end() && std::next(seconds)->letter == '\0')
        end = std::next(seconds)->end;
    return longTimePicture.substr(0, begin) + longTimePicture.substr(end);
}

TFormatSettings LocaleFormatSettings()
{
    return LocaleFormatSettings(LOCALE_USER_DEFAULT);
}

TFormatSettings LocaleFormatSettings(unsigned long localeId)
{
    const LCID locale = localeId;
    TFormatSettings settings = EnglishFormatSettings();
    ReadFormats(locale, settings);
    ReadText(locale, LOCALE_S1159, settings.TimeAMString);
    ReadText(locale, LOCALE_S2359, settings.TimePMString);
    ReadSeparator(locale, LOCALE_SDATE, settings.DateSeparator);
    ReadSeparator(locale, LOCALE_STIME, settings.TimeSeparator);
    ReadNames(locale, settings);
    return settings;
}

void ApplyLocaleFormatSettings()
{
    FormatSettings() = LocaleFormatSettings();
}

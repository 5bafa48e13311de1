#pragma once
// Date and time settings taken from the user's Windows locale, with the
// locale's picture strings rewritten into our own format language.

#include "DateTime.h"

#include <string>

// The user default locale's settings. Any value the system does not give keeps
// the English default.
TFormatSettings LocaleFormatSettings();
// The same for any installed locale (an LCID).
TFormatSettings LocaleFormatSettings(unsigned long localeId);

// Replaces FormatSettings() with LocaleFormatSettings(); the application calls
// it once at start.
void ApplyLocaleFormatSettings();

// Rewrites a Windows date picture (d M y g) into our language. Other letters
// and quoted text stay literal.
std::string DatePictureToFormat(const std::string& picture);

// Rewrites a Windows time picture (h H m s t). A 12-hour picture always comes
// out with AMPM, since in our language only a marker makes hours 12-hour.
std::string TimePictureToFormat(const std::string& picture);

// A short time picture made from a long one by leaving out the seconds and
// the separator before them, for systems that have no short time picture.
std::string ShortTimePictureFrom(const std::string& longTimePicture);

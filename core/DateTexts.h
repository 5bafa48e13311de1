#pragma once
// Texts of the current date and time, in the user's date and time settings.

#include <string>

// Now, as "d mmmm yyyy t": day, full month name, four-digit year, short time.
std::string CurrentDateText();
// Now, in the given format of the date-time format language.
std::string FormatNow(const std::string& format);

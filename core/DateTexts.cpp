#include "DateTexts.h"

#include "DateTime.h"

std::string CurrentDateText() { return FormatNow("d mmmm yyyy t"); }

std::string FormatNow(const std::string& format) { return FormatDateTime(format, Now()); }

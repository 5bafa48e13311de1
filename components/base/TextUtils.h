#pragma once
// Small text routines of the component library, and the command-line splitter.

#include <functional>
#include <string>
#include <vector>

// The library's hook for resource-string lookups: the text as it stands.
const std::string& ResStr(const std::string& text);
// Lower-cases a text and upper-cases its first character.
std::string AnsiUpperFirstChar(const std::string& text);
// A class name without its leading "T" or "t" (names of one character stay).
std::string DropT(const std::string& className);

// Shortens `text`, ending it with "...", until `fits` accepts it; gives ""
// when not even "..." fits.
std::string MinimizeText(const std::string& text, const std::function<bool(const std::string&)>& fits);

// Command lines: blanks and control characters separate arguments, double
// quotes group (and are dropped). Arguments are kept whole however long.
std::vector<std::string> SplitArguments(const std::string& commandLine);
int ParamCountFromCommandLine(const std::string& commandLine);
// Argument `index` (0 = the program); "" past the last.
std::string ParamStrFromCommandLine(const std::string& commandLine, int index);
// The first argument from `position` on; `position` moves past it.
std::string GetParamStr(const std::string& commandLine, std::size_t& position);
// The program (first argument) and the rest, arguments with a blank quoted again.
void SplitCommandLine(const std::string& commandLine, std::string& program, std::string& parameters);

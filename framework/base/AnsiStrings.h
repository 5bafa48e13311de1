#pragma once
// Text and path helpers for 8-bit ANSI strings. Paths are Windows paths: the
// backslash separates folders, and a drive colon ends the folder part too, so
// "C:name.txt" names a file on drive C. Case rules follow code page 1252,
// the code page the program's text is stored in.

#include <cstdint>
#include <string>

// --- Paths ---------------------------------------------------------------

// "C:\a\b.txt" -> "b.txt".
std::string ExtractFileName(const std::string& path);
// "C:\a\b.txt" -> "C:\a\" (keeps the trailing backslash or colon).
std::string ExtractFilePath(const std::string& path);
// "C:\a\b.txt" -> "C:\a"; a root keeps its backslash: "C:\b.txt" -> "C:\".
std::string ExtractFileDir(const std::string& path);
// "b.txt" -> ".txt", "b" -> "", "b." -> "."; a dot in a folder name is no extension.
std::string ExtractFileExt(const std::string& path);
// Replaces or adds the extension; extension includes the dot, "" removes it.
std::string ChangeFileExt(const std::string& path, const std::string& extension);
std::string IncludeTrailingBackslash(const std::string& path);
std::string ExcludeTrailingBackslash(const std::string& path);

// --- Case ----------------------------------------------------------------

// Code page 1252 letters, accented ones included.
std::string AnsiUpperCase(const std::string& text);
std::string AnsiLowerCase(const std::string& text);
// A-Z and a-z only; for identifiers and keywords that must not depend on letters
// outside ASCII.
std::string UpperCase(const std::string& text);
std::string LowerCase(const std::string& text);

// Case-insensitive in code page 1252; returns <0, 0 or >0.
int AnsiCompareText(const std::string& a, const std::string& b);
bool SameText(const std::string& a, const std::string& b);
// Case-sensitive, byte by byte; returns <0, 0 or >0.
int AnsiCompareStr(const std::string& a, const std::string& b);

// --- Numbers -------------------------------------------------------------

std::string IntToStr(int value);
std::string IntToStr(std::int64_t value);
// Accepts an optional sign, then decimal digits or hex digits after "$" or "0x".
// Blanks are not skipped. Hex takes any 32-bit pattern ("$FFFFFFFF" is -1),
// decimal must lie within the int range. Throws EConvertError otherwise.
int StrToInt(const std::string& text);
int StrToIntDef(const std::string& text, int defaultValue);
bool TryStrToInt(const std::string& text, int& value);

// --- Editing -------------------------------------------------------------

// Removes control characters and blanks (every byte <= ' ') from the ends.
std::string Trim(const std::string& text);
std::string TrimLeft(const std::string& text);
std::string TrimRight(const std::string& text);
// Replaces every occurrence of from, scanning left to right without rescanning
// replaced text. An empty from changes nothing.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);

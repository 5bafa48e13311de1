#pragma once
// The program's 8-bit (ANSI code page) text to and from the wide text that
// shell and OLE interfaces take, whole, however long.

#include <string>

std::wstring WideFromAnsi(const std::string& text);
std::string AnsiFromWide(const wchar_t* text);

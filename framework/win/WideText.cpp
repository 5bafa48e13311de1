#include "WideText.h"

#include <windows.h>

#include <vector>

std::wstring WideFromAnsi(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0)
        return L"";
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide.data();
}

std::string AnsiFromWide(const wchar_t* text)
{
    if (!text)
        return "";
    const int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return "";
    std::vector<char> narrow(static_cast<size_t>(length));
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    return narrow.data();
}

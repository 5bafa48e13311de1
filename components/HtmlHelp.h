#pragma once
// The HTML Help viewer, reached without linking to it: its library is found
// at run time, so Quillo still starts (and only beeps at F1) on a system
// without it. Do not include <htmlhelp.h> next to this header: it #defines
// HtmlHelp and would rename this function.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// The viewer's entry point. WINAPI matters on i686, where it is stdcall.
typedef HWND(WINAPI* HtmlHelpProc)(HWND, LPCSTR, UINT, DWORD_PTR);

// HTML Help commands the program uses.
inline constexpr UINT HelpDisplayTopic = 0x0000;
inline constexpr UINT HelpDisplayContents = 0x0001;
inline constexpr UINT HelpCloseAll = 0x0012;

inline const char* const HtmlHelpMissingText =
    "Unable to load \"HHCtrl.ocx\" library !!!\r\n"
    "Press OK Button to download and install the latest version\r\n"
    "of the HTML Help Workshop from the Microsoft Web Site.";
// Where the offer above sends the user.
inline const char* const HtmlHelpDownloadAddress =
    "https://learn.microsoft.com/en-us/previous-versions/windows/desktop/htmlhelp/microsoft-html-help-downloads";

// Calls the viewer and returns its result (the help window, as a number), or
// -1 when the viewer is not available. Then the user hears a beep and, until
// they once accept it in this run, is offered the download page.
std::intptr_t HtmlHelp(HWND window, const std::string& file, UINT command, DWORD_PTR data);

// What HtmlHelp reaches outside the program. Tests replace these to simulate
// a missing or broken library; an empty member means the real one.
struct HtmlHelpHooks {
    std::function<HMODULE()> loadLibrary;
    std::function<HtmlHelpProc(HMODULE)> findEntry;
    std::function<void(HMODULE)> freeLibrary;
    std::function<void()> beep;
    std::function<void(const std::string& address)> openAddress;
};
// Frees the library (if loaded) and forgets the offer, then uses the hooks.
void SetHtmlHelpHooks(HtmlHelpHooks hooks);

// Closes the viewer's windows and frees its library; the next call loads it
// again. Runs by itself when the program ends.
void ReleaseHtmlHelp();

#pragma once
// Wine's own rich edit control with nothing of ours around it: a window made
// with CreateWindowEx in the given parent, plain text with one undo step and
// the default character format of one of our controls, so that both lay out
// the same glyphs (Wine's control answers WM_GETFONT with no font, and a
// control left in its own font lays text out in bold System, twice as fast
// as in a TrueType face). Timing it beside our controls doing the same work
// tells our own overhead from the control's.

#include "BenchReport.h"

#include <windows.h>
#include <richedit.h>

#include <cstdio>
#include <string>

class BareRichEdit {
    static RECT PlaceOf(HWND window)
    {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&bounds), 2);
        return bounds;
    }

public:
    // Shown like the page editor, or hidden like the converter.
    BareRichEdit(HWND parent, HWND model, const RECT& bounds = RECT{0, 0, 580, 360}, bool visible = true)
    {
        LoadLibraryA("RICHED20.DLL");
        const DWORD shown = visible ? WS_VISIBLE | WS_VSCROLL : 0;
        window_ = CreateWindowExA(WS_EX_CLIENTEDGE, "RichEdit20A", "",
                                  WS_CHILD | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | ES_MULTILINE |
                                      ES_AUTOVSCROLL | ES_SAVESEL | ES_NOHIDESEL | shown,
                                  bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                                  parent, nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(window_, EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
        SendMessageA(window_, EM_SETUNDOLIMIT, 1, 0);
        SendMessageA(window_, EM_EXLIMITTEXT, 0, 0xFFFFFF);
        CHARFORMAT2A format{};
        format.cbSize = sizeof format;
        SendMessageA(model, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
        SendMessageA(window_, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    }
    // Standing over one of our controls, in its parent and its place.
    explicit BareRichEdit(HWND over) : BareRichEdit(GetParent(over), over, PlaceOf(over), true) {}
    ~BareRichEdit() { Destroy(); }
    BareRichEdit(const BareRichEdit&) = delete;
    BareRichEdit& operator=(const BareRichEdit&) = delete;

    HWND Handle() const { return window_; }
    void SetText(const std::string& text) { SendMessageA(window_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())); }
    std::string StreamOut()
    {
        std::string text;
        EDITSTREAM stream{};
        stream.dwCookie = reinterpret_cast<DWORD_PTR>(&text);
        stream.pfnCallback = &BareRichEdit::Collect;
        SendMessageA(window_, EM_STREAMOUT, SF_TEXT, reinterpret_cast<LPARAM>(&stream));
        return text;
    }
    // Both indents over every paragraph in one exchange.
    void SetIndents(int firstTwips, int rightTwips)
    {
        CHARRANGE all{0, -1};
        SendMessageA(window_, EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
        PARAFORMAT2 format{};
        format.cbSize = sizeof format;
        format.dwMask = PFM_STARTINDENT | PFM_RIGHTINDENT;
        format.dxStartIndent = firstTwips;
        format.dxRightIndent = rightTwips;
        SendMessageA(window_, EM_SETPARAFORMAT, 0, reinterpret_cast<LPARAM>(&format));
    }
    void Destroy()
    {
        if (window_)
            DestroyWindow(window_);
        window_ = nullptr;
    }

private:
    static DWORD CALLBACK Collect(DWORD_PTR cookie, LPBYTE bytes, LONG count, LONG* done)
    {
        reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(count));
        *done = count;
        return 0;
    }

    HWND window_ = nullptr;
};

inline void CompareWithBare(const char* what, double ours, double bare)
{
    std::printf("  %-44s ours %8.1f ms, bare control %8.1f ms, overhead %+8.1f ms, ratio %5.2f\n", what, ours, bare,
                ours - bare, bare > 0 ? ours / bare : 0.0);
    std::fflush(stdout);
}

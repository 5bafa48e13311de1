#include "ClipboardText.h"

#include <windows.h>

#include <cstring>

namespace {
// Open while it lives; another program may hold the clipboard for a moment.
class OpenClipboardScope {
public:
    OpenClipboardScope() : open_(OpenClipboard(nullptr) != FALSE) {}
    ~OpenClipboardScope()
    {
        if (open_)
            CloseClipboard();
    }
    OpenClipboardScope(const OpenClipboardScope&) = delete;
    OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;
    bool Open() const { return open_; }

private:
    bool open_;
};
}

bool SetClipboardText(const std::string& text)
{
    const OpenClipboardScope clipboard;
    if (!clipboard.Open() || !EmptyClipboard())
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (!memory)
        return false;
    if (void* bytes = GlobalLock(memory)) {
        std::memcpy(bytes, text.c_str(), text.size() + 1);
        GlobalUnlock(memory);
        // The clipboard owns the memory once it has taken it.
        if (SetClipboardData(CF_TEXT, memory))
            return true;
    }
    GlobalFree(memory);
    return false;
}

std::string ClipboardText()
{
    const OpenClipboardScope clipboard;
    if (!clipboard.Open())
        return {};
    HANDLE memory = GetClipboardData(CF_TEXT);
    if (!memory)
        return {};
    std::string text;
    if (const auto* bytes = static_cast<const char*>(GlobalLock(memory))) {
        text.assign(bytes, strnlen(bytes, GlobalSize(memory)));
        GlobalUnlock(memory);
    }
    return text;
}

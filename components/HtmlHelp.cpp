#include "HtmlHelp.h"

#include "Application.h"

#include <shellapi.h>

namespace {
HMODULE LoadViewerLibrary()
{
    // The system's copy first, so that a stray file of that name in the
    // program's or the current folder is not loaded in its place.
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const std::string path = std::string(system) + "\\hhctrl.ocx";
        if (HMODULE module = LoadLibraryA(path.c_str()))
            return module;
    }
    return LoadLibraryA("HHCtrl.ocx");
}

HtmlHelpProc FindViewerEntry(HMODULE module)
{
    // The cast through a generic function pointer keeps -Wcast-function-type quiet.
    return reinterpret_cast<HtmlHelpProc>(reinterpret_cast<void (*)()>(GetProcAddress(module, "HtmlHelpA")));
}

void OpenDownloadPage(const std::string& address)
{
    ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// Loaded at most once while the program runs (until released), and freed by
// the same object that loaded it, so a library without the entry point is not
// loaded again and again on every help request.
class Viewer {
public:
    ~Viewer() { Release(); }

    void SetHooks(HtmlHelpHooks hooks)
    {
        Release();
        offered_ = false;
        hooks_ = std::move(hooks);
    }

    std::intptr_t Call(HWND window, const std::string& file, UINT command, DWORD_PTR data)
    {
        if (!entry_) {
            if (!module_)
                module_ = hooks_.loadLibrary ? hooks_.loadLibrary() : LoadViewerLibrary();
            if (module_)
                entry_ = hooks_.findEntry ? hooks_.findEntry(module_) : FindViewerEntry(module_);
        }
        if (entry_)
            return reinterpret_cast<std::intptr_t>(entry_(window, file.c_str(), command, data));

        if (hooks_.beep)
            hooks_.beep();
        else
            Beep(1000, 100);
        if (!offered_ && Application.MessageBox(HtmlHelpMissingText, "Error", MB_OKCANCEL | MB_ICONERROR) == IDOK) {
            // Cancel leaves the offer open for the next help request.
            offered_ = true;
            if (hooks_.openAddress)
                hooks_.openAddress(HtmlHelpDownloadAddress);
            else
                OpenDownloadPage(HtmlHelpDownloadAddress);
        }
        return -1;
    }

    void Release()
    {
        // A help window still open would run code of the freed library.
        if (entry_)
            entry_(nullptr, nullptr, HelpCloseAll, 0);
        entry_ = nullptr;
        if (module_) {
            if (hooks_.freeLibrary)
                hooks_.freeLibrary(module_);
            else
                FreeLibrary(module_);
            module_ = nullptr;
        }
    }

private:
    HtmlHelpHooks hooks_;
    HMODULE module_ = nullptr;
    HtmlHelpProc entry_ = nullptr;
    bool offered_ = false;
};

Viewer& TheViewer()
{
    static Viewer viewer;
    return viewer;
}
}

std::intptr_t HtmlHelp(HWND window, const std::string& file, UINT command, DWORD_PTR data)
{
    return TheViewer().Call(window, file, command, data);
}

void SetHtmlHelpHooks(HtmlHelpHooks hooks) { TheViewer().SetHooks(std::move(hooks)); }

void ReleaseHtmlHelp() { TheViewer().Release(); }

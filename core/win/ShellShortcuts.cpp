#include "ShellShortcuts.h"

#include "WideText.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

namespace {
SpecialFolderHandler& Handler()
{
    static SpecialFolderHandler handler;
    return handler;
}

std::string ShellSpecialFolder(int csidl)
{
    LPITEMIDLIST items = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &items)) || !items)
        return "";
    char path[MAX_PATH] = "";
    const BOOL found = SHGetPathFromIDListA(items, path);
    CoTaskMemFree(items);
    return found ? path : "";
}

bool SaveShortcut(const std::string& target, const std::string& file)
{
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
            reinterpret_cast<void**>(&link))))
        return false;
    bool saved = false;
    if (SUCCEEDED(link->SetPath(target.c_str())) && SUCCEEDED(link->SetShowCmd(SW_SHOWNORMAL))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            saved = SUCCEEDED(persist->Save(WideFromAnsi(file).c_str(), TRUE));
            persist->Release();
        }
    }
    link->Release();
    return saved;
}

std::string SpecialFolder(int csidl)
{
    std::string folder = Handler() ? Handler()(csidl) : ShellSpecialFolder(csidl);
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

bool CreateShortcutIn(std::string folder, const std::string& target, const std::string& shortcutName)
{
    if (folder.empty())
        return false;
    if (folder.back() != '\\')
        folder += '\\';

    // S_FALSE (already initialised on this thread, as after OleInitialize) is
    // success and must be balanced like S_OK. A thread initialised for the
    // other apartment model can still create the object, but is not ours to
    // uninitialise.
    const HRESULT initialised = CoInitialize(nullptr);
    if (FAILED(initialised) && initialised != RPC_E_CHANGED_MODE)
        return false;
    const bool saved = SaveShortcut(target, folder + shortcutName);
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return saved;
}
}

void SetSpecialFolderHandler(SpecialFolderHandler handler) { Handler() = std::move(handler); }

bool CreateStartMenuShortcut(const std::string& target, const std::string& shortcutName)
{
    return CreateShortcutIn(SpecialFolder(CSIDL_STARTMENU), target, shortcutName);
}

bool CreateDesktopShortcut(const std::string& target, const std::string& shortcutName)
{
    return CreateShortcutIn(SpecialFolder(CSIDL_DESKTOPDIRECTORY), target, shortcutName);
}

bool CreateQuickLaunchShortcut(const std::string& target, const std::string& shortcutName)
{
    const std::string appData = SpecialFolder(CSIDL_APPDATA);
    if (appData.empty())
        return false;
    const std::string folder = appData + QuickLaunchFolder;
    SHCreateDirectoryExA(nullptr, folder.c_str(), nullptr);
    return CreateShortcutIn(folder, target, shortcutName);
}

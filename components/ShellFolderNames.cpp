#include "ShellFolderNames.h"

#include "WideText.h"

#include <cctype>

namespace {
std::string TakeString(STRRET& result, LPCITEMIDLIST item)
{
    switch (result.uType) {
    case STRRET_WSTR: {
        std::string name = result.pOleStr ? AnsiFromWide(result.pOleStr) : "";
        CoTaskMemFree(result.pOleStr);
        return name;
    }
    case STRRET_OFFSET:
        return reinterpret_cast<const char*>(item) + result.uOffset;
    case STRRET_CSTR:
        return result.cStr;
    default:
        return "";
    }
}
}

bool IsFileSystemPath(const std::string& name)
{
    const bool drive = name.size() >= 3 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':' &&
                       name[2] == '\\';
    return drive || name.starts_with("\\\\");
}

TShellFolderNames::TShellFolderNames(LPCITEMIDLIST folder)
{
    IShellFolder* desktop = nullptr;
    if (!folder || FAILED(SHGetDesktopFolder(&desktop)))
        return;
    if (folder->mkid.cb == 0) {
        folder_ = desktop;
        return;
    }
    void* bound = nullptr;
    if (SUCCEEDED(desktop->BindToObject(folder, nullptr, IID_IShellFolder, &bound)))
        folder_ = static_cast<IShellFolder*>(bound);
    desktop->Release();
}

TShellFolderNames::~TShellFolderNames()
{
    if (folder_)
        folder_->Release();
}

std::string TShellFolderNames::PathOf(LPCITEMIDLIST item) const
{
    STRRET result{};
    if (!folder_ || !item || FAILED(folder_->GetDisplayNameOf(item, SHGDN_FORPARSING, &result)))
        return "";
    std::string name = TakeString(result, item);
    return IsFileSystemPath(name) ? name : "";
}

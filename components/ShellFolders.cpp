#include "ShellFolders.h"

#include "Exceptions.h"
#include "Registry.h"

#include <cstring>

namespace {
const char* const ShellFoldersKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

struct NameSource {
    TApSpecShellFolder folder;
    HKEY root;
    const char* key;
    UINT shellString;
    const char* fallback;
};

const NameSource NameSources[] = {
    {TApSpecShellFolder::ftDesktop, HKEY_CLASSES_ROOT, "\\CLSID\\{00021400-0000-0000-C000-000000000046}", 4162,
     "Desktop"},
    {TApSpecShellFolder::ftDrives, HKEY_CURRENT_USER,
     "\\SOFTWARE\\Classes\\CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}", 9216, "My Computer"},
    {TApSpecShellFolder::ftPersonal, HKEY_CURRENT_USER,
     "\\SOFTWARE\\Classes\\CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}", 9100, "My Documents"},
    {TApSpecShellFolder::ftFavorites, nullptr, nullptr, 0, "Favorites"},
    {TApSpecShellFolder::ftRecent, nullptr, nullptr, 0, "Recent"},
};

// A value of a key, or empty; a missing key or a value of another type is
// no name.
std::string ReadKeyString(HKEY root, const std::string& key, const std::string& value)
{
    try {
        TRegistry registry(KEY_READ);
        registry.SetRootKey(root);
        if (!registry.OpenKeyReadOnly(key))
            return std::string();
        return registry.ReadString(value);
    } catch (const Exception&) {
        return std::string();
    }
}
} // namespace

std::string LoadShellString(UINT id)
{
    const HMODULE shell = LoadLibraryA("SHELL32.DLL");
    if (!shell)
        return std::string();
    char buffer[254] = {};
    const int length = LoadStringA(shell, id, buffer, sizeof buffer);
    FreeLibrary(shell);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
}

namespace {
std::wstring Widen(const std::string& text)
{
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(length > 0 ? static_cast<size_t>(length) : 1, L'\0');
    if (length > 0)
        MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return wide;
}
} // namespace

void ItemIdList::Reset(LPITEMIDLIST list)
{
    if (list_ && list_ != list)
        CoTaskMemFree(list_);
    list_ = list;
}

DesktopFolder::DesktopFolder()
{
    if (FAILED(SHGetDesktopFolder(&folder_)))
        folder_ = nullptr;
}

DesktopFolder::~DesktopFolder()
{
    if (folder_)
        folder_->Release();
}

LPITEMIDLIST GetNextItemID(LPCITEMIDLIST item)
{
    if (!item || item->mkid.cb == 0)
        return nullptr;
    auto next = reinterpret_cast<LPITEMIDLIST>(const_cast<BYTE*>(reinterpret_cast<const BYTE*>(item)) + item->mkid.cb);
    return next->mkid.cb == 0 ? nullptr : next;
}

UINT GetPIDLSize(LPCITEMIDLIST list)
{
    if (!list)
        return 0;
    UINT size = sizeof(USHORT);
    for (auto item = const_cast<LPITEMIDLIST>(list); item; item = GetNextItemID(item))
        size += item->mkid.cb;
    return size;
}

ItemIdList CreatePIDLCopy(LPCITEMIDLIST list)
{
    if (!list)
        return ItemIdList();
    const UINT first = list->mkid.cb;
    auto* copy = static_cast<BYTE*>(CoTaskMemAlloc(first + sizeof(USHORT)));
    if (!copy)
        return ItemIdList();
    std::memcpy(copy, list, first);
    std::memset(copy + first, 0, sizeof(USHORT));
    return ItemIdList(reinterpret_cast<LPITEMIDLIST>(copy));
}

ItemIdList CreatePIDLFromPath(IShellFolder* desktop, const std::string& path)
{
    if (!desktop)
        throw Exception("Error getting IShellFolder interface");
    std::wstring wide = Widen(path);
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), &eaten, &list, nullptr)) || !list)
        throw Exception("Error parsing folder name to PIDL(does folder exist?)");
    return ItemIdList(list);
}

std::string GetPathFromPIDL(LPCITEMIDLIST list)
{
    char path[MAX_PATH] = {};
    if (!list || !SHGetPathFromIDListA(list, path))
        return std::string();
    return path;
}

bool SameItem(IShellFolder* desktop, LPCITEMIDLIST a, LPCITEMIDLIST b)
{
    if (!desktop || !a || !b)
        return false;
    const HRESULT result = desktop->CompareIDs(0, a, b);
    return SUCCEEDED(result) && HRESULT_CODE(result) == 0;
}

int SpecFolderCsidl(TApSpecShellFolder folder)
{
    return SpecFolderRegistryNumber(folder);
}

std::string ShellFolderPath(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        return std::string();
    return path;
}

std::string GetSpecFolderName(TApSpecShellFolder folder)
{
    for (const NameSource& source : NameSources) {
        if (source.folder != folder)
            continue;
        std::string name;
        if (source.key)
            name = ReadKeyString(source.root, source.key, "");
        if (name.empty() && source.shellString)
            name = LoadShellString(source.shellString);
        return name.empty() ? source.fallback : name;
    }
    return std::string();
}

std::vector<std::string> GetSpecFolders()
{
    std::vector<std::string> names;
    for (TApSpecShellFolder folder : OfferedSpecFolders)
        names.push_back(GetSpecFolderName(folder));
    return names;
}

std::string GetPlaceName(const TApPlace& place) { return PlaceCaption(place, GetSpecFolderName); }

std::string ExtractRegStringValue(const std::string& spec)
{
    if (spec.empty())
        return std::string();
    if (spec.front() != '\\')
        return ReadKeyString(HKEY_CURRENT_USER, ShellFoldersKey, spec);
    const size_t last = spec.rfind('\\');
    return ReadKeyString(HKEY_CURRENT_USER, spec.substr(0, last + 1), spec.substr(last + 1));
}

std::string PlaceTargetPath(const TApPlace& place)
{
    return !place.PlaceRegPath.empty() ? ExtractRegStringValue(place.PlaceRegPath) : place.PlacePath;
}

ItemIdList GetPlacePidl(const TApPlace& place, IShellFolder* desktop)
{
    if (OfferedSpecFolderIndex(place.PlaceSpecPath) >= 0) {
        LPITEMIDLIST list = nullptr;
        if (FAILED(SHGetSpecialFolderLocation(nullptr, SpecFolderCsidl(place.PlaceSpecPath), &list)))
            return ItemIdList();
        return ItemIdList(list);
    }
    const std::string path = PlaceTargetPath(place);
    if (path.empty())
        return ItemIdList();
    try {
        return CreatePIDLFromPath(desktop, path);
    } catch (const Exception&) {
        // A folder that is gone is simply no place to be.
        return ItemIdList();
    }
}

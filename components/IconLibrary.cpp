#include "IconLibrary.h"

#include <shellapi.h>

namespace {
BOOL CALLBACK CollectGroup(HMODULE, LPCSTR, LPSTR name, LONG_PTR groups)
{
    auto& list = *reinterpret_cast<std::vector<std::pair<ULONG_PTR, std::string>>*>(groups);
    if (IS_INTRESOURCE(name))
        list.emplace_back(reinterpret_cast<ULONG_PTR>(name), std::string());
    else
        list.emplace_back(0, name);
    return TRUE;
}

const void* ResourceBytes(HMODULE module, HRSRC resource, DWORD& size)
{
    if (!resource)
        return nullptr;
    const HGLOBAL loaded = LoadResource(module, resource);
    size = SizeofResource(module, resource);
    return loaded ? LockResource(loaded) : nullptr;
}
} // namespace

TIconLibrary::TIconLibrary(const std::string& file) : file_(file)
{
    if (file.empty())
        return;
    module_ = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module_)
        return;
    std::vector<std::pair<ULONG_PTR, std::string>> names;
    EnumResourceNamesA(module_, RT_GROUP_ICON, CollectGroup, reinterpret_cast<LONG_PTR>(&names));
    for (auto& [id, name] : names)
        groups_.push_back(Group{id, std::move(name)});
}

TIconLibrary::~TIconLibrary()
{
    if (module_)
        FreeLibrary(module_);
}

HICON TIconLibrary::Extract(int index) const
{
    if (file_.empty() || index < 0)
        return nullptr;
    if (!module_) {
        // Not a program file (an ".ico"): the shell reads it.
        HICON icon = nullptr;
        return ExtractIconExA(file_.c_str(), index, &icon, nullptr, 1) ? icon : nullptr;
    }
    if (static_cast<size_t>(index) >= groups_.size())
        return nullptr;
    const Group& group = groups_[static_cast<size_t>(index)];
    const LPCSTR groupName = group.name.empty() ? MAKEINTRESOURCEA(group.id) : group.name.c_str();
    DWORD size = 0;
    const void* directory = ResourceBytes(module_, FindResourceA(module_, groupName, RT_GROUP_ICON), size);
    if (!directory)
        return nullptr;
    const int width = GetSystemMetrics(SM_CXICON);
    const int height = GetSystemMetrics(SM_CYICON);
    const int id = LookupIconIdFromDirectoryEx(static_cast<PBYTE>(const_cast<void*>(directory)), TRUE, width,
                                               height, LR_DEFAULTCOLOR);
    if (id <= 0)
        return nullptr;
    const void* bits = ResourceBytes(module_, FindResourceA(module_, MAKEINTRESOURCEA(id), RT_ICON), size);
    if (!bits)
        return nullptr;
    return CreateIconFromResourceEx(static_cast<PBYTE>(const_cast<void*>(bits)), size, TRUE, 0x00030000, width,
                                    height, LR_DEFAULTCOLOR);
}

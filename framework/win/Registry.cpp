#include "Registry.h"

#include "Exceptions.h"

#include <algorithm>
#include <utility>

namespace {

// HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE and the other roots
// are pseudo handles in one small range; closing one is never ours to do.
bool IsPredefinedKey(HKEY key)
{
    const auto value = reinterpret_cast<ULONG_PTR>(key);
    const auto first = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT);
    return value >= first && value <= first + 0xFF;
}

[[noreturn]] void RaiseGetDataFailed(const std::string& name)
{
    throw ERegistryException(FormatMessageText("Failed to get data for '%s'", name));
}

[[noreturn]] void RaiseInvalidType(const std::string& name)
{
    throw ERegistryException(FormatMessageText("Invalid data type for '%s'", name));
}

[[noreturn]] void RaiseSetDataFailed(const std::string& name)
{
    throw ERegistryException(FormatMessageText("Failed to set data for '%s'", name));
}

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

struct ValueInfo {
    LONG result = ERROR_INVALID_HANDLE;
    DWORD type = REG_NONE;
    DWORD size = 0;
};

ValueInfo QueryValueInfo(HKEY key, const std::string& name)
{
    ValueInfo info;
    if (key)
        info.result = RegQueryValueExA(key, name.c_str(), nullptr, &info.type, nullptr, &info.size);
    return info;
}

// The registry's 32/64-bit view flags of the caller's access, so the helper
// opens below look at the same view as the current key does.
REGSAM ViewOf(REGSAM access) { return access & (KEY_WOW64_32KEY | KEY_WOW64_64KEY); }

// Enumerates subkey names (values == false) or value names (values == true).
// Names are limited by the system (255 and 16,383 characters), yet a name
// converted to a multi-byte code page can take more bytes: grow and retry.
std::vector<std::string> EnumerateNames(HKEY key, bool values)
{
    std::vector<std::string> names;
    if (!key)
        return names;
    DWORD maxKeyName = 0;
    DWORD maxValueName = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, &maxKeyName, nullptr, nullptr, &maxValueName,
                     nullptr, nullptr, nullptr);
    std::string buffer(std::max<DWORD>(values ? maxValueName : maxKeyName, 255) + 1, '\0');
    for (DWORD index = 0;;) {
        DWORD length = static_cast<DWORD>(buffer.size());
        const LONG result = values ? RegEnumValueA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr)
                                   : RegEnumKeyExA(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA && buffer.size() < 0x10000) {
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (result != ERROR_SUCCESS)
            break;
        names.emplace_back(buffer.data(), length);
        ++index;
    }
    return names;
}

// RegDeleteKey removes leaf keys only, so the children go first.
bool DeleteTree(HKEY base, const std::string& subKey, REGSAM view)
{
    HKEY opened = nullptr;
    if (RegOpenKeyExA(base, subKey.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | view, &opened) !=
        ERROR_SUCCESS)
        return false;
    {
        RegistryKey key(opened);
        for (const std::string& child : EnumerateNames(key.Get(), false))
            DeleteTree(key.Get(), child, view);
    }
    return RegDeleteKeyExA(base, subKey.c_str(), view, 0) == ERROR_SUCCESS;
}

} // namespace

void RegistryKey::Reset(HKEY key)
{
    if (key_ && !IsPredefinedKey(key_))
        RegCloseKey(key_);
    key_ = key;
}

TRegistry::TRegistry() = default;

TRegistry::TRegistry(REGSAM access) : access_(access) {}

TRegistry::~TRegistry() = default;

void TRegistry::SetRootKey(HKEY root)
{
    CloseKey();
    rootKey_ = root;
}

TRegistry::Target TRegistry::Resolve(const std::string& key) const
{
    Target target;
    std::size_t begin = 0;
    std::size_t end = key.size();
    // Trailing backslashes are harmless to the API, but would show in CurrentPath.
    while (end > begin && key[end - 1] == '\\')
        --end;
    if (!key.empty() && key[0] == '\\') {
        // The API refuses a path that begins with a backslash.
        while (begin < end && key[begin] == '\\')
            ++begin;
        target.base = rootKey_;
        target.subKey = key.substr(begin, end - begin);
        target.path = target.subKey;
    } else if (currentKey_) {
        target.base = currentKey_.Get();
        target.subKey = key.substr(0, end);
        if (currentPath_.empty())
            target.path = target.subKey;
        else if (target.subKey.empty())
            target.path = currentPath_;
        else
            target.path = currentPath_ + "\\" + target.subKey;
    } else {
        target.base = rootKey_;
        target.subKey = key.substr(0, end);
        target.path = target.subKey;
    }
    return target;
}

// One call for the whole path: opening component by component would leave the
// object on whatever part of the path happened to exist when a later part fails.
bool TRegistry::Open(const std::string& key, REGSAM access, bool canCreate)
{
    Target target = Resolve(key);
    HKEY opened = nullptr;
    const LONG result = canCreate ? RegCreateKeyExA(target.base, target.subKey.c_str(), 0, nullptr,
                                                    REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr)
                                  : RegOpenKeyExA(target.base, target.subKey.c_str(), 0, access, &opened);
    if (result != ERROR_SUCCESS)
        return false;
    // The new handle stands on its own, even when it was opened relative to
    // the one it replaces.
    currentKey_ = RegistryKey(opened);
    currentPath_ = std::move(target.path);
    return true;
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) { return Open(key, access_, canCreate); }

bool TRegistry::OpenKeyReadOnly(const std::string& key) { return Open(key, KEY_READ | ViewOf(access_), false); }

void TRegistry::CloseKey()
{
    currentKey_.Reset();
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::string& key)
{
    const Target target = Resolve(key);
    HKEY created = nullptr;
    if (RegCreateKeyExA(target.base, target.subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_QUERY_VALUE | ViewOf(access_), nullptr, &created, nullptr) != ERROR_SUCCESS)
        return false;
    const RegistryKey closer(created);
    return true;
}

bool TRegistry::DeleteKey(const std::string& key)
{
    const Target target = Resolve(key);
    // An empty name would mean the root or the current key itself.
    if (target.subKey.empty())
        return false;
    return DeleteTree(target.base, target.subKey, ViewOf(access_));
}

bool TRegistry::KeyExists(const std::string& key) const
{
    const Target target = Resolve(key);
    HKEY opened = nullptr;
    const LONG result = RegOpenKeyExA(target.base, target.subKey.c_str(), 0, KEY_READ | ViewOf(access_), &opened);
    if (result == ERROR_SUCCESS) {
        const RegistryKey closer(opened);
        return true;
    }
    // A key we may not read still exists.
    return result == ERROR_ACCESS_DENIED;
}

bool TRegistry::DeleteValue(const std::string& name)
{
    return currentKey_ && RegDeleteValueA(currentKey_.Get(), name.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(const std::string& name) const
{
    return QueryValueInfo(currentKey_.Get(), name).result == ERROR_SUCCESS;
}

std::vector<std::string> TRegistry::GetKeyNames() const { return EnumerateNames(currentKey_.Get(), false); }

std::vector<std::string> TRegistry::GetValueNames() const { return EnumerateNames(currentKey_.Get(), true); }

int TRegistry::ReadInteger(const std::string& name) const
{
    const ValueInfo info = QueryValueInfo(currentKey_.Get(), name);
    if (info.result != ERROR_SUCCESS)
        RaiseGetDataFailed(name);
    if (info.type != REG_DWORD)
        RaiseInvalidType(name);
    DWORD value = 0;
    DWORD size = sizeof value;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        size != sizeof value)
        RaiseGetDataFailed(name);
    if (type != REG_DWORD)
        RaiseInvalidType(name);
    return static_cast<int>(value);
}

bool TRegistry::ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }

std::string TRegistry::ReadString(const std::string& name) const
{
    if (!currentKey_)
        RaiseGetDataFailed(name);
    ValueInfo info = QueryValueInfo(currentKey_.Get(), name);
    // Settings written by older versions may simply not be there yet.
    if (info.result == ERROR_FILE_NOT_FOUND)
        return std::string();
    if (info.result != ERROR_SUCCESS)
        RaiseGetDataFailed(name);
    if (info.size == 0)
        return std::string();
    if (!IsStringType(info.type))
        RaiseInvalidType(name);
    std::string data;
    // The value may grow between the size query and the read: retry a few times.
    for (int attempt = 0; attempt < 4; ++attempt) {
        data.assign(info.size, '\0');
        DWORD size = info.size;
        const LONG result =
            RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, &info.type, reinterpret_cast<BYTE*>(data.data()), &size);
        if (result == ERROR_MORE_DATA) {
            info.size = size > info.size ? size : info.size * 2;
            continue;
        }
        if (result != ERROR_SUCCESS)
            RaiseGetDataFailed(name);
        if (size != 0 && !IsStringType(info.type))
            RaiseInvalidType(name);
        data.resize(size);
        // A string ends at its first terminator, whatever another program
        // stored after it.
        data.resize(std::min(data.size(), data.find('\0')));
        return data;
    }
    RaiseGetDataFailed(name);
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int size) const
{
    const ValueInfo info = QueryValueInfo(currentKey_.Get(), name);
    if (info.result != ERROR_SUCCESS)
        RaiseGetDataFailed(name);
    if (IsStringType(info.type) || info.type == REG_DWORD)
        RaiseInvalidType(name);
    if (size < 0 || info.size > static_cast<DWORD>(size))
        RaiseGetDataFailed(name);
    DWORD read = static_cast<DWORD>(size);
    if (RegQueryValueExA(currentKey_.Get(), name.c_str(), nullptr, nullptr, static_cast<BYTE*>(buffer), &read) !=
        ERROR_SUCCESS)
        RaiseGetDataFailed(name);
    return static_cast<int>(read);
}

void TRegistry::WriteValue(const std::string& name, DWORD type, const void* data, DWORD size)
{
    if (!currentKey_ ||
        RegSetValueExA(currentKey_.Get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        RaiseSetDataFailed(name);
}

void TRegistry::WriteInteger(const std::string& name, int value)
{
    const DWORD data = static_cast<DWORD>(value);
    WriteValue(name, REG_DWORD, &data, sizeof data);
}

void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

void TRegistry::WriteString(const std::string& name, const std::string& value)
{
    // The stored size counts the terminating NUL, which c_str() provides.
    WriteValue(name, REG_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteExpandString(const std::string& name, const std::string& value)
{
    WriteValue(name, REG_EXPAND_SZ, value.c_str(), static_cast<DWORD>(value.size() + 1));
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size)
{
    if (size < 0 || (!buffer && size > 0))
        RaiseSetDataFailed(name);
    WriteValue(name, REG_BINARY, buffer, static_cast<DWORD>(size));
}

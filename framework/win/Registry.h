#pragma once
// The registry object: one root, at most one open key at a time, and typed
// reads and writes on that key. Settings, the mail-client lookup and the
// places bar all go through it, so its failures carry the framework's fixed
// texts (ERegistryException) and its key handles never leak.

#include <windows.h>

#include <string>
#include <vector>

// Owns one open key handle and closes it when it goes. The predefined roots
// (HKEY_CURRENT_USER and friends) are never closed: they are not ours.
class RegistryKey {
public:
    RegistryKey() = default;
    explicit RegistryKey(HKEY key) : key_(key) {}
    ~RegistryKey() { Reset(); }

    RegistryKey(RegistryKey&& other) noexcept : key_(other.Release()) {}
    RegistryKey& operator=(RegistryKey&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    HKEY Get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    // Gives the handle up without closing it.
    HKEY Release()
    {
        HKEY key = key_;
        key_ = nullptr;
        return key;
    }

    void Reset(HKEY key = nullptr);

private:
    HKEY key_ = nullptr;
};

class TRegistry {
public:
    // Full access under HKEY_CURRENT_USER: what the settings store needs.
    TRegistry();
    // For lookups under HKEY_LOCAL_MACHINE pass KEY_READ: standard users are
    // refused full access there on Windows.
    explicit TRegistry(REGSAM access);
    ~TRegistry();

    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const { return rootKey_; }
    // Closes the current key: its path means nothing under another root.
    void SetRootKey(HKEY root);

    REGSAM Access() const { return access_; }
    // Applies to the keys opened from now on.
    void SetAccess(REGSAM access) { access_ = access; }

    // Null while no key is open.
    HKEY CurrentKey() const { return currentKey_.Get(); }
    // Path of the current key below the root, without a leading backslash.
    const std::string& CurrentPath() const { return currentPath_; }

    // A key starting with "\" is taken from the root, any other from the
    // current key (or from the root while none is open). The whole path is
    // opened at once; on failure the current key stays as it was.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();

    // These take paths the way OpenKey does and leave the current key alone.
    bool CreateKey(const std::string& key);
    // Removes the key with everything below it.
    bool DeleteKey(const std::string& key);
    bool KeyExists(const std::string& key) const;

    bool DeleteValue(const std::string& name);
    bool ValueExists(const std::string& name) const;

    // Names of the current key's subkeys and values; empty while none is open.
    std::vector<std::string> GetKeyNames() const;
    std::vector<std::string> GetValueNames() const;

    // Typed reads from the current key. A value that cannot be read raises
    // "Failed to get data for '<name>'", one of another type "Invalid data
    // type for '<name>'". ReadString gives "" for a value that does not exist.
    int ReadInteger(const std::string& name) const;
    bool ReadBool(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    // Returns the number of bytes copied; data larger than the buffer fails.
    int ReadBinaryData(const std::string& name, void* buffer, int size) const;

    // Typed writes to the current key; a failure raises "Failed to set data
    // for '<name>'".
    void WriteInteger(const std::string& name, int value);
    void WriteBool(const std::string& name, bool value);
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);

private:
    struct Target {
        HKEY base;
        std::string subKey; // relative to base
        std::string path;   // relative to the root, for CurrentPath
    };
    Target Resolve(const std::string& key) const;
    bool Open(const std::string& key, REGSAM access, bool canCreate);
    void WriteValue(const std::string& name, DWORD type, const void* data, DWORD size);

    HKEY rootKey_ = HKEY_CURRENT_USER;
    REGSAM access_ = KEY_ALL_ACCESS;
    RegistryKey currentKey_;
    std::string currentPath_;
};

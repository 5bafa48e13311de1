#include "WindowsInfo.h"

#include "Registry.h"

#include <exception>

namespace {
// A short-lived read-only object of its own: the shared settings object stays
// on the user's hive, and standard users are refused full access to HKLM.
std::string ReadMachineString(const std::string& path, const std::string& name)
{
    try {
        TRegistry registry(KEY_READ);
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(path))
            return "";
        return registry.ReadString(name);
    } catch (const std::exception&) {
        // A value of another type reads as missing: these are only hints.
        return "";
    }
}
}

std::string ReadWindowsDir() { return ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Setup", "WinDir"); }

std::string ReadRegisteredOwner() { return ReadMachineString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner"); }

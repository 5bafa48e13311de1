#include "MailClients.h"

#include "Registry.h"

#include <algorithm>
#include <exception>

std::vector<std::string> ListMailClients() { return ListMailClients(HKEY_LOCAL_MACHINE, MailClientsPath); }

std::vector<std::string> ListMailClients(HKEY root, const std::string& path)
{
    std::vector<std::string> names;
    try {
        TRegistry registry(KEY_READ);
        registry.SetRootKey(root);
        // The whole path or nothing: a key above it holds other programs,
        // which must not be offered as mail clients.
        if (!registry.OpenKeyReadOnly(path))
            return names;
        names = registry.GetKeyNames();
    } catch (const std::exception&) {
        return {};
    }
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        return CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), -1, b.c_str(), -1) == CSTR_LESS_THAN;
    });
    return names;
}

#include "SettingsRoot.h"

namespace {
std::string& CurrentRoot()
{
    static std::string root = DefaultSettingsRoot;
    return root;
}
}

const std::string& SettingsRoot() { return CurrentRoot(); }

void SetSettingsRoot(const std::string& keyPath) { CurrentRoot() = keyPath; }

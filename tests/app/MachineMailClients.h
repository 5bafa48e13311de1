#pragma once
// The machine's mail clients, changed for one test and put back after it:
// the tests register a fake client of their own that records each message.

#include "Registry.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

const std::string ClientsKey = "Software\\Clients\\Mail";
const std::string FakeClient = "Quillo Test Mail";
const std::string NotesCommandKey = ClientsKey + "\\Lotus Notes\\Protocols\\mailto\\shell\\open\\command";

// Writes under the machine's mail clients for one test and puts back what
// was there: the default client, and no trace of the keys it made.
class MachineMailClients {
public:
    MachineMailClients()
    {
        registry_.SetRootKey(HKEY_LOCAL_MACHINE);
        if (registry_.OpenKey(ClientsKey, true) && registry_.ValueExists(""))
            defaultClient_ = registry_.ReadString("");
        registry_.CloseKey();
        notesExisted_ = registry_.KeyExists(ClientsKey + "\\Lotus Notes");
    }
    ~MachineMailClients()
    {
        registry_.DeleteKey(ClientsKey + "\\" + FakeClient);
        if (!notesExisted_)
            registry_.DeleteKey(ClientsKey + "\\Lotus Notes");
        if (registry_.OpenKey(ClientsKey, false)) {
            if (defaultClient_)
                registry_.WriteString("", *defaultClient_);
            else
                registry_.DeleteValue("");
        }
    }
    bool NotesExisted() const { return notesExisted_; }

    void SetString(const std::string& key, const std::string& name, const std::string& value, bool expandable = false)
    {
        ASSERT_TRUE(registry_.OpenKey(key, true));
        if (expandable)
            registry_.WriteExpandString(name, value);
        else
            registry_.WriteString(name, value);
        registry_.CloseKey();
    }
    void SetDllPath(const std::string& path, bool expandable = false)
    {
        SetString(ClientsKey + "\\" + FakeClient, "DLLPath", path, expandable);
    }

private:
    TRegistry registry_;
    std::optional<std::string> defaultClient_;
    bool notesExisted_ = false;
};

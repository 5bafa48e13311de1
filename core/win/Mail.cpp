#include "Mail.h"

#include "Application.h"
#include "Form.h"
#include "MailClients.h"
#include "MailtoCommand.h"
#include "Registry.h"
#include "SettingsRecords.h"
#include "ShellOpen.h"

#include <windows.h>

#include <mapi.h>

#include <exception>
#include <memory>
#include <vector>

namespace {
const char* const SystemDefaultClient = "System Default";
const char* const NotesClient = "Lotus Notes";
const char* const NotesMailtoCommand = "\\Lotus Notes\\Protocols\\mailto\\shell\\open\\command";

// The default value (name "") or a named string of a key under the machine's
// mail clients; empty when the key or value is missing or unreadable.
std::string ReadClientValue(const std::string& subKey, const std::string& name)
{
    try {
        TRegistry registry(KEY_READ);
        registry.SetRootKey(HKEY_LOCAL_MACHINE);
        if (!registry.OpenKeyReadOnly(std::string(MailClientsPath) + subKey))
            return {};
        return registry.ReadString(name);
    } catch (const std::exception&) {
        return {};
    }
}

std::string ClientDllPath()
{
    std::string client = OptionSettings.Email;
    if (client == SystemDefaultClient)
        client = ReadClientValue("", "");
    if (client.empty())
        return {};
    return ReadClientValue("\\" + client, "DLLPath");
}

// Clients often store the path as an expandable string, with references
// such as %ProgramFiles% that only the system can resolve.
std::string ExpandEnvironment(const std::string& text)
{
    const DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::vector<char> expanded(size);
    if (ExpandEnvironmentStringsA(text.c_str(), expanded.data(), size) == 0 || expanded.back() != '\0')
        return text;
    return expanded.data();
}

struct LibraryDeleter {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using Library = std::unique_ptr<std::remove_pointer_t<HMODULE>, LibraryDeleter>;

ULONG_PTR MainWindowHandle()
{
    const TForm* main = Application.MainForm();
    return main ? reinterpret_cast<ULONG_PTR>(main->Handle()) : 0;
}

void StartWithoutInterpreter(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}
} // namespace

void SendMailMapi(const std::string& address, const std::string& attachment)
{
    const std::string path = ExpandEnvironment(ClientDllPath());
    if (path.empty())
        return;
    const Library library(LoadLibraryA(path.c_str()));
    if (!library)
        return;
    const auto send = reinterpret_cast<LPMAPISENDMAIL>(
        reinterpret_cast<void*>(GetProcAddress(library.get(), "MAPISendMail")));
    if (!send)
        return;
    // The structures take writable strings; these copies live through the call.
    std::string addressText = address;
    std::string pathText = attachment;
    std::string emptyName;
    MapiRecipDesc recipient{};
    recipient.ulRecipClass = MAPI_TO;
    recipient.lpszName = emptyName.data();
    recipient.lpszAddress = addressText.data();
    std::string emptyFileName;
    MapiFileDesc file{};
    // The message has no note text for the attachment to stand in.
    file.nPosition = static_cast<ULONG>(-1);
    file.lpszPathName = pathText.data();
    file.lpszFileName = emptyFileName.data();
    MapiMessage message{};
    if (!address.empty()) {
        message.nRecipCount = 1;
        message.lpRecips = &recipient;
    }
    if (!attachment.empty()) {
        message.nFileCount = 1;
        message.lpFiles = &file;
    }
    send(0, MainWindowHandle(), &message, MAPI_LOGON_UI | MAPI_DIALOG, 0);
}

void OpenMailto(const std::string& link)
{
    const std::string& client = OptionSettings.Email;
    if (client == SystemDefaultClient) {
        OpenWithShell(link);
    } else if (client == NotesClient) {
        const std::string command = ReadClientValue(NotesMailtoCommand, "");
        if (!command.empty())
            StartWithoutInterpreter(MailtoCommandLine(command, link));
    } else {
        SendMailMapi(link.size() > 7 ? link.substr(7) : std::string(), {});
    }
}

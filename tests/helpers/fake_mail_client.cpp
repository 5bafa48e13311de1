// A mail client of our own for the tests: its MAPISendMail writes every field
// it receives to the file named by QUILLO_FAKE_MAIL_LOG, one block per call,
// so no test ever reaches a real client.
#include <windows.h>

#include <mapi.h>

#include <cstdio>
#include <string>

namespace {
std::string Text(const char* text)
{
    if (!text)
        return "null";
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}
} // namespace

extern "C" __declspec(dllexport) ULONG WINAPI MAPISendMail(LHANDLE session, ULONG_PTR parent, lpMapiMessage message,
                                                         FLAGS flags, ULONG reserved)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QUILLO_FAKE_MAIL_LOG", path, sizeof path))
        return MAPI_E_FAILURE;
    FILE* log = std::fopen(path, "ab");
    if (!log)
        return MAPI_E_FAILURE;
    std::string record = "call\n";
    auto line = [&record](const char* name, const std::string& value) { record += std::string(name) + "=" + value + "\n"; };
    line("session", std::to_string(session));
    line("parent", IsWindow(reinterpret_cast<HWND>(parent)) ? "window" : std::to_string(parent));
    line("flags", std::to_string(flags));
    line("reserved", std::to_string(reserved));
    line("subject", Text(message->lpszSubject));
    line("note", Text(message->lpszNoteText));
    line("type", Text(message->lpszMessageType));
    line("date", Text(message->lpszDateReceived));
    line("conversation", Text(message->lpszConversationID));
    line("messageFlags", std::to_string(message->flFlags));
    line("originator", message->lpOriginator ? "set" : "null");
    line("recipients", std::to_string(message->nRecipCount));
    for (ULONG i = 0; i < message->nRecipCount; ++i) {
        const MapiRecipDesc& recipient = message->lpRecips[i];
        line("recipient.class", std::to_string(recipient.ulRecipClass));
        line("recipient.name", Text(recipient.lpszName));
        line("recipient.address", Text(recipient.lpszAddress));
        line("recipient.entry", std::to_string(recipient.ulEIDSize));
    }
    line("files", std::to_string(message->nFileCount));
    for (ULONG i = 0; i < message->nFileCount; ++i) {
        const MapiFileDesc& file = message->lpFiles[i];
        line("file.reserved", std::to_string(file.ulReserved));
        line("file.flags", std::to_string(file.flFlags));
        line("file.position", std::to_string(file.nPosition));
        line("file.path", Text(file.lpszPathName));
        line("file.name", Text(file.lpszFileName));
        line("file.type", file.lpFileType ? "set" : "null");
    }
    std::fwrite(record.data(), 1, record.size(), log);
    std::fclose(log);
    return SUCCESS_SUCCESS;
}

// For any link bytes, the command line built for a mail client's registered
// command gives the command's own arguments and the encoded link as exactly
// one argument, with no quote or control character left in it.
#include "CommandLineSplit.h"
#include "MailtoCommand.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
struct Case {
    const char* command;
    std::vector<std::string> arguments; // "%1" where the link belongs
};

const Case Cases[] = {
    {R"("C:\Program Files\Notes\notes.exe" "%1")", {R"(C:\Program Files\Notes\notes.exe)", "%1"}},
    {R"(C:\Notes\notes.exe /mail %1 /x)", {R"(C:\Notes\notes.exe)", "/mail", "%1", "/x"}},
    {R"(C:\Notes\notes.exe)", {R"(C:\Notes\notes.exe)", "%1"}},
    {R"("notes.exe" -a "%1" "-b c")", {"notes.exe", "-a", "%1", "-b c"}},
    {R"(notes.exe %1)", {"notes.exe", "%1"}},
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const Case& test = Cases[data[0] % (sizeof Cases / sizeof Cases[0])];
    const std::string link(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string encoded = EncodeLinkForCommand(link);
    for (const unsigned char c : encoded)
        if (c < 0x20 || c == 0x7F || c == '"')
            std::abort();
    std::vector<std::string> expected = test.arguments;
    for (auto& argument : expected)
        if (argument == "%1")
            argument = encoded;
    if (SplitCommandLine(MailtoCommandLine(test.command, link)) != expected)
        std::abort();
    return 0;
}

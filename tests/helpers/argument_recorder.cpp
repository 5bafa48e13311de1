// Stands in for a mail client started with a command line: writes the
// arguments it was given, one a line, to QUILLO_RECORDER_LOG, whole or not
// at all, then ends.
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    char path[MAX_PATH];
    if (!GetEnvironmentVariableA("QUILLO_RECORDER_LOG", path, sizeof path))
        return 1;
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments)
        return 1;
    std::string record;
    for (int i = 1; i < count; ++i) {
        char text[4096];
        const int size = WideCharToMultiByte(CP_ACP, 0, arguments[i], -1, text, sizeof text, nullptr, nullptr);
        record += std::string(text, size > 0 ? size - 1 : 0) + "\n";
    }
    LocalFree(arguments);
    const std::string partial = std::string(path) + ".part";
    FILE* file = std::fopen(partial.c_str(), "wb");
    if (!file)
        return 1;
    std::fwrite(record.data(), 1, record.size(), file);
    std::fclose(file);
    return MoveFileExA(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

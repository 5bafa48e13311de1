#include "SavingFiles.h"

#include "AnsiStrings.h"
#include "FileSearch.h"
#include "KernelHandle.h"

#include <windows.h>

#include <optional>

namespace {
const std::string SavingSuffix = ".saving";

// The number in the name when it is one of the saving files of the target
// named targetName: targetName, ".", the process number, ".saving".
std::optional<DWORD> SavingProcessOf(const std::string& fileName, const std::string& targetName)
{
    const std::string prefix = targetName + ".";
    if (fileName.size() <= prefix.size() + SavingSuffix.size())
        return std::nullopt;
    const std::size_t digitsEnd = fileName.size() - SavingSuffix.size();
    if (!SameText(fileName.substr(0, prefix.size()), prefix) || !SameText(fileName.substr(digitsEnd), SavingSuffix))
        return std::nullopt;
    const std::string digits = fileName.substr(prefix.size(), digitsEnd - prefix.size());
    if (digits.size() > 10 || digits.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    const unsigned long long number = std::stoull(digits);
    if (number > 0xFFFFFFFFull)
        return std::nullopt;
    return static_cast<DWORD>(number);
}

bool ProcessIsRunning(DWORD id)
{
    if (id == GetCurrentProcessId())
        return true;
    const KernelHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
    if (!process.Valid())
        // Refused to us is not gone: it may be another user's program.
        return GetLastError() == ERROR_ACCESS_DENIED;
    return WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT;
}

// Deletes the file only when nobody has it open: the open with no sharing
// fails while any other handle exists, and the file goes with the handle.
void DeleteUnusedFile(const std::string& path)
{
    const KernelHandle file(
        CreateFileA(path.c_str(), DELETE, 0, nullptr, OPEN_EXISTING, FILE_FLAG_DELETE_ON_CLOSE, nullptr));
}
} // namespace

std::string SavingFileOf(const std::string& path)
{
    const std::string name = path + "." + std::to_string(GetCurrentProcessId()) + SavingSuffix;
    return name.size() < MAX_PATH ? name : std::string();
}

void RemoveLeftoverSavingFiles(const std::string& path)
{
    const std::string folder = ExtractFilePath(path);
    const std::string targetName = ExtractFileName(path);
    FileSearch search(folder + targetName + ".*" + SavingSuffix);
    if (!search.Found())
        return;
    do {
        const WIN32_FIND_DATAA& data = search.Data();
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        // The pattern also matches through short names: the name itself decides.
        const std::optional<DWORD> process = SavingProcessOf(data.cFileName, targetName);
        if (process && !ProcessIsRunning(*process))
            DeleteUnusedFile(folder + data.cFileName);
    } while (search.Next());
}

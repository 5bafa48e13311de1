#include "FileIdentity.h"

#include "KernelHandle.h"

#include <windows.h>

namespace {
// Runs a system call that fills a buffer and answers the length it needs:
// the text, or nothing when the call fails.
template <typename Call>
std::string SystemText(Call call)
{
    const DWORD needed = call(nullptr, 0);
    if (needed == 0)
        return std::string();
    std::string text(needed, '\0');
    const DWORD length = call(text.data(), needed);
    if (length == 0 || length >= needed)
        return std::string();
    text.resize(length);
    return text;
}

bool FileIdOf(const std::string& path, BY_HANDLE_FILE_INFORMATION& information)
{
    // No access asked: a file open elsewhere, or without the right to read
    // it, still answers who it is.
    const KernelHandle file(CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    return file.Valid() && GetFileInformationByHandle(file.Get(), &information);
}

bool SameExistingFile(const std::string& first, const std::string& second)
{
    BY_HANDLE_FILE_INFORMATION a{};
    BY_HANDLE_FILE_INFORMATION b{};
    return FileIdOf(first, a) && FileIdOf(second, b) && a.dwVolumeSerialNumber == b.dwVolumeSerialNumber &&
           a.nFileIndexHigh == b.nFileIndexHigh && a.nFileIndexLow == b.nFileIndexLow;
}
} // namespace

std::string FullLongPath(const std::string& path)
{
    if (path.empty())
        return path;
    const std::string full = SystemText(
        [&](char* buffer, DWORD size) { return GetFullPathNameA(path.c_str(), size, buffer, nullptr); });
    if (full.empty())
        return path;
    // Only a name that exists has a long form to find.
    const std::string longForm =
        SystemText([&](char* buffer, DWORD size) { return GetLongPathNameA(full.c_str(), buffer, size); });
    return longForm.empty() ? full : longForm;
}

bool NamesSameFile(const std::string& first, const std::string& second)
{
    if (first.empty() || second.empty())
        return false;
    return lstrcmpiA(FullLongPath(first).c_str(), FullLongPath(second).c_str()) == 0 ||
           SameExistingFile(first, second);
}

FileStamp StampOfFile(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return FileStamp{};
    FileStamp stamp;
    stamp.exists = true;
    stamp.lastWrite = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime;
    stamp.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    return stamp;
}

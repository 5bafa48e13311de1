#include "FileHandle.h"

#include <algorithm>
#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>
#endif

namespace {

constexpr unsigned AccessMask = 0x000F;

// The system calls take at most a 32-bit count; callers loop on short counts.
constexpr std::int64_t MaxChunk = 0x7FFFFFFF;

bool IsCreate(unsigned mode) { return (mode & fmCreate) == fmCreate; }

} // namespace

#ifdef _WIN32

namespace {

// Only Windows enforces sharing; elsewhere the modes' share bits are ignored.
constexpr unsigned ShareMask = 0x00F0;

HANDLE AsHandle(std::intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

std::string LastErrorText()
{
    char text[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        GetLastError(), 0, text, sizeof text, nullptr);
    std::string reason(text, length);
    // The system's texts end in a period and a line break; the caller's
    // message supplies its own punctuation.
    while (!reason.empty() && (static_cast<unsigned char>(reason.back()) <= ' ' || reason.back() == '.'))
        reason.pop_back();
    return reason;
}

DWORD ShareFlags(unsigned mode)
{
    switch (mode & ShareMask) {
    case fmShareDenyWrite:
        return FILE_SHARE_READ;
    case fmShareDenyRead:
        return FILE_SHARE_WRITE;
    case fmShareDenyNone:
        return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: // compat and exclusive
        return 0;
    }
}

DWORD AccessFlags(unsigned mode)
{
    if (IsCreate(mode))
        return GENERIC_READ | GENERIC_WRITE;
    switch (mode & AccessMask) {
    case fmOpenWrite:
        return GENERIC_WRITE;
    case fmOpenReadWrite:
        return GENERIC_READ | GENERIC_WRITE;
    default:
        return GENERIC_READ;
    }
}

} // namespace

FileHandle FileHandle::Open(const std::string& path, unsigned mode, std::string& reason)
{
    const HANDLE handle = CreateFileA(path.c_str(), AccessFlags(mode), ShareFlags(mode), nullptr,
                                      IsCreate(mode) ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        reason = LastErrorText();
        return FileHandle();
    }
    return FileHandle(reinterpret_cast<std::intptr_t>(handle));
}

void FileHandle::Close()
{
    if (IsOpen())
        CloseHandle(AsHandle(std::exchange(handle_, Invalid)));
}

std::int64_t FileHandle::Read(void* buffer, std::int64_t count)
{
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::clamp<std::int64_t>(count, 0, MaxChunk));
    return ReadFile(AsHandle(handle_), buffer, chunk, &done, nullptr) ? done : -1;
}

std::int64_t FileHandle::Write(const void* buffer, std::int64_t count)
{
    DWORD done = 0;
    const DWORD chunk = static_cast<DWORD>(std::clamp<std::int64_t>(count, 0, MaxChunk));
    return WriteFile(AsHandle(handle_), buffer, chunk, &done, nullptr) ? done : -1;
}

std::int64_t FileHandle::Seek(std::int64_t offset, TSeekOrigin origin)
{
    static constexpr DWORD methods[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (!SetFilePointerEx(AsHandle(handle_), distance, &position, methods[origin]))
        return -1;
    return position.QuadPart;
}

bool FileHandle::Resize(std::int64_t size)
{
    return Seek(size, soBeginning) == size && SetEndOfFile(AsHandle(handle_));
}

bool FileExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateDir(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

#else

namespace {

int AsDescriptor(std::intptr_t handle) { return static_cast<int>(handle); }

std::string ErrorText(int error) { return std::system_category().message(error); }

int OpenFlags(unsigned mode)
{
    if (IsCreate(mode))
        return O_RDWR | O_CREAT | O_TRUNC;
    switch (mode & AccessMask) {
    case fmOpenWrite:
        return O_WRONLY;
    case fmOpenReadWrite:
        return O_RDWR;
    default:
        return O_RDONLY;
    }
}

bool IsDirectory(int descriptor)
{
    struct stat status {};
    return fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
}

bool StatMode(const std::string& path, mode_t& mode)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0)
        return false;
    mode = status.st_mode;
    return true;
}

} // namespace

FileHandle FileHandle::Open(const std::string& path, unsigned mode, std::string& reason)
{
    int descriptor = -1;
    do
        descriptor = open(path.c_str(), OpenFlags(mode) | O_CLOEXEC, 0666);
    while (descriptor < 0 && errno == EINTR);
    if (descriptor < 0) {
        reason = ErrorText(errno);
        return FileHandle();
    }
    // Windows refuses to open a folder as a file; behave the same here.
    if (IsDirectory(descriptor)) {
        close(descriptor);
        reason = ErrorText(EISDIR);
        return FileHandle();
    }
    return FileHandle(descriptor);
}

void FileHandle::Close()
{
    if (IsOpen())
        close(AsDescriptor(std::exchange(handle_, Invalid)));
}

std::int64_t FileHandle::Read(void* buffer, std::int64_t count)
{
    ssize_t done = -1;
    do
        done = read(AsDescriptor(handle_), buffer, static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, MaxChunk)));
    while (done < 0 && errno == EINTR);
    return done;
}

std::int64_t FileHandle::Write(const void* buffer, std::int64_t count)
{
    ssize_t done = -1;
    do
        done = write(AsDescriptor(handle_), buffer, static_cast<std::size_t>(std::clamp<std::int64_t>(count, 0, MaxChunk)));
    while (done < 0 && errno == EINTR);
    return done;
}

std::int64_t FileHandle::Seek(std::int64_t offset, TSeekOrigin origin)
{
    static constexpr int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    return lseek(AsDescriptor(handle_), static_cast<off_t>(offset), whence[origin]);
}

bool FileHandle::Resize(std::int64_t size)
{
    return ftruncate(AsDescriptor(handle_), static_cast<off_t>(size)) == 0;
}

bool FileExists(const std::string& path)
{
    mode_t mode = 0;
    return StatMode(path, mode) && !S_ISDIR(mode);
}

bool DirectoryExists(const std::string& path)
{
    mode_t mode = 0;
    return StatMode(path, mode) && S_ISDIR(mode);
}

bool CreateDir(const std::string& path) { return mkdir(path.c_str(), 0777) == 0; }

#endif

FileHandle::~FileHandle() { Close(); }

FileHandle::FileHandle(FileHandle&& other) noexcept : handle_(std::exchange(other.handle_, Invalid)) {}

FileHandle& FileHandle::operator=(FileHandle&& other) noexcept
{
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, Invalid);
    }
    return *this;
}

#pragma once
// The operating system's file calls behind TFileStream, kept out of the stream
// header so that nothing above this layer sees <windows.h>. On Windows the
// share modes are passed on to the system and enforced there; elsewhere (the
// native test build) they are accepted and ignored. Files are always binary.

#include <cstdint>
#include <string>

// An open mode is one access mode combined with one share mode, or fmCreate
// (which opens for reading and writing) combined with one share mode.
constexpr unsigned fmCreate = 0xFF00;
constexpr unsigned fmOpenRead = 0x0000;
constexpr unsigned fmOpenWrite = 0x0001;
constexpr unsigned fmOpenReadWrite = 0x0002;
// Without a share mode others may not open the file at all, as with exclusive.
constexpr unsigned fmShareCompat = 0x0000;
constexpr unsigned fmShareExclusive = 0x0010;
constexpr unsigned fmShareDenyWrite = 0x0020;
constexpr unsigned fmShareDenyRead = 0x0030;
constexpr unsigned fmShareDenyNone = 0x0040;

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// Owns one open file; closes it when destroyed.
class FileHandle {
public:
    FileHandle() = default;
    ~FileHandle();
    FileHandle(FileHandle&& other) noexcept;
    FileHandle& operator=(FileHandle&& other) noexcept;
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;

    // Opens (or, with fmCreate, creates or truncates) the file. On failure the
    // result is not open and reason holds the system's explanation.
    static FileHandle Open(const std::string& path, unsigned mode, std::string& reason);

    bool IsOpen() const { return handle_ != Invalid; }
    // Return the bytes transferred, which may be fewer than asked; -1 on failure.
    std::int64_t Read(void* buffer, std::int64_t count);
    std::int64_t Write(const void* buffer, std::int64_t count);
    // Returns the new position, or -1 on failure.
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin);
    // Makes the file exactly size bytes long; the position may move.
    bool Resize(std::int64_t size);
    void Close();

private:
    // Big enough for a Windows HANDLE and a POSIX descriptor; -1 is invalid
    // for both.
    static constexpr std::intptr_t Invalid = -1;
    explicit FileHandle(std::intptr_t handle) : handle_(handle) {}
    std::intptr_t handle_ = Invalid;
};

bool FileExists(const std::string& path);
bool DirectoryExists(const std::string& path);
// Creates one folder level; false when it could not (it exists, say).
bool CreateDir(const std::string& path);

#include "SafeFileWriter.h"

#include "AnsiStrings.h"
#include "Exceptions.h"
#include "Streams.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {
SafeWriteFaults faults;

// An outline is written in many small records; one system call each would
// dominate a large save, so the bytes are gathered into large blocks.
constexpr std::size_t BlockSize = 1 << 20;

class TTemporaryFileStream : public TStream {
public:
    explicit TTemporaryFileStream(HANDLE file) : file_(file) { buffer_.reserve(BlockSize); }

    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        if (count <= 0 || failed_)
            return 0;
        const auto* bytes = static_cast<const char*>(buffer);
        std::int64_t left = count;
        while (left > 0) {
            const std::size_t room = BlockSize - buffer_.size();
            const std::size_t take = static_cast<std::size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(room)));
            buffer_.insert(buffer_.end(), bytes, bytes + take);
            bytes += take;
            left -= static_cast<std::int64_t>(take);
            if (buffer_.size() == BlockSize && !FlushBlock())
                return 0;
        }
        size_ += count;
        return count;
    }
    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override
    {
        // Only asking for the position is supported: the writer appends.
        if (offset == 0 && (origin == soCurrent || origin == soEnd))
            return size_;
        return -1;
    }
    std::int64_t Size() override { return size_; }
    void SetSize(std::int64_t) override {}

    // Writes what is still gathered; false when the system refused a byte.
    bool FlushBlock()
    {
        if (failed_)
            return false;
        const char* data = buffer_.data();
        std::size_t left = buffer_.size();
        while (left > 0) {
            const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 24));
            if (faults.FailWriteAtByte >= 0 && written_ + static_cast<std::int64_t>(chunk) > faults.FailWriteAtByte) {
                failed_ = true;
                return false;
            }
            DWORD done = 0;
            if (!WriteFile(file_, data, chunk, &done, nullptr) || done != chunk) {
                failed_ = true;
                return false;
            }
            written_ += done;
            data += done;
            left -= done;
        }
        buffer_.clear();
        return true;
    }

private:
    HANDLE file_;
    std::vector<char> buffer_;
    std::int64_t size_ = 0;
    std::int64_t written_ = 0;
    bool failed_ = false;
};

bool IsReadOnlyOrFolder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    return (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0;
}
}

SafeWriteFaults& SafeWriteFaultsForTests() { return faults; }

SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    // A read-only target would only refuse the final rename, after all the
    // work; refusing it first gives the user the right message at once.
    if (path.empty() || IsReadOnlyOrFolder(path))
        return SafeWriteResult::CannotCreate;
    const std::string directory = ExtractFilePath(path);
    const std::string folder = directory.empty() ? std::string(".\\") : directory;
    // Beside the target, so the final rename stays on one volume and is atomic.
    char temporary[MAX_PATH + 1] = {};
    if (GetTempFileNameA(folder.c_str(), "qlo", 0, temporary) == 0)
        return SafeWriteResult::CannotCreate;
    HANDLE file = CreateFileA(temporary, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DeleteFileA(temporary);
        return SafeWriteResult::CannotCreate;
    }

    bool good = true;
    try {
        TTemporaryFileStream stream(file);
        write(stream);
        good = stream.FlushBlock();
    } catch (...) {
        good = false;
    }
    // Flushed before the rename: a crash after it must not leave a target
    // whose bytes never reached the disk.
    if (good && !FlushFileBuffers(file))
        good = false;
    if (!CloseHandle(file) || faults.FailClose)
        good = false;
    if (!good) {
        DeleteFileA(temporary);
        return SafeWriteResult::WriteFailed;
    }
    if (faults.FailReplace
        || !MoveFileExA(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(temporary);
        return SafeWriteResult::ReplaceFailed;
    }
    return SafeWriteResult::Ok;
}

void WriteStreamSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    switch (WriteFileSafely(path, write)) {
    case SafeWriteResult::Ok:
        return;
    case SafeWriteResult::CannotCreate:
        throw EFCreateError(FormatMessageText("Cannot create file \"%s\"", path));
    default:
        throw EWriteError(FormatMessageText("Cannot write file \"%s\"", path));
    }
}

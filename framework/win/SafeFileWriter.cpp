#include "SafeFileWriter.h"

#include "AnsiStrings.h"
#include "Exceptions.h"
#include "FileHandle.h"
#include "KernelHandle.h"
#include "SavingFiles.h"
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

// The attributes a replaced file keeps: what a person set on it.
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

class TTemporaryFileStream : public TStream {
public:
    explicit TTemporaryFileStream(HANDLE file) : file_(file) {}

    std::int64_t Read(void*, std::int64_t) override { return 0; }
    std::int64_t Write(const void* buffer, std::int64_t count) override
    {
        if (faults.ProducerThrows)
            std::rethrow_exception(faults.ProducerThrows);
        if (count <= 0 || failed_)
            return 0;
        if (buffer_.capacity() < BlockSize)
            buffer_.reserve(BlockSize);
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
    // A write of the file failed: the disk refused bytes.
    bool Failed() const { return failed_; }

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

// Beside the target, so the final replace stays on one volume and is atomic.
// A name too long for the target's own (it is the target's name and more)
// falls back to a short one the system makes.
std::string TemporaryFileFor(const std::string& path)
{
    std::string temporary = SavingFileOf(path);
    if (!temporary.empty())
        return temporary;
    const std::string directory = ExtractFilePath(path);
    char made[MAX_PATH + 1] = {};
    if (GetTempFileNameA(directory.empty() ? ".\\" : directory.c_str(), "qlo", 0, made) == 0)
        return std::string();
    return made;
}

// Writes the temporary file: Ok, CannotCreate, WriteFailed or ProducerFailed.
SafeWriteResult WriteTemporary(const std::string& temporary, const std::function<void(TStream&)>& write,
                               std::exception_ptr* thrown)
{
    KernelHandle file(
        CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return SafeWriteResult::CannotCreate;
    TTemporaryFileStream stream(file.Get());
    std::exception_ptr failure;
    try {
        write(stream);
        stream.FlushBlock();
    } catch (...) {
        failure = std::current_exception();
    }
    if (thrown)
        *thrown = failure;
    bool diskFailed = stream.Failed();
    // Flushed before the replace: a crash after it must not leave a target
    // whose bytes never reached the disk.
    if (!diskFailed && !failure && !FlushFileBuffers(file.Get()))
        diskFailed = true;
    if (!file.Close() || faults.FailClose)
        diskFailed = true;
    if (diskFailed)
        return SafeWriteResult::WriteFailed;
    return failure ? SafeWriteResult::ProducerFailed : SafeWriteResult::Ok;
}

// The attributes the replaced file had; Wine's replace keeps none of them.
void CarryAttributes(const std::string& path, DWORD before)
{
    const DWORD wanted = before & KeptAttributes;
    const DWORD now = GetFileAttributesA(path.c_str());
    if (now != INVALID_FILE_ATTRIBUTES && (now & KeptAttributes) != wanted)
        SetFileAttributesA(path.c_str(), wanted ? wanted : FILE_ATTRIBUTE_NORMAL);
}

// The finished temporary file takes the target's place. An existing target
// is replaced by the system's replace, which keeps its security, creation
// time, short name and streams; where the file system has none, the replace
// fails with the target still there and a rename does it.
bool PutInPlace(const std::string& temporary, const std::string& path)
{
    const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
    const DWORD before = GetFileAttributesA(path.c_str());
    if (before == INVALID_FILE_ATTRIBUTES)
        return MoveFileExA(temporary.c_str(), path.c_str(), flags) != FALSE;
    const bool replaced = !faults.RefuseSystemReplace &&
                          ReplaceFileA(path.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                                       nullptr, nullptr) != FALSE;
    // A replace that failed half way may have taken the target away; the
    // temporary file still holds every byte, so the rename finishes it.
    if (!replaced && !MoveFileExA(temporary.c_str(), path.c_str(), flags))
        return false;
    CarryAttributes(path, before);
    return true;
}
} // namespace

SafeWriteFaults& SafeWriteFaultsForTests() { return faults; }

SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write,
                                std::exception_ptr* thrown)
{
    if (thrown)
        *thrown = nullptr;
    // A read-only target would only refuse the final replace, after all the
    // work; refusing it first gives the user the right message at once.
    if (path.empty() || IsReadOnlyOrFolder(path))
        return SafeWriteResult::CannotCreate;
    const std::string temporary = TemporaryFileFor(path);
    if (temporary.empty())
        return SafeWriteResult::CannotCreate;
    const SafeWriteResult written = WriteTemporary(temporary, write, thrown);
    if (written != SafeWriteResult::Ok) {
        DeleteFileA(temporary.c_str());
        return written;
    }
    if (faults.FailReplace || !PutInPlace(temporary, path)) {
        DeleteFileA(temporary.c_str());
        return SafeWriteResult::ReplaceFailed;
    }
    RemoveLeftoverSavingFiles(path);
    return SafeWriteResult::Ok;
}

namespace {
// The bytes of a copy: the source's, read as they are written.
std::function<void(TStream&)> BytesOf(const std::string& source)
{
    return [&source](TStream& stream) {
        TFileStream from(source, fmOpenRead | fmShareDenyWrite);
        stream.CopyFrom(from, 0);
    };
}
} // namespace

SafeWriteResult CopyFileSafely(const std::string& source, const std::string& target, std::exception_ptr* thrown)
{
    return WriteFileSafely(target, BytesOf(source), thrown);
}

void CopyFileOrRaise(const std::string& source, const std::string& target)
{
    WriteStreamSafely(target, BytesOf(source));
}

void WriteStreamSafely(const std::string& path, const std::function<void(TStream&)>& write)
{
    std::exception_ptr thrown;
    switch (WriteFileSafely(path, write, &thrown)) {
    case SafeWriteResult::Ok:
        return;
    case SafeWriteResult::CannotCreate:
        throw EFCreateError(FormatMessageText("Cannot create file \"%s\"", path));
    case SafeWriteResult::ProducerFailed:
        std::rethrow_exception(thrown);
    default:
        throw EWriteError(FormatMessageText("Cannot write file \"%s\"", path));
    }
}

#pragma once
// Writes a file so that no failure can harm the file it replaces: the bytes go
// to a temporary file in the target's folder (see SavingFiles.h for its name),
// every write, the flush and the close are checked, and only then does the
// temporary file take the target's place, through the system's replace where
// the target exists (it keeps what the file is beside its bytes) or a rename.
// On any failure the target is left exactly as it was and the temporary file
// is removed; after a success, temporary files that earlier saves of the same
// target left behind are removed too.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>

class TStream;

enum class SafeWriteResult {
    Ok,
    // The target cannot be written at all: its folder is missing, the target
    // is read-only or a folder, or no temporary file could be made beside it.
    CannotCreate,
    // A write, the flush or the close of the temporary file failed: the disk
    // refused the bytes.
    WriteFailed,
    // The finished temporary file could not replace the target.
    ReplaceFailed,
    // The code producing the bytes failed (it threw, and no write of the file
    // had failed): not a disk error. Nothing was written.
    ProducerFailed,
};

// Runs write on a stream into the temporary file, then replaces path with it.
// write reports a short write by throwing (TStream::WriteBuffer throws
// EWriteError). An exception it throws is not passed on: after a failed
// write of the file it counts as WriteFailed, else as ProducerFailed, and
// thrown (when given) receives it.
SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write,
                                std::exception_ptr* thrown = nullptr);

// A copy of source's bytes written safely to target; a source that cannot be
// opened or read is ProducerFailed, with its stream error in thrown.
SafeWriteResult CopyFileSafely(const std::string& source, const std::string& target,
                               std::exception_ptr* thrown = nullptr);

// A seam for tests: failures the writer pretends the system reported.
struct SafeWriteFaults {
    // The physical write that would pass this many bytes of the file fails;
    // negative: none does.
    std::int64_t FailWriteAtByte = -1;
    bool FailClose = false;
    bool FailReplace = false;
    // The system's replace is refused, as on a file system that has none;
    // the writer then renames.
    bool RefuseSystemReplace = false;
    // Thrown by the stream's first write, as if the code producing the bytes
    // had failed there.
    std::exception_ptr ProducerThrows{};
};
SafeWriteFaults& SafeWriteFaultsForTests();

// WriteFileSafely that raises the stream error of a file that cannot be made
// (EFCreateError) or written (EWriteError), naming the file; what the
// producing code threw passes on as it was.
void WriteStreamSafely(const std::string& path, const std::function<void(TStream&)>& write);
// CopyFileSafely that raises as WriteStreamSafely does: a source that cannot
// be read raises its own stream error.
void CopyFileOrRaise(const std::string& source, const std::string& target);

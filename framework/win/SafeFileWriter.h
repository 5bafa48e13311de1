#pragma once
// Writes a file so that no failure can harm the file it replaces: the bytes go
// to a temporary file in the target's folder, every write, the flush and the
// close are checked, and only then does the temporary file take the target's
// place in one rename. On any failure the target is left exactly as it was and
// the temporary file is removed.

#include <cstdint>
#include <functional>
#include <string>

class TStream;

enum class SafeWriteResult {
    Ok,
    // The target cannot be written at all: its folder is missing, the target
    // is read-only or a folder, or no temporary file could be made beside it.
    CannotCreate,
    // A write, the flush or the close of the temporary file failed.
    WriteFailed,
    // The finished temporary file could not replace the target.
    ReplaceFailed,
};

// Runs write on a stream into the temporary file, then replaces path with it.
// write reports a short write by throwing (TStream::WriteBuffer throws
// EWriteError); any exception it throws counts as WriteFailed and is not
// passed on.
SafeWriteResult WriteFileSafely(const std::string& path, const std::function<void(TStream&)>& write);

// A seam for tests: failures the writer pretends the system reported.
struct SafeWriteFaults {
    // The physical write that would pass this many bytes of the file fails;
    // negative: none does.
    std::int64_t FailWriteAtByte = -1;
    bool FailClose = false;
    bool FailReplace = false;
};
SafeWriteFaults& SafeWriteFaultsForTests();

// WriteFileSafely that raises the stream error of a file that cannot be made
// (EFCreateError) or written (EWriteError), naming the file.
void WriteStreamSafely(const std::string& path, const std::function<void(TStream&)>& write);

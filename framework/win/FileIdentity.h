#pragma once
// Whether two names lead to one file. Each name is read as the system reads
// it (a relative name from the current folder, a short 8.3 name in its long
// form) and the two are compared without regard to case, as the file system
// compares them; two names of one existing file (a second link to it) are
// the same file too.

#include <cstdint>
#include <string>

// The full path of the name, its short names made long where it exists; the
// name as given when the system cannot read it.
std::string FullLongPath(const std::string& path);

bool NamesSameFile(const std::string& first, const std::string& second);

// What a file is at one moment, as far as telling a rewrite of it goes: its
// last write time and its size. A file that does not exist has no stamp.
struct FileStamp {
    bool exists = false;
    std::uint64_t lastWrite = 0;
    std::uint64_t size = 0;
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOfFile(const std::string& path);

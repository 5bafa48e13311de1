#pragma once
// A search of a folder for the files a pattern names, closed on every way
// out. Found() tells whether the first file was found; Data() describes the
// current one and Next() moves on.

#include <windows.h>

#include <string>

class FileSearch {
public:
    explicit FileSearch(const std::string& pattern) : handle_(FindFirstFileA(pattern.c_str(), &data_)) {}
    ~FileSearch()
    {
        if (Found())
            FindClose(handle_);
    }
    FileSearch(const FileSearch&) = delete;
    FileSearch& operator=(const FileSearch&) = delete;

    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }
    const WIN32_FIND_DATAA& Data() const { return data_; }
    bool Next() { return FindNextFileA(handle_, &data_) != FALSE; }

private:
    WIN32_FIND_DATAA data_{};
    HANDLE handle_;
};

#pragma once
// The large icons of one file, opened once for many: the places bar shows
// two icons per place, often all from one library, and opening the file for
// every icon is what made the bar slow to build.

#include <windows.h>

#include <string>
#include <vector>

class TIconLibrary {
public:
    explicit TIconLibrary(const std::string& file);
    ~TIconLibrary();
    TIconLibrary(const TIconLibrary&) = delete;
    TIconLibrary& operator=(const TIconLibrary&) = delete;

    const std::string& File() const { return file_; }
    // Icon number index of the file, as the shell counts them, at the large
    // icon size; null when it has none. The caller destroys it.
    HICON Extract(int index) const;

private:
    std::string file_;
    HMODULE module_ = nullptr;
    // The icon groups' names in the shell's order: a number or a name.
    struct Group {
        ULONG_PTR id = 0;
        std::string name;
    };
    std::vector<Group> groups_;
};

#pragma once
// A folder of the test's own under the temporary folder, empty at start and
// removed with everything in it at the end, and the small file helpers the
// tests that read and write real files share.
#include <string>
#include <vector>

class TestFolder {
public:
    // Named after the running test, so parallel runs and reruns never meet.
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::string& Path() const { return path_; }
    // The path of name inside the folder.
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
// Every name in the folder but "." and "..".
std::vector<std::string> FilesIn(const std::string& folder);
// Removes the folder and everything in it, read-only files included.
void RemoveFolderTree(const std::string& folder);

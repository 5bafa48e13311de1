#include "TestFolder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>

TestFolder::TestFolder()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(MAX_PATH, temp);
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::string(temp) + "quillo-" + std::to_string(GetCurrentProcessId()) + "-"
            + (test ? std::string(test->test_suite_name()) + "-" + test->name() : std::string("shared"));
    RemoveFolderTree(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
}

TestFolder::~TestFolder() { RemoveFolderTree(path_); }

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

void WriteFileBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::vector<std::string> FilesIn(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

void RemoveFolderTree(const std::string& folder)
{
    for (const std::string& name : FilesIn(folder)) {
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY)
            RemoveFolderTree(path);
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

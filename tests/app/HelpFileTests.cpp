// The help file Quillo.chm is built beside the programs and holds a topic page
// for every help address the program opens (Quillo.chm::/html/<page>.htm).
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Every page the program addresses: the contents, the tutorial, the shortcuts
// page, one page per dialog (its class name in lower case), the Options tabs
// by index and the About box's acknowledgments.
const char* const kHelpPages[] = {
    "contents",
    "tutorial",
    "shortcuts",
    "tfindr",
    "thyperlink",
    "tbrowsepage",
    "toptions0",
    "toptions1",
    "toptions2",
    "toptions3",
    "toptions4",
    "tsummery",
    "acknowledgments",
    "tsymbol",
    "tdatepick",
    "tcase",
    "tdelete",
    "tnew",
    "tfromtemplate",
    "torganizetemplates",
    "trename",
    "tsaveext",
    "tprintkb",
};

std::filesystem::path ProgramFolder()
{
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::filesystem::path(std::wstring(buffer.data(), length)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

std::string ReadHelpFile()
{
    std::ifstream file(ProgramFolder() / "Quillo.chm", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace

TEST(HelpFile, LiesBesideTheProgramsAsACompiledHelpFile)
{
    const std::filesystem::path chm = ProgramFolder() / "Quillo.chm";
    ASSERT_TRUE(std::filesystem::is_regular_file(chm)) << chm.string();
    const std::string bytes = ReadHelpFile();
    ASSERT_GE(bytes.size(), 4u);
    EXPECT_EQ(bytes.substr(0, 4), "ITSF");
}

TEST(HelpFile, HoldsATopicPageForEveryHelpAddress)
{
    const std::string bytes = ReadHelpFile();
    ASSERT_FALSE(bytes.empty());
    for (const char* page : kHelpPages) {
        const std::string entry = std::string("/html/") + page + ".htm";
        EXPECT_NE(bytes.find(entry), std::string::npos) << "missing help page " << entry;
    }
}

TEST(HelpFile, DefinesTheWindowTypesOfTheHelpAddresses)
{
    // ">Topic" and ">Tcard" name window types of the help file.
    const std::string bytes = ReadHelpFile();
    EXPECT_NE(bytes.find("/#WINDOWS"), std::string::npos);
}

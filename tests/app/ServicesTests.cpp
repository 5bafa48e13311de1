#include "DateTexts.h"
#include "DateTime.h"
#include "HelpTopics.h"
#include "HtmlHelp.h"
#include "MailClients.h"
#include "MessageBoxes.h"
#include "ProgramFolder.h"
#include "Registry.h"
#include "ScriptedMessageBoxes.h"
#include "ShellShortcuts.h"
#include "WindowsInfo.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const char* const TestKey = "Software\\QuilloTests\\Services";

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A fresh empty folder under the temporary folder, removed with its files.
class TempFolder {
public:
    TempFolder()
    {
        char base[MAX_PATH];
        GetTempPathA(MAX_PATH, base);
        path_ = std::string(base) + "QuilloServices" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~TempFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                    DeleteFileA((path_ + "\\" + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(path_.c_str());
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Sends the Start Menu and desktop folders to one folder while alive and
// records which folders were asked for.
class RedirectedFolders {
public:
    explicit RedirectedFolders(std::string folder)
    {
        SetSpecialFolderHandler([this, folder](int csidl) {
            asked.push_back(csidl);
            return folder;
        });
    }
    ~RedirectedFolders() { SetSpecialFolderHandler(nullptr); }
    std::vector<int> asked;
};

// The target a saved shortcut points to, read back through the shell link.
std::string ShortcutTarget(const std::string& file)
{
    std::string target;
    const HRESULT initialised = CoInitialize(nullptr);
    IShellLinkA* link = nullptr;
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
            reinterpret_cast<void**>(&link)))) {
        IPersistFile* persist = nullptr;
        if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
            std::wstring wide(file.begin(), file.end());
            if (SUCCEEDED(persist->Load(wide.c_str(), STGM_READ))) {
                char path[MAX_PATH] = "";
                if (SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
                    target = path;
            }
            persist->Release();
        }
        link->Release();
    }
    if (SUCCEEDED(initialised))
        CoUninitialize();
    return target;
}

class ServicesRegistry : public ::testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override { Clean(); }
    static void Clean()
    {
        TRegistry registry;
        registry.DeleteKey(TestKey);
    }
    static void MakeKey(const std::string& below)
    {
        TRegistry registry;
        ASSERT_TRUE(registry.CreateKey(std::string(TestKey) + "\\" + below));
    }
};
}

TEST(ServicesMessages, InfoMessageHasTheProductCaptionAndInformationIcon)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    ShowInfoMessage("Nothing to print.");
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text, "Nothing to print.");
    EXPECT_EQ(boxes.Shown()[0].caption, "Corvane Quillo");
    EXPECT_EQ(boxes.Shown()[0].flags, 64u);
}

TEST(ServicesFolders, ExeFolderEndsWithABackslashAndHoldsTheProgram)
{
    const std::string folder = ExeFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '\\');
    EXPECT_TRUE(FileExists(folder + "app_tests.exe"));
}

TEST(ServicesDates, CurrentDateTextUsesDayFullMonthYearAndShortTime)
{
    const TFormatSettings saved = FormatSettings();
    FormatSettings() = EnglishFormatSettings();
    SetNowProvider([] { return EncodeDate(2026, 3, 5) + EncodeTime(14, 7, 9, 0); });
    const std::string text = CurrentDateText();
    const std::string iso = FormatNow("yyyy-mm-dd hh:nn:ss");
    SetNowProvider(nullptr);
    FormatSettings() = saved;
    EXPECT_EQ(text, "5 March 2026 2:07 PM");
    EXPECT_EQ(iso, "2026-03-05 14:07:09");
}

TEST(ServicesMachine, WindowsFolderAndOwnerReadWithoutFailing)
{
    // Under Wine the first is missing and the second empty; on Windows both
    // are plain strings. Neither call may raise or need full access.
    const std::string windows = ReadWindowsDir();
    const std::string owner = ReadRegisteredOwner();
    char expected[256] = "";
    DWORD size = sizeof expected;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner",
            RRF_RT_REG_SZ, nullptr, expected, &size) != ERROR_SUCCESS)
        expected[0] = '\0';
    EXPECT_EQ(owner, expected);
    (void)windows;
}

TEST_F(ServicesRegistry, MailClientsAreTheSortedSubkeysOfTheMailKey)
{
    MakeKey("Clients\\Mail\\Zephyr Post");
    MakeKey("Clients\\Mail\\aster mail");
    MakeKey("Clients\\Mail\\Beacon");
    MakeKey("Clients\\Media\\Player");
    const auto names = ListMailClients(HKEY_CURRENT_USER, std::string(TestKey) + "\\Clients\\Mail");
    EXPECT_EQ(names, (std::vector<std::string>{"aster mail", "Beacon", "Zephyr Post"}));
}

TEST_F(ServicesRegistry, WithoutTheMailKeyNoProgramIsListed)
{
    MakeKey("Clients\\Media\\Player");
    MakeKey("Clients\\StartMenuInternet\\Browser");
    EXPECT_TRUE(ListMailClients(HKEY_CURRENT_USER, std::string(TestKey) + "\\Clients\\Mail").empty());
    EXPECT_TRUE(ListMailClients(HKEY_CURRENT_USER, std::string(TestKey) + "\\Missing\\Mail").empty());
}

TEST_F(ServicesRegistry, MailKeyWithoutClientsListsNone)
{
    MakeKey("Clients\\Mail");
    EXPECT_TRUE(ListMailClients(HKEY_CURRENT_USER, std::string(TestKey) + "\\Clients\\Mail").empty());
}

TEST(ServicesShortcuts, DesktopShortcutIsSavedAndReplacedOnRepeat)
{
    TempFolder folder;
    RedirectedFolders folders(folder.Path());
    const std::string file = folder.Path() + "\\Quillo.lnk";
    const std::string first = ExeFolder() + "app_tests.exe";
    const std::string second = ExeFolder() + "Quillo.exe";

    ASSERT_TRUE(CreateDesktopShortcut(first, "Quillo.lnk"));
    ASSERT_TRUE(FileExists(file));
    EXPECT_EQ(ShortcutTarget(file), first);

    ASSERT_TRUE(CreateDesktopShortcut(second, "Quillo.lnk"));
    EXPECT_EQ(ShortcutTarget(file), second);
    EXPECT_EQ(folders.asked, (std::vector<int>{CSIDL_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY}));
}

TEST(ServicesShortcuts, StartMenuShortcutGoesToTheStartMenuFolder)
{
    TempFolder folder;
    RedirectedFolders folders(folder.Path() + "\\");
    const std::string target = ExeFolder() + "app_tests.exe";
    ASSERT_TRUE(CreateStartMenuShortcut(target, "Quillo.lnk"));
    EXPECT_EQ(ShortcutTarget(folder.Path() + "\\Quillo.lnk"), target);
    EXPECT_EQ(folders.asked, (std::vector<int>{CSIDL_STARTMENU}));
}

TEST(ServicesShortcuts, ShortcutWorksWhileTheThreadAlreadyHasComInitialised)
{
    // CoInitialize then answers S_FALSE, which is success.
    const HRESULT initialised = CoInitialize(nullptr);
    ASSERT_TRUE(SUCCEEDED(initialised));
    TempFolder folder;
    RedirectedFolders folders(folder.Path());
    const std::string target = ExeFolder() + "app_tests.exe";
    EXPECT_TRUE(CreateDesktopShortcut(target, "Quillo.lnk"));
    EXPECT_EQ(ShortcutTarget(folder.Path() + "\\Quillo.lnk"), target);
    CoUninitialize();
    if (initialised == S_OK) {
        EXPECT_EQ(CoInitialize(nullptr), S_OK) << "the shortcut left COM initialised";
        CoUninitialize();
    }
}

TEST(ServicesShortcuts, NothingSavedMeansFalse)
{
    TempFolder folder;
    {
        RedirectedFolders folders("");
        EXPECT_FALSE(CreateDesktopShortcut(ExeFolder() + "app_tests.exe", "Quillo.lnk"));
    }
    {
        RedirectedFolders folders(folder.Path() + "\\No such folder");
        EXPECT_FALSE(CreateStartMenuShortcut(ExeFolder() + "app_tests.exe", "Quillo.lnk"));
        EXPECT_FALSE(FileExists(folder.Path() + "\\No such folder\\Quillo.lnk"));
    }
}

TEST(ServicesHelp, TopicAddressOfAFormClass)
{
    EXPECT_EQ(FormHelpTopicAddress("C:\\Apps\\Quillo.chm", "TOptions"), "C:\\Apps\\Quillo.chm::/html/toptions.htm>Topic");
    EXPECT_EQ(HelpTopicAddress("C:\\Apps\\Quillo.chm", "acknowledgments"),
        "C:\\Apps\\Quillo.chm::/html/acknowledgments.htm>Topic");
    EXPECT_EQ(TutorialHelpAddress("C:\\Apps\\Quillo.chm"), "C:\\Apps\\Quillo.chm::/html/tutorial.htm>Tcard");
}

TEST(ServicesHelp, TopicAndContentsReachTheViewerWithTheirCommands)
{
    struct Call {
        HWND window;
        std::string file;
        UINT command;
        DWORD_PTR data;
    };
    static std::vector<Call> calls;
    struct Fake {
        static HWND WINAPI Entry(HWND window, LPCSTR file, UINT command, DWORD_PTR data)
        {
            calls.push_back({window, file ? file : "", command, data});
            return nullptr;
        }
    };
    calls.clear();
    HtmlHelpHooks hooks;
    hooks.loadLibrary = [] { return reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x1000)); };
    hooks.findEntry = [](HMODULE) { return &Fake::Entry; };
    hooks.freeLibrary = [](HMODULE) {};
    SetHtmlHelpHooks(hooks);
    ShowHelpTopic("C:\\Apps\\Quillo.chm::/html/tmain.htm>Topic");
    ShowHelpContents("C:\\Apps\\Quillo.chm");
    SetHtmlHelpHooks({});
    ASSERT_EQ(calls.size(), 3u); // the last is the closing of the viewer's windows
    EXPECT_EQ(calls[0].window, nullptr);
    EXPECT_EQ(calls[0].file, "C:\\Apps\\Quillo.chm::/html/tmain.htm>Topic");
    EXPECT_EQ(calls[0].command, 0u);
    EXPECT_EQ(calls[1].file, "C:\\Apps\\Quillo.chm");
    EXPECT_EQ(calls[1].command, 1u);
    EXPECT_EQ(calls[2].command, HelpCloseAll);
}

// Quillo and its watcher as a person's desktop sees them: real processes,
// real windows, real mutexes.
#include "ProcessDriver.h"
#include "ProcessList.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"

#include <gtest/gtest.h>

namespace {
const char* const MainTitle = "Untitled - Corvane Quillo";
const char* const ClosingTitle = "Closing Quillo...";
const char* const ReadyMutex = "_DORWICK_READY.MUTEX";
const char* const SingleWatcherMutex = "_DORWICK.MUTEX";
// A message box's text control has this id.
constexpr int MessageBoxTextId = 0xFFFF;

std::string BuiltProgram(const std::string& name) { return BuildBinFolder() + "\\" + name; }

// A program folder of its own, holding Quillo and whatever stands beside it.
struct ProgramFolder {
    TempFolder folder;
    std::string quillo = folder.File("Quillo.exe");
    ProgramFolder() { EXPECT_TRUE(CopyInto(BuiltProgram("Quillo.exe"), quillo)); }
    void Add(const std::string& builtName, const std::string& asName)
    {
        EXPECT_TRUE(CopyInto(BuiltProgram(builtName), folder.File(asName)));
    }
};

// The settings a started Quillo finds: no help at first use and no
// notification icon (this desktop has no notification area, and the refusal
// would be reported). They are complete, so the start repairs nothing; they
// go again when the test ends.
class QuietSettings {
public:
    QuietSettings()
    {
        Remove();
        TOptionSettings options;
        SetDefaultOptions(options, "C:\\");
        options.Traybar = 1;
        options.FirstUse = false;
        TUserSettings user;
        SetDefaultUserSettings(user, "C:\\");
        user.Startup = false;
        EXPECT_TRUE(CreateSettingsKeys());
        EXPECT_TRUE(WriteSettingsReporting({
            [&] { WriteUserSettings(user); },
            [&] { WriteGeneralOptions(options); },
            [&] { WriteDateOptions(options); },
            [&] { WriteBehaviourOptions(options); },
            [&] { WriteFolderOptions(options); },
            [&] { WriteWebOptions(options); },
        }));
    }
    ~QuietSettings() { Remove(); }

private:
    static void Remove()
    {
        SettingsRegistry().CloseKey();
        RegDeleteTreeA(HKEY_CURRENT_USER, DefaultSettingsRoot);
    }
};

HWND WaitForMainWindow()
{
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindTopLevelWindow(MainTitle)) != nullptr; }, 20s);
    return window;
}
}

TEST(QuilloStart, WithoutItsWatcherQuilloRefusesToStartAndShowsNoWindow)
{
    ProgramFolder program;
    ChildProcess quillo;
    ASSERT_TRUE(quillo.Start(program.quillo));
    HWND box = nullptr;
    bool mainWindowSeen = false;
    ASSERT_TRUE(WaitUntil(
        [&] {
            mainWindowSeen = mainWindowSeen || FindTopLevelWindow(MainTitle) != nullptr;
            box = FindTopLevelWindow("Corvane Quillo", "#32770");
            return box != nullptr;
        },
        20s));
    EXPECT_EQ(DialogItemText(box, MessageBoxTextId), "Cannot find '_Dorwick.exe', please re-install Quillo");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(quillo.WaitForExit(10s));
    EXPECT_EQ(quillo.ExitCode(), 0u);
    EXPECT_FALSE(mainWindowSeen);
    EXPECT_EQ(FindTopLevelWindow(MainTitle), nullptr);
}

TEST(QuilloEnd, ClosingHandsOverToTheWatcherAndBothEnd)
{
    QuietSettings settings;
    ChildProcess quillo;
    ASSERT_TRUE(quillo.Start(BuiltProgram("Quillo.exe"), "/m"));
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    PostMessageA(main, WM_CLOSE, 0, 0);

    ProcessWatch watcher;
    ASSERT_TRUE(WaitUntil([&] { return watcher.AttachByName("_Dorwick.exe"); }, 10s));
    EXPECT_EQ(FindTopLevelWindow(ClosingTitle), main);

    ASSERT_TRUE(quillo.WaitForExit(10s));
    EXPECT_EQ(quillo.ExitCode(), 0u);
    // The watcher holds on for a moment after Quillo's windows have gone.
    EXPECT_EQ(watcher.ExitCode(), static_cast<DWORD>(STILL_ACTIVE));
    ASSERT_TRUE(watcher.WaitForExit(10s));
    EXPECT_EQ(watcher.ExitCode(), 0u);
    EXPECT_FALSE(MutexExists(ReadyMutex));
    EXPECT_FALSE(MutexExists(SingleWatcherMutex));
}

TEST(QuilloEnd, AWatcherThatNeverSignalsCannotKeepQuilloAlive)
{
    ProgramFolder program;
    program.Add("fake_watcher_silent.exe", "_Dorwick.exe");
    QuietSettings settings;
    ChildProcess quillo;
    ASSERT_TRUE(quillo.Start(program.quillo, "/m"));
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    const auto closed = std::chrono::steady_clock::now();
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quillo.WaitForExit(30s));
    EXPECT_EQ(quillo.ExitCode(), 0u);
    // It waited for the watcher, as long as the bound allows, and no longer.
    EXPECT_GE(std::chrono::steady_clock::now() - closed, 9s);
}

TEST(QuilloEnd, AWatcherThatCouldNotBeStartedIsNotWaitedFor)
{
    ProgramFolder program;
    program.Add("_Dorwick.exe", "_Dorwick.exe");
    QuietSettings settings;
    ChildProcess quillo;
    ASSERT_TRUE(quillo.Start(program.quillo, "/m"));
    HWND main = WaitForMainWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(DeleteFileA(program.folder.File("_Dorwick.exe").c_str()));
    const auto closed = std::chrono::steady_clock::now();
    PostMessageA(main, WM_CLOSE, 0, 0);
    ASSERT_TRUE(quillo.WaitForExit(30s));
    EXPECT_EQ(quillo.ExitCode(), 0u);
    EXPECT_LT(std::chrono::steady_clock::now() - closed, 5s);
}

#include "Application.h"
#include "Main.h"
#include "ModelessWindows.h"
#include "ProgramFolder.h"
#include "ShellOpen.h"
#include "WatcherHandshake.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

namespace {
// Records what the shell was asked to open and answers as told.
class ShellRecorder {
public:
    explicit ShellRecorder(bool accepts)
    {
        SetShellOpenHandler([this, accepts](const std::string& target) {
            opened.push_back(target);
            return accepts;
        });
    }
    ~ShellRecorder() { SetShellOpenHandler(nullptr); }
    std::vector<std::string> opened;
};

class ModelessStandIn : public TForm {
public:
    ModelessStandIn() { CreateHandle(CreateParams{"Find"}); }
};

struct OwnedMutex {
    explicit OwnedMutex(const char* name) : handle(CreateMutexA(nullptr, TRUE, name)) {}
    ~OwnedMutex()
    {
        ReleaseMutex(handle);
        CloseHandle(handle);
    }
    HANDLE handle;
};

std::chrono::milliseconds Elapsed(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - since);
}

// Runs the main window from creation to the end of its message loop.
class MainWindowRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.CreateForm<TMain>();
    }
    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
    }
    void CloseAndRunToEnd()
    {
        PostMessageA(Main->Handle(), WM_CLOSE, 0, 0);
        Application.Run();
    }
};
}

TEST_F(MainWindowRun, TheMainWindowShowsTheApplicationTitle)
{
    EXPECT_EQ(Main->Caption(), "Untitled - Corvane Quillo");
    EXPECT_TRUE(Main->Visible());
    EXPECT_EQ(Application.MainForm(), Main);
}

TEST_F(MainWindowRun, ClosingRetitlesStartsTheWatcherAndKeepsTheWindow)
{
    ShellRecorder shell(true);
    FindR = std::make_unique<ModelessStandIn>();
    const HWND find = FindR->Handle();
    CloseAndRunToEnd();
    EXPECT_EQ(Application.Title(), "Closing Quillo...");
    EXPECT_EQ(Main->Caption(), "Closing Quillo...");
    EXPECT_EQ(shell.opened, std::vector<std::string>{ExeFolder() + "_Dorwick.exe"});
    EXPECT_TRUE(WatcherStarted());
    EXPECT_EQ(FindR, nullptr);
    EXPECT_FALSE(IsWindow(find));
    // The watcher looks for this window until Quillo ends.
    EXPECT_EQ(FindWindowA(nullptr, "Closing Quillo..."), Main->Handle());
}

TEST_F(MainWindowRun, WithoutAStartedWatcherTheEndOfRunDoesNotWait)
{
    ShellRecorder shell(false);
    CloseAndRunToEnd();
    EXPECT_FALSE(WatcherStarted());
    const auto start = std::chrono::steady_clock::now();
    WaitForWatcherReady();
    EXPECT_LT(Elapsed(start), 100ms);
}

TEST(WatcherReadyWait, WaitsAtLeastOneIntervalEvenWhenTheMutexExists)
{
    OwnedMutex ready("QuilloTest_READY_EXISTS.MUTEX");
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(WaitForNamedMutex("QuilloTest_READY_EXISTS.MUTEX", 2000ms));
    EXPECT_GE(Elapsed(start), 95ms);
}

TEST(WatcherReadyWait, SeesAMutexCreatedLater)
{
    std::thread watcher([] {
        std::this_thread::sleep_for(250ms);
        OwnedMutex ready("QuilloTest_READY_LATER.MUTEX");
        std::this_thread::sleep_for(1000ms);
    });
    EXPECT_TRUE(WaitForNamedMutex("QuilloTest_READY_LATER.MUTEX", 5000ms));
    watcher.join();
}

TEST(WatcherReadyWait, GivesUpAfterTheBound)
{
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WaitForNamedMutex("QuilloTest_NEVER.MUTEX", 300ms));
    EXPECT_GE(Elapsed(start), 295ms);
    EXPECT_LT(Elapsed(start), 2000ms);
}

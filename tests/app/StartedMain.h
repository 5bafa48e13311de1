#pragma once
// The main window started the way the program starts it, against settings a
// test writes first into a settings key of its own: the records, the command
// line and the files it names are the test's; the shell records what it was
// asked to open instead of opening it.

#include "Application.h"
#include "CommandLine.h"
#include "Main.h"
#include "PageHistory.h"
#include "RecentFiles.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "StringList.h"
#include "TestSettingsRoot.h"

#include <windows.h>

#include <string>
#include <vector>

class StartedMain : public TestSettingsRoot {
protected:
    void SetUp() override
    {
        TestSettingsRoot::SetUp();
        // A program starts in a fresh process; tests of other fixtures may
        // have left an outline changed or named.
        ForgetTheRun();
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.SetHelpFile("Quillo.chm");
        SetShellOpenHandler([this](const std::string& target) {
            shellOpened.push_back(target);
            return true;
        });
        // Settings a person would have after a few runs: complete, so the
        // start repairs nothing, with no help at first use.
        SetDefaultOptions(options, "C:\\Quillo\\");
        options.FirstUse = false;
        SetDefaultUserSettings(user, "C:\\Quillo\\");
        user.Startup = false;
        char temp[MAX_PATH + 1] = {};
        GetTempPathA(MAX_PATH, temp);
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::string(temp) + "quillo-start-" + std::to_string(GetCurrentProcessId()) + "-" + info->name();
        CreateDirectoryA(folder_.c_str(), nullptr);
    }

    static void ForgetTheRun()
    {
        ClearHistory();
        RecentFiles.Clear();
        CurrentFileName = UntitledFileName;
        ResetOutlineProperties(OutlineProperties);
        AutoSaveMinutes = 0;
    }

    void TearDown() override
    {
        Application.DestroyForms();
        Application.Initialize();
        SetShellOpenHandler(nullptr);
        ForgetTheRun();
        RemoveFolder();
        TestSettingsRoot::TearDown();
    }

    // Writes options and user as the store's whole content, the records'
    // run-time values put back to a fresh start.
    void WriteSettings()
    {
        ASSERT_TRUE(WriteSettingsReporting({
            [this] { WriteUserSettings(user); },
            [this] { WriteGeneralOptions(options); },
            [this] { WriteDateOptions(options); },
            [this] { WriteBehaviourOptions(options); },
            [this] { WriteFolderOptions(options); },
            [this] { WriteWebOptions(options); },
        }));
        OptionSettings = TOptionSettings{};
        UserSettings = TUserSettings{};
    }

    // Writes the settings and builds the main window as the program does,
    // given these arguments.
    void Start(const std::vector<std::string>& arguments = {})
    {
        WriteSettings();
        SetCommandLineArguments(arguments);
        Application.CreateForm<TMain>();
    }

    std::string PathOf(const std::string& name) const { return folder_ + "\\" + name; }

    // A registry value below the test's settings key, or -1 / "?" when absent.
    long long StoredNumber(const std::string& key, const std::string& name) const
    {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueA(HKEY_CURRENT_USER, (base_ + "\\" + key).c_str(), name.c_str(), RRF_RT_REG_DWORD, nullptr,
                         &value, &size) != ERROR_SUCCESS)
            return -1;
        return static_cast<int>(value);
    }
    std::string StoredText(const std::string& key, const std::string& name) const
    {
        char buffer[1024] = {};
        DWORD size = sizeof buffer;
        if (RegGetValueA(HKEY_CURRENT_USER, (base_ + "\\" + key).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                         buffer, &size) != ERROR_SUCCESS)
            return "?";
        return buffer;
    }

    TOptionSettings options;
    TUserSettings user;
    std::vector<std::string> shellOpened;

private:
    void RemoveFolder()
    {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name != "." && name != "..")
                    DeleteFileA(PathOf(name).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }

    std::string folder_;
};

// Every test of this program starts the main window the way "Quillo /m"
// starts: no outline is opened, the settings live in a key of the run's own
// that starts empty for each test, the notification-area shell accepts the
// icon, and the help viewer is a stand-in that shows nothing. A test that
// wants otherwise sets it up in its own fixture, which runs after this.
#include "Application.h"
#include "CommandLine.h"
#include "HtmlHelp.h"
#include "SettingsRecords.h"
#include "SettingsRegistry.h"
#include "SettingsRoot.h"
#include "TrayComp.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

const char* const TestsRoot = "Software\\Corvane\\QuilloTests";

std::string RunRootParent() { return std::string(TestsRoot) + "\\AppRun." + std::to_string(GetCurrentProcessId()); }

HWND WINAPI NoHelpViewer(HWND, LPCSTR, UINT, DWORD_PTR) { return nullptr; }

class QuietStartUp : public ::testing::EmptyTestEventListener {
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        SetCommandLineArguments(std::vector<std::string>{"/m"});
        // The start puts the program's folder in front of the name.
        Application.SetHelpFile("Quillo.chm");
        SetTrayShellCall([](DWORD, NOTIFYICONDATAA*) -> BOOL { return TRUE; });
        HtmlHelpHooks hooks;
        hooks.loadLibrary = [] { return GetModuleHandleA(nullptr); };
        hooks.findEntry = [](HMODULE) { return &NoHelpViewer; };
        hooks.freeLibrary = [](HMODULE) {};
        SetHtmlHelpHooks(hooks);
        SettingsRegistry().CloseKey();
        RegDeleteTreeA(HKEY_CURRENT_USER, RunRootParent().c_str());
        SetSettingsRoot(RunRootParent() + "\\1");
        OptionSettings = TOptionSettings{};
        UserSettings = TUserSettings{};
        DialogStates = TDialogStates{};
    }
    void OnTestProgramEnd(const ::testing::UnitTest&) override
    {
        SettingsRegistry().CloseKey();
        SetSettingsRoot(DefaultSettingsRoot);
        RegDeleteTreeA(HKEY_CURRENT_USER, RunRootParent().c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot); // only goes once it is empty
    }
};

const bool Installed = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new QuietStartUp);
    return true;
}();

} // namespace

#include "HtmlHelp.h"
#include "ProgramFolder.h"
#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const HMODULE FakeModule = reinterpret_cast<HMODULE>(static_cast<INT_PTR>(0x4000));

// Replaces everything HtmlHelp reaches outside the program and counts it.
class FakeViewerSystem {
public:
    explicit FakeViewerSystem(bool libraryPresent, HtmlHelpProc entry = nullptr)
    {
        HtmlHelpHooks hooks;
        hooks.loadLibrary = [this, libraryPresent] {
            ++loads;
            return libraryPresent ? FakeModule : nullptr;
        };
        hooks.findEntry = [this, entry](HMODULE module) {
            EXPECT_EQ(module, FakeModule);
            ++lookups;
            return entry;
        };
        hooks.freeLibrary = [this](HMODULE module) {
            EXPECT_EQ(module, FakeModule);
            ++frees;
        };
        hooks.beep = [this] { ++beeps; };
        hooks.openAddress = [this](const std::string& address) { opened.push_back(address); };
        SetHtmlHelpHooks(hooks);
    }
    ~FakeViewerSystem() { SetHtmlHelpHooks({}); }

    int loads = 0;
    int lookups = 0;
    int frees = 0;
    int beeps = 0;
    std::vector<std::string> opened;
};

const char* const Topic = "C:\\Apps\\Quillo.chm::/html/tmain.htm>Topic";

int entryCalls = 0;
HWND WINAPI FakeEntry(HWND, LPCSTR, UINT command, DWORD_PTR)
{
    if (command != HelpCloseAll)
        ++entryCalls;
    return reinterpret_cast<HWND>(static_cast<INT_PTR>(0x77));
}
}

TEST(HtmlHelpMissing, AfterOkEveryCallBeepsButTheOfferIsShownOnce)
{
    ScriptedMessageBoxes boxes;
    FakeViewerSystem system(false);
    boxes.Answer(IDOK);
    EXPECT_EQ(HtmlHelp(nullptr, Topic, HelpDisplayTopic, 0), -1);
    EXPECT_EQ(HtmlHelp(nullptr, Topic, HelpDisplayTopic, 0), -1);
    EXPECT_EQ(system.beeps, 2);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
        "Unable to load \"HHCtrl.ocx\" library !!!\r\nPress OK Button to download and install the latest version\r\n"
        "of the HTML Help Workshop from the Microsoft Web Site.");
    EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_OKCANCEL | MB_ICONERROR));
    EXPECT_EQ(system.opened, (std::vector<std::string>{HtmlHelpDownloadAddress}));
}

TEST(HtmlHelpMissing, AfterCancelTheOfferIsShownAgain)
{
    ScriptedMessageBoxes boxes;
    FakeViewerSystem system(false);
    boxes.Answer(IDCANCEL);
    boxes.Answer(IDCANCEL);
    boxes.Answer(IDOK);
    for (int call = 0; call < 4; ++call)
        EXPECT_EQ(HtmlHelp(nullptr, Topic, HelpDisplayTopic, 0), -1);
    EXPECT_EQ(system.beeps, 4);
    EXPECT_EQ(boxes.Shown().size(), 3u);
    EXPECT_EQ(system.opened.size(), 1u);
}

TEST(HtmlHelpMissing, LibraryWithoutTheEntryPointIsLoadedOnceAndFreedOnce)
{
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDCANCEL);
    boxes.Answer(IDCANCEL);
    boxes.Answer(IDCANCEL);
    {
        FakeViewerSystem system(true, nullptr);
        for (int call = 0; call < 3; ++call)
            EXPECT_EQ(HtmlHelp(nullptr, Topic, HelpDisplayTopic, 0), -1);
        EXPECT_EQ(system.loads, 1);
        EXPECT_EQ(system.frees, 0);
        EXPECT_EQ(system.beeps, 3);
        ReleaseHtmlHelp();
        EXPECT_EQ(system.frees, 1);
        ReleaseHtmlHelp();
        EXPECT_EQ(system.frees, 1);
    }
}

TEST(HtmlHelpPresent, EntryPointIsFoundOnceAndReused)
{
    ScriptedMessageBoxes boxes;
    entryCalls = 0;
    FakeViewerSystem system(true, &FakeEntry);
    for (int call = 0; call < 3; ++call)
        EXPECT_EQ(HtmlHelp(nullptr, Topic, HelpDisplayTopic, 0), 0x77);
    EXPECT_EQ(system.loads, 1);
    EXPECT_EQ(system.lookups, 1);
    EXPECT_EQ(entryCalls, 3);
    EXPECT_EQ(system.beeps, 0);
    EXPECT_TRUE(boxes.Shown().empty());
}

TEST(HtmlHelpPresent, RealViewerAnswersAMissingFileWithoutAWindow)
{
    ScriptedMessageBoxes boxes;
    SetHtmlHelpHooks({});
    const std::string missing = ExeFolder() + "No such help.chm";
    EXPECT_EQ(HtmlHelp(nullptr, missing + "::/html/tmain.htm>Topic", HelpDisplayTopic, 0), 0);
    EXPECT_EQ(HtmlHelp(nullptr, missing, HelpDisplayContents, 0), 0);
    ReleaseHtmlHelp();
    EXPECT_TRUE(boxes.Shown().empty());
}

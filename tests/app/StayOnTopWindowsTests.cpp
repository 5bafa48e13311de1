// The modeless tool windows that stay in front of the main window: they
// belong to it, so that activating the main window (a click in the tree or
// the editor) never hides them behind it.
#include "MainWindowTest.h"

#include "ModelessWindows.h"

#include <functional>

namespace {
class StayOnTopWindows : public MainWindowTest {
protected:
    void TearDown() override
    {
        FindR.reset();
        Symbol.reset();
        MainWindowTest::TearDown();
    }
};

bool InFrontOf(HWND window, HWND behind)
{
    for (HWND above = GetWindow(behind, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
        if (above == window)
            return true;
    }
    return false;
}
} // namespace

TEST_F(StayOnTopWindows, FindAndSymbolBelongToTheMainWindowAndStayInFrontOfIt)
{
    struct Case {
        const char* name;
        const char* command;
        std::function<TForm*()> window;
    };
    const Case cases[] = {
        {"Find", "mFindClick", [] { return FindR.get(); }},
        {"Symbol", "mSymbolClick", [] { return Symbol.get(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Main->RunHandler(c.command, nullptr);
        ASSERT_NE(c.window(), nullptr);
        const HWND window = c.window()->Handle();
        SetForegroundWindow(Main->Handle());
        SetActiveWindow(Main->Handle());
        Main->Tree->SetFocus();
        Application.ProcessMessages();
        EXPECT_EQ(GetWindow(window, GW_OWNER), Main->Handle());
        EXPECT_TRUE(IsWindowVisible(window));
        EXPECT_TRUE(InFrontOf(window, Main->Handle()));
    }
}

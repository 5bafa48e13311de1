// The main window's own keys, pressed through the real message loop.
#include "DateTime.h"
#include "FindDialog.h"
#include "Menus.h"
#include "ModelessWindows.h"
#include "PageTreeTest.h"
#include "ScriptedMessageBoxes.h"

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {
struct ShownPopup {
    TPopupMenu* menu;
    int x;
    int y;
};

// The menu loops the main window enters; each ends once it waits for input,
// as a menu bar called from the keyboard does.
int menuLoopsEntered = 0;

LRESULT CALLBACK CountAndEndMenuLoops(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_ENTERMENULOOP)
        ++menuLoopsEntered;
    if (code == HC_ACTION && call->message == WM_ENTERIDLE && call->wParam == MSGF_MENU)
        EndMenu();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

using HookHandle = std::unique_ptr<std::remove_pointer_t<HHOOK>, decltype(&UnhookWindowsHookEx)>;

class KeyboardCommands : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        SetPopupTracker([this](TPopupMenu& menu, int x, int y, HWND) -> UINT {
            popups_.push_back({&menu, x, y});
            return 0;
        });
        SetNowProvider([] { return EncodeDate(2024, 3, 9) + EncodeTime(14, 5, 0, 0); });
    }
    void TearDown() override
    {
        SetNowProvider(nullptr);
        SetPopupTracker(nullptr);
        FindR.reset();
        if (Application.Minimized())
            Application.Restore();
        PageTreeTest::TearDown();
    }
    bool Checked(const char* name) { return dynamic_cast<TMenuItem&>(*Main->FindComponent(name)).Checked(); }

    std::vector<ShownPopup> popups_;
};
}

TEST_F(KeyboardCommands, AltCtrlRDropsDownTheRecentFilesOfOpen)
{
    Tree().SetFocus();
    PressKey(Tree().Handle(), 'R', ssAlt | ssCtrl);
    ASSERT_EQ(popups_.size(), 1u);
    EXPECT_EQ(popups_[0].menu, Main->PopupMenuNamed("PopupReopen"));
}

TEST_F(KeyboardCommands, AltCtrlRInATitleOrPageLeavesItsTextAsItWas)
{
    // Ctrl and Alt are let go while the recent files show, so a character
    // made from the key after the menu closes would be a plain "r".
    SetPopupTracker([this](TPopupMenu& menu, int x, int y, HWND) -> UINT {
        popups_.push_back({&menu, x, y});
        LetGoOfModifiers();
        return 0;
    });
    Build("A");
    Select(N("A"));
    ASSERT_TRUE(N("A")->EditText());
    PressKey(Tree().EditHandle(), 'R', ssAlt | ssCtrl);
    ASSERT_TRUE(Tree().IsEditing());
    N("A")->EndEdit(false);
    EXPECT_EQ(N("A")->Text(), "A");

    Editor().SetFocus();
    PressKey(Editor().Handle(), 'R', ssAlt | ssCtrl);
    EXPECT_EQ(Editor().Text(), "A text");
    EXPECT_EQ(popups_.size(), 2u);
}

TEST_F(KeyboardCommands, AltInsAndAltEnterInThePageEditorLeaveTheMenuBarAlone)
{
    const HookHandle watch(SetWindowsHookExA(WH_CALLWNDPROC, CountAndEndMenuLoops, nullptr, GetCurrentThreadId()),
                           UnhookWindowsHookEx);
    constexpr LPARAM altHeld = LPARAM{1} << 29;
    const auto released = static_cast<LPARAM>(0xC0000001u);
    for (const WORD key : {VK_INSERT, VK_RETURN}) {
        Build("A,B");
        Select(N("A"));
        Editor().SetFocus();
        menuLoopsEntered = 0;
        SetKeyboardStateProvider([] { return ssAlt; });
        PostMessageA(Editor().Handle(), WM_SYSKEYDOWN, VK_MENU, altHeld | 1);
        PostMessageA(Editor().Handle(), WM_SYSKEYDOWN, key, altHeld | 1);
        Application.ProcessMessages();
        SetKeyboardStateProvider(nullptr);
        // Alt let go first, as it often is; the keys now go to the new title.
        ASSERT_TRUE(Tree().IsEditing()) << key;
        PostMessageA(Tree().EditHandle(), WM_KEYUP, VK_MENU, released);
        PostMessageA(Tree().EditHandle(), WM_KEYUP, key, released);
        Application.ProcessMessages();
        EXPECT_EQ(menuLoopsEntered, 0) << key;
    }
}

TEST_F(KeyboardCommands, AltCtrlNOAndPSwitchTheViewWithOrWithoutShift)
{
    Tree().SetFocus();
    const HWND tree = Tree().Handle();
    struct Row {
        WORD key;
        TShiftState shift;
        const char* view;
    } rows[] = {{'O', ssAlt | ssCtrl, "mOutline"},          {'P', ssAlt | ssCtrl | ssShift, "mPageOnly"},
                {'N', ssAlt | ssCtrl, "mNormal"},           {'P', ssAlt | ssCtrl, "mPageOnly"},
                {'O', ssAlt | ssCtrl | ssShift, "mOutline"}, {'N', ssAlt | ssCtrl | ssShift, "mNormal"}};
    for (const Row& row : rows) {
        PressKey(tree, row.key, row.shift);
        EXPECT_TRUE(Checked(row.view)) << row.view;
    }
}

TEST_F(KeyboardCommands, EscMinimisesOnlyWhenAskedAndNeverDuringATitleEdit)
{
    Build("A");
    Select(N("A"));
    Tree().SetFocus();
    PressKey(Tree().Handle(), VK_ESCAPE, 0);
    EXPECT_FALSE(Application.Minimized());
    OptionSettings.EscMinimize = true;
    ASSERT_TRUE(N("A")->EditText());
    PressKey(Tree().EditHandle(), VK_ESCAPE, 0);
    EXPECT_FALSE(Application.Minimized());
    EXPECT_FALSE(Tree().IsEditing());
    EXPECT_EQ(N("A")->Text(), "A");
    PressKey(Tree().Handle(), VK_ESCAPE, 0);
    EXPECT_TRUE(Application.Minimized());
}

TEST_F(KeyboardCommands, AltCtrlDInTheTreeAddsAPageTitledWithTheDate)
{
    struct Row {
        const char* format;
        std::string title;
    } rows[] = {{"yyyy-mm-dd hh:nn", "2024-03-09 14:05"}, {"", FormatDateTime("c", Now())}};
    for (const Row& row : rows) {
        Build("A");
        Select(N("A"));
        Tree().SetFocus();
        OptionSettings.DateTimeFormat = row.format;
        PressKey(Tree().Handle(), 'D', ssAlt | ssCtrl);
        ASSERT_EQ(N("A")->Count(), 1) << row.format;
        EXPECT_EQ(N("A")->getFirstChild()->Text(), row.title);
        EXPECT_EQ(Tree().Selected(), N("A")->getFirstChild());
        EXPECT_EQ(OutlineProperties.FileChanged, 1);
    }
}

TEST_F(KeyboardCommands, AltCtrlDInTheTreeKeepsThePageLimit)
{
    // A collapsed branch holds the bulk, so the control makes no items for it.
    Build("A");
    Tree().Items().BeginUpdate();
    TTreeNode* bulk = Tree().Items().AddChild(Root(), "bulk");
    while (Tree().Items().Count() < MaxPageCount)
        Tree().Items().AddChild(bulk, "p");
    Tree().Items().EndUpdate();
    Select(N("A"));
    Tree().SetFocus();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    PressKey(Tree().Handle(), 'D', ssAlt | ssCtrl);
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{PageCountLimitText});
    EXPECT_EQ(N("A")->Count(), 0);
}

TEST_F(KeyboardCommands, AltCtrlDInTheEditorInsertsTheDateAndTime)
{
    Build("A");
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelection(0, 1, false);
    OptionSettings.DateTimeFormat = "d/m/yyyy";
    PressKey(Editor().Handle(), 'D', ssAlt | ssCtrl);
    EXPECT_EQ(Editor().Text(), "9/3/2024 text");
    EXPECT_EQ(Editor().SelStart(), 8);
    EXPECT_EQ(Editor().SelLength(), 0);
}

TEST_F(KeyboardCommands, ShiftF10OpensOnePopupJustUnderTheSelectedTitle)
{
    Build("A,B,C");
    Select(N("B"));
    SetWindowPos(Main->Handle(), nullptr, 130, 90, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Tree().SetFocus();
    PressKey(Tree().Handle(), VK_F10, ssShift);
    ASSERT_EQ(popups_.size(), 1u);
    const RECT title = N("B")->DisplayRect(true);
    const POINT expected = Tree().ClientToScreen({title.left, title.bottom});
    EXPECT_EQ(popups_[0].menu, Main->PopupMenuNamed("PopupPage"));
    EXPECT_EQ(popups_[0].x, expected.x);
    EXPECT_EQ(popups_[0].y, expected.y);
    EXPECT_GT(expected.x, 130);

    Editor().SetFocus();
    Editor().SetSelection(0, 1, false);
    PressKey(Editor().Handle(), VK_F10, ssShift);
    ASSERT_EQ(popups_.size(), 2u);
    EXPECT_EQ(popups_[1].menu, Main->PopupMenuNamed("PopupSel"));
}

TEST_F(KeyboardCommands, CtrlFShowsTheFindWindowAndF3SearchesAgain)
{
    Build("A,B");
    PageDataOf(N("B"))->SetBodyText("needle");
    Select(N("A"));
    Tree().SetFocus();
    PressKey(Tree().Handle(), 'F', ssCtrl);
    TFindR* find = FindRWindow();
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(FindWindowIsActive());
    find->Edit.SetText("needle");
    PressKey(GetWindow(find->Edit.Handle(), GW_CHILD), VK_F3, 0);
    EXPECT_EQ(Tree().Selected(), N("B"));
    EXPECT_EQ(Editor().SelLength(), 6);
}

TEST_F(KeyboardCommands, AltF4WithAChangedOutlineAsksOnce)
{
    Build("A");
    OutlineProperties.FileChanged = 1;
    Editor().SetFocus();
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDCANCEL);
    PressKey(Editor().Handle(), VK_F4, ssAlt);
    EXPECT_EQ(boxes.Shown().size(), 1u);
    EXPECT_FALSE(Main->Closed());
}

TEST_F(KeyboardCommands, TabLeavesThePageEditorAndEveryEnterStillMakesALine)
{
    Build("A");
    Select(N("A"));
    const HWND editor = Editor().Handle();
    const struct {
        const char* name;
        WORD key;
        TShiftState shift;
    } enters[] = {
        {"Enter", VK_RETURN, 0},
        {"Shift+Enter", VK_RETURN, ssShift},
        {"Ctrl+Enter", VK_RETURN, ssCtrl},
    };
    for (TShiftState tabShift : {TShiftState{}, TShiftState{ssShift}}) {
        for (const auto& enter : enters) {
            SCOPED_TRACE(std::string(tabShift ? "Shift+Tab, " : "Tab, ") + enter.name);
            Editor().SetFocus();
            Editor().SetText("aaa\r\nbbb");
            Editor().SetSelStart(Editor().TextLength());
            PressKey(editor, VK_TAB, tabShift);
            EXPECT_NE(GetFocus(), editor);
            EXPECT_EQ(Editor().Text(), "aaa\r\nbbb");
            Editor().SetFocus();
            Editor().SetSelStart(Editor().TextLength());
            PressKey(editor, enter.key, enter.shift);
            TypeText(editor, "ccc");
            EXPECT_EQ(Editor().Text(), "aaa\r\nbbb\r\nccc");
        }
    }
}

TEST_F(KeyboardCommands, F2OpensTheTitleEditorAgainAfterAnEditEndedByEscOrEnter)
{
    Build("Lisbon,Porto");
    Select(N("Lisbon"));
    Tree().SetFocus();
    for (WORD ending : {VK_ESCAPE, VK_RETURN}) {
        SCOPED_TRACE(ending == VK_ESCAPE ? "Esc" : "Enter");
        PressKey(Tree().Handle(), VK_F2, 0);
        ASSERT_TRUE(Tree().IsEditing());
        TypeText(Tree().EditHandle(), " old");
        PressKey(Tree().EditHandle(), ending, 0);
        ASSERT_FALSE(Tree().IsEditing());
        PressKey(Tree().Handle(), VK_F2, 0);
        ASSERT_TRUE(Tree().IsEditing());
        SetWindowTextA(Tree().EditHandle(), "");
        TypeText(Tree().EditHandle(), "Lisbon old town");
        PressKey(Tree().EditHandle(), VK_RETURN, 0);
        EXPECT_EQ(N("Lisbon")->Text(), "Lisbon old town");
        EXPECT_EQ(N("Lisbon")->StateIndex(), 1);
        EXPECT_EQ(Tree().Selected(), N("Lisbon"));
        N("Lisbon")->SetText("Lisbon");
    }
}

TEST_F(KeyboardCommands, SavingDuringATitleEditSavesTheTitleAsTyped)
{
    const struct {
        const char* name;
        std::function<void(const std::string& path)> save;
    } saves[] = {
        {"Ctrl+S", [](const std::string&) { PressKey(GetFocus(), 'S', ssCtrl); }},
        {"save a copy", [](const std::string& path) { EXPECT_TRUE(SaveOutline(path, OutlineSaveMode::Copy)); }},
    };
    for (const auto& c : saves) {
        SCOPED_TRACE(c.name);
        const std::string path = SavedOutline("Titles.kbf", "Notes");
        Select(Root()->getFirstChild());
        Tree().SetFocus();
        PressKey(Tree().Handle(), VK_F2, 0);
        ASSERT_TRUE(Tree().IsEditing());
        TypeText(Tree().EditHandle(), "Echo renamed");
        c.save(path);
        EXPECT_FALSE(Tree().IsEditing());
        KbfOutline outline;
        ASSERT_EQ(ReadKbfBytes(ReadFileBytes(path), outline), KbfReadResult::Ok);
        ASSERT_EQ(outline.pages.size(), 2u);
        EXPECT_EQ(outline.pages[1].title, "Echo renamed");
    }
}

// The main window as a person meets it: every menu item, popup item and
// toolbar button in place, and keys and menus reaching their handlers through
// the real message loop.
#include "Application.h"
#include "ComponentCursors.h"
#include "Cursors.h"
#include "Exceptions.h"
#include "HtmlHelp.h"
#include "ProgramFolder.h"
#include "KeyboardState.h"
#include "PressKey.h"
#include "Main.h"
#include "MainWindowTables.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "ToolBar.h"
#include "TreeView.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {
class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        Application.SetTitle("Untitled - Corvane Quillo");
        Application.SetHelpFile("Quillo.chm");
        Application.CreateForm<TMain>();
    }
    void TearDown() override
    {
        SetKeyboardStateProvider(nullptr);
        Application.DestroyForms();
        Application.Initialize();
    }

    TMenuItem* Item(const char* name) const { return dynamic_cast<TMenuItem*>(Main->FindComponent(name)); }

    int Counter(const std::string& handler)
    {
        auto count = std::make_shared<int>(0);
        counts_.push_back(count);
        Main->SetHandler(handler, [count](TComponent*) { ++*count; });
        return static_cast<int>(counts_.size()) - 1;
    }
    int Count(int counter) const { return *counts_[static_cast<size_t>(counter)]; }

    std::vector<std::shared_ptr<int>> counts_;
};

std::string ParentName(const TMenuItem& item)
{
    if (item.Parent() && item.Parent()->Parent())
        return item.Parent()->Name();
    return item.ParentMenu() ? item.ParentMenu()->Name() : "";
}
}

TEST_F(MainWindow, EveryMenuItemIsInPlaceAsTheTablesSay)
{
    std::vector<MenuItemSpec> all(MainMenuItems().begin(), MainMenuItems().end());
    all.insert(all.end(), PopupMenuItems().begin(), PopupMenuItems().end());
    for (const MenuItemSpec& spec : all) {
        SCOPED_TRACE(spec.name);
        TMenuItem* item = Item(spec.name);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(ParentName(*item), spec.parent);
        EXPECT_EQ(item->Caption(), spec.caption);
        EXPECT_EQ(item->ShortCutText(), spec.shortcut);
        EXPECT_EQ(item->Hint, spec.hint);
        // The start-up refresh sets the commands for a new outline with its
        // root page selected: nothing to revert to, no history, no page above
        // or beside the root, nothing to move, the root is never deleted, and
        // the empty page has nothing to undo and no selection to cut, copy or
        // change the case of.
        const std::string name = spec.name;
        const bool moveCommand = name != "mMove" && name != "ppMove" &&
                                 (name.rfind("mMove", 0) == 0 || name.rfind("ppMove", 0) == 0);
        const bool offAtStart =
            moveCommand || std::set<std::string>{"mRevert", "mBack", "mForward", "mUponelevel", "mAddPage", "mDelete", "mUndo", "mCut",
                                  "mCopy", "mCase"}
                .count(name);
        // A command whose handler is not written yet starts disabled.
        const bool built = item->Count() > 0 || !*spec.handler || Main->HasHandler(spec.handler);
        EXPECT_EQ(item->Enabled(), !(spec.flags & miDisabled) && !offAtStart && built);
        EXPECT_EQ(item->Visible(), !(spec.flags & miHidden));
        EXPECT_EQ(item->Checked(), (spec.flags & miChecked) != 0);
        EXPECT_EQ(item->RadioItem(), (spec.flags & miRadio) != 0);
        EXPECT_EQ(item->Default(), (spec.flags & miDefault) != 0);
    }
}

TEST_F(MainWindow, TheProgramsOwnTextsStayAsTheyAre)
{
    EXPECT_EQ(Item("mNew")->Hint, "Cteates new outline");
    EXPECT_EQ(Item("mNewWindow")->Hint, "Open a new inctance of Quillo");
    EXPECT_EQ(Item("mStatusbar")->Hint, "Shows\\Hides statusbar");
    EXPECT_EQ(Item("mBack")->Hint, "Goes to the previous page in the histroy");
    EXPECT_EQ(Item("mFindNext")->Hint, "Repeates last find operation");
    EXPECT_EQ(Item("mFile")->Hint, "Inserts an exisitng text file");
    EXPECT_EQ(Item("mExit")->ShortCutText(), "Alt+F4");
    EXPECT_EQ(Item("mMoveRight")->ShortCutText(), "Ctrl+Alt+Right");
    EXPECT_EQ(Item("mAddPage")->ShortCutText(), "Alt+Enter");
    EXPECT_EQ(Item("psSortWholeOutline")->Hint,
              "Check this options, to sort the whole outline, instead will be sorted the immediate sub pages only");
    // The menu bar shows the six top-level menus.
    EXPECT_EQ(GetMenuItemCount(GetMenu(Main->Handle())), 6);
    // Hidden items have no entry: "None" is the only entry of Reopen at start,
    // and the Back and Forward drop-downs have none until they are filled.
    EXPECT_EQ(GetMenuItemCount(Item("mReopen")->Handle()), 1);
    EXPECT_EQ(GetMenuItemCount(Main->PopupMenuNamed("PopupBack")->Handle()), 0);
    EXPECT_EQ(GetMenuItemCount(Main->PopupMenuNamed("PopupForward")->Handle()), 0);
}

TEST_F(MainWindow, EveryToolbarButtonIsInPlace)
{
    int buttons = 0;
    for (const ToolButtonSpec& spec : ToolbarButtons()) {
        if (spec.flags & tbSeparator)
            continue;
        SCOPED_TRACE(spec.name);
        auto* button = dynamic_cast<TToolButton*>(Main->FindComponent(spec.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->Hint, spec.hint);
        EXPECT_EQ(button->ImageIndex(), spec.imageIndex);
        // The start-up refresh lets Paste put the clipboard into the page.
        const bool onAtStart = std::string(spec.name) == "bPaste";
        EXPECT_EQ(button->Enabled(), (onAtStart || !(spec.flags & tbDisabled)) && Main->HasHandler(spec.handler));
        const bool dropDown = (spec.flags & tbDropDown) != 0;
        EXPECT_EQ(button->Style() == TToolButtonStyle::tbsDropDown, dropDown);
        if (dropDown) {
            ASSERT_NE(button->DropdownMenu, nullptr);
            EXPECT_EQ(button->DropdownMenu->Name(), spec.dropDownMenu);
        }
        ++buttons;
    }
    EXPECT_EQ(buttons, 18);
    EXPECT_EQ(Main->Toolbar->ButtonCount(), 24);
}

TEST_F(MainWindow, TheWindowIsLaidOutWithEveryControlInPlace)
{
    EXPECT_EQ(Main->Caption(), "Untitled - Corvane Quillo");
    // The window and the tree take their sizes from the settings at start.
    const RECT client = Main->ClientRect();
    const RECT bounds = Main->NormalBounds();
    EXPECT_EQ(bounds.right - bounds.left, UserSettings.Width);
    EXPECT_EQ(bounds.bottom - bounds.top, UserSettings.Height);
    EXPECT_EQ(Main->Toolbar->Top(), 0);
    EXPECT_EQ(Main->Toolbar->Height(), 26);
    EXPECT_EQ(Main->Tree->Left(), 0);
    EXPECT_EQ(Main->Tree->Top(), 26);
    EXPECT_EQ(Main->Tree->Width(), UserSettings.TreeWidth);
    EXPECT_EQ(Main->Splitter->Left(), UserSettings.TreeWidth);
    EXPECT_EQ(Main->Splitter->Width(), 4);
    EXPECT_EQ(Main->RichEdit->Left(), UserSettings.TreeWidth + 4);
    EXPECT_EQ(Main->RichEdit->Left() + Main->RichEdit->Width(), client.right);
    EXPECT_EQ(Main->StatusBar->Top() + Main->StatusBar->Height(), client.bottom);
    EXPECT_EQ(Main->RichEdit->Top() + Main->RichEdit->Height(), Main->StatusBar->Top());
    EXPECT_FALSE(Main->Rich->Visible());
    // Pages are plain text: the editor and the converter run in plain-text mode.
    EXPECT_TRUE(Main->RichEdit->PlainText());
    EXPECT_TRUE(Main->Rich->PlainText());
    EXPECT_EQ(Main->RichEdit->UndoLimit(), 1);
    EXPECT_FALSE(Main->RichEdit->HideSelection());
    EXPECT_FALSE(Main->Tree2->Visible());
    EXPECT_EQ(Main->Tree->Items().Count(), 1);
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "Untitled");
    EXPECT_EQ(Main->StatusBar->Panel(1).Text(), "Level: 0");
    // The first panel takes what the other two leave.
    EXPECT_EQ(Main->StatusBar->Panel(0).Width(), Main->StatusBar->Width() - 100);
    EXPECT_EQ(Main->StatusBar->Panel(1).Width(), 80);
    EXPECT_EQ(Main->StatusBar->Panel(2).Width(), 20);
    EXPECT_EQ(Main->PopupMenuNamed("StatePopup")->AutoPopup, false);
    EXPECT_EQ(Main->RichEdit->PopupMenu(), Main->PopupMenuNamed("PopupEdit"));
    // The default options show the notification icon and hide a minimised
    // window in it.
    EXPECT_EQ(Main->FindComponent("Tray"), &Main->Tray);
    EXPECT_EQ(Main->Tray.PopupMenu, Main->PopupMenuNamed("PopupTray"));
    EXPECT_EQ(Main->Tray.RestoreOn, arLeftClickUp);
    EXPECT_EQ(Main->Tray.PopupMenuOn, arRightClickUp);
    EXPECT_TRUE(Main->Tray.Hide());
    EXPECT_TRUE(Main->Tray.Visible());
}

TEST_F(MainWindow, CtrlSInTheEditorReachesSave)
{
    const int saves = Counter("mSaveClick");
    Main->RichEdit->SetFocus();
    PressKey(Main->RichEdit->Handle(), 'S', ssCtrl);
    EXPECT_EQ(Count(saves), 1);
}

TEST_F(MainWindow, PasteFollowsItsShortcutWhenItChanges)
{
    const int pastes = Counter("mPasteClick");
    // As the Edit menu's refresh does once Paste has its handler.
    Main->EnableCommand("mPaste", true);
    Main->RichEdit->SetFocus();
    PressKey(Main->RichEdit->Handle(), 'V', ssCtrl);
    EXPECT_EQ(Count(pastes), 1);
    Item("mPaste")->SetShortCutText("Ins");
    PressKey(Main->RichEdit->Handle(), VK_INSERT, 0);
    EXPECT_EQ(Count(pastes), 2);
    PressKey(Main->RichEdit->Handle(), 'V', ssCtrl);
    EXPECT_EQ(Count(pastes), 2);
}

TEST_F(MainWindow, EveryHandlerNamedIsRegistered)
{
    // Named by code rather than by a table row.
    std::set<std::string> named = {"RichEditSelectionChange", "TrayLButtonUp", "mToolbarClick", "mOutlineClick",
                                   "mPageOnlyClick"};
    for (const auto& items : {MainMenuItems(), PopupMenuItems()}) {
        for (const MenuItemSpec& item : items)
            named.insert(item.handler);
    }
    for (const ToolButtonSpec& button : ToolbarButtons())
        named.insert(button.handler);
    for (const PopupRefreshSpec& popup : PopupRefreshHandlers())
        named.insert(popup.handler);
    named.erase("");

    for (const std::string& name : named)
        EXPECT_TRUE(Main->HasHandler(name)) << name << " is misspelt or not registered";
    EXPECT_THROW(Main->RunHandler("mSaveClik", nullptr), Exception);
}

TEST_F(MainWindow, CtrlAInThePageEditorSelectsTheWholePage)
{
    const std::string text = "the whole page";
    Main->RichEdit->SetText(text);
    Main->RichEdit->SetFocus();
    PressKey(Main->RichEdit->Handle(), 'A', ssCtrl);
    EXPECT_EQ(Main->RichEdit->SelStart(), 0);
    EXPECT_GE(Main->RichEdit->SelLength(), static_cast<int>(text.size()));
}

TEST_F(MainWindow, OpeningTheFileMenuRunsItsRefresh)
{
    const int refreshes = Counter("FileClick");
    SendMessageA(Main->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Item("File")->Handle()), 0);
    EXPECT_EQ(Count(refreshes), 1);
}

TEST_F(MainWindow, AHighlightedMenuItemShowsItsHintInTheStatusBar)
{
    TMenuItem* open = Item("mOpen");
    SendMessageA(Main->Handle(), WM_MENUSELECT, MAKEWPARAM(open->Command(), MF_STRING),
                 reinterpret_cast<LPARAM>(Item("File")->Handle()));
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "Opens an existing outline");
}

TEST_F(MainWindow, OnePressOfAltF4ClosesOnce)
{
    int queries = 0;
    Main->OnCloseQuery = [&](bool& canClose) {
        ++queries;
        canClose = false;
    };
    Main->RichEdit->SetFocus();
    PressKey(Main->RichEdit->Handle(), VK_F4, ssAlt);
    EXPECT_EQ(queries, 1);
    EXPECT_FALSE(Main->Closed());
}

TEST_F(MainWindow, AScreenshotIsKeptForPeopleToLookAt)
{
    Main->Update();
    Application.ProcessMessages();
    RECT window{};
    GetWindowRect(Main->Handle(), &window);
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, window.left, window.top, SRCCOPY);
    SelectObject(memory, previous);
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + size), 0, 0,
                          static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))};
    // Beside the test programs, in the build tree.
    std::ofstream out(ExeFolder() + "main-window.bmp", std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), static_cast<std::streamsize>(size));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    EXPECT_TRUE(out.good());
}

TEST_F(MainWindow, TheProgramsCursorsAreInTheScreensTable)
{
    RegisterComponentCursors();
    for (int number : {1, 2, 3, 4, 5, 6, 7, 8, 9, crHandCursor, crDragCursor}) {
        SCOPED_TRACE(number);
        EXPECT_NE(ScreenCursor(number), ScreenCursor(crDefault));
    }
}

namespace {
// Stands in for the help viewer and records what it was asked to show.
struct HelpViewerRecorder {
    struct Call {
        std::string file;
        UINT command;
    };
    static inline std::vector<Call> calls;
    static HWND WINAPI Viewer(HWND, LPCSTR file, UINT command, DWORD_PTR)
    {
        calls.push_back({file ? file : "", command});
        return nullptr;
    }
    HelpViewerRecorder()
    {
        calls.clear();
        HtmlHelpHooks hooks;
        hooks.loadLibrary = [] { return GetModuleHandleA(nullptr); };
        hooks.findEntry = [](HMODULE) { return &HelpViewerRecorder::Viewer; };
        hooks.freeLibrary = [](HMODULE) {};
        SetHtmlHelpHooks(hooks);
    }
    ~HelpViewerRecorder() { SetHtmlHelpHooks({}); }
};
}

TEST_F(MainWindow, F1OpensTheHelpFileBesideTheProgram)
{
    HelpViewerRecorder viewer;
    Main->RichEdit->SetFocus();
    PressKey(Main->RichEdit->Handle(), VK_F1, 0);
    ASSERT_EQ(HelpViewerRecorder::calls.size(), 1u);
    EXPECT_EQ(HelpViewerRecorder::calls[0].file, ExeFolder() + "Quillo.chm");
    EXPECT_EQ(HelpViewerRecorder::calls[0].command, HelpDisplayContents);
    Main->RunHandler("mShortcutsClick", nullptr);
    ASSERT_EQ(HelpViewerRecorder::calls.size(), 2u);
    EXPECT_EQ(HelpViewerRecorder::calls[1].file, ExeFolder() + "Quillo.chm::/html/shortcuts.htm>Topic");
}

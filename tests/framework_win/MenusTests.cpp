#include "Application.h"
#include "Exceptions.h"
#include "Form.h"
#include "KeyboardState.h"
#include "Menus.h"
#include "ShortCut.h"

#include "ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {
class MenuForm : public TForm {
public:
    MenuForm()
    {
        CreateParams params;
        params.caption = "Menu form";
        CreateHandle(params);
    }
};

// A control with no context menu of its own.
class PlainBox : public TControl {
public:
    explicit PlainBox(TForm& form) : TControl(&form, &form)
    {
        CreateHandle(RegisterPlainClass("QuilloTestPlainBox"), WS_VISIBLE, 0);
        SetBounds(10, 40, 100, 40);
    }
};

class EditBox : public TControl {
public:
    explicit EditBox(TForm& form) : TControl(&form, &form)
    {
        CreateHandle("EDIT", WS_VISIBLE | WS_TABSTOP | WS_BORDER, 0);
        SetBounds(10, 10, 200, 24);
    }
};

const MenuItemSpec TestMenu[] = {
    {"File", "Menu", "&File", "", "FileClick", 0, "Contains commands for the outline"},
    {"mOpen", "File", "&Open...", "Ctrl+O", "OpenClick", 0, "Opens an existing outline"},
    {"mReopen", "File", "&Reopen", "", "", 0, ""},
    {"mNone", "mReopen", "None", "", "", miDisabled, ""},
    {"m0", "mReopen", "", "", "RecentClick", miHidden, ""},
    {"m1", "mReopen", "", "", "RecentClick", miHidden, ""},
    {"mSave", "File", "&Save", "Ctrl+S", "SaveClick", 0, "Saves current outline"},
    {"mExit", "File", "E&xit", "Alt+F4", "ExitClick", 0, "Exits"},
    {"Edit", "Menu", "&Edit", "", "EditClick", 0, "Contains commands for editing"},
    {"mPaste", "Edit", "&Paste", "Ctrl+V", "PasteClick", 0, "Pastes"},
    {"mAddPage", "Edit", "S&ibling Page", "Alt+Enter", "AddPageClick", 0, ""},
    {"mMove", "Edit", "&Move", "", "", 0, ""},
    {"mMoveUp", "mMove", "&Up", "Ctrl+Alt+Up", "MoveUpClick", 0, "Moves the page up"},
    {"View", "Menu", "&View", "", "", 0, ""},
    {"mNormal", "View", "&Normal", "", "NormalClick", miChecked | miRadio, ""},
    {"mOutline", "View", "&Outline", "", "OutlineClick", miRadio, ""},
    {"mToolbar", "View", "&Toolbar", "", "", miChecked, ""},
    {"mGone", "View", "&Gone", "", "", miDisabled, ""},
};

const MenuItemSpec TestPopups[] = {
    {"ptOpen", "PopupTray", "&Open", "", "OpenClick", miDefault, ""},
    {"ptExit", "PopupTray", "E&xit", "", "ExitClick", 0, "Leaves"},
    {"ptMore", "PopupTray", "&More", "", "", 0, ""},
    {"ptAbout", "ptMore", "&About", "", "AboutClick", 0, ""},
};

const char* const TestPopupNames[] = {"PopupTray"};

struct Entry {
    std::string text;
    UINT type = 0;
    UINT state = 0;
    UINT id = 0;
    HMENU submenu = nullptr;
};

Entry ReadEntry(HMENU menu, int position)
{
    char buffer[256] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
    info.dwTypeData = buffer;
    info.cch = sizeof buffer;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info)) << "entry " << position;
    return Entry{buffer, info.fType, info.fState, info.wID, info.hSubMenu};
}

std::vector<std::string> EntryTexts(HMENU menu)
{
    std::vector<std::string> texts;
    for (int position = 0; position < GetMenuItemCount(menu); ++position)
        texts.push_back(ReadEntry(menu, position).text);
    return texts;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Application.Initialize();
        menu.SetName("Menu");
        popups = CreatePopupMenus(&form, TestPopupNames);
        const THandlerResolver resolve = [this](const std::string& handler) -> TNotifyEvent {
            return [this, handler](TComponent* sender) {
                ++clicks[handler];
                senders.push_back(sender);
            };
        };
        BuildMenuItems(&form, TestMenu, resolve);
        BuildMenuItems(&form, TestPopups, resolve);
        form.SetMenu(&menu);
    }

    void TearDown() override
    {
        SetKeyboardStateProvider(nullptr);
        SetPopupTracker(nullptr);
        Application.OnHint = nullptr;
        Application.SetHint("");
    }

    TMenuItem& Item(const char* name)
    {
        auto* item = dynamic_cast<TMenuItem*>(form.FindComponent(name));
        if (!item)
            throw Exception(std::string("no item ") + name);
        return *item;
    }

    TPopupMenu& Popup() { return *popups.front(); }

    // Hands a key to the real message loop, as if typed into the edit box.
    void PressKey(EditBox& edit, WORD key, TShiftState shift)
    {
        SetKeyboardStateProvider([shift] { return shift; });
        PostMessageA(edit.Handle(), (shift & ssAlt) ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 0);
        Application.ProcessMessages();
        SetKeyboardStateProvider(nullptr);
    }

    MenuForm form;
    TMainMenu menu{&form};
    std::vector<std::unique_ptr<TPopupMenu>> popups;
    std::map<std::string, int> clicks;
    std::vector<TComponent*> senders;
};
}

// --- Shortcut texts ------------------------------------------------------------

TEST(ShortCutText, TheProgramsShortcutsReadBackAsWritten)
{
    for (const char* text : {"Ctrl+O", "Ctrl+S", "Alt+F4", "Ctrl+Alt+Up", "Ctrl+Alt+Down", "Ctrl+Alt+Left",
                             "Ctrl+Alt+Right", "F2", "F1", "F3", "F5", "F6", "Ins", "Alt+Enter", "Alt+Ins", "Ctrl+Z",
                             "Ctrl+K", "Del", "Esc", "Shift+F10", "Num +", "Ctrl+Num 5", "PgDn", "Space", "Ctrl+0"}) {
        const TShortCut shortCut = TextToShortCut(text);
        EXPECT_NE(shortCut, scNone) << text;
        EXPECT_EQ(ShortCutToText(shortCut), text);
    }
}

TEST(ShortCutText, KeysAndModifiersArePackedAndUnpacked)
{
    EXPECT_EQ(TextToShortCut("Ctrl+S"), MakeShortCut('S', ssCtrl));
    EXPECT_EQ(TextToShortCut("Alt+F4"), MakeShortCut(VK_F4, ssAlt));
    EXPECT_EQ(TextToShortCut("Ins"), MakeShortCut(VK_INSERT, 0));
    EXPECT_EQ(TextToShortCut("Ctrl+Alt+Up"), MakeShortCut(VK_UP, ssCtrl | ssAlt));
    EXPECT_EQ(ShortCutKey(TextToShortCut("Alt+Enter")), VK_RETURN);
    EXPECT_EQ(ShortCutShiftState(TextToShortCut("Ctrl+Shift+X")), ssCtrl | ssShift);
    // Mouse buttons and the double click do not belong to a shortcut.
    EXPECT_EQ(MakeShortCut('S', ssCtrl | ssLeft | ssDouble), MakeShortCut('S', ssCtrl));
}

TEST(ShortCutText, ReadingIgnoresCaseModifierOrderAndOtherSpellings)
{
    EXPECT_EQ(TextToShortCut("ctrl+s"), TextToShortCut("Ctrl+S"));
    EXPECT_EQ(TextToShortCut("Alt+Ctrl+Up"), TextToShortCut("Ctrl+Alt+Up"));
    EXPECT_EQ(ShortCutToText(TextToShortCut("Ctrl+Shift+X")), "Shift+Ctrl+X");
    EXPECT_EQ(TextToShortCut("Insert"), TextToShortCut("Ins"));
    EXPECT_EQ(TextToShortCut("Control+Return"), TextToShortCut("Ctrl+Enter"));
}

TEST(ShortCutText, NothingAndUnknownKeysGiveNoShortcut)
{
    EXPECT_EQ(TextToShortCut(""), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+"), scNone);
    EXPECT_EQ(TextToShortCut("Ctrl+Bogus"), scNone);
    EXPECT_EQ(TextToShortCut("F25"), scNone);
    EXPECT_EQ(ShortCutToText(scNone), "");
}

// --- Building and showing ------------------------------------------------------

TEST_F(MenuTest, TheMenuBarShowsTheTopLevelItemsWithTheirSubmenus)
{
    ASSERT_EQ(GetMenu(form.Handle()), menu.Handle());
    EXPECT_EQ(EntryTexts(menu.Handle()), (std::vector<std::string>{"&File", "&Edit", "&View"}));
    EXPECT_EQ(ReadEntry(menu.Handle(), 0).submenu, Item("File").Handle());
    EXPECT_EQ(ReadEntry(menu.Handle(), 1).submenu, Item("Edit").Handle());
    EXPECT_EQ(Item("mOpen").Parent(), &Item("File"));
    EXPECT_EQ(Item("File").Parent(), &menu.Items());
    EXPECT_EQ(Item("mMoveUp").ParentMenu(), &menu);
    EXPECT_EQ(Item("ptAbout").ParentMenu(), &Popup());
    EXPECT_EQ(Item("mOpen").Handle(), nullptr);
}

TEST_F(MenuTest, CaptionsStayAsWrittenWithTheShortcutAfterATab)
{
    EXPECT_EQ(EntryTexts(Item("File").Handle()),
              (std::vector<std::string>{"&Open...\tCtrl+O", "&Reopen", "&Save\tCtrl+S", "E&xit\tAlt+F4"}));
    EXPECT_EQ(EntryTexts(Item("Edit").Handle()),
              (std::vector<std::string>{"&Paste\tCtrl+V", "S&ibling Page\tAlt+Enter", "&Move"}));
    EXPECT_EQ(EntryTexts(Item("mMove").Handle()), (std::vector<std::string>{"&Up\tCtrl+Alt+Up"}));
    EXPECT_EQ(Item("mSave").ShortCutText(), "Ctrl+S");
    EXPECT_EQ(Item("mSave").Caption(), "&Save");
    EXPECT_EQ(Item("mSave").Hint, "Saves current outline");
    EXPECT_EQ(ReadEntry(Item("File").Handle(), 2).id, Item("mSave").Command());
}

TEST_F(MenuTest, CheckedRadioDefaultAndDisabledStatesShowInTheMenu)
{
    const HMENU view = Item("View").Handle();
    const Entry normal = ReadEntry(view, 0);
    EXPECT_TRUE(normal.state & MFS_CHECKED);
    EXPECT_TRUE(normal.type & MFT_RADIOCHECK);
    const Entry outline = ReadEntry(view, 1);
    EXPECT_FALSE(outline.state & MFS_CHECKED);
    EXPECT_TRUE(outline.type & MFT_RADIOCHECK);
    const Entry toolbar = ReadEntry(view, 2);
    EXPECT_TRUE(toolbar.state & MFS_CHECKED);
    EXPECT_FALSE(toolbar.type & MFT_RADIOCHECK);
    EXPECT_TRUE(ReadEntry(view, 3).state & MFS_GRAYED);
    EXPECT_TRUE(GetMenuState(view, Item("mGone").Command(), MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(Item("mGone").Enabled());
    EXPECT_TRUE(ReadEntry(Popup().Handle(), 0).state & MFS_DEFAULT);
    EXPECT_FALSE(ReadEntry(Popup().Handle(), 1).state & MFS_DEFAULT);
    EXPECT_TRUE(Item("ptOpen").Default());

    Item("mGone").SetEnabled(true);
    EXPECT_FALSE(GetMenuState(view, Item("mGone").Command(), MF_BYCOMMAND) & MF_GRAYED);
    Item("mToolbar").SetChecked(false);
    EXPECT_FALSE(ReadEntry(view, 2).state & MFS_CHECKED);
}

TEST_F(MenuTest, CheckingARadioItemUnchecksTheOthersOfItsGroupOnly)
{
    Item("mOutline").SetChecked(true);
    EXPECT_TRUE(Item("mOutline").Checked());
    EXPECT_FALSE(Item("mNormal").Checked());
    EXPECT_TRUE(Item("mToolbar").Checked());
    const HMENU view = Item("View").Handle();
    EXPECT_FALSE(ReadEntry(view, 0).state & MFS_CHECKED);
    EXPECT_TRUE(ReadEntry(view, 1).state & MFS_CHECKED);
    EXPECT_TRUE(ReadEntry(view, 2).state & MFS_CHECKED);

    Item("mNormal").SetGroupIndex(1);
    Item("mNormal").SetChecked(true);
    EXPECT_TRUE(Item("mOutline").Checked());
}

TEST_F(MenuTest, HiddenItemsHaveNoEntryButKeepTheirPlace)
{
    const HMENU reopen = Item("mReopen").Handle();
    EXPECT_EQ(EntryTexts(reopen), (std::vector<std::string>{"None"}));
    EXPECT_EQ(Item("mReopen").Count(), 3);
    EXPECT_EQ(Item("m0").MenuIndex(), 1);
    EXPECT_EQ(Item("m1").MenuIndex(), 2);
    EXPECT_FALSE(Item("m0").Visible());

    Item("m1").SetCaption("&2 B.kbf");
    Item("m1").SetVisible(true);
    EXPECT_EQ(EntryTexts(reopen), (std::vector<std::string>{"None", "&2 B.kbf"}));
    Item("m0").SetCaption("&1 A.kbf");
    Item("m0").SetVisible(true);
    EXPECT_EQ(EntryTexts(reopen), (std::vector<std::string>{"None", "&1 A.kbf", "&2 B.kbf"}));
    Item("mNone").SetVisible(false);
    EXPECT_EQ(EntryTexts(reopen), (std::vector<std::string>{"&1 A.kbf", "&2 B.kbf"}));
    EXPECT_EQ(Item("m0").MenuIndex(), 1);
    EXPECT_EQ(ReadEntry(reopen, 0).id, Item("m0").Command());
    // A hidden item's changes show once it is back.
    Item("mNone").SetCaption("(empty)");
    Item("mNone").SetVisible(true);
    EXPECT_EQ(EntryTexts(reopen), (std::vector<std::string>{"(empty)", "&1 A.kbf", "&2 B.kbf"}));
    EXPECT_TRUE(ReadEntry(reopen, 0).state & MFS_GRAYED);
}

TEST_F(MenuTest, HidingATopLevelItemTakesItsMenuOffTheBarAndShowingPutsItBack)
{
    Item("Edit").SetVisible(false);
    EXPECT_EQ(EntryTexts(menu.Handle()), (std::vector<std::string>{"&File", "&View"}));
    Item("Edit").SetVisible(true);
    EXPECT_EQ(EntryTexts(menu.Handle()), (std::vector<std::string>{"&File", "&Edit", "&View"}));
    EXPECT_EQ(ReadEntry(menu.Handle(), 1).submenu, Item("Edit").Handle());
    EXPECT_EQ(EntryTexts(Item("Edit").Handle()).size(), 3u);
}

TEST_F(MenuTest, ChangingAnItemWithASubmenuKeepsTheSubmenu)
{
    Item("mReopen").SetCaption("Re&open");
    Item("mReopen").SetEnabled(false);
    const Entry entry = ReadEntry(Item("File").Handle(), 1);
    EXPECT_EQ(entry.text, "Re&open");
    EXPECT_EQ(entry.submenu, Item("mReopen").Handle());
    EXPECT_TRUE(entry.state & MFS_GRAYED);
    EXPECT_TRUE(IsMenu(Item("mReopen").Handle()));
}

TEST_F(MenuTest, ItemsAddedInsertedAndRemovedAtRunTime)
{
    TMenuItem& file = Item("File");
    auto added = std::make_unique<TMenuItem>(&form);
    added->SetName("mAdded");
    added->SetCaption("&Added");
    TMenuItem* inserted = file.Insert(1, std::move(added));
    EXPECT_EQ(form.FindComponent("mAdded"), inserted);
    EXPECT_EQ(EntryTexts(file.Handle())[1], "&Added");
    EXPECT_EQ(inserted->MenuIndex(), 1);
    EXPECT_EQ(Item("mReopen").MenuIndex(), 2);

    // A first child turns a plain item into a submenu.
    auto child = std::make_unique<TMenuItem>(&form);
    child->SetCaption("Child");
    inserted->Add(std::move(child));
    EXPECT_NE(inserted->Handle(), nullptr);
    EXPECT_EQ(ReadEntry(file.Handle(), 1).submenu, inserted->Handle());
    std::unique_ptr<TMenuItem> taken = inserted->Remove(inserted->Items(0));
    EXPECT_EQ(taken->Parent(), nullptr);
    EXPECT_EQ(ReadEntry(file.Handle(), 1).submenu, nullptr);

    std::unique_ptr<TMenuItem> removed = file.Remove(inserted);
    EXPECT_EQ(EntryTexts(file.Handle()),
              (std::vector<std::string>{"&Open...\tCtrl+O", "&Reopen", "&Save\tCtrl+S", "E&xit\tAlt+F4"}));
    removed.reset();
    EXPECT_EQ(form.FindComponent("mAdded"), nullptr);
}

TEST_F(MenuTest, ASeparatorIsACaptionOfOneDash)
{
    auto separator = std::make_unique<TMenuItem>(&form);
    separator->SetCaption("-");
    TMenuItem* added = Item("File").Insert(3, std::move(separator));
    EXPECT_TRUE(added->IsSeparator());
    EXPECT_TRUE(ReadEntry(Item("File").Handle(), 3).type & MFT_SEPARATOR);
}

TEST_F(MenuTest, ATableWithAnUnknownParentOrATakenNameIsRefused)
{
    const MenuItemSpec orphan[] = {{"mOrphan", "NoSuchMenu", "&Orphan", "", "", 0, ""}};
    EXPECT_THROW(BuildMenuItems(&form, orphan, nullptr), Exception);
    const MenuItemSpec twice[] = {{"mSave", "File", "&Save", "", "", 0, ""}};
    EXPECT_THROW(BuildMenuItems(&form, twice, nullptr), Exception);
    const MenuItemSpec badKey[] = {{"mBad", "File", "&Bad", "Ctrl+Nothing", "", 0, ""}};
    EXPECT_THROW(BuildMenuItems(&form, badKey, nullptr), EConvertError);
}

TEST_F(MenuTest, DestroyingAMainMenuTakesItOffItsWindow)
{
    MenuForm other;
    {
        TMainMenu temporary(&other);
        ::SetMenu(other.Handle(), temporary.Handle());
        ASSERT_EQ(GetMenu(other.Handle()), temporary.Handle());
    }
    EXPECT_EQ(GetMenu(other.Handle()), nullptr);
}

// --- Shortcuts -----------------------------------------------------------------

TEST_F(MenuTest, AShortcutTypedIntoAControlRunsItsItemThroughTheMessageLoop)
{
    EditBox edit(form);
    form.KeyPreview = true;
    int previewed = 0;
    form.OnKeyDown = [&](WORD&, TShiftState) { ++previewed; };
    form.Show();
    edit.SetFocus();
    PressKey(edit, 'S', ssCtrl);
    EXPECT_EQ(clicks["SaveClick"], 1);
    ASSERT_FALSE(senders.empty());
    EXPECT_EQ(senders.back(), &Item("mSave"));
    EXPECT_EQ(previewed, 1);
    // The shortcut used the key up: the edit box never saw it.
    EXPECT_EQ(edit.Text(), "");
}

TEST_F(MenuTest, AltShortcutsAndShortcutsInNestedSubmenusRun)
{
    EditBox edit(form);
    PressKey(edit, VK_RETURN, ssAlt);
    EXPECT_EQ(clicks["AddPageClick"], 1);
    PressKey(edit, VK_UP, ssCtrl | ssAlt);
    EXPECT_EQ(clicks["MoveUpClick"], 1);
    PressKey(edit, VK_UP, ssCtrl);
    EXPECT_EQ(clicks["MoveUpClick"], 1);
}

TEST_F(MenuTest, AShortcutChangedAtRunTimeTakesEffectAtOnce)
{
    EditBox edit(form);
    TMenuItem& paste = Item("mPaste");
    paste.SetShortCutText("Ins");
    EXPECT_EQ(ReadEntry(Item("Edit").Handle(), 0).text, "&Paste\tIns");
    PressKey(edit, VK_INSERT, 0);
    EXPECT_EQ(clicks["PasteClick"], 1);
    PressKey(edit, 'V', ssCtrl);
    EXPECT_EQ(clicks["PasteClick"], 1);

    paste.SetShortCutText("Ctrl+V");
    EXPECT_EQ(ReadEntry(Item("Edit").Handle(), 0).text, "&Paste\tCtrl+V");
    PressKey(edit, VK_INSERT, 0);
    EXPECT_EQ(clicks["PasteClick"], 1);
    PressKey(edit, 'V', ssCtrl);
    EXPECT_EQ(clicks["PasteClick"], 2);
}

TEST_F(MenuTest, DisabledAndHiddenItemsAndItemsUnderThemDoNotTakeTheirShortcuts)
{
    Item("mSave").SetEnabled(false);
    EXPECT_FALSE(menu.IsShortCut('S', ssCtrl));
    Item("mSave").SetEnabled(true);
    Item("mSave").SetVisible(false);
    EXPECT_FALSE(menu.IsShortCut('S', ssCtrl));
    Item("mMove").SetVisible(false);
    EXPECT_FALSE(menu.IsShortCut(VK_UP, ssCtrl | ssAlt));
    Item("mMove").SetVisible(true);
    Item("Edit").SetEnabled(false);
    EXPECT_FALSE(menu.IsShortCut(VK_UP, ssCtrl | ssAlt));
    EXPECT_EQ(clicks["SaveClick"] + clicks["MoveUpClick"], 0);
    EXPECT_TRUE(menu.IsShortCut('O', ssCtrl));
    EXPECT_FALSE(menu.IsShortCut(VK_CONTROL, ssCtrl));
    EXPECT_EQ(clicks["OpenClick"], 1);
}

TEST_F(MenuTest, AnErrorInAShortcutsCommandIsShownAndTheLoopGoesOn)
{
    Item("mSave").OnClick = [](TComponent*) { throw Exception("Cannot save"); };
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_TRUE(menu.IsShortCut('S', ssCtrl));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{"Cannot save"}));
}

// --- Menu messages -------------------------------------------------------------

TEST_F(MenuTest, OpeningATopLevelMenuRunsItsItemsOnClick)
{
    SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Item("File").Handle()),
                 MAKELPARAM(0, FALSE));
    EXPECT_EQ(clicks["FileClick"], 1);
    ASSERT_FALSE(senders.empty());
    EXPECT_EQ(senders.back(), &Item("File"));
    SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Item("Edit").Handle()),
                 MAKELPARAM(1, FALSE));
    EXPECT_EQ(clicks["EditClick"], 1);
    // A popup's own menu ran OnPopup before it opened; it runs nothing more.
    SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(Popup().Handle()), MAKELPARAM(0, FALSE));
    EXPECT_EQ(senders.size(), 2u);
}

TEST_F(MenuTest, TheHighlightedItemsHintBecomesTheApplicationsHint)
{
    Application.SetHint("");
    int hints = 0;
    Application.OnHint = [&] { ++hints; };
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(Item("mOpen").Command(), MF_STRING | MF_HILITE),
                 reinterpret_cast<LPARAM>(Item("File").Handle()));
    EXPECT_EQ(Application.Hint(), "Opens an existing outline");
    EXPECT_EQ(hints, 1);
    // A submenu entry is named by its position.
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(0, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(menu.Handle()));
    EXPECT_EQ(Application.Hint(), "Contains commands for the outline");
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(2, MF_POPUP | MF_HILITE),
                 reinterpret_cast<LPARAM>(Item("Edit").Handle()));
    EXPECT_EQ(Application.Hint(), "");
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(Item("mMoveUp").Command(), MF_HILITE),
                 reinterpret_cast<LPARAM>(Item("mMove").Handle()));
    EXPECT_EQ(Application.Hint(), "Moves the page up");
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    EXPECT_EQ(Application.Hint(), "");
    SendMessageA(form.Handle(), WM_MENUSELECT, MAKEWPARAM(Item("ptExit").Command(), MF_HILITE),
                 reinterpret_cast<LPARAM>(Popup().Handle()));
    EXPECT_EQ(Application.Hint(), "Leaves");
    SendMessageA(form.Handle(), WM_EXITMENULOOP, FALSE, 0);
    EXPECT_EQ(Application.Hint(), "");
    EXPECT_EQ(hints, 7);
}

TEST_F(MenuTest, AMenuCommandRunsItsItem)
{
    SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(Item("mOpen").Command(), 0), 0);
    EXPECT_EQ(clicks["OpenClick"], 1);
    ASSERT_FALSE(senders.empty());
    EXPECT_EQ(senders.back(), &Item("mOpen"));
    EXPECT_EQ(TMenuItem::FromCommand(Item("mOpen").Command()), &Item("mOpen"));
    EXPECT_EQ(menu.FindItem(Item("mOpen").Command()), &Item("mOpen"));
    EXPECT_EQ(menu.FindItem(Item("ptExit").Command()), nullptr);
}

// --- Popup menus ---------------------------------------------------------------

TEST_F(MenuTest, APopupRunsOnPopupFirstThenTheChosenItem)
{
    EditBox edit(form);
    std::vector<std::string> events;
    Popup().OnPopup = [&](TComponent* sender) {
        EXPECT_EQ(sender, &Popup());
        events.push_back("popup");
    };
    HWND shownOwner = nullptr;
    POINT shownAt{};
    SetPopupTracker([&](TPopupMenu& shown, int x, int y, HWND owner) -> UINT {
        EXPECT_EQ(&shown, &Popup());
        events.push_back("track");
        shownOwner = owner;
        shownAt = POINT{x, y};
        return Item("ptExit").Command();
    });
    Popup().PopupComponent = &edit;
    Popup().Popup(120, 80);
    EXPECT_EQ(events, (std::vector<std::string>{"popup", "track"}));
    EXPECT_EQ(shownOwner, form.Handle());
    EXPECT_EQ(shownAt.x, 120);
    EXPECT_EQ(shownAt.y, 80);
    EXPECT_EQ(clicks["ExitClick"], 1);
    EXPECT_EQ(senders.back(), &Item("ptExit"));
}

TEST_F(MenuTest, AControlsContextMenuOpensItsPopupMenu)
{
    PlainBox box(form);
    box.SetPopupMenu(&Popup());
    int tracked = 0;
    SetPopupTracker([&](TPopupMenu&, int, int, HWND) -> UINT {
        ++tracked;
        return 0;
    });
    SendMessageA(box.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box.Handle()), MAKELPARAM(-1, -1));
    EXPECT_EQ(tracked, 1);
    EXPECT_EQ(Popup().PopupComponent, &box);
    EXPECT_TRUE(senders.empty());
    Popup().AutoPopup = false;
    SendMessageA(box.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(box.Handle()), MAKELPARAM(-1, -1));
    EXPECT_EQ(tracked, 1);
}

TEST_F(MenuTest, TheRealPopupMenuTakesKeysAndReturnsTheChosenItem)
{
    form.Show();
    Popup().PopupComponent = nullptr;
    // The menu's own loop reads these keys: down to "E&xit", then choose it.
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(form.Handle(), WM_KEYDOWN, VK_RETURN, 0);
    Popup().Popup(100, 100);
    EXPECT_EQ(clicks["ExitClick"], 1);
    EXPECT_EQ(Application.Hint(), "");
}

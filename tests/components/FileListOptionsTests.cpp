// The file list, filter and toolbar options of the extended file dialog: the
// window-level rules on built windows and menus, then the live dialog,
// scripted from its show.

#include "ApDialogs.h"
#include "ApFileListSession.h"
#include "Form.h"
#include "LiveDialogScript.h"
#include "ScriptedMessageBoxes.h"
#include "TestFolder.h"
#include "ToolBar.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr int ShowDetailsCommand = 40964;

std::string NameOf(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

std::set<std::string> Names(const std::vector<std::string>& paths)
{
    std::set<std::string> names;
    for (const std::string& path : paths)
        names.insert(NameOf(path));
    return names;
}

// Folders and files made in an order other than the one the list sorts by.
class ListedFolder {
public:
    ListedFolder()
    {
        for (const char* folder : {"zz_dir", "aa_dir", "zz_dir\\sub_dir"})
            CreateDirectoryA((folder_ / folder).c_str(), nullptr);
        for (const char* file : {"zeta.txt", "Mid.txt", "beta.dat", "alpha.dat", "zz_dir\\two.dat",
                                 "zz_dir\\three.txt", "zz_dir\\one.dat"})
            WriteFileBytes(folder_ / file, "x");
    }
    const std::string& Path() const { return folder_.Path(); }
    std::string operator/(const std::string& name) const { return folder_ / name; }

private:
    TestFolder folder_;
};

// The full paths of the file list's entries, in list order.
std::vector<std::string> ListedPaths(TApCustomOpenDialog& dialog)
{
    std::vector<std::string> paths;
    const HWND list = dialog.GetLVHandle();
    const LPCITEMIDLIST folder = dialog.GetSelPathPidl();
    const int count = list && folder ? static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0)) : 0;
    for (int index = 0; index < count; ++index) {
        LVITEMA entry{};
        entry.mask = LVIF_PARAM;
        entry.iItem = index;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
        LPITEMIDLIST full = ILCombine(folder, reinterpret_cast<LPCITEMIDLIST>(entry.lParam));
        char path[MAX_PATH] = "?";
        if (!full || !SHGetPathFromIDListA(full, path))
            lstrcpyA(path, "?");
        paths.push_back(path);
        ILFree(full);
    }
    return paths;
}

int IndexOf(TApCustomOpenDialog& dialog, const std::string& name)
{
    const std::vector<std::string> paths = ListedPaths(dialog);
    for (size_t i = 0; i < paths.size(); ++i)
        if (NameOf(paths[i]) == name)
            return static_cast<int>(i);
    return -1;
}

void SelectOnly(TApCustomOpenDialog& dialog, int index)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(dialog.GetLVHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (index < 0)
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(dialog.GetLVHandle(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
}

// What a context menu showed, read by a timer while its loop runs.
struct SeenMenu {
    bool shown = false;
    std::map<UINT, bool> greyed; // by command identifier
};
SeenMenu* seenMenu = nullptr;

void CALLBACK ReadAndEndMenu(HWND, UINT, UINT_PTR, DWORD)
{
    constexpr UINT GetMenuHandle = 0x01E1;
    const HWND menuWindow = FindWindowA("#32768", nullptr);
    if (seenMenu && menuWindow && IsWindowVisible(menuWindow)) {
        seenMenu->shown = true;
        const auto menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, GetMenuHandle, 0, 0));
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
            seenMenu->greyed[GetMenuItemID(menu, i)] = (GetMenuState(menu, i, MF_BYPOSITION) & MF_GRAYED) != 0;
    }
    EndMenu();
}

// Asks the shell view for its context menu over the list and reads it.
SeenMenu ContextMenu(TApCustomOpenDialog& dialog)
{
    SeenMenu seen;
    seenMenu = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, ReadAndEndMenu);
    RECT place{};
    GetWindowRect(dialog.GetLVHandle(), &place);
    SendMessageA(dialog.GetDVHandle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.GetLVHandle()),
                 MAKELPARAM(place.left + 20, place.top + 20));
    KillTimer(nullptr, timer);
    seenMenu = nullptr;
    return seen;
}

bool Greyed(const SeenMenu& menu, std::initializer_list<UINT> ids)
{
    for (UINT id : ids)
        if (auto found = menu.greyed.find(id); found != menu.greyed.end())
            return found->second;
    ADD_FAILURE() << "no such item in the menu";
    return false;
}

// A key as the keyboard sends it, through the input queue and the hooks; the
// script's next step runs once the input is handled (its timer comes last).
void SendKeyPress(WORD key)
{
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LRESULT ExStyle(HWND list) { return SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }

// A box the shell raises (its delete confirmation) is answered No, so that a
// key that got through fails the test instead of hanging it.
BOOL CALLBACK AnswerBoxNo(HWND window, LPARAM)
{
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (IsWindowVisible(window) && std::string(className) == "#32770" && !FindWindowExA(window, nullptr, "SHELLDLL_DefView", nullptr))
        PostMessageA(window, WM_COMMAND, IDNO, 0);
    return TRUE;
}
void CALLBACK AnswerShellBoxes(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), AnswerBoxNo, 0); }

class BarForm : public TForm {
public:
    BarForm() : TForm(Params())
    {
        Bar = new TToolBar(this, this);
        Bar->SetButtonSize(23, 22);
        Bar->AddButton("bOne", TToolButtonStyle::tbsButton);
        Bar->SetBounds(5, 7, 60, 26);
        Bar->SetVisible(false);
    }
    TToolBar* Bar;

private:
    static CreateParams Params()
    {
        CreateParams params;
        params.caption = "Bar owner";
        params.width = 300;
        params.height = 200;
        return params;
    }
};

RECT BoundsOf(TControl& control)
{
    return RECT{control.Left(), control.Top(), control.Left() + control.Width(), control.Top() + control.Height()};
}
} // namespace

TEST(FileListOptions, ViewStyleFollowsTheListsLowStyleBits)
{
    const std::pair<DWORD, TViewStyle> rows[] = {{0x50000000, TViewStyle::vsIcon},
                                                 {0x50000001, TViewStyle::vsReport},
                                                 {0x50000202, TViewStyle::vsSmallIcon},
                                                 {0x50000003, TViewStyle::vsList}};
    for (const auto& [style, view] : rows)
        EXPECT_EQ(ViewStyleOfWindowStyle(style), view) << std::hex << style;
    EXPECT_EQ(ListViewSelStyle(nullptr), TViewStyle::vsList);
}

TEST(FileListOptions, RenameAndDeleteAreGreyedByIdentifierWherever)
{
    struct Row {
        std::vector<UINT> ids;
        bool rename, remove;
        std::vector<UINT> greyed;
    };
    const Row rows[] = {
        {{1, 2, 3, 30737, 30738, 4, 5}, false, false, {30737, 30738}},
        {{30738, 1, 2, 3, 4, 30737}, true, false, {30737}},
        {{1, 17, 2, 3, 4, 5, 6, 7, 80, 8, 9, 10}, false, true, {80}},
        {{1, 17, 2, 80}, true, true, {}},
    };
    for (const Row& row : rows) {
        HMENU menu = CreatePopupMenu();
        for (UINT id : row.ids)
            AppendMenuA(menu, MF_STRING, id, "item");
        TApListViewStyles styles;
        styles.EnableRename = row.rename;
        styles.EnableDelete = row.remove;
        GreyRestrictedItems(menu, styles);
        for (UINT id : row.ids) {
            const bool expected = std::ranges::find(row.greyed, id) != row.greyed.end();
            EXPECT_EQ((GetMenuState(menu, id, MF_BYCOMMAND) & MF_GRAYED) != 0, expected) << id;
        }
        DestroyMenu(menu);
    }
}

TEST(FileListOptions, TheNavigationToolbarIsTheFirstThatIsNotThePlacesBar)
{
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    auto toolbar = [parent](int id) {
        return CreateWindowExA(0, TOOLBARCLASSNAMEA, "", WS_CHILD | CCS_NORESIZE, 0, 0, 50, 20, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    };
    EXPECT_EQ(ApFindToolbar(parent), nullptr);
    toolbar(SystemPlacesBarId);
    EXPECT_EQ(ApFindToolbar(parent), nullptr);
    const HWND navigation = toolbar(1);
    toolbar(2);
    EXPECT_EQ(ApFindToolbar(parent), navigation);

    SetWindowLongA(navigation, GWL_STYLE, Style(navigation) & ~TBSTYLE_FLAT);
    MakeFlatButtons(navigation);
    EXPECT_TRUE(Style(navigation) & TBSTYLE_FLAT);
    MakeFlatButtons(nullptr);
    DestroyWindow(parent);
}

TEST(FileListDialog, WithoutFoldersNoFolderEntryRemainsInAnyFolderShown)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ExtFilter.Enabled = true;
    dialog.ExtFilter.ShowFolders = false;
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& d) {
            // The first listing was filled before the show step.
            EXPECT_EQ(Names(ListedPaths(d)), (std::set<std::string>{"Mid.txt", "alpha.dat", "beta.dat", "zeta.txt"}));
            d.SetSelPath(folder / "zz_dir");
        })
        .Then([&](TApCustomOpenDialog& d) {
            EXPECT_EQ(d.GetSelPath(), folder / "zz_dir");
            EXPECT_EQ(Names(ListedPaths(d)), (std::set<std::string>{"one.dat", "three.txt", "two.dat"}));
            d.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
    EXPECT_FALSE(TApThreadHooks::Installed());
}

TEST(FileListDialog, ARefusingEventRemovesExactlyItsFilesWithFullPathsAndOnce)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    std::vector<std::string> asked;
    dialog.InitialDir = folder.Path();
    dialog.ExtFilter.Enabled = true;
    // The dialog's event is the filter's.
    dialog.OnIncludeFile = [&](TComponent* sender, const std::string& name, bool& include) {
        EXPECT_EQ(sender, &dialog);
        asked.push_back(name);
        include = !name.ends_with(".dat");
    };
    ASSERT_TRUE(dialog.ExtFilter.OnIncludeFile);
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& d) {
            EXPECT_EQ(Names(ListedPaths(d)), (std::set<std::string>{"Mid.txt", "aa_dir", "zeta.txt", "zz_dir"}));
            // Files only, each by its full name in the folder shown.
            std::ranges::sort(asked);
            EXPECT_EQ(asked, (std::vector<std::string>{folder / "Mid.txt", folder / "alpha.dat", folder / "beta.dat",
                                                       folder / "zeta.txt"}));
            EXPECT_EQ(d.ExtFilter.ProcessViaFilter(d.GetLVHandle(), d.GetSelPathPidl()), 0);
            EXPECT_EQ(ListedPaths(d).size(), 4u);
            asked.clear();
            d.SetSelPath(folder / "zz_dir");
        })
        .Then([&](TApCustomOpenDialog& d) {
            EXPECT_EQ(Names(ListedPaths(d)), (std::set<std::string>{"sub_dir", "three.txt"}));
            EXPECT_EQ(asked.size(), 3u);
            for (const std::string& name : asked)
                EXPECT_EQ(name.substr(0, name.find_last_of('\\')), folder / "zz_dir");
            d.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
}

TEST(FileListDialog, EveryNewViewIsFollowedAndGetsTheStylesWhichAreNeverTakenBack)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ListViewStyles.GridLines = true;
    dialog.ListViewStyles.RowSelect = true;
    dialog.ListViewStyles.PopupOnEmpty = false;
    HWND firstList = nullptr;
    std::vector<TViewStyle> asked;
    dialog.OnSelectionStyleChanging = [&](TViewStyle style, bool& allow) {
        asked.push_back(style);
        allow = false;
    };
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& d) {
            firstList = d.GetLVHandle();
            EXPECT_EQ(ExStyle(firstList) & 0x21, 0x21);
            d.SetSelPath(folder / "zz_dir");
        })
        .Then([&](TApCustomOpenDialog& d) {
            // A new shell view and list, both subclassed: the menu rule and
            // the style veto hold on them.
            ASSERT_NE(d.GetLVHandle(), firstList);
            EXPECT_EQ(ExStyle(d.GetLVHandle()) & 0x21, 0x21);
            SelectOnly(d, -1);
            EXPECT_FALSE(ContextMenu(d).shown);
            SendDialogCommand(d.DialogWindow(), ShowDetailsCommand);
            EXPECT_EQ(asked, std::vector<TViewStyle>{TViewStyle::vsReport});
            EXPECT_NE(d.SelectionStyle(), TViewStyle::vsReport);

            d.ListViewStyles.GridLines = false;
            d.ListViewStyles.FlatScrollBars = true;
            d.RefreshListViewStyles();
            EXPECT_EQ(ExStyle(d.GetLVHandle()) & 0x121, 0x121);
            d.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
}

TEST(FileListDialog, NoRenameTakesLabelEditingAwayAndGreysRenameAndDelete)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ListViewStyles.EnableRename = false;
    dialog.ListViewStyles.EnableDelete = false;
    LiveDialogScript script(dialog);
    script.Then([&](TApCustomOpenDialog& d) {
        EXPECT_FALSE(Style(d.GetLVHandle()) & LVS_EDITLABELS);
        SelectOnly(d, IndexOf(d, "zeta.txt"));
        const SeenMenu menu = ContextMenu(d);
        ASSERT_TRUE(menu.shown);
        // Wine's shell view: Rename is 80 and Delete 17.
        EXPECT_TRUE(Greyed(menu, {30738, 80}));
        EXPECT_TRUE(Greyed(menu, {30737, 17}));
        d.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
}

TEST(FileListDialog, WithTheDefaultsTheListEditsLabelsAndEveryMenuOpensWhole)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    LiveDialogScript script(dialog);
    script.Then([&](TApCustomOpenDialog& d) {
        EXPECT_TRUE(Style(d.GetLVHandle()) & LVS_EDITLABELS);
        SelectOnly(d, IndexOf(d, "zeta.txt"));
        const SeenMenu menu = ContextMenu(d);
        ASSERT_TRUE(menu.shown);
        EXPECT_FALSE(Greyed(menu, {30738, 80}));
        EXPECT_FALSE(Greyed(menu, {30737, 17}));
        SelectOnly(d, -1);
        EXPECT_TRUE(ContextMenu(d).shown);
        d.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
}

TEST(FileListDialog, WithoutPopupOnEmptyOnlyASelectionGetsAMenu)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ListViewStyles.PopupOnEmpty = false;
    LiveDialogScript script(dialog);
    script.Then([&](TApCustomOpenDialog& d) {
        SelectOnly(d, -1);
        EXPECT_FALSE(ContextMenu(d).shown);
        SelectOnly(d, IndexOf(d, "Mid.txt"));
        EXPECT_TRUE(ContextMenu(d).shown);
        d.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
}

// Wine's shell view deletes the selected file on the Delete key, after a
// confirmation box.
TEST(FileListDialog, NoDeleteSwallowsTheDeleteKeyInTheListButNotInTheNameBox)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ListViewStyles.EnableDelete = false;
    const UINT_PTR boxes = SetTimer(nullptr, 0, LiveDialogScript::WatchdogMilliseconds / 2, AnswerShellBoxes);
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& d) {
            SetForegroundWindow(d.DialogWindow());
            SelectOnly(d, IndexOf(d, "zeta.txt"));
            SetFocus(d.GetLVHandle());
            ASSERT_EQ(GetFocus(), d.GetLVHandle());
            SendKeyPress(VK_DELETE);
        })
        .Then([&](TApCustomOpenDialog& d) {
            EXPECT_NE(GetFileAttributesA((folder / "zeta.txt").c_str()), INVALID_FILE_ATTRIBUTES);
            EXPECT_NE(IndexOf(d, "zeta.txt"), -1);
            SetWindowTextA(d.GetEdit(), "abc");
            SetFocus(d.GetEdit());
            SendMessageA(d.GetEdit(), EM_SETSEL, 0, 0);
            SendKeyPress(VK_DELETE);
        })
        .Then([&](TApCustomOpenDialog& d) {
            EXPECT_EQ(d.GetFNameText(), "bc");
            d.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
    KillTimer(nullptr, boxes);
}

TEST(FileListDialog, AVetoedStyleChangeKeepsTheViewAndAnAllowedOneIsReported)
{
    ListedFolder folder;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    bool allow = false;
    std::vector<TViewStyle> asked;
    std::vector<TViewStyle> changed;
    dialog.OnSelectionStyleChanging = [&](TViewStyle style, bool& allowChange) {
        asked.push_back(style);
        allowChange = allow;
    };
    dialog.OnSelectionStyleChange = [&](TViewStyle style) { changed.push_back(style); };
    EXPECT_EQ(dialog.SelectionStyle(), TViewStyle::vsList);
    LiveDialogScript script(dialog);
    script.Then([&](TApCustomOpenDialog& d) {
        const TViewStyle before = d.SelectionStyle();
        ASSERT_NE(before, TViewStyle::vsReport);
        SendDialogCommand(d.DialogWindow(), ShowDetailsCommand);
        EXPECT_EQ(d.SelectionStyle(), before);
        EXPECT_EQ(asked, std::vector<TViewStyle>{TViewStyle::vsReport});
        EXPECT_TRUE(changed.empty());
        allow = true;
        SendDialogCommand(d.DialogWindow(), ShowDetailsCommand);
        EXPECT_EQ(d.SelectionStyle(), TViewStyle::vsReport);
        EXPECT_EQ(changed, std::vector<TViewStyle>{TViewStyle::vsReport});
        d.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
}

TEST(FileListDialog, AFlatToolbarAndALentBarThatComesBackWholeForTheNextShow)
{
    ListedFolder folder;
    BarForm owner;
    const RECT bounds = BoundsOf(*owner.Bar);
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ToolBar.Flat = true;
    dialog.ToolBar.CustomBar = owner.Bar;
    auto checkLent = [&](TApCustomOpenDialog& d) {
        // The lent bar is a toolbar child of the dialog now, and first among them.
        const HWND toolbar = ApFindToolbar(d.DialogWindow());
        ASSERT_NE(toolbar, nullptr);
        ASSERT_NE(toolbar, owner.Bar->Handle());
        // Wine's toolbar is flat already; the built-window test shows the bit added.
        EXPECT_TRUE(Style(toolbar) & TBSTYLE_FLAT);
        EXPECT_EQ(GetParent(owner.Bar->Handle()), d.DialogWindow());
        EXPECT_TRUE(IsWindowVisible(owner.Bar->Handle()));
        const RECT bar = ControlBounds(d.DialogWindow(), owner.Bar->Handle());
        const RECT own = ControlBounds(d.DialogWindow(), toolbar);
        EXPECT_EQ(bar.left, own.right);
        EXPECT_LE(std::abs((bar.top + bar.bottom) - (own.top + own.bottom)), 1);
        d.CloseDialog(IDCANCEL);
    };
    for (int run = 0; run < 2; ++run) {
        LiveDialogScript script(dialog);
        script.Then(checkLent);
        EXPECT_FALSE(script.Execute());
        ASSERT_EQ(TControl::FromHandle(owner.Bar->Handle()), owner.Bar);
        EXPECT_EQ(GetParent(owner.Bar->Handle()), owner.Handle());
        EXPECT_FALSE(owner.Bar->Visible());
        const RECT after = BoundsOf(*owner.Bar);
        EXPECT_TRUE(EqualRect(&after, &bounds));
        EXPECT_FALSE(TApThreadHooks::Installed());
    }
}

namespace {
struct CountingTarget : TApHookTarget {
    std::vector<HWND> sorted;
    bool throwOnSort = false;
    bool SwallowsDeleteKey() override { return false; }
    void SortRequested(HWND window) override
    {
        sorted.push_back(window);
        if (throwOnSort)
            throw std::runtime_error("sort failed");
    }
};
} // namespace

TEST(FileListHooks, NestedDialogsShareOneHookAndOnlyTheInnermostAnswers)
{
    HWND window = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    constexpr UINT SortRequest = 0x1030;
    CountingTarget outer;
    CountingTarget inner;
    {
        TApThreadHooks outerHooks(outer, true);
        {
            TApThreadHooks innerHooks(inner, true);
            SendMessageA(window, SortRequest, 0, 0);
            EXPECT_EQ(inner.sorted, std::vector<HWND>{window});
            EXPECT_TRUE(outer.sorted.empty());
        }
        SendMessageA(window, SortRequest, 0, 0);
        EXPECT_EQ(outer.sorted, std::vector<HWND>{window});
        EXPECT_TRUE(TApThreadHooks::Installed());
    }
    EXPECT_FALSE(TApThreadHooks::Installed());

    // Without a filter nothing watches sort requests.
    {
        TApThreadHooks keysOnly(outer, false);
        SendMessageA(window, SortRequest, 0, 0);
        EXPECT_EQ(outer.sorted.size(), 1u);
    }

    // A failure inside the hook is shown, never thrown through the system.
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    inner.throwOnSort = true;
    {
        TApThreadHooks hooks(inner, true);
        SendMessageA(window, SortRequest, 0, 0);
    }
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"sort failed"});
    DestroyWindow(window);
}

TEST(FileListDialog, AShowThatFailsHalfWayStillEndsWithEverythingPutBack)
{
    ListedFolder folder;
    BarForm owner;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ExtFilter.Enabled = true;
    dialog.ToolBar.CustomBar = owner.Bar;
    dialog.OnShow = [&] {
        EXPECT_TRUE(TApThreadHooks::Installed());
        EXPECT_NE(KeyboardHook, nullptr);
        EXPECT_NE(CallWndHook, nullptr);
        PostMessageA(dialog.DialogWindow(), WM_COMMAND, IDCANCEL, 0);
        throw std::runtime_error("show failed");
    };
    ScriptedMessageBoxes boxes;
    boxes.Answer(IDOK);
    EXPECT_FALSE(dialog.Execute());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"show failed"});
    EXPECT_FALSE(TApThreadHooks::Installed());
    EXPECT_EQ(KeyboardHook, nullptr);
    EXPECT_EQ(CallWndHook, nullptr);
    EXPECT_EQ(GetParent(owner.Bar->Handle()), owner.Handle());
}

// With the larger record Wine shows its own places bar, a toolbar with the
// identifier 1184 that comes first among the dialog's children.
TEST(FileListDialog, TheLentBarSitsBesideTheNavigationToolbarNotTheSystemsPlacesBar)
{
    ListedFolder folder;
    BarForm owner;
    TApSaveDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.PlacesBar.Native = true;
    dialog.PlacesBar.Visible = true;
    dialog.ToolBar.CustomBar = owner.Bar;
    LiveDialogScript script(dialog);
    script.Then([&](TApCustomOpenDialog& d) {
        const HWND places = GetDlgItem(d.DialogWindow(), SystemPlacesBarId);
        ASSERT_NE(places, nullptr);
        const HWND toolbar = ApFindToolbar(d.DialogWindow());
        ASSERT_NE(toolbar, nullptr);
        EXPECT_NE(toolbar, places);
        EXPECT_EQ(ControlBounds(d.DialogWindow(), owner.Bar->Handle()).left,
                  ControlBounds(d.DialogWindow(), toolbar).right);
        d.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(GetParent(owner.Bar->Handle()), owner.Handle());
}

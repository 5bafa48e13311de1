// The file list, filter and toolbar options of the extended file dialog: the
// window-level rules on built windows and menus, then the system's own save
// dialog, shown for real and scripted from its show.

#include "ApFileListSession.h"
#include "Form.h"
#include "ScriptedFileListDialog.h"
#include "ScriptedMessageBoxes.h"
#include "TestFolder.h"
#include "ToolBar.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {
constexpr UINT ShowDetailsCommand = 40964;

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

int IndexOf(ScriptedFileListDialog& dialog, const std::string& name)
{
    const std::vector<std::string> paths = dialog.ListedPaths();
    for (size_t i = 0; i < paths.size(); ++i)
        if (NameOf(paths[i]) == name)
            return static_cast<int>(i);
    return -1;
}

void SelectOnly(ScriptedFileListDialog& dialog, int index)
{
    LVITEMA state{};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(dialog.ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    if (index < 0)
        return;
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(dialog.ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&state));
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
SeenMenu ContextMenu(ScriptedFileListDialog& dialog)
{
    SeenMenu seen;
    seenMenu = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, ReadAndEndMenu);
    RECT place{};
    GetWindowRect(dialog.ListView(), &place);
    SendMessageA(dialog.ShellView(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog.ListView()),
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

LONG Style(HWND window) { return GetWindowLongA(window, GWL_STYLE); }
LRESULT ExStyle(HWND list) { return SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0); }

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
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Filter.Enabled = true;
    dialog.Filter.ShowFolders = false;
    dialog.Then([&](ScriptedFileListDialog& d) {
              // The first listing was filled before the show step.
              EXPECT_EQ(Names(d.ListedPaths()),
                        (std::set<std::string>{"Mid.txt", "alpha.dat", "beta.dat", "zeta.txt"}));
              d.Open(folder / "zz_dir");
          })
        .Then([&](ScriptedFileListDialog& d) {
            EXPECT_EQ(d.FolderPath(), folder / "zz_dir");
            EXPECT_EQ(Names(d.ListedPaths()), (std::set<std::string>{"one.dat", "three.txt", "two.dat"}));
            d.Cancel();
        });
    EXPECT_FALSE(dialog.Execute());
    EXPECT_FALSE(TApThreadHooks::Installed());
}

TEST(FileListDialog, ARefusingEventRemovesExactlyItsFilesWithFullPathsAndOnce)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    std::vector<std::string> asked;
    dialog.InitialDir = folder.Path();
    dialog.Filter.Enabled = true;
    dialog.Filter.OnIncludeFile = [&](TComponent*, const std::string& name, bool& include) {
        asked.push_back(name);
        include = !name.ends_with(".dat");
    };
    dialog.Then([&](ScriptedFileListDialog& d) {
              EXPECT_EQ(Names(d.ListedPaths()),
                        (std::set<std::string>{"Mid.txt", "aa_dir", "zeta.txt", "zz_dir"}));
              // Files only, each by its full name in the folder shown.
              std::vector<std::string> expected = {folder / "Mid.txt", folder / "alpha.dat", folder / "beta.dat",
                                                   folder / "zeta.txt"};
              std::ranges::sort(asked);
              EXPECT_EQ(asked, expected);
              asked.clear();
              const std::vector<BYTE> items = FolderItemList(d.DialogWindow());
              EXPECT_EQ(d.Filter.ProcessViaFilter(d.ListView(), reinterpret_cast<LPCITEMIDLIST>(items.data())), 0);
              EXPECT_EQ(Names(d.ListedPaths()).size(), 4u);
              asked.clear();
              d.Open(folder / "zz_dir");
          })
        .Then([&](ScriptedFileListDialog& d) {
            EXPECT_EQ(Names(d.ListedPaths()), (std::set<std::string>{"sub_dir", "three.txt"}));
            for (const std::string& name : asked)
                EXPECT_EQ(name.substr(0, name.find_last_of('\\')), folder / "zz_dir");
            EXPECT_EQ(asked.size(), 3u);
            d.Cancel();
        });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, EveryNewViewIsSubclassedAndGetsTheStylesWhichAreNeverTakenBack)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Styles.GridLines = true;
    dialog.Styles.RowSelect = true;
    HWND firstList = nullptr;
    dialog.Then([&](ScriptedFileListDialog& d) {
              firstList = d.ListView();
              EXPECT_TRUE(TForeignSubclass::IsSubclassed(firstList));
              EXPECT_TRUE(TForeignSubclass::IsSubclassed(d.ShellView()));
              EXPECT_EQ(ExStyle(firstList) & 0x21, 0x21);
              d.Open(folder / "zz_dir");
          })
        .Then([&](ScriptedFileListDialog& d) {
            ASSERT_NE(d.ListView(), firstList);
            EXPECT_TRUE(TForeignSubclass::IsSubclassed(d.ListView()));
            EXPECT_TRUE(TForeignSubclass::IsSubclassed(d.ShellView()));
            EXPECT_EQ(ExStyle(d.ListView()) & 0x21, 0x21);
            d.Styles.GridLines = false;
            d.Styles.FlatScrollBars = true;
            d.Session()->RefreshListViewStyles();
            EXPECT_EQ(ExStyle(d.ListView()) & 0x121, 0x121);
            d.Cancel();
        });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, NoRenameTakesLabelEditingAwayAndGreysRenameAndDelete)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Styles.EnableRename = false;
    dialog.Styles.EnableDelete = false;
    dialog.Then([&](ScriptedFileListDialog& d) {
        EXPECT_FALSE(Style(d.ListView()) & LVS_EDITLABELS);
        SelectOnly(d, IndexOf(d, "zeta.txt"));
        const SeenMenu menu = ContextMenu(d);
        ASSERT_TRUE(menu.shown);
        // Wine's shell view: Rename is 80 and Delete 17.
        EXPECT_TRUE(Greyed(menu, {30738, 80}));
        EXPECT_TRUE(Greyed(menu, {30737, 17}));
        d.Cancel();
    });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, WithTheDefaultsTheListEditsLabelsAndEveryMenuOpensWhole)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Then([&](ScriptedFileListDialog& d) {
        EXPECT_TRUE(Style(d.ListView()) & LVS_EDITLABELS);
        SelectOnly(d, IndexOf(d, "zeta.txt"));
        const SeenMenu menu = ContextMenu(d);
        ASSERT_TRUE(menu.shown);
        EXPECT_FALSE(Greyed(menu, {30738, 80}));
        EXPECT_FALSE(Greyed(menu, {30737, 17}));
        SelectOnly(d, -1);
        EXPECT_TRUE(ContextMenu(d).shown);
        d.Cancel();
    });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, WithoutPopupOnEmptyOnlyASelectionGetsAMenu)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Styles.PopupOnEmpty = false;
    dialog.Then([&](ScriptedFileListDialog& d) {
        SelectOnly(d, -1);
        EXPECT_FALSE(ContextMenu(d).shown);
        SelectOnly(d, IndexOf(d, "Mid.txt"));
        EXPECT_TRUE(ContextMenu(d).shown);
        d.Cancel();
    });
    EXPECT_FALSE(dialog.Execute());
}

// Wine's shell view deletes the selected file on the Delete key, after a
// confirmation box (the watchdog answers it should the key get through).
TEST(FileListDialog, NoDeleteSwallowsTheDeleteKeyInTheListButNotInTheNameBox)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.Styles.EnableDelete = false;
    HWND nameBox = nullptr;
    dialog.Then([&](ScriptedFileListDialog& d) {
              SetForegroundWindow(d.DialogWindow());
              SelectOnly(d, IndexOf(d, "zeta.txt"));
              SetFocus(d.ListView());
              ASSERT_EQ(GetFocus(), d.ListView());
              SendKeyPress(VK_DELETE);
              d.NextAfterInput();
          })
        .Then([&](ScriptedFileListDialog& d) {
            EXPECT_NE(GetFileAttributesA((folder / "zeta.txt").c_str()), INVALID_FILE_ATTRIBUTES);
            EXPECT_NE(IndexOf(d, "zeta.txt"), -1);
            nameBox = GetDlgItem(d.DialogWindow(), 1152);
            SetWindowTextA(nameBox, "abc");
            SetFocus(nameBox);
            SendMessageA(nameBox, EM_SETSEL, 0, 0);
            SendKeyPress(VK_DELETE);
            d.NextAfterInput();
        })
        .Then([&](ScriptedFileListDialog& d) {
            char text[16] = "";
            GetWindowTextA(nameBox, text, sizeof text);
            EXPECT_STREQ(text, "bc");
            d.Cancel();
        });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, AVetoedStyleChangeKeepsTheViewAndAnAllowedOneIsReported)
{
    ListedFolder folder;
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    bool allow = false;
    std::vector<TViewStyle> asked;
    dialog.OnSelectionStyleChanging = [&](TViewStyle style, bool& allowChange) {
        asked.push_back(style);
        allowChange = allow;
    };
    dialog.Then([&](ScriptedFileListDialog& d) {
        const TViewStyle before = ListViewSelStyle(d.ListView());
        ASSERT_NE(before, TViewStyle::vsReport);
        SendMessageA(d.DialogWindow(), WM_COMMAND, ShowDetailsCommand, 0);
        EXPECT_EQ(ListViewSelStyle(d.ListView()), before);
        EXPECT_EQ(asked, std::vector<TViewStyle>{TViewStyle::vsReport});
        EXPECT_TRUE(d.StyleChanges.empty());
        allow = true;
        SendMessageA(d.DialogWindow(), WM_COMMAND, ShowDetailsCommand, 0);
        EXPECT_EQ(ListViewSelStyle(d.ListView()), TViewStyle::vsReport);
        EXPECT_EQ(d.StyleChanges, std::vector<TViewStyle>{TViewStyle::vsReport});
        d.Cancel();
    });
    EXPECT_FALSE(dialog.Execute());
}

TEST(FileListDialog, AFlatToolbarAndALentBarThatComesBackWholeForTheNextShow)
{
    ListedFolder folder;
    BarForm owner;
    const RECT bounds = BoundsOf(*owner.Bar);
    ScriptedFileListDialog dialog;
    dialog.InitialDir = folder.Path();
    dialog.ToolBar.Flat = true;
    dialog.ToolBar.CustomBar = owner.Bar;
    auto checkLent = [&](ScriptedFileListDialog& d) {
        // The lent bar is a toolbar child of the dialog now, and first among them.
        const HWND toolbar = ApFindToolbar(d.DialogWindow());
        ASSERT_NE(toolbar, nullptr);
        ASSERT_NE(toolbar, owner.Bar->Handle());
        // Wine's toolbar is flat already; the built-window test shows the bit added.
        EXPECT_TRUE(Style(toolbar) & TBSTYLE_FLAT);
        EXPECT_EQ(GetParent(owner.Bar->Handle()), d.DialogWindow());
        EXPECT_TRUE(IsWindowVisible(owner.Bar->Handle()));
        RECT bar{};
        RECT own{};
        GetWindowRect(owner.Bar->Handle(), &bar);
        GetWindowRect(toolbar, &own);
        EXPECT_EQ(bar.left, own.right);
        EXPECT_LE(std::abs((bar.top + bar.bottom) - (own.top + own.bottom)), 1);
        d.Cancel();
    };
    for (int run = 0; run < 2; ++run) {
        dialog.Then(checkLent);
        EXPECT_FALSE(dialog.Execute());
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

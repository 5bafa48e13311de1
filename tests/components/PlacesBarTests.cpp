// The places bar in a live extended file dialog: its buttons, the folders
// they take the dialog to, following the folder, and the user's edits
// (delete from the popup, drag, drop) kept in the registry at close.
#include "ApDialogs.h"
#include "LiveDialogScript.h"
#include "ModalScript.h"
#include "PlaceEditorForm.h"
#include "PlacesBarForm.h"
#include "ScriptedMessageBoxes.h"
#include "ShellFolders.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "Menus.h"
#include "TestFolder.h"

#include <dlgs.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
class PlacesBarTest : public ::testing::Test {
protected:
    static constexpr const char* TestsRoot = "Software\\Corvane\\QuilloTests";

    void SetUp() override
    {
        ASSERT_TRUE(Application.Forms().empty());
        Application.CreateForm<TForm>(TForm::CreateParams{});
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        key_ = std::string(TestsRoot) + "\\" + info->test_suite_name() + "." + info->name() + "." +
               std::to_string(GetCurrentProcessId());
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        dialog.Filter = "Any File(*.*)|*.*";
        dialog.InitialDir = folder.Path();
        dialog.Options = ofHideReadOnly;
        dialog.Title = "Places";
        dialog.PlacesBar.Visible = true;
        dialog.PlacesBar.RegistryKey = key_;
    }

    void TearDown() override
    {
        SetPopupTracker(nullptr);
        DragManager().SetWindowFinder(nullptr);
        Application.DestroyForms();
        EXPECT_EQ(ActiveApDialog, nullptr);
        RegDeleteTreeA(HKEY_CURRENT_USER, key_.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, TestsRoot);
    }

    TApPlace& AddPlace(const std::string& name, const std::string& path)
    {
        TApPlace& place = dialog.PlacesBar.Places().Add();
        place.PlaceName = name;
        place.PlacePath = path;
        place.PlaceIconDll = "shell32.dll";
        place.PlaceIcon = 3;
        place.PlaceHotIcon = 4;
        return place;
    }

    std::string MakeFolder(const std::string& name) const
    {
        const std::string path = folder / name;
        CreateDirectoryA(path.c_str(), nullptr);
        return path;
    }

    // The places kept in the registry, as the next dialog would load them.
    std::vector<std::string> StoredCaptions() const
    {
        TApPlacesBarOptions stored;
        stored.RegistryKey = key_;
        stored.LoadFromRegistry();
        return Captions(stored.Places());
    }

    static std::vector<std::string> Captions(const TApPlaces& places)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < places.Count(); ++i)
            captions.push_back(GetPlaceName(places.Items(i)));
        return captions;
    }

    static std::vector<std::string> ButtonCaptions(const TApPlacesBarFrm& bar)
    {
        std::vector<std::string> captions;
        for (int i = 0; i < bar.ToolBar1.ButtonCount(); ++i)
            captions.push_back(bar.ToolBar1.Buttons(i).Caption());
        return captions;
    }

    static int PressedIndex(const TApPlacesBarFrm& bar)
    {
        const TApPlaceButton* pressed = bar.ToolBar1.PressedButton();
        return pressed ? pressed->Index() : -1;
    }

    TestFolder folder;
    TApSaveDialog dialog;
    std::string key_;
};

TApPlacesBarFrm* BarOf(HWND dialog)
{
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (auto* bar = dynamic_cast<TApPlacesBarFrm*>(TControl::FromHandle(child)))
            return bar;
    return nullptr;
}

int WindowWidth(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.right - rect.left;
}

// A drop of files as the shell makes it: a DROPFILES header and the names,
// each ended by a NUL, with one more NUL at the end.
HDROP MakeDrop(const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : paths)
        names += path + '\0';
    names += '\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size());
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(files) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(memory);
    return static_cast<HDROP>(memory);
}
} // namespace

TEST_F(PlacesBarTest, ButtonsInOrderTakeTheDialogToFoldersAndFiles)
{
    const std::string docs = MakeFolder("Docs");
    const std::string other = MakeFolder("Other");
    WriteFileBytes(other + "\\report.txt", "report");
    const std::string gone = MakeFolder("Gone");
    AddPlace("Docs", docs);
    AddPlace("Report", other + "\\report.txt");
    AddPlace("Gone", gone);
    RemoveDirectoryA(gone.c_str());

    int widthBefore = 0;
    RECT okBefore{};
    dialog.OnEventHooking = [&](TApMessage&, bool&) {
        if (widthBefore == 0) {
            widthBefore = WindowWidth(dialog.DialogWindow());
            okBefore = ControlBounds(dialog.DialogWindow(), GetDlgItem(dialog.DialogWindow(), IDOK));
        }
    };
    TApPlacesBarFrm* bar = nullptr;
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            const HWND window = live.DialogWindow();
            bar = BarOf(window);
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"Docs", "Report", "Gone"}));
            const int shift = PlacesBarShift();
            // Everything moved right by the shift, the window grew by as much.
            EXPECT_EQ(WindowWidth(window), widthBefore + shift);
            const RECT ok = ControlBounds(window, GetDlgItem(window, IDOK));
            EXPECT_EQ(ok.left, okBefore.left + shift);
            const RECT lookIn = ControlBounds(window, GetDlgItem(window, cmb2));
            EXPECT_EQ(lookIn.left, 6 + shift);
            EXPECT_EQ(lookIn.top, 6);
            const RECT barBounds = ControlBounds(window, bar->Handle());
            EXPECT_EQ(barBounds.left, 4);
            EXPECT_EQ(barBounds.top, 33);
            EXPECT_EQ(barBounds.right - barBounds.left, 87);
            const RECT list = ControlBounds(window, GetDlgItem(window, lst2));
            const RECT types = ControlBounds(window, GetDlgItem(window, cmb1));
            EXPECT_EQ(barBounds.bottom - barBounds.top, types.bottom - list.top);
            EXPECT_TRUE(IsWindowVisible(bar->Handle()));
            // Tab reaches the buttons, so the keyboard can open their menu.
            bool reached = false;
            const HWND start = GetDlgItem(window, edt1);
            for (HWND tab = GetNextDlgTabItem(window, start, FALSE); tab && tab != start && !reached;
                 tab = GetNextDlgTabItem(window, tab, FALSE))
                reached = tab == bar->ToolBar1.Buttons(0).Handle();
            EXPECT_TRUE(reached);
            EXPECT_EQ(PressedIndex(*bar), -1);
            bar->ToolBar1.Buttons(0).Click();
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_TRUE(SameText(live.GetSelPath(), docs)) << live.GetSelPath();
            EXPECT_EQ(PressedIndex(*bar), 0);
            bar->ToolBar1.Buttons(1).Click();
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_TRUE(SameText(live.GetSelPath(), other)) << live.GetSelPath();
            EXPECT_EQ(live.GetFNameText(), "report.txt");
            // No place is this folder: the last one is released.
            EXPECT_EQ(PressedIndex(*bar), -1);
            bar->ToolBar1.Buttons(2).Click();
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_TRUE(SameText(live.GetSelPath(), other)) << live.GetSelPath();
            live.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
    EXPECT_FALSE(script.WatchdogFired());
    EXPECT_EQ(StoredCaptions(), (std::vector<std::string>{"Docs", "Report", "Gone"}));
}

TEST_F(PlacesBarTest, ShellFolderPlacesNavigateThroughTheLookInBox)
{
    AddPlace("Desk", "").PlaceSpecPath = TApSpecShellFolder::ftDesktop;
    AddPlace("Computer", "").PlaceSpecPath = TApSpecShellFolder::ftDrives;
    AddPlace("Here", folder.Path());
    TApPlacesBarFrm* bar = nullptr;
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            bar = BarOf(live.DialogWindow());
            ASSERT_NE(bar, nullptr);
            EXPECT_EQ(PressedIndex(*bar), 2);
            bar->ToolBar1.Buttons(0).Click();
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_TRUE(SameText(live.GetSelPath(), ShellFolderPath(CSIDL_DESKTOPDIRECTORY))) << live.GetSelPath();
            EXPECT_EQ(PressedIndex(*bar), 0);
            bar->ToolBar1.Buttons(1).Click();
        })
        .Then([&](TApCustomOpenDialog& live) {
            ItemIdList drives;
            LPITEMIDLIST list = nullptr;
            ASSERT_TRUE(SUCCEEDED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &list)));
            drives.Reset(list);
            DesktopFolder desktop;
            EXPECT_TRUE(SameItem(desktop.Get(), live.GetSelPathPidl(), drives.Get()));
            EXPECT_EQ(PressedIndex(*bar), 1);
            live.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
    EXPECT_FALSE(script.WatchdogFired());
}

TEST_F(PlacesBarTest, APopupFromTheKeyboardDeletesTheFocusedPlaceAfterAsking)
{
    for (const char* name : {"First", "Second", "Third"})
        AddPlace(name, folder.Path());
    ScriptedMessageBoxes boxes;
    TApPlacesBarFrm* bar = nullptr;
    UINT chosen = 0;
    SetPopupTracker([&](TPopupMenu&, int, int, HWND) { return chosen; });
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            bar = BarOf(live.DialogWindow());
            ASSERT_NE(bar, nullptr);
            chosen = bar->Deleteplace1->Command();
            // Over the bar but no button: nothing to delete, nothing asked.
            SendMessageA(bar->ToolBar1.Handle(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(bar->ToolBar1.Handle()),
                         MAKELPARAM(-1, -1));
            EXPECT_TRUE(boxes.Shown().empty());
            EXPECT_EQ(bar->ToolBar1.ButtonCount(), 3);

            const HWND second = bar->ToolBar1.Buttons(1).Handle();
            SetFocus(second);
            boxes.Answer(IDYES);
            SendMessageA(second, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(second), MAKELPARAM(-1, -1));
        })
        .Then([&](TApCustomOpenDialog& live) {
            ASSERT_EQ(boxes.Shown().size(), 1u);
            EXPECT_EQ(boxes.Shown()[0].text, "Are you sure you want to delete this place?\rPlace: Second");
            EXPECT_EQ(boxes.Shown()[0].caption, "Place bar");
            EXPECT_EQ(boxes.Shown()[0].flags, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"First", "Third"}));
            EXPECT_EQ(Captions(live.PlacesBar.Places()), (std::vector<std::string>{"First", "Third"}));

            // No: nothing goes.
            const HWND first = bar->ToolBar1.Buttons(0).Handle();
            boxes.Answer(IDNO);
            SendMessageA(first, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(first), MAKELPARAM(-1, -1));
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"First", "Third"}));

            // Properties of the focused place: the editor on that place.
            ModalScript modal;
            modal.Then<TApAddPlaceFrm>([](TApAddPlaceFrm& editor) {
                EXPECT_EQ(editor.eShort.Text(), "Third");
                EXPECT_EQ(editor.Caption(), "Places Bar item");
                editor.eShort.SetText("Renamed");
                editor.dg1.UserSelectCell(5, 0);
                editor.Button1.Click();
            });
            chosen = bar->Changeplace1->Command();
            const HWND third = bar->ToolBar1.Buttons(1).Handle();
            SetFocus(third);
            SendMessageA(third, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(third), MAKELPARAM(-1, -1));
            EXPECT_EQ(modal.PendingSteps(), 0u);
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"First", "Renamed"}));
            EXPECT_EQ(bar->ToolBar1.Buttons(1).IconIndex(), 5);
            EXPECT_EQ(live.PlacesBar.Places().Items(1).PlaceIcon, 5);
            live.CloseDialog(IDCANCEL);
        });
    script.Execute();
    EXPECT_FALSE(script.WatchdogFired());
    EXPECT_EQ(StoredCaptions(), (std::vector<std::string>{"First", "Renamed"}));
}

TEST_F(PlacesBarTest, DraggingTheFirstButtonOntoTheThirdMovesItsPlaceThere)
{
    for (const char* name : {"0", "1", "2", "3"})
        AddPlace(name, folder.Path());
    TApPlacesBarFrm* bar = nullptr;
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            bar = BarOf(live.DialogWindow());
            ASSERT_NE(bar, nullptr);
            TApPlaceButton& third = bar->ToolBar1.Buttons(2);
            const POINT over = third.ClientToScreen(POINT{10, 10});
            DragManager().SetWindowFinder([&third](POINT) { return third.Handle(); });
            ASSERT_TRUE(DragManager().BeginDrag(&bar->ToolBar1.Buttons(0)));
            DragManager().DragMoveTo(over);
            EXPECT_TRUE(DragManager().Accepted());
            DragManager().DragDrop(over);
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"1", "2", "0", "3"}));
            EXPECT_EQ(Captions(live.PlacesBar.Places()), (std::vector<std::string>{"1", "2", "0", "3"}));
            live.CloseDialog(IDCANCEL);
        });
    script.Execute();
    EXPECT_FALSE(script.WatchdogFired());
    EXPECT_EQ(StoredCaptions(), (std::vector<std::string>{"1", "2", "0", "3"}));
}

TEST_F(PlacesBarTest, DroppedFoldersOpenTheEditorForEachAndAddPlacesAtTheEnd)
{
    const std::string docs = MakeFolder("Docs");
    const std::string music = MakeFolder("Music");
    AddPlace("Existing", folder.Path());
    ModalScript modal;
    std::vector<std::string> presets;
    const auto confirm = [&](TApAddPlaceFrm& editor) {
        presets.push_back(editor.eShort.Text() + " " + std::to_string(editor.dg1.Col()) + " " +
                          std::to_string(editor.dg2.Col()) + " " + editor.Caption());
        editor.Button1.Click();
    };
    const auto cancel = [](TApAddPlaceFrm& editor) { editor.Button2.Click(); };
    modal.Then<TApAddPlaceFrm>(confirm).Then<TApAddPlaceFrm>(confirm);
    modal.Then<TApAddPlaceFrm>(cancel).Then<TApAddPlaceFrm>(cancel);
    TApPlacesBarFrm* bar = nullptr;
    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            bar = BarOf(live.DialogWindow());
            ASSERT_NE(bar, nullptr);
            PostMessageA(bar->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({docs, music})), 0);
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(presets, (std::vector<std::string>{"Docs 3 4 New Places Bar item",
                                                         "Music 3 4 New Places Bar item"}));
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"Existing", "Docs", "Music"}));
            ASSERT_EQ(live.PlacesBar.Places().Count(), 3);
            const TApPlace& added = live.PlacesBar.Places().Items(1);
            EXPECT_EQ(added.PlacePath, docs);
            EXPECT_EQ(added.PlaceIconDll, "Shell32.dll");
            EXPECT_EQ(added.PlaceIcon, 3);
            EXPECT_EQ(added.PlaceHotIcon, 4);
            // Cancelled: nothing added, the buttons made again all the same.
            PostMessageA(bar->Handle(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({docs, music})), 0);
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(modal.PendingSteps(), 0u);
            EXPECT_EQ(ButtonCaptions(*bar), (std::vector<std::string>{"Existing", "Docs", "Music"}));
            live.CloseDialog(IDCANCEL);
        });
    script.Execute();
    EXPECT_FALSE(script.WatchdogFired());
    EXPECT_EQ(StoredCaptions(), (std::vector<std::string>{"Existing", "Docs", "Music"}));
}

// The extended save dialog, live: the system dialog shown for real and
// driven from its show event.

#include "ApDialogs.h"
#include "LiveDialogScript.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "Form.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "TestFolder.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include <memory>

namespace {
// A borderless options panel as the program docks at the bottom of its save
// dialog: found by its class name among the application's forms.
class TSaveExt : public TForm {
public:
    TSaveExt() : TForm(Params())
    {
        Items.SetBounds(8, 8, 200, 21);
        OnShow = [this] { ++shown; };
        OnHide = [this] { ++hidden; };
        DoCreate();
    }

    static CreateParams Params()
    {
        CreateParams params;
        params.borderStyle = TFormBorderStyle::bsNone;
        params.clientWidth = 412;
        params.clientHeight = 110;
        return params;
    }

    TEdit Items{this, this};
    int shown = 0;
    int hidden = 0;
};

constexpr const char* SaveFilter = "Text File(*.txt)|*.txt|Rich Text Format(*.rtf)|*.rtf|"
                                   "Web Page(*.htm)|*.htm|Any File(*.*)|*.*";

// The application's forms made by a test go with it.
class ApSaveDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Application.Forms().empty());
        // The dialogs' owner, as the program's main window is: a panel made
        // first would be the main form, and the owner a modal dialog disables.
        Application.CreateForm<TForm>(TForm::CreateParams{});
    }
    void TearDown() override
    {
        Application.DestroyForms();
        EXPECT_EQ(ActiveApDialog, nullptr);
    }

    void Prepare(TApCustomOpenDialog& dialog) const
    {
        dialog.Filter = SaveFilter;
        dialog.InitialDir = folder.Path();
        dialog.Options = ofHideReadOnly;
    }

    TestFolder folder;
};

SIZE WindowSize(HWND window)
{
    RECT rect{};
    GetWindowRect(window, &rect);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT Client(HWND window)
{
    RECT rect{};
    GetClientRect(window, &rect);
    return rect;
}

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

std::string WindowText(HWND window)
{
    char text[512] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void SelectFirstItem(HWND list)
{
    LVITEMA item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&item));
}
}

TEST_F(ApSaveDialogTest, TheProgramsPanelDocksBelowTheSystemControlsAndSurvivesTheDialog)
{
    TSaveExt* panel = Application.CreateForm<TSaveExt>();
    TApSaveDialog dialog;
    Prepare(dialog);
    dialog.Title = "Save Copy As";
    // The class name is compared without regard to case.
    dialog.CustDlgParams.BottomFormName = "saveext";

    // Seen before the panels are docked: the title is the first message
    // the component's window procedure gets.
    RECT clientBefore{};
    std::vector<std::pair<int, RECT>> controlsBefore;
    dialog.OnEventHooking = [&](TApMessage&, bool&) {
        if (!controlsBefore.empty())
            return;
        HWND window = dialog.DialogWindow();
        clientBefore = Client(window);
        for (int id : {edt1, IDOK, IDCANCEL, cmb1, lst2})
            controlsBefore.emplace_back(id, ControlBounds(window, GetDlgItem(window, id)));
    };
    EXPECT_EQ(ActiveApDialog, nullptr);

    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            HWND window = live.DialogWindow();
            EXPECT_EQ(ActiveApDialog, &live);
            EXPECT_EQ(WindowText(window), "Save Copy As");
            EXPECT_EQ(Client(window).bottom, clientBefore.bottom + 110);
            EXPECT_EQ(Client(window).right, clientBefore.right);
            ASSERT_EQ(GetParent(panel->Handle()), window);
            EXPECT_TRUE(SameRect(ControlBounds(window, panel->Handle()),
                                 RECT{0, clientBefore.bottom, clientBefore.right, clientBefore.bottom + 110}));
            for (const auto& [id, bounds] : controlsBefore)
                EXPECT_TRUE(SameRect(ControlBounds(window, GetDlgItem(window, id)), bounds)) << "control " << id;
            EXPECT_TRUE(IsWindowVisible(panel->Handle()));
            // The placeholder of the file list stays hidden.
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, lst1)));
            // The panel takes part in the dialog's tab order.
            bool reached = false;
            HWND start = GetDlgItem(window, edt1);
            for (HWND tab = GetNextDlgTabItem(window, start, FALSE); tab && tab != start && !reached;
                 tab = GetNextDlgTabItem(window, tab, FALSE))
                reached = tab == panel->Items.Handle();
            EXPECT_TRUE(reached);
            EXPECT_EQ(panel->shown, 1);
            EXPECT_EQ(panel->hidden, 0);
        })
        .Then([](TApCustomOpenDialog& live) {
            live.SetFNameText("copy.txt");
            live.CloseDialog(IDOK);
        });
    ASSERT_TRUE(script.Execute());

    EXPECT_TRUE(SameText(dialog.FileName, folder / "copy.txt")) << dialog.FileName;
    EXPECT_EQ(dialog.DialogWindow(), nullptr);
    EXPECT_EQ(ActiveApDialog, nullptr);
    ASSERT_TRUE(IsWindow(panel->Handle()));
    EXPECT_FALSE(IsWindowVisible(panel->Handle()));
    EXPECT_EQ(GetAncestor(panel->Handle(), GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(panel->shown, 1);
    EXPECT_EQ(panel->hidden, 1);
}

TEST_F(ApSaveDialogTest, ATypeChangeIsStoredBeforeItsEventAndSeenByTheNextSelection)
{
    WriteFileBytes(folder / "notes.txt", "notes");
    TApSaveDialog dialog;
    Prepare(dialog);
    int indexAtTypeChange = 0;
    int indexAtSelection = 0;
    dialog.OnTypeChange = [&] { indexAtTypeChange = dialog.FilterIndex; };
    dialog.OnSelectionChange = [&] { indexAtSelection = dialog.FilterIndex; };

    LiveDialogScript script(dialog);
    script
        .Then([](TApCustomOpenDialog& live) {
            HWND types = GetDlgItem(live.DialogWindow(), cmb1);
            SendMessageA(types, CB_SETCURSEL, 3, 0);
            SendDialogCommand(live.DialogWindow(), cmb1, CBN_SELENDOK);
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(indexAtTypeChange, 4);
            indexAtSelection = 0;
            SelectFirstItem(live.GetLVHandle());
        })
        .Then([&](TApCustomOpenDialog& live) {
            EXPECT_EQ(indexAtSelection, 4);
            live.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
}

TEST_F(ApSaveDialogTest, AVetoedUpLevelStaysSetSelPathKeepsTheWholeNameQuietlyAndNameListsRoundTrip)
{
    const std::string sub = folder / "sub";
    CreateDirectoryA(sub.c_str(), nullptr);
    TApSaveDialog dialog;
    Prepare(dialog);
    dialog.InitialDir = sub;
    bool allowUp = false;
    int upLevels = 0;
    int nameChanges = 0;
    int nameEntered = 0;
    dialog.OnUpLevelNavigating = [&](bool& allow) { allow = allowUp; };
    dialog.OnUpLevelNavigate = [&] { ++upLevels; };
    dialog.OnFilenameChange = [&] { ++nameChanges; };
    bool allowEntering = true;
    dialog.OnFilenameEntering = [&](bool& allow) {
        ++nameEntered;
        allow = allowEntering;
    };
    // Longer than a path: a list of names the user typed.
    std::string names;
    for (int i = 0; i < 30; ++i) {
        names += "\"name number ";
        names += std::to_string(i);
        names += ".txt\" ";
    }

    LiveDialogScript script(dialog);
    script
        .Then([&](TApCustomOpenDialog& live) {
            SendDialogCommand(live.DialogWindow(), 40961);
            EXPECT_TRUE(SameText(live.GetSelPath(), sub)) << live.GetSelPath();
            EXPECT_EQ(upLevels, 0);
            allowUp = true;
            SendDialogCommand(live.DialogWindow(), 40961);
            EXPECT_TRUE(SameText(live.GetSelPath(), folder.Path())) << live.GetSelPath();
            EXPECT_EQ(upLevels, 1);
        })
        .Then([&](TApCustomOpenDialog& live) {
            live.SetFNameText(names);
            ASSERT_EQ(live.GetFNameText(), names);
            EXPECT_EQ(nameChanges, 1);
            live.SetSelPath(folder / "missing");
            EXPECT_TRUE(SameText(live.GetSelPath(), folder.Path()));
            live.SetSelPath(sub);
            EXPECT_TRUE(SameText(live.GetSelPath(), sub)) << live.GetSelPath();
            EXPECT_EQ(live.GetFNameText(), names);
            EXPECT_EQ(nameChanges, 1);
            EXPECT_EQ(nameEntered, 0);

            TStringList three;
            for (const char* name : {"a.txt", "b c.txt", "d.txt"})
                three.Add(name);
            live.SetSelFilesList(three);
            EXPECT_EQ(live.GetFNameText(), "\"a.txt\" \"b c.txt\" \"d.txt\"");
            const TStrings& read = live.GetSelFilesList();
            ASSERT_EQ(read.Count(), 3);
            EXPECT_EQ(read[1], "b c.txt");
            TStringList one;
            one.Add("only one.txt");
            live.SetSelFilesList(one);
            EXPECT_EQ(live.GetFNameText(), "only one.txt");

            // Enter in the name box, vetoed: the system never sees it.
            allowEntering = false;
            SetFocus(live.GetEdit());
            SendDialogCommand(live.DialogWindow(), IDOK);
            EXPECT_EQ(nameEntered, 1);
            EXPECT_NE(live.DialogWindow(), nullptr);
            live.CloseDialog(IDCANCEL);
        });
    EXPECT_FALSE(script.Execute());
}

TEST_F(ApSaveDialogTest, TheSizeTheUserLeftComesBackWithoutThePanels)
{
    TSaveExt* panel = Application.CreateForm<TSaveExt>();
    TApSaveDialog dialog;
    Prepare(dialog);
    dialog.Options = ofHideReadOnly | ofEnableSizing;
    dialog.CustDlgParams.BottomFormName = "SaveExt";
    SIZE left{};
    {
        LiveDialogScript first(dialog);
        first.Then([&](TApCustomOpenDialog& live) {
            const SIZE shown = WindowSize(live.DialogWindow());
            SetWindowPos(live.DialogWindow(), nullptr, 0, 0, shown.cx + 60, shown.cy + 40,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            left = WindowSize(live.DialogWindow());
            // The panel keeps to the bottom, across the client area.
            const RECT client = Client(live.DialogWindow());
            const RECT docked = ControlBounds(live.DialogWindow(), panel->Handle());
            EXPECT_EQ(docked.right - docked.left, client.right);
            EXPECT_EQ(docked.bottom, client.bottom);
            live.CloseDialog(IDCANCEL);
        });
        EXPECT_FALSE(first.Execute());
    }
    LiveDialogScript second(dialog);
    second.Then([&](TApCustomOpenDialog& live) {
        const SIZE shown = WindowSize(live.DialogWindow());
        EXPECT_EQ(shown.cx, left.cx);
        EXPECT_EQ(shown.cy, left.cy);
        live.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(second.Execute());
}

namespace {
// A save dialog whose system call fails before any window exists.
class TFailingSaveDialog : public TApSaveDialog {
protected:
    BOOL CallDialogFunction(OPENFILENAMEA&) override
    {
        ++calls;
        activeDuringCall = ActiveApDialog;
        return FALSE;
    }

public:
    int calls = 0;
    TApCustomOpenDialog* activeDuringCall = nullptr;
};
}

TEST_F(ApSaveDialogTest, AFailedSystemCallLeavesTheActiveDialogAsItWas)
{
    TFailingSaveDialog failing;
    EXPECT_FALSE(failing.Execute());
    EXPECT_GE(failing.calls, 1);
    EXPECT_EQ(failing.activeDuringCall, &failing);
    EXPECT_EQ(ActiveApDialog, nullptr);
    // Also when run as a plain file dialog.
    failing.activeDuringCall = nullptr;
    EXPECT_FALSE(static_cast<TOpenDialog&>(failing).Execute());
    EXPECT_EQ(failing.activeDuringCall, &failing);
    EXPECT_EQ(ActiveApDialog, nullptr);

    // Run from an event of a dialog that is up: that one stays active.
    TApSaveDialog outer;
    Prepare(outer);
    LiveDialogScript script(outer);
    script.Then([&](TApCustomOpenDialog& live) {
        EXPECT_FALSE(failing.Execute());
        EXPECT_EQ(ActiveApDialog, &live);
        live.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
    EXPECT_EQ(ActiveApDialog, nullptr);
}

TEST_F(ApSaveDialogTest, HiddenControlsAndCaptions)
{
    TApSaveDialog dialog;
    Prepare(dialog);
    dialog.SetVisibleCtrls(AllApOpenDlgControls & ~ApControlBit(TApOpenDlgControl::dcSelectionCtrl) &
                           ~ApControlBit(TApOpenDlgControl::dcFileType));
    dialog.DlgItemsCaptions.FileName = "Copy &name:";
    dialog.DlgItemsCaptions.OK = "Copy";

    LiveDialogScript script(dialog);
    script.Then([](TApCustomOpenDialog& live) {
        HWND window = live.DialogWindow();
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, cmb1)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, stc2)));
        EXPECT_FALSE(IsWindowVisible(live.GetDVHandle()));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, lst1)));
        EXPECT_EQ(WindowText(GetDlgItem(window, stc3)), "Copy &name:");
        EXPECT_EQ(WindowText(GetDlgItem(window, IDOK)), "Copy");
        live.SetVisibleCtrls(AllApOpenDlgControls);
        EXPECT_TRUE(IsWindowVisible(live.GetDVHandle()));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(window, lst1)));
        EXPECT_TRUE(IsWindowVisible(GetDlgItem(window, cmb1)));
        live.CloseDialog(IDCANCEL);
    });
    EXPECT_FALSE(script.Execute());
}

TEST_F(ApSaveDialogTest, ControlsOverTheFileListArePushedDownOncePerShowInBothLayouts)
{
    TSaveExt* panel = Application.CreateForm<TSaveExt>();
    // The system's own places bar comes with a file name combo box in place
    // of the edit box.
    for (const bool systemBar : {false, true}) {
        SCOPED_TRACE(systemBar ? "system places bar" : "plain");
        TApSaveDialog dialog;
        Prepare(dialog);
        dialog.PlacesBar.Visible = systemBar;
        dialog.PlacesBar.Native = systemBar;
        dialog.CustDlgParams.SetBottomForm(panel);
        LiveDialogScript script(dialog);
        script.Then([&](TApCustomOpenDialog& live) {
            HWND window = live.DialogWindow();
            HWND name = live.GetEdit();
            ASSERT_NE(name, nullptr);
            EXPECT_EQ(GetDlgCtrlID(name), systemBar ? cmb13 : edt1);
            EXPECT_FALSE(live.ShowCustomPlacesBar());
            // Put the name box over the list, as a system with another
            // layout would.
            const RECT list = ControlBounds(window, live.GetDVHandle());
            SetWindowPos(name, nullptr, ControlBounds(window, name).left, list.bottom - 20, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            const RECT nameBefore = ControlBounds(window, name);
            const RECT okBefore = ControlBounds(window, GetDlgItem(window, IDOK));
            const RECT panelBefore = ControlBounds(window, panel->Handle());
            for (int paint = 0; paint < 3; ++paint)
                RedrawWindow(window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
            EXPECT_EQ(ControlBounds(window, name).top, nameBefore.top + 70);
            EXPECT_EQ(ControlBounds(window, GetDlgItem(window, IDOK)).top, okBefore.top + 70);
            EXPECT_EQ(ControlBounds(window, panel->Handle()).top, panelBefore.top + 70);

            live.SetFNameText("pushed.txt");
            EXPECT_EQ(live.GetFNameText(), "pushed.txt");
            live.CloseDialog(IDOK);
        });
        ASSERT_TRUE(script.Execute());
        EXPECT_TRUE(SameText(dialog.FileName, folder / "pushed.txt")) << dialog.FileName;
    }
}

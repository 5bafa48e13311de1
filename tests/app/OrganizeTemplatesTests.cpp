// The Organize Templates window over a templates folder of the test's own:
// the filters, adding from a page, a branch or a file, removing, editing and
// renaming the template of the row chosen, names that would leave the folder,
// drags from the tree, and the position and filter it remembers.
#include "Cursors.h"
#include "DeleteDialog.h"
#include "DragManager.h"
#include "Exceptions.h"
#include "FromTemplateDialog.h"
#include "ModalScript.h"
#include "ModelessWindows.h"
#include "OrganizeTemplatesDialog.h"
#include "PageTreeTest.h"
#include "RenameDialog.h"
#include "SafeFileWriter.h"
#include "ScriptedFileDialogs.h"
#include "ScriptedMessageBoxes.h"
#include "ShellOpen.h"
#include "StartedMain.h"
#include "UncommittedTyping.h"

#include <commctrl.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {
using Rows = std::vector<std::pair<std::string, int>>;

Rows RowsOf(const TListView& list)
{
    Rows rows;
    for (int i = 0; i < list.Count(); ++i)
        rows.emplace_back(list.Item(i)->Caption(), list.Item(i)->ImageIndex());
    return rows;
}

bool ButtonsEnabled(const TOrganizeTemplates& window)
{
    return window.Remove.Enabled() && window.Edit.Enabled() && window.RenameBtn.Enabled();
}

KbfOutline StoredOutline(const std::string& path)
{
    KbfOutline outline;
    ReadKbfBytes(ReadFileBytes(path), outline);
    return outline;
}

class TemplatesOrganizer : public PageTreeTest {
protected:
    void SetUp() override
    {
        PageTreeTest::SetUp();
        states_ = DialogStates;
        ClearDialogStates(DialogStates);
        // The templates folder lies inside the test's folder, whose other
        // files no command may touch.
        templates_ = folder_ / "Templates";
        CreateDirectoryA(templates_.c_str(), nullptr);
        WriteFileBytes(folder_ / "outside.txt", "outside");
        OptionSettings.TemplatesFolder = templates_;
        SetShellOpenHandler([this](const std::string& target) {
            opened_.push_back(target);
            return true;
        });
    }
    void TearDown() override
    {
        DragManager().Cancel();
        DragManager().SetWindowFinder(nullptr);
        SetShellOpenHandler(nullptr);
        ::OrganizeTemplates.reset();
        DialogStates = states_;
        PageTreeTest::TearDown();
    }

    TOrganizeTemplates& Window()
    {
        Main->mOrganizeTemplatesClick(nullptr);
        return *OrganizeTemplatesWindow();
    }
    std::string T(const std::string& fileName) const { return templates_ + "\\" + fileName; }
    void Put(const std::string& fileName, const std::string& bytes = "x") { WriteFileBytes(T(fileName), bytes); }
    std::vector<std::string> Files() const { return Sorted(FilesIn(templates_)); }
    static std::vector<std::string> Sorted(std::vector<std::string> names)
    {
        std::sort(names.begin(), names.end());
        return names;
    }
    // Selects the row of that caption and image.
    void Choose(TOrganizeTemplates& window, const std::string& caption, int image)
    {
        for (int i = 0; i < window.List.Count(); ++i) {
            TListItem* row = window.List.Item(i);
            if (row->Caption() == caption && row->ImageIndex() == image) {
                window.List.SetSelected(row);
                window.ListClick();
                return;
            }
        }
        ADD_FAILURE() << "no row " << caption;
    }
    // Renames the selected template through the Rename dialog.
    void RenameTo(TOrganizeTemplates& window, const std::string& name, int result = mrOk)
    {
        ModalScript script;
        script.Then<TRename>([&](TRename& dialog) {
            dialog.NameEdit.SetText(name);
            dialog.ModalResult = result;
        });
        window.RenameBtnClick();
        EXPECT_EQ(script.PendingSteps(), 0u);
    }
    void Remove(TOrganizeTemplates& window, bool yes)
    {
        ModalScript script;
        script.Then<TDelete>([yes](TDelete& dialog) { (yes ? dialog.Yes : dialog.No).Click(); });
        window.RemoveClick();
        EXPECT_EQ(script.PendingSteps(), 0u);
    }
    // Drags the selected page from the tree and drops it on the list.
    HCURSOR DragSelectedPageOntoList(TOrganizeTemplates& window)
    {
        DragManager().SetWindowFinder([&window](POINT) { return window.List.Handle(); });
        EXPECT_TRUE(DragManager().BeginDrag(Main->Tree.get()));
        const POINT point = window.List.ClientToScreen(POINT{20, 20});
        DragManager().DragMoveTo(point);
        EXPECT_TRUE(DragManager().Accepted());
        const HCURSOR cursor = DragManager().Cursor();
        DragManager().DragDrop(point);
        return cursor;
    }

    std::string templates_;
    std::vector<std::string> opened_;
    ScriptedMessageBoxes boxes_;

private:
    TDialogStates states_;
};
}

TEST_F(TemplatesOrganizer, EachFilterListsItsTemplatesSortedByCaption)
{
    for (const char* file : {"b.txt", "c.kbf", "a.txt", "a.kbf", "notes.doc"})
        Put(file);
    TOrganizeTemplates& window = Window();
    EXPECT_TRUE(window.Visible());
    EXPECT_EQ(window.Caption(), "Organize Templates");
    const struct {
        TTemplateFilter filter;
        Rows rows;
    } cases[] = {
        {tfAll, {{"a", 1}, {"a", 0}, {"b", 1}, {"c", 0}}},
        {tfPages, {{"a", 1}, {"b", 1}}},
        {tfOutlines, {{"a", 0}, {"c", 0}}},
    };
    for (const auto& row : cases) {
        window.FilterEdit.SetItemIndex(row.filter);
        window.FilterEditChange();
        EXPECT_EQ(RowsOf(window.List), row.rows) << row.filter;
        EXPECT_EQ(window.List.ItemIndex(), 0);
        EXPECT_TRUE(ButtonsEnabled(window));
    }
}

TEST_F(TemplatesOrganizer, CurrentPageAndBranchAskBeforeReplacingATemplate)
{
    Build("A(A1),B");
    Select(N("A"));
    Editor().SetText("typed just now");
    Editor().SetModified(true);
    TOrganizeTemplates& window = Window();
    window.FilterEdit.SetItemIndex(tfOutlines);
    window.paCurrentPageClick();
    EXPECT_EQ(ReadFileBytes(T("A.txt")), "typed just now");
    // The new page template is shown.
    EXPECT_EQ(window.Filter(), tfAll);
    EXPECT_EQ(RowsOf(window.List), (Rows{{"A", 1}}));

    Editor().SetText("second");
    Editor().SetModified(true);
    boxes_.Answer(IDNO);
    window.paCurrentPageClick();
    ASSERT_EQ(boxes_.Shown().size(), 1u);
    EXPECT_EQ(boxes_.Shown()[0].text, "File 'A.txt' already exists!\nOverwrite?");
    EXPECT_EQ(boxes_.Shown()[0].caption, "Overwrite confirmation");
    EXPECT_EQ(boxes_.Shown()[0].flags & 0xFFu, static_cast<UINT>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(ReadFileBytes(T("A.txt")), "typed just now");
    // A read-only template is replaced as well when the answer is Yes.
    SetFileAttributesA(T("A.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    boxes_.Answer(IDYES);
    window.paCurrentPageClick();
    EXPECT_EQ(ReadFileBytes(T("A.txt")), "second");

    window.FilterEdit.SetItemIndex(tfPages);
    window.paCurrentBranchClick();
    const KbfOutline branch = StoredOutline(T("A.kbf"));
    ASSERT_EQ(branch.pages.size(), 2u);
    EXPECT_EQ(branch.pages[0].title, "A");
    EXPECT_EQ(branch.pages[1].title, "A1");
    EXPECT_EQ(window.Filter(), tfPages);
    boxes_.Answer(IDNO);
    window.paCurrentBranchClick();
    EXPECT_EQ(boxes_.Texts().back(), "File 'A.kbf' already exists!\nOverwrite?");
    EXPECT_EQ(ReadFileBytes(folder_ / "outside.txt"), "outside");
}

TEST_F(TemplatesOrganizer, PageAndBranchTemplatesHoldTypingNotYetStored)
{
    struct Case {
        void (TOrganizeTemplates::*add)();
        std::string (*stored)(const std::string& path);
        const char* fileName;
    } cases[] = {
        {&TOrganizeTemplates::paCurrentPageClick, [](const std::string& path) { return ReadFileBytes(path); },
         "A.txt"},
        {&TOrganizeTemplates::paCurrentBranchClick,
         [](const std::string& path) {
             const KbfOutline branch = StoredOutline(path);
             return branch.pages.empty() ? std::string() : branch.pages[0].body;
         },
         "A.kbf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        Build("A(A1)");
        Select(N("A"));
        TOrganizeTemplates& window = Window();
        {
            UncommittedTyping typing("typed in the editor");
            (window.*c.add)();
        }
        EXPECT_EQ(c.stored(T(c.fileName)), "typed in the editor");
        EXPECT_EQ(PageDataOf(N("A"))->BodyText(), "typed in the editor");
    }
}

TEST_F(TemplatesOrganizer, APageWiderThanTheEditorIsSavedAndInsertedAsStored)
{
    std::string paragraph;
    for (int i = 0; i < 80; ++i)
        paragraph += "word" + std::to_string(i) + " ";
    const std::string body = paragraph + "\r\n\r\n  indented second paragraph \r\nlast";
    Build("Long,Target");
    PageDataOf(N("Long"))->SetBodyText(body);
    Select(N("Long"));
    // The editor shows the first paragraph on many lines.
    ASSERT_GT(Editor().Lines().Count(), 6);
    TOrganizeTemplates& window = Window();
    window.paCurrentPageClick();
    EXPECT_EQ(ReadFileBytes(T("Long.txt")), body);

    Select(N("Target"));
    ModalScript script;
    script.Then<TFromTemplate>([](TFromTemplate& shown) {
        shown.ListViewP.SetSelected(shown.ListViewP.FindCaption("Long"));
        shown.OK.Click();
    });
    Main->mFromTemplateClick(nullptr);
    EXPECT_EQ(script.PendingSteps(), 0u);
    TTreeNode* inserted = Tree().Selected();
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(inserted->Parent(), N("Target"));
    EXPECT_EQ(PageDataOf(inserted)->BodyText(), body);
    if (Tree().IsEditing())
        inserted->EndEdit(true);
}

TEST_F(TemplatesOrganizer, AFailedWriteKeepsTheTemplateItWouldReplace)
{
    Build("A(A1)");
    Select(N("A"));
    WriteFileBytes(folder_ / "A.txt", "new page template");
    WriteFileBytes(folder_ / "B.kbf", "new outline template");
    TOrganizeTemplates& window = Window();
    ScriptedFileDialogs dialogs;
    struct Case {
        const char* fileName;
        std::function<void()> add;
    } cases[] = {
        {"A.txt", [&] { EXPECT_THROW(window.paCurrentPageClick(), EWriteError); }},
        {"A.kbf",
         [&] {
             boxes_.Answer(IDOK);
             window.paCurrentBranchClick();
             EXPECT_EQ(boxes_.Texts().back(), "Error writing on disk! Disk full?");
         }},
        {"A.txt",
         [&] {
             dialogs.Choose(folder_ / "A.txt");
             EXPECT_THROW(window.paFileClick(), EWriteError);
         }},
        {"B.kbf",
         [&] {
             dialogs.Choose(folder_ / "B.kbf");
             EXPECT_THROW(window.paFileClick(), EWriteError);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fileName);
        Put(c.fileName, "old template");
        boxes_.Answer(IDYES);
        SafeWriteFaultsForTests().FailWriteAtByte = 0;
        c.add();
        SafeWriteFaultsForTests() = SafeWriteFaults{};
        EXPECT_EQ(ReadFileBytes(T(c.fileName)), "old template");
    }
    EXPECT_EQ(boxes_.PendingAnswers(), 0u);
    for (const std::string& name : Files())
        EXPECT_EQ(name.find(".saving"), std::string::npos) << name;
}

namespace {
// Counts the moves in the window order that reach a window.
LRESULT CALLBACK CountOrderChanges(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                   DWORD_PTR count)
{
    if (message == WM_WINDOWPOSCHANGED && !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER))
        ++*reinterpret_cast<int*>(count);
    return DefSubclassProc(window, message, wParam, lParam);
}
}

TEST_F(TemplatesOrganizer, StaysInFrontOfTheMainWindowWhenThatIsActivated)
{
    TOrganizeTemplates& window = Window();
    ASSERT_TRUE(IsWindowVisible(window.Handle()));
    Application.ProcessMessages();
    int orderChanges = 0;
    ASSERT_TRUE(SetWindowSubclass(window.Handle(), CountOrderChanges, 1, reinterpret_cast<DWORD_PTR>(&orderChanges)));
    // What a click on the main window does to it.
    SetForegroundWindow(Main->Handle());
    SetActiveWindow(Main->Handle());
    SetWindowPos(Main->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    Application.ProcessMessages();
    RemoveWindowSubclass(window.Handle(), CountOrderChanges, 1);
    ASSERT_EQ(GetActiveWindow(), Main->Handle());
    EXPECT_EQ(GetWindow(window.Handle(), GW_OWNER), Main->Handle());
    // Moved in front again after the activation: on Wine's own desktop the
    // screen follows only a move.
    EXPECT_GT(orderChanges, 0);
    EXPECT_EQ(GetWindowLongPtrA(window.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST, WS_EX_TOPMOST);
    // And after the focus moves inside the main window.
    orderChanges = 0;
    ASSERT_TRUE(SetWindowSubclass(window.Handle(), CountOrderChanges, 1, reinterpret_cast<DWORD_PTR>(&orderChanges)));
    Main->Tree->SetFocus();
    Application.ProcessMessages();
    Main->RichEdit->SetFocus();
    Application.ProcessMessages();
    RemoveWindowSubclass(window.Handle(), CountOrderChanges, 1);
    EXPECT_GE(orderChanges, 2);
    bool inFront = false;
    for (HWND above = GetWindow(Main->Handle(), GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
        inFront = inFront || above == window.Handle();
    EXPECT_TRUE(inFront);
    EXPECT_TRUE(IsWindowVisible(window.Handle()));
}

TEST_F(TemplatesOrganizer, FileAddsTextAndOutlineFilesOnly)
{
    WriteFileBytes(folder_ / "Upper.TXT", "upper");
    WriteFileBytes(folder_ / "Plan.kbf", "plan");
    WriteFileBytes(folder_ / "Note.txt", "note");
    TOrganizeTemplates& window = Window();
    ScriptedFileDialogs dialogs;
    dialogs.Choose(folder_ / "Upper.TXT");
    boxes_.Answer(IDOK);
    window.paFileClick();
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"File type not supported!"});
    EXPECT_EQ(dialogs.Requests().at(0).title, "Add Template");
    EXPECT_TRUE(Files().empty());

    window.FilterEdit.SetItemIndex(tfPages);
    dialogs.Choose(folder_ / "Plan.kbf");
    window.paFileClick();
    EXPECT_EQ(ReadFileBytes(T("Plan.kbf")), "plan");
    EXPECT_EQ(window.Filter(), tfAll);
    EXPECT_EQ(RowsOf(window.List), (Rows{{"Plan", 0}}));

    Put("Note.txt", "old note");
    dialogs.Choose(folder_ / "Note.txt");
    boxes_.Answer(IDNO);
    window.paFileClick();
    EXPECT_EQ(boxes_.Texts().back(), "File 'Note.txt' already exists!\nOverwrite?");
    EXPECT_EQ(ReadFileBytes(T("Note.txt")), "old note");
    dialogs.Choose(folder_ / "Note.txt");
    boxes_.Answer(IDYES);
    window.paFileClick();
    EXPECT_EQ(ReadFileBytes(T("Note.txt")), "note");
    dialogs.Cancel();
    window.paFileClick();
    EXPECT_EQ(boxes_.PendingAnswers(), 0u);
}

TEST_F(TemplatesOrganizer, RemoveAsksAndSelectsANeighbour)
{
    for (const char* file : {"a.txt", "b.txt", "c.txt"})
        Put(file);
    SetFileAttributesA(T("c.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    TOrganizeTemplates& window = Window();
    Choose(window, "c", 1);
    {
        ModalScript script;
        script.Then<TDelete>([](TDelete& dialog) {
            EXPECT_EQ(dialog.MessageE.Caption(), "Are you sure you want to delete 'c.txt' ?");
            dialog.No.Click();
        });
        window.RemoveClick();
    }
    EXPECT_EQ(Files().size(), 3u);
    Remove(window, true);
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.txt", "b.txt"}));
    EXPECT_EQ(window.List.Selected()->Caption(), "b");
    Choose(window, "a", 1);
    Remove(window, true);
    EXPECT_EQ(window.List.Selected()->Caption(), "b");
    Remove(window, true);
    EXPECT_TRUE(Files().empty());
    EXPECT_EQ(window.List.Count(), 0);
    EXPECT_FALSE(window.Remove.Enabled() || window.Edit.Enabled() || window.RenameBtn.Enabled());
}

TEST_F(TemplatesOrganizer, RenameChangesOnlyANewFreeName)
{
    Put("a.kbf", "a");
    Put("b.kbf", "b");
    TOrganizeTemplates& window = Window();
    Choose(window, "a", 0);
    RenameTo(window, "z", mrCancel);
    RenameTo(window, "a");
    EXPECT_TRUE(boxes_.Shown().empty());
    EXPECT_EQ(Files(), (std::vector<std::string>{"a.kbf", "b.kbf"}));

    boxes_.Answer(IDOK);
    RenameTo(window, "b");
    EXPECT_EQ(boxes_.Texts(), std::vector<std::string>{"File already exists: 'b.kbf'. \nCannot overwrite!"});
    EXPECT_EQ(ReadFileBytes(T("b.kbf")), "b");

    RenameTo(window, "c");
    EXPECT_EQ(ReadFileBytes(T("c.kbf")), "a");
    EXPECT_EQ(RowsOf(window.List), (Rows{{"b", 0}, {"c", 0}}));
    EXPECT_EQ(window.List.ItemIndex(), 0);
}

TEST_F(TemplatesOrganizer, RenameOkFollowsTheTypedName)
{
    TRename dialog;
    EXPECT_FALSE(dialog.OK.Enabled());
    dialog.NameEdit.SetText("x");
    EXPECT_TRUE(dialog.OK.Enabled());
    dialog.NameEdit.SetText("");
    EXPECT_FALSE(dialog.OK.Enabled());
    EXPECT_EQ(dialog.NameEdit.MaxLength(), 255);
}

TEST_F(TemplatesOrganizer, WhatIsTypedInTheRenameBoxReplacesTheNameOrWhatCtrlASelects)
{
    Put("Lisbon.txt");
    TOrganizeTemplates& window = Window();
    Choose(window, "Lisbon", 1);
    ModalScript script;
    script.Then<TRename>([](TRename& dialog) {
        TypeText(GetFocus(), "Lisbon trip");
        EXPECT_EQ(dialog.NameEdit.Text(), "Lisbon trip");
        SendMessageA(dialog.NameEdit.Handle(), EM_SETSEL, 0, 0);
        PressKey(dialog.NameEdit.Handle(), 'A', ssCtrl);
        TypeText(dialog.NameEdit.Handle(), "Porto");
        EXPECT_EQ(dialog.NameEdit.Text(), "Porto");
        dialog.ModalResult = mrCancel;
    });
    window.RenameBtnClick();
    EXPECT_EQ(script.PendingSteps(), 0u);
}

TEST_F(TemplatesOrganizer, NamesThatWouldLeaveTheFolderAreRefused)
{
    Put("t.txt");
    TOrganizeTemplates& window = Window();
    for (const char* name : {"..\\..\\outside", "..", ".", "c:evil", "a\\b"}) {
        Build("P");
        N("P")->SetText(name);
        Select(N("P"));
        boxes_.Answer(IDOK);
        window.paCurrentPageClick();
        boxes_.Answer(IDOK);
        window.paCurrentBranchClick();
        Choose(window, "t", 1);
        boxes_.Answer(IDOK);
        RenameTo(window, name);
        EXPECT_EQ(boxes_.PendingAnswers(), 0u) << name;
        EXPECT_EQ(boxes_.Texts().back().rfind("'" + std::string(name) + "' cannot be a template name!", 0), 0u);
    }
    EXPECT_EQ(Files(), std::vector<std::string>{"t.txt"});
    EXPECT_EQ(Sorted(FilesIn(folder_.Path())), (std::vector<std::string>{"Templates", "outside.txt"}));
    EXPECT_EQ(ReadFileBytes(folder_ / "outside.txt"), "outside");
}

TEST_F(TemplatesOrganizer, SameNamedTemplatesEachActOnTheirOwnFile)
{
    Put("a.txt", "page");
    Put("a.kbf", "outline");
    TOrganizeTemplates& window = Window();
    Choose(window, "a", 0);
    window.EditClick();
    window.ListDblClick();
    EXPECT_EQ(opened_, (std::vector<std::string>{T("a.kbf"), T("a.kbf")}));
    const auto dragged = DraggedTemplate(&window.List);
    ASSERT_TRUE(dragged);
    EXPECT_EQ(dragged->kind, TemplateKind::Outline);
    EXPECT_EQ(dragged->Path(), T("a.kbf"));
    EXPECT_FALSE(DraggedTemplate(Main->Tree.get()));

    RenameTo(window, "b");
    EXPECT_EQ(ReadFileBytes(T("b.kbf")), "outline");
    EXPECT_EQ(ReadFileBytes(T("a.txt")), "page");
    Choose(window, "a", 1);
    EXPECT_EQ(DraggedTemplate(&window.List)->kind, TemplateKind::Page);
    Remove(window, true);
    EXPECT_EQ(Files(), std::vector<std::string>{"b.kbf"});
}

TEST_F(TemplatesOrganizer, PagesDraggedFromTheTreeBecomeTemplates)
{
    Build("Leaf,Branch(Child)");
    TOrganizeTemplates& window = Window();
    Select(N("Leaf"));
    EXPECT_EQ(DragSelectedPageOntoList(window), TDragManager::DefaultDragCursor());
    EXPECT_EQ(ReadFileBytes(T("Leaf.txt")), "Leaf text");

    Select(N("Branch"));
    EXPECT_EQ(DragSelectedPageOntoList(window), ScreenCursor(7));
    EXPECT_EQ(StoredOutline(T("Branch.kbf")).pages.size(), 2u);

    SetKeyboardStateProvider([] { return ssCtrl; });
    EXPECT_EQ(DragSelectedPageOntoList(window), TDragManager::DefaultDragCursor());
    EXPECT_EQ(ReadFileBytes(T("Branch.txt")), "Branch text");
    EXPECT_EQ(RowsOf(window.List), (Rows{{"Branch", 1}, {"Branch", 0}, {"Leaf", 1}}));

    // Nothing but the main tree is taken.
    bool accept = true;
    window.ListDragOver(&window.List, accept);
    EXPECT_FALSE(accept);
}

TEST_F(TemplatesOrganizer, ReopeningRestoresPlaceAndFilter)
{
    Put("p.txt");
    Put("o.kbf");
    TOrganizeTemplates& window = Window();
    window.SetBounds(140, 120, window.Width(), window.Height());
    window.FilterEdit.SetItemIndex(tfOutlines);
    window.FilterEditChange();
    window.Button3Click();
    EXPECT_FALSE(window.Visible());
    EXPECT_TRUE(DialogStates.OrganizeTemplatesInitialized);
    EXPECT_EQ(DialogStates.OrganizeTemplatesFilter, tfOutlines);
    EXPECT_EQ(std::make_pair(DialogStates.OrganizeTemplatesLeft, DialogStates.OrganizeTemplatesTop),
              std::make_pair(140, 120));

    window.SetBounds(0, 0, window.Width(), window.Height());
    Window();
    EXPECT_EQ(std::make_pair(window.Left(), window.Top()), std::make_pair(140, 120));
    EXPECT_EQ(RowsOf(window.List), (Rows{{"o", 0}}));

    window.Close();
    DialogStates.OrganizeTemplatesFilter = 9;
    Window();
    EXPECT_EQ(window.Filter(), tfAll);
    EXPECT_EQ(window.FilterEdit.ItemIndex(), tfAll);
    EXPECT_EQ(window.List.Count(), 2);
}

namespace {
class OrganizeTemplatesAtClose : public StartedMain {};
}

TEST_F(OrganizeTemplatesAtClose, ClosingTheMainWindowStoresItsPlaceAndFilter)
{
    Start({"/m"});
    Main->mOrganizeTemplatesClick(nullptr);
    TOrganizeTemplates& window = *OrganizeTemplatesWindow();
    window.SetBounds(150, 110, window.Width(), window.Height());
    window.FilterEdit.SetItemIndex(tfPages);
    Main->Close();
    ASSERT_TRUE(Main->Closed());
    EXPECT_EQ(StoredNumber("States", "OrganizeTemplatesInitialized"), 1);
    EXPECT_EQ(StoredNumber("States", "OrganizeTemplatesLeft"), 150);
    EXPECT_EQ(StoredNumber("States", "OrganizeTemplatesTop"), 110);
    EXPECT_EQ(StoredNumber("States", "OrganizeTemplatesFilter"), tfPages);
}

TEST_F(TemplatesOrganizer, AddOpensItsMenuAtTheButtonsTopRightAndTheDeleteKeyRemoves)
{
    Put("a.txt");
    TOrganizeTemplates& window = Window();
    POINT at{};
    SetPopupTracker([&at](TPopupMenu&, int x, int y, HWND) -> UINT {
        at = POINT{x, y};
        return 0;
    });
    window.AddClick();
    SetPopupTracker(nullptr);
    RECT button{};
    GetWindowRect(window.Add.Handle(), &button);
    EXPECT_EQ(std::make_pair(at.x, at.y), std::make_pair(button.right, button.top));

    ModalScript script;
    script.Then<TDelete>([](TDelete& dialog) { dialog.Yes.Click(); });
    PressKey(window.List.Handle(), VK_DELETE, 0);
    EXPECT_EQ(script.PendingSteps(), 0u);
    EXPECT_TRUE(Files().empty());
}

TEST_F(TemplatesOrganizer, SameNamedRowsDroppedOnTheTreeInsertTheirOwnKind)
{
    const std::string outline = SavedOutline("Same.kbf", "Same");
    ASSERT_TRUE(CopyFileA(outline.c_str(), T("Same.kbf").c_str(), FALSE));
    Put("Same.txt", "page text");
    Build("A,B");
    TOrganizeTemplates& window = Window();
    const auto dropOnRightOf = [&](TTreeNode* page) {
        const RECT label = page->DisplayRect(true);
        Main->TreeDragDrop(&window.List, label.right + 8, (label.top + label.bottom) / 2);
    };
    Choose(window, "Same", 0);
    dropOnRightOf(N("A"));
    Choose(window, "Same", 1);
    dropOnRightOf(N("B"));
    EXPECT_EQ("A(Same(Child of Same)),B(Same)", Shape());
}

// Cut, Copy, Paste, Select All, Undo and Delete on each of their targets, and
// which editor keys mark the outline changed.
#include "FindDialog.h"
#include "Menus.h"
#include "ModelessWindows.h"
#include "PageTreeTest.h"
#include "PressKey.h"
#include "Progress.h"
#include "StatusBar.h"

#include <string>

namespace {
void SetClipboardText(const std::string& text)
{
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

std::string ClipboardText()
{
    if (!OpenClipboard(nullptr))
        return "<clipboard busy>";
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(GlobalLock(data));
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

std::string WindowText(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void SendKeyUp(HWND target, WORD key)
{
    PostMessageA(target, WM_KEYUP, key, LPARAM{1} | (LPARAM{3} << 30));
    Application.ProcessMessages();
}

class EditCommands : public PageTreeTest {
protected:
    void TearDown() override
    {
        FindR.reset();
        PageTreeTest::TearDown();
    }
};
}

TEST_F(EditCommands, WithTheFindWindowActiveTheKeysActOnItsBox)
{
    Build("A,B");
    Select(N("A"));
    Editor().SetFocus();
    Editor().SetSelection(0, 0, false);
    SendMessageA(Editor().Handle(), WM_CHAR, 'z', 1);
    ASSERT_EQ(Editor().Text(), "zA text");
    OutlineProperties.FileChanged = 0;
    Main->mFindClick(nullptr);
    TFindR& find = *FindRWindow();
    ASSERT_TRUE(FindWindowIsActive());
    find.Edit.SetText("hello world");
    const HWND box = GetWindow(find.Edit.Handle(), GW_CHILD);

    PressKey(box, 'A', ssCtrl);
    PressKey(box, 'C', ssCtrl);
    EXPECT_EQ(ClipboardText(), "hello world");
    SetClipboardText("pasted");
    PressKey(box, 'V', ssCtrl);
    EXPECT_EQ(find.Edit.Text(), "pasted");
    PressKey(box, 'A', ssCtrl);
    PressKey(box, 'X', ssCtrl);
    EXPECT_EQ(find.Edit.Text(), "");
    EXPECT_EQ(ClipboardText(), "pasted");

    find.Edit.SetText("keep this");
    SendMessageA(find.Edit.Handle(), CB_SETEDITSEL, 0, MAKELPARAM(0, 5));
    Main->mDeleteClick(nullptr);
    EXPECT_EQ(find.Edit.Text(), "this");

    EXPECT_EQ(Shape(), "A,B");
    EXPECT_EQ(PageClipboard.Source, nullptr);
    EXPECT_EQ(OutlineProperties.FileChanged, 0);
    // Undo is the page editor's still.
    PressKey(box, 'Z', ssCtrl);
    EXPECT_EQ(Editor().Text(), "A text");
    EXPECT_EQ(find.Edit.Text(), "this");
}

TEST_F(EditCommands, ATitleBeingEditedTakesTheClipboardCommands)
{
    Build("A,B");
    Select(N("A"));
    Tree().SetFocus();
    ASSERT_TRUE(N("A")->EditText());
    const HWND label = Tree().EditHandle();
    ASSERT_NE(label, nullptr);
    SetWindowTextA(label, "Alpha");
    Main->mSelectAllClick(nullptr);
    Main->mCopyClick(nullptr);
    EXPECT_EQ(ClipboardText(), "Alpha");
    Main->mCutClick(nullptr);
    EXPECT_EQ(WindowText(label), "");
    SetClipboardText("Zed");
    Main->mPasteClick(nullptr);
    EXPECT_EQ(WindowText(label), "Zed");
    EXPECT_EQ(PageClipboard.Source, nullptr);
    EXPECT_EQ(Shape(), "A,B");
}

TEST_F(EditCommands, TheTreeCutsAndCopiesBranchesButNeverTheRoot)
{
    Build("A(A1),B");
    Select(Root());
    Tree().SetFocus();
    Main->mCutClick(nullptr);
    Main->mCopyClick(nullptr);
    EXPECT_EQ(PageClipboard.Source, nullptr);
    EXPECT_EQ(Shape(), "A(A1),B");

    Select(N("A"));
    Tree().SetFocus();
    Main->mCopyClick(nullptr);
    EXPECT_EQ(PageClipboard.Source, N("A"));
    Select(Root());
    Tree().SetFocus();
    Main->mPasteClick(nullptr);
    EXPECT_EQ(Shape(), "A(A1),B,A(A1)");
    EXPECT_EQ(OutlineProperties.FileChanged, 1);
}

TEST_F(EditCommands, OnlyWhatChangesThePageMarksTheOutlineChanged)
{
    Build("A");
    Select(N("A"));
    Editor().SetFocus();
    const HWND editor = Editor().Handle();
    struct Row {
        const char* name;
        std::function<void()> act;
        int changed;
    } rows[] = {
        {"Copy", [] { Main->mCopyClick(nullptr); }, 0},
        {"arrow key", [editor] { SendKeyUp(editor, VK_LEFT); }, 0},
        {"Esc", [editor] { SendMessageA(editor, WM_CHAR, VK_ESCAPE, 1); }, 0},
        {"Cut", [] { Main->mCutClick(nullptr); }, 1},
        {"Paste", [] { Main->mPasteClick(nullptr); }, 1},
        {"Delete", [] { Main->mDeleteClick(nullptr); }, 1},
        {"Backspace", [editor] { SendKeyUp(editor, VK_BACK); }, 1},
        {"Space", [editor] { SendKeyUp(editor, VK_SPACE); }, 1},
        {"keypad plus", [editor] { SendKeyUp(editor, VK_ADD); }, 1},
        {"a character", [editor] { SendMessageA(editor, WM_CHAR, 'q', 1); }, 1},
    };
    for (const Row& row : rows) {
        Editor().SetSelection(0, 1, false);
        OutlineProperties.FileChanged = 0;
        row.act();
        EXPECT_EQ(OutlineProperties.FileChanged, row.changed) << row.name;
    }
}

TEST_F(EditCommands, TheEditorsPopupFollowsItsSelection)
{
    Build("A");
    Select(N("A"));
    Editor().SetSelection(0, 2, false);
    EXPECT_EQ(Editor().PopupMenu(), Main->PopupMenuNamed("PopupSel"));
    Editor().SetSelection(1, 1, false);
    EXPECT_EQ(Editor().PopupMenu(), Main->PopupMenuNamed("PopupEdit"));
}

TEST_F(EditCommands, TheMouseOverTheEditorShowsTheTitleOrHowToAddAPage)
{
    Build("");
    Main->RichEditMouseMove();
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "To add new page, click");
    Build("A");
    Select(N("A"));
    Main->StatusBar->Panel(0).SetText("");
    Main->RichEditMouseMove();
    EXPECT_EQ(Main->StatusBar->Panel(0).Text(), "A");
}

namespace {
UINT CommandOf(const char* item) { return dynamic_cast<TMenuItem*>(Main->FindComponent(item))->Command(); }
} // namespace

TEST_F(EditCommands, PasteInThePageEditorInsertsAtTheCaretOrOverTheSelectionOnly)
{
    Build("A");
    Select(N("A"));
    const HWND editor = Editor().Handle();
    struct Case {
        const char* name;
        std::function<void()> paste;
        int selStart, selLength;
        const char* expected;
    };
    const auto ctrlV = [editor] { PressKey(editor, 'V', ssCtrl); };
    const Case cases[] = {
        {"Ctrl+V at the end", ctrlV, 3, 0, "abcdef"},
        {"Ctrl+V over a selection", ctrlV, 1, 1, "adefc"},
        {"Shift+Ins", [editor] { PressKey(editor, VK_INSERT, ssShift); }, 3, 0, "abcdef"},
        {"Edit > Paste",
         [] {
             PostMessageA(Main->Handle(), WM_COMMAND, CommandOf("mPaste"), 0);
             Application.ProcessMessages();
         },
         0, 0, "defabc"},
        {"the editor's popup",
         [editor] {
             SetPopupTracker([](TPopupMenu&, int, int, HWND) { return CommandOf("pePaste"); });
             PostMessageA(editor, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(editor), MAKELPARAM(10, 10));
             Application.ProcessMessages();
             SetPopupTracker(nullptr);
         },
         3, 0, "abcdef"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor().SetFocus();
        Editor().SetText("abc");
        Editor().SetSelection(c.selStart, c.selStart + c.selLength, false);
        Editor().ClearUndo();
        Editor().SetModified(false);
        SetClipboardText("def");
        c.paste();
        EXPECT_EQ(Editor().Text(), c.expected);
        // The caret stands after the pasted text, and the page keeps it.
        EXPECT_EQ(Editor().SelStart(), c.selStart + 3);
        EXPECT_EQ(Editor().SelLength(), 0);
        EXPECT_TRUE(Editor().Modified());
        Editor().Undo();
        EXPECT_EQ(Editor().Text(), "abc");
    }
}

namespace {
std::string StoredRootBody(const std::string& path)
{
    KbfOutline outline;
    EXPECT_EQ(ReadKbfBytes(ReadFileBytes(path), outline), KbfReadResult::Ok);
    return outline.pages.empty() ? std::string("<no pages>") : outline.pages.front().body;
}
} // namespace

TEST_F(EditCommands, UndoAfterASaveIsAChangeTheNextSaveKeeps)
{
    const std::string path = SavedOutline("Undo.kbf", "Notes");
    const HWND editor = Editor().Handle();
    struct Case {
        const char* name;
        std::function<void()> undo;
    };
    const Case cases[] = {
        {"Ctrl+Z", [editor] { PressKey(editor, 'Z', ssCtrl); }},
        {"Edit > Undo",
         [] {
             PostMessageA(Main->Handle(), WM_COMMAND, CommandOf("mUndo"), 0);
             Application.ProcessMessages();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Editor().SetFocus();
        Editor().SetSelStart(Editor().TextLength());
        TypeText(editor, " XYZ");
        ASSERT_TRUE(Main->mSaveClick(nullptr));
        ASSERT_EQ(StoredRootBody(path), "Notes body XYZ");
        c.undo();
        ASSERT_EQ(Editor().Text(), "Notes body");
        EXPECT_EQ(OutlineProperties.FileChanged, 1);
        ASSERT_TRUE(Main->mSaveClick(nullptr));
        EXPECT_EQ(StoredRootBody(path), "Notes body");
    }
}

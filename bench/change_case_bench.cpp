// Times Change Case of a whole long page in the real main window, from the
// dialog's OK to the page painted, and its Undo; beside them a bare rich edit
// window of the page editor's size and character format, shown in the same
// place, replaces the same whole text with its upper case (EM_REPLACESEL,
// undoable) and takes that back (EM_UNDO) in the same run: what it takes is
// the control's own time, the rest is ours.
//
// change_case_bench [KILOBYTES...] times pages of those sizes instead; the
// 296 KB page of prose takes minutes bare, too long for every run.

#include "Application.h"
#include "BenchBareRichEdit.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "BenchTexts.h"
#include "Form.h"
#include "Main.h"
#include "OutlineFile.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {
std::string Upper(std::string text)
{
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The root and one page holding the text, shown.
void StartWithPage(const std::string& text)
{
    KbfOutline outline;
    outline.pages.resize(2);
    outline.pages[0].title = "Change case";
    outline.pages[0].expand = KbfExpanded;
    outline.pages[1].parent = 0;
    outline.pages[1].title = "Long";
    outline.pages[1].body = text;
    const std::string path = BenchTempPath("quillo-change-case-bench.kbf");
    WriteBenchOutline(path, outline);
    StartShownBenchWindow();
    LoadOutline(path);
    DeleteFileA(path.c_str());
    Main->Tree->SetSelected(Main->Tree->Items().GetFirstNode()->getFirstChild());
    Main->TreeClick();
    Main->RichEdit->SetFocus();
    Application.ProcessMessages();
}

struct Times {
    double change = 0;
    double undo = 0;
};

Times TimeBare(const std::string& text)
{
    TQRichEdit& editor = *Main->RichEdit;
    BareRichEdit bare(editor.Handle());
    bare.SetText(text);
    Application.ProcessMessages();
    const std::string upper = Upper(bare.StreamOut());
    CHARRANGE all{0, -1};
    SendMessageA(bare.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&all));
    Times times;
    times.change = TimedWithPainting(
        [&] { SendMessageA(bare.Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(upper.c_str())); });
    times.undo = TimedWithPainting([&] { SendMessageA(bare.Handle(), EM_UNDO, 0, 0); });
    std::printf("  bare control: replace %.1f ms, undo %.1f ms\n", times.change, times.undo);
    std::fflush(stdout);
    return times;
}

void Compare(const std::string& what, double ours, double bare)
{
    CompareWithBare(what.c_str(), ours, bare);
    // The bare control's own way is the one to beat.
    Report(what.c_str(), ours, bare + 200);
}

void TimeSize(std::size_t kilobytes)
{
    const std::string text = ProseOfSize(kilobytes << 10);
    const std::string size = std::to_string(kilobytes) + " KB";
    StartWithPage(text);
    TQRichEdit& editor = *Main->RichEdit;
    const Times bare = TimeBare(text);
    const std::string shown = editor.Text();
    const int characters = editor.TextLength();

    editor.SelectAll();
    TForm::ModalShownHook = [](TForm& form) { form.ModalResult = mrOk; };
    const double change = TimedWithPainting([] { Main->mCaseClick(nullptr); });
    TForm::ModalShownHook = nullptr;
    Compare("Change Case of a " + size + " page", change, bare.change);
    const bool changed = editor.Text() == Upper(shown);

    // The character in the view's top row.
    auto top = [&] {
        POINTL corner{1, 1};
        return static_cast<int>(SendMessageA(editor.Handle(), EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)));
    };
    const int topBefore = top();
    const double undo = TimedWithPainting([] { Main->mUndoClick(nullptr); });
    Compare("Undo of it", undo, bare.undo);
    const CHARRANGE selection = editor.GetSelection();
    std::printf("  %d characters; changed %s, undone %s, selected after Undo %ld-%ld, view from character %d to %d\n",
                characters, changed ? "yes" : "NO", editor.Text() == shown ? "yes" : "NO", selection.cpMin,
                selection.cpMax, topBefore, top());
    std::fflush(stdout);
    OutlineProperties.FileChanged = 0;
    EndBenchWindow();
}
} // namespace

int main(int argc, char** argv)
{
    for (std::size_t kilobytes : SizesFromArguments(argc, argv, 128))
        TimeSize(kilobytes);
    return 0;
}

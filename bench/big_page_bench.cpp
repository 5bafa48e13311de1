// Times what a person meets with a page of a megabyte in the real main
// window: Insert File of a text file with the editor focused, into an empty
// page and before a page's own text, and with the tree focused, showing the
// page again after a short one, committing it, showing the short page after
// it, and freeing the window while it shows.
// Beside each, a bare rich edit window of the page editor's size and
// character format, shown in the same window, does the same load in the same
// run: what it takes is the control's own time, the rest is ours.
//
// big_page_bench [MEGABYTES...] times pages of those sizes instead; five
// megabytes take about five minutes, most of them the bare control's,
// too long for every run.

#include "Application.h"
#include "BenchBareRichEdit.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "BenchTexts.h"
#include "FileDialogs.h"
#include "Main.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "Streams.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace {
void WriteTextFile(const std::string& path, const std::string& text)
{
    TFileStream file(path, fmCreate | fmShareExclusive);
    file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
}

TTreeNode* IntoPage() { return Main->Tree->Items().GetFirstNode()->getFirstChild(); }
TTreeNode* ShortPage() { return IntoPage()->getNextSibling(); }
TTreeNode* EmptyPage() { return ShortPage()->getNextSibling(); }

void SelectPage(TTreeNode* page)
{
    Main->Tree->SetSelected(page);
    Main->TreeClick();
    Application.ProcessMessages();
}

// The root, two short pages and an empty one, the first selected and shown
// with the caret before its text: the file goes into it and into the empty
// one, the second stays short.
void StartWithShortPages()
{
    KbfOutline outline;
    outline.pages.resize(4);
    outline.pages[0].title = "Big pages";
    outline.pages[0].expand = KbfExpanded;
    const char* const titles[] = {"", "Into", "Short", "Empty"};
    for (std::size_t page : {1, 2, 3}) {
        outline.pages[page].parent = 0;
        outline.pages[page].title = titles[page];
        outline.pages[page].body = page == 3 ? "" : "A short page.\r\n";
    }
    const std::string path = BenchTempPath("quillo-big-page-bench.kbf");
    WriteBenchOutline(path, outline);
    StartShownBenchWindow();
    LoadOutline(path);
    DeleteFileA(path.c_str());
    SelectPage(IntoPage());
}

double InsertFile(const std::string& path, TControl& focused)
{
    focused.SetFocus();
    Application.ProcessMessages();
    SetOpenDialogHandler([&](TOpenDialog& dialog) {
        dialog.FileName = path;
        return true;
    });
    const double elapsed = TimedWithPainting([] { Main->mFileClick(nullptr); });
    SetOpenDialogHandler(nullptr);
    return elapsed;
}

struct BareTimes {
    double load = 0;
    double commit = 0;
    double close = 0;
};

// The bare control in the editor's place, doing the same load.
BareTimes TimeBare(const std::string& text)
{
    BareTimes times;
    BareRichEdit bare(Main->RichEdit->Handle());
    times.load = TimedWithPainting([&] { bare.SetText(text); });
    std::size_t bytes = 0;
    times.commit = TimedWithPainting([&] { bytes = bare.StreamOut().size(); });
    times.close = TimedWithPainting([&] { bare.Destroy(); });
    std::printf("  bare control: load %.1f ms, stream out %.1f ms, destroy %.1f ms\n", times.load, times.commit,
                times.close);
    std::fflush(stdout);
    return times;
}

void Compare(const std::string& what, double ours, double bare, double target)
{
    CompareWithBare(what.c_str(), ours, bare);
    Report(what.c_str(), ours, target);
}

void TimeSize(std::size_t megabytes)
{
    const std::string name = "quillo-big-page-" + std::to_string(megabytes) + "mb";
    const std::string path = BenchTempPath(name + ".txt");
    const std::string text = ProseOfSize(megabytes << 20);
    WriteTextFile(path, text);
    const std::string size = std::to_string(megabytes) + " MB";

    StartWithShortPages();
    const BareTimes bare = TimeBare(text);
    // The control's own time is the floor: ours may add a half to it (the
    // tree-focused Insert File reads the file through the converter first).
    // Each is said as soon as it is measured: a big page takes minutes.
    auto target = [](double bareTime) { return 1.5 * bareTime + 200; };
    SelectPage(EmptyPage());
    const double intoEmpty = InsertFile(path, *Main->RichEdit);
    Compare("Insert File of " + size + " into an empty page", intoEmpty, bare.load, target(bare.load));
    const bool insertedIntoEmpty = PageDataOf(EmptyPage())->BodyText() == text;
    SelectPage(IntoPage());
    const double intoEditor = InsertFile(path, *Main->RichEdit);
    Compare("Insert File of " + size + " before a page's text", intoEditor, bare.load, target(bare.load));
    const bool inserted = PageDataOf(IntoPage())->BodyText() == text + "A short page.\r\n";
    SelectPage(Main->Tree->Items().GetFirstNode());
    const double asPage = InsertFile(path, *Main->Tree);
    Compare("Insert File of " + size + ", tree focused", asPage, bare.load, target(bare.load));
    TTreeNode* big = Main->Tree->Selected();
    const bool added = big->Parent() == IntoPage()->Parent() && PageDataOf(big)->BodyText() == text;
    const double clear = TimedWithPainting([] { SelectPage(ShortPage()); });
    Report(("show a short page after the " + size + " page").c_str(), clear, 500);
    const double show = TimedWithPainting([&] { SelectPage(big); });
    Compare("show the " + size + " page again", show, bare.load, target(bare.load));
    Main->RichEdit->SetModified(true);
    const double commit = TimedWithPainting([] { Main->RichEditExit(); });
    Compare("commit the " + size + " page", commit, bare.commit, target(bare.commit));
    OutlineProperties.FileChanged = 0;
    const double close = TimedWithPainting([] { EndBenchWindow(); });
    Compare("free the window showing the " + size + " page", close, bare.close, target(bare.close));
    DeleteFileA(path.c_str());
    std::printf("  %zu bytes; inserted into the empty page %s, before the page's text %s, added as a page %s\n",
                text.size(), insertedIntoEmpty ? "yes" : "NO", inserted ? "yes" : "NO", added ? "yes" : "NO");
}
} // namespace

int main(int argc, char** argv)
{
    for (std::size_t megabytes : SizesFromArguments(argc, argv, 1))
        TimeSize(megabytes);
    return 0;
}

// Times Insert File with the tree focused of a text of one line against the
// same text in lines, in the real main window, and a bare rich edit window
// of the page editor's size and format taking a 16 KB line whole and in
// lines: the control wraps a paragraph in time growing with the square of
// its length, so the one-line file comes in pieces and should take no more
// than half as long again as the text in lines.
//
// long_line_bench [MEGABYTES...]; five megabytes take about a minute.

#include "Application.h"
#include "BenchBareRichEdit.h"
#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "BenchTexts.h"
#include "FileDialogs.h"
#include "Main.h"
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
std::string OneLine(std::string text)
{
    std::string line;
    line.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r')
            continue;
        line += text[i] == '\n' ? ' ' : text[i];
    }
    return line;
}

double InsertFileAsPage(const std::string& text, const std::string& name)
{
    const std::string path = BenchTempPath(name);
    {
        TFileStream file(path, fmCreate | fmShareExclusive);
        file.WriteBuffer(text.data(), static_cast<std::int64_t>(text.size()));
    }
    Main->Tree->SetSelected(Main->Tree->Items().GetFirstNode());
    Main->TreeClick();
    // Only an active window gives its tree the focus, which makes the file a
    // new page, as a person does it.
    SetForegroundWindow(Main->Handle());
    SetActiveWindow(Main->Handle());
    Main->Tree->SetFocus();
    Application.ProcessMessages();
    if (!Main->Tree->Focused())
        std::printf("  (the tree has no focus: the file goes into the page)\n");
    SetOpenDialogHandler([&](TOpenDialog& dialog) {
        dialog.FileName = path;
        return true;
    });
    const auto start = BenchClock::now();
    Main->mFileClick(nullptr);
    Application.ProcessMessages();
    const double elapsed = MillisecondsSince(start);
    SetOpenDialogHandler(nullptr);
    DeleteFileA(path.c_str());
    return elapsed;
}

double BareLoad(const std::string& text)
{
    BareRichEdit bare(Main->RichEdit->Handle());
    const auto start = BenchClock::now();
    bare.SetText(text);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
    return MillisecondsSince(start);
}

void TimeSize(std::size_t megabytes)
{
    const std::string size = std::to_string(megabytes) + " MB";
    const std::string lines = WordsOfSize(megabytes << 20);
    // Each in a window of its own: a second big page costs more than the
    // first, whatever its lines.
    const auto inFreshWindow = [](const std::string& text, const std::string& name) {
        StartShownBenchWindow();
        const double elapsed = InsertFileAsPage(text, name);
        OutlineProperties.FileChanged = 0;
        EndBenchWindow();
        return elapsed;
    };
    const double inLines = inFreshWindow(lines, "quillo-long-line-bench-lines.txt");
    std::printf("  Insert File of %s in lines: %.1f ms\n", size.c_str(), inLines);
    std::fflush(stdout);
    const double oneLine = inFreshWindow(OneLine(lines), "quillo-long-line-bench-line.txt");
    Report(("Insert File of " + size + " in one line").c_str(), oneLine, 1.5 * inLines);
}

void TimeBareLine()
{
    StartShownBenchWindow();
    const std::string lines = WordsOfSize(16 * 1024);
    const double inLines = BareLoad(lines);
    const double oneLine = BareLoad(OneLine(lines));
    std::printf("  bare control, 16 KB: in lines %.1f ms, in one line %.1f ms\n", inLines, oneLine);
    std::fflush(stdout);
    OutlineProperties.FileChanged = 0;
    EndBenchWindow();
}
} // namespace

int main(int argc, char** argv)
{
    TimeBareLine();
    for (std::size_t megabytes : SizesFromArguments(argc, argv, 1))
        TimeSize(megabytes);
    return 0;
}

// Times the Options and Properties commands from the command to the dialog
// on screen: Options with its five tabs, the mail clients and the folder
// rows; Properties over an outline at the format's limit of 65,535 pages,
// whose page count comes from the pages, not from the tree control.

#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "Form.h"
#include "Main.h"
#include "OutlineFile.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 5;

// The root, 255 folded pages below it, and the rest spread under those.
KbfOutline LimitOutline()
{
    KbfOutline outline;
    KbfPage root;
    root.parent = -1;
    root.title = "Limit";
    root.expand = KbfExpanded;
    outline.pages.push_back(root);
    constexpr int Groups = 255;
    for (int group = 0; group < Groups; ++group) {
        KbfPage holder;
        holder.parent = 0;
        holder.title = "Group " + std::to_string(group);
        holder.expand = KbfCollapsed;
        const auto holderIndex = static_cast<std::int32_t>(outline.pages.size());
        outline.pages.push_back(holder);
        const int children = (PageCount - 1 - Groups) / Groups + (group < (PageCount - 1 - Groups) % Groups ? 1 : 0);
        for (int child = 0; child < children; ++child) {
            KbfPage page;
            page.parent = holderIndex;
            page.title = "Page " + std::to_string(child);
            page.body = "A line of text.\n";
            page.expand = KbfNoChildren;
            outline.pages.push_back(page);
        }
    }
    return outline;
}

// From the command to the dialog shown; the dialog is then cancelled.
double TimeToShown(const char* handler, std::string& shownCaption)
{
    BenchClock::time_point start;
    double shownAfter = -1;
    TForm::ModalShownHook = [&](TForm& form) {
        shownAfter = MillisecondsSince(start);
        shownCaption = form.Caption();
        form.ModalResult = mrCancel;
    };
    start = BenchClock::now();
    Main->RunHandler(handler, nullptr);
    TForm::ModalShownHook = nullptr;
    return shownAfter;
}

void Measure(const char* handler, const char* what, double target)
{
    std::vector<double> runs;
    std::string caption;
    for (int run = 0; run < Runs; ++run)
        runs.push_back(TimeToShown(handler, caption));
    std::printf("  %s (\"%s\"): %s\n", handler, caption.c_str(), RunsText(runs).c_str());
    Report(what, Best(runs), target);
}
} // namespace

int main()
{
    const std::string path = BenchTempPath("quillo-dialog-bench.kbf");
    {
        KbfOutline outline = LimitOutline();
        WriteBenchOutline(path, outline);
    }

    StartShownBenchWindow();

    Measure("mOptionsClick", "Options, command to shown dialog (best)", 300);
    if (!LoadOutline(path))
        std::printf("  LoadOutline FAILED\n");
    Application.ProcessMessages();
    if (Main->Tree->Items().Count() != PageCount)
        std::printf("  outline FAILED: %d pages\n", Main->Tree->Items().Count());
    Measure("mSummeryClick", "Properties, 65,535 pages, command to shown (best)", 100);

    EndBenchWindow();
    DeleteFileA(path.c_str());
    return 0;
}

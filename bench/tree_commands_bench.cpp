// Times the page tree commands of the shown main window on outlines at the
// format's limit of 65,535 pages: Expand All and Collapse All, deleting a
// branch of 65,000 pages, copying and pasting a branch of 30,000 pages and
// moving the page that carries it one level up. Every command runs through
// its handler, as the menu runs it.

#include "BenchMainWindow.h"
#include "BenchReport.h"
#include "Main.h"
#include "OutlineFile.h"
#include "SettingsRecords.h"
#include "TreeView.h"

#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {
constexpr int PageCount = 65535;
constexpr int Runs = 3;

std::int32_t AddPage(KbfOutline& outline, std::int32_t parent, const std::string& title)
{
    KbfPage page;
    page.parent = parent;
    page.title = title;
    page.state = static_cast<std::int32_t>(outline.pages.size() % 16);
    for (int line = 0; line < 5; ++line)
        page.body += "Some words of page text that fill a line of a typical note.\n";
    outline.pages.push_back(page);
    return static_cast<std::int32_t>(outline.pages.size() - 1);
}

// Adds count pages in pre-order below top, in branches down to eight levels
// below it.
void AddBranch(KbfOutline& outline, std::int32_t top, int count, std::mt19937& random)
{
    std::vector<std::int32_t> path{top};
    for (int added = 0; added < count; ++added) {
        const auto previous = static_cast<std::int32_t>(outline.pages.size() - 1);
        const unsigned roll = random() % 10;
        if (added > 0 && roll < 3 && path.size() < 9)
            path.push_back(previous);
        else if (roll < 5 && path.size() > 1)
            path.pop_back();
        AddPage(outline, path.back(), "Page " + std::to_string(outline.pages.size()));
    }
}

// Every third page with sub pages was saved expanded, the others collapsed.
void SetExpandStates(KbfOutline& outline)
{
    std::vector<bool> hasChildren(outline.pages.size(), false);
    for (std::size_t i = 1; i < outline.pages.size(); ++i)
        hasChildren[static_cast<std::size_t>(outline.pages[i].parent)] = true;
    for (std::size_t i = 1; i < outline.pages.size(); ++i)
        outline.pages[i].expand = !hasChildren[i] ? KbfNoChildren : i % 3 == 0 ? KbfExpanded : KbfCollapsed;
}

// 65,535 pages in many branches below the root, as a big outline grows.
KbfOutline WideOutline()
{
    std::mt19937 random(7);
    KbfOutline outline;
    AddPage(outline, -1, "Wide");
    AddBranch(outline, 0, PageCount - 1, random);
    SetExpandStates(outline);
    return outline;
}

// "Carrier", a page at level 1 with a branch of 65,000 pages, among others.
KbfOutline OneBigBranch()
{
    std::mt19937 random(11);
    KbfOutline outline;
    AddPage(outline, -1, "Big branch");
    AddBranch(outline, 0, 267, random);
    const std::int32_t carrier = AddPage(outline, 0, "Carrier");
    AddBranch(outline, carrier, 65000, random);
    AddBranch(outline, 0, PageCount - static_cast<int>(outline.pages.size()), random);
    SetExpandStates(outline);
    return outline;
}

// "Branch" at level 2 with 30,000 pages below it, and "Target" at level 1.
KbfOutline BranchToCopy()
{
    std::mt19937 random(13);
    KbfOutline outline;
    AddPage(outline, -1, "Copy");
    AddBranch(outline, 0, 200, random);
    const std::int32_t holder = AddPage(outline, 0, "Holder");
    const std::int32_t branch = AddPage(outline, holder, "Branch");
    AddBranch(outline, branch, 30000, random);
    AddPage(outline, 0, "Target");
    SetExpandStates(outline);
    return outline;
}

TTreeNode* PageTitled(const std::string& title)
{
    for (TTreeNode* node = Main->Tree->Items().GetFirstNode(); node; node = node->GetNext()) {
        if (node->Text() == title)
            return node;
    }
    std::printf("  no page \"%s\"\n", title.c_str());
    return nullptr;
}

void Select(TTreeNode* page)
{
    Main->Tree->SetSelected(page);
    Main->TreeClick();
}

double Timed(const char* handler)
{
    const auto start = BenchClock::now();
    Main->RunHandler(handler, nullptr);
    return MillisecondsSince(start);
}

void Load(const std::string& path)
{
    if (!LoadOutline(path))
        std::printf("  LoadOutline FAILED\n");
    Main->Tree->SetFocus();
    Application.ProcessMessages();
}

int ShownItems()
{
    int items = 0;
    for (TTreeNode* node = Main->Tree->Items().GetFirstNode(); node; node = node->GetNext())
        items += node->ItemId() != nullptr;
    return items;
}

void ExpandAndCollapseAll(const std::string& path)
{
    std::vector<double> firstExpands, collapses, expands;
    for (int run = 0; run < Runs; ++run) {
        Load(path);
        Select(Main->Tree->Items().GetFirstNode()->getFirstChild());
        firstExpands.push_back(Timed("mExpandAllClick"));
        collapses.push_back(Timed("mCollapseAllClick"));
        expands.push_back(Timed("mExpandAllClick"));
    }
    std::printf("  Expand All as loaded: %s; Collapse All: %s; Expand All again: %s; %d pages shown\n",
                RunsText(firstExpands).c_str(), RunsText(collapses).c_str(), RunsText(expands).c_str(),
                ShownItems());
    Report("Expand All, 65,535 pages as loaded (best)", Best(firstExpands), 500);
    Report("Collapse All, 65,535 pages (best)", Best(collapses), 500);
    Report("Expand All after Collapse All (best)", Best(expands), 500);
}

void DeleteBigBranch(const std::string& path)
{
    std::vector<double> asLoaded, allShown;
    for (int run = 0; run < Runs; ++run) {
        Load(path);
        Select(PageTitled("Carrier"));
        asLoaded.push_back(Timed("mDeleteClick"));
        Load(path);
        Main->RunHandler("mExpandAllClick", nullptr);
        Select(PageTitled("Carrier"));
        allShown.push_back(Timed("mDeleteClick"));
    }
    if (Main->Tree->Items().Count() != PageCount - 65001)
        std::printf("  delete FAILED: %d pages left\n", Main->Tree->Items().Count());
    std::printf("  delete of the 65,000-page branch as loaded: %s; with every page shown: %s\n",
                RunsText(asLoaded).c_str(), RunsText(allShown).c_str());
    Report("delete a 65,000-page branch as loaded (best)", Best(asLoaded), 500);
    Report("delete a 65,000-page branch, every page shown (best)", Best(allShown), 500);
}

void CopyPasteAndMoveLeft(const std::string& path)
{
    std::vector<double> pastes, movesOfCopy, movesOfSource, movesShown;
    int pagesAfterPaste = 0;
    for (int run = 0; run < Runs; ++run) {
        Load(path);
        Select(PageTitled("Branch"));
        const auto start = BenchClock::now();
        Main->RunHandler("ppCopyClick", nullptr);
        Select(PageTitled("Target"));
        Main->RunHandler("ppPasteClick", nullptr);
        pastes.push_back(MillisecondsSince(start));
        pagesAfterPaste = Main->Tree->Items().Count();
        // The paste selected the copy, which carries the pasted branch.
        movesOfCopy.push_back(Timed("mMoveLeftClick"));
        Select(PageTitled("Branch"));
        movesOfSource.push_back(Timed("mMoveLeftClick"));
        Load(path);
        Main->RunHandler("mExpandAllClick", nullptr);
        Select(PageTitled("Branch"));
        movesShown.push_back(Timed("mMoveLeftClick"));
    }
    if (pagesAfterPaste != 2 * 30001 + 203)
        std::printf("  paste FAILED: %d pages\n", pagesAfterPaste);
    std::printf("  copy and paste: %s; Move Left of the pasted copy: %s; of the branch as loaded: %s;\n"
                "  of the branch with every page shown: %s\n",
                RunsText(pastes).c_str(), RunsText(movesOfCopy).c_str(), RunsText(movesOfSource).c_str(),
                RunsText(movesShown).c_str());
    Report("copy and paste a 30,000-page branch (best)", Best(pastes), 500);
    Report("Move Left of the pasted 30,000-page branch (best)", Best(movesOfCopy), 300);
    Report("Move Left of the 30,000-page branch as loaded (best)", Best(movesOfSource), 300);
    Report("Move Left of the 30,000-page branch, every page shown (best)", Best(movesShown), 300);
}
}

int main()
{
    const std::string wide = BenchTempPath("quillo-tree-bench-wide.kbf");
    const std::string big = BenchTempPath("quillo-tree-bench-big.kbf");
    const std::string copy = BenchTempPath("quillo-tree-bench-copy.kbf");
    {
        KbfOutline outline = WideOutline();
        WriteBenchOutline(wide, outline);
        outline = OneBigBranch();
        WriteBenchOutline(big, outline);
        outline = BranchToCopy();
        WriteBenchOutline(copy, outline);
    }

    StartShownBenchWindow();
    OptionSettings.DeleteConfirm = false;

    ExpandAndCollapseAll(wide);
    DeleteBigBranch(big);
    CopyPasteAndMoveLeft(copy);

    EndBenchWindow();
    for (const std::string& path : {wide, big, copy})
        DeleteFileA(path.c_str());
    return 0;
}

#pragma once
// What the text and web page exports share: the outline they read, where
// they report their progress, the range of pages they export and the
// markers and numbers they put before titles.

#include "ExportProfiles.h"
#include "PageTreeView.h"

#include <string>
#include <string_view>
#include <vector>

// Hears how far an export has come, after every page. The main window moves
// its progress bar and lets pending messages through; tests hear nothing.
class ExportProgress {
public:
    virtual ~ExportProgress() = default;
    virtual void Step(long long done, long long total)
    {
        (void)done;
        (void)total;
    }
};

// The outline an export reads.
struct OutlineToExport {
    const PageTreeView& Tree;
    // The selected page; the start of the export with ExportSource 1. With
    // none selected the export starts at the root.
    PageTreeView::Page Selected = nullptr;
    // The outline's properties block, for ExportProperties.
    std::string PropertiesText;
    ExportProgress* Progress = nullptr;
};

// The pages an export covers: the whole tree, or the start page and its
// branch, in tree order.
struct ExportRange {
    ExportRange(const OutlineToExport& outline, const ExportSettings& settings);
    PageTreeView::Page Start = nullptr;
    // The page after page in the range; null after the last.
    PageTreeView::Page Next(PageTreeView::Page page) const;
    long long Count = 0;

private:
    const PageTreeView& tree_;
    PageTreeView::Page within_ = nullptr;
};

// The unit repeated levels x count times; nothing for a negative product.
std::string IndentPrefix(const std::string& unit, int levels, int count);
// The text before (opening) or after a title in the profile's comment style.
std::string CommentDelimiter(const ExportSettings& settings, bool opening);
// The text that stands for a state icon number; "[ ]" for the flags, none
// and any number the program has no icon for.
std::string StateMarker(int state);
// The outline number of a page at level whose place among its siblings is
// position (from 0), after the page numbered previous at previousLevel.
std::string NextOutlineNumber(const std::string& previous, int previousLevel, int level, int position);

// Moves the running number text on to the page distance pages after the
// start page (not the start page itself), previous being the page before it:
// "1." for the first, then the distance with numbering 1 and the outline
// number with numbering 2.
void AdvanceTitleNumber(std::string& number, int numbering, const PageTreeView& tree, PageTreeView::Page page,
                        PageTreeView::Page previous, long long distance);

// The lines of a page text: CR LF, LF or CR end a line, and a break at the
// very end starts no further line.
std::vector<std::string_view> BodyLines(std::string_view body);

#pragma once
// The exports run from the main window: over its page tree, the selected
// page and the outline's properties, as a piece of work of the window
// (WindowWork.h), with the progress in its status bar.

#include "HtmlExport.h"
#include "TextExport.h"
#include "WindowWork.h"

inline const char* const ExportingText = "Quillo is exporting: ";

// The status bar's "Quillo is exporting: " with the bar moving as the pages
// go, for as long as it lives, exceptions included.
class TWindowExportProgress : public ExportProgress {
public:
    TWindowExportProgress() : work_(ExportingText) {}

    void Step(long long done, long long total) override { work_.Step(done, total); }

private:
    TWindowWork work_;
};

// The main window's outline, or its selected page and branch, as text lines.
// Both exports first store typing the page editor still holds, wherever the
// focus is, so that what was typed is in what they give.
TStringList ExportWindowOutlineText(const ExportProfile& profile);
// The same as a web page to be written at outputPath, with the state
// pictures copied beside it.
std::string ExportWindowOutlineHtml(const ExportProfile& profile, const std::string& outputPath);

// How the web page export copies a state picture beside the page: safely, so
// that a file of that name there is never left cut short.
bool CopyStatePicture(const std::string& source, const std::string& target);

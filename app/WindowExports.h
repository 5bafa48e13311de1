#pragma once
// The exports run from the main window: over its page tree, the selected
// page and the outline's properties, with the progress in its status bar.
// While one runs, every other window of the program is disabled as under a
// modal dialog and the window refuses to close, since the commands that
// still arrive (the tray menu's, say) must not change or free what the export
// reads.

#include "HtmlExport.h"
#include "Progress.h"
#include "TextExport.h"

#include <windows.h>

#include <vector>

inline const char* const ExportingText = "Quillo is exporting: ";

// True while an export of the main window runs.
bool ExportRunning();

// The status bar's "Quillo is exporting: " with the bar moving as the pages
// go and pending messages let through ten times a second, the other windows disabled, for as long
// as it lives, exceptions included.
class TWindowExportProgress : public ExportProgress {
public:
    TWindowExportProgress();
    ~TWindowExportProgress() override;
    TWindowExportProgress(const TWindowExportProgress&) = delete;
    TWindowExportProgress& operator=(const TWindowExportProgress&) = delete;

    void Step(long long done, long long total) override;

private:
    TProgressScope scope_;
    std::vector<HWND> disabled_;
    // When the bar last moved and messages last went through: a round of
    // both per page would cost more than the export itself.
    DWORD lastPump_ = 0;
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

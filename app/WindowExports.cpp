#include "WindowExports.h"

#include "Application.h"
#include "Form.h"
#include "Main.h"
#include "OpenOutline.h"
#include "ProgramFolder.h"
#include "SafeFileWriter.h"
#include "TreePages.h"
#include "TreeView.h"

namespace {

int runningExports = 0;

// Runs the export over the main window's tree with the window's progress.
template <typename Export>
auto ExportWindowOutline(Export&& exportOutline)
{
    Main->CommitTyping();
    TWindowExportProgress progress;
    const TreePages pages(*Main->Tree);
    const OutlineToExport outline{pages, Main->Tree->Selected(), PropertiesText(), &progress};
    return exportOutline(outline);
}

}

bool ExportRunning() { return runningExports > 0; }

TWindowExportProgress::TWindowExportProgress() : scope_(ExportingText)
{
    ++runningExports;
    disabled_ = DisableOtherWindows(nullptr);
    // A main window hidden in the tray is disabled all the same.
    if (Main && Main->Handle() && IsWindowEnabled(Main->Handle())) {
        EnableWindow(Main->Handle(), FALSE);
        disabled_.push_back(Main->Handle());
    }
}

TWindowExportProgress::~TWindowExportProgress()
{
    for (HWND window : disabled_) {
        if (IsWindow(window))
            EnableWindow(window, TRUE);
    }
    --runningExports;
}

void TWindowExportProgress::Step(long long done, long long total)
{
    // Ten times a second: each round repaints the bar, which under Wine
    // costs milliseconds.
    constexpr DWORD PumpInterval = 100;
    const DWORD now = GetTickCount();
    if (now - lastPump_ < PumpInterval)
        return;
    lastPump_ = now;
    scope_.SetProgress(done, total);
    Application.ProcessMessages();
}

TStringList ExportWindowOutlineText(const ExportProfile& profile)
{
    return ExportWindowOutline([&](const OutlineToExport& outline) { return ExportOutlineText(outline, profile); });
}

std::string ExportWindowOutlineHtml(const ExportProfile& profile, const std::string& outputPath)
{
    return ExportWindowOutline([&](const OutlineToExport& outline) {
        WebPageExport web{*Main->FExportProfiles, profile.Settings, OptionSettings, ExeFolder()};
        web.CopyPicture = CopyStatePicture;
        return ExportOutlineHtml(web, outline, outputPath);
    });
}

bool CopyStatePicture(const std::string& source, const std::string& target)
{
    return CopyFileSafely(source, target) == SafeWriteResult::Ok;
}

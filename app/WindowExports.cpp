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

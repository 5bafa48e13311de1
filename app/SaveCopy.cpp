#include "SaveCopy.h"

#include "AnsiStrings.h"
#include "BranchFiles.h"
#include "ConverterUse.h"
#include "ExportProfiles.h"
#include "HtmlExport.h"
#include "Mail.h"
#include "Main.h"
#include "OutlineFile.h"
#include "RichEdit.h"
#include "SafeFileWriter.h"
#include "SaveExtPanel.h"
#include "SettingsRecords.h"
#include "ShellOpen.h"
#include "Streams.h"
#include "TreeView.h"
#include "WindowExports.h"

namespace {
// Writes through the safe writer and shows why when it fails.
bool WriteShown(const std::string& path, const std::function<void(TStream&)>& write)
{
    std::exception_ptr thrown;
    const SafeWriteResult result = WriteFileSafely(path, write, &thrown);
    if (result == SafeWriteResult::Ok)
        return true;
    ShowSaveFailure(result, thrown);
    return false;
}

void WriteBytes(TStream& stream, const std::string& bytes)
{
    if (!bytes.empty())
        stream.WriteBuffer(bytes.data(), static_cast<std::int64_t>(bytes.size()));
}

// The text in RTF, written by the hidden converter: the page editor itself
// is never switched out of plain text (that would re-stream the page being
// edited).
bool WriteRtf(const std::string& path, const TStrings& lines)
{
    TQRichEdit& rich = *Main->Rich;
    const TConverterUse scratch(rich);
    rich.SetPlainText(false);
    rich.SetLines(lines);
    return WriteShown(path, [&](TStream& stream) { rich.Lines().SaveToStream(stream); });
}

TStringList EditorLines()
{
    TStringList lines;
    lines.SetText(Main->RichEdit->Text());
    return lines;
}

std::string SelectedPageTitle()
{
    const TTreeNode* page = Main->Tree->Selected();
    return page ? page->Text() : std::string();
}

bool WritePage(const std::string& path, int type)
{
    switch (type) {
    case TextCopy:
        return WriteShown(path, [](TStream& stream) { WriteBytes(stream, Main->RichEdit->Text()); });
    case RtfCopy:
        return WriteRtf(path, EditorLines());
    default: {
        // A whole document; as a list of lines, its line ends become CR LF.
        TStringList document;
        document.SetText(HtmlPageHead(SelectedPageTitle(), OptionSettings.ExtraHead) +
                         HtmlEscapeText(Main->RichEdit->Text(), OptionSettings.AllowHtml) + HtmlPageFoot());
        return WriteShown(path, [&](TStream& stream) { document.SaveToStream(stream); });
    }
    }
}

bool WriteOutline(const std::string& path, int type, int items)
{
    Main->CommitTyping();
    const ExportProfile& profile = *Main->FExportProfiles->Current();
    switch (type) {
    case TextCopy: {
        const TStringList lines = ExportWindowOutlineText(profile);
        return WriteShown(path, [&](TStream& stream) { lines.SaveToStream(stream); });
    }
    case RtfCopy:
        return WriteRtf(path, ExportWindowOutlineText(profile));
    case WebPageCopy: {
        // The page's bytes as the export made them: no line end changes.
        const std::string page = ExportWindowOutlineHtml(profile, path);
        return WriteShown(path, [&](TStream& stream) { WriteBytes(stream, page); });
    }
    default:
        // The copy leaves the open outline's file name and changed flag alone.
        return items == TSaveExt::AllPages ? SaveOutline(path, OutlineSaveMode::Copy) : ExportOutlineBranch(path);
    }
}
} // namespace

std::string WithSaveCopyExtension(const std::string& path, int type)
{
    static const char* const Extensions[] = {".txt", ".rtf", ".htm", ".kbf"};
    if (!ExtractFileExt(path).empty() || type < TextCopy || type > OutlineCopy)
        return path;
    return path + Extensions[type - 1];
}

bool WriteSaveCopy(const std::string& path, int type, int items)
{
    if (type != OutlineCopy && items == TSaveExt::SelectedPage)
        return WritePage(path, type);
    return WriteOutline(path, type, items);
}

void RunAfterSave(int after, const std::string& path)
{
    if (after == TSaveExt::OpenFile)
        OpenWithShell(path);
    else if (after == TSaveExt::EmailFile)
        SendMailMapi("", path);
}

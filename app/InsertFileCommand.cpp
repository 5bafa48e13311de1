// Insert File: an outline file comes in as a branch below the selected page;
// any other file is read as plain text (rich text loses its formatting) and
// goes in at the caret, or becomes a new sub page when the tree has the focus.
#include "Main.h"

#include "AnsiStrings.h"
#include "BranchFiles.h"
#include "ControlBusy.h"
#include "ConverterUse.h"
#include "FileIdentity.h"
#include "LongLines.h"
#include "MessageBoxes.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "PageHistory.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"
#include "WindowWork.h"

#include <algorithm>
#include <optional>

namespace {
// Reading the file is the first half of the work, putting the text in the
// editor the second.
constexpr long long WorkHalf = 1000000;

// Tells the work how far a stream of total bytes has come, as the half of the
// work that begins at start.
class THalfOfWork {
public:
    THalfOfWork(TWindowWork& work, long long start, long long total) : work_(work), start_(start), total_(total) {}
    void Read(int bytes)
    {
        read_ += bytes;
        const long long share = total_ > 0 ? std::min(read_, total_) * WorkHalf / total_ : WorkHalf;
        work_.Step(start_ + share, 2 * WorkHalf);
    }

private:
    TWindowWork& work_;
    long long start_;
    long long total_;
    long long read_ = 0;
};

const char* const CannotOpenText = "Cannot open input file!";

// The file's text as plain text, read through the converter, which is empty
// again afterwards; nothing for a file that cannot be read.
std::optional<std::string> PlainTextThroughConverter(TQRichEdit& rich, const std::string& path, TWindowWork& work)
{
    try {
        TConverterUse converter(rich);
        THalfOfWork reading(work, 0, static_cast<long long>(StampOfFile(path).size));
        return BreakLongLines(converter.PlainTextOf(path, [&](int bytes) { reading.Read(bytes); }));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// Puts the text in place of the editor's selection with the caret after it,
// as replacing the selection does. The whole text goes in again instead, as
// a page's text does: under Wine replacing the selection of the page editor
// with much text takes time growing with the square of its size, and text
// before or after the selection costs no more than its own length.
void ReplaceEditorSelection(TQRichEdit& editor, std::string text, TWindowWork& work)
{
    // The replacement took the text up to its first NUL.
    text.erase(std::min(text.find('\0'), text.size()));
    const CHARRANGE selection = editor.GetSelection();
    const int from = std::min(selection.cpMin, selection.cpMax);
    const int to = std::max(selection.cpMin, selection.cpMax);
    const int after = editor.TextLength() - to;
    std::string body = editor.GetTextRange(0, from);
    body += text;
    body += editor.GetTextRange(to, -1);
    THalfOfWork half(work, WorkHalf, static_cast<long long>(body.size()));
    const TStreamInWatch told(editor.Lines(), [&](int count) { half.Read(count); });
    editor.Lines().LoadPlainText(body);
    const int caret = editor.TextLength() - after;
    editor.SetSelection(caret, caret, true);
    editor.SetModified(true);
}
} // namespace

void TMain::mFileClick(TComponent*)
{
    Rich->Clear();
    OpenPage.InitialDir = OptionSettings.ExternalFolder;
    OpenPage.FileName.clear();
    if (!OpenPage.Execute())
        return;
    const std::string path = OpenPage.FileName;
    RememberFolder(OptionSettings, ExternalFolderKind, path);

    if (ExtractFileExt(path) == ".kbf") {
        const int pagesBefore = Tree->Items().Count();
        {
            TControlBusy busy(*RichEdit);
            ImportOutlineBranch(path);
        }
        // A file that could not be read at all added nothing to save.
        if (Tree->Items().Count() != pagesBefore)
            OutlineProperties.FileChanged = 1;
        PushHistory(Tree->Selected());
        TreeClick();
        return;
    }

    // The outline stays as it was, and the status bar shows the page again.
    auto cannotRead = [this] {
        ShowPageStatus();
        ShowInfoMessage(CannotOpenText);
    };
    std::optional<std::string> text;
    if (!Tree->Focused()) {
        {
            TWindowWork work(OutlineStatusText("importing", path));
            text = PlainTextThroughConverter(*Rich, path, work);
            if (text) {
                // The text goes into the selected page as an edit of it, stored
                // at once: the editor may not have the focus to store it later.
                ShowSelectedPage();
                EditorPage = Tree->Selected();
                ReplaceEditorSelection(*RichEdit, std::move(*text), work);
                RichEditExit();
            }
        }
        if (!text) {
            cannotRead();
            return;
        }
        OutlineProperties.FileChanged = 1;
        // The status bar shows the page again, as before the insert.
        ShowPageStatus();
        return;
    }

    {
        TWindowWork work(OutlineStatusText("importing", path));
        text = PlainTextThroughConverter(*Rich, path, work);
    }
    if (!text) {
        cannotRead();
        return;
    }
    if (!CheckPageLimits())
        return;
    TTreeNode* page = AddChildPage(ChangeFileExt(ExtractFileName(path), ""));
    Tree->SetSelected(page);
    const auto size = static_cast<long long>(text->size());
    PageDataOf(page)->SetBodyText(std::move(*text));
    OutlineProperties.FileChanged = 1;
    page->Parent()->Expand(false);
    PushHistory(page);
    {
        // The new page's text going into the editor is the second half.
        TWindowWork work(OutlineStatusText("importing", path));
        THalfOfWork showing(work, WorkHalf, size);
        const TStreamInWatch told(RichEdit->Lines(), [&](int count) { showing.Read(count); });
        TreeClick();
    }
    // The status bar shows the new page, as after any click.
    ShowPageStatus();
}

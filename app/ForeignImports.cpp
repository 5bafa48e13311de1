#include "ForeignImports.h"

#include "ActionOutlineFormat.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "OutlineFile.h"
#include "PageData.h"
#include "Pages.h"
#include "Progress.h"
#include "SharedState.h"
#include "Streams.h"
#include "TreePadFormat.h"
#include "TreeView.h"

#include <functional>
#include <utility>

namespace {
const char* const CannotOpenText = "Cannot open input file!";
// The root of an imported outline shows its own picture when selected.
constexpr int RootSelectedImage = 5;

// The whole file; false when it cannot be opened or read. Binary: TreePad
// text may hold 0x1A, which text mode would take for the end of the file.
bool ReadWholeFile(const std::string& path, unsigned share, std::string& bytes)
{
    try {
        TFileStream file(path, fmOpenRead | share);
        const std::int64_t size = file.Size();
        bytes.assign(static_cast<std::size_t>(size), '\0');
        file.ReadBuffer(bytes.data(), size);
        return true;
    } catch (...) {
        return false;
    }
}

// What a reader made of the file: the message of a failure (empty for
// success) and whether the file's header was recognised.
struct ImportResult {
    std::string message;
    bool headerRecognised = true;
};

using OutlineReader = std::function<ImportResult(std::string_view, KbfOutline&)>;

// The steps both importers share: a new outline, the progress display, the
// tree covered while the pages come in, and on success the root selected
// with only its children showing.
bool ImportForeignOutline(const std::string& path, unsigned share, const OutlineReader& read)
{
    OutlineProperties.FileChanged = 0;
    Main->bNewClick(nullptr);
    TProgressScope progress(OutlineStatusText("importing", path));
    KbfOutline outline;
    ImportResult result;
    {
        std::string bytes;
        if (!ReadWholeFile(path, share, bytes)) {
            ShowInfoMessage(CannotOpenText);
            return false;
        }
        TTreeNode* root = Main->Tree->Items().GetFirstNode();
        outline.pages.resize(1);
        outline.pages[0].title = root->Text();
        result = read(bytes, outline);
    }
    if (!result.headerRecognised) {
        ShowInfoMessage(result.message);
        return false;
    }
    TTreeView& tree = *Main->Tree;
    TTreeNode* root = tree.Items().GetFirstNode();
    {
        TTreeCover cover(true);
        if (outline.rootRecordRead) {
            KbfPage& top = outline.pages[0];
            AttachNewPageData(root, std::move(top.body));
            root->SetText(top.title);
            root->SetStateIndex(top.state);
        }
        root->SetSelectedIndex(RootSelectedImage);
        AddOutlinePages(root, outline, progress);
        tree.SetSelected(root);
        if (root->HasChildren())
            root->Expand(false);
        cover.Resume();
        cover.Uncover();
    }
    ClearEditorPage();
    if (!result.message.empty()) {
        ShowInfoMessage(result.message);
        return false;
    }
    OutlineProperties.FileChanged = 0;
    return true;
}
}

bool ImportTreePad(const std::string& path)
{
    return ImportForeignOutline(path, fmShareDenyWrite, [](std::string_view bytes, KbfOutline& outline) {
        const TreePadReadResult result = ReadTreePad(bytes, outline);
        return ImportResult{TreePadReadMessage(result), result != TreePadReadResult::NotTreePad};
    });
}

bool ImportActionOutline(const std::string& path)
{
    return ImportForeignOutline(path, fmShareExclusive, [](std::string_view bytes, KbfOutline& outline) {
        const ActionOutlineReadResult result = ReadActionOutline(bytes, outline);
        return ImportResult{ActionOutlineReadMessage(result), result != ActionOutlineReadResult::NotActionOutline};
    });
}

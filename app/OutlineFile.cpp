#include "OutlineFile.h"

#include "AnsiStrings.h"
#include "DateTexts.h"
#include "FileIdentity.h"
#include "FlagScope.h"
#include "KbfFormat.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "PageData.h"
#include "Pages.h"
#include "Progress.h"
#include "RichEdit.h"
#include "SafeFileWriter.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"

#include <new>
#include <stdexcept>
#include <utility>
#include <vector>

namespace {
const char* const CannotOpenOutputText = "Cannot open output file!";
const char* const DiskFullText = "Error writing on disk! Disk full?";

// Moves the progress bar only when its position changes: one update per page
// would cost a window message each at 65,535 pages.
class TPageProgress {
public:
    TPageProgress(TProgressScope* scope, std::size_t total) : scope_(scope), total_(static_cast<long long>(total)) {}
    void Done(std::size_t done)
    {
        if (!scope_ || total_ <= 0)
            return;
        const long long position = static_cast<long long>(done) * 100 / total_;
        if (position != last_) {
            last_ = position;
            scope_->SetProgress(static_cast<long long>(done), total_);
        }
    }

private:
    TProgressScope* scope_;
    long long total_;
    long long last_ = -1;
};

// The outline's file as this window last read or wrote it.
struct TKnownOutlineFile {
    std::string path;
    FileStamp stamp;
};

TKnownOutlineFile& KnownOutlineFile()
{
    static TKnownOutlineFile known;
    return known;
}

void RememberOutlineFile(const std::string& path) { KnownOutlineFile() = {path, StampOfFile(path)}; }

std::int32_t ExpandStateOf(const TTreeNode* node)
{
    if (!node->HasChildren())
        return KbfNoChildren;
    return node->Expanded() ? KbfExpanded : KbfCollapsed;
}

// Looks at the node's texts in place: a save copies no page text.
KbfPageView PageOf(const TTreeNode* node)
{
    KbfPageView page;
    if (const PageData* data = PageDataOf(node))
        page.body = data->BodyText();
    page.title = node->Text();
    page.state = node->StateIndex();
    return page;
}

// What went wrong, in words for the message: the text the exception carries.
std::string FailureReason(const std::exception_ptr& thrown)
{
    try {
        if (thrown)
            std::rethrow_exception(thrown);
    } catch (const std::bad_alloc&) {
        return "not enough memory";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
    }
    return "an unexpected error";
}

}

std::string SaveFailureText(SafeWriteResult result, const std::exception_ptr& thrown)
{
    switch (result) {
    case SafeWriteResult::WriteFailed:
        return DiskFullText;
    case SafeWriteResult::ProducerFailed:
        return "Cannot save the file: " + FailureReason(thrown);
    default:
        return CannotOpenOutputText;
    }
}

void ShowSaveFailure(SafeWriteResult result, const std::exception_ptr& thrown)
{
    ShowInfoMessage(SaveFailureText(result, thrown));
}

TTreeCover::TTreeCover(bool cover)
{
    TTreeView& tree = *Main->Tree;
    if (cover && Main->Tree2) {
        TTreeView& tree2 = *Main->Tree2;
        tree2.SetBounds(tree.Left(), tree.Top(), tree.Width(), tree.Height());
        tree2.SetVisible(true);
        tree2.Invalidate();
        tree2.Update();
        covered_ = true;
    }
    tree.Items().BeginUpdate();
}

TTreeCover::~TTreeCover()
{
    Resume();
    Uncover();
}

void TTreeCover::Resume()
{
    if (updating_) {
        updating_ = false;
        Main->Tree->Items().EndUpdate();
    }
}

void TTreeCover::Uncover()
{
    if (covered_) {
        covered_ = false;
        Main->Tree2->SetVisible(false);
    }
}

std::string OutlineStatusText(const std::string& verb, const std::string& path)
{
    return std::string("Quillo") + " is " + verb + " " + ChangeFileExt(ExtractFileName(path), "") + ": ";
}

void ClearEditorPage()
{
    if (Main && Main->RichEdit) {
        const TFlagScope loading(Main->EditorLoading);
        Main->RichEdit->Clear();
        // The cleared text is nobody's typing and must not be stored anywhere.
        Main->RichEdit->SetModified(false);
    }
    // The editor no longer shows these pages; a stale pointer would make the
    // next click skip loading the page or store text into the wrong one.
    LastShownPage = nullptr;
    EditorPage = nullptr;
}

void WriteOutlineBranch(TStream& stream, TTreeNode* top, struct OutlineProperties& properties, const KbfStamp& stamp,
                        TProgressScope* progress)
{
    // Pre-order with each page's parent number taken from a stack of the
    // pages above it: no node is ever looked up by absolute index.
    std::vector<TTreeNode*> order;
    std::vector<std::int32_t> parents;
    order.push_back(top);
    parents.push_back(0);
    std::vector<std::pair<TTreeNode*, std::int32_t>> pending;
    for (int k = top->Count() - 1; k >= 0; --k)
        pending.emplace_back(top->Item(k), 0);
    while (!pending.empty()) {
        auto [node, parent] = pending.back();
        pending.pop_back();
        const auto index = static_cast<std::int32_t>(order.size());
        order.push_back(node);
        parents.push_back(parent);
        for (int k = node->Count() - 1; k >= 0; --k)
            pending.emplace_back(node->Item(k), index);
    }
    if (order.size() > static_cast<std::size_t>(INT32_MAX))
        throw std::length_error("too many pages for one file");

    KbfWriter writer(stream);
    writer.Header();
    writer.PropertiesBlock(properties, stamp);
    writer.Number(static_cast<std::int32_t>(order.size()));
    TPageProgress bar(progress, order.size());
    for (std::size_t i = 1; i < order.size(); ++i) {
        KbfPageView page = PageOf(order[i]);
        page.parent = parents[i];
        page.expand = ExpandStateOf(order[i]);
        writer.PageRecord(page);
        bar.Done(i);
    }
    writer.RootRecord(PageOf(top));
    writer.Finish();
}

SafeWriteResult SaveBranchFile(const std::string& path, TTreeNode* top, struct OutlineProperties& properties,
                               TProgressScope& progress, std::exception_ptr* thrown)
{
    const KbfStamp stamp{CurrentDateText(), UserSettings.Name};
    return WriteFileSafely(
        path, [&](TStream& stream) { WriteOutlineBranch(stream, top, properties, stamp, &progress); }, thrown);
}

bool SaveOutline(const std::string& path, OutlineSaveMode mode)
{
    // The file holds what the user sees, typing the editor still holds too.
    Main->CommitTyping();
    SafeWriteResult result;
    std::exception_ptr thrown;
    {
        TProgressScope progress(OutlineStatusText("saving", path));
        result = SaveBranchFile(path, Main->Tree->Items().GetFirstNode(), OutlineProperties, progress, &thrown);
    }
    if (result != SafeWriteResult::Ok) {
        ShowSaveFailure(result, thrown);
        return false;
    }
    if (mode == OutlineSaveMode::Adopt) {
        OutlineProperties.FileChanged = 0;
        CurrentFileName = path;
        RememberOutlineFile(path);
    }
    return true;
}

bool OutlineFileChangedElsewhere(const std::string& path)
{
    const TKnownOutlineFile& known = KnownOutlineFile();
    if (known.path != path)
        return false;
    const FileStamp now = StampOfFile(path);
    return now.exists && now != known.stamp;
}

bool ReadOutlineFile(const std::string& path, KbfOutline& outline, KbfReadResult& result)
{
    // Binary: byte 0x1A is an ordinary byte of a text, not the end of the file.
    result = KbfReadResult::CannotOpen;
    try {
        TFileStream file(path, fmOpenRead | fmShareDenyWrite);
        // Bodies come with the editor's CR LF line ends and go into the
        // pages as they are.
        result = ReadKbf(file, outline, KbfLineEnds::CrLf);
    } catch (...) {
        result = KbfReadResult::CannotOpen;
    }
    if (result == KbfReadResult::Ok || result == KbfReadResult::DamagedPages)
        return true;
    return false;
}

std::vector<TTreeNode*> AddOutlinePages(TTreeNode* top, KbfOutline& outline, TProgressScope& progress)
{
    TTreeNodes& items = Main->Tree->Items();
    // Index-to-node table: the codec guarantees every parent precedes its page.
    std::vector<TTreeNode*> nodes(outline.pages.size(), nullptr);
    nodes[0] = top;
    TPageProgress bar(&progress, outline.pages.size());
    for (std::size_t i = 1; i < outline.pages.size(); ++i) {
        KbfPage& page = outline.pages[i];
        TTreeNode* node = items.AddChild(nodes[static_cast<std::size_t>(page.parent)], page.title);
        // The text moves into the page: no copy, and no second one raising the peak.
        AttachNewPageData(node, std::move(page.body));
        PageDataOf(node)->ExpandState = static_cast<std::uint8_t>(page.expand);
        node->SetStateIndex(page.state);
        nodes[i] = node;
        bar.Done(i);
    }
    return nodes;
}

bool LoadOutline(const std::string& path)
{
    KbfReadResult result = KbfReadResult::Ok;
    bool loaded = false;
    {
        TProgressScope progress(OutlineStatusText("loading", path));
        KbfOutline outline;
        if (ReadOutlineFile(path, outline, result)) {
            TTreeView& tree = *Main->Tree;
            TTreeNode* root = tree.Items().GetFirstNode();
            // Typing still in the editor goes to its page before the pages go.
            Main->CommitTyping();
            ClearEditorPage();
            {
                TTreeCover cover(true);
                root->DeleteChildren();
                // Never without a record: whatever fails next, the caller may
                // start a new outline, which frees the root's record.
                AttachNewPageData(root);
                tree.SetSelected(root);
                const std::vector<TTreeNode*> nodes = AddOutlinePages(root, outline, progress);
                if (result == KbfReadResult::Ok) {
                    if (outline.rootRecordRead) {
                        const KbfPage& top = outline.pages[0];
                        PageDataOf(root)->SetBodyText(top.body);
                        root->SetText(top.title);
                        root->SetStateIndex(top.state);
                    } else {
                        root->SetStateIndex(1);
                    }
                    for (std::size_t i = 1; i < nodes.size(); ++i) {
                        TTreeNode* node = nodes[i];
                        if (!node->HasChildren())
                            continue;
                        if (outline.pages[i].expand == KbfCollapsed)
                            node->Collapse(false);
                        else
                            node->Expand(false);
                    }
                    // The file keeps no expand state for the root; collapsed,
                    // an opened outline would show nothing but its root page,
                    // which has no button to open it by.
                    if (root->HasChildren())
                        root->Expand(false);
                    CopyOutlineProperties(OutlineProperties, outline.properties);
                    loaded = true;
                }
                // Expanding with drawing held back makes the items the root
                // shows in one go.
                cover.Resume();
                cover.Uncover();
            }
            ClearEditorPage();
        }
    }
    if (!loaded) {
        ShowInfoMessage(KbfReadMessage(result == KbfReadResult::Ok ? KbfReadResult::DamagedPages : result));
        return false;
    }
    OutlineProperties.FileChanged = 0;
    RememberOutlineFile(path);
    return true;
}

#include "Pages.h"

#include "Cursors.h"
#include "FlagScope.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "PageData.h"
#include "PageHistory.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "StatusBar.h"
#include "TreeView.h"

#include <utility>

namespace {
// Tree images of a page: its own, and while it is selected.
constexpr int PageImage = 0;
constexpr int PageSelectedImage = 4;
// "None": the first state icon.
constexpr std::int32_t PlainState = 1;

TTreeView& PageTree() { return *Main->Tree; }

TTreeNode* SelectedOrRoot()
{
    TTreeNode* node = PageTree().Selected();
    return node ? node : PageTree().Items().GetFirstNode();
}

TTreeNode* NewPage(TTreeNode* node)
{
    node->SetStateIndex(PlainState);
    AttachNewPageData(node);
    return node;
}
}

bool IsRootPage(const TTreeNode* page) { return page && !page->Parent(); }

PageData* PageDataOf(const TTreeNode* node) { return node ? static_cast<PageData*>(node->Data()) : nullptr; }

void AttachNewPageData(TTreeNode* node) { AttachNewPageData(node, std::string()); }

void AttachNewPageData(TTreeNode* node, std::string&& body)
{
    FreePageData(node);
    node->SetData(new PageData(std::move(body)));
    node->SetImageIndex(PageImage);
    node->SetSelectedIndex(PageSelectedImage);
}

void FreePageData(TTreeNode* node)
{
    delete PageDataOf(node);
    node->SetData(nullptr);
}

void ReleaseAllPages()
{
    for (TTreeNode* node = PageTree().Items().GetFirstNode(); node; node = node->GetNext())
        FreePageData(node);
    EditorPage = nullptr;
    LastShownPage = nullptr;
    PageClipboard = TPageClipboard{};
    ClearHistory();
}

TTreeNode* AddChildPage(const std::string& title)
{
    return NewPage(PageTree().Items().AddChild(SelectedOrRoot(), title));
}

TTreeNode* AddSiblingPage(const std::string& title)
{
    TTreeNode* selected = PageTree().Selected();
    // Beside the root would be a second top-level node, which no outline has.
    if (!selected || !selected->Parent())
        return nullptr;
    return NewPage(PageTree().Items().AddChild(selected->Parent(), title));
}

bool CheckPageLimits()
{
    const TTreeNode* parent = SelectedOrRoot();
    if (parent && parent->Level() >= MaxPageParentLevel) {
        ShowInfoMessage(PageLevelLimitText);
        return false;
    }
    if (PageTree().Items().Count() >= MaxPageCount) {
        ShowInfoMessage(PageCountLimitText);
        return false;
    }
    return true;
}

TTreeNode* AddPageChecked(const std::string& title)
{
    if (!CheckPageLimits())
        return nullptr;
    TTreeNode* node = AddChildPage(title);
    PageTree().SetSelected(node);
    if (TTreeNode* parent = node->Parent())
        parent->Expand(false);
    Main->TreeClick();
    OutlineProperties.FileChanged = 1;
    return node;
}

bool ShowSelectedPage()
{
    TTreeNode* node = PageTree().Selected();
    Main->StatusBar->Panel(1).SetText("Level: " + std::to_string(node ? node->Level() : 0));
    if (!node || node == LastShownPage)
        return true;
    TQRichEdit& editor = *Main->RichEdit;
    // Paths that change the page without moving the focus (history, find,
    // menu and toolbar commands) would otherwise load over unsaved typing.
    if (editor.Modified())
        Main->RichEditExit();
    // From here on the editor's text is this page's, changes included.
    LastShownPage = node;
    editor.SetReadOnly(false);
    const PageData* data = PageDataOf(node);
    {
        const TFlagScope loading(Main->EditorLoading);
        editor.Clear();
        // A long page takes seconds to lay out: the whole window is busy.
        const TBusyCursorScope busy;
        editor.SetText(data ? data->BodyText() : std::string());
    }
    editor.SetSelStart(data ? data->CaretStart : 0);
    editor.SetSelLength(data ? data->SelectionLength : 0);
    // What was just loaded is the page's own text, not an edit.
    editor.SetModified(false);
    return true;
}

TTreeNode* CopyPageNode(TTreeNode* target, TTreeNode* source, std::int32_t mode)
{
    if (!target || !source)
        return nullptr;
    TTreeNode* parent = nullptr;
    if (mode < 0) {
        parent = target;
    } else {
        TTreeNode* anchor = target;
        for (std::int32_t step = 0; step < mode && anchor; ++step)
            anchor = anchor->Parent();
        parent = anchor ? anchor->Parent() : nullptr;
        if (!parent)
            return nullptr;
    }
    TTreeNode* node = PageTree().Items().AddChild(parent, source->Text());
    node->SetStateIndex(source->StateIndex());
    AttachNewPageData(node);
    if (const PageData* from = PageDataOf(source))
        PageDataOf(node)->SetBodyText(from->BodyText());
    return node;
}

namespace {
void EnableMove(const char* command, bool enabled)
{
    for (const char* prefix : {"m", "b", "pp"})
        Main->EnableCommand(std::string(prefix) + command, enabled);
}
}

bool CanMovePage(const TTreeNode* page, TPageMove move)
{
    // A page beside the root would be a second top-level page, which no
    // outline file can hold.
    if (!page || IsRootPage(page))
        return false;
    switch (move) {
    case TPageMove::Up:
    case TPageMove::Right:
        return page->getPrevSibling() != nullptr;
    case TPageMove::Down:
        return page->getNextSibling() != nullptr;
    case TPageMove::Left:
        return page->Parent()->Parent() != nullptr;
    }
    return false;
}

void UpdateMoveCommands()
{
    const TTreeNode* page = PageTree().Selected();
    EnableMove("MoveUp", CanMovePage(page, TPageMove::Up));
    EnableMove("MoveDown", CanMovePage(page, TPageMove::Down));
    EnableMove("MoveLeft", CanMovePage(page, TPageMove::Left));
    EnableMove("MoveRight", CanMovePage(page, TPageMove::Right));
}

void UpdateMenus()
{
    for (const char* handler : {"FileClick", "EditClick", "ViewClick", "InsertClick"})
        Main->RunHandler(handler, Main);
}

#include "BrowsePageDialog.h"

#include "Main.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Browse For Page";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 300;
    params.clientHeight = 330;
    return params;
}

// The copy of source and its branch as the last child of parent (a top node
// for none).
void CopyBranch(TTreeNodes& items, TTreeNode* parent, const TTreeNode& source)
{
    TTreeNode* copy = items.AddChild(parent, source.Text());
    copy->SetStateIndex(source.StateIndex());
    copy->SetImageIndex(source.ImageIndex());
    copy->SetSelectedIndex(source.SelectedIndex());
    for (const TTreeNode* child = source.getFirstChild(); child; child = child->getNextSibling())
        CopyBranch(items, copy, *child);
}
}

TBrowsePage::TBrowsePage() : TForm(Params())
{
    SetName("BrowsePage");
    Label1.SetName("Label1");
    Tree.SetName("Tree");
    OK.SetName("OK");
    Cancel.SetName("Cancel");
    Tree.SetReadOnly(true);
    Tree.SetHideSelection(false);
    Label1.SetFocusControl(&Tree);
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    PlaceControls();
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    Tree.OnDblClick = [this] { TreeDblClick(); };
    DoCreate();
}

void TBrowsePage::PlaceControls()
{
    Label1.SetBounds(8, 8, 284, 16);
    Tree.SetBounds(8, 26, 284, 262);
    OK.SetBounds(136, 298, 75, 25);
    Cancel.SetBounds(217, 298, 75, 25);
}

void TBrowsePage::FormCreate()
{
    const TTreeView& pages = *Main->Tree;
    Tree.SetStateImages(pages.StateImages());
    Tree.SetShowButtons(pages.ShowButtons());
    Tree.SetShowLines(pages.ShowLines());
    Tree.SetShowRoot(pages.ShowRoot());
    Tree.SetIndent(pages.Indent());
    Tree.SetImages(pages.Images());
    TTreeNodes& items = Tree.Items();
    items.BeginUpdate();
    if (const TTreeNode* root = pages.Items().GetFirstNode())
        CopyBranch(items, nullptr, *root);
    items.EndUpdate();
}

void TBrowsePage::FormShow()
{
    TTreeNode* first = Tree.Items().GetFirstNode();
    if (!first)
        return;
    Tree.SetSelected(first);
    first->Expand(false);
    Tree.SetFocus();
}

void TBrowsePage::TreeDblClick()
{
    // Runs before the control opens or closes the branch, so an open branch
    // is still open here.
    const TTreeNode* selected = Tree.Selected();
    if (selected && (!selected->HasChildren() || !selected->Expanded()))
        ModalResult = mrOk;
}

// Inserting, editing, copying and following hyperlinks: links in page text,
// pages whose title is a link, and links to pages of this outline.
#include "Main.h"

#include "AnsiStrings.h"
#include "ClipboardText.h"
#include "HyperlinkDialog.h"
#include "KeyboardState.h"
#include "Mail.h"
#include "MessageBoxes.h"
#include "OpenOutline.h"
#include "PageHistory.h"
#include "PageLinks.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "TreePages.h"
#include "TreeView.h"

#include <memory>
#include <string_view>

namespace {
constexpr std::string_view FileScheme = "file:";
const char* const UnresolvedLinkText = "Cannot resolve link!\nPage moved or deleted?";

// Edit Hyperlink reads a title's type from the first of these at its start.
struct TitlePrefix {
    const char* prefix;
    THyperlinkType type;
};
constexpr TitlePrefix TitlePrefixes[] = {
    {"http://", htWebPage}, {"https://", htSecureWeb}, {"file:", htFile}, {"ftp://", htFtp},
    {"mailto:", htMail},    {"news:", htNews},         {"telnet:", htTelnet},
};

// "file:" and a path whose first ".kbf", in any letter case, ends the text.
bool LinksToOutline(const std::string& link)
{
    if (!link.starts_with(FileScheme))
        return false;
    const size_t extension = AnsiLowerCase(link).find(".kbf");
    return extension != std::string::npos && extension + 4 == link.size();
}

bool IsPageLink(const std::string& link)
{
    return link.starts_with(AbsolutePageLinkPrefix) || link.starts_with(RelativePageLinkPrefix);
}
}

void TMain::WireHyperlinkCommands()
{
    SetHandler("mHyperlinkClick", [this](TComponent* sender) { mHyperlinkClick(sender); });
    SetHandler("ppInsertHyperlinkClick", [this](TComponent* sender) { ppInsertHyperlinkClick(sender); });
    SetHandler("ppEditHyperlinkClick", [this](TComponent* sender) { ppEditHyperlinkClick(sender); });
    SetHandler("ppOpenClick", [this](TComponent* sender) { ppOpenClick(sender); });
    SetHandler("ppCopyHyperlinkClick", [this](TComponent* sender) { ppCopyHyperlinkClick(sender); });
    RichEdit->OnURLClick = [this](const std::string& link, TMouseButton button) { RichEditURLClick(link, button); };
}

void TMain::mHyperlinkClick(TComponent*)
{
    const auto dialog = std::make_unique<THyperlink>();
    if (dialog->ShowModal() != mrOk)
        return;
    if (Tree->Focused()) {
        TTreeNode* page = AddPageChecked(SharedResultText);
        if (!page)
            return;
        PushHistory(page);
        return;
    }
    RichEdit->Lines().BeginUpdate();
    RichEdit->SetSelText(SharedResultText);
    RichEdit->SetSelStart(RichEdit->SelStart() + RichEdit->SelLength());
    RichEdit->Lines().EndUpdate();
    OutlineProperties.FileChanged = 1;
}

void TMain::ppInsertHyperlinkClick(TComponent*)
{
    const auto dialog = std::make_unique<THyperlink>();
    if (dialog->ShowModal() == mrOk)
        AddPageChecked(SharedResultText);
}

void TMain::ppEditHyperlinkClick(TComponent*)
{
    TTreeNode* page = Tree->Selected();
    if (!page)
        return;
    const auto dialog = std::make_unique<THyperlink>();
    dialog->SetCaption("Edit Hyperlink");
    const std::string& title = page->Text();
    for (const TitlePrefix& known : TitlePrefixes) {
        if (!title.starts_with(known.prefix))
            continue;
        dialog->TypeEdit.SetItemIndex(known.type);
        dialog->PrefixEdit.SetText(known.prefix);
        dialog->AddressEdit.SetText(title.substr(std::string_view(known.prefix).size()));
        dialog->FilledByEdit = true;
        break;
    }
    if (dialog->ShowModal() != mrOk)
        return;
    page->SetText(SharedResultText);
    OutlineProperties.FileChanged = 1;
}

void TMain::ppOpenClick(TComponent*)
{
    if (const TTreeNode* page = Tree->Selected())
        OpenWithShell(page->Text());
}

void TMain::ppCopyHyperlinkClick(TComponent*)
{
    if (const TTreeNode* page = Tree->Selected())
        SetClipboardText(page->Text());
}

void TMain::RichEditURLClick(const std::string& link, TMouseButton button)
{
    if (button != TMouseButton::mbLeft)
        return;
    if (!OptionSettings.DblClickHyperlink && !(KeyboardShiftState() & ssCtrl))
        return;
    if (!OptionSettings.InPlace)
        OpenWithShell(link);
    else if (LinksToOutline(link))
        OpenLinkedOutline(link.substr(FileScheme.size()));
    else if (IsPageLink(link))
        FollowPageLink(link);
    else if (link.starts_with("mailto:"))
        OpenMailto(link);
    else
        OpenWithShell(link);
}

void TMain::FollowPageLink(const std::string& link)
{
    const TreePages pages(*Tree);
    TTreeNode* page = TreePages::Node(ResolvePageLink(pages, Tree->Selected(), link));
    if (!page) {
        ShowInfoMessage(UnresolvedLinkText);
        return;
    }
    if (Tree->CanFocus())
        Tree->SetFocus();
    Tree->SetSelected(page);
    PushHistory(page);
    TreeClick();
}

#include "HyperlinkDialog.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "BrowsePageDialog.h"
#include "FileHandle.h"
#include "HelpTopics.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "PageLinks.h"
#include "RelativePaths.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreePages.h"
#include "TreeView.h"

#include <windows.h>

#include <iterator>
#include <memory>

namespace {
struct LinkType {
    const char* item;
    const char* prefix;
};
constexpr LinkType LinkTypes[] = {
    {"Web Page", "http://"}, {"Disk or Network File", "file:"}, {"E-mail address", "mailto:"},
    {"FTP", "ftp://"},       {"Newsgroup", "news:"},            {"Secure URL", "https://"},
    {"Telnet", "telnet:"},   {"Page in This Outline", ""},
};
constexpr const char* FilePrefix = "file:";
const char* const SamePageText = "Cannot create relative link to the same page!";

TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Insert Hyperlink";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.position = TPosition::poScreenCenter;
    params.clientWidth = 380;
    params.clientHeight = 178;
    return params;
}

bool MainEditorActive() { return Main->ActiveControl() == Main->RichEdit.get(); }

// The folder a relative file address starts from: the outline's, or the
// documents folder while the outline has no file.
std::string LinkBaseFolder()
{
    if (CurrentFileName == UntitledFileName)
        return OptionSettings.DocumentsFolder;
    return ExtractFileDir(CurrentFileName);
}

// "C:\x" or "\\server\share\x"; not "x", "..\x" nor "C:x".
bool IsAbsolutePath(const std::string& path)
{
    const std::string drive = ExtractFileDrive(path);
    return !drive.empty() && (drive.size() > 2 || (path.size() > 2 && path[2] == '\\'));
}

// The short (8.3) form of an existing file's absolute path; any other path as
// it stands, since the system would resolve a relative one against the
// process's folder or find no short form and leave the link empty.
std::string ShortPathOf(const std::string& path)
{
    if (!IsAbsolutePath(path) || !FileExists(path))
        return path;
    std::string shortPath(MAX_PATH, '\0');
    DWORD length = GetShortPathNameA(path.c_str(), shortPath.data(), static_cast<DWORD>(shortPath.size()));
    if (length > shortPath.size()) {
        shortPath.resize(length);
        length = GetShortPathNameA(path.c_str(), shortPath.data(), length);
    }
    if (length == 0 || length >= shortPath.size())
        return path;
    shortPath.resize(length);
    return shortPath;
}
}

std::string HyperlinkPrefix(int type)
{
    if (type < 0 || type >= static_cast<int>(std::size(LinkTypes)))
        return {};
    return LinkTypes[type].prefix;
}

THyperlink::THyperlink() : TForm(Params())
{
    SetName("Hyperlink");
    Label1.SetName("Label1");
    TypeEdit.SetName("TypeEdit");
    PrefixEdit.SetName("PrefixEdit");
    Label2.SetName("Label2");
    AddressEdit.SetName("AddressEdit");
    Browse.SetName("Browse");
    bPage.SetName("bPage");
    RelativeEdit.SetName("RelativeEdit");
    OK.SetName("OK");
    Cancel.SetName("Cancel");
    BitBtn1.SetName("BitBtn1");
    Label1.SetFocusControl(&TypeEdit);
    Label2.SetFocusControl(&AddressEdit);
    PrefixEdit.SetReadOnly(true);
    Browse.Hint = "Create link to file on your computer";
    bPage.Hint = "Create link to page in this outline";
    OK.ModalResult = mrOk;
    OK.SetDefault(true);
    OK.SetEnabled(false);
    Cancel.ModalResult = mrCancel;
    Cancel.SetCancel(true);
    OpenFile.Title = "Browse For File";
    OpenFile.Filter = "All Files(*.*)|*.*";
    OpenFile.Options = ofHideReadOnly | ofNoChangeDir | ofPathMustExist | ofFileMustExist;

    for (const LinkType& type : LinkTypes)
        TypeEdit.Items().Add(type.item);
    TypeEdit.SetItemIndex(htWebPage);
    // A page link goes only into page text.
    if (!MainEditorActive()) {
        bPage.SetEnabled(false);
        TypeEdit.Items().Delete(htPage);
    }
    PlaceControls();
    // What is typed first is the address, also the first time the dialog
    // opens, when no type is restored to move the focus there.
    SetActiveControl(&AddressEdit);
    WireEvents();
    DoCreate();
}

void THyperlink::PlaceControls()
{
    Label1.SetBounds(8, 8, 364, 16);
    TypeEdit.SetBounds(8, 26, 200, 160);
    Label2.SetBounds(8, 58, 364, 16);
    PrefixEdit.SetBounds(8, 76, 62, 22);
    AddressEdit.SetBounds(74, 76, 211, 22);
    Browse.SetBounds(289, 75, 25, 24);
    // Wide enough for its caption.
    bPage.SetBounds(318, 75, 54, 24);
    RelativeEdit.SetBounds(8, 108, 364, 18);
    OK.SetBounds(135, 144, 75, 25);
    Cancel.SetBounds(216, 144, 75, 25);
    BitBtn1.SetBounds(297, 144, 75, 25);
}

void THyperlink::WireEvents()
{
    OnShow = [this] { FormShow(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    TypeEdit.OnChange = [this] { TypeEditChange(); };
    TypeEdit.OnClick = [this] { TypeEditClick(); };
    TypeEdit.OnKeyDown = [this](WORD& key, TShiftState shift) { TypeEditKeyDown(key, shift); };
    AddressEdit.OnChange = [this] { AddressEditChange(); };
    Browse.OnClick = [this] { BrowseClick(); };
    bPage.OnClick = [this] { bPageClick(); };
    RelativeEdit.OnClick = [this] { RelativeEditClick(); };
    OK.OnClick = [this] { OKClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

void THyperlink::FormShow()
{
    const TDialogStates& states = DialogStates;
    if (!states.HyperlinkInitialized)
        return;
    SetBounds(states.HyperlinkLeft, states.HyperlinkTop, Width(), Height());
    if (!FilledByEdit) {
        int type = states.HyperlinkTypeEdit;
        if (Main->ActiveControl() == Main->Tree.get() && type != htWebPage)
            type = htWebPage;
        // A page link is no choice now: its item is not in the list.
        if (type < 0 || type >= TypeEdit.Items().Count())
            type = htWebPage;
        TypeEdit.SetItemIndex(type);
    }
    // Restoring the box is no click: an address Edit Hyperlink put in stays
    // as the title has it.
    restoringRelative_ = true;
    RelativeEdit.SetChecked(states.HyperlinkRelativeEdit);
    restoringRelative_ = false;
    TypeEditChange();
}

void THyperlink::FormClose(TCloseAction&)
{
    TDialogStates& states = DialogStates;
    states.HyperlinkTop = Top();
    states.HyperlinkLeft = Left();
    states.HyperlinkTypeEdit = TypeEdit.ItemIndex();
    states.HyperlinkAddressEdit = AddressEdit.Text();
    states.HyperlinkRelativeEdit = RelativeEdit.Checked();
    states.HyperlinkInitialized = true;
}

void THyperlink::TypeEditChange()
{
    PrefixEdit.SetText(HyperlinkPrefix(TypeEdit.ItemIndex()));
    if (!typeKeyPressed_ && AddressEdit.CanFocus())
        AddressEdit.SetFocus();
}

void THyperlink::TypeEditClick()
{
    if (TypeEdit.ItemIndex() == htPage)
        bPageClick();
}

void THyperlink::TypeEditKeyDown(WORD&, TShiftState) { typeKeyPressed_ = true; }

void THyperlink::AddressEditChange()
{
    OK.SetEnabled(!AddressEdit.Text().empty());
    ChosenPage = -1;
}

void THyperlink::BrowseClick()
{
    OpenFile.InitialDir = OptionSettings.ExternalFolder;
    OpenFile.FileName.clear();
    if (!OpenFile.Execute())
        return;
    const std::string path = OpenFile.FileName;
    RememberFolder(OptionSettings, ExternalFolderKind, path);
    TypeEdit.SetItemIndex(htFile);
    PrefixEdit.SetText(FilePrefix);
    AddressEdit.SetFocus();
    AddressEdit.SetText(RelativeEdit.Checked() ? ExtractRelativePath(LinkBaseFolder(), path) : path);
}

void THyperlink::bPageClick()
{
    const auto browser = std::make_unique<TBrowsePage>();
    if (browser->ShowModal() != mrOk)
        return;
    const TTreeNode* choice = browser->Tree.Selected();
    TTreeNode* target = choice ? Main->Tree->Items().Item(choice->AbsoluteIndex()) : nullptr;
    if (!target)
        return;
    if (RelativeEdit.Checked() && target == Main->Tree->Selected()) {
        ShowInfoMessage(SamePageText);
        ChosenPage = -1;
        return;
    }
    const TreePages pages(*Main->Tree);
    SetPageAddress(RelativeEdit.Checked() ? BuildRelativeLink(pages, Main->Tree->Selected(), target)
                                          : BuildAbsoluteLink(pages, target));
    ChosenPage = target->AbsoluteIndex();
    TypeEdit.SetItemIndex(htPage);
    TypeEditChange();
    AddressEdit.SetFocus();
}

void THyperlink::SetPageAddress(const std::string& address)
{
    const int chosen = ChosenPage;
    AddressEdit.SetText(address);
    ChosenPage = chosen;
}

TTreeNode* THyperlink::ChosenNode() const
{
    if (ChosenPage < 0 || ChosenPage >= Main->Tree->Items().Count())
        return nullptr;
    return Main->Tree->Items().Item(ChosenPage);
}

void THyperlink::RelativeEditClick()
{
    const std::string address = AddressEdit.Text();
    if (address.empty() || restoringRelative_)
        return;
    const bool relative = RelativeEdit.Checked();
    const int type = TypeEdit.ItemIndex();
    if (type == htPage) {
        TTreeNode* target = ChosenNode();
        if (!target)
            return;
        const TreePages pages(*Main->Tree);
        if (relative && target == Main->Tree->Selected()) {
            // "0" is no link: refused as choosing the page refuses it. Clearing
            // the box comes back here and keeps the absolute link.
            ShowInfoMessage(SamePageText);
            RelativeEdit.SetChecked(false);
            return;
        }
        SetPageAddress(relative ? BuildRelativeLink(pages, Main->Tree->Selected(), target)
                                : BuildAbsoluteLink(pages, target));
    } else if (type == htFile) {
        // Back from relative the address is read from the same folder it was
        // made relative to, so no folder between is lost.
        const std::string base = LinkBaseFolder();
        AddressEdit.SetText(relative ? ExtractRelativePath(base, address) : ExpandRelativePath(base, address));
    }
}

void THyperlink::OKClick()
{
    std::string address = AddressEdit.Text();
    const std::string prefix = PrefixEdit.Text();
    // In page text a blank would end the link; a page title keeps the long
    // path the user can read.
    if (prefix == FilePrefix && MainEditorActive())
        address = ShortPathOf(address);
    SharedResultText = prefix + address;
}

void THyperlink::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "THyperlink")); }

#include "OrganizeTemplatesDialog.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "BranchFiles.h"
#include "Cursors.h"
#include "DeleteDialog.h"
#include "FileHandle.h"
#include "HelpTopics.h"
#include "KeyboardState.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "ModelessWindows.h"
#include "PageData.h"
#include "Pages.h"
#include "RenameDialog.h"
#include "SafeFileWriter.h"
#include "SettingsRecords.h"
#include "ShellOpen.h"
#include "Streams.h"
#include "TemplateDialogImages.h"
#include "TreeView.h"
#include "WorkArea.h"

#include <memory>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Organize Templates";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.formStyle = TFormStyle::fsStayOnTop;
    // Owned by the main window as well, which brings it back in front each
    // time Wine's own desktop raises the main window over it (a click, a
    // focus move): on top alone, it would hide behind, and no page could be
    // dragged from the tree onto its list.
    params.ownerWindow = Main ? Main->Handle() : nullptr;
    params.clientWidth = 318;
    params.clientHeight = 244;
    return params;
}

// The main window's cursor for a branch dragged as a whole.
constexpr int DragMoveOutlineCursor = 7;

const std::string& Folder() { return OptionSettings.TemplatesFolder; }

TemplateKind KindOfImage(int imageIndex)
{
    return imageIndex == TemplateImageIndex(TemplateKind::Outline) ? TemplateKind::Outline : TemplateKind::Page;
}

// Asks before a template is replaced; true when there is none or Yes.
bool MayWriteTemplate(const std::string& target)
{
    if (!FileExists(target))
        return true;
    if (Application.MessageBox(OverwriteTemplateQuestion(ExtractFileName(target)), "Overwrite confirmation",
                               MB_YESNO | MB_ICONINFORMATION) != IDYES)
        return false;
    // The user chose to replace it, as Remove would remove it: read-only or not.
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    return true;
}

// The page's text exactly as stored, its paragraphs and line ends as they
// are: the editor's lines would break every paragraph where the window wraps
// it. Written safely, so a failed write keeps a template it replaces whole.
void WritePageTemplate(const TTreeNode& page, const std::string& target)
{
    const PageData* data = PageDataOf(&page);
    const std::string body = data ? data->BodyText() : std::string();
    WriteStreamSafely(target, [&](TStream& stream) {
        stream.WriteBuffer(body.data(), static_cast<std::int64_t>(body.size()));
    });
}

// A name that is no file name in the folder is refused before anything is
// written: a page title may hold "..\" or ":".
bool AcceptTemplateName(const std::string& name)
{
    if (IsValidTemplateName(name))
        return true;
    ShowInfoMessage(UnsafeTemplateNameText(name));
    return false;
}
}

TOrganizeTemplates::TOrganizeTemplates() : TForm(Params())
{
    SetName("OrganizeTemplates");
    Label1.SetName("Label1");
    FilterEdit.SetName("FilterEdit");
    List.SetName("List");
    Add.SetName("Add");
    Remove.SetName("Remove");
    Edit.SetName("Edit");
    RenameBtn.SetName("RenameBtn");
    Button3.SetName("Button3");
    BitBtn1.SetName("BitBtn1");
    PopupAdd.SetName("PopupAdd");
    AddTemplate.SetName("AddTemplate");
    Label1.SetFocusControl(&FilterEdit);
    FilterEdit.SetItems({"All", "Pages", "Outlines"});
    LoadTemplateImages(Images, ImageList1);
    List.SetLargeImages(Images.Handle());
    List.SetSmallImages(ImageList1.Handle());
    List.AddColumn("", 270);
    List.SetShowColumnHeaders(false);
    List.SetRowSelect(true);
    List.SetReadOnly(true);
    List.SetHideSelection(false);
    List.SetSortType(TSortType::stText);
    List.DragModeAutomatic = true;
    for (TButton* button : {&Remove, &Edit, &RenameBtn})
        button->SetEnabled(false);
    Button3.SetDefault(true);
    Button3.SetCancel(true);
    AddTemplate.Title = "Add Template";
    AddTemplate.Filter = "All Supported File Types(*.txt, *.kbf)|*.txt; *.kbf;|Text File(*.txt)|*.txt|"
                         "Quillo Knowledge Base Format(*.kbf)|*.kbf";
    AddTemplate.Options = ofHideReadOnly | ofFileMustExist | ofEnableSizing;
    CreatePopupAdd();
    PlaceControls();
    WireEvents();
    SetActiveControl(&List);
    DoCreate();
}

TOrganizeTemplates::~TOrganizeTemplates() = default;

void TOrganizeTemplates::CreatePopupAdd()
{
    const auto item = [this](const char* name, const char* caption, void (TOrganizeTemplates::*handler)()) {
        auto entry = std::make_unique<TMenuItem>(this);
        entry->SetName(name);
        entry->SetCaption(caption);
        entry->OnClick = [this, handler](TComponent*) { (this->*handler)(); };
        return PopupAdd.Items().Add(std::move(entry));
    };
    paCurrentPage = item("paCurrentPage", "Current &Page", &TOrganizeTemplates::paCurrentPageClick);
    paCurrentBranch = item("paCurrentBranch", "Current &Branch", &TOrganizeTemplates::paCurrentBranchClick);
    paFile = item("paFile", "&File...", &TOrganizeTemplates::paFileClick);
}

void TOrganizeTemplates::PlaceControls()
{
    Label1.SetBounds(8, 12, 90, 13);
    FilterEdit.SetBounds(104, 8, 121, 21);
    List.SetBounds(8, 36, 217, 200);
    Add.SetBounds(235, 36, 75, 25);
    Remove.SetBounds(235, 66, 75, 25);
    Edit.SetBounds(235, 96, 75, 25);
    RenameBtn.SetBounds(235, 126, 75, 25);
    Button3.SetBounds(235, 180, 75, 25);
    BitBtn1.SetBounds(235, 211, 75, 25);
}

void TOrganizeTemplates::WireEvents()
{
    OnShow = [this] { FormShow(); };
    OnClose = [this](TCloseAction& action) { FormClose(action); };
    FilterEdit.OnChange = [this] { FilterEditChange(); };
    List.OnClick = [this] { ListClick(); };
    List.OnDblClick = [this] { ListDblClick(); };
    List.OnMouseDown = [this](TMouseButton, TShiftState, int, int) { ListMouseDown(); };
    List.OnKeyDown = [this](WORD& key, TShiftState) { ListKeyDown(key); };
    List.OnKeyUp = [this](WORD&, TShiftState) { ListKeyUp(); };
    List.OnDragOver = [this](TControl* source, int, int, TDragState, bool& accept) { ListDragOver(source, accept); };
    List.OnDragDrop = [this](TControl* source, int, int) { ListDragDrop(source); };
    Add.OnClick = [this] { AddClick(); };
    Remove.OnClick = [this] { RemoveClick(); };
    Edit.OnClick = [this] { EditClick(); };
    RenameBtn.OnClick = [this] { RenameBtnClick(); };
    Button3.OnClick = [this] { Button3Click(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

TTemplateFilter TemplateFilterOf(int index)
{
    return index == tfPages || index == tfOutlines ? static_cast<TTemplateFilter>(index) : tfAll;
}

TTemplateFilter TOrganizeTemplates::Filter() const { return TemplateFilterOf(FilterEdit.ItemIndex()); }

void TOrganizeTemplates::FormShow()
{
    if (DialogStates.OrganizeTemplatesInitialized) {
        PlaceRestoredDialog(*this, DialogStates.OrganizeTemplatesLeft, DialogStates.OrganizeTemplatesTop);
        // A damaged store may hold any number: the list then shows "All".
        FilterEdit.SetItemIndex(TemplateFilterOf(DialogStates.OrganizeTemplatesFilter));
    } else {
        FilterEdit.SetItemIndex(tfAll);
    }
    FilterEditChange();
}

void TOrganizeTemplates::FormClose(TCloseAction& action)
{
    const RECT bounds = NormalBounds();
    DialogStates.OrganizeTemplatesInitialized = true;
    DialogStates.OrganizeTemplatesLeft = bounds.left;
    DialogStates.OrganizeTemplatesTop = bounds.top;
    DialogStates.OrganizeTemplatesFilter = Filter();
    action = TCloseAction::caHide;
}

TListItem* TOrganizeTemplates::AddRow(const std::string& caption, int imageIndex)
{
    return List.AddItem(caption, imageIndex);
}

void TOrganizeTemplates::FillKind(TemplateKind kind)
{
    for (const std::string& name : ListTemplates(Folder(), kind))
        AddRow(name, TemplateImageIndex(kind));
}

void TOrganizeTemplates::FilterEditChange()
{
    const TTemplateFilter filter = Filter();
    List.BeginUpdate();
    List.Clear();
    if (filter != tfOutlines)
        FillKind(TemplateKind::Page);
    if (filter != tfPages)
        FillKind(TemplateKind::Outline);
    List.EndUpdate();
    SelectRow(List.Item(0));
}

void TOrganizeTemplates::SelectRow(TListItem* row)
{
    if (row) {
        List.SetSelected(row);
        row->SetFocused(true);
        row->MakeVisible();
    }
    ListClick();
}

void TOrganizeTemplates::ListClick()
{
    const bool selected = List.Selected() != nullptr;
    for (TButton* button : {&Remove, &Edit, &RenameBtn})
        button->SetEnabled(selected);
}

void TOrganizeTemplates::ListMouseDown() { ListClick(); }

void TOrganizeTemplates::ListKeyUp() { ListClick(); }

void TOrganizeTemplates::ListKeyDown(WORD& key)
{
    if (key == VK_DELETE && List.Selected())
        RemoveClick();
}

void TOrganizeTemplates::ListDblClick()
{
    if (List.Selected())
        EditClick();
}

std::optional<std::pair<std::string, TemplateKind>> TOrganizeTemplates::SelectedTemplate() const
{
    const TListItem* row = List.Selected();
    if (!row)
        return std::nullopt;
    return std::pair{row->Caption(), KindOfImage(row->ImageIndex())};
}

void TOrganizeTemplates::AddClick()
{
    RECT button{};
    GetWindowRect(Add.Handle(), &button);
    PopupAdd.Popup(button.right, button.top);
}

void TOrganizeTemplates::AddCurrentPage(TemplateKind kind)
{
    TTreeNode* page = Main ? Main->Tree->Selected() : nullptr;
    if (!page || !AcceptTemplateName(page->Text()))
        return;
    const std::string target = TemplateFileOfKind(Folder(), page->Text(), kind);
    if (!MayWriteTemplate(target))
        return;
    // This window is the active one, so the page editor's latest typing
    // has not been stored with its page yet; the template must hold it.
    Main->CommitTyping();
    if (kind == TemplateKind::Page) {
        WritePageTemplate(*page, target);
        ShowFilterWith(kind);
    } else {
        ExportOutlineBranch(target);
    }
    FilterEditChange();
}

void TOrganizeTemplates::ShowFilterWith(TemplateKind kind)
{
    const TTemplateFilter hiding = kind == TemplateKind::Page ? tfOutlines : tfPages;
    if (Filter() == hiding)
        FilterEdit.SetItemIndex(tfAll);
}

void TOrganizeTemplates::paCurrentPageClick() { AddCurrentPage(TemplateKind::Page); }

void TOrganizeTemplates::paCurrentBranchClick() { AddCurrentPage(TemplateKind::Outline); }

void TOrganizeTemplates::paFileClick()
{
    if (!AddTemplate.Execute())
        return;
    const std::string source = AddTemplate.FileName;
    const std::string extension = ExtractFileExt(source);
    if (extension != ".txt" && extension != ".kbf") {
        ShowInfoMessage("File type not supported!");
        return;
    }
    const TemplateKind kind = extension == ".txt" ? TemplateKind::Page : TemplateKind::Outline;
    const std::string fileName = ExtractFileName(source);
    const std::string name = fileName.substr(0, fileName.size() - extension.size());
    if (!AcceptTemplateName(name))
        return;
    const std::string target = TemplateFileOfKind(Folder(), name, kind);
    // A template chosen from the folder itself is already there.
    if (lstrcmpiA(target.c_str(), source.c_str()) != 0) {
        if (!MayWriteTemplate(target))
            return;
        CopyTemplateOver(source, Folder(), name, kind);
    }
    ShowFilterWith(kind);
    FilterEditChange();
}

void TOrganizeTemplates::RemoveClick()
{
    const auto chosen = SelectedTemplate();
    if (!chosen)
        return;
    const auto& [name, kind] = *chosen;
    const std::string path = TemplateFileOfKind(Folder(), name, kind);
    if (!ConfirmDelete("Are you sure you want to delete '" + ExtractFileName(path) + "' ?"))
        return;
    DeleteTemplateFile(Folder(), name, kind);
    // A file that stayed keeps its row.
    if (FileExists(path))
        return;
    TListItem* row = List.Selected();
    if (!row) {
        FilterEditChange();
        return;
    }
    const int index = row->Index();
    TListItem* neighbour = List.Item(index + 1 < List.Count() ? index + 1 : index - 1);
    List.Delete(row);
    SelectRow(neighbour ? neighbour : List.Item(0));
}

void TOrganizeTemplates::EditClick()
{
    if (const auto chosen = SelectedTemplate())
        OpenWithShell(TemplateFileOfKind(Folder(), chosen->first, chosen->second));
}

void TOrganizeTemplates::RenameBtnClick()
{
    const auto chosen = SelectedTemplate();
    if (!chosen)
        return;
    const auto& [name, kind] = *chosen;
    std::string newName;
    {
        const auto dialog = std::make_unique<TRename>();
        dialog->NameEdit.SetText(name);
        if (dialog->ShowModal() != mrOk)
            return;
        newName = dialog->NameEdit.Text();
    }
    if (newName == name || !AcceptTemplateName(newName))
        return;
    if (!RenameTemplateFile(Folder(), name, newName, kind)) {
        ShowInfoMessage(RenameFailureText(newName + TemplateExtension(kind)));
        return;
    }
    FilterEditChange();
}

bool TOrganizeTemplates::DraggingPageTemplate() const
{
    const TTreeNode* page = Main ? Main->Tree->Selected() : nullptr;
    return !page || !page->HasChildren() || (KeyboardShiftState() & ssCtrl);
}

void TOrganizeTemplates::ListDragOver(TControl* source, bool& accept)
{
    accept = Main && source == Main->Tree.get();
    if (accept)
        List.DragCursor = DraggingPageTemplate() ? nullptr : ScreenCursor(DragMoveOutlineCursor);
}

void TOrganizeTemplates::ListDragDrop(TControl* source)
{
    if (!Main || source != Main->Tree.get())
        return;
    if (DraggingPageTemplate())
        paCurrentPageClick();
    else
        paCurrentBranchClick();
}

void TOrganizeTemplates::Button3Click()
{
    List.Clear();
    Close();
}

void TOrganizeTemplates::BitBtn1Click()
{
    ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TOrganizeTemplates"));
}

TOrganizeTemplates* OrganizeTemplatesWindow() { return dynamic_cast<TOrganizeTemplates*>(OrganizeTemplates.get()); }

std::string DraggedTemplateRow::Path() const { return TemplateFileOfKind(Folder(), name, kind); }

std::optional<DraggedTemplateRow> DraggedTemplate(const TControl* source)
{
    TOrganizeTemplates* window = OrganizeTemplatesWindow();
    if (!window || source != &window->List)
        return std::nullopt;
    const auto chosen = window->SelectedTemplate();
    if (!chosen)
        return std::nullopt;
    return DraggedTemplateRow{chosen->first, chosen->second};
}

std::string OverwriteTemplateQuestion(const std::string& fileName)
{
    return "File '" + fileName + "' already exists!\nOverwrite?";
}

std::string RenameFailureText(const std::string& newFileName)
{
    return "File already exists: '" + newFileName + "'. \nCannot overwrite!";
}

std::string UnsafeTemplateNameText(const std::string& name)
{
    return "'" + name + "' cannot be a template name!\nA template name may not be \".\" or \"..\" "
                        "and may not hold any of \\ / : * ? \" < > |.";
}

void TMain::mOrganizeTemplatesClick(TComponent*)
{
    // The window goes with the main window that owns it.
    if (!OrganizeTemplates || !OrganizeTemplates->Handle())
        OrganizeTemplates = std::make_unique<TOrganizeTemplates>();
    OrganizeTemplates->Show();
}

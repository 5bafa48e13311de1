#pragma once
// The Organize Templates window: modeless and on top of the main window, it
// lists the templates folder and adds (from the current page, the current
// branch or a file), removes, edits and renames templates. Pages dragged from
// the tree onto its list become templates; its rows dragged onto the tree are
// inserted there. Made on the first Organize Templates command, kept for the
// run and freed with the main window.

#include "FileDialogs.h"
#include "Form.h"
#include "ImageList.h"
#include "ListView.h"
#include "Menus.h"
#include "StdCtrls.h"
#include "TemplateFolder.h"

#include <optional>
#include <string>

// What the list shows, in the order of the filter's items.
enum TTemplateFilter : int { tfAll = 0, tfPages = 1, tfOutlines = 2 };
// Any number outside the filters means "All".
TTemplateFilter TemplateFilterOf(int index);

class TOrganizeTemplates : public TForm {
public:
    TOrganizeTemplates();
    ~TOrganizeTemplates() override;

    TLabel Label1{this, this, "Templates &filter:"};
    TComboBox FilterEdit{this, this, TComboBoxStyle::csDropDownList};
    TListView List{this, this, TViewStyle::vsReport};
    TButton Add{this, this, "&Add"};
    TButton Remove{this, this, "&Remove"};
    TButton Edit{this, this, "&Edit"};
    TButton RenameBtn{this, this, "Re&name..."};
    TButton Button3{this, this, "Close"};
    TButton BitBtn1{this, this, "&Help"};
    TImageList Images{this, 32, 32};
    TImageList ImageList1{this, 16, 16};
    TPopupMenu PopupAdd{this};
    TMenuItem* paCurrentPage = nullptr;
    TMenuItem* paCurrentBranch = nullptr;
    TMenuItem* paFile = nullptr;
    TOpenDialog AddTemplate{this};

    void FormShow();
    void FormClose(TCloseAction& action);
    void FilterEditChange();
    void ListClick();
    void ListDblClick();
    void ListMouseDown();
    void ListKeyDown(WORD& key);
    void ListKeyUp();
    void ListDragOver(TControl* source, bool& accept);
    void ListDragDrop(TControl* source);
    void AddClick();
    void RemoveClick();
    void EditClick();
    void RenameBtnClick();
    void paCurrentPageClick();
    void paCurrentBranchClick();
    void paFileClick();
    void Button3Click();
    void BitBtn1Click();
    // Adds a row for a template; the image tells its kind.
    TListItem* AddRow(const std::string& caption, int imageIndex);

    // The filter chosen, anything outside the list taken as "All".
    TTemplateFilter Filter() const;
    // The selected row's template: its name and kind.
    std::optional<std::pair<std::string, TemplateKind>> SelectedTemplate() const;

private:
    void PlaceControls();
    void WireEvents();
    void CreatePopupAdd();
    void FillKind(TemplateKind kind);
    void SelectRow(TListItem* row);
    // The selected page of the main tree becomes a template of this kind.
    void AddCurrentPage(TemplateKind kind);
    // A page without children, or Ctrl held, is dragged as a page template.
    bool DraggingPageTemplate() const;
    void ShowFilterWith(TemplateKind kind);
};

// The Organize Templates window while it exists, else null.
TOrganizeTemplates* OrganizeTemplatesWindow();

// A template row being dragged: when source is the Organize Templates list,
// the selected row's name and kind, which decide the file a drop inserts.
struct DraggedTemplateRow {
    std::string name;
    TemplateKind kind = TemplateKind::Page;
    // The template's file in the templates folder.
    std::string Path() const;
};
std::optional<DraggedTemplateRow> DraggedTemplate(const TControl* source);

// The messages of the window.
std::string OverwriteTemplateQuestion(const std::string& fileName);
std::string RenameFailureText(const std::string& newFileName);
std::string UnsafeTemplateNameText(const std::string& name);

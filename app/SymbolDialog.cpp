#include "SymbolDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "Main.h"
#include "ModelessWindows.h"
#include "RichEdit.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "TreeView.h"
#include "WorkArea.h"

#include <memory>

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Symbol";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.formStyle = TFormStyle::fsStayOnTop;
    // Owned by the main window too, which brings it back in front when
    // Wine's own desktop raises the main window over it.
    params.ownerWindow = Main ? Main->Handle() : nullptr;
    params.clientWidth = 528;
    params.clientHeight = 271;
    return params;
}

struct SpecialCharacter {
    unsigned char code;
    const char* name;
};

const SpecialCharacter NamedCharacters[] = {
    {151, "Em Dash"}, {150, "En Dash"},   {169, "Copyright"}, {174, "Registered Mark"},
    {153, "Trade-mark"}, {167, "Section"}, {182, "Paragraph"},
};

// The list's first column: the character after eleven blanks.
constexpr size_t CharacterColumnIndent = 11;
constexpr int CharacterPoints = 10;
} // namespace

TSymbol::TSymbol() : TForm(Params())
{
    SetName("Symbol");
    Pages.SetName("Pages");
    AllCharacters.SetName("AllCharacters");
    SpecialCharacters.SetName("SpecialCharacters");
    Grid.SetName("Grid");
    List.SetName("List");
    Insert.SetName("Insert");
    Close.SetName("Close");
    BitBtn1.SetName("BitBtn1");
    Insert.SetDefault(true);
    List.AddColumn("", 210);
    List.AddColumn("", 278);
    List.SetShowColumnHeaders(false);
    List.SetRowSelect(true);
    List.SetReadOnly(true);
    PlaceControls();
    WireEvents();
    DoCreate();
}

void TSymbol::PlaceControls()
{
    Pages.SetBounds(8, 8, 512, 222);
    Label1.SetBounds(8, 6, 30, 13);
    FontEdit.SetBounds(40, 6, 300, 13);
    Grid.SetBounds(8, 24, Grid.Width(), Grid.Height());
    Label2.SetBounds(12, 6, 100, 13);
    Label3.SetBounds(222, 6, 100, 13);
    List.SetBounds(8, 24, 492, 164);
    Insert.SetBounds(285, 238, 75, 25);
    Close.SetBounds(365, 238, 75, 25);
    BitBtn1.SetBounds(445, 238, 75, 25);
}

void TSymbol::WireEvents()
{
    OnShow = [this] { FormShow(); };
    OnActivate = [this] { FormActivate(); };
    OnDeactivate = [this] { FormDeactivate(); };
    // The close box hides the window as Close does: it is kept for the run.
    OnClose = [](TCloseAction& action) { action = TCloseAction::caHide; };
    Grid.OnSelectCell = [this](int col, int row, bool& canSelect) { GridSelectCell(col, row, canSelect); };
    Grid.OnDblClick = [this] { InsertClick(); };
    List.OnDblClick = [this] { InsertClick(); };
    Insert.OnClick = [this] { InsertClick(); };
    Close.OnClick = [this] { CloseClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

std::string TSymbol::CellText(int col, int row)
{
    const int code = FirstCode + row * GridColumns + col;
    return code <= 255 ? std::string(1, static_cast<char>(code)) : std::string();
}

void TSymbol::FormShow()
{
    gridFont_.Apply(Grid, OptionSettings.PageFontFace, CharacterPoints);
    listFont_.Apply(List, OptionSettings.PageFontFace, CharacterPoints);
    FontEdit.SetCaption(OptionSettings.PageFontFace);
    Pages.SetActivePage(&AllCharacters);
    Grid.SetFocus();
    Grid.SetFocusCell(0, 0);
    selectedCol_ = 0;
    selectedRow_ = 0;
    for (int row = 0; row < GridRows; ++row)
        for (int col = 0; col < GridColumns; ++col)
            Grid.SetCell(col, row, CellText(col, row));
    List.BeginUpdate();
    List.Clear();
    for (const SpecialCharacter& special : NamedCharacters) {
        TListItem* item = List.AddItem(std::string(CharacterColumnIndent, ' ') + static_cast<char>(special.code));
        item->SetSubItems({special.name});
    }
    List.EndUpdate();
    List.SetItemIndex(0);
}

void TSymbol::FormActivate()
{
    if (DialogStates.SymbolInitialized)
        PlaceRestoredDialog(*this, DialogStates.SymbolLeft, DialogStates.SymbolTop);
}

void TSymbol::FormDeactivate()
{
    const RECT bounds = NormalBounds();
    DialogStates.SymbolTop = bounds.top;
    DialogStates.SymbolLeft = bounds.left;
    DialogStates.SymbolInitialized = true;
}

void TSymbol::GridSelectCell(int col, int row, bool&)
{
    selectedCol_ = col;
    selectedRow_ = row;
}

std::string TSymbol::ChosenText() const
{
    if (Pages.ActivePage() == &AllCharacters)
        return CellText(selectedCol_, selectedRow_);
    for (int i = 0; i < List.Count(); ++i) {
        const TListItem* item = List.Item(i);
        if (item->Focused())
            return item->Caption().size() > CharacterColumnIndent ? item->Caption().substr(CharacterColumnIndent, 1)
                                                                   : std::string();
    }
    return {};
}

void TSymbol::InsertClick()
{
    const std::string text = ChosenText();
    // The cell after the last character holds none: the user's selection
    // must not be replaced by nothing.
    if (text.empty())
        return;
    TQRichEdit& editor = *Main->RichEdit;
    editor.Lines().BeginUpdate();
    editor.SetSelText(text);
    // The caret goes after the character, so the next insert or key adds to
    // it instead of replacing it.
    editor.SetSelStart(editor.GetSelection().cpMax);
    editor.Lines().EndUpdate();
    OutlineProperties.FileChanged = 1;
    // This window stays open while the user works in the tree: the editor's
    // next entry would forget the change, so it goes into the page now.
    if (Main->ActiveControl() != &editor) {
        EditorPage = Main->Tree->Selected();
        editor.SetModified(true);
        Main->RichEditExit();
    }
}

void TSymbol::CloseClick() { Hide(); }

void TSymbol::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TSymbol")); }

void TMain::mSymbolClick(TComponent*)
{
    // The window goes with the main window that owns it.
    if (!Symbol || !Symbol->Handle())
        Symbol = std::make_unique<TSymbol>();
    Symbol->Show();
}

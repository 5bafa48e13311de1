#include "FindDialog.h"

#include "Application.h"
#include "HelpTopics.h"
#include "KeyboardState.h"
#include "Main.h"
#include "Menus.h"
#include "ModelessWindows.h"
#include "Pages.h"
#include "SettingsRecords.h"
#include "WorkArea.h"

namespace {
TForm::CreateParams Params()
{
    TForm::CreateParams params;
    params.caption = "Find";
    params.borderStyle = TFormBorderStyle::bsDialog;
    params.extraStyle = WS_MINIMIZEBOX;
    params.formStyle = TFormStyle::fsStayOnTop;
    // Owned by the main window too, which brings it back in front when
    // Wine's own desktop raises the main window over it.
    params.ownerWindow = Main ? Main->Handle() : nullptr;
    params.clientWidth = 372;
    params.clientHeight = 120;
    return params;
}

const char* const ScopeItems[] = {"Current page only", "Whole outline, including page titles",
                                  "Whole outline, without page titles"};
}

TFindR::TFindR() : TForm(Params())
{
    SetName("FindR");
    Label1.SetName("Label1");
    Edit.SetName("Edit");
    Label2.SetName("Label2");
    SearchEdit.SetName("SearchEdit");
    Case.SetName("Case");
    Whole.SetName("Whole");
    FindButton.SetName("FindButton");
    Cancel.SetName("Cancel");
    BitBtn1.SetName("BitBtn1");
    KeyPreview = true;
    Label1.SetFocusControl(&Edit);
    Label2.SetFocusControl(&SearchEdit);
    SearchEdit.SetItems({std::begin(ScopeItems), std::end(ScopeItems)});
    FindButton.SetDefault(true);
    FindButton.SetEnabled(false);
    Cancel.SetCancel(true);
    PlaceControls();
    WireEvents();
    DoCreate();
}

void TFindR::PlaceControls()
{
    Label1.SetBounds(8, 12, 90, 13);
    Edit.SetBounds(104, 8, 170, 21);
    Label2.SetBounds(8, 42, 90, 13);
    SearchEdit.SetBounds(104, 38, 170, 21);
    Case.SetBounds(8, 72, 160, 17);
    Whole.SetBounds(8, 94, 160, 17);
    FindButton.SetBounds(286, 8, 78, 25);
    Cancel.SetBounds(286, 38, 78, 25);
    BitBtn1.SetBounds(286, 86, 78, 25);
}

void TFindR::WireEvents()
{
    OnCreate = [this] { FormCreate(); };
    OnShow = [this] { FormShow(); };
    OnDeactivate = [this] { FormDeactivate(); };
    // The Edit commands now act on the search box.
    OnActivate = [] { UpdateMenus(); };
    // The close box only hides the window, as Cancel does.
    OnClose = [](TCloseAction& action) { action = TCloseAction::caHide; };
    Edit.OnChange = [this] { EditChange(); };
    // Choosing a history item changes the text as typing does.
    Edit.OnSelect = [this] {
        Edit.SetText(Edit.Items().Get(Edit.ItemIndex()));
        EditChange();
    };
    FindButton.OnClick = [this] { FindButtonClick(); };
    Cancel.OnClick = [this] { CancelClick(); };
    BitBtn1.OnClick = [this] { BitBtn1Click(); };
}

void TFindR::FormCreate() { SearchEdit.SetItemIndex(scOutlineWithTitles); }

void TFindR::FormShow() { SetActiveControl(&Edit); }

void TFindR::EditChange() { FindButton.SetEnabled(!Edit.Text().empty()); }

void TFindR::CancelClick() { Hide(); }

void TFindR::BitBtn1Click() { ShowHelpTopic(FormHelpTopicAddress(Application.HelpFile(), "TFindR")); }

TSearchScope TFindR::Scope() const
{
    const int index = SearchEdit.ItemIndex();
    return index == scCurrentPage || index == scOutlineWithoutTitles ? static_cast<TSearchScope>(index)
                                                                     : scOutlineWithTitles;
}

void TFindR::FormDeactivate()
{
    const RECT bounds = NormalBounds();
    DialogStates.FindRWhole = Whole.Checked();
    DialogStates.FindRCase = Case.Checked();
    DialogStates.FindRSearchEdit = Scope();
    DialogStates.FindRTop = bounds.top;
    DialogStates.FindRLeft = bounds.left;
    DialogStates.FindRInitialized = true;
}

void TFindR::ApplyStoredState()
{
    PlaceRestoredDialog(*this, DialogStates.FindRLeft, DialogStates.FindRTop);
    Whole.SetChecked(DialogStates.FindRWhole);
    Case.SetChecked(DialogStates.FindRCase);
    // A damaged store may hold any number; it must not leave the window
    // without a scope, where Find Next would do nothing.
    SearchEdit.SetItemIndex(DialogStates.FindRSearchEdit);
    SearchEdit.SetItemIndex(Scope());
}

void TFindR::RememberSearchText(const std::string& text)
{
    const std::string first = Edit.Items().Count() > 0 ? Edit.Items().Get(0) : std::string();
    if (text != first) {
        Edit.Items().Insert(0, text);
        // Inserting may take the text out of the box; it stays as typed.
        if (Edit.Text() != text)
            Edit.SetText(text);
    }
}

bool TFindR::PreTranslateKey(const MSG& message)
{
    if (TForm::PreTranslateKey(message))
        return true;
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    const auto key = static_cast<WORD>(message.wParam);
    const TShiftState shift = KeyboardShiftState();
    if (key == VK_F4 && (shift & ssAlt))
        return false;
    return Main && Main->Menu.IsShortCut(key, shift);
}

TFindR* FindRWindow() { return dynamic_cast<TFindR*>(FindR.get()); }

HWND ActiveFindBox()
{
    TFindR* find = FindRWindow();
    return find && FindWindowIsActive() ? find->Edit.Handle() : nullptr;
}

std::string SearchMissText(const std::string& text) { return "Search string: '" + text + "' not found!"; }

void TMain::mFindClick(TComponent*)
{
    // The window goes with the main window that owns it.
    if (!FindR || !FindR->Handle()) {
        auto window = std::make_unique<TFindR>();
        if (DialogStates.FindRInitialized)
            window->ApplyStoredState();
        FindR = std::move(window);
    }
    FindR->Show();
}

void TMain::mFindNextClick(TComponent* sender)
{
    if (!FindR || !FindR->Handle()) {
        mFindClick(sender);
        return;
    }
    FindR->Show();
    if (TFindR* window = FindRWindow(); window && !window->Edit.Text().empty())
        window->FindButtonClick();
}

#include "Application.h"
#include "DragManager.h"
#include "Exceptions.h"
#include "ExtCtrls.h"
#include "Form.h"
#include "GdiHandles.h"
#include "ListView.h"
#include "PageControl.h"
#include "SpinEdit.h"
#include "StdCtrls.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
TForm::CreateParams HostParams()
{
    TForm::CreateParams params;
    params.caption = "Controls";
    params.left = 20;
    params.top = 20;
    params.clientWidth = 400;
    params.clientHeight = 300;
    return params;
}

class Host : public TForm {
public:
    Host() : TForm(HostParams()) {}
};

// Sends a control's notification to its parent, as the control does.
void Notify(const TControl& control, WORD code)
{
    SendMessageA(GetParent(control.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control.Handle()), code),
                 reinterpret_cast<LPARAM>(control.Handle()));
}

void NotifyListView(const TListView& list, UINT code, int item)
{
    NMLISTVIEW notice{};
    notice.hdr.hwndFrom = list.Handle();
    notice.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(list.Handle()));
    notice.hdr.code = code;
    notice.iItem = item;
    SendMessageA(GetParent(list.Handle()), WM_NOTIFY, notice.hdr.idFrom, reinterpret_cast<LPARAM>(&notice));
}
}

// --- Buttons ----------------------------------------------------------------

TEST(Button, AClickFiresOnClickAndSetsTheFormsModalResult)
{
    Host form;
    TButton button(&form, &form, "&Apply");
    button.ModalResult = mrRetry;
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.Click();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(form.ModalResult, mrRetry);
    EXPECT_EQ(button.Caption(), "&Apply");
}

TEST(Button, ADisabledButtonCannotBeClicked)
{
    Host form;
    TButton button(&form, &form, "OK");
    int clicks = 0;
    button.OnClick = [&] { ++clicks; };
    button.SetEnabled(false);
    button.Click();
    EXPECT_EQ(clicks, 0);
}

TEST(Button, DefaultAndCancelButtonsAreFoundOnTheirForm)
{
    Host form;
    TPanel panel(&form, &form);
    TButton ok(&form, &panel, "OK");
    TButton cancel(&form, &panel, "Cancel");
    EXPECT_EQ(form.DefaultButton(), nullptr);
    ok.SetDefault(true);
    cancel.SetCancel(true);
    EXPECT_EQ(form.DefaultButton(), &ok);
    EXPECT_EQ(form.CancelButton(), &cancel);
    EXPECT_TRUE(GetWindowLongPtrA(ok.Handle(), GWL_STYLE) & BS_DEFPUSHBUTTON);
    EXPECT_NE(GetDlgCtrlID(ok.Handle()), GetDlgCtrlID(cancel.Handle()));
}

TEST(CheckBox, CheckingByCodeFiresOnClickOnlyWhenTheStateChanges)
{
    Host form;
    TCheckBox box(&form, &form, "&Case sensitive");
    int clicks = 0;
    box.OnClick = [&] { ++clicks; };
    box.SetChecked(true);
    box.SetChecked(true);
    EXPECT_TRUE(box.Checked());
    EXPECT_EQ(clicks, 1);
    box.Click();
    EXPECT_FALSE(box.Checked());
    EXPECT_EQ(clicks, 2);
}

TEST(RadioButton, CheckingByCodeFiresOnClickAndUnchecksTheOthersOfTheGroup)
{
    Host form;
    TRadioButton none(&form, &form, "&None");
    TRadioButton last(&form, &form, "&Last opened");
    TRadioButton custom(&form, &form, "&Custom");
    TPanel otherGroup(&form, &form);
    TRadioButton elsewhere(&form, &otherGroup, "Elsewhere");
    elsewhere.SetChecked(true);
    std::vector<std::string> clicks;
    none.OnClick = [&] { clicks.push_back("none"); };
    last.OnClick = [&] { clicks.push_back("last"); };
    custom.OnClick = [&] { clicks.push_back("custom"); };

    none.SetChecked(true);
    last.SetChecked(true);
    last.SetChecked(true);
    EXPECT_FALSE(none.Checked());
    EXPECT_TRUE(last.Checked());
    EXPECT_FALSE(custom.Checked());
    EXPECT_TRUE(elsewhere.Checked());
    EXPECT_EQ(clicks, (std::vector<std::string>{"none", "last"}));

    EXPECT_TRUE(GetWindowLongPtrA(last.Handle(), GWL_STYLE) & WS_TABSTOP);
    EXPECT_FALSE(GetWindowLongPtrA(none.Handle(), GWL_STYLE) & WS_TABSTOP);

    last.SetChecked(false);
    EXPECT_FALSE(last.Checked());
    EXPECT_EQ(clicks.size(), 2u);
}

TEST(RadioButton, AClickChecksItAndUnchecksTheOthers)
{
    Host form;
    TRadioButton first(&form, &form, "First");
    TRadioButton second(&form, &form, "Second");
    first.SetChecked(true);
    int clicks = 0;
    second.OnClick = [&] { ++clicks; };
    second.Click();
    EXPECT_TRUE(second.Checked());
    EXPECT_FALSE(first.Checked());
    second.Click();
    EXPECT_EQ(clicks, 1);
}

// --- Label ------------------------------------------------------------------

TEST(Label, FocusControlPutsTheLabelJustBeforeItsControl)
{
    Host form;
    TEdit edit(&form, &form);
    TButton button(&form, &form, "Go");
    TLabel label(&form, &form, "F&ind what:");
    label.SetFocusControl(&edit);
    EXPECT_EQ(GetWindow(edit.Handle(), GW_HWNDPREV), label.Handle());
    EXPECT_EQ(label.FocusControl(), &edit);
    label.SetAlignment(TAlignment::taRightJustify);
    EXPECT_EQ(GetWindowLongPtrA(label.Handle(), GWL_STYLE) & SS_TYPEMASK, SS_RIGHT);
    label.SetAlignment(TAlignment::taLeftJustify);
    label.SetWordWrap(true);
    EXPECT_EQ(GetWindowLongPtrA(label.Handle(), GWL_STYLE) & SS_TYPEMASK, SS_LEFT);
    EXPECT_TRUE(label.ShowAccelChar());
}

// --- Edits ------------------------------------------------------------------

TEST(Edit, SettingTheTextFiresOnChange)
{
    Host form;
    TEdit edit(&form, &form, "start");
    int changes = 0;
    edit.OnChange = [&] { ++changes; };
    edit.SetText("Corvane Quillo");
    EXPECT_EQ(changes, 1);
    edit.SetSelStart(8);
    edit.SetSelLength(6);
    EXPECT_EQ(edit.SelText(), "Quillo");
    edit.SetSelText("Notes");
    EXPECT_EQ(edit.Text(), "Corvane Notes");
    EXPECT_EQ(changes, 2);
    edit.SelectAll();
    EXPECT_EQ(edit.SelLength(), 13);
}

TEST(Edit, MaxLengthAndReadOnly)
{
    Host form;
    TEdit edit(&form, &form);
    EXPECT_EQ(edit.MaxLength(), 0);
    edit.SetMaxLength(255);
    EXPECT_EQ(edit.MaxLength(), 255);
    EXPECT_EQ(SendMessageA(edit.Handle(), EM_GETLIMITTEXT, 0, 0), 255);
    edit.SetReadOnly(true);
    EXPECT_TRUE(edit.ReadOnly());
    edit.SetReadOnly(false);
    EXPECT_FALSE(edit.ReadOnly());
}

TEST(Memo, LinesAreTheTextBetweenCrLf)
{
    Host form;
    TMemo memo(&form, &form);
    int changes = 0;
    memo.OnChange = [&] { ++changes; };
    memo.SetLines({"first", "", "third"});
    EXPECT_EQ(changes, 0); // text set by code: the multi-line edit reports nothing
    EXPECT_EQ(memo.Text(), "first\r\n\r\nthird");
    EXPECT_EQ(memo.Lines(), (std::vector<std::string>{"first", "", "third"}));
    EXPECT_EQ(memo.LineCount(), 3);
    memo.Clear();
    EXPECT_TRUE(memo.Lines().empty());
    memo.SetSelText("typed");
    EXPECT_EQ(changes, 1);
}

TEST(Memo, WordWrapAndScrollBarsRemakeTheWindowKeepingItsState)
{
    Host form;
    form.Show();
    TEdit before(&form, &form);
    TMemo memo(&form, &form);
    TEdit after(&form, &form);
    memo.SetBounds(10, 20, 200, 100);
    memo.SetText("one\r\ntwo");
    memo.SetMaxLength(100);
    memo.SetSelStart(5);
    memo.SetFocus();
    int enters = 0;
    memo.OnEnter = [&] { ++enters; };
    memo.OnExit = [&] { ++enters; };

    memo.SetWordWrap(false);
    memo.SetScrollBars(TScrollStyle::ssBoth);
    const auto style = GetWindowLongPtrA(memo.Handle(), GWL_STYLE);
    EXPECT_TRUE(style & ES_AUTOHSCROLL);
    EXPECT_TRUE(style & WS_VSCROLL);
    EXPECT_TRUE(style & WS_HSCROLL);
    EXPECT_EQ(memo.Text(), "one\r\ntwo");
    EXPECT_EQ(memo.MaxLength(), 100);
    EXPECT_EQ(memo.SelStart(), 5);
    EXPECT_EQ(memo.Left(), 10);
    EXPECT_EQ(memo.Width(), 200);
    EXPECT_EQ(GetFocus(), memo.Handle());
    EXPECT_EQ(form.ActiveControl(), &memo);
    EXPECT_EQ(enters, 0);
    EXPECT_EQ(GetWindow(memo.Handle(), GW_HWNDPREV), before.Handle());
    EXPECT_EQ(TControl::FromHandle(memo.Handle()), &memo);
}

// --- Combo box --------------------------------------------------------------

TEST(ComboBox, ItemsTextAndSilentSelectionByCode)
{
    Host form;
    TComboBox combo(&form, &form, TComboBoxStyle::csDropDownList);
    combo.SetBounds(10, 10, 200, 21);
    int events = 0;
    combo.OnChange = [&] { ++events; };
    combo.OnClick = [&] { ++events; };
    combo.SetItems({"Current page only", "Whole outline, including page titles", "Whole outline, without page titles"});
    combo.SetItemIndex(1);
    EXPECT_EQ(combo.ItemIndex(), 1);
    EXPECT_EQ(combo.Text(), "Whole outline, including page titles");
    combo.SetText("Current page only");
    EXPECT_EQ(combo.ItemIndex(), 0);
    combo.SetText("no such item");
    EXPECT_EQ(combo.ItemIndex(), -1);
    EXPECT_EQ(events, 0);
    EXPECT_EQ(combo.Items().Count(), 3);
    combo.Items().Delete(0);
    EXPECT_EQ(combo.Items()[0], "Whole outline, including page titles");
    // The box is as high as its closed part, whatever the open list needs.
    EXPECT_LT(combo.Height(), 40);
}

TEST(ComboBox, AUserChoiceFiresOnClickThenOnSelectOrOnChange)
{
    Host form;
    TComboBox combo(&form, &form, TComboBoxStyle::csDropDownList);
    combo.SetItems({"Web Page", "Disk or Network File", "E-mail address"});
    std::vector<std::string> events;
    combo.OnClick = [&] { events.push_back("click " + combo.Text()); };
    combo.OnChange = [&] { events.push_back("change"); };
    combo.UserSelect(1);
    EXPECT_EQ(events, (std::vector<std::string>{"click Disk or Network File", "change"}));
    events.clear();
    combo.OnSelect = [&] { events.push_back("select"); };
    combo.UserSelect(2);
    EXPECT_EQ(events, (std::vector<std::string>{"click E-mail address", "select"}));
}

TEST(ComboBox, AnEditableBoxShowsTheChosenItemAndReportsTyping)
{
    Host form;
    TComboBox combo(&form, &form, TComboBoxStyle::csDropDown);
    combo.SetItems({"alpha", "beta"});
    std::vector<std::string> texts;
    combo.OnChange = [&] { texts.push_back(combo.Text()); };
    combo.UserSelect(1);
    combo.SetText("typed");
    EXPECT_EQ(combo.Text(), "typed");
    Notify(combo, CBN_EDITCHANGE);
    EXPECT_EQ(texts, (std::vector<std::string>{"beta", "typed"}));
}

TEST(ComboBox, ASortedBoxPlacesItemsWithoutRegardToCase)
{
    Host form;
    TComboBox combo(&form, &form, TComboBoxStyle::csDropDownList);
    combo.SetItems({"Default", "beta", "Alpha"});
    combo.SetItemIndex(0);
    combo.SetSorted(true);
    EXPECT_EQ(combo.Items().GetText(), "Alpha\r\nbeta\r\nDefault\r\n");
    EXPECT_EQ(combo.Text(), "Default");
    combo.Items().Add("charlie");
    int value = 42;
    combo.Items().AddObject("ALPHA", &value);
    EXPECT_EQ(combo.Items().GetText(), "Alpha\r\nALPHA\r\nbeta\r\ncharlie\r\nDefault\r\n");
    EXPECT_EQ(combo.Items().Objects(1), &value);
    EXPECT_EQ(combo.Items().IndexOf("CHARLIE"), 3);
}

TEST(ComboBox, AnEditableBoxMakesItsFormsActiveControl)
{
    Host form;
    form.Show();
    TEdit edit(&form, &form);
    TComboBox combo(&form, &form, TComboBoxStyle::csDropDown);
    edit.SetFocus();
    std::vector<std::string> events;
    edit.OnExit = [&] { events.push_back("exit edit"); };
    combo.OnEnter = [&] { events.push_back("enter combo"); };
    combo.SetFocus();
    EXPECT_NE(GetFocus(), combo.Handle()); // its edit has it
    EXPECT_EQ(form.ActiveControl(), &combo);
    EXPECT_EQ(events, (std::vector<std::string>{"exit edit", "enter combo"}));
}

// --- List box ---------------------------------------------------------------

TEST(ListBox, ItemsSelectionAndClicks)
{
    Host form;
    TListBox list(&form, &form);
    list.SetBounds(10, 10, 200, 150);
    list.SetItems({"M/d/yyyy", "dddd, MMMM d, yyyy", "h:mm:ss tt"});
    int clicks = 0;
    list.OnClick = [&] { ++clicks; };
    list.SetItemIndex(2);
    EXPECT_EQ(list.ItemIndex(), 2);
    EXPECT_EQ(clicks, 0);
    list.UserSelect(1);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.ItemAt(5, 2), 0);
    list.Items().Put(1, "dddddd");
    EXPECT_EQ(list.Items()[1], "dddddd");
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_THROW(list.Items().Get(3), EStringListError);
}

TEST(ListBox, MultipleSelection)
{
    Host form;
    TListBox list(&form, &form, true);
    list.SetItems({"a", "b", "c"});
    list.SetSelected(0, true);
    list.SetSelected(2, true);
    EXPECT_EQ(list.SelCount(), 2);
    EXPECT_TRUE(list.Selected(2));
    EXPECT_FALSE(list.Selected(1));
    list.SetItemIndex(1);
    EXPECT_EQ(list.SelCount(), 1);
    EXPECT_EQ(list.ItemIndex(), 1);
}

// --- List view --------------------------------------------------------------

TEST(ListView, ReportRowsWithColumnsSubItemsAndData)
{
    Host form;
    TListView list(&form, &form, TViewStyle::vsReport);
    list.SetBounds(10, 10, 360, 150);
    list.AddColumn("File type", 120);
    list.AddColumn("Location", 225);
    list.SetShowColumnHeaders(false);
    list.SetRowSelect(true);
    list.SetReadOnly(true);
    int data = 7;
    TListItem* outlines = list.AddItem("Outlines");
    outlines->SetSubItems({"C:\\My documents\\"});
    TListItem* templates = list.AddItem("Templates", 3, &data);
    templates->SetSubItem(0, "C:\\Quillo\\Templates");
    EXPECT_EQ(list.ColumnCount(), 2);
    EXPECT_EQ(list.ColumnWidth(1), 225);
    EXPECT_FALSE(list.ShowColumnHeaders());
    EXPECT_TRUE(list.RowSelect());
    EXPECT_TRUE(list.ReadOnly());
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Item(1), templates);
    EXPECT_EQ(templates->Index(), 1);
    EXPECT_EQ(templates->Data, &data);
    EXPECT_EQ(templates->ImageIndex(), 3);
    EXPECT_EQ(templates->SubItems(), std::vector<std::string>{"C:\\Quillo\\Templates"});
    char text[64]{};
    ListView_GetItemText(list.Handle(), 1, 1, text, sizeof text);
    EXPECT_STREQ(text, "C:\\Quillo\\Templates");
    EXPECT_EQ(list.FindCaption("Outlines"), outlines);
    list.Delete(0);
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(list.Item(0), templates);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListView, SelectingByCodeFiresOnChangeAndOnSelectItem)
{
    Host form;
    TListView list(&form, &form);
    list.AddColumn("Name", 100);
    TListItem* first = list.AddItem("first");
    TListItem* second = list.AddItem("second");
    std::vector<std::string> events;
    list.OnSelectItem = [&](TListItem* item, bool selected) {
        events.push_back((selected ? "select " : "deselect ") + item->Caption());
    };
    int changes = 0;
    list.OnChange = [&](TListItem*) { ++changes; };
    list.SetSelected(first);
    list.SetSelected(second);
    EXPECT_EQ(list.Selected(), second);
    EXPECT_EQ(list.ItemIndex(), 1);
    EXPECT_TRUE(second->Selected());
    EXPECT_FALSE(first->Selected());
    EXPECT_EQ(events, (std::vector<std::string>{"select first", "deselect first", "select second"}));
    EXPECT_GE(changes, 3);
}

TEST(ListView, ASortedListKeepsItsItemsInCaptionOrder)
{
    Host form;
    TListView list(&form, &form, TViewStyle::vsList);
    list.SetSortType(TSortType::stText);
    list.AddItem("b");
    list.AddItem("B");
    list.AddItem("a");
    TListItem* renamed = list.AddItem("zed");
    renamed->SetCaption("apple");
    std::vector<std::string> order;
    for (int i = 0; i < list.Count(); ++i)
        order.push_back(list.Item(i)->Caption());
    EXPECT_EQ(order, (std::vector<std::string>{"a", "apple", "b", "B"}));
    EXPECT_EQ(list.ViewStyle(), TViewStyle::vsList);
    list.SetViewStyle(TViewStyle::vsIcon);
    EXPECT_EQ(list.ViewStyle(), TViewStyle::vsIcon);
}

TEST(ListView, TheStartOfADragIsReported)
{
    Host form;
    TListView list(&form, &form);
    list.AddColumn("Name", 100);
    list.AddItem("first");
    TListItem* second = list.AddItem("second");
    TListItem* dragged = nullptr;
    list.OnBeginDrag = [&](TListItem* item) { dragged = item; };
    NotifyListView(list, LVN_BEGINDRAG, 1);
    EXPECT_EQ(dragged, second);
}

TEST(ListView, AnAutomaticDragHandsTheMouseToTheDragManager)
{
    Host form;
    form.Show();
    TListView list(&form, &form);
    list.AddColumn("Name", 100);
    list.AddItem("template");
    list.DragModeAutomatic = true;
    NotifyListView(list, LVN_BEGINDRAG, 0);
    TDragManager& drag = TDragManager::Instance();
    EXPECT_TRUE(drag.Dragging());
    EXPECT_EQ(drag.Source(), &list);
    SendMessageA(list.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(drag.Dragging());
}

// --- Page control -----------------------------------------------------------

TEST(PageControl, OnlyTheActivePageIsVisible)
{
    Host form;
    TPageControl pages(&form, &form);
    pages.SetBounds(0, 0, 390, 260);
    TTabSheet general(&form, &pages, " General ");
    TTabSheet view(&form, &pages, " View ");
    TButton onView(&form, &view, "Add");
    std::vector<std::string> events;
    view.OnShow = [&] { events.push_back("show view"); };
    general.OnHide = [&] { events.push_back("hide general"); };
    pages.OnChange = [&] { events.push_back("change"); };

    EXPECT_EQ(pages.PageCount(), 2);
    EXPECT_EQ(pages.ActivePageIndex(), 0);
    EXPECT_TRUE(general.Visible());
    EXPECT_FALSE(view.Visible());
    EXPECT_EQ(view.PageIndex(), 1);
    EXPECT_EQ(view.Caption(), " View ");

    pages.SetActivePageIndex(1);
    EXPECT_EQ(pages.ActivePage(), &view);
    EXPECT_TRUE(view.Visible());
    EXPECT_FALSE(general.Visible());
    EXPECT_EQ(SendMessageA(pages.Handle(), TCM_GETCURSEL, 0, 0), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"hide general", "show view"}));

    // The sheet fills the tab control's display area.
    RECT display = pages.ClientRect();
    SendMessageA(pages.Handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    EXPECT_EQ(view.Left(), display.left);
    EXPECT_EQ(view.Width(), display.right - display.left);
}

TEST(PageControl, TheUsersChoiceFiresOnChangingAndOnChange)
{
    Host form;
    TPageControl pages(&form, &form);
    pages.SetBounds(0, 0, 390, 260);
    TTabSheet first(&form, &pages, "First");
    TTabSheet second(&form, &pages, "Second");
    std::vector<std::string> events;
    bool allow = false;
    pages.OnChanging = [&](bool& allowChange) {
        events.push_back("changing");
        allowChange = allow;
    };
    pages.OnChange = [&] { events.push_back("change"); };
    pages.SelectNextPage();
    EXPECT_EQ(pages.ActivePageIndex(), 0);
    allow = true;
    pages.SelectNextPage();
    EXPECT_EQ(pages.ActivePageIndex(), 1);
    EXPECT_EQ(events, (std::vector<std::string>{"changing", "changing", "change"}));

    // The control's own notification after a click on a tab.
    events.clear();
    SendMessageA(pages.Handle(), TCM_SETCURSEL, 0, 0);
    NMHDR notice{pages.Handle(), 0, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageA(form.Handle(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
    EXPECT_EQ(pages.ActivePage(), &first);
    EXPECT_TRUE(first.Visible());
    EXPECT_EQ(events, std::vector<std::string>{"change"});
}

TEST(PageControl, ControlsOnPagesGetTheFormsFontAndTabWalksIntoThePage)
{
    Host form;
    TPageControl pages(&form, &form);
    pages.SetBounds(0, 0, 390, 260);
    TTabSheet sheet(&form, &pages, "Sheet");
    TEdit edit(&form, &sheet);
    edit.SetBounds(10, 10, 100, 22);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(edit.Handle(), WM_GETFONT, 0, 0)), TForm::DefaultFont());
    form.Show();
    EXPECT_EQ(GetFocus(), edit.Handle());
}

// --- Progress bar, spin edit, panel, image ----------------------------------

TEST(ProgressBar, RangeAndPosition)
{
    Host form;
    TProgressBar bar(&form, &form);
    EXPECT_EQ(bar.Min(), 0);
    EXPECT_EQ(bar.Max(), 100);
    bar.SetMax(250);
    bar.SetPosition(120);
    bar.StepBy(5);
    EXPECT_EQ(bar.Max(), 250);
    EXPECT_EQ(bar.Position(), 125);
}

TEST(SpinEdit, TheValueStaysInItsRangeAndEveryChangeFiresOnChange)
{
    Host form;
    TSpinEdit minutes(&form, &form);
    minutes.SetBounds(10, 10, 60, 22);
    minutes.SetMinValue(1);
    minutes.SetMaxValue(120);
    int changes = 0;
    minutes.OnChange = [&] { ++changes; };
    minutes.SetValue(10);
    EXPECT_EQ(minutes.Value(), 10);
    EXPECT_EQ(minutes.Text(), "10");
    EXPECT_EQ(changes, 1);
    minutes.SetValue(500);
    EXPECT_EQ(minutes.Value(), 120);
    minutes.SetText("abc");
    EXPECT_EQ(minutes.Value(), 1);
    EXPECT_EQ(changes, 3);
}

TEST(SpinEdit, TheArrowsAndTheKeysStepTheValue)
{
    Host form;
    form.Show();
    TSpinEdit minutes(&form, &form);
    minutes.SetBounds(10, 10, 60, 22);
    minutes.SetMinValue(1);
    minutes.SetMaxValue(120);
    minutes.SetValue(10);
    int changes = 0;
    minutes.OnChange = [&] { ++changes; };
    const HWND arrows = minutes.UpDownHandle();
    RECT bounds{};
    GetClientRect(arrows, &bounds);
    EXPECT_GT(bounds.right, 0);
    // A click on the upper half, then on the lower half twice.
    SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bounds.right / 2, 1));
    SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(bounds.right / 2, 1));
    EXPECT_EQ(minutes.Value(), 11);
    for (int i = 0; i < 2; ++i) {
        SendMessageA(arrows, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(bounds.right / 2, bounds.bottom - 2));
        SendMessageA(arrows, WM_LBUTTONUP, 0, MAKELPARAM(bounds.right / 2, bounds.bottom - 2));
    }
    EXPECT_EQ(minutes.Value(), 9);
    SendMessageA(minutes.Handle(), WM_KEYDOWN, VK_UP, 1);
    EXPECT_EQ(minutes.Value(), 10);
    EXPECT_EQ(changes, 4);
    // The arrows sit inside the edit's right end.
    EXPECT_EQ(GetParent(arrows), minutes.Handle());
}

TEST(Panel, BevelsLieOutsideTheClientArea)
{
    Host form;
    TPanel panel(&form, &form);
    panel.SetBounds(10, 10, 100, 50);
    EXPECT_EQ(panel.ClientRect().right, 100);
    panel.SetBevelOuter(TBevelCut::bvLowered);
    panel.SetBevelInner(TBevelCut::bvLowered);
    EXPECT_EQ(panel.ClientRect().right, 96);
    EXPECT_EQ(panel.ClientRect().bottom, 46);
    panel.SetCaption("Verdana");
    EXPECT_EQ(panel.Caption(), "Verdana");
    form.Show();
    panel.Update();
}

namespace {
// A 32 x 32 icon, red on its left half and transparent on its right half.
class HalfRedIcon {
public:
    HalfRedIcon()
    {
        std::vector<DWORD> colour(32 * 32, 0);
        std::vector<BYTE> mask(32 * 4, 0);
        for (int row = 0; row < 32; ++row) {
            for (int column = 0; column < 16; ++column)
                colour[row * 32 + column] = 0x00FF0000; // red, as the bitmap's bytes hold it
            mask[row * 4 + 2] = 0xFF;
            mask[row * 4 + 3] = 0xFF;
        }
        const GdiObject<HBITMAP> colourBits(CreateBitmap(32, 32, 1, 32, colour.data()));
        const GdiObject<HBITMAP> maskBits(CreateBitmap(32, 32, 1, 1, mask.data()));
        ICONINFO info{TRUE, 0, 0, maskBits.Get(), colourBits.Get()};
        icon_ = CreateIconIndirect(&info);
    }
    ~HalfRedIcon() { DestroyIcon(icon_); }
    HalfRedIcon(const HalfRedIcon&) = delete;
    HalfRedIcon& operator=(const HalfRedIcon&) = delete;
    HICON Get() const { return icon_; }

private:
    HICON icon_ = nullptr;
};

COLORREF PixelOf(const TControl& control, int x, int y)
{
    RedrawWindow(control.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    HDC dc = GetDC(control.Handle());
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(control.Handle(), dc);
    return pixel;
}
} // namespace

TEST(Image, DrawsAnIconOverItsParentsBackground)
{
    Host form;
    TImage image(&form, &form);
    image.SetBounds(10, 10, 64, 64);
    const HalfRedIcon icon;
    image.SetIcon(icon.Get());
    form.Show();
    const COLORREF background = PixelOf(form, 200, 200);
    const COLORREF red = RGB(255, 0, 0);
    ASSERT_NE(background, red);
    struct Case {
        const char* name;
        bool center;
        bool stretch;
        // Points across the middle row: left of the picture, in its red half,
        // in its transparent half.
        int outside, inRed, inClear;
    };
    const Case cases[] = {
        {"at the top left", false, false, 40, 8, 24},
        {"centred", true, false, 8, 24, 40},
        {"stretched", false, true, -1, 16, 48},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        image.SetCenter(c.center);
        image.SetStretch(c.stretch);
        if (c.outside >= 0) {
            EXPECT_EQ(PixelOf(image, c.outside, 20), background);
        }
        EXPECT_EQ(PixelOf(image, c.inRed, 20), red);
        EXPECT_EQ(PixelOf(image, c.inClear, 20), background);
    }
    image.Clear();
    EXPECT_EQ(PixelOf(image, 16, 16), background);
}

#include "StdCtrls.h"

#include "Exceptions.h"

#include <algorithm>
#include <utility>

namespace {
// Push buttons get ids of their own so that the dialog manager can name the
// default button (DM_GETDEFID). The range stays clear of IDOK..IDCONTINUE
// and of the menu command ids.
int NextButtonId()
{
    constexpr int first = 0x100;
    constexpr int last = 0x3E7;
    static int next = first;
    const int id = next;
    next = next == last ? first : next + 1;
    return id;
}

// What the control tells its parent when the user acts on it.
void NotifyParent(const TControl& control, WORD code)
{
    const HWND window = control.Handle();
    SendMessageA(GetParent(window), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window), code),
                 reinterpret_cast<LPARAM>(window));
}

void ChangeStyle(HWND window, DWORD mask, DWORD bits)
{
    const auto style = static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE));
    const DWORD changed = (style & ~mask) | bits;
    if (changed == style)
        return;
    SetWindowLongPtrA(window, GWL_STYLE, static_cast<LONG_PTR>(changed));
    InvalidateRect(window, nullptr, TRUE);
}

bool HasStyle(HWND window, DWORD bits) { return (GetWindowLongPtrA(window, GWL_STYLE) & bits) == bits; }

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

const TListControlItems::Messages ComboMessages{CB_GETCOUNT,     CB_GETLBTEXT,    CB_GETLBTEXTLEN, CB_INSERTSTRING,
                                                CB_DELETESTRING, CB_RESETCONTENT, CB_GETITEMDATA,  CB_SETITEMDATA,
                                                CB_GETCURSEL,    CB_SETCURSEL};
const TListControlItems::Messages ListMessages{LB_GETCOUNT,     LB_GETTEXT,      LB_GETTEXTLEN,  LB_INSERTSTRING,
                                               LB_DELETESTRING, LB_RESETCONTENT, LB_GETITEMDATA, LB_SETITEMDATA,
                                               LB_GETCURSEL,    LB_SETCURSEL};
}

// --- Buttons ----------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner, TControl* parent, const std::string& caption, DWORD style)
    : TControl(owner, parent)
{
    CreateHandle("BUTTON", WS_VISIBLE | WS_TABSTOP | style, 0, caption);
    // A click lands inside the button only when it has a size.
    if (style == BS_PUSHBUTTON)
        SetBounds(0, 0, 75, 25);
    else
        SetBounds(0, 0, 97, 17);
}

void TButtonControl::Click()
{
    if (Handle() && IsWindowEnabled(Handle()))
        SendMessageA(Handle(), BM_CLICK, 0, 0);
}

TButton::TButton(TComponent* owner, TControl* parent, const std::string& caption)
    : TButtonControl(owner, parent, caption, BS_PUSHBUTTON)
{
    SetWindowLongPtrA(Handle(), GWLP_ID, NextButtonId());
}

void TButton::SetDefault(bool isDefault)
{
    default_ = isDefault;
    SendMessageA(Handle(), BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

bool TButton::HandleCommand(WORD code)
{
    if (code != BN_CLICKED)
        return false;
    if (ModalResult != mrNone) {
        if (TForm* form = ParentForm())
            form->ModalResult = ModalResult;
    }
    if (OnClick)
        OnClick();
    return true;
}

TCheckBox::TCheckBox(TComponent* owner, TControl* parent, const std::string& caption)
    : TButtonControl(owner, parent, caption, BS_AUTOCHECKBOX)
{
}

bool TCheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TCheckBox::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (OnClick)
        OnClick();
}

TRadioButton::TRadioButton(TComponent* owner, TControl* parent, const std::string& caption)
    : TButtonControl(owner, parent, caption, BS_RADIOBUTTON)
{
}

bool TRadioButton::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void TRadioButton::SetChecked(bool checked)
{
    if (checked == Checked())
        return;
    SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    if (!checked)
        return;
    // Tab enters the group at its checked button; the arrows move inside it.
    ChangeStyle(Handle(), WS_TABSTOP, WS_TABSTOP);
    if (Parent()) {
        for (TControl* sibling : Parent()->Controls()) {
            auto* radio = dynamic_cast<TRadioButton*>(sibling);
            if (radio && radio != this && radio->Handle()) {
                SendMessageA(radio->Handle(), BM_SETCHECK, BST_UNCHECKED, 0);
                ChangeStyle(radio->Handle(), WS_TABSTOP, 0);
            }
        }
    }
    if (OnClick)
        OnClick();
}

bool TRadioButton::HandleCommand(WORD code)
{
    // The button does not check itself (BS_RADIOBUTTON): clicks and code
    // take the same road, so the group and OnClick behave alike.
    if (code == BN_CLICKED)
        SetChecked(true);
    return code == BN_CLICKED || code == BN_DOUBLECLICKED;
}

// --- Label ------------------------------------------------------------------

TLabel::TLabel(TComponent* owner, TControl* parent, const std::string& caption) : TControl(owner, parent)
{
    CreateHandle("STATIC", WS_VISIBLE | SS_NOTIFY | SS_LEFTNOWORDWRAP, 0, caption);
    SetBounds(0, 0, 65, 13);
}

void TLabel::UpdateStyle()
{
    DWORD type = SS_LEFTNOWORDWRAP;
    if (alignment_ == TAlignment::taCenter)
        type = SS_CENTER;
    else if (alignment_ == TAlignment::taRightJustify)
        type = SS_RIGHT;
    else if (wordWrap_)
        type = SS_LEFT;
    ChangeStyle(Handle(), SS_TYPEMASK, type);
}

void TLabel::SetAlignment(TAlignment alignment)
{
    alignment_ = alignment;
    UpdateStyle();
}

void TLabel::SetWordWrap(bool wrap)
{
    wordWrap_ = wrap;
    UpdateStyle();
}

bool TLabel::ShowAccelChar() const { return !HasStyle(Handle(), SS_NOPREFIX); }

void TLabel::SetShowAccelChar(bool show) { ChangeStyle(Handle(), SS_NOPREFIX, show ? 0 : SS_NOPREFIX); }

void TLabel::SetPathEllipsis(bool ellipsis) { ChangeStyle(Handle(), SS_ELLIPSISMASK, ellipsis ? SS_PATHELLIPSIS : 0); }

void TLabel::SetFocusControl(TControl* control)
{
    focusControl_ = control;
    if (!control || !control->Handle() || GetParent(control->Handle()) != GetParent(Handle()))
        return;
    const HWND before = GetWindow(control->Handle(), GW_HWNDPREV);
    if (before == Handle())
        return;
    SetWindowPos(Handle(), before ? before : HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// --- Edits ------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* owner, TControl* parent, DWORD style, const std::string& text)
    : TControl(owner, parent)
{
    CreateHandle("EDIT", WS_VISIBLE | WS_TABSTOP | style, WS_EX_CLIENTEDGE, text);
    if (style & ES_MULTILINE)
        SetBounds(0, 0, 185, 89);
    else
        SetBounds(0, 0, 121, 21);
    // The edit's own default limit would cut long texts at 30,000 characters.
    SetMaxLength(0);
}

void TCustomEdit::SetMaxLength(int length)
{
    maxLength_ = std::max(length, 0);
    SendMessageA(Handle(), EM_SETLIMITTEXT, maxLength_, 0);
}

bool TCustomEdit::ReadOnly() const { return HasStyle(Handle(), ES_READONLY); }

void TCustomEdit::SetReadOnly(bool readOnly) { SendMessageA(Handle(), EM_SETREADONLY, readOnly, 0); }

int TCustomEdit::SelStart() const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int start) { SendMessageA(Handle(), EM_SETSEL, start, start); }

int TCustomEdit::SelLength() const
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int length)
{
    const int start = SelStart();
    SendMessageA(Handle(), EM_SETSEL, start, start + std::max(length, 0));
}

std::string TCustomEdit::SelText() const
{
    const std::string text = Text();
    const auto start = static_cast<size_t>(SelStart());
    return start < text.size() ? text.substr(start, static_cast<size_t>(SelLength())) : std::string();
}

void TCustomEdit::SetSelText(const std::string& text)
{
    SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomEdit::SelectAll() { SendMessageA(Handle(), EM_SETSEL, 0, -1); }

void TCustomEdit::Clear() { SetText(""); }

bool TCustomEdit::Modified() const { return SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0; }

void TCustomEdit::SetModified(bool modified) { SendMessageA(Handle(), EM_SETMODIFY, modified, 0); }

LRESULT TCustomEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Ctrl+A comes as character 1, which the system's edit box ignores.
    constexpr WPARAM CtrlA = 1;
    if (message == WM_CHAR && wParam == CtrlA) {
        SelectAll();
        return 0;
    }
    return TControl::WndProc(message, wParam, lParam);
}

bool TCustomEdit::HandleCommand(WORD code)
{
    if (code != EN_CHANGE)
        return false;
    if (OnChange)
        OnChange();
    return true;
}

TEdit::TEdit(TComponent* owner, TControl* parent, const std::string& text)
    : TCustomEdit(owner, parent, ES_AUTOHSCROLL, text)
{
}

TMemo::TMemo(TComponent* owner, TControl* parent)
    : TCustomEdit(owner, parent, ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL, "")
{
}

DWORD TMemo::MemoStyle() const
{
    DWORD style = ES_MULTILINE | ES_WANTRETURN | ES_AUTOVSCROLL;
    if (!wordWrap_)
        style |= ES_AUTOHSCROLL;
    if (scrollBars_ == TScrollStyle::ssVertical || scrollBars_ == TScrollStyle::ssBoth)
        style |= WS_VSCROLL;
    if (scrollBars_ == TScrollStyle::ssHorizontal || scrollBars_ == TScrollStyle::ssBoth)
        style |= WS_HSCROLL;
    return style;
}

std::vector<std::string> TMemo::Lines() const { return SplitLines(Text()); }

void TMemo::SetLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += "\r\n";
        text += lines[i];
    }
    SetText(text);
}

int TMemo::LineCount() const { return static_cast<int>(Lines().size()); }

void TMemo::SetWordWrap(bool wrap)
{
    if (wrap == wordWrap_)
        return;
    wordWrap_ = wrap;
    Recreate();
}

void TMemo::SetScrollBars(TScrollStyle scrollBars)
{
    if (scrollBars == scrollBars_)
        return;
    scrollBars_ = scrollBars;
    Recreate();
}

void TMemo::Recreate()
{
    const HWND old = Handle();
    if (!old)
        return;
    constexpr DWORD rebuilt = ES_AUTOHSCROLL | WS_HSCROLL | WS_VSCROLL;
    const auto style = (static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE)) & ~rebuilt) | MemoStyle();
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE));
    const std::string text = Text();
    const int left = Left();
    const int top = Top();
    const int width = Width();
    const int height = Height();
    const auto font = reinterpret_cast<HFONT>(SendMessageA(old, WM_GETFONT, 0, 0));
    const int maxLength = MaxLength();
    const bool modified = Modified();
    DWORD selStart = 0;
    DWORD selEnd = 0;
    SendMessageA(old, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
    const HWND before = GetWindow(old, GW_HWNDPREV);
    const bool focused = GetFocus() == old;
    const auto id = GetWindowLongPtrA(old, GWLP_ID);

    DestroyHandle();
    CreateHandle("EDIT", style & ~WS_CHILD, exStyle, text);
    SetWindowLongPtrA(Handle(), GWLP_ID, id);
    SetWindowPos(Handle(), before ? before : HWND_TOP, left, top, width, height, SWP_NOACTIVATE);
    SetFont(font);
    SetMaxLength(maxLength);
    SetModified(modified);
    SendMessageA(Handle(), EM_SETSEL, selStart, selEnd);
    if (focused)
        ::SetFocus(Handle());
}

// --- Item lists -------------------------------------------------------------

LRESULT TListControlItems::Send(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(control_.Handle(), message, wParam, lParam);
}

void TListControlItems::CheckIndex(int index) const
{
    if (index < 0 || index >= Count())
        IndexError(index);
}

std::string TListControlItems::Get(int index) const
{
    CheckIndex(index);
    const auto length = static_cast<int>(Send(messages_.getTextLength, index));
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    const auto copied = static_cast<int>(Send(messages_.getText, index, reinterpret_cast<LPARAM>(text.data())));
    text.resize(static_cast<size_t>(std::max(copied, 0)));
    return text;
}

void TListControlItems::Put(int index, const std::string& text)
{
    CheckIndex(index);
    void* const object = GetObject(index);
    const bool selected = Send(messages_.getSelection) == index;
    Send(messages_.remove, index);
    Send(messages_.insert, index, reinterpret_cast<LPARAM>(text.c_str()));
    PutObject(index, object);
    if (selected)
        Send(messages_.setSelection, index);
}

void* TListControlItems::GetObject(int index) const
{
    CheckIndex(index);
    return reinterpret_cast<void*>(Send(messages_.getData, index));
}

void TListControlItems::PutObject(int index, void* object)
{
    CheckIndex(index);
    Send(messages_.setData, index, reinterpret_cast<LPARAM>(object));
}

int TListControlItems::Count() const { return std::max(static_cast<int>(Send(messages_.count)), 0); }

void TListControlItems::Insert(int index, const std::string& text)
{
    if (index < 0 || index > Count())
        IndexError(index);
    if (Send(messages_.insert, index, reinterpret_cast<LPARAM>(text.c_str())) < 0)
        throw EOutOfResources("Cannot add an item to the list");
}

void TListControlItems::Delete(int index)
{
    CheckIndex(index);
    Send(messages_.remove, index);
}

void TListControlItems::Clear() { Send(messages_.reset); }

int TListControlItems::AddObject(const std::string& text, void* object)
{
    int index = Count();
    if (sorted_) {
        // After any equal items, so equal texts keep the order they came in.
        int low = 0;
        int high = index;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (CompareStrings(Get(middle), text) <= 0)
                low = middle + 1;
            else
                high = middle;
        }
        index = low;
    }
    InsertObject(index, text, object);
    return index;
}

void TListControlItems::SetSorted(bool sorted)
{
    if (sorted == sorted_)
        return;
    sorted_ = sorted;
    if (!sorted_)
        return;
    struct Entry {
        std::string text;
        void* object;
        bool selected;
    };
    const auto selection = static_cast<int>(Send(messages_.getSelection));
    std::vector<Entry> entries;
    for (int i = 0; i < Count(); ++i)
        entries.push_back({Get(i), GetObject(i), i == selection});
    std::stable_sort(entries.begin(), entries.end(),
                     [this](const Entry& a, const Entry& b) { return CompareStrings(a.text, b.text) < 0; });
    BeginUpdate();
    Clear();
    for (size_t i = 0; i < entries.size(); ++i) {
        const auto index = static_cast<int>(i);
        InsertObject(index, entries[i].text, entries[i].object);
        if (entries[i].selected)
            Send(messages_.setSelection, index);
    }
    EndUpdate();
}

void TListControlItems::Assign(const std::vector<std::string>& items)
{
    BeginUpdate();
    Clear();
    for (const std::string& item : items)
        Add(item);
    EndUpdate();
}

void TListControlItems::SetUpdateState(bool updating)
{
    if (updating) {
        redraw_.Suspend(control_.Handle());
        return;
    }
    redraw_.Resume(control_.Handle());
    InvalidateRect(control_.Handle(), nullptr, TRUE);
}

int TListControlItems::CompareStrings(const std::string& a, const std::string& b) const
{
    return lstrcmpiA(a.c_str(), b.c_str());
}

// --- Combo box --------------------------------------------------------------

TComboBox::TComboBox(TComponent* owner, TControl* parent, TComboBoxStyle style)
    : TControl(owner, parent), style_(style), items_(*this, ComboMessages)
{
    const DWORD kind = style == TComboBoxStyle::csDropDownList ? CBS_DROPDOWNLIST : CBS_DROPDOWN | CBS_AUTOHSCROLL;
    CreateHandle("COMBOBOX", WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | kind, 0);
    SetBounds(0, 0, 145, 21);
    SetDropDownCount(dropDownCount_);
}

int TComboBox::ItemIndex() const { return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0)); }

void TComboBox::SetItemIndex(int index) { SendMessageA(Handle(), CB_SETCURSEL, index, 0); }

void TComboBox::SetText(const std::string& text)
{
    if (style_ == TComboBoxStyle::csDropDown) {
        TControl::SetText(text);
        return;
    }
    for (int i = 0; i < items_.Count(); ++i) {
        if (items_.Get(i) == text) {
            SetItemIndex(i);
            return;
        }
    }
    SetItemIndex(-1);
}

void TComboBox::SetDropDownCount(int count)
{
    // The box keeps the height of its closed part; what it is given beyond
    // that becomes the height of the list it opens, and stays when later
    // bounds give less.
    dropDownCount_ = std::max(count, 1);
    const auto itemHeight = static_cast<int>(SendMessageA(Handle(), CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(Handle(), nullptr, 0, 0, Width(), Height() + itemHeight * dropDownCount_ + 2,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

bool TComboBox::DroppedDown() const { return SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != 0; }

void TComboBox::SetDroppedDown(bool dropped) { SendMessageA(Handle(), CB_SHOWDROPDOWN, dropped, 0); }

void TComboBox::UserSelect(int index)
{
    SetItemIndex(index);
    NotifyParent(*this, CBN_SELCHANGE);
}

bool TComboBox::HandleCommand(WORD code)
{
    switch (code) {
    case CBN_SETFOCUS:
        // An editable combo box gives the focus to its edit, a window the
        // framework does not know; the box itself becomes the active control.
        if (TForm* form = ParentForm())
            form->ActiveControlChanged(this);
        return true;
    case CBN_SELCHANGE: {
        if (style_ == TComboBoxStyle::csDropDown) {
            // The edit shows the chosen item only after this notification.
            const int index = ItemIndex();
            if (index >= 0)
                TControl::SetText(items_.Get(index));
        }
        if (OnClick)
            OnClick();
        if (OnSelect)
            OnSelect();
        else if (OnChange)
            OnChange();
        return true;
    }
    case CBN_EDITCHANGE:
        if (OnChange)
            OnChange();
        return true;
    default:
        return false;
    }
}

// --- List box ---------------------------------------------------------------

TListBox::TListBox(TComponent* owner, TControl* parent, bool multiSelect)
    : TControl(owner, parent), items_(*this, ListMessages), multiSelect_(multiSelect)
{
    CreateHandle("LISTBOX",
                 WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                     (multiSelect ? LBS_EXTENDEDSEL : 0),
                 WS_EX_CLIENTEDGE);
    SetBounds(0, 0, 121, 97);
}

int TListBox::ItemIndex() const
{
    if (!multiSelect_)
        return static_cast<int>(SendMessageA(Handle(), LB_GETCURSEL, 0, 0));
    const auto caret = static_cast<int>(SendMessageA(Handle(), LB_GETCARETINDEX, 0, 0));
    return caret >= 0 && Selected(caret) ? caret : -1;
}

void TListBox::SetItemIndex(int index)
{
    if (!multiSelect_) {
        SendMessageA(Handle(), LB_SETCURSEL, index, 0);
        return;
    }
    SendMessageA(Handle(), LB_SETSEL, FALSE, -1);
    if (index >= 0) {
        SendMessageA(Handle(), LB_SETSEL, TRUE, index);
        SendMessageA(Handle(), LB_SETCARETINDEX, index, FALSE);
    }
}

bool TListBox::Selected(int index) const { return SendMessageA(Handle(), LB_GETSEL, index, 0) > 0; }

void TListBox::SetSelected(int index, bool selected)
{
    if (multiSelect_)
        SendMessageA(Handle(), LB_SETSEL, selected, index);
    else if (selected)
        SetItemIndex(index);
    else if (ItemIndex() == index)
        SetItemIndex(-1);
}

int TListBox::SelCount() const
{
    if (multiSelect_)
        return std::max(static_cast<int>(SendMessageA(Handle(), LB_GETSELCOUNT, 0, 0)), 0);
    return ItemIndex() >= 0 ? 1 : 0;
}

int TListBox::ItemAt(int x, int y) const
{
    const auto result = static_cast<DWORD>(SendMessageA(Handle(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y)));
    if (HIWORD(result) != 0)
        return -1;
    const int index = LOWORD(result);
    return index < items_.Count() ? index : -1;
}

void TListBox::UserSelect(int index)
{
    SetItemIndex(index);
    NotifyParent(*this, LBN_SELCHANGE);
}

bool TListBox::HandleCommand(WORD code)
{
    if (code != LBN_SELCHANGE)
        return code == LBN_DBLCLK; // the double click already fired OnDblClick
    if (OnClick)
        OnClick();
    return true;
}

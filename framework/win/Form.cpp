#include "Form.h"

#include "Application.h"
#include "Exceptions.h"
#include "FlagScope.h"
#include "KeyboardState.h"
#include "Menus.h"
#include "OleFrame.h"
#include "PostedCalls.h"
#include "StdCtrls.h"

#include <algorithm>
#include <memory>
#include <type_traits>
#include <utility>
#include <vector>

std::function<void(TForm&)> TForm::ModalShownHook;

namespace {
const char* const FormClassName = "QuilloForm";

void RegisterFormClass()
{
    static const bool registered = [] {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.hIcon = LoadIconA(windowClass.hInstance, "MAINICON");
        windowClass.lpszClassName = FormClassName;
        return RegisterClassExA(&windowClass) != 0;
    }();
    if (!registered)
        throw EOutOfResources("Cannot register the window class");
}

struct FontDeleter {
    void operator()(HFONT font) const { DeleteObject(font); }
};
using FontHandle = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;

void ApplyBorderStyle(TFormBorderStyle border, DWORD& style, DWORD& exStyle)
{
    constexpr DWORD frameBits = WS_OVERLAPPEDWINDOW | WS_POPUP | WS_BORDER | WS_DLGFRAME;
    constexpr DWORD frameExBits = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    style &= ~frameBits;
    exStyle &= ~frameExBits;
    switch (border) {
    case TFormBorderStyle::bsSizeable:
        style |= WS_OVERLAPPEDWINDOW;
        break;
    case TFormBorderStyle::bsSingle:
        style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
        break;
    case TFormBorderStyle::bsDialog:
        style |= WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_DLGMODALFRAME;
        break;
    case TFormBorderStyle::bsToolWindow:
        style |= WS_CAPTION | WS_SYSMENU;
        exStyle |= WS_EX_TOOLWINDOW;
        break;
    case TFormBorderStyle::bsNone:
        style |= WS_POPUP;
        break;
    }
}

TFormBorderStyle BorderStyleOf(DWORD style, DWORD exStyle)
{
    if (style & WS_THICKFRAME)
        return TFormBorderStyle::bsSizeable;
    if ((style & WS_CAPTION) != WS_CAPTION)
        return TFormBorderStyle::bsNone;
    if (exStyle & WS_EX_TOOLWINDOW)
        return TFormBorderStyle::bsToolWindow;
    if (exStyle & WS_EX_DLGMODALFRAME)
        return TFormBorderStyle::bsDialog;
    return TFormBorderStyle::bsSingle;
}

bool Usable(HWND window) { return window && IsWindow(window) && IsWindowVisible(window) && IsWindowEnabled(window); }

// The first button below control, depth first in creation order, that
// matches.
template <class Match>
TButton* FindButton(const TControl& control, const Match& match)
{
    for (TControl* child : control.Controls()) {
        if (auto* button = dynamic_cast<TButton*>(child); button && match(*button))
            return button;
        if (TButton* found = FindButton(*child, match))
            return found;
    }
    return nullptr;
}

// A visible stay-on-top form owned by the window: its topmost state set
// again, which changes its place in the window order.
BOOL CALLBACK RaiseIfOwnedStayOnTop(HWND window, LPARAM owner)
{
    const auto* form = dynamic_cast<const TForm*>(TControl::FromHandle(window));
    if (form && form->FormStyle() == TFormStyle::fsStayOnTop && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner)) {
        const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
        SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, flags);
    }
    return TRUE;
}

bool Pressable(const TButton& button) { return button.Handle() && button.Visible() && button.Enabled(); }

struct ThreadWindows {
    HWND except;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectEnabledWindow(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<ThreadWindows*>(data);
    if (window != search->except && IsWindowVisible(window) && IsWindowEnabled(window))
        search->found.push_back(window);
    return TRUE;
}

}

std::vector<HWND> DisableOtherWindows(HWND except)
{
    ThreadWindows search{except, {}};
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledWindow, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found)
        EnableWindow(window, FALSE);
    return search.found;
}

TForm::TForm(TComponent* owner) : TControl(owner, nullptr) {}

TForm::TForm(const CreateParams& params, TComponent* owner) : TControl(owner, nullptr) { CreateHandle(params); }

TForm::~TForm()
{
    Destroying();
    DestroyHandle();
    if (oleFrame_) {
        oleFrame_->FormGone();
        oleFrame_->Release();
    }
}

TOleFrame& TForm::OleFrame()
{
    if (!oleFrame_) {
        oleFrame_ = new TOleFrame(*this);
        oleFrame_->AddRef();
    }
    return *oleFrame_;
}

void TForm::DestructionStarted()
{
    TControl::DestructionStarted();
    // Taking the bar away resizes the client area at once; the form raises
    // no events any more, so no handler sees it.
    if (menu_ && Handle())
        ::SetMenu(Handle(), nullptr);
    menu_ = nullptr;
    Application.FormDestroying(this);
}

HFONT TForm::DefaultFont()
{
    static const FontHandle font(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                             DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
    return font.get();
}

void TForm::CreateHandle(const CreateParams& params)
{
    RegisterFormClass();
    DWORD style = params.style;
    DWORD exStyle = params.exStyle;
    if (params.borderStyle)
        ApplyBorderStyle(*params.borderStyle, style, exStyle);
    style |= params.extraStyle;
    if (params.formStyle == TFormStyle::fsStayOnTop)
        exStyle |= WS_EX_TOPMOST;
    borderStyle_ = BorderStyleOf(style, exStyle);
    formStyle_ = params.formStyle;
    position_ = params.position;

    int width = params.width;
    int height = params.height;
    if (params.clientWidth > 0 || params.clientHeight > 0) {
        RECT frame{0, 0, params.clientWidth, params.clientHeight};
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
        if (params.clientWidth > 0)
            width = frame.right - frame.left;
        if (params.clientHeight > 0)
            height = frame.bottom - frame.top;
    }
    HWND window = CreateWindowExA(exStyle, FormClassName, params.caption.c_str(), style, params.left, params.top,
                                  width, height, params.ownerWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw EOutOfResources("Error creating window");
    AdoptHandle(window);
    font_ = DefaultFont();
    if (position_ == TPosition::poScreenCenter)
        CenterOnScreen();
}

void TForm::DoCreate()
{
    if (OnCreate)
        OnCreate();
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; AnswerFontMessage(font_, message, wParam, lParam, result))
        return result;
    if (message == WM_COMMAND) {
        if (LRESULT result = 0; HandleDialogCommand(wParam, lParam, result))
            return result;
    }
    if (LRESULT result = 0; DispatchMenuMessage(Handle(), message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_QUERYENDSESSION:
        if (IsMainForm())
            return AnswerSessionEndQuery() ? TRUE : FALSE;
        break;
    case WM_ENDSESSION:
        if (IsMainForm()) {
            EndSession(wParam != FALSE);
            return 0;
        }
        break;
    case WM_ACTIVATE: {
        if (LOWORD(wParam) == WA_INACTIVE) {
            Deactivated();
            break;
        }
        // Wine may report an activation twice; the second must not move the
        // focus (it may sit in a label editor) nor fire OnActivate again.
        if (active_)
            return 0;
        const bool focused = HIWORD(wParam) == 0 && RestoreFocus();
        Activated();
        if (focused)
            return 0;
        break;
    }
    case DM_GETDEFID:
        return DefaultButtonId();
    case WM_NEXTDLGCTL:
        if (LOWORD(lParam)) {
            const auto target = reinterpret_cast<HWND>(wParam);
            if (!Usable(target) || !IsChild(Handle(), target))
                return 0;
            ::SetFocus(target);
        } else {
            SelectNext(wParam == 0);
        }
        return 0;
    case WM_SIZE:
        if (IsMainForm()) {
            if (wParam == SIZE_MINIMIZED)
                Application.MainFormMinimized(true);
            else if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED)
                Application.MainFormMinimized(false);
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

// --- Showing and activation -------------------------------------------------

void TForm::Show()
{
    if (!Handle())
        return;
    if (!IsWindowVisible(Handle())) {
        if (!shownOnce_ && position_ == TPosition::poScreenCenter)
            CenterOnScreen();
        shownOnce_ = true;
        if (OnShow)
            OnShow();
    }
    Application.AddModelessWindow(Handle());
    const TFlagScope showing(selectFocusedText_, !IsWindowVisible(Handle()));
    const TWindowState state = pendingState_.value_or(TWindowState::wsNormal);
    const bool minimized = pendingState_ == TWindowState::wsMinimized;
    pendingState_.reset();
    ShowWindow(Handle(), state == TWindowState::wsMaximized   ? SW_SHOWMAXIMIZED
                         : state == TWindowState::wsMinimized ? SW_SHOWMINNOACTIVE
                                                              : SW_SHOW);
    if (minimized)
        return;
    SetForegroundWindow(Handle());
    if (GetActiveWindow() != Handle())
        SetActiveWindow(Handle());
    // WM_ACTIVATE normally arrived inside the calls above. Where it did not
    // (no window manager, or the window already counted as active), the
    // activation is completed here so that OnActivate has run once Show
    // returns, and runs only once.
    if (!active_ && GetActiveWindow() == Handle()) {
        RestoreFocus();
        Activated();
    }
}

void TForm::Hide()
{
    if (!Handle())
        return;
    if (modal_ && ModalResult == mrNone)
        ModalResult = mrCancel;
    DoHide();
}

void TForm::DoHide()
{
    if (!IsWindowVisible(Handle()))
        return;
    if (OnHide)
        OnHide();
    ShowWindow(Handle(), SW_HIDE);
}

void TForm::SetVisible(bool visible)
{
    if (visible)
        Show();
    else
        Hide();
}

void TForm::Activated()
{
    if (active_)
        return;
    active_ = true;
    Application.FormActivated(this);
    KeepOwnedFormsInFront();
    if (OnActivate)
        OnActivate();
}

void TForm::KeepOwnedFormsInFront()
{
    // Wine's own desktop raises a window above every other on the screen
    // when it is activated or the focus moves inside it, its owned windows
    // included, though Wine's window order still has those in front; only a
    // change of that order puts them back. Posted: the raise comes after.
    PostCall(*this, [this] { RaiseOwnedStayOnTopForms(); });
}

void TForm::RaiseOwnedStayOnTopForms()
{
    if (Handle())
        EnumThreadWindows(GetCurrentThreadId(), RaiseIfOwnedStayOnTop, reinterpret_cast<LPARAM>(Handle()));
}

void TForm::Deactivated()
{
    const HWND focus = GetFocus();
    if (focus && IsChild(Handle(), focus))
        lastFocus_ = focus;
    if (!active_)
        return;
    active_ = false;
    if (OnDeactivate)
        OnDeactivate();
}

bool TForm::RestoreFocus()
{
    const auto inForm = [this](HWND window) { return Usable(window) && IsChild(Handle(), window); };
    HWND target = nullptr;
    if (inForm(lastFocus_))
        target = lastFocus_;
    else if (activeControl_ && inForm(activeControl_->Handle()))
        target = activeControl_->Handle();
    else
        target = FirstTabStop();
    lastFocus_ = nullptr;
    if (!target)
        return false;
    ::SetFocus(target);
    // The focus may have gone on to a window inside the target (a combo
    // box's edit).
    if (const HWND focus = GetFocus();
        selectFocusedText_ && focus && (SendMessageA(focus, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL))
        SendMessageA(focus, EM_SETSEL, 0, -1);
    return true;
}

HWND TForm::FirstTabStop() const
{
    const HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (!first || !IsChild(Handle(), first) || !(GetWindowLongPtrA(first, GWL_STYLE) & WS_TABSTOP) ||
        !Usable(first))
        return nullptr;
    return first;
}

void TForm::CenterOnScreen()
{
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
    const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);
    SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// --- Focus ------------------------------------------------------------------

void TForm::SetActiveControl(TControl* control)
{
    if (control && control->Handle() && active_ && GetActiveWindow() == Handle()) {
        control->SetFocus();
        ActiveControlChanged(control);
        return;
    }
    // Recorded only; RestoreFocus puts the focus there at the next activation.
    activeControl_ = control;
    lastFocus_ = nullptr;
}

void TForm::ActiveControlChanged(TControl* control)
{
    KeepOwnedFormsInFront();
    activeControl_ = control;
    if (control == focusedControl_)
        return;
    TControl* previous = focusedControl_;
    focusedControl_ = control;
    if (previous && previous->OnExit)
        previous->OnExit();
    if (control && control->OnEnter)
        control->OnEnter();
}

void TForm::ControlDestroying(TControl* control)
{
    if (activeControl_ == control)
        activeControl_ = nullptr;
    if (focusedControl_ == control)
        focusedControl_ = nullptr;
    if (ActiveOleControl == control)
        ActiveOleControl = nullptr;
}

void TForm::SelectNext(bool forward)
{
    HWND start = nullptr;
    if (const HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) {
        // A window inside a control (a combo box's edit) counts as the control.
        start = focus;
        for (HWND parent = GetParent(start);
             parent && parent != Handle() && !(GetWindowLongPtrA(parent, GWL_EXSTYLE) & WS_EX_CONTROLPARENT);
             parent = GetParent(start))
            start = parent;
    }
    const HWND next = GetNextDlgTabItem(Handle(), start, forward ? FALSE : TRUE);
    if (!next || next == start || !IsChild(Handle(), next))
        return;
    if (SendMessageA(next, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL)
        SendMessageA(next, EM_SETSEL, 0, -1);
    ::SetFocus(next);
}

// --- Dialog keys ------------------------------------------------------------

TButton* TForm::DefaultButton() const
{
    return FindButton(*this, [](const TButton& button) { return button.Default() && Pressable(button); });
}

TButton* TForm::CancelButton() const
{
    return FindButton(*this, [](const TButton& button) { return button.Cancel() && Pressable(button); });
}

LRESULT TForm::DefaultButtonId() const
{
    // A focused push button is what Enter presses, as in a dialog.
    const TButton* button = dynamic_cast<TButton*>(FromHandle(GetFocus()));
    if (!button || button->ParentForm() != this)
        button = DefaultButton();
    if (!button)
        return 0;
    return MAKELRESULT(GetDlgCtrlID(button->Handle()), DC_HASDEFID);
}

bool TForm::IsDialogKey(MSG& message)
{
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB && !(KeyboardShiftState() & (ssCtrl | ssAlt))) {
        const HWND focus = GetFocus();
        if (focus && (SendMessageA(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) &
                      (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
            return false;
        SelectNext((KeyboardShiftState() & ssShift) == 0);
        return true;
    }
    if (message.message == WM_KEYDOWN && MoveInRadioGroup(message.wParam))
        return true;
    // Enter and Esc come back from the dialog manager as WM_COMMAND IDOK and
    // IDCANCEL; the flag tells HandleDialogCommand that they are the keys.
    const bool enterOrEscape =
        message.message == WM_KEYDOWN && (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
    const bool previous = inDialogKey_;
    inDialogKey_ = enterOrEscape;
    const bool used = IsDialogMessageA(Handle(), &message) != 0;
    inDialogKey_ = previous;
    return used;
}

bool TForm::MoveInRadioGroup(WPARAM key)
{
    // The arrows move to the next radio button of the group (the radio
    // buttons of the same parent) and check it, as in a dialog.
    const bool forward = key == VK_DOWN || key == VK_RIGHT;
    if (!forward && key != VK_UP && key != VK_LEFT)
        return false;
    auto* current = dynamic_cast<TRadioButton*>(FromHandle(GetFocus()));
    if (!current || current->ParentForm() != this || !current->Parent())
        return false;
    std::vector<TRadioButton*> group;
    for (TControl* control : current->Parent()->Controls()) {
        auto* radio = dynamic_cast<TRadioButton*>(control);
        if (radio && (radio == current || radio->CanFocus()))
            group.push_back(radio);
    }
    const auto at = std::find(group.begin(), group.end(), current) - group.begin();
    const auto count = static_cast<std::ptrdiff_t>(group.size());
    TRadioButton* next = group[static_cast<size_t>((at + (forward ? 1 : count - 1)) % count)];
    next->SetFocus();
    next->SetChecked(true);
    return true;
}

bool TForm::HandleDialogCommand(WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (!inDialogKey_ || HIWORD(wParam) != BN_CLICKED)
        return false;
    const WORD id = LOWORD(wParam);
    if (id != IDOK && id != IDCANCEL)
        return false;
    // A framework control's own click is reflected to it as usual.
    if (lParam && FromHandle(reinterpret_cast<HWND>(lParam)))
        return false;
    inDialogKey_ = false;
    if (id == IDCANCEL) {
        if (TButton* button = CancelButton())
            button->Click();
    }
    result = 0;
    return true;
}

// --- Closing ----------------------------------------------------------------

bool TForm::IsMainForm() const { return Application.MainForm() == this; }

bool TForm::CloseQuery()
{
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    return canClose;
}

TCloseAction TForm::DoClose(TCloseAction action)
{
    if (OnClose)
        OnClose(action);
    return action;
}

void TForm::Close()
{
    if (closing_ || closed_)
        return;
    if (modal_) {
        ModalResult = mrCancel;
        return;
    }
    const TFlagScope closing(closing_);
    if (!CloseQuery())
        return;
    const TCloseAction action = DoClose(IsMainForm() ? TCloseAction::caFree : TCloseAction::caHide);
    if (action == TCloseAction::caNone)
        return;
    if (IsMainForm()) {
        closed_ = true;
        Application.Terminate();
    } else if (action == TCloseAction::caMinimize) {
        ShowWindow(Handle(), SW_MINIMIZE);
    } else {
        Hide();
    }
}

bool TForm::AnswerSessionEndQuery()
{
    if (closed_)
        return true;
    // Something is waiting for the user's answer (a close's own question
    // among them): a question asked over it could not be answered first, and
    // what it was about would be lost. The session end waits for the user.
    if (closing_ || Application.InModalState() || !IsWindowEnabled(Handle()))
        return false;
    const TFlagScope closing(closing_);
    sessionEndAgreed_ = CloseQuery();
    return sessionEndAgreed_;
}

void TForm::EndSession(bool ending)
{
    const bool agreed = std::exchange(sessionEndAgreed_, false);
    // Another program refused: the run goes on as after a refused close.
    if (!ending || !agreed || closed_)
        return;
    sessionEnding_ = true;
    const TFlagScope closing(closing_);
    DoClose(TCloseAction::caFree);
    closed_ = true;
    Application.Terminate();
}

// --- Modal ------------------------------------------------------------------

TModalResult& TModalResult::operator=(int value)
{
    value_ = value;
    if (value != mrNone)
        form_.WakeModalLoop();
    return *this;
}

void TForm::WakeModalLoop()
{
    // The loop waits for a posted message; an empty one lets it look again.
    if (modal_ && Handle())
        PostMessageA(Handle(), WM_NULL, 0, 0);
}

int TForm::ShowModal()
{
    if (!Handle() || modal_ || IsWindowVisible(Handle()) || !IsWindowEnabled(Handle()))
        throw Exception("Cannot make a visible window modal");

    const HWND previousActive = GetActiveWindow();
    auto* owner = dynamic_cast<TForm*>(FromHandle(previousActive));
    // Disabling the owner may take its focus away before it is deactivated,
    // so its focus is noted now.
    if (owner) {
        if (const HWND focus = GetFocus(); focus && IsChild(owner->Handle(), focus))
            owner->lastFocus_ = focus;
    }

    // Undone on every way out, an exception from the hook included.
    struct ModalScope {
        TForm& form;
        HWND previousActive;
        std::vector<HWND> disabled;
        bool ended = false;
        void End()
        {
            if (ended)
                return;
            ended = true;
            // The other windows come back before this one hides, so that
            // activation can go straight back to where it came from.
            for (HWND window : disabled) {
                if (IsWindow(window))
                    EnableWindow(window, TRUE);
            }
            if (previousActive && IsWindow(previousActive) && IsWindowVisible(previousActive))
                SetActiveWindow(previousActive);
            form.DoHide();
            form.modal_ = false;
            Application.ModalEnded(&form);
        }
        // On the way out of an exception no second one may escape.
        ~ModalScope()
        {
            GuardedCall(
                [this] {
                    End();
                    return 0;
                },
                0);
        }
    } scope{*this, previousActive, DisableOtherWindows(Handle())};

    modal_ = true;
    ModalResult = mrNone;
    Application.ModalStarted(this);
    Show();
    if (ModalShownHook)
        ModalShownHook(*this);

    for (;;) {
        while (ModalResult == mrNone) {
            if (Application.Terminated()) {
                ModalResult = mrCancel;
                break;
            }
            Application.HandleMessage();
        }
        const TFlagScope closing(closing_);
        // A terminating program is not asked whether the dialog may close.
        if (Application.Terminated()) {
            ModalResult = mrCancel;
            DoClose(TCloseAction::caHide);
            break;
        }
        if (CloseQuery() && DoClose(TCloseAction::caHide) != TCloseAction::caNone)
            break;
        ModalResult = mrNone;
    }
    const int result = ModalResult;
    scope.End();
    // Normally the owner's activation has put its focus back already. (The
    // owner is looked up again: it may have gone while the dialog ran.)
    owner = dynamic_cast<TForm*>(FromHandle(previousActive));
    if (owner && GetActiveWindow() == owner->Handle() && !IsChild(owner->Handle(), GetFocus()))
        owner->RestoreFocus();
    return result;
}

// --- Placement --------------------------------------------------------------

void TForm::SetPosition(TPosition position)
{
    position_ = position;
    if (position_ == TPosition::poScreenCenter && Handle())
        CenterOnScreen();
}

void TForm::SetFormStyle(TFormStyle style)
{
    formStyle_ = style;
    SetWindowPos(Handle(), style == TFormStyle::fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

int TForm::ClientWidth() const { return ClientRect().right; }

int TForm::ClientHeight() const { return ClientRect().bottom; }

void TForm::SetClientWidth(int width) { SetClientSize(width, ClientHeight()); }

void TForm::SetClientHeight(int height) { SetClientSize(ClientWidth(), height); }

void TForm::SetClientSize(int width, int height)
{
    // The frame is measured rather than computed: a menu bar that wraps makes
    // it taller than AdjustWindowRectEx thinks.
    RECT window{};
    GetWindowRect(Handle(), &window);
    const RECT client = ClientRect();
    SetWindowPos(Handle(), nullptr, 0, 0, window.right - window.left + width - client.right,
                 window.bottom - window.top + height - client.bottom, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT TForm::NormalBounds() const
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    return placement.rcNormalPosition;
}

void TForm::SetNormalBounds(const RECT& bounds)
{
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    placement.rcNormalPosition = bounds;
    placement.flags = 0;
    if (!IsWindowVisible(Handle()))
        placement.showCmd = SW_HIDE;
    else if (IsIconic(Handle()))
        placement.showCmd = SW_SHOWMINNOACTIVE;
    else if (IsZoomed(Handle()))
        placement.showCmd = SW_SHOWMAXIMIZED;
    else
        placement.showCmd = SW_SHOWNOACTIVATE;
    SetWindowPlacement(Handle(), &placement);
}

TWindowState TForm::WindowState() const
{
    if (pendingState_ && !IsWindowVisible(Handle()))
        return *pendingState_;
    if (IsIconic(Handle()))
        return TWindowState::wsMinimized;
    if (IsZoomed(Handle()))
        return TWindowState::wsMaximized;
    return TWindowState::wsNormal;
}

void TForm::SetWindowState(TWindowState state)
{
    if (!IsWindowVisible(Handle())) {
        pendingState_ = state;
        return;
    }
    ShowWindow(Handle(), state == TWindowState::wsMaximized   ? SW_MAXIMIZE
                         : state == TWindowState::wsMinimized ? SW_MINIMIZE
                                                              : SW_RESTORE);
}

// --- Menus and keys ---------------------------------------------------------

void TForm::SetMenu(TMainMenu* menu)
{
    // The client area keeps its size: forms are laid out by their client size.
    const RECT client = ClientRect();
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
    if (!IsIconic(Handle()) && !IsZoomed(Handle()))
        SetClientSize(client.right, client.bottom);
}

bool TForm::PreTranslateKey(const MSG& message)
{
    if (message.message != WM_KEYDOWN && message.message != WM_SYSKEYDOWN)
        return false;
    WORD key = static_cast<WORD>(message.wParam);
    const TShiftState shift = KeyboardShiftState();
    if (KeyPreview && OnKeyDown) {
        OnKeyDown(key, shift);
        if (key == 0)
            return true;
    }
    return menu_ && menu_->IsShortCut(key, shift);
}

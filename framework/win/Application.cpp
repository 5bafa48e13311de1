#include "Application.h"

#include "Exceptions.h"
#include "Form.h"
#include "KeyboardState.h"

#include <algorithm>
#include <commctrl.h>
#include <iterator>

TApplication Application;

namespace {
// Forms held in other static objects may be freed after the application
// object; by then they must leave it alone.
bool applicationGone = false;

// The messages the keyboard and the mouse send, client and frame.
struct MessageRange {
    UINT first;
    UINT last;
};
constexpr MessageRange InputMessages[] = {
    {WM_KEYFIRST, WM_KEYLAST},
    {WM_MOUSEFIRST, WM_MOUSELAST},
    {WM_NCMOUSEMOVE, WM_NCXBUTTONDBLCLK},
};

bool IsInputMessage(UINT message)
{
    return std::any_of(std::begin(InputMessages), std::end(InputMessages),
                       [message](const MessageRange& range) { return message >= range.first && message <= range.last; });
}

void DropQueuedInput()
{
    MSG message{};
    for (const MessageRange& range : InputMessages) {
        while (PeekMessageA(&message, nullptr, range.first, range.last, PM_REMOVE)) {
        }
    }
}
}

TApplication::~TApplication()
{
    // Before the members go: a form's destructor still reports to them.
    DestroyForms();
    applicationGone = true;
}

void TApplication::Initialize()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    terminated_ = false;
}

void TApplication::SetHint(const std::string& hint)
{
    if (hint == hint_)
        return;
    hint_ = hint;
    if (OnHint)
        OnHint();
}

void TApplication::AdoptForm(std::unique_ptr<TForm> form)
{
    if (!mainForm_)
        mainForm_ = form.get();
    forms_.push_back(std::move(form));
}

std::vector<TForm*> TApplication::Forms() const
{
    std::vector<TForm*> forms;
    for (const auto& form : forms_)
        forms.push_back(form.get());
    return forms;
}

void TApplication::DestroyForms()
{
    // Newest first: later forms may refer to the main form.
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
    released_.clear();
}

void TApplication::ReleaseForm(std::unique_ptr<TForm> form)
{
    if (!form)
        return;
    form->Destroying();
    if (form->Handle())
        ShowWindow(form->Handle(), SW_HIDE);
    released_.push_back(std::move(form));
    if (handling_ == 0)
        released_.clear();
}

void TApplication::AddModelessWindow(HWND window)
{
    if (std::find(modeless_.begin(), modeless_.end(), window) == modeless_.end())
        modeless_.push_back(window);
}

void TApplication::RemoveModelessWindow(HWND window)
{
    std::erase(modeless_, window);
}

bool TApplication::DispatchDialogKey(MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd)
        return false;
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    if (auto* form = dynamic_cast<TForm*>(TControl::FromHandle(root))) {
        // The main form is no dialog: Enter, Esc and the arrows belong to its
        // controls, only Tab moves between them.
        if (form == mainForm_ && !form->Modal()) {
            if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
                (KeyboardShiftState() & (ssCtrl | ssAlt)))
                return false;
            const HWND focus = GetFocus();
            if (focus && (SendMessageA(focus, WM_GETDLGCODE, message.wParam, reinterpret_cast<LPARAM>(&message)) &
                          (DLGC_WANTTAB | DLGC_WANTALLKEYS)))
                return false;
            form->SelectNext((KeyboardShiftState() & ssShift) == 0);
            return true;
        }
        const bool modeless = std::find(modeless_.begin(), modeless_.end(), root) != modeless_.end();
        return (form->Modal() || modeless) && form->IsDialogKey(message);
    }
    for (HWND window : modeless_) {
        if (IsWindow(window) && IsDialogMessageA(window, &message))
            return true;
    }
    return false;
}

bool TApplication::ProcessMessage(MSG& message)
{
    if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        return false;
    if (message.message == WM_QUIT) {
        terminated_ = true;
        return true;
    }
    if (IsHeldInput(message))
        return true;
    ++handling_;
    // A shortcut's handler runs from here rather than from a window
    // procedure; its error is shown like any other and the loop goes on.
    const bool used = GuardedCall([&] { return PreTranslateKey(message) || DispatchDialogKey(message); }, true);
    if (!used) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    if (--handling_ == 0)
        released_.clear();
    return true;
}

bool TApplication::IsHeldInput(const MSG& message) const
{
    if (inputHolds_ == 0 || !IsInputMessage(message.message) || !message.hwnd)
        return false;
    return !IsWindowEnabled(GetAncestor(message.hwnd, GA_ROOT));
}

void TApplication::HoldInput() { ++inputHolds_; }

void TApplication::ReleaseInput()
{
    if (inputHolds_ == 0 || --inputHolds_ > 0 || inputKept_ > 0)
        return;
    DropQueuedInput();
}

bool TApplication::PreTranslateKey(const MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd)
        return false;
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
    if (!form || !form->PreTranslateKey(message))
        return false;
    if (message.message == WM_SYSKEYDOWN && (HIWORD(message.lParam) & KF_ALTDOWN))
        NoteKeyWithAlt(message);
    return true;
}

void TApplication::NoteKeyWithAlt(const MSG& message)
{
    // Alt let go with no key pressed while it was down calls the menu bar.
    // Under Wine the default processing tells that from the key-downs it
    // sees, and a shortcut's never reaches it: it is shown one with no key,
    // which it counts as a key and does nothing else with.
    DefWindowProcA(message.hwnd, WM_SYSKEYDOWN, 0, message.lParam);
}

void TApplication::Run()
{
    while (!terminated_)
        HandleMessage();
}

void TApplication::HandleMessage()
{
    MSG message{};
    if (!ProcessMessage(message) && !terminated_)
        WaitMessage();
}

void TApplication::Terminate()
{
    if (!terminated_)
        PostQuitMessage(0);
}

void TApplication::ProcessMessages()
{
    MSG message{};
    while (!terminated_ && ProcessMessage(message)) {
    }
}

void TApplication::Minimize()
{
    if (mainForm_ && mainForm_->Handle() && !IsIconic(mainForm_->Handle()))
        ShowWindow(mainForm_->Handle(), SW_MINIMIZE);
    MainFormMinimized(true);
}

void TApplication::Restore()
{
    if (mainForm_ && mainForm_->Handle()) {
        const HWND window = mainForm_->Handle();
        if (IsIconic(window))
            ShowWindow(window, SW_RESTORE);
        else if (!IsWindowVisible(window))
            ShowWindow(window, SW_SHOW);
    }
    MainFormMinimized(false);
    BringToFront();
}

void TApplication::MainFormMinimized(bool minimized)
{
    if (minimized == minimized_)
        return;
    minimized_ = minimized;
    const auto& event = minimized ? OnMinimize : OnRestore;
    if (event)
        event();
}

void TApplication::BringToFront()
{
    TForm* form = ModalForm();
    if (!form)
        form = activeForm_ && activeForm_->Visible() ? activeForm_ : mainForm_;
    if (!form || !form->Handle() || !IsWindowVisible(form->Handle()))
        return;
    SetForegroundWindow(form->Handle());
    SetActiveWindow(form->Handle());
}

void TApplication::FormActivated(TForm* form) { activeForm_ = form; }

void TApplication::FormDestroying(TForm* form)
{
    if (applicationGone)
        return;
    if (activeForm_ == form)
        activeForm_ = nullptr;
    std::erase(modalForms_, form);
    if (form->Handle())
        RemoveModelessWindow(form->Handle());
}

void TApplication::ModalStarted(TForm* form) { modalForms_.push_back(form); }

void TApplication::ModalEnded(TForm* form) { std::erase(modalForms_, form); }

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
    ++messageBoxesShown_;
    struct Shown {
        int& count;
        ~Shown() { --count; }
    } shown{messageBoxesShown_};
    if (messageBoxHandler_)
        return messageBoxHandler_(MessageBoxRequest{text, caption, flags});
    HWND owner = GetActiveWindow();
    if (!owner && mainForm_)
        owner = mainForm_->Handle();
    return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
}

void TApplication::HandleException(const std::exception& error)
{
    if (dynamic_cast<const EAbort*>(&error))
        return;
    ShowException(error);
}

void TApplication::HandleUnknownException()
{
    ShowException(Exception("An unexpected error occurred."));
}

void TApplication::ShowException(const std::exception& error)
{
    MessageBox(error.what(), title_, MB_OK | MB_ICONSTOP);
}

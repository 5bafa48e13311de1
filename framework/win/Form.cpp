#include "Form.h"

#include "Application.h"
#include "Exceptions.h"
#include "Menus.h"

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
}

TForm::TForm(TComponent* owner) : TControl(owner, nullptr) {}

TForm::~TForm() { DestroyHandle(); }

void TForm::CreateHandle(const CreateParams& params)
{
    RegisterFormClass();
    HWND window = CreateWindowExA(params.exStyle, FormClassName, params.caption.c_str(), params.style,
                                  params.left, params.top, params.width, params.height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw EOutOfResources("Error creating window");
    AdoptHandle(window);
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (LRESULT result = 0; DispatchMenuMessage(Handle(), message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_CLOSE:
        Close();
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            if (OnDeactivate)
                OnDeactivate();
            break;
        }
        if (OnActivate)
            OnActivate();
        if (activeControl_ && activeControl_->Handle() && activeControl_->CanFocus()) {
            ::SetFocus(activeControl_->Handle());
            return 0;
        }
        break;
    default:
        break;
    }
    return TControl::WndProc(message, wParam, lParam);
}

void TForm::SetActiveControl(TControl* control)
{
    if (control && control->Handle() && GetActiveWindow() == Handle())
        control->SetFocus();
    ActiveControlChanged(control);
}

void TForm::ActiveControlChanged(TControl* control)
{
    if (control == activeControl_)
        return;
    TControl* previous = activeControl_;
    activeControl_ = control;
    if (previous && previous->OnExit)
        previous->OnExit();
    if (control && control->OnEnter)
        control->OnEnter();
}

void TForm::SetMenu(TMainMenu* menu)
{
    menu_ = menu;
    ::SetMenu(Handle(), menu ? menu->Handle() : nullptr);
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

void TForm::Show()
{
    ShowWindow(Handle(), SW_SHOW);
    SetForegroundWindow(Handle());
}

void TForm::Hide() { ShowWindow(Handle(), SW_HIDE); }

bool TForm::IsMainForm() const { return Application.MainForm() == this; }

void TForm::Close()
{
    if (closing_ || closed_)
        return;
    closing_ = true;
    struct ClosingFlag {
        bool& flag;
        ~ClosingFlag() { flag = false; }
    } resetClosing{closing_};
    bool canClose = true;
    if (OnCloseQuery)
        OnCloseQuery(canClose);
    if (!canClose)
        return;
    TCloseAction action = IsMainForm() ? TCloseAction::caFree : TCloseAction::caHide;
    if (OnClose)
        OnClose(action);
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

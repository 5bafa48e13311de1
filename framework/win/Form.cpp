#include "Form.h"

#include "Application.h"
#include "Exceptions.h"

#include <vector>

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

TForm::~TForm()
{
    if (handle_) {
        SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        DestroyWindow(handle_);
    }
}

void TForm::CreateHandle(const CreateParams& params)
{
    RegisterFormClass();
    HWND window = CreateWindowExA(params.exStyle, FormClassName, params.caption.c_str(), params.style,
                                  params.left, params.top, params.width, params.height, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw EOutOfResources("Error creating window");
    handle_ = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TForm::StaticWndProc));
}

LRESULT CALLBACK TForm::StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return DefWindowProcA(window, message, wParam, lParam);
    return GuardedCall([&] { return form->WndProc(message, wParam, lParam); }, LRESULT{0});
}

LRESULT TForm::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        Close();
        return 0;
    }
    return DefaultHandler(message, wParam, lParam);
}

LRESULT TForm::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(handle_, message, wParam, lParam);
}

std::string TForm::Caption() const
{
    const int length = GetWindowTextLengthA(handle_);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    GetWindowTextA(handle_, text.data(), length + 1);
    return text.data();
}

void TForm::SetCaption(const std::string& caption) { SetWindowTextA(handle_, caption.c_str()); }

void TForm::Show()
{
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
}

void TForm::Hide() { ShowWindow(handle_, SW_HIDE); }

bool TForm::Visible() const { return IsWindowVisible(handle_) != 0; }

void TForm::Update() { UpdateWindow(handle_); }

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
    if (canClose) {
        TCloseAction action = IsMainForm() ? TCloseAction::caFree : TCloseAction::caHide;
        if (OnClose)
            OnClose(action);
        if (action != TCloseAction::caNone) {
            if (IsMainForm()) {
                closed_ = true;
                Application.Terminate();
            } else if (action == TCloseAction::caMinimize) {
                ShowWindow(handle_, SW_MINIMIZE);
            } else {
                Hide();
            }
        }
    }
}

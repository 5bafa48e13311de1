#include "Application.h"

#include "Exceptions.h"
#include "Form.h"

#include <algorithm>
#include <commctrl.h>

TApplication Application;

TApplication::~TApplication() = default;

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

void TApplication::DestroyForms()
{
    // Newest first: later forms may refer to the main form.
    while (!forms_.empty())
        forms_.pop_back();
    mainForm_ = nullptr;
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

bool TApplication::DispatchToModeless(MSG& message)
{
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
    if (PreTranslateKey(message))
        return true;
    if (!DispatchToModeless(message)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

bool TApplication::PreTranslateKey(const MSG& message)
{
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST || !message.hwnd)
        return false;
    auto* form = dynamic_cast<TForm*>(TControl::FromHandle(GetAncestor(message.hwnd, GA_ROOT)));
    return form && form->PreTranslateKey(message);
}

void TApplication::Run()
{
    MSG message{};
    while (!terminated_) {
        if (!ProcessMessage(message))
            WaitMessage();
    }
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

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags)
{
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

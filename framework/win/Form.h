#pragma once
// A top-level window with the form events the program relies on. Forms are
// built in code; they own, for name lookup, the components made on them.

#include "Control.h"

#include <windows.h>

#include <functional>
#include <string>

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TMainMenu;

class TForm : public TControl {
public:
    struct CreateParams {
        std::string caption;
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int left = CW_USEDEFAULT;
        int top = CW_USEDEFAULT;
        int width = CW_USEDEFAULT;
        int height = CW_USEDEFAULT;
    };

    explicit TForm(TComponent* owner = nullptr);
    ~TForm() override;

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    void Show();
    void Hide();

    // Asks the form to close: the close query may refuse; a main form that
    // closes ends the message loop but keeps its window.
    void Close();
    bool Closed() const { return closed_; }

    // The control that has, or last had, the focus on this form. Focus comes
    // back to it when the form is activated again.
    TControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TControl* control);
    // Called by a control of this form that received the focus.
    void ActiveControlChanged(TControl* control);

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // Sees every key pressed in the form before the focused control does.
    bool KeyPreview = false;
    // Gives the form a look at a key message before it is dispatched; true
    // when the form used it up.
    virtual bool PreTranslateKey(const MSG& message);

    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;

protected:
    using TControl::CreateHandle;
    void CreateHandle(const CreateParams& params);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool IsMainForm() const;

    TControl* activeControl_ = nullptr;
    TMainMenu* menu_ = nullptr;
    bool closing_ = false;
    bool closed_ = false;
};

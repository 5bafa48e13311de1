#pragma once
// A top-level window with the form events the program relies on. Forms are
// built in code; the window procedure turns messages into these events.

#include <windows.h>

#include <functional>
#include <string>

enum class TCloseAction { caNone, caHide, caFree, caMinimize };

class TForm {
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

    TForm() = default;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;
    virtual ~TForm();

    HWND Handle() const { return handle_; }

    std::string Caption() const;
    void SetCaption(const std::string& caption);

    void Show();
    void Hide();
    bool Visible() const;
    // Paints what is pending at once, without waiting for the message loop.
    void Update();

    // Asks the form to close: the close query may refuse; a main form that
    // closes ends the message loop but keeps its window.
    void Close();
    bool Closed() const { return closed_; }

    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;

protected:
    void CreateHandle(const CreateParams& params);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsMainForm() const;

    HWND handle_ = nullptr;
    bool closing_ = false;
    bool closed_ = false;
};

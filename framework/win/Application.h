#pragma once
// The application object: title, help file, main form, the message loop, the
// one funnel every message box goes through, and the exception display.

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TForm;

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    UINT flags = 0;
};

// Answers a message box instead of the user. Tests install one; the default
// (an empty function) shows the real box.
using MessageBoxHandler = std::function<int(const MessageBoxRequest&)>;

class TApplication {
public:
    TApplication() = default;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;
    ~TApplication();

    void Initialize();

    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title) { title_ = title; }
    // The hint of whatever is under the mouse or highlighted in a menu.
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    std::function<void()> OnHint;

    const std::string& HelpFile() const { return helpFile_; }
    void SetHelpFile(const std::string& path) { helpFile_ = path; }

    // The application owns forms made here; the first one becomes the main form.
    template <class Form, class... Args>
    Form* CreateForm(Args&&... args)
    {
        auto form = std::make_unique<Form>(std::forward<Args>(args)...);
        Form* created = form.get();
        AdoptForm(std::move(form));
        return created;
    }
    TForm* MainForm() const { return mainForm_; }
    // The forms the application owns, in the order they were made.
    std::vector<TForm*> Forms() const;

    // Runs the message loop until Terminate is called (the main form's close).
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message waiting now, then returns.
    void ProcessMessages();
    // Handles one message, waiting for one when none is there. Modal loops
    // run on it.
    void HandleMessage();

    // Long work holds the keyboard and the mouse off the program while it
    // runs (see TInputHold). Holds nest; the outermost release ends it.
    void HoldInput();
    void ReleaseInput();
    // While above zero, the outermost release leaves the queued input alone.
    void KeepQueuedInput(bool keep) { inputKept_ += keep ? 1 : -1; }

    // The main form goes to and comes back from the task bar (or the tray,
    // where OnMinimize hides it). Both events also fire when the user does it.
    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }
    std::function<void()> OnMinimize;
    std::function<void()> OnRestore;
    // Brings the program's current window (the innermost modal form, else the
    // last active form) to the front and activates it.
    void BringToFront();
    // The form last activated, or null.
    TForm* ActiveForm() const { return activeForm_; }
    // The innermost modal form, or null.
    TForm* ModalForm() const { return modalForms_.empty() ? nullptr : modalForms_.back(); }

    // Frees the forms the application owns. Called only after the end-of-run
    // handshake, because the watcher looks for the main window until then.
    void DestroyForms();
    // Frees a form that a handler further up the stack may still be running
    // in (a modeless window whose message box is open while the program
    // closes): it raises no events and is hidden at once, and is freed once
    // the message being handled is done, at once when none is.
    void ReleaseForm(std::unique_ptr<TForm> form);

    // Modeless windows whose keys (Tab, Enter, Esc) the loop hands to them.
    void AddModelessWindow(HWND window);
    void RemoveModelessWindow(HWND window);

    int MessageBox(const std::string& text, const std::string& caption, UINT flags);
    // A modal form or a message box is up: the user is in the middle of
    // answering something.
    bool InModalState() const { return !modalForms_.empty() || messageBoxesShown_ > 0; }
    void SetMessageBoxHandler(MessageBoxHandler handler) { messageBoxHandler_ = std::move(handler); }
    const MessageBoxHandler& GetMessageBoxHandler() const { return messageBoxHandler_; }

    // Shows an error that escaped an operation; the silent abort shows nothing.
    void HandleException(const std::exception& error);
    void HandleUnknownException();
    void ShowException(const std::exception& error);

private:
    friend class TForm;
    // Kept up to date by the forms.
    void FormActivated(TForm* form);
    void FormDestroying(TForm* form);
    void ModalStarted(TForm* form);
    void ModalEnded(TForm* form);
    void MainFormMinimized(bool minimized);

    void AdoptForm(std::unique_ptr<TForm> form);
    // Dialog keys of modal and modeless forms, Tab on the main form.
    bool DispatchDialogKey(MSG& message);
    bool ProcessMessage(MSG& message);
    // Key preview and shortcuts of the form the key was meant for.
    bool PreTranslateKey(const MSG& message);
    // Keyboard or mouse input for a window that the work holding the input
    // has disabled.
    bool IsHeldInput(const MSG& message) const;
    // A key-down with Alt held that the form used up: the Alt press it was
    // part of must not call the menu bar when Alt is let go.
    static void NoteKeyWithAlt(const MSG& message);

    std::string title_;
    std::string helpFile_;
    std::string hint_;
    TForm* mainForm_ = nullptr;
    std::vector<std::unique_ptr<TForm>> forms_;
    std::vector<std::unique_ptr<TForm>> released_;
    // Messages being handled, nested modal loops included.
    int handling_ = 0;
    std::vector<HWND> modeless_;
    std::vector<TForm*> modalForms_;
    int messageBoxesShown_ = 0;
    int inputHolds_ = 0;
    int inputKept_ = 0;
    TForm* activeForm_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
    MessageBoxHandler messageBoxHandler_;
};

extern TApplication Application;

// Holds the input off for as long as it lives, while a long piece of work
// disables the program's windows and lets messages through to repaint them.
// A disabled window takes no mouse input, but its focused control still gets
// the keys, and the loop would run their shortcuts: the tree, the editor and
// the commands would change the outline under the work. So the loop drops
// every key and mouse message meant for a disabled window, as under a modal
// dialog, while a window the work leaves enabled (a message box) still gets
// its own. What is still queued when the outermost hold ends came during the
// work too, and goes unhandled rather than be replayed into the outline.
class TInputHold {
public:
    TInputHold() { Application.HoldInput(); }
    ~TInputHold() { Application.ReleaseInput(); }
    TInputHold(const TInputHold&) = delete;
    TInputHold& operator=(const TInputHold&) = delete;
};

// Keeps what the person types during holds inside it for after them: for
// work that lets no message through and that the person did not ask for.
class TQueuedInputKept {
public:
    TQueuedInputKept() { Application.KeepQueuedInput(true); }
    ~TQueuedInputKept() { Application.KeepQueuedInput(false); }
    TQueuedInputKept(const TQueuedInputKept&) = delete;
    TQueuedInputKept& operator=(const TQueuedInputKept&) = delete;
};

// Runs a body that Win32 called into. A C++ exception must never unwind through
// a system frame (the process would end), so it stops here and is shown.
template <class Body, class Result>
Result GuardedCall(Body&& body, Result resultOnError)
{
    try {
        return body();
    } catch (const std::exception& error) {
        Application.HandleException(error);
    } catch (...) {
        Application.HandleUnknownException();
    }
    return resultOnError;
}

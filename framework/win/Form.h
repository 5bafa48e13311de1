#pragma once
// A top-level window with the form events the program relies on. Forms are
// built in code; they own, for name lookup, the components made on them.
//
// How a form is built: the derived form hands its window's parameters to the
// TForm constructor, which creates the window (hidden); the controls, members
// of the derived form, are then made on it; the derived constructor wires
// their events and ends with DoCreate(), which fires OnCreate while the form
// is still hidden. Whoever made the form then shows it with Show() or
// ShowModal():
//
//     TDelete::TDelete() : TForm(Params())   // Params(): caption, border...
//     {
//         Yes.ModalResult = mrYes;
//         Yes.SetDefault(true);
//         OnCreate = [this] { FormCreate(); };
//         DoCreate();
//     }
//     ...
//     TButton Yes{this, this, "Yes"};         // members, made after the window
//
// Forms that need work before their window exists call CreateHandle in their
// constructor instead, and then make their controls.
//
// Forms are made with new (std::make_unique) and freed with delete: that puts
// a form into its destroying state (Component.h) before any of its members
// goes, so nothing that happens to its window during the teardown reaches a
// handler.

#include "Control.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Disables the visible, enabled top-level windows of this thread but one, as
// a modal loop does; returns them for enabling again.
std::vector<HWND> DisableOtherWindows(HWND except);

// What a modal form returns; a button's ModalResult ends the modal loop.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
inline constexpr int mrAbort = 3;
inline constexpr int mrRetry = 4;
inline constexpr int mrIgnore = 5;
inline constexpr int mrYes = 6;
inline constexpr int mrNo = 7;

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TFormBorderStyle {
    bsSizeable,   // thick frame, caption, system menu, minimise and maximise boxes
    bsSingle,     // as sizeable but with a thin frame
    bsDialog,     // dialog frame, caption and system menu only
    bsToolWindow, // small caption, system menu, thin frame
    bsNone        // no frame at all
};
enum class TFormStyle { fsNormal, fsStayOnTop };
enum class TPosition { poDesigned, poScreenCenter };
enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

class TMainMenu;
class TButton;
class TOleFrame;
class TForm;

// A modal form's result, read and set as a number. Setting a result wakes the
// form's modal loop: a result set while a message sent from another thread
// is handled (an automation tool or screen reader pressing a button) would
// otherwise wait in the loop until some posted message arrived.
class TModalResult {
public:
    explicit TModalResult(TForm& form) : form_(form) {}
    TModalResult(const TModalResult&) = delete;
    TModalResult& operator=(const TModalResult& other) { return *this = other.value_; }
    TModalResult& operator=(int value);
    operator int() const { return value_; }

private:
    TForm& form_;
    int value_ = mrNone;
};

class TForm : public TControl {
public:
    struct CreateParams {
        std::string caption;
        // Used as given unless borderStyle is set.
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int left = CW_USEDEFAULT;
        int top = CW_USEDEFAULT;
        int width = CW_USEDEFAULT;
        int height = CW_USEDEFAULT;
        // Decides the frame bits of style and exStyle; extraStyle is added,
        // e.g. WS_MINIMIZEBOX for a dialog that can be minimised.
        std::optional<TFormBorderStyle> borderStyle{};
        DWORD extraStyle = 0;
        TFormStyle formStyle = TFormStyle::fsNormal;
        TPosition position = TPosition::poDesigned;
        // The size of the client area; when given it wins over width/height.
        int clientWidth = 0;
        int clientHeight = 0;
        // The window this one belongs to: it stays in front of its owner
        // whichever of the two is active, is hidden while the owner is
        // minimised and is destroyed with it. None: a window of its own.
        HWND ownerWindow = nullptr;
    };

    explicit TForm(TComponent* owner = nullptr);
    // Creates the window at once (see the top of this file).
    explicit TForm(const CreateParams& params, TComponent* owner = nullptr);
    ~TForm() override;

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption) { SetText(caption); }

    // Shows the form and makes it the active window. The first activation runs
    // OnActivate before Show returns.
    void Show();
    void Hide();
    void SetVisible(bool visible) override;
    // The form is the active window of this thread.
    bool Active() const { return active_; }

    // Asks the form to close: the close query may refuse; a main form that
    // closes ends the message loop but keeps its window. On a modal form it
    // ends the modal loop with mrCancel.
    void Close();
    bool Closed() const { return closed_; }
    // The user's session (log off, shut down) is ending and this main form
    // has closed for it: the system may end the process at any moment.
    bool SessionEnding() const { return sessionEnding_; }

    // Shows the form modally: the other windows of the thread are disabled
    // until ModalResult is set (by a button with a modal result, by Close, by
    // Esc or Enter through the cancel and default buttons). Returns
    // ModalResult; mrCancel when the application terminates meanwhile.
    int ShowModal();
    bool Modal() const { return modal_; }
    TModalResult ModalResult{*this};
    // Called for every modal form right after it is shown, before its loop
    // runs. Tests drive dialogs through it; empty in the program.
    static std::function<void(TForm&)> ModalShownHook;

    // The control that has, or last had, the focus on this form. Focus comes
    // back to it when the form is activated again. Setting it while the form
    // is inactive only records it; the focus goes there at the next activation.
    TControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TControl* control);
    // Called by a control of this form that received the focus.
    void ActiveControlChanged(TControl* control);
    // Called by a control of this form that is going away.
    void ControlDestroying(TControl* control);
    // Moves the focus to the next (or previous) tab stop, as Tab does.
    void SelectNext(bool forward = true);

    // The buttons Enter and Esc press on this form, or null.
    TButton* DefaultButton() const;
    TButton* CancelButton() const;
    // Gives a dialog key (Tab, Enter, Esc, arrows, mnemonics) of this form to
    // the dialog manager; true when it used the message. The loop calls it.
    bool IsDialogKey(MSG& message);

    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // The frame an embedded object active in place uses, made on first use
    // (OleFrame.h), and the control whose object is active in place.
    TOleFrame& OleFrame();
    TControl* ActiveOleControl = nullptr;

    // Sees every key pressed in the form before the focused control does.
    bool KeyPreview = false;
    // Gives the form a look at a key message before it is dispatched; true
    // when the form used it up.
    virtual bool PreTranslateKey(const MSG& message);

    TPosition Position() const { return position_; }
    // poScreenCenter centres the form now and again before it is first shown.
    void SetPosition(TPosition position);
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);

    int ClientWidth() const;
    int ClientHeight() const;
    void SetClientWidth(int width);
    void SetClientHeight(int height);
    void SetClientSize(int width, int height);

    // The font the form and the controls made on it use; by default
    // "MS Sans Serif" of height -11, made once for all forms.
    HFONT Font() const { return font_; }
    static HFONT DefaultFont();

    // The restored (normal) bounds, which is what is saved and restored for a
    // form whatever its state; in workspace coordinates (screen coordinates
    // unless a task bar lies at the top or the left).
    RECT NormalBounds() const;
    void SetNormalBounds(const RECT& bounds);
    TWindowState WindowState() const;
    // On a hidden form the state is applied by the next Show.
    void SetWindowState(TWindowState state);

    std::function<void()> OnCreate;
    std::function<void()> OnShow;
    std::function<void()> OnHide;
    std::function<void(bool& canClose)> OnCloseQuery;
    std::function<void(TCloseAction& action)> OnClose;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;

protected:
    using TControl::CreateHandle;
    void CreateHandle(const CreateParams& params);
    // Fires OnCreate; the last step of a derived form's constructor.
    void DoCreate();
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Every form's teardown starts here, before its controls are freed: the
    // menu bar goes back to its menu and the application forgets the form.
    void DestructionStarted() override;

private:
    friend class TModalResult;
    // Lets the modal loop see a result set from inside a sent message.
    void WakeModalLoop();
    bool IsMainForm() const;
    void CenterOnScreen();
    void Activated();
    void Deactivated();
    // Brings the visible stay-on-top forms this form owns in front again,
    // from the message loop.
    void KeepOwnedFormsInFront();
    void RaiseOwnedStayOnTopForms();
    // Puts the focus where it was when the form was last active; false when
    // no control of the form can take it.
    bool RestoreFocus();
    HWND FirstTabStop() const;
    bool CloseQuery();
    // The main form's part in the end of the user's session: the close query
    // answers whether it may end, and once it ends the form closes.
    bool AnswerSessionEndQuery();
    void EndSession(bool ending);
    TCloseAction DoClose(TCloseAction action);
    // Hides without touching ModalResult.
    void DoHide();
    bool MoveInRadioGroup(WPARAM key);
    bool HandleDialogCommand(WPARAM wParam, LPARAM lParam, LRESULT& result);
    LRESULT DefaultButtonId() const;

    TControl* activeControl_ = nullptr;
    // The control OnEnter last fired for; differs from activeControl_ only
    // while an active control set on an inactive form waits for activation.
    TControl* focusedControl_ = nullptr;
    // The window that had the focus when the form was deactivated; may be a
    // window the framework does not know (a label editor).
    HWND lastFocus_ = nullptr;
    TMainMenu* menu_ = nullptr;
    // Counted: objects may hold it past the form, which then lets it know.
    TOleFrame* oleFrame_ = nullptr;
    HFONT font_ = nullptr;
    TPosition position_ = TPosition::poDesigned;
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    // A state set while hidden, applied by the next Show.
    std::optional<TWindowState> pendingState_;
    bool shownOnce_ = false;
    // While the form is being shown: the text of the edit box that gets the
    // focus is selected, so that what is typed first replaces it, as in a
    // dialog. Coming back to a form that was only deactivated keeps the caret.
    bool selectFocusedText_ = false;
    bool active_ = false;
    bool modal_ = false;
    bool inDialogKey_ = false;
    bool closing_ = false;
    bool closed_ = false;
    bool sessionEndAgreed_ = false;
    bool sessionEnding_ = false;
};

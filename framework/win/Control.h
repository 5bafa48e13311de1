#pragma once
// The base of every windowed control: an HWND, its place among its parent's
// children, alignment, and the events the program handles. The window
// procedure turns raw messages into these events in one place, so handlers
// never decode WPARAM or LPARAM themselves.

#include "Component.h"
#include "KeyboardState.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TForm;
class TPopupMenu;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TControl : public TComponent {
public:
    // The control becomes a child of parent (null only for top-level forms)
    // and is owned, for name lookup, by owner.
    TControl(TComponent* owner, TControl* parent);
    ~TControl() override;

    HWND Handle() const { return handle_; }
    TControl* Parent() const { return parent_; }
    // The form this control sits on (itself for a form).
    TForm* ParentForm() const;
    const std::vector<TControl*>& Controls() const { return children_; }
    // The control object behind a window handle, or null.
    static TControl* FromHandle(HWND window);

    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;
    void SetBounds(int left, int top, int width, int height);
    void SetWidth(int width);
    void SetHeight(int height);
    RECT ClientRect() const;
    POINT ClientToScreen(POINT point) const;
    POINT ScreenToClient(POINT point) const;

    TAlign Align() const { return align_; }
    void SetAlign(TAlign align);
    // Lays out the aligned children over the client area.
    void Realign();

    bool Visible() const;
    virtual void SetVisible(bool visible);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Focused() const;
    virtual void SetFocus();
    bool CanFocus() const;

    std::string Text() const;
    void SetText(const std::string& text);
    void SetFont(HFONT font);
    void Invalidate();
    void Update();

    // The cursor shown over the control; null means the class cursor.
    HCURSOR Cursor() const { return cursor_; }
    void SetCursor(HCURSOR cursor);
    // Read when the context menu is asked for, so it may change at any time.
    TPopupMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(TPopupMenu* popup) { popupMenu_ = popup; }
    std::string Hint;
    bool ShowHint = true;

    std::function<void()> OnClick;
    std::function<void()> OnDblClick;
    std::function<void()> OnEnter;
    std::function<void()> OnExit;
    std::function<void()> OnResize;
    // Setting key to 0 consumes it.
    std::function<void(WORD& key, TShiftState shift)> OnKeyDown;
    std::function<void(WORD& key, TShiftState shift)> OnKeyUp;
    std::function<void(char& key)> OnKeyPress;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseDown;
    std::function<void(TMouseButton button, TShiftState shift, int x, int y)> OnMouseUp;
    std::function<void(TShiftState shift, int x, int y)> OnMouseMove;

protected:
    // Makes the window of a system or registered class and takes over its
    // window procedure. Called by the constructors of derived controls.
    void CreateHandle(const char* className, DWORD style, DWORD exStyle, const std::string& text = "");
    void AdoptHandle(HWND window);
    virtual LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // For a window class of the framework's own, which keeps the font it is
    // given in font: answers WM_SETFONT and WM_GETFONT into result. The font
    // is borrowed; its owner frees it.
    bool AnswerFontMessage(HFONT& font, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Notifications the parent received from this control (WM_COMMAND codes,
    // WM_NOTIFY records). Return true when handled.
    virtual bool HandleCommand(WORD code);
    virtual bool HandleNotify(NMHDR& header, LRESULT& result);
    // A context menu was asked for at a screen point ((-1, -1) from the keyboard).
    virtual bool HandleContextMenu(int screenX, int screenY);

    void DestroyHandle();
    // Children that another component owns enter the destroying state with
    // their parent, and a drag forgets the control.
    void DestructionStarted() override;
    // Puts another window in place of the control's own: the object, with its
    // handlers, children, popup menu, cursor and alignment, now answers for
    // the new window. The old one is detached (its own window procedure back,
    // out of the handle table) but not destroyed, so the caller can move the
    // focus and the z-order first. Returns the old window.
    HWND ReplaceHandle(HWND window);

private:
    static LRESULT CALLBACK StaticWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleMouse(UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleKey(UINT message, WPARAM wParam);
    LRESULT ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void AddChild(TControl* child);
    void RemoveChild(TControl* child);

    HWND handle_ = nullptr;
    WNDPROC previousProc_ = nullptr;
    TControl* parent_;
    std::vector<TControl*> children_;
    TAlign align_ = TAlign::alNone;
    HCURSOR cursor_ = nullptr;
    TPopupMenu* popupMenu_ = nullptr;
};

TShiftState ShiftStateFromMouseKeys(WPARAM keys);

// Switches a window's drawing off for a batch of changes and back on. Under
// Wine, turning redraw off clears WS_VISIBLE and turning it on sets it, so
// the window's visibility from before is kept and restored.
class TRedrawSuspension {
public:
    void Suspend(HWND window);
    void Resume(HWND window);
    // Whether the window was visible when its drawing was held back.
    bool ShownBefore() const { return shownBefore_; }

private:
    bool shownBefore_ = true;
};

// Registers, once, a plain window class for controls the system does not
// offer (panels, splitters, images); returns its name.
const char* RegisterPlainClass(const char* name, UINT style = CS_DBLCLKS, int background = COLOR_BTNFACE);

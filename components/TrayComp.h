#pragma once
// One icon in the notification area. Mouse actions on it restore the
// application, open a popup menu or fire events; while it is shown,
// minimising can hide the main window (and its taskbar button), since the
// icon is then the way back. The icon can also cycle through an image list.
//
// The shell may refuse the icon (no notification area, a restarted shell).
// That never ends the program: a refused add leaves Visible false, so a
// minimised window is never hidden with no icon to bring it back; a refused
// removal counts the icon as gone.

#include "Component.h"
#include "Timer.h"

#include <windows.h>

#include <shellapi.h>

#include <cstddef>
#include <functional>
#include <string>

class TImageList;
class TPopupMenu;

// The mouse action that restores the application or opens the popup menu.
enum TTrayCompButtonClick {
    arLeftClick,
    arLeftDblClick,
    arLeftClickUp,
    arRightClick,
    arRightDblClick,
    arRightClickUp,
    arNone,
};

// The message the shell sends to the component's window for mouse actions on
// the icon; its lParam is the mouse message.
inline constexpr UINT TrayCallbackMessage = WM_USER + 100;
// Characters of the hint that fit in the tip (the field holds a zero too).
inline constexpr std::size_t TrayTipLength = 63;
// The record size the shell is given: the original layout, which every
// shell version accepts (88 bytes in a 32-bit program, 104 in a 64-bit one).
inline constexpr DWORD TrayRecordSize = static_cast<DWORD>(offsetof(NOTIFYICONDATAA, szTip) + 64);

inline const char* const TrayAddFailedText = "Cannot Create System Shell Notification Icon";
inline const char* const TrayRemoveFailedText = "Cannot Remove System Shell Notification Icon";

// Where the component's add, modify and delete requests go. Tests install one
// to watch the requests or make them fail; an empty function calls the shell.
using TrayShellCall = std::function<BOOL(DWORD message, NOTIFYICONDATAA* data)>;
void SetTrayShellCall(TrayShellCall call);

class TTrayComp : public TComponent {
public:
    using TNotify = std::function<void(TComponent* sender)>;
    // Told when the shell refused to add or remove the icon, with one of the
    // two texts above. The component has already recovered; nothing else is
    // shown to the user unless the handler shows it.
    using TShellFailure = std::function<void(TTrayComp* sender, const std::string& text)>;

    explicit TTrayComp(TComponent* owner = nullptr);
    ~TTrayComp() override;

    // After the owner has set the properties: takes the icon at IconIndex of
    // Icons (the application's icon without Icons) and shows it.
    virtual void Loaded();

    bool Visible() const { return visible_; }
    virtual void SetVisible(bool visible);
    // The full text last set; the tip shows its first 63 characters.
    const std::string& Hint() const { return hint_; }
    virtual void SetHint(const std::string& hint);
    bool Hide() const { return hide_; }
    virtual void SetHide(bool hide);

    TPopupMenu* PopupMenu = nullptr;
    TTrayCompButtonClick RestoreOn = arLeftDblClick;
    TTrayCompButtonClick PopupMenuOn = arNone;

    TImageList* Icons = nullptr;
    int IconIndex() const { return iconIndex_; }
    virtual void SetIconIndex(int index);
    virtual unsigned GetInterval() const;
    virtual void SetInterval(unsigned interval);
    virtual bool GetAnimate() const;
    virtual void SetAnimate(bool animate);

    TNotify OnMinimize;
    TNotify OnRestore;
    TNotify OnLButtonDown;
    TNotify OnLButtonUp;
    TNotify OnLButtonDblClick;
    TNotify OnRButtonDown;
    TNotify OnRButtonUp;
    TNotify OnRButtonDblClick;
    TShellFailure OnShellFailure;

    // The hidden top-level window the shell talks to, and the icon's id.
    HWND WindowHandle() const { return window_; }
    UINT IconId() const { return record_.uID; }
    // The icon shown now.
    HICON IconHandle() const { return icon_; }
    // The record the shell was last given.
    const NOTIFYICONDATAA& Record() const { return record_; }

    // Handles a message of the hidden window and returns its result.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual void LButtonDown();
    virtual void LButtonUp();
    virtual void LButtonDblClick();
    virtual void RButtonDown();
    virtual void RButtonUp();
    virtual void RButtonDblClick();

    // Windows ends: the icon goes.
    virtual void EndSession();
    virtual void Minimize();
    virtual void Restore();
    // Gives the shell the current icon and tip.
    virtual void Update();
    // Opens PopupMenu, when set, at the mouse cursor.
    virtual void ShowMenu();
    virtual void OnAnimation();
    virtual void SetDefaultIcon();

protected:
    // The application's minimise and restore events come here.
    virtual void TrayCompMinimize();
    virtual void TrayCompRestore();
    // The icon's window and the application's events stop reaching a
    // component that is being freed.
    void DestructionStarted() override;

private:
    void UnhookApplicationEvents();
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void CreateHiddenWindow();
    void HookApplicationEvents();
    void ButtonAction(TTrayCompButtonClick action, const TNotify& event);
    // The shell call; false when it was refused.
    bool Shell(DWORD message);
    bool AddIcon();
    // Puts the main window back on the taskbar when the icon that would
    // bring it back goes away while it is hidden.
    void ShowHiddenMainWindow();
    void SetIcon(HICON icon, bool owned);
    void FreeIcon();

    bool visible_ = false;
    bool hide_ = true;
    std::string hint_;
    int iconIndex_ = 0;
    HICON icon_ = nullptr;
    bool iconOwned_ = false;
    TTimer timer_;
    HWND window_ = nullptr;
    NOTIFYICONDATAA record_{};
    UINT taskbarCreated_ = 0;
    // Set while Minimize or Restore runs, whose application call raises the
    // application event that would call them again.
    bool inMinimize_ = false;
    bool inRestore_ = false;
    bool hidMainWindow_ = false;
};

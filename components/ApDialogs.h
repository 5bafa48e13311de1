#pragma once
// The extended open and save dialogs: the system's Explorer-style file
// dialog, reached into while it is shown. Panel forms are docked around the
// system controls, the controls can be hidden and relabelled, and the
// dialog's toolbar and navigation commands become events a handler may veto.
//
// A run: Execute -> the system dialog is created -> DoShow (subclassing,
// docking, OnShow) -> the first non-client paint (final size and place) ->
// the user works -> the dialog window's WM_DESTROY (panels undocked while
// they still can be, size remembered) -> DoClose (window procedures given
// back, OnClose) -> Execute returns.
//
// Veto events get a flag that starts true; the matching past-tense event
// fires only when the step went ahead.
//
// A panel docked at the bottom, as the program's save-copy dialog has it:
//
//     Application.CreateForm<TSaveExt>();        // once, kept for the run
//     TApSaveDialog dialog(owner);
//     dialog.CustDlgParams.BottomFormName = "SaveExt";
//     dialog.Title = "Save Copy As";
//     dialog.Execute();   // the panel's OnShow and OnHide fire around the run
//
// The dialog's answers can be scripted like any file dialog's (tests'
// save-dialog handler); the panel is then never docked.

#include "DialogCaptions.h"
#include "DialogParams.h"
#include "FileDialogs.h"
#include "ListView.h"
#include "PlacesBarOptions.h"
#include "StringList.h"
#include "WindowSubclass.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

class TForm;

enum class TApDlgSelectionType { stStandard, stCustom };

// The system controls that VisibleControls shows or hides.
enum class TApOpenDlgControl {
    dcFolderCombo,
    dcFolderLabel,
    dcSelectionCtrl,
    dcOkBtn,
    dcCancelBtn,
    dcFileName,
    dcFileNameLabel,
    dcFileType,
    dcFileTypeLabel,
    dcToolBar
};
using TApOpenDlgControls = unsigned;
constexpr TApOpenDlgControls ApControlBit(TApOpenDlgControl control) { return 1u << static_cast<unsigned>(control); }
inline constexpr TApOpenDlgControls AllApOpenDlgControls = (1u << 10) - 1;

// A window message as the hook events see it; Result is what the window
// procedure returns when a handler stops the message.
struct TApMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

using TApCtrlQueryEvent = std::function<void(bool& allowProceed)>;

class TApCustomOpenDialog : public TOpenDialog {
public:
    explicit TApCustomOpenDialog(TComponent* owner = nullptr);
    ~TApCustomOpenDialog() override;

    // Shows the dialog; true when the user chose a file. The base's Title is
    // the dialog's caption, applied when the window is up (the system opens
    // it with its own caption first).
    virtual bool Execute();

    // Stores the caption and, while the dialog is up, shows it at once.
    void SetTitle(const std::string& title);

    TApDlgSelectionType SelectionType() const { return selectionType_; }
    // Applies the choice at once when the dialog is up.
    void SetSelectionType(TApDlgSelectionType type);
    // The file list's current view style.
    TViewStyle SelectionStyle() const;

    TApCustDlgParams CustDlgParams{this};
    TApOpenDlgCaptions DlgItemsCaptions;
    TApPlacesBarOptions PlacesBar;

    TApOpenDlgControls VisibleControls() const { return visibleControls_; }

    std::function<void()> OnShow;
    std::function<void()> OnClose;
    // A file or folder was selected in the list (not on a change of type).
    std::function<void()> OnSelectionChange;
    std::function<void()> OnFolderChange;
    // FilterIndex holds the new type already.
    std::function<void()> OnTypeChange;
    std::function<void(TViewStyle style, bool& allowChange)> OnSelectionStyleChanging;
    std::function<void(TViewStyle style)> OnSelectionStyleChange;
    TApCtrlQueryEvent OnFolderCreating;
    TApCtrlQueryEvent OnDesktopNavigating;
    std::function<void()> OnDesktopNavigate;
    TApCtrlQueryEvent OnUpLevelNavigating;
    std::function<void()> OnUpLevelNavigate;
    TApCtrlQueryEvent OnLastFolderNavigating;
    std::function<void()> OnLastFolderNavigate;
    // Every message of the dialog window, after the system handled it.
    std::function<void(TApMessage& message)> OnEventHook;
    // Every message of the dialog window, before anything else; clearing
    // allowDispatch stops it there.
    std::function<void(TApMessage& message, bool& allowDispatch)> OnEventHooking;
    // dlgResult starts at -1, which leaves the answer to the system.
    std::function<void(int& dlgResult, const std::string& fileName)> OnShareViolation;
    TApCtrlQueryEvent OnFilenameEntering;
    std::function<void()> OnFilenameChange;

    // --- While the dialog is up (no effect without its window) ------------

    // The system dialog window, null when none is up.
    HWND DialogWindow() const { return FDialogWnd; }
    // The current folder.
    std::string GetSelPath() const;
    // Opens the folder, when it exists, keeping the file name box as it was.
    void SetSelPath(const std::string& path);
    // The current folder's item list; it belongs to the dialog and is
    // replaced by the next call. Null without a window.
    LPCITEMIDLIST GetSelPathPidl();
    std::string GetFNameText() const;
    void SetFNameText(const std::string& text);
    // The names in the file name box (the box's text with a custom
    // selection form, else the dialog's own reading of it).
    std::string GetSelFiles() const;
    const TStrings& GetSelFilesList();
    void SetSelFiles(const std::string& text);
    void SetSelFilesList(const TStrings& names);
    // 1 clicks OK, 2 Cancel; anything else does nothing.
    void CloseDialog(int kind);
    // The file name box: the edit box, or the combo box of the dialog with
    // the system's places bar.
    HWND GetEdit() const;
    HWND GetDVHandle() const;
    HWND GetLVHandle() const;

    void SetVisibleCtrls(TApOpenDlgControls controls);
    void RefreshSelCtrl();
    void ShowStdSelectionCtrls(bool show);
    void ShowCustomSelectionCtrl(bool show);
    // The component's own places bar is wanted: visible, and not left to
    // the system (or the system cannot draw one).
    bool ShowCustomPlacesBar() const;

    // --- File list options (ApDialogListOptions.cpp) -----------------------
    // Subclasses the shell view and the file list the system made for the
    // current folder (it makes new ones for every folder).
    void RecreateHWnds();
    void RefreshListViewStyles();

protected:
    TApCustomOpenDialog(TComponent* owner, TFileDialogKind kind);

    // Runs the system dialog function with the hooked record; a test
    // replaces it to make the system fail.
    virtual BOOL CallDialogFunction(OPENFILENAMEA& record);

    virtual void DoSelectionStyleChanging(TViewStyle style, bool& allowChange);
    virtual void DoSelectionStyleChange(TViewStyle style);
    virtual void DoFolderCreating(bool& allowProceed);
    virtual void DoDesktopNavigating(bool& allowProceed);
    virtual void DoDesktopNavigate();
    virtual void DoUpLevelNavigating(bool& allowProceed);
    virtual void DoUpLevelNavigate();
    virtual void DoLastFolderNavigating(bool& allowProceed);
    virtual void DoLastFolderNavigate();
    virtual void DoHookEvent(TApMessage& message);
    virtual void DoHookQueryEvent(TApMessage& message, bool& allowDispatch);
    virtual void DoShareViolation(int& dlgResult, const std::string& fileName);
    // No event of its own; a descendant may veto typing in the name box.
    virtual void DoFilenameChanging(bool& allowProceed);
    virtual void DoFilenameEntering(bool& allowProceed);
    virtual void DoFilenameChange();

    // The steps the system dialog's notifications drive.
    virtual void DoShow();
    virtual void DoClose();
    virtual void DoFolderChange();
    virtual void DoSelectionChange();
    virtual void DoTypeChange();

    bool ShowSystemDialog(OPENFILENAMEA& record) override;

private:
    static UINT_PTR CALLBACK HookProc(HWND hook, UINT message, WPARAM wParam, LPARAM lParam);
    void HookNotify(const OFNOTIFYA& notify);
    LRESULT FRealHook(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT NewDlgProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Parts of NewDlgProc.
    void DialogDestroying();
    void DialogResized(int clientWidth, int clientHeight);
    void DialogNcPaint();
    void PushLowerControls();
    // True when the command was vetoed; navigated is set for the commands
    // whose past-tense event fires after the system acted.
    bool DialogCommand(WPARAM wParam, void (TApCustomOpenDialog::*&navigated)());
    bool CustomFormShown() const;

    TApDlgSelectionType selectionType_ = TApDlgSelectionType::stStandard;
    TApOpenDlgControls visibleControls_ = AllApOpenDlgControls;

    HWND FDialogWnd = nullptr;
    HWND hookWnd_ = nullptr;
    TApCustomOpenDialog* FPrevActive = nullptr;
    bool FFirstPaint = false;
    bool FClosing = false;
    // The lower controls were pushed clear of the file list in this show.
    bool pushedThisShow_ = false;
    // The file name events stay quiet while the component itself writes
    // the box.
    bool quietFileName_ = false;
    int FRememberedWidth = 0;
    int FRememberedHeight = 0;
    int lastClientWidth_ = 0;
    int lastClientHeight_ = 0;
    HHOOK savedKeyboardHook_ = nullptr;
    HHOOK savedCallWndHook_ = nullptr;
    TWindowSubclass hookSubclass_;
    TWindowSubclass dialogSubclass_;
    TStringList selFilesList_;
    std::vector<BYTE> pidlBuffer_;
    IShellFolder* desktopFolder_ = nullptr;

    // --- Places bar (ApDialogPlacesBar.cpp) --------------------------------
    // Builds the component's bar inside the dialog and widens it (show step).
    void BuildPlacesBar();
    // Fits the bar to the dialog (resize, first paint, controls pushed).
    void ResizePlacesBar();
    // Hides, detaches and frees the bar (the dialog window is going).
    void DestroyPlacesBar();
    // Presses the place of the folder now shown.
    void PlacesBarFollowFolder();
    // Stores the places the user edited (close step).
    void SavePlacesBar();
    int FPlacesBarWidth = 0;
    TForm* placesBarForm_ = nullptr;

    // --- File list, filter and toolbar options (ApDialogListOptions.cpp) ---
    // Flat style and the custom toolbar (show step).
    void PrepareToolBar();
    // Puts the custom toolbar back where it was (close step).
    void RestoreToolBar();
    // The thread's keyboard and call-window hooks (last show step, close).
    void InstallThreadHooks();
    void RemoveThreadHooks();
    HWND FListViewWnd = nullptr;
    HWND FShellViewWnd = nullptr;
    TWindowSubclass shellViewSubclass_;
    TWindowSubclass listViewSubclass_;
    HWND toolBarWnd_ = nullptr;
};

class TApOpenDialog : public TApCustomOpenDialog {
public:
    explicit TApOpenDialog(TComponent* owner = nullptr) : TApCustomOpenDialog(owner) {}
};

class TApCustomSaveDialog : public TApCustomOpenDialog {
public:
    explicit TApCustomSaveDialog(TComponent* owner = nullptr);

protected:
    BOOL CallDialogFunction(OPENFILENAMEA& record) override;
};

class TApSaveDialog : public TApCustomSaveDialog {
public:
    explicit TApSaveDialog(TComponent* owner = nullptr) : TApCustomSaveDialog(owner) {}
};

// The system dialog functions, given the larger record (which shows the
// system's places bar) when the system takes it and the active dialog wants
// the system's bar; otherwise the record as it is.
BOOL GetOpenFileNameWrapper(OPENFILENAMEA& record);
BOOL GetSaveFileNameWrapper(OPENFILENAMEA& record);

// The dialog whose window is up, null when none is; with the thread hooks it
// installed. A dialog run from an event of another saves them when shown and
// puts them back when closed.
inline TApCustomOpenDialog* ActiveApDialog = nullptr;
inline HHOOK KeyboardHook = nullptr;
inline HHOOK CallWndHook = nullptr;

#pragma once
// The shell's folder browser as a component: a root folder chosen by name,
// browse options by name, a folder preselected by path (UNC paths too), a
// status line shortened to fit, centring, the OK button's state, a caption
// and three events. Execute runs it modally and answers the folder chosen.

#include "Component.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>

class TControl;

enum class TRootID {
    idDesktop,
    idInternet,
    idPrograms,
    idControlPanel,
    idPrinters,
    idPersonal,
    idFavorites,
    idStartup,
    idRecent,
    idSendTo,
    idRecycleBin,
    idStartMenu,
    idDesktopDirectory,
    idDrives,
    idNetwork,
    idNetHood,
    idFonts,
    idTemplates,
    idCommonStartMenu,
    idCommonPrograms,
    idCommonStartup,
    idCommonDesktopDirectory,
    idAppData,
    idPrintHood,
    idDesktopExpanded,
};

// The shell folder identifier of a root. Outside Windows NT the four
// "Common" roots fall back to the user's own folders.
int RootFolderId(TRootID root, bool windowsNT);

using TBrowseFlags = unsigned;
inline constexpr TBrowseFlags bfDirectoriesOnly = 1u << 0;
inline constexpr TBrowseFlags bfDomainOnly = 1u << 1;
inline constexpr TBrowseFlags bfAncestors = 1u << 2;
inline constexpr TBrowseFlags bfComputers = 1u << 3;
inline constexpr TBrowseFlags bfPrinters = 1u << 4;
inline constexpr TBrowseFlags bfIncludeFiles = 1u << 5;
inline constexpr TBrowseFlags bfEditBox = 1u << 6;

// The browse-info flag bits; statusLine adds the status line's bit.
UINT BrowseInfoFlags(TBrowseFlags options, bool statusLine);

// The status control inside the browser, and the messages the browser takes.
inline constexpr int BrowseStatusControlId = 14147;

// How wide a text is drawn, in pixels.
using TTextWidth = std::function<int(const std::string& text)>;
// Shortens a status text to fit a width. A folder path gives way folder by
// folder from the front (C:\...\b\c, ...\c, c); any other text loses
// characters from its end behind "...", down to "..." alone.
std::string FitStatusText(const std::string& text, bool isFolder, int width, const TTextWidth& measure);

// The form a path is sent to the browser in: a bare drive gets its
// backslash, any other path but a drive root loses a trailing one.
std::string PathForBrowser(const std::string& path);

// A folder that exists: a drive root (A:\ to Z:\) when the drive is present,
// any other path when it names a directory exactly (no wildcards).
bool DirExists(const std::string& path);

class TBrowseDirectoryDlg : public TComponent {
public:
    explicit TBrowseDirectoryDlg(TComponent* owner = nullptr);
    ~TBrowseDirectoryDlg() override;

    std::string Version() const { return "TBrowseDirectoryDlg v1.0"; }
    void SetVersion(const std::string&) {}

    // Before Execute: the folder to preselect; after it: the folder chosen.
    const std::string& Selection() const { return selection_; }
    void SetSelection(const std::string& selection);
    // The chosen item, owned here.
    LPITEMIDLIST SelectionPIDL() const { return selectionPIDL_; }
    void SetSelectionPIDL(LPITEMIDLIST item);

    std::string Title;
    TRootID Root = TRootID::idDesktop;
    TBrowseFlags Options = 0;
    bool Center = true;
    bool ShowSelectionInStatus = false;

    const std::string& StatusText() const { return statusText_; }
    void SetStatusText(const std::string& text);
    bool FitStatusText() const { return fitStatusText_; }
    void SetFitStatusText(bool fit);
    bool EnableOKButton() const { return enableOKButton_; }
    void SetEnableOKButton(bool enable);
    // While the browser is open, its window text.
    std::string Caption() const;
    void SetCaption(const std::string& caption);

    // After Execute: the system image-list index of the chosen folder's icon.
    int ImageIndex = -1;
    // The owner window; when null, the owner if it is a window control, else
    // the application's main form.
    TControl* Parent = nullptr;
    // The chosen item's parsing name, else the browser's name for it, else
    // Selection.
    std::string DisplayName() const;
    // Decides the root column; Windows NT unless asked (Wine reports NT).
    std::function<bool()> IsWindowsNT;

    std::function<void(TComponent* sender, const std::string& newSel, LPCITEMIDLIST newSelPIDL)> OnSelChanged;
    std::function<void(TComponent* sender)> OnCreate;
    std::function<void(TComponent* sender, const std::string& path, bool& cancel)> OnValidateFailed;

    // True when a folder was chosen.
    virtual bool Execute();
    // The browser window while it is open, else null.
    HWND Window() const { return window_; }

    // What the browser's callback hands on; public so that the callback, and
    // tests, can reach them.
    virtual void DoInitialized(HWND window);
    virtual void DoSelChanged(HWND window, LPCITEMIDLIST item);
    virtual void DoValidateFailed(const std::string& text, bool& cancel);
    // The callback given to the shell.
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data);

private:
    bool RunBrowser(HWND owner, std::string& path, LPITEMIDLIST& chosen);
    HWND OwnerWindow() const;
    void SendStatusText();
    void SendSelection();
    void FreeItem(LPITEMIDLIST item) const;

    std::string selection_;
    LPITEMIDLIST selectionPIDL_ = nullptr;
    std::string statusText_;
    bool fitStatusText_ = true;
    bool enableOKButton_ = true;
    std::string caption_;
    std::string browserDisplayName_;
    IMalloc* malloc_ = nullptr;
    HWND window_ = nullptr;
};

// Answers the folder browser instead of the user while set: the handler sets
// Selection as the user's choice would and returns what Execute returns. An
// empty function shows the real browser.
using TBrowseDirectoryHandler = std::function<bool(TBrowseDirectoryDlg& dialog)>;
void SetBrowseDirectoryHandler(TBrowseDirectoryHandler handler);

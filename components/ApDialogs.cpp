#include "ApDialogs.h"

#include "FileNameList.h"
#include "Form.h"

#include <dlgs.h>

namespace {
bool SystemTakesLargeRecord()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version))
        return false;
    return SupportsLargeFileDialogRecord(version.dwPlatformId, version.dwMajorVersion, version.dwMinorVersion);
}

bool WantsSystemPlacesBar()
{
    return ActiveApDialog && ActiveApDialog->PlacesBar.Native && ActiveApDialog->PlacesBar.Visible &&
           SystemTakesLargeRecord();
}

// Hands the system the larger record when the active dialog wants the
// system's own places bar, and copies the answer back.
BOOL RunSystemDialog(OPENFILENAMEA& record, BOOL(WINAPI* function)(LPOPENFILENAMEA))
{
    if (!WantsSystemPlacesBar())
        return function(&record);
    OPENFILENAMEA large = record;
    large.lStructSize = sizeof large;
    large.pvReserved = nullptr;
    large.dwReserved = 0;
    large.FlagsEx = 0;
    const BOOL chosen = function(&large);
    const DWORD size = record.lStructSize;
    record = large;
    record.lStructSize = size;
    return chosen;
}

bool FolderExists(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string WindowText(HWND window)
{
    std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

// The answer of a CDM_ message that reports its text's length (with the
// terminator) when asked with no buffer.
std::string DialogText(HWND dialog, UINT message)
{
    const LRESULT length = SendMessageA(dialog, message, 0, 0);
    if (length <= 0)
        return {};
    std::string text(static_cast<size_t>(length) + 2, '\0');
    SendMessageA(dialog, message, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(text.find('\0'));
    return text;
}
}

BOOL GetOpenFileNameWrapper(OPENFILENAMEA& record) { return RunSystemDialog(record, GetOpenFileNameA); }

BOOL GetSaveFileNameWrapper(OPENFILENAMEA& record) { return RunSystemDialog(record, GetSaveFileNameA); }

// --- Construction -------------------------------------------------------------

TApCustomOpenDialog::TApCustomOpenDialog(TComponent* owner) : TApCustomOpenDialog(owner, TFileDialogKind::fdOpen) {}

TApCustomOpenDialog::TApCustomOpenDialog(TComponent* owner, TFileDialogKind kind) : TOpenDialog(owner, kind)
{
    if (FAILED(SHGetDesktopFolder(&desktopFolder_)))
        desktopFolder_ = nullptr;
}

TApCustomOpenDialog::~TApCustomOpenDialog()
{
    if (ActiveApDialog == this)
        ActiveApDialog = FPrevActive;
    if (desktopFolder_)
        desktopFolder_->Release();
}

TApCustomSaveDialog::TApCustomSaveDialog(TComponent* owner) : TApCustomOpenDialog(owner, TFileDialogKind::fdSave) {}

// --- Running ------------------------------------------------------------------

bool TApCustomOpenDialog::Execute() { return TOpenDialog::Execute(); }

// Every showing of the system dialog comes here, also through the base's
// Execute, so the active dialog is pushed and popped around each one.
bool TApCustomOpenDialog::ShowSystemDialog(OPENFILENAMEA& record)
{
    FFirstPaint = true;
    pushedThisShow_ = false;
    FPrevActive = ActiveApDialog;
    savedKeyboardHook_ = KeyboardHook;
    savedCallWndHook_ = CallWndHook;
    ActiveApDialog = this;
    // Put back on every return: a system dialog that fails before its window
    // exists never reaches the close step, and the chain must not keep a
    // dialog that may be freed next.
    struct ActiveRestore {
        TApCustomOpenDialog* previous;
        ~ActiveRestore() { ActiveApDialog = previous; }
    } restore{FPrevActive};

    // The record of the older layout: the system's own places bar only on
    // request (the wrappers), and the controls this component knows.
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
    record.lpfnHook = &TApCustomOpenDialog::HookProc;
    record.lCustData = reinterpret_cast<LPARAM>(this);
    // The caption is set when the window is up.
    record.lpstrTitle = nullptr;
    return CallDialogFunction(record) != FALSE;
}

BOOL TApCustomOpenDialog::CallDialogFunction(OPENFILENAMEA& record) { return GetOpenFileNameWrapper(record); }

BOOL TApCustomSaveDialog::CallDialogFunction(OPENFILENAMEA& record) { return GetSaveFileNameWrapper(record); }

bool TApCustomOpenDialog::ShowCustomPlacesBar() const
{
    return PlacesBar.Visible && (!PlacesBar.Native || !SystemTakesLargeRecord());
}

void TApCustomOpenDialog::SetTitle(const std::string& title)
{
    Title = title;
    if (!FDialogWnd)
        return;
    char caption[512];
    lstrcpynA(caption, title.c_str(), sizeof caption);
    SendMessageA(FDialogWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption));
}

// --- The steps of a run -------------------------------------------------------

void TApCustomOpenDialog::DoShow()
{
    FClosing = false;
    savedKeyboardHook_ = KeyboardHook;
    savedCallWndHook_ = CallWndHook;
    HWND dialog = GetParent(hookWnd_);
    hookSubclass_.Attach(hookWnd_, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return FRealHook(message, wParam, lParam);
    });
    dialogSubclass_.Attach(dialog, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        return NewDlgProc(message, wParam, lParam);
    });
    FDialogWnd = dialog;
    if (!Title.empty())
        SetTitle(Title);

    RECT client{};
    GetClientRect(dialog, &client);
    CustDlgParams.SetClientSize(client.right, client.bottom);
    lastClientWidth_ = client.right;
    lastClientHeight_ = client.bottom;

    RECT window{};
    GetWindowRect(dialog, &window);
    if (!(Options & ofEnableSizing) || FRememberedWidth == 0) {
        const bool ownBar = (Options & ofEnableSizing) && ShowCustomPlacesBar();
        FRememberedWidth = window.right - window.left + (ownBar ? 40 : 0);
        FRememberedHeight = window.bottom - window.top + (ownBar ? 70 : 0);
    }

    if (ShowCustomPlacesBar())
        BuildPlacesBar();
    PrepareToolBar();
    CustDlgParams.ConnectForms(dialog);

    if (HWND list = GetDlgItem(dialog, lst1)) {
        RECT bounds{};
        GetWindowRect(list, &bounds);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
        RECT listClient{};
        GetClientRect(list, &listClient);
        CustDlgParams.SetFileListRect(TDlgBounds{bounds.left, bounds.top,
                                                 listClient.right + GetSystemMetrics(SM_CXDLGFRAME),
                                                 listClient.bottom + GetSystemMetrics(SM_CYDLGFRAME)});
    }

    SetVisibleCtrls(visibleControls_);
    RefreshSelCtrl();
    DlgItemsCaptions.SetCaptions(dialog);

    InstallThreadHooks();
    ActiveApDialog = this;
    if (OnShow)
        OnShow();
}

void TApCustomOpenDialog::DoClose()
{
    RestoreToolBar();
    SavePlacesBar();

    listViewSubclass_.Detach();
    shellViewSubclass_.Detach();
    hookSubclass_.Detach();
    dialogSubclass_.Detach();
    FDialogWnd = nullptr;
    hookWnd_ = nullptr;

    RemoveThreadHooks();
    KeyboardHook = savedKeyboardHook_;
    CallWndHook = savedCallWndHook_;
    ActiveApDialog = FPrevActive;

    if (OnClose)
        OnClose();
    FListViewWnd = nullptr;
    FShellViewWnd = nullptr;
}

void TApCustomOpenDialog::DoFolderChange()
{
    RecreateHWnds();
    RefreshListViewStyles();
    if (OnFolderChange)
        OnFolderChange();
    if (ShowCustomPlacesBar())
        PlacesBarFollowFolder();
}

void TApCustomOpenDialog::DoSelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange();
}

void TApCustomOpenDialog::DoTypeChange()
{
    if (OnTypeChange)
        OnTypeChange();
}

// --- Events -------------------------------------------------------------------

void TApCustomOpenDialog::DoSelectionStyleChanging(TViewStyle style, bool& allowChange)
{
    if (OnSelectionStyleChanging)
        OnSelectionStyleChanging(style, allowChange);
}

void TApCustomOpenDialog::DoSelectionStyleChange(TViewStyle style)
{
    if (OnSelectionStyleChange)
        OnSelectionStyleChange(style);
}

void TApCustomOpenDialog::DoFolderCreating(bool& allowProceed)
{
    if (OnFolderCreating)
        OnFolderCreating(allowProceed);
}

void TApCustomOpenDialog::DoDesktopNavigating(bool& allowProceed)
{
    if (OnDesktopNavigating)
        OnDesktopNavigating(allowProceed);
}

void TApCustomOpenDialog::DoDesktopNavigate()
{
    if (OnDesktopNavigate)
        OnDesktopNavigate();
}

void TApCustomOpenDialog::DoUpLevelNavigating(bool& allowProceed)
{
    if (OnUpLevelNavigating)
        OnUpLevelNavigating(allowProceed);
}

void TApCustomOpenDialog::DoUpLevelNavigate()
{
    if (OnUpLevelNavigate)
        OnUpLevelNavigate();
}

void TApCustomOpenDialog::DoLastFolderNavigating(bool& allowProceed)
{
    if (OnLastFolderNavigating)
        OnLastFolderNavigating(allowProceed);
}

void TApCustomOpenDialog::DoLastFolderNavigate()
{
    if (OnLastFolderNavigate)
        OnLastFolderNavigate();
}

void TApCustomOpenDialog::DoHookEvent(TApMessage& message)
{
    if (OnEventHook)
        OnEventHook(message);
}

void TApCustomOpenDialog::DoHookQueryEvent(TApMessage& message, bool& allowDispatch)
{
    if (OnEventHooking)
        OnEventHooking(message, allowDispatch);
}

void TApCustomOpenDialog::DoShareViolation(int& dlgResult, const std::string& fileName)
{
    if (OnShareViolation)
        OnShareViolation(dlgResult, fileName);
}

void TApCustomOpenDialog::DoFilenameChanging(bool&) {}

void TApCustomOpenDialog::DoFilenameEntering(bool& allowProceed)
{
    if (OnFilenameEntering)
        OnFilenameEntering(allowProceed);
}

void TApCustomOpenDialog::DoFilenameChange()
{
    if (OnFilenameChange)
        OnFilenameChange();
}

// --- While the dialog is up ---------------------------------------------------

std::string TApCustomOpenDialog::GetSelPath() const
{
    return FDialogWnd ? DialogText(FDialogWnd, CDM_GETFOLDERPATH) : std::string();
}

void TApCustomOpenDialog::SetSelPath(const std::string& path)
{
    HWND edit = GetEdit();
    if (!edit || !FolderExists(path))
        return;
    HWND focused = GetFocus();
    SetFocus(edit);
    // The whole text, however long, and no file name events: the user's
    // text is back in the box when this returns, as if never touched.
    const std::string saved = GetFNameText();
    quietFileName_ = true;
    SetFNameText(path);
    SendMessageA(FDialogWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(FDialogWnd, IDOK)));
    if (FDialogWnd)
        SetFNameText(saved);
    quietFileName_ = false;
    if (IsWindow(focused))
        SetFocus(focused);
}

LPCITEMIDLIST TApCustomOpenDialog::GetSelPathPidl()
{
    if (!FDialogWnd)
        return nullptr;
    const LRESULT size = SendMessageA(FDialogWnd, CDM_GETFOLDERIDLIST, 0, 0);
    if (size <= 0)
        return nullptr;
    pidlBuffer_.assign(static_cast<size_t>(size), 0);
    SendMessageA(FDialogWnd, CDM_GETFOLDERIDLIST, pidlBuffer_.size(), reinterpret_cast<LPARAM>(pidlBuffer_.data()));
    return reinterpret_cast<LPCITEMIDLIST>(pidlBuffer_.data());
}

std::string TApCustomOpenDialog::GetFNameText() const
{
    HWND edit = GetEdit();
    return edit ? WindowText(edit) : std::string();
}

void TApCustomOpenDialog::SetFNameText(const std::string& text)
{
    if (HWND edit = GetEdit())
        SendMessageA(FDialogWnd, CDM_SETCONTROLTEXT, static_cast<WPARAM>(GetDlgCtrlID(edit)),
                     reinterpret_cast<LPARAM>(text.c_str()));
}

std::string TApCustomOpenDialog::GetSelFiles() const
{
    if (!FDialogWnd)
        return {};
    if (selectionType_ == TApDlgSelectionType::stCustom)
        return GetFNameText();
    return DialogText(FDialogWnd, CDM_GETSPEC);
}

const TStrings& TApCustomOpenDialog::GetSelFilesList()
{
    selFilesList_.Clear();
    for (const std::string& name : SplitFileNameList(GetSelFiles()))
        selFilesList_.Add(name);
    return selFilesList_;
}

void TApCustomOpenDialog::SetSelFiles(const std::string& text)
{
    selFilesList_.Clear();
    for (const std::string& name : SplitFileNameList(text))
        selFilesList_.Add(name);
    SetFNameText(text);
}

void TApCustomOpenDialog::SetSelFilesList(const TStrings& names)
{
    selFilesList_.Assign(names);
    std::vector<std::string> list;
    for (int i = 0; i < names.Count(); ++i)
        list.push_back(names[i]);
    SetFNameText(JoinFileNameList(list));
}

void TApCustomOpenDialog::CloseDialog(int kind)
{
    if (!FDialogWnd || (kind != IDOK && kind != IDCANCEL))
        return;
    // Posted: the dialog ends once the handler that asked has returned.
    PostMessageA(FDialogWnd, WM_COMMAND, MAKEWPARAM(kind, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(FDialogWnd, kind)));
}

HWND TApCustomOpenDialog::GetEdit() const
{
    if (!FDialogWnd)
        return nullptr;
    if (HWND edit = GetDlgItem(FDialogWnd, edt1))
        return edit;
    // The layout with the system's places bar has a combo box instead.
    return GetDlgItem(FDialogWnd, cmb13);
}

HWND TApCustomOpenDialog::GetDVHandle() const
{
    return FDialogWnd ? FindWindowExA(FDialogWnd, nullptr, "SHELLDLL_DefView", nullptr) : nullptr;
}

HWND TApCustomOpenDialog::GetLVHandle() const
{
    HWND view = GetDVHandle();
    return view ? FindWindowExA(view, nullptr, "SysListView32", nullptr) : nullptr;
}

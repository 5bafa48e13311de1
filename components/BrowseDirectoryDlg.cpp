#include "BrowseDirectoryDlg.h"

#include "Application.h"
#include "Control.h"
#include "Form.h"
#include "WideText.h"

#include <shellapi.h>

#include <cctype>
#include <iterator>

namespace {
struct RootIds {
    int nt;
    int other;
};

// In the order of TRootID.
const RootIds RootTable[] = {
    {0x00, 0x00}, {0x01, 0x01}, {0x02, 0x02}, {0x03, 0x03}, {0x04, 0x04}, {0x05, 0x05}, {0x06, 0x06},
    {0x07, 0x07}, {0x08, 0x08}, {0x09, 0x09}, {0x0A, 0x0A}, {0x0B, 0x0B}, {0x10, 0x10}, {0x11, 0x11},
    {0x12, 0x12}, {0x13, 0x13}, {0x14, 0x14}, {0x15, 0x15}, {0x16, 0x0B}, {0x17, 0x02}, {0x18, 0x07},
    {0x19, 0x10}, {0x1A, 0x1A}, {0x1B, 0x1B}, {0xFEFE, 0xFEFE},
};

struct FlagBits {
    TBrowseFlags flag;
    UINT bits;
};

const FlagBits FlagTable[] = {
    {bfDirectoriesOnly, 0x0001}, {bfDomainOnly, 0x0002},   {bfAncestors, 0x0008},       {bfComputers, 0x1000},
    {bfPrinters, 0x2000},        {bfIncludeFiles, 0x4000}, {bfEditBox, 0x0010 | 0x0020},
};

constexpr UINT StatusLineBit = 0x0004;

TBrowseDirectoryHandler& Handler()
{
    static TBrowseDirectoryHandler handler;
    return handler;
}

// Drives that are not ready (an empty floppy drive) must not bring up the
// system's box while a path is looked at.
class CriticalErrorsQuiet {
public:
    CriticalErrorsQuiet() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS)) {}
    ~CriticalErrorsQuiet() { SetErrorMode(previous_); }
    CriticalErrorsQuiet(const CriticalErrorsQuiet&) = delete;
    CriticalErrorsQuiet& operator=(const CriticalErrorsQuiet&) = delete;

private:
    UINT previous_;
};

// A control's device context with the control's own font in it.
class ControlTextContext {
public:
    explicit ControlTextContext(HWND control) : control_(control), dc_(GetDC(control))
    {
        const auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
        if (dc_ && font)
            previousFont_ = SelectObject(dc_, font);
    }
    ~ControlTextContext()
    {
        if (!dc_)
            return;
        if (previousFont_)
            SelectObject(dc_, previousFont_);
        ReleaseDC(control_, dc_);
    }
    ControlTextContext(const ControlTextContext&) = delete;
    ControlTextContext& operator=(const ControlTextContext&) = delete;

    int Width(const std::string& text) const
    {
        SIZE size{};
        if (!dc_ || !GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size))
            return 0;
        return size.cx;
    }

private:
    HWND control_;
    HDC dc_;
    HGDIOBJ previousFont_ = nullptr;
};

class DesktopFolder {
public:
    DesktopFolder()
    {
        if (FAILED(SHGetDesktopFolder(&folder_)))
            folder_ = nullptr;
    }
    ~DesktopFolder()
    {
        if (folder_)
            folder_->Release();
    }
    DesktopFolder(const DesktopFolder&) = delete;
    DesktopFolder& operator=(const DesktopFolder&) = delete;
    IShellFolder* operator->() const { return folder_; }
    explicit operator bool() const { return folder_ != nullptr; }

private:
    IShellFolder* folder_ = nullptr;
};

// The whole path, however long: the desktop parses it or it is no item.
LPITEMIDLIST ParsePath(const std::string& path)
{
    DesktopFolder desktop;
    if (!desktop)
        return nullptr;
    std::wstring wide = WideFromAnsi(path);
    LPITEMIDLIST item = nullptr;
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, wide.data(), nullptr, &item, nullptr)))
        return nullptr;
    return item;
}

std::string PathOfItem(LPCITEMIDLIST item)
{
    char path[MAX_PATH] = "";
    return item && SHGetPathFromIDListA(item, path) ? path : "";
}

bool SystemIsWindowsNT()
{
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT;
}

std::string FitPlainText(const std::string& text, int width, const TTextWidth& measure)
{
    std::string kept = text;
    std::string shown = text;
    while (measure(shown) > width && !kept.empty()) {
        kept.pop_back();
        shown = kept + "...";
    }
    return shown;
}

// \a\b\c\ -> \...\b\c\ -> \...\c\ -> \...\ ; ...\ -> empty.
std::string WithoutFirstFolder(std::string folders)
{
    if (folders == "\\")
        return "";
    std::string lead;
    if (!folders.empty() && folders.front() == '\\') {
        lead = "\\";
        folders.erase(0, 1);
    }
    if (folders.rfind("...\\", 0) == 0)
        folders.erase(0, 4);
    const size_t slash = folders.find('\\');
    folders = slash == std::string::npos ? "" : "...\\" + folders.substr(slash + 1);
    return lead + folders;
}

std::string FitFolderPath(const std::string& path, int width, const TTextWidth& measure)
{
    const size_t lastSlash = path.find_last_of('\\');
    const std::string name = lastSlash == std::string::npos ? path : path.substr(lastSlash + 1);
    std::string folders = lastSlash == std::string::npos ? "" : path.substr(0, lastSlash + 1);
    std::string drive;
    if (folders.size() >= 2 && folders[1] == ':') {
        drive = folders.substr(0, 2);
        folders.erase(0, 2);
    }
    std::string shown = drive + folders + name;
    while ((!drive.empty() || !folders.empty()) && measure(shown) > width) {
        if (folders == "\\...\\") {
            drive.clear();
            folders = "...\\";
        } else if (!folders.empty()) {
            folders = WithoutFirstFolder(folders);
        } else {
            drive.clear();
        }
        shown = drive + folders + name;
    }
    return shown;
}

struct ChildSearch {
    int id;
    HWND found;
};

BOOL CALLBACK MatchChildId(HWND child, LPARAM data)
{
    auto* search = reinterpret_cast<ChildSearch*>(data);
    if (GetDlgCtrlID(child) != search->id)
        return TRUE;
    search->found = child;
    return FALSE;
}

HWND FindChildById(HWND parent, int id)
{
    ChildSearch search{id, nullptr};
    EnumChildWindows(parent, MatchChildId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}
} // namespace

int RootFolderId(TRootID root, bool windowsNT)
{
    const auto index = static_cast<size_t>(root);
    if (index >= std::size(RootTable))
        return 0;
    return windowsNT ? RootTable[index].nt : RootTable[index].other;
}

UINT BrowseInfoFlags(TBrowseFlags options, bool statusLine)
{
    UINT bits = statusLine ? StatusLineBit : 0;
    for (const FlagBits& row : FlagTable) {
        if (options & row.flag)
            bits |= row.bits;
    }
    return bits;
}

std::string FitStatusText(const std::string& text, bool isFolder, int width, const TTextWidth& measure)
{
    return isFolder ? FitFolderPath(text, width, measure) : FitPlainText(text, width, measure);
}

std::string PathForBrowser(const std::string& path)
{
    if (path.size() == 2 && path[1] == ':')
        return path + "\\";
    if (path.size() > 3 && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

bool DirExists(const std::string& path)
{
    CriticalErrorsQuiet quiet;
    if (path.size() == 3 && path[1] == ':' && path[2] == '\\') {
        const char letter = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        if (letter < 'A' || letter > 'Z')
            return false;
        return (GetLogicalDrives() >> (letter - 'A')) & 1u;
    }
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    std::string folder = path;
    if (!folder.empty() && folder.back() == '\\')
        folder.pop_back();
    if (folder.empty())
        return false;
    const DWORD attributes = GetFileAttributesA(folder.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetBrowseDirectoryHandler(TBrowseDirectoryHandler handler) { Handler() = std::move(handler); }

TBrowseDirectoryDlg::TBrowseDirectoryDlg(TComponent* owner) : TComponent(owner)
{
    if (FAILED(SHGetMalloc(&malloc_)))
        malloc_ = nullptr;
}

TBrowseDirectoryDlg::~TBrowseDirectoryDlg()
{
    FreeItem(selectionPIDL_);
    if (malloc_)
        malloc_->Release();
}

void TBrowseDirectoryDlg::FreeItem(LPITEMIDLIST item) const
{
    if (!item)
        return;
    if (malloc_)
        malloc_->Free(item);
    else
        CoTaskMemFree(item);
}

void TBrowseDirectoryDlg::SetSelectionPIDL(LPITEMIDLIST item)
{
    if (item == selectionPIDL_)
        return;
    FreeItem(selectionPIDL_);
    selectionPIDL_ = item;
}

void TBrowseDirectoryDlg::SetSelection(const std::string& selection)
{
    if (selection == selection_)
        return;
    selection_ = selection;
    if (!selection_.empty() && selection_.back() != '\\' && DirExists(selection_))
        selection_ += '\\';
    if (window_)
        SendSelection();
}

void TBrowseDirectoryDlg::SetStatusText(const std::string& text)
{
    if (text == statusText_)
        return;
    statusText_ = text;
    SendStatusText();
}

void TBrowseDirectoryDlg::SetFitStatusText(bool fit)
{
    fitStatusText_ = fit;
    SendStatusText();
}

void TBrowseDirectoryDlg::SetEnableOKButton(bool enable)
{
    enableOKButton_ = enable;
    if (window_)
        SendMessageA(window_, BFFM_ENABLEOK, 0, enable ? 1 : 0);
}

std::string TBrowseDirectoryDlg::Caption() const
{
    if (!window_)
        return caption_;
    char text[257] = "";
    GetWindowTextA(window_, text, 256);
    return text;
}

void TBrowseDirectoryDlg::SetCaption(const std::string& caption)
{
    caption_ = caption;
    if (window_)
        SetWindowTextA(window_, caption.c_str());
}

std::string TBrowseDirectoryDlg::DisplayName() const
{
    std::string name;
    DesktopFolder desktop;
    STRRET result{};
    if (selectionPIDL_ && desktop && SUCCEEDED(desktop->GetDisplayNameOf(selectionPIDL_, SHGDN_FORPARSING, &result))) {
        switch (result.uType) {
        case STRRET_WSTR:
            if (result.pOleStr) {
                name = AnsiFromWide(result.pOleStr);
                CoTaskMemFree(result.pOleStr);
            }
            break;
        case STRRET_OFFSET:
            name = reinterpret_cast<const char*>(selectionPIDL_) + result.uOffset;
            break;
        case STRRET_CSTR:
            name = result.cStr;
            break;
        default:
            break;
        }
    }
    if (name.empty())
        name = browserDisplayName_;
    return name.empty() ? selection_ : name;
}

HWND TBrowseDirectoryDlg::OwnerWindow() const
{
    if (Parent)
        return Parent->Handle();
    if (const auto* control = dynamic_cast<const TControl*>(Owner()))
        return control->Handle();
    return Application.MainForm() ? Application.MainForm()->Handle() : nullptr;
}

bool TBrowseDirectoryDlg::Execute()
{
    browserDisplayName_.clear();
    std::string path;
    LPITEMIDLIST chosen = nullptr;
    if (Handler()) {
        if (Handler()(*this))
            return true;
    } else if (RunBrowser(OwnerWindow(), path, chosen)) {
        // As the browser gave it: no backslash is added here.
        selection_ = path;
        SetSelectionPIDL(chosen);
        return true;
    }
    selection_.clear();
    SetSelectionPIDL(nullptr);
    return false;
}

bool TBrowseDirectoryDlg::RunBrowser(HWND owner, std::string& path, LPITEMIDLIST& chosen)
{
    char* buffer = malloc_ ? static_cast<char*>(malloc_->Alloc(MAX_PATH)) : nullptr;
    if (!buffer)
        return false;
    buffer[0] = '\0';
    const bool windowsNT = IsWindowsNT ? IsWindowsNT() : SystemIsWindowsNT();
    LPITEMIDLIST root = nullptr;
    // A root the shell does not know leaves the item empty: the desktop.
    if (FAILED(SHGetSpecialFolderLocation(owner, RootFolderId(Root, windowsNT), &root)))
        root = nullptr;

    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = buffer;
    info.lpszTitle = Title.c_str();
    info.ulFlags = BrowseInfoFlags(Options, !statusText_.empty() || ShowSelectionInStatus);
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(this);
    info.iImage = -1;
    LPITEMIDLIST item = nullptr;
    {
        CriticalErrorsQuiet quiet;
        item = SHBrowseForFolderA(&info);
    }
    window_ = nullptr;

    bool found = false;
    if (item) {
        const std::string itemPath = PathOfItem(item);
        if (Options & bfComputers) {
            path = itemPath.empty() ? "\\\\" + std::string(buffer) : itemPath;
            found = true;
        } else {
            // An item without a file-system path ("My Computer") is no folder.
            path = itemPath;
            found = !itemPath.empty();
        }
        ImageIndex = info.iImage;
        if (ImageIndex == -1 && !path.empty()) {
            SHFILEINFOA file{};
            if (SHGetFileInfoA(path.c_str(), 0, &file, sizeof file, SHGFI_SYSICONINDEX))
                ImageIndex = file.iIcon;
        }
        if (found) {
            browserDisplayName_ = buffer;
            chosen = item;
        } else {
            FreeItem(item);
        }
    }
    FreeItem(root);
    malloc_->Free(buffer);
    return found;
}

int CALLBACK TBrowseDirectoryDlg::BrowseCallback(HWND window, UINT message, LPARAM parameter, LPARAM data)
{
    auto* self = reinterpret_cast<TBrowseDirectoryDlg*>(data);
    return GuardedCall(
        [&]() -> int {
            switch (message) {
            case BFFM_INITIALIZED:
                self->DoInitialized(window);
                return 0;
            case BFFM_SELCHANGED:
                self->DoSelChanged(window, reinterpret_cast<LPCITEMIDLIST>(parameter));
                return 0;
            case BFFM_VALIDATEFAILEDA: {
                bool cancel = false;
                const char* text = reinterpret_cast<const char*>(parameter);
                self->DoValidateFailed(text ? text : "", cancel);
                return cancel ? 0 : 1;
            }
            default:
                return 0;
            }
        },
        0);
}

void TBrowseDirectoryDlg::DoInitialized(HWND window)
{
    window_ = window;
    if (Center) {
        RECT bounds{};
        GetWindowRect(window, &bounds);
        const int left = (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2;
        const int top = (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2;
        SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOZORDER);
    }
    SendMessageA(window, BFFM_ENABLEOK, 0, enableOKButton_ ? 1 : 0);
    if (!statusText_.empty())
        SendStatusText();
    if (!selection_.empty() || selectionPIDL_)
        SendSelection();
    if (!caption_.empty())
        SetWindowTextA(window, caption_.c_str());
    if (OnCreate)
        OnCreate(this);
}

void TBrowseDirectoryDlg::DoSelChanged(HWND, LPCITEMIDLIST item)
{
    if (!ShowSelectionInStatus && !OnSelChanged)
        return;
    const std::string path = PathOfItem(item);
    if (ShowSelectionInStatus)
        SetStatusText(path);
    if (OnSelChanged)
        OnSelChanged(this, path, item);
}

void TBrowseDirectoryDlg::DoValidateFailed(const std::string& text, bool& cancel)
{
    if (OnValidateFailed)
        OnValidateFailed(this, text, cancel);
}

void TBrowseDirectoryDlg::SendStatusText()
{
    if (!window_)
        return;
    std::string text = statusText_;
    if (fitStatusText_ && !text.empty()) {
        if (const HWND status = FindChildById(window_, BrowseStatusControlId)) {
            RECT bounds{};
            GetWindowRect(status, &bounds);
            const ControlTextContext context(status);
            text = ::FitStatusText(text, DirExists(text), bounds.right - bounds.left,
                                   [&context](const std::string& shown) { return context.Width(shown); });
        }
    }
    SendMessageA(window_, BFFM_SETSTATUSTEXTA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TBrowseDirectoryDlg::SendSelection()
{
    if (selection_.empty() && selectionPIDL_) {
        selection_ = PathOfItem(selectionPIDL_);
        SendMessageA(window_, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(selectionPIDL_));
        return;
    }
    const bool unc = selection_.rfind("\\\\", 0) == 0;
    LPITEMIDLIST parsed = ParsePath(selection_);
    if (parsed)
        SetSelectionPIDL(parsed);
    if (!unc) {
        const std::string path = PathForBrowser(selection_);
        SendMessageA(window_, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(path.c_str()));
    } else if (parsed) {
        SendMessageA(window_, BFFM_SETSELECTIONA, FALSE, reinterpret_cast<LPARAM>(parsed));
    }
}

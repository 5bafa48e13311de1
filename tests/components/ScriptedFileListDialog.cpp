#include "ScriptedFileListDialog.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <gtest/gtest.h>

namespace {
constexpr UINT RunStepMessage = WM_APP + 1;
constexpr UINT_PTR WatchdogTimer = 1;
constexpr UINT_PTR StepAfterInputTimer = 2;
constexpr UINT WatchdogMilliseconds = 10000;

ScriptedFileListDialog* DialogOf(HWND hookWindow)
{
    return reinterpret_cast<ScriptedFileListDialog*>(GetWindowLongPtrA(hookWindow, GWLP_USERDATA));
}

BOOL CALLBACK CancelBox(HWND window, LPARAM fileDialog)
{
    char className[32] = "";
    GetClassNameA(window, className, sizeof className);
    if (window != reinterpret_cast<HWND>(fileDialog) && IsWindowVisible(window) &&
        std::string(className) == "#32770") {
        PostMessageA(window, WM_COMMAND, IDNO, 0);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    }
    return TRUE;
}
}

ScriptedFileListDialog& ScriptedFileListDialog::Then(Step step)
{
    steps_.push_back(std::move(step));
    return *this;
}

bool ScriptedFileListDialog::Execute()
{
    char fileName[MAX_PATH] = "";
    OPENFILENAMEA record{};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    record.lpstrFilter = "All files\0*.*\0";
    record.lpstrFile = fileName;
    record.nMaxFile = sizeof fileName;
    record.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
    record.Flags = OFN_EXPLORER | OFN_ENABLEHOOK | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    record.lpfnHook = &ScriptedFileListDialog::HookProc;
    record.lCustData = reinterpret_cast<LPARAM>(this);
    const bool chosen = GetSaveFileNameA(&record) != FALSE;
    EXPECT_TRUE(steps_.empty()) << steps_.size() << " steps never ran";
    EXPECT_FALSE(watchdogFired_) << "the dialog was left open";
    return chosen;
}

UINT_PTR CALLBACK ScriptedFileListDialog::HookProc(HWND window, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<const OPENFILENAMEA*>(lParam)->lCustData);
        return TRUE;
    }
    ScriptedFileListDialog* self = DialogOf(window);
    if (!self)
        return FALSE;
    switch (message) {
    case WM_NOTIFY: {
        const auto* notify = reinterpret_cast<const NMHDR*>(lParam);
        if (notify->code == CDN_INITDONE)
            self->Shown(window);
        else if (notify->code == CDN_FOLDERCHANGE && self->session_)
            self->session_->FolderChanged();
        break;
    }
    case RunStepMessage:
        self->RunNextStep();
        break;
    case WM_DESTROY:
        KillTimer(window, WatchdogTimer);
        KillTimer(window, StepAfterInputTimer);
        self->session_.reset();
        self->dialogSubclass_.Detach();
        break;
    default:
        break;
    }
    return FALSE;
}

void ScriptedFileListDialog::Shown(HWND hookWindow)
{
    hook_ = hookWindow;
    dialog_ = GetParent(hookWindow);
    dialogSubclass_.Attach(dialog_, [this](UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_DESTROY && session_)
            session_->GiveBackCustomBar();
        return dialogSubclass_.PassOn(message, wParam, lParam);
    });
    session_ = std::make_unique<TApFileListSession>(*this);
    session_->ShowToolbar();
    session_->StartHooks();
    session_->ShowDone();
    SetTimer(hook_, WatchdogTimer, WatchdogMilliseconds, &ScriptedFileListDialog::Watchdog);
    PostMessageA(hook_, RunStepMessage, 0, 0);
}

void ScriptedFileListDialog::RunNextStep()
{
    if (steps_.empty())
        return;
    Step step = std::move(steps_.front());
    steps_.pop_front();
    waitForInput_ = false;
    step(*this);
    if (waitForInput_)
        SetTimer(hook_, StepAfterInputTimer, 1, &ScriptedFileListDialog::StepTimer);
    else if (!steps_.empty())
        PostMessageA(hook_, RunStepMessage, 0, 0);
}

void ScriptedFileListDialog::NextAfterInput() { waitForInput_ = true; }

void CALLBACK ScriptedFileListDialog::StepTimer(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    if (ScriptedFileListDialog* self = DialogOf(window))
        self->RunNextStep();
}

void CALLBACK ScriptedFileListDialog::Watchdog(HWND window, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(window, timer);
    ScriptedFileListDialog* self = DialogOf(window);
    if (!self)
        return;
    self->watchdogFired_ = true;
    self->steps_.clear();
    EndMenu();
    EnumThreadWindows(GetCurrentThreadId(), CancelBox, reinterpret_cast<LPARAM>(self->dialog_));
    self->Cancel();
}

void ScriptedFileListDialog::SelectionStyleChanging(TViewStyle style, bool& allow)
{
    if (OnSelectionStyleChanging)
        OnSelectionStyleChanging(style, allow);
}

HWND ScriptedFileListDialog::ShellView() const { return FindWindowExA(dialog_, nullptr, "SHELLDLL_DefView", nullptr); }

HWND ScriptedFileListDialog::ListView() const
{
    const HWND view = ShellView();
    return view ? FindWindowExA(view, nullptr, WC_LISTVIEWA, nullptr) : nullptr;
}

std::string ScriptedFileListDialog::FolderPath() const
{
    char path[MAX_PATH] = "";
    SendMessageA(dialog_, CDM_GETFOLDERPATH, sizeof path, reinterpret_cast<LPARAM>(path));
    return path;
}

void ScriptedFileListDialog::Open(const std::string& folder)
{
    SetDlgItemTextA(dialog_, 1152, folder.c_str());
    SendMessageA(dialog_, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog_, IDOK)));
    SetDlgItemTextA(dialog_, 1152, "");
}

std::vector<std::string> ScriptedFileListDialog::ListedPaths() const
{
    std::vector<std::string> paths;
    const std::vector<BYTE> folder = FolderItemList(dialog_);
    const HWND list = ListView();
    if (folder.empty() || !list)
        return paths;
    const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
    for (int index = 0; index < count; ++index) {
        LVITEMA entry{};
        entry.mask = LVIF_PARAM;
        entry.iItem = index;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry));
        LPITEMIDLIST full = ILCombine(reinterpret_cast<LPCITEMIDLIST>(folder.data()),
                                      reinterpret_cast<LPCITEMIDLIST>(entry.lParam));
        char path[MAX_PATH] = "";
        if (full && SHGetPathFromIDListA(full, path))
            paths.push_back(path);
        else
            paths.push_back("?");
        ILFree(full);
    }
    return paths;
}

void ScriptedFileListDialog::Cancel() { PostMessageA(dialog_, WM_COMMAND, IDCANCEL, 0); }

void SendKeyPress(WORD key)
{
    INPUT inputs[2]{};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

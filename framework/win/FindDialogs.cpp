#include "FindDialogs.h"

#include "Application.h"

#include <algorithm>
#include <utility>

namespace {
const UINT FindMessage = RegisterWindowMessageA(FINDMSGSTRINGA);

// The record's flags for the options the dialog shows, and back.
constexpr std::pair<TFindOptions, DWORD> FlagTable[] = {
    {frDown, FR_DOWN},           {frFindNext, FR_FINDNEXT},       {frHideMatchCase, FR_HIDEMATCHCASE},
    {frHideWholeWord, FR_HIDEWHOLEWORD}, {frHideUpDown, FR_HIDEUPDOWN}, {frMatchCase, FR_MATCHCASE},
    {frWholeWord, FR_WHOLEWORD}, {frReplace, FR_REPLACE},        {frReplaceAll, FR_REPLACEALL},
};

DWORD FlagsOf(TFindOptions options)
{
    DWORD flags = 0;
    for (const auto& [option, flag] : FlagTable)
        if (options & option)
            flags |= flag;
    return flags;
}

TFindOptions OptionsOf(DWORD flags)
{
    TFindOptions options = 0;
    for (const auto& [option, flag] : FlagTable)
        if (flags & flag)
            options |= option;
    return options;
}

void CopyText(const std::string& text, std::array<char, 256>& buffer)
{
    const std::size_t count = std::min(text.size(), buffer.size() - 1);
    std::copy_n(text.begin(), count, buffer.begin());
    buffer[count] = '\0';
}

const char* OwnerClass()
{
    static const char* const name = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuilloFindOwner";
        RegisterClassA(&windowClass);
        return windowClass.lpszClassName;
    }();
    return name;
}
} // namespace

TFindDialog::TFindDialog(TComponent* owner) : TComponent(owner) {}

TFindDialog::~TFindDialog()
{
    CloseDialog();
    if (owner_)
        DestroyWindow(owner_);
}

bool TFindDialog::Execute()
{
    if (dialog_) {
        SetForegroundWindow(dialog_);
        return true;
    }
    if (!owner_) {
        // The dialog reports to its owner; a hidden window of its own hears
        // it, owned by the active window so the dialog stays above that one.
        owner_ = CreateWindowExA(0, OwnerClass(), "", WS_POPUP, 0, 0, 0, 0, GetActiveWindow(), nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        if (!owner_)
            return false;
        SetWindowLongPtrA(owner_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        SetWindowLongPtrA(owner_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OwnerProc));
    }
    CopyText(FindText, findBuffer_);
    record_ = FINDREPLACEA{};
    record_.lStructSize = sizeof record_;
    record_.hwndOwner = owner_;
    record_.Flags = FlagsOf(Options & (frDown | frHideMatchCase | frHideWholeWord | frHideUpDown | frMatchCase |
                                       frWholeWord));
    record_.lpstrFindWhat = findBuffer_.data();
    record_.wFindWhatLen = static_cast<WORD>(findBuffer_.size());
    if (Replacing()) {
        if (auto* replace = dynamic_cast<TReplaceDialog*>(this))
            CopyText(replace->ReplaceText, replaceBuffer_);
        record_.lpstrReplaceWith = replaceBuffer_.data();
        record_.wReplaceWithLen = static_cast<WORD>(replaceBuffer_.size());
        dialog_ = ::ReplaceTextA(&record_);
    } else {
        dialog_ = ::FindTextA(&record_);
    }
    if (!dialog_)
        return false;
    Application.AddModelessWindow(dialog_);
    return true;
}

void TFindDialog::CloseDialog()
{
    if (!dialog_)
        return;
    HWND dialog = std::exchange(dialog_, nullptr);
    Application.RemoveModelessWindow(dialog);
    DestroyWindow(dialog);
}

RECT TFindDialog::BoundsRect() const
{
    RECT bounds{};
    if (dialog_)
        GetWindowRect(dialog_, &bounds);
    return bounds;
}

void TFindDialog::SetPosition(POINT topLeft)
{
    if (dialog_)
        SetWindowPos(dialog_, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFindDialog::Report(const FINDREPLACEA& record)
{
    if (record.Flags & FR_DIALOGTERM) {
        Closed();
        return;
    }
    if (record.lpstrFindWhat)
        FindText = record.lpstrFindWhat;
    Options = OptionsOf(record.Flags) | (Options & (frHideMatchCase | frHideWholeWord | frHideUpDown));
    if (record.Flags & (FR_REPLACE | FR_REPLACEALL)) {
        if (auto* replace = dynamic_cast<TReplaceDialog*>(this); replace && record.lpstrReplaceWith)
            replace->ReplaceText = record.lpstrReplaceWith;
        DoReplace();
    } else if (record.Flags & FR_FINDNEXT) {
        DoFind();
    }
}

void TFindDialog::DoFind()
{
    if (OnFind)
        OnFind();
}

void TFindDialog::Closed()
{
    if (dialog_)
        Application.RemoveModelessWindow(dialog_);
    dialog_ = nullptr;
    if (OnClose)
        OnClose();
}

LRESULT CALLBACK TFindDialog::OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == FindMessage && lParam) {
        auto* dialog = reinterpret_cast<TFindDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (dialog)
            GuardedCall([&] { dialog->Report(*reinterpret_cast<FINDREPLACEA*>(lParam)); return 0; }, 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void TReplaceDialog::DoReplace()
{
    if (OnReplace)
        OnReplace();
}

#pragma once
// The system's modeless Find and Replace dialogs. Execute shows the dialog
// and returns at once; the buttons arrive later as the events, with FindText,
// ReplaceText and Options updated to what the dialog shows.

#include "Component.h"

#include <windows.h>

#include <commdlg.h>

#include <array>
#include <functional>
#include <string>

using TFindOptions = unsigned;
inline constexpr TFindOptions frDown = 1u << 0;
inline constexpr TFindOptions frFindNext = 1u << 1;
inline constexpr TFindOptions frHideMatchCase = 1u << 2;
inline constexpr TFindOptions frHideWholeWord = 1u << 3;
inline constexpr TFindOptions frHideUpDown = 1u << 4;
inline constexpr TFindOptions frMatchCase = 1u << 5;
inline constexpr TFindOptions frWholeWord = 1u << 6;
inline constexpr TFindOptions frReplace = 1u << 7;
inline constexpr TFindOptions frReplaceAll = 1u << 8;

class TFindDialog : public TComponent {
public:
    explicit TFindDialog(TComponent* owner = nullptr);
    ~TFindDialog() override;
    TFindDialog(const TFindDialog&) = delete;
    TFindDialog& operator=(const TFindDialog&) = delete;

    std::string FindText;
    TFindOptions Options = frDown;
    std::function<void()> OnFind;
    std::function<void()> OnClose;

    // Shows the dialog, or brings it forward when shown; false when the
    // system could not show it.
    bool Execute();
    void CloseDialog();
    // Null while the dialog is not shown.
    HWND Handle() const { return dialog_; }
    RECT BoundsRect() const;
    void SetPosition(POINT topLeft);

    // What the dialog's window procedure reports, also for tests: fills the
    // properties from the record and fires the event its flags name.
    void Report(const FINDREPLACEA& record);

protected:
    virtual bool Replacing() const { return false; }
    virtual void DoFind();
    virtual void DoReplace() {}
    std::array<char, 256> replaceBuffer_{};

private:
    static LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Closed();

    FINDREPLACEA record_{};
    std::array<char, 256> findBuffer_{};
    HWND owner_ = nullptr;
    HWND dialog_ = nullptr;
};

class TReplaceDialog : public TFindDialog {
public:
    using TFindDialog::TFindDialog;

    std::string ReplaceText;
    std::function<void()> OnReplace;

protected:
    bool Replacing() const override { return true; }
    void DoReplace() override;
};

#pragma once
// A system save dialog shown for real, hosting the file list options the way
// the extended dialog does (toolbar and hooks at the show step, the first
// filter pass at its end, the views followed on every folder change, the bar
// given back in the dialog's own WM_DESTROY), and driven by a script: each
// step runs from the dialog's message loop after the one before has been
// handled. A watchdog cancels the dialog (and any box it raised) when the
// script stalls, so a test never hangs.

#include "ApFileListSession.h"
#include "ForeignSubclass.h"

#include <windows.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ScriptedFileListDialog : public TApFileListHost {
public:
    using Step = std::function<void(ScriptedFileListDialog&)>;

    TApListViewStyles Styles;
    TApFileFilter Filter;
    TApToolBarOptions ToolBar;
    std::string InitialDir;
    // Selection-style events as the dialog fires them.
    std::function<void(TViewStyle, bool&)> OnSelectionStyleChanging;
    std::vector<TViewStyle> StyleChanges;

    // Steps run in order; the last must end the dialog.
    ScriptedFileListDialog& Then(Step step);
    // True when the dialog ended by OK; false by Cancel or the watchdog.
    bool Execute();
    bool WatchdogFired() const { return watchdogFired_; }

    HWND DialogWindow() const override { return dialog_; }
    TApFileListSession* Session() const { return session_.get(); }
    HWND ListView() const;
    HWND ShellView() const;
    std::string FolderPath() const;
    // Opens a folder as the user would by typing it into the name box.
    void Open(const std::string& folder);
    // The full paths of the list's entries, in list order.
    std::vector<std::string> ListedPaths() const;
    void Cancel();
    // Runs the next step after the input already queued (keys sent) is handled.
    void NextAfterInput();

    TApListViewStyles& ListViewStyles() override { return Styles; }
    TApFileFilter& ExtFilter() override { return Filter; }
    TApToolBarOptions& ToolBarOptions() override { return ToolBar; }
    void SelectionStyleChanging(TViewStyle style, bool& allow) override;
    void SelectionStyleChanged(TViewStyle style) override { StyleChanges.push_back(style); }

private:
    static UINT_PTR CALLBACK HookProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watchdog(HWND window, UINT, UINT_PTR, DWORD);
    static void CALLBACK StepTimer(HWND window, UINT, UINT_PTR, DWORD);
    void Shown(HWND hookWindow);
    void RunNextStep();

    std::deque<Step> steps_;
    HWND hook_ = nullptr;
    HWND dialog_ = nullptr;
    TForeignSubclass dialogSubclass_;
    std::unique_ptr<TApFileListSession> session_;
    bool watchdogFired_ = false;
    bool waitForInput_ = false;
};

// Keys as the keyboard sends them, through the input queue and the hooks.
void SendKeyPress(WORD key);

// The commands that open the Options, Properties and About windows, the
// product's web page, and the tray's way back to the window.
#include "Main.h"

#include "AboutDialog.h"
#include "Application.h"
#include "OptionsDialog.h"
#include "ProductNames.h"
#include "SettingsRecords.h"
#include "SharedState.h"
#include "ShellOpen.h"
#include "StatusBar.h"
#include "SummaryDialog.h"
#include "WindowWork.h"

#include <memory>

namespace {
// Set while the dialog is shown: the tray can ask for it a second time.
TOptions* OptionsForm = nullptr;
TAboutDlg* AboutForm = nullptr;

// Shows the dialog unless it is shown already, in which case the program
// only comes to the front; the variable is set while the dialog exists.
template <class Form, class Show>
void ShowOnce(Form*& variable, Show show)
{
    if (variable) {
        Application.BringToFront();
        return;
    }
    const auto dialog = std::make_unique<Form>();
    variable = dialog.get();
    struct Clear {
        Form*& variable;
        ~Clear() { variable = nullptr; }
    } clear{variable};
    show(*dialog);
}

constexpr int OptionsPageCount = 5;
} // namespace

void TMain::mOptionsClick(TComponent*)
{
    // The tray menu still answers while an export reads the options.
    if (WindowWorkRunning())
        return;
    ShowOnce(OptionsForm, [this](TOptions& dialog) {
        if (DialogStates.OptionsIndex < 0 || DialogStates.OptionsIndex >= OptionsPageCount)
            DialogStates.OptionsIndex = 0;
        dialog.Pages.SetActivePageIndex(DialogStates.OptionsIndex);
        const int result = dialog.ShowModal();
        // Restored defaults are in force even after Cancel: the window follows
        // them, so it never differs from the settings it will save.
        if (result == mrOk || dialog.DefaultsRestored())
            ApplyOptions();
        DialogStates.OptionsIndex = dialog.Pages.ActivePageIndex();
    });
}

void TMain::mAboutClick(TComponent*)
{
    ShowOnce(AboutForm, [](TAboutDlg& dialog) { dialog.ShowModal(); });
}

void TMain::mSummeryClick(TComponent*)
{
    const auto dialog = std::make_unique<TSummery>();
    if (dialog->ShowModal() == mrOk)
        OutlineProperties.FileChanged = 1;
}

void TMain::mWebClick(TComponent*) { OpenWithShell(ProductWebAddress); }

void TMain::ptOpenClick(TComponent*) { Application.Restore(); }

void TMain::TrayLButtonUp(TComponent*) { Application.Restore(); }

void TMain::StatusBarDblClick(TComponent*) {}

void TMain::WireDialogCommands()
{
    SetHandler("mOptionsClick", [this](TComponent* sender) { mOptionsClick(sender); });
    SetHandler("mAboutClick", [this](TComponent* sender) { mAboutClick(sender); });
    SetHandler("mSummeryClick", [this](TComponent* sender) { mSummeryClick(sender); });
    SetHandler("mDateClick", [this](TComponent* sender) { mDateClick(sender); });
    SetHandler("mSymbolClick", [this](TComponent* sender) { mSymbolClick(sender); });
    SetHandler("mWebClick", [this](TComponent* sender) { mWebClick(sender); });
    SetHandler("ptOpenClick", [this](TComponent* sender) { ptOpenClick(sender); });
    SetHandler("TrayLButtonUp", [this](TComponent* sender) { TrayLButtonUp(sender); });
    SetHandler("StatusBarDblClick", [this](TComponent* sender) { StatusBarDblClick(sender); });
    StatusBar->OnDblClick = [this] { RunHandler("StatusBarDblClick", StatusBar.get()); };
}

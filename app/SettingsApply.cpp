// The settings meet the main window: loaded and applied at its first
// activation, put into effect again after the Options dialog, and saved when
// it closes.
#include "Main.h"

#include "Application.h"
#include "ExportProfiles.h"
#include "MainLifecycle.h"
#include "ProgramFolder.h"
#include "RecentMenu.h"
#include "RichEdit.h"
#include "SettingsInForce.h"
#include "SettingsLoad.h"
#include "SharedState.h"
#include "Splitter.h"
#include "StatusBar.h"
#include "TreeView.h"
#include "WorkArea.h"

namespace {

const char* const TrayFailureCaption = "Application Error";

TMenuItem* MenuItemNamed(const TMain& main, const char* name)
{
    return dynamic_cast<TMenuItem*>(main.FindComponent(name));
}

void ShowTrayFailure(TTrayComp*, const std::string& text)
{
    Application.MessageBox(text, TrayFailureCaption, MB_OK);
}

// XPos holds the top and YPos the left: stored settings depend on it.
WindowPlacement StoredPlacement(const TUserSettings& user) { return {user.YPos, user.XPos, user.Width, user.Height}; }

// Where the window goes: on a monitor that is present, at a usable size,
// whatever the store held.
RECT PlacementInForce(const TUserSettings& user)
{
    const WindowPlacement sized = SizeInForce(StoredPlacement(user), StoredPlacement(TUserSettings{}));
    const WindowPlacement placed = FitOnWorkArea(sized, WorkAreaFor(sized));
    return {placed.left, placed.top, placed.left + placed.width, placed.top + placed.height};
}

// The close writes the sizes the fonts were shown in: a stored size that the
// font dialog does not offer was never in force.
void KeepFontSizesInForce(TOptionSettings& options)
{
    options.OutlineFontSize = FontPointsInForce(options.OutlineFontSize);
    options.PageFontSize = FontPointsInForce(options.PageFontSize);
}

} // namespace

ViewMenuChecks TMain::ViewChecks() const
{
    return {MenuItemNamed(*this, "mNormal")->Checked(), MenuItemNamed(*this, "mOutline")->Checked()};
}

void TMain::FormActivate()
{
    if (!lifecycle_->firstActivation)
        return;
    // The icon's shell may refuse it; the user hears why and the run goes on.
    Tray.OnShellFailure = ShowTrayFailure;
    LoadSettings(ExeFolder(), ViewChecks());
    PlaceWindow();
    if (!UserSettings.Toolbar)
        RunHandler("mToolbarClick", this);
    ApplyOptions();
    RebuildRecentMenu(RecentFiles);
    lifecycle_->firstActivation = false;
}

void TMain::PlaceWindow()
{
    // The records keep what was stored; the close writes back what is in force.
    SetNormalBounds(PlacementInForce(UserSettings));
    if (UserSettings.Maximized)
        SetWindowState(TWindowState::wsMaximized);
    Tree->SetWidth(TreeWidthInForce(UserSettings.TreeWidth, ClientWidth(), Splitter->Width()));
    Realign();
}

void TMain::KeepPlacement()
{
    // The normal bounds, which a minimised window, or one hidden in the
    // notification area, still knows: its current position is off screen.
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(Handle(), &placement);
    UserSettings.TreeWidth = Tree->Width();
    UserSettings.Maximized =
        IsZoomed(Handle()) || (IsIconic(Handle()) && (placement.flags & WPF_RESTORETOMAXIMIZED) != 0);
    const RECT bounds = NormalBounds();
    UserSettings.Height = bounds.bottom - bounds.top;
    UserSettings.Width = bounds.right - bounds.left;
    UserSettings.XPos = bounds.top;
    UserSettings.YPos = bounds.left;
}

void TMain::ApplyOptions()
{
    ApplyStatusBar();
    lifecycle_->editorFont.Apply(*RichEdit, OptionSettings.PageFontFace,
                                 FontPointsInForce(OptionSettings.PageFontSize));
    lifecycle_->treeFont.Apply(*Tree, OptionSettings.OutlineFontFace,
                               FontPointsInForce(OptionSettings.OutlineFontSize));
    Tree->SetShowButtons(OptionSettings.TreeButtons);
    Tree->SetShowLines(OptionSettings.TreeLines);
    Tree->SetStateImages(OptionSettings.TreeStates ? StateImages.Handle() : nullptr);
    Tree->SetImages(OptionSettings.TreeImages ? Images.Handle() : nullptr);
    ApplyView();
    ApplyPasteShortCut();
    ApplyTray();
}

void TMain::ApplyStatusBar()
{
    MenuItemNamed(*this, "mStatusbar")->SetChecked(OptionSettings.StatusBar);
    // The aligned layout gives the tree and the editor the status bar's room.
    if (StatusBar->Visible() != OptionSettings.StatusBar) {
        StatusBar->SetVisible(OptionSettings.StatusBar);
        Realign();
    }
}

void TMain::ApplyView()
{
    if (OptionSettings.NormalView) {
        MenuItemNamed(*this, "mNormal")->SetChecked(true);
        MenuItemNamed(*this, "mOutline")->SetChecked(false);
        MenuItemNamed(*this, "mPageOnly")->SetChecked(false);
    } else if (OptionSettings.OutlineView) {
        RunHandler("mOutlineClick", this);
    } else {
        RunHandler("mPageOnlyClick", this);
    }
}

void TMain::ApplyTray()
{
    switch (OptionSettings.Traybar) {
    case 1:
        Tray.SetVisible(false);
        break;
    case 2:
    case 3:
        if (!Tray.Visible())
            Tray.SetVisible(true);
        Tray.SetHide(OptionSettings.Traybar == 3);
        break;
    case 4:
        Tray.SetVisible(false);
        Tray.SetHide(true);
        break;
    default:
        break;
    }
}

void TMain::SaveSettings()
{
    const ViewMenuChecks view = ViewChecks();
    KeepFontSizesInForce(OptionSettings);
    WriteSettingsReporting({
        [] { WriteUserSettings(UserSettings); },
        [view] { WriteGeneralOptions(OptionSettings, view); },
        [] { WriteDateOptions(OptionSettings); },
        [] { WriteBehaviourOptions(OptionSettings); },
        [] { WriteFolderOptions(OptionSettings); },
        [] { WriteWebOptions(OptionSettings); },
    });
}

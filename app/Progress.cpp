// The status bar's progress display and busy note.
#include "Progress.h"

#include "Cursors.h"
#include "ExtCtrls.h"
#include "Form.h"
#include "Main.h"
#include "StatusBar.h"

#include <windows.h>

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

int SavedStatusWidth = 0;

namespace {

constexpr int kGap = 5;
constexpr int kBarTop = 5;
constexpr int kBarWidth = 100;
constexpr int kBarHeight = 10;
constexpr int kNoteTop = 2;
constexpr int kNoteSize = 16;
constexpr int kNoteImage = 1;

// One open progress display: its text, and where the bar stood when a
// display inside it began.
struct ProgressLevel {
    std::string text;
    int position = 0;
};

// The open displays, outermost first, and the window they belong to. A
// window that went away while displays were open leaves nothing behind: the
// next BeginProgress on a new window starts afresh.
std::vector<ProgressLevel> openLevels;
const TMain* levelsWindow = nullptr;

bool LevelsAreLive()
{
    if (openLevels.empty())
        return false;
    if (Main == nullptr || Main != levelsWindow || !Main->FProgressBar) {
        openLevels.clear();
        levelsWindow = nullptr;
        return false;
    }
    return true;
}

// The width of the text as a label of the window's font shows it.
int TextWidth(const std::string& text)
{
    HFONT font = Main->Font() ? Main->Font() : TForm::DefaultFont();
    HDC dc = GetDC(nullptr);
    if (dc == nullptr)
        return 0;
    HGDIOBJ previous = SelectObject(dc, font);
    RECT rect{0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return static_cast<int>(rect.right - rect.left);
}

// The status bar is what changed; the rest of the window only paints what
// is already invalid (a dialog just closed over it, say). Repainting the whole
// window each time costs tens of milliseconds under Wine on every load.
void RepaintNow()
{
    RedrawWindow(Main->StatusBar->Handle(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    RedrawWindow(Main->Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_UPDATENOW);
}

// Panel 0 and the bar show this display.
void ShowLevel(const ProgressLevel& level)
{
    Main->StatusBar->Panel(0).SetText(level.text);
    Main->FProgressBar->SetBounds(TextWidth(level.text) + kGap, kBarTop, kBarWidth, kBarHeight);
    Main->FProgressBar->SetPosition(level.position);
}

}

void BeginProgress(const std::string& text)
{
    if (Main == nullptr || !Main->StatusBar)
        return;
    HideBusyNote();
    TStatusBar& bar = *Main->StatusBar;
    TStatusPanel& panel = bar.Panel(0);
    const ProgressLevel level{text, 0};

    if (LevelsAreLive()) {
        // A display inside one that runs: the same bar, this text, from 0.
        openLevels.back().position = Main->FProgressBar->Position();
        openLevels.push_back(level);
        try {
            ShowLevel(level);
        } catch (...) {
            openLevels.pop_back();
            ShowLevel(openLevels.back());
            throw;
        }
        RepaintNow();
        return;
    }

    const int savedWidth = panel.Width();
    panel.SetWidth(bar.Width());
    panel.SetBevel(TStatusPanelBevel::pbNone);
    panel.SetText(text);
    try {
        auto progress = std::make_unique<TProgressBar>(&bar, &bar);
        progress->SetBounds(TextWidth(text) + kGap, kBarTop, kBarWidth, kBarHeight);
        progress->SetRange(0, 100);
        progress->SetPosition(0);
        progress->SetVisible(true);
        Main->FProgressBar = std::move(progress);
    } catch (...) {
        Main->FProgressBar.reset();
        panel.SetWidth(savedWidth);
        panel.SetBevel(TStatusPanelBevel::pbLowered);
        throw;
    }
    SavedStatusWidth = savedWidth;
    openLevels.assign(1, level);
    levelsWindow = Main;
    RepaintNow();
}

void EndProgress()
{
    if (!LevelsAreLive())
        return;
    openLevels.pop_back();
    if (!openLevels.empty()) {
        ShowLevel(openLevels.back());
        RepaintNow();
        return;
    }
    levelsWindow = nullptr;
    Main->FProgressBar.reset();
    TStatusPanel& panel = Main->StatusBar->Panel(0);
    panel.SetWidth(SavedStatusWidth);
    panel.SetBevel(TStatusPanelBevel::pbLowered);
    panel.SetText("Ready");
    RepaintNow();
}

int ProgressDepth()
{
    return LevelsAreLive() ? static_cast<int>(openLevels.size()) : 0;
}

void ShowBusyNote(const std::string& text)
{
    if (Main == nullptr || !Main->StatusBar || Main->FNoteImage)
        return;
    TStatusBar& bar = *Main->StatusBar;
    TStatusPanel& panel = bar.Panel(0);
    panel.SetBevel(TStatusPanelBevel::pbNone);
    panel.SetText(text);
    try {
        Main->FNoteImage = std::make_unique<TImage>(&bar, &bar);
        TImage& image = *Main->FNoteImage;
        image.SetBounds(TextWidth(text) + kGap, kNoteTop, kNoteSize, kNoteSize);
        image.SetTransparent(true);
        image.SetImageList(Main->Images.Handle(), kNoteImage);
        image.SetVisible(true);
    } catch (...) {
        Main->FNoteImage.reset();
        panel.SetBevel(TStatusPanelBevel::pbLowered);
        throw;
    }
}

void HideBusyNote()
{
    if (Main == nullptr || !Main->FNoteImage)
        return;
    Main->FNoteImage.reset();
    if (Main->StatusBar)
        Main->StatusBar->Panel(0).SetBevel(TStatusPanelBevel::pbLowered);
}

TProgressScope::TProgressScope(const std::string& text) : previousCursor_(ScreenCursorId())
{
    SetBusyCursor(true);
    const int before = ProgressDepth();
    try {
        BeginProgress(text);
    } catch (...) {
        SetScreenCursorId(previousCursor_);
        throw;
    }
    if (ProgressDepth() == before + 1)
        depth_ = before + 1;
}

TProgressScope::~TProgressScope()
{
    try {
        // Ends this display, and any a caller inside it left open.
        while (depth_ > 0 && ProgressDepth() >= depth_)
            EndProgress();
    } catch (...) {
        // A destructor must not throw; the cursor comes back all the same.
    }
    SetScreenCursorId(previousCursor_);
}

void TProgressScope::SetProgress(long long done, long long total)
{
    if (Main == nullptr || !Main->FProgressBar)
        return;
    long long position = total > 0 ? done * 100 / total : 0;
    position = std::clamp(position, 0LL, 100LL);
    Main->FProgressBar->SetPosition(static_cast<int>(position));
}

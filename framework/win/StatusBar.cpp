#include "StatusBar.h"

#include "Exceptions.h"

#include <commctrl.h>

namespace {
// The height of a status bar with the usual 8-point dialog font.
constexpr int DefaultHeight = 19;
// The control allows this many parts.
constexpr int MaxPanels = 255;

WPARAM BevelFlags(TStatusPanelBevel bevel)
{
    switch (bevel) {
    case TStatusPanelBevel::pbNone:
        return SBT_NOBORDERS;
    case TStatusPanelBevel::pbRaised:
        return SBT_POPOUT;
    default:
        return 0;
    }
}
}

void TStatusPanel::SetText(const std::string& text)
{
    if (text == text_)
        return;
    text_ = text;
    bar_.UpdateText(*this);
}

void TStatusPanel::SetWidth(int width)
{
    if (width == width_)
        return;
    width_ = width;
    bar_.UpdateParts();
}

void TStatusPanel::SetBevel(TStatusPanelBevel bevel)
{
    if (bevel == bevel_)
        return;
    bevel_ = bevel;
    bar_.UpdateText(*this);
}

TStatusBar::TStatusBar(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The form lays the bar out, so the control must not move or size itself.
    CreateHandle(STATUSCLASSNAMEA, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | CCS_NOPARENTALIGN | CCS_NORESIZE, 0);
    SendMessageA(Handle(), SB_SIMPLE, FALSE, 0);
    SetBounds(0, 0, 0, DefaultHeight);
}

TStatusPanel& TStatusBar::Panel(int index)
{
    if (index < 0 || index >= PanelCount())
        throw Exception("Status panel index out of bounds");
    return *panels_[static_cast<size_t>(index)];
}

TStatusPanel& TStatusBar::AddPanel(const std::string& text, int width, TStatusPanelBevel bevel)
{
    if (PanelCount() >= MaxPanels)
        throw Exception("Too many status panels");
    panels_.push_back(std::unique_ptr<TStatusPanel>(new TStatusPanel(*this, PanelCount())));
    TStatusPanel& panel = *panels_.back();
    panel.text_ = text;
    panel.width_ = width;
    panel.bevel_ = bevel;
    UpdateParts();
    return panel;
}

void TStatusBar::ClearPanels()
{
    panels_.clear();
    UpdateParts();
}

void TStatusBar::UpdateParts()
{
    // The control wants the right edge of each part; the last one reaches the
    // end of the bar whatever its width.
    std::vector<int> edges;
    int right = 0;
    for (const auto& panel : panels_) {
        right += panel->width_;
        edges.push_back(right);
    }
    if (!edges.empty())
        edges.back() = -1;
    else
        edges.push_back(-1);
    SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    if (panels_.empty())
        SendMessageA(Handle(), SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(""));
    for (const auto& panel : panels_)
        UpdateText(*panel);
}

void TStatusBar::UpdateText(const TStatusPanel& panel)
{
    SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(panel.index_) | BevelFlags(panel.bevel_),
                 reinterpret_cast<LPARAM>(panel.text_.c_str()));
}

RECT TStatusBar::PanelRect(int index) const
{
    RECT rect{};
    SendMessageA(Handle(), SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect));
    return rect;
}

LRESULT TStatusBar::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_LBUTTONDBLCLK)
        return TControl::WndProc(message, wParam, lParam);
    // The control may also report the double click to its parent; that
    // report must not run OnDblClick a second time.
    inDoubleClick_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{inDoubleClick_};
    return TControl::WndProc(message, wParam, lParam);
}

bool TStatusBar::HandleNotify(NMHDR& header, LRESULT& result)
{
    if (header.code != static_cast<UINT>(NM_DBLCLK))
        return false;
    if (!inDoubleClick_ && OnDblClick)
        OnDblClick();
    result = 0;
    return true;
}

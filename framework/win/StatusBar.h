#pragma once
// The status bar: a row of panels, each with a width, a bevel and a text.
// Other controls may be placed inside it (a progress bar, a small image),
// positioned from a panel's rectangle. The caller aligns it to the bottom.

#include "Control.h"

#include <memory>
#include <string>
#include <vector>

enum class TStatusPanelBevel { pbNone, pbLowered, pbRaised };

class TStatusBar;

class TStatusPanel {
public:
    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    int Width() const { return width_; }
    void SetWidth(int width);
    TStatusPanelBevel Bevel() const { return bevel_; }
    void SetBevel(TStatusPanelBevel bevel);
    int Index() const { return index_; }

private:
    friend class TStatusBar;
    TStatusPanel(TStatusBar& bar, int index) : bar_(bar), index_(index) {}

    TStatusBar& bar_;
    int index_;
    std::string text_;
    int width_ = 50;
    TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
};

class TStatusBar : public TControl {
public:
    TStatusBar(TComponent* owner, TControl* parent);

    int PanelCount() const { return static_cast<int>(panels_.size()); }
    TStatusPanel& Panel(int index);
    TStatusPanel& AddPanel(const std::string& text, int width,
                           TStatusPanelBevel bevel = TStatusPanelBevel::pbLowered);
    void ClearPanels();
    // Where a panel lies, in the status bar's client coordinates.
    RECT PanelRect(int index) const;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;

private:
    friend class TStatusPanel;
    void UpdateParts();
    void UpdateText(const TStatusPanel& panel);

    std::vector<std::unique_ptr<TStatusPanel>> panels_;
    bool inDoubleClick_ = false;
};

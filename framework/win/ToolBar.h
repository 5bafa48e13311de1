#pragma once
// The toolbar: a row of flat image buttons with tooltips, separators and
// drop-down buttons whose arrow opens a popup menu. A button's hint is its
// tooltip and, while the mouse is over it, the application's hint and the
// bar's own Hint. The caller aligns the bar to the top and sets its height.

#include "Control.h"
#include "MenuTable.h"
#include "Menus.h"

#include <commctrl.h>

#include <memory>
#include <span>
#include <string>
#include <vector>

enum class TToolButtonStyle { tbsButton, tbsSeparator, tbsDropDown };

class TToolBar;

class TToolButton : public TComponent {
public:
    TToolBar& ToolBar() const { return bar_; }
    TToolButtonStyle Style() const { return style_; }
    int Index() const { return index_; }
    // The command id the button reports to the bar.
    int Command() const { return command_; }

    std::string Hint;
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int imageIndex);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    // Shown pressed.
    bool Down() const { return down_; }
    void SetDown(bool down);

    // Opened by the button's arrow.
    TPopupMenu* DropdownMenu = nullptr;
    TNotifyEvent OnClick;
    void Click();
    // Opens the drop-down menu just below the button, as its arrow does;
    // false when the button has none.
    bool CheckMenuDropdown();

    // Where the button lies, in the bar's client coordinates.
    RECT BoundsRect() const;

private:
    friend class TToolBar;
    TToolButton(TComponent* owner, TToolBar& bar, TToolButtonStyle style, int index, int command);

    TToolBar& bar_;
    TToolButtonStyle style_;
    int index_;
    int command_;
    int imageIndex_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    bool down_ = false;
};

class TToolBar : public TControl {
public:
    TToolBar(TComponent* owner, TControl* parent);
    ~TToolBar() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton& Buttons(int index) const;
    // The button with this command id, or null.
    TToolButton* FindButton(int command) const;
    // Adds a button at the right end; it is registered with the bar's owner
    // under name for lookup and belongs to the bar.
    TToolButton& AddButton(const std::string& name, TToolButtonStyle style, int imageIndex = -1);

    HIMAGELIST Images() const { return images_; }
    void SetImages(HIMAGELIST images);
    HIMAGELIST HotImages() const { return hotImages_; }
    void SetHotImages(HIMAGELIST images);

    int ButtonWidth() const { return buttonWidth_; }
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonSize(int width, int height);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TToolButton;
    static LRESULT CALLBACK NotifySinkProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool HandleBarNotify(NMHDR& header, LRESULT& result);
    bool HandleTooltipText(NMHDR& header);
    void ReadButtonSize();

    // The bar reports clicks and notifications to this hidden window rather
    // than to its parent, where they would arrive without the button's id.
    HWND sink_ = nullptr;
    std::vector<std::unique_ptr<TToolButton>> buttons_;
    HIMAGELIST images_ = nullptr;
    HIMAGELIST hotImages_ = nullptr;
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    std::string tipText_;
    std::wstring tipWideText_;
};

// Adds the buttons of a table, left to right; drop-down menus are found by
// name through the bar's owner. Throws Exception for a drop-down menu that
// does not exist.
void BuildToolButtons(TToolBar& bar, std::span<const ToolButtonSpec> buttons, const THandlerResolver& resolveHandler);

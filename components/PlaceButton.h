#pragma once
// The buttons of the places bar: one large button per place, drawn by the
// bar itself (icon above caption), in a column that scrolls in a page
// scroller. A button can be dragged onto another to move its place there.

#include "Control.h"
#include "DragManager.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TApPlacesToolBar;
class TIconLibrary;

class TApPlaceButton : public TControl, public TDragClient {
public:
    static constexpr int ButtonWidth = 87;
    static constexpr int ButtonHeight = 49;

    TApPlaceButton(TApPlacesToolBar& bar);
    ~TApPlaceButton() override;

    TApPlacesToolBar& Bar() const { return bar_; }
    int Index() const;

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption);

    // Setting the file loads its icon 0 as the normal icon; the indices load
    // that icon of the file as the normal and the selected icon.
    const std::string& IconDll() const { return iconDll_; }
    void SetIconDll(const std::string& file);
    int IconIndex() const { return iconIndex_; }
    void SetIconIndex(int index);
    int IconSelIndex() const { return iconSelIndex_; }
    void SetIconSelIndex(int index);
    // All three at once, the two icons shown taken from the library opened
    // for the file.
    void SetIcons(const TIconLibrary& library, int index, int selIndex);
    HICON NormalIcon() const { return icon_; }
    HICON SelectedIcon() const { return selIcon_; }

    // Pressed: the bar's current folder. At most one button of a bar is.
    bool Down() const { return down_; }
    void SetDown(bool down);

    // Does what a click (the left button released over it) does.
    void Click();

    // Drags between the bar's buttons.
    bool WantsDrops() const override { return true; }
    void DragOver(TControl* source, int x, int y, TDragState state, bool& accept) override;
    void DragDrop(TControl* source, int x, int y) override;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    static HICON LoadIcon(const std::string& file, int index);
    void ReplaceIcon(HICON& icon, int index);
    void TrackLeave();

    TApPlacesToolBar& bar_;
    std::string iconDll_;
    int iconIndex_ = 0;
    int iconSelIndex_ = 0;
    HICON icon_ = nullptr;
    HICON selIcon_ = nullptr;
    bool down_ = false;
    bool hot_ = false;
    // The left button went down here and no drag has started yet.
    bool pressed_ = false;
    POINT pressPoint_{};
};

// The column of place buttons; its height follows its buttons.
class TApPlacesToolBar : public TControl {
public:
    TApPlacesToolBar(TComponent* owner, TControl* parent);
    ~TApPlacesToolBar() override;

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TApPlaceButton& Buttons(int index) const { return *buttons_.at(static_cast<size_t>(index)); }
    int IndexOf(const TApPlaceButton* button) const;
    // The first pressed button, or null.
    TApPlaceButton* PressedButton() const;

    TApPlaceButton& AddButton();
    // Adds count buttons at the end and lays the column out once.
    void AddButtons(int count);
    // Frees every button.
    void Clear();

    // A button was clicked; a button was dragged onto another.
    std::function<void(int index)> OnButtonClick;
    std::function<void(int from, int to)> OnButtonMoved;
    // The column's height changed.
    std::function<void()> OnHeightChanged;

private:
    friend class TApPlaceButton;
    void Layout();

    std::vector<std::unique_ptr<TApPlaceButton>> buttons_;
};

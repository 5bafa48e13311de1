#pragma once
// A flat tool button that never takes the focus. Buttons with the same
// parent and the same non-zero GroupIndex act as one choice: a click puts the
// clicked one down and the others of its group up, and a button that is down
// stays down when clicked again. A button of group 0 is a plain button that
// comes back up when the mouse is released.

#include "Control.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

class TSpeedButton : public TControl {
public:
    TSpeedButton(TComponent* owner, TControl* parent, const std::string& caption = "");

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption);
    // The picture, drawn in the middle instead of the caption. The list is not
    // owned; -1 (or a null list) shows the caption.
    void SetGlyph(HIMAGELIST images, int index);

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int groupIndex);
    // Setting it by code puts the other buttons of the group up and fires
    // nothing; only a click fires OnClick.
    bool Down() const { return down_; }
    void SetDown(bool down);

    // Does what a mouse click does; nothing while disabled.
    void Click();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    void ReleaseOthersInGroup();

    HIMAGELIST glyphImages_ = nullptr;
    int glyphIndex_ = -1;
    int groupIndex_ = 0;
    bool down_ = false;
    // The mouse is held on a button of group 0.
    bool pressed_ = false;
};

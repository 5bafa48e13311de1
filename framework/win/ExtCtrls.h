#pragma once
// Containers and simple pictures: panels, images and progress bars.

#include "Control.h"
#include "Graphics.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

// A plain window that holds other controls. It keeps the font its children
// are made with, lets Tab walk into it, and never becomes the form's active
// control itself (it only gets the focus when the system parks it there).
class TCustomPanel : public TControl {
public:
    HFONT Font() const { return font_; }

protected:
    TCustomPanel(TComponent* owner, TControl* parent, DWORD style = WS_VISIBLE);
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    HFONT font_ = nullptr;
};

enum class TBevelCut { bvNone, bvLowered, bvRaised };

// A container with an optional bevel (drawn around the client area, which
// aligned children fill) and a caption centred in it.
class TPanel : public TCustomPanel {
public:
    TPanel(TComponent* owner, TControl* parent);

    std::string Caption() const { return Text(); }
    void SetCaption(const std::string& caption);
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut bevel);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut bevel);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    int BevelWidth() const;
    void DrawBevels();
    void Paint();

    TBevelCut bevelOuter_ = TBevelCut::bvNone;
    TBevelCut bevelInner_ = TBevelCut::bvNone;
};

// Shows an icon, an image of an image list or a bitmap over its parent's
// background. The picture is not owned: its owner keeps it alive while shown.
class TImage : public TControl {
public:
    TImage(TComponent* owner, TControl* parent);

    void SetIcon(HICON icon);
    void SetImageList(HIMAGELIST images, int index);
    void SetBitmap(HBITMAP bitmap);
    // Any picture that draws itself (a GIF, for one).
    void SetGraphic(TGraphic* graphic);
    TGraphic* Graphic() const { return graphic_; }
    void Clear();
    // The picture sits in the middle instead of the top left corner.
    bool Center() const { return center_; }
    void SetCenter(bool center);
    // Icons and bitmaps fill the control.
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);
    // A bitmap's pixels of the colour of its bottom left pixel let the
    // background show through (icons and image lists have masks of their own).
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
    RECT Placement(int width, int height) const;
    void DrawBitmap(HDC dc);

    HICON icon_ = nullptr;
    HIMAGELIST images_ = nullptr;
    int imageIndex_ = -1;
    HBITMAP bitmap_ = nullptr;
    TGraphic* graphic_ = nullptr;
    bool center_ = false;
    bool stretch_ = false;
    bool transparent_ = false;
};

class TProgressBar : public TControl {
public:
    // The range starts as 0..100.
    TProgressBar(TComponent* owner, TControl* parent);

    int Min() const;
    int Max() const;
    void SetMin(int min) { SetRange(min, Max()); }
    void SetMax(int max) { SetRange(Min(), max); }
    void SetRange(int min, int max);
    int Position() const;
    void SetPosition(int position);
    void StepBy(int delta);
};

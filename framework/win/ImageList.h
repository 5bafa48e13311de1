#pragma once
// A list of same-sized small images (toolbar buttons, menu and tree icons),
// drawn with a transparent colour. The list owns its handle.

#include "Component.h"

#include <windows.h>

#include <commctrl.h>

#include <string>

class TImageList : public TComponent {
public:
    explicit TImageList(TComponent* owner = nullptr, int width = 16, int height = 16);
    ~TImageList() override;

    HIMAGELIST Handle() const { return handle_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int Count() const;

    // Each adds at the end and returns the index of the first image added.
    // A bitmap wider than one image adds a strip of images, left to right.
    int Add(HBITMAP image, HBITMAP mask);
    // Pixels of maskColor become transparent.
    int AddMasked(HBITMAP image, COLORREF maskColor);
    int AddIcon(HICON icon);
    // A strip of images from a bitmap resource of the module; pixels of
    // maskColor become transparent. Returns the number of images added.
    int AddStripResource(HINSTANCE module, const std::string& name, COLORREF maskColor);
    void Clear();

    void Draw(HDC dc, int x, int y, int index, bool enabled = true) const;

private:
    HIMAGELIST handle_ = nullptr;
    int width_;
    int height_;
};

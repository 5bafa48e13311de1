#pragma once
// The window shown while Quillo starts: the program's GIF picture, without a
// border, on top, in the middle of the screen. The main window's start-up
// frees it.

#include "ExtCtrls.h"
#include "Form.h"
#include "Graphics.h"

#include <memory>

class TSplash : public TForm {
public:
    TSplash();

    TImage Image{this, this};

    // The image takes the size of its picture, and the form that of the image.
    void FormShow();
    TGraphic* Picture() const { return picture_.get(); }

private:
    std::unique_ptr<TGraphic> picture_;
};

extern std::unique_ptr<TSplash> Splash;

// The splash picture as the picture holder stores it, from the program's
// resources; null when the program has none.
std::unique_ptr<TGraphic> LoadSplashPicture();

// Creates the splash window, shows it and paints it at once.
void ShowSplash();
void CloseSplash();

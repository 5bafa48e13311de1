#pragma once
// The window shown while Quillo starts; the main window's start-up frees it.

#include "Form.h"

#include <memory>

class TSplash : public TForm {
public:
    TSplash();

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint();
};

extern std::unique_ptr<TSplash> Splash;

// Creates the splash window, shows it and paints it at once.
void ShowSplash();
void CloseSplash();

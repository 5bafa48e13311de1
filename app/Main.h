#pragma once
// Quillo's main window.

#include "Form.h"

class TMain : public TForm {
public:
    TMain();
    ~TMain() override;

    void FormCloseQuery(bool& canClose);
    void FormClose(TCloseAction& action);
};

// The one main window; set while it exists.
extern TMain* Main;

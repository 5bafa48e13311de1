#pragma once
// The rich-text edit control, run in plain-text mode as the page editor and
// as the hidden converter. (The line list, streaming and attributes come with
// the page editor.)

#include "Control.h"

// Which rich edit library is loaded: 1 (RICHED32) or 2 and 3 (RICHED20);
// 0 until the first control is made.
extern int RichEditVersion;

class TQRichEdit : public TControl {
public:
    TQRichEdit(TComponent* owner, TControl* parent);

    bool PlainText() const { return plainText_; }

private:
    bool plainText_ = true;
};

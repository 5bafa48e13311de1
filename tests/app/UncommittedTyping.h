#pragma once
// Typing the page editor holds but has not handed to its page yet: the
// editor had the focus and took the text, then another window was activated,
// as when the user switches to another program. The editor's exit handler
// runs only when another control of the main window takes the focus, so
// nothing has stored the text.

#include "Form.h"
#include "Main.h"
#include "RichEdit.h"
#include "RichEditStrings.h"

#include <string>

class UncommittedTyping {
public:
    explicit UncommittedTyping(const std::string& text)
    {
        Main->RichEdit->SetFocus();
        Main->RichEdit->SetText(text);
        Main->RichEdit->SetModified(true);
        other_.Show();
    }

private:
    class OtherWindow : public TForm {
    public:
        OtherWindow() : TForm(CreateParams{"Another program"}) {}
    };
    OtherWindow other_;
};

// Takes no byte: with it, the editor's text cannot be streamed out.
class RefusingConversion : public TConversion {
public:
    int ConvertWriteStream(TStream&, const char*, int) override { return 0; }
};

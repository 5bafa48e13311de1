#include "RichEdit.h"

#include "Exceptions.h"

#include <richedit.h>

int RichEditVersion = 0;

namespace {
// Loads the newest rich edit library once for the whole run and returns the
// window class it registers.
const char* RichEditClass()
{
    static const char* const className = [] {
        if (LoadLibraryA("RICHED20.DLL")) {
            RichEditVersion = 3;
            return "RichEdit20A";
        }
        if (LoadLibraryA("RICHED32.DLL")) {
            RichEditVersion = 1;
            return "RICHEDIT";
        }
        return static_cast<const char*>(nullptr);
    }();
    if (!className)
        throw EOutOfResources("Cannot load the rich edit library");
    return className;
}
}

TQRichEdit::TQRichEdit(TComponent* owner, TControl* parent) : TControl(owner, parent)
{
    CreateHandle(RichEditClass(), WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL,
                 WS_EX_CLIENTEDGE);
    if (RichEditVersion >= 2)
        SendMessageA(Handle(), EM_SETTEXTMODE, TM_PLAINTEXT | TM_SINGLELEVELUNDO, 0);
}

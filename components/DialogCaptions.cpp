#include "DialogCaptions.h"

#include <commdlg.h>
#include <dlgs.h>

#include <utility>

namespace {
constexpr int HelpButton = pshHelp;
}

void TApDlgCaptions::SetCaptions(HWND dialog) const
{
    const std::pair<int, const std::string*> texts[] = {{IDOK, &OK}, {IDCANCEL, &Cancel}, {HelpButton, &Help}};
    for (const auto& [control, text] : texts)
        if (!text->empty())
            SetDlgItemTextA(dialog, control, text->c_str());
}

void TApOpenDlgCaptions::SetCaptions(HWND dialog) const
{
    const std::pair<int, const std::string*> texts[] = {
        {IDOK, &OK},          {IDCANCEL, &Cancel},  {HelpButton, &Help},   {stc4, &LookIn},
        {stc3, &FileName},    {stc2, &FileType},    {chx1, &ReadOnlyFlag},
    };
    for (const auto& [control, text] : texts)
        if (!text->empty())
            SendMessageA(dialog, CDM_SETCONTROLTEXT, static_cast<WPARAM>(control),
                         reinterpret_cast<LPARAM>(text->c_str()));
}

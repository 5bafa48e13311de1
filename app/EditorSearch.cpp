#include "EditorSearch.h"

#include "RichEdit.h"

#include <commdlg.h>

namespace {
TCaseFold MakeSystemCaseFold()
{
    std::array<unsigned char, 256> upper{};
    std::array<unsigned char, 256> lower{};
    for (size_t c = 0; c < 256; ++c) {
        char one[2] = {static_cast<char>(c), 0};
        CharUpperBuffA(one, 1);
        upper[c] = static_cast<unsigned char>(one[0]);
        one[0] = static_cast<char>(c);
        CharLowerBuffA(one, 1);
        lower[c] = static_cast<unsigned char>(one[0]);
    }
    return CaseFoldOf(upper, lower);
}
}

TFindType FindTypeOf(bool matchCase, bool wholeWord)
{
    return static_cast<TFindType>((matchCase ? ftMatchCase : ftNone) | (wholeWord ? ftWholeWord : ftNone));
}

int SendFindText(TQCustomRichEdit& editor, const std::string& text, int start, TFindType type)
{
    // Without FR_DOWN the control searches backwards from start.
    WPARAM flags = FR_DOWN;
    if (type & ftMatchCase)
        flags |= FR_MATCHCASE;
    if (type & ftWholeWord)
        flags |= FR_WHOLEWORD;
    FINDTEXTEXA find{};
    find.chrg.cpMin = start;
    find.chrg.cpMax = -1;
    find.lpstrText = text.c_str();
    return static_cast<int>(SendMessageA(editor.Handle(), EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find)));
}

int FindInEditor(const std::string& text, int start, bool matchCase, bool wholeWord, TQCustomRichEdit& editor)
{
    return SendFindText(editor, text, start, FindTypeOf(matchCase, wholeWord));
}

const TCaseFold& SystemCaseFold()
{
    static const TCaseFold fold = MakeSystemCaseFold();
    return fold;
}

bool PageTextMatcherUsable()
{
    CPINFO info{};
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

#include "TextImport.h"

#include "AnsiStrings.h"
#include "ControlBusy.h"
#include "ConverterUse.h"
#include "Exceptions.h"
#include "LongLines.h"
#include "Main.h"
#include "MessageBoxes.h"
#include "PageData.h"
#include "Pages.h"
#include "RichEdit.h"
#include "SharedState.h"
#include "TreeView.h"

#include <fstream>
#include <iterator>

namespace {
inline const char* const CannotOpenText = "Cannot open input file!";

bool ReadText(const std::string& path, std::string& text)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return false;
    text.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

// Page bodies hold CR LF line ends, as the editor keeps them; a file may
// have LF or CR alone.
std::string WithCrLf(const std::string& text)
{
    std::string result;
    result.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            result += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            result += "\r\n";
        } else {
            result += c;
        }
    }
    return result;
}

std::string TitleOf(const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos)
        name.erase(dot);
    return name;
}

// Rich text goes through the hidden converter, which hands back its plain
// text; other files are read as they are.
bool ReadFileText(const std::string& path, std::string& text)
{
    if (!SameText(ExtractFileExt(path), ".rtf"))
        return ReadText(path, text);
    TConverterUse converter(*Main->Rich);
    try {
        text = converter.PlainTextOf(path);
        return true;
    } catch (const Exception&) {
        return false;
    }
}
}

bool ImportTextFile(const std::string& path)
{
    std::string text;
    {
        const TControlBusy busy(*Main->RichEdit);
        if (!ReadFileText(path, text)) {
            ShowInfoMessage(CannotOpenText);
            return false;
        }
    }
    if (!CheckPageLimits())
        return false;
    if (Main->RichEdit->Focused())
        Main->RichEditExit();
    TTreeNode* page = AddChildPage(TitleOf(path));
    PageDataOf(page)->SetBodyText(WithCrLf(BreakLongLines(std::move(text))));
    TTreeView& tree = *Main->Tree;
    tree.SetSelected(page);
    OutlineProperties.FileChanged = 1;
    if (TTreeNode* parent = page->Parent())
        parent->Expand(false);
    tree.SetPopupMenu(Main->PopupMenuNamed("PopupPage"));
    Main->TreeClick();
    return true;
}

#include "FileDialogs.h"

#include "AnsiStrings.h"
#include "Application.h"
#include "Form.h"

#include <cderr.h>

#include <algorithm>
#include <vector>

namespace {
// Long enough for any path the system dialogs return.
constexpr size_t FileNameCapacity = 4096;

struct DialogHandlers {
    TOpenDialogHandler open;
    TOpenDialogHandler save;
    TFontDialogHandler font;
};

DialogHandlers& Handlers()
{
    static auto* handlers = new DialogHandlers;
    return *handlers;
}

HWND DialogOwner()
{
    if (HWND active = GetActiveWindow())
        return active;
    TForm* mainForm = Application.MainForm();
    return mainForm ? mainForm->Handle() : nullptr;
}

std::string CleanPatterns(const std::string& patterns)
{
    std::string cleaned;
    size_t start = 0;
    while (start <= patterns.size()) {
        size_t end = patterns.find(';', start);
        if (end == std::string::npos)
            end = patterns.size();
        const std::string pattern = Trim(patterns.substr(start, end - start));
        if (!pattern.empty()) {
            if (!cleaned.empty())
                cleaned += ';';
            cleaned += pattern;
        }
        start = end + 1;
    }
    return cleaned;
}

const char* NullIfEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
}

std::string ConvertFileFilter(const std::string& filter)
{
    std::string converted;
    size_t start = 0;
    bool description = true;
    while (start < filter.size()) {
        size_t end = filter.find('|', start);
        if (end == std::string::npos)
            end = filter.size();
        const std::string field = filter.substr(start, end - start);
        converted += description ? field : CleanPatterns(field);
        converted += '\0';
        description = !description;
        start = end + 1;
    }
    // A description without patterns gets empty ones.
    if (!description)
        converted += '\0';
    converted += '\0';
    return converted;
}

// --- Open and save -----------------------------------------------------------

TOpenDialog::TOpenDialog(TComponent* owner) : TOpenDialog(owner, TFileDialogKind::fdOpen) {}

TOpenDialog::TOpenDialog(TComponent* owner, TFileDialogKind kind) : TComponent(owner), kind_(kind) {}

TSaveDialog::TSaveDialog(TComponent* owner) : TOpenDialog(owner, TFileDialogKind::fdSave) {}

DWORD TOpenDialog::SystemFlags() const
{
    DWORD flags = OFN_EXPLORER;
    if (Options & ofHideReadOnly)
        flags |= OFN_HIDEREADONLY;
    if (Options & ofNoChangeDir)
        flags |= OFN_NOCHANGEDIR;
    if (Options & ofFileMustExist)
        flags |= OFN_FILEMUSTEXIST;
    if (Options & ofPathMustExist)
        flags |= OFN_PATHMUSTEXIST;
    if (Options & ofOverwritePrompt)
        flags |= OFN_OVERWRITEPROMPT;
    if (Options & ofEnableSizing)
        flags |= OFN_ENABLESIZING;
    return flags;
}

bool TOpenDialog::Execute()
{
    const TOpenDialogHandler& handler = kind_ == TFileDialogKind::fdOpen ? Handlers().open : Handlers().save;
    if (handler)
        return handler(*this);

    const std::string filter = ConvertFileFilter(Filter);
    std::vector<char> fileName(FileNameCapacity, '\0');
    FileName.copy(fileName.data(), std::min(FileName.size(), fileName.size() - 1));

    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = DialogOwner();
    record.lpstrFilter = Filter.empty() ? nullptr : filter.c_str();
    record.nFilterIndex = static_cast<DWORD>(FilterIndex > 0 ? FilterIndex : 1);
    record.lpstrFile = fileName.data();
    record.nMaxFile = static_cast<DWORD>(fileName.size());
    record.lpstrInitialDir = NullIfEmpty(InitialDir);
    record.lpstrTitle = NullIfEmpty(Title);
    record.lpstrDefExt = NullIfEmpty(DefaultExt);
    record.Flags = SystemFlags();
    bool chosen = ShowSystemDialog(record);
    // The dialog refuses to open with a proposed name it cannot use (a stray
    // character, a name too long); it opens with no name instead.
    if (!chosen && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
        fileName.assign(fileName.size(), '\0');
        chosen = ShowSystemDialog(record);
    }
    if (!chosen)
        return false;
    FileName = record.lpstrFile;
    FilterIndex = static_cast<int>(record.nFilterIndex);
    return true;
}

bool TOpenDialog::ShowSystemDialog(OPENFILENAMEA& record)
{
    return (kind_ == TFileDialogKind::fdOpen ? GetOpenFileNameA(&record) : GetSaveFileNameA(&record)) != FALSE;
}

// --- Font --------------------------------------------------------------------

TFontDialog::TFontDialog(TComponent* owner) : TComponent(owner) {}

DWORD TFontDialog::SystemFlags() const
{
    DWORD flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
    if (Options & fdAnsiOnly)
        flags |= CF_ANSIONLY;
    if (Options & fdLimitSize)
        flags |= CF_LIMITSIZE;
    if (Options & fdEffects)
        flags |= CF_EFFECTS;
    if (Options & fdForceFontExist)
        flags |= CF_FORCEFONTEXIST;
    return flags;
}

bool TFontDialog::Execute()
{
    if (Handlers().font)
        return Handlers().font(*this);

    HDC screen = GetDC(nullptr);
    const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);

    LOGFONTA font{};
    font.lfHeight = -MulDiv(FontSize, pixelsPerInch, 72);
    font.lfWeight = (FontStyle & fsBold) ? FW_BOLD : FW_NORMAL;
    font.lfItalic = (FontStyle & fsItalic) ? TRUE : FALSE;
    font.lfUnderline = (FontStyle & fsUnderline) ? TRUE : FALSE;
    font.lfStrikeOut = (FontStyle & fsStrikeOut) ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, FontName.c_str(), LF_FACESIZE);

    CHOOSEFONTA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = DialogOwner();
    record.lpLogFont = &font;
    record.Flags = SystemFlags();
    record.rgbColors = FontColor;
    record.nSizeMin = MinFontSize;
    record.nSizeMax = MaxFontSize;
    if (!ChooseFontA(&record))
        return false;

    FontName = font.lfFaceName;
    FontSize = record.iPointSize > 0 ? record.iPointSize / 10 : MulDiv(-font.lfHeight, 72, pixelsPerInch);
    FontStyle = (font.lfWeight >= FW_BOLD ? fsBold : 0) | (font.lfItalic ? fsItalic : 0) |
                (font.lfUnderline ? fsUnderline : 0) | (font.lfStrikeOut ? fsStrikeOut : 0);
    FontColor = record.rgbColors;
    return true;
}

void SetOpenDialogHandler(TOpenDialogHandler handler) { Handlers().open = std::move(handler); }
void SetSaveDialogHandler(TOpenDialogHandler handler) { Handlers().save = std::move(handler); }
void SetFontDialogHandler(TFontDialogHandler handler) { Handlers().font = std::move(handler); }

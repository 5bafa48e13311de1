#pragma once
// The open, save and font dialogs. Each kind can be answered by a handler
// instead of the user: tests install one, and the program never notices the
// difference because the handler fills in the same properties the real dialog
// would.

#include "Component.h"
#include "FontDescription.h"

#include <windows.h>

#include <commdlg.h>

#include <functional>
#include <string>

// Options of the open and save dialogs.
using TOpenOptions = unsigned;
inline constexpr TOpenOptions ofHideReadOnly = 1u << 0;
inline constexpr TOpenOptions ofNoChangeDir = 1u << 1;
inline constexpr TOpenOptions ofFileMustExist = 1u << 2;
inline constexpr TOpenOptions ofPathMustExist = 1u << 3;
inline constexpr TOpenOptions ofOverwritePrompt = 1u << 4;
inline constexpr TOpenOptions ofEnableSizing = 1u << 5;

enum class TFileDialogKind { fdOpen, fdSave };

// "Text File(*.txt)|*.txt|Any File(*.*)|*.*" -> the list of NUL-ended
// strings the system dialogs take, ending with an extra NUL. Descriptions stay
// as they are; in the patterns, blanks around each pattern and empty patterns
// (a trailing ';') are dropped.
std::string ConvertFileFilter(const std::string& filter);

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner = nullptr);

    TFileDialogKind Kind() const { return kind_; }

    std::string Title;
    // Pairs of description and patterns, separated by '|'.
    std::string Filter;
    // 1-based; the dialog sets it to the filter the user chose.
    int FilterIndex = 1;
    // Added to a file name typed without one; no dot.
    std::string DefaultExt;
    std::string InitialDir;
    // In: the name proposed; out: the file chosen.
    std::string FileName;
    TOpenOptions Options = ofHideReadOnly | ofEnableSizing;

    // True when the user chose a file; FileName and FilterIndex then tell which.
    bool Execute();

    // The option bits of the system record for Options.
    DWORD SystemFlags() const;

protected:
    TOpenDialog(TComponent* owner, TFileDialogKind kind);
    // Shows the system dialog with a record made from the properties. A
    // derived dialog may add a hook or a template to the record first.
    virtual bool ShowSystemDialog(OPENFILENAMEA& record);

private:
    TFileDialogKind kind_;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner = nullptr);
};

using TFontDialogOptions = unsigned;
inline constexpr TFontDialogOptions fdAnsiOnly = 1u << 0;
// Sizes outside MinFontSize..MaxFontSize are refused.
inline constexpr TFontDialogOptions fdLimitSize = 1u << 1;
// Underline, strike-out and colour can be chosen.
inline constexpr TFontDialogOptions fdEffects = 1u << 2;
inline constexpr TFontDialogOptions fdForceFontExist = 1u << 3;

class TFontDialog : public TComponent {
public:
    explicit TFontDialog(TComponent* owner = nullptr);

    // In: the font shown first; out: the font chosen.
    std::string FontName = "MS Sans Serif";
    int FontSize = 8; // points
    TFontStyles FontStyle = 0;
    COLORREF FontColor = RGB(0, 0, 0);

    TFontDialogOptions Options = fdEffects;
    int MinFontSize = 0;
    int MaxFontSize = 0;

    bool Execute();

    // The option bits of the system record for Options.
    DWORD SystemFlags() const;
};

// Answer the dialogs instead of the user; an empty function shows the real
// dialog. A handler returns what Execute returns, after setting FileName
// (and FilterIndex, or the font) as the user's choice would.
using TOpenDialogHandler = std::function<bool(TOpenDialog& dialog)>;
using TFontDialogHandler = std::function<bool(TFontDialog& dialog)>;
void SetOpenDialogHandler(TOpenDialogHandler handler);
void SetSaveDialogHandler(TOpenDialogHandler handler);
void SetFontDialogHandler(TFontDialogHandler handler);

#pragma once
// Replacement texts for the controls of a system dialog. An empty text leaves
// the control as the system labelled it.

#include <windows.h>

#include <string>

class TApDlgCaptions {
public:
    virtual ~TApDlgCaptions() = default;

    std::string OK;
    std::string Cancel;
    std::string Help;

    // Sets the window texts of the OK, Cancel and Help buttons.
    virtual void SetCaptions(HWND dialog) const;
};

// For the Explorer-style file dialogs, whose controls are relabelled through
// the dialog itself.
class TApOpenDlgCaptions : public TApDlgCaptions {
public:
    std::string ReadOnlyFlag;
    std::string FileType;
    std::string FileName;
    std::string LookIn;

    void SetCaptions(HWND dialog) const override;
};

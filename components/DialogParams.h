#pragma once
// The parameters of the extended file dialog: up to five borderless forms
// docked into the system dialog window while it is shown (left, top, right
// and bottom panels around the system controls, and a custom form that can
// take the place of the file list), where the dialog window goes on the
// screen, and the geometry the dialog's message handling keeps.

#include "DialogGeometry.h"

#include <windows.h>

#include <string>
#include <vector>

class TComponent;
class TForm;

enum class TApDlgPosition { dpDefault, dpScrCenter, dpMainFormCenter, dpOwnerCenter, dpFormCenter };

// Finds, when form is still null and the name is not empty, the first form
// owned by the application whose class is "T" + name, compared without
// regard to case. No match leaves form null.
void CreateFormAs(TForm*& form, const std::string& name);

// Centres the window on the screen, fitted to it; size and z-order are kept.
void ApCenterWindow(HWND window);

class TApPosParams {
public:
    int ShiftX = 0;
    int ShiftY = 0;
    bool FitToScreen = false;
    // The reference form of dpFormCenter, found by FormName when not set.
    TForm* Form = nullptr;

    const std::string& FormName() const { return formName_; }
    // Forgets Form, so the form is looked up again at the next show.
    void SetFormName(const std::string& name);

    // Copies everything but the form's name.
    void Assign(const TApPosParams& source);

private:
    std::string formName_;
};

class TApCustDlgParams {
public:
    // The dialog is the component whose owner dpOwnerCenter centres over.
    explicit TApCustDlgParams(TComponent* dialog = nullptr);
    virtual ~TApCustDlgParams();
    TApCustDlgParams(const TApCustDlgParams&) = delete;
    TApCustDlgParams& operator=(const TApCustDlgParams&) = delete;

    TApDlgPosition Position = TApDlgPosition::dpDefault;
    TApPosParams PosParams;
    // Class names of the panel forms without their leading "T".
    std::string BottomFormName;
    std::string RightFormName;
    std::string TopFormName;
    std::string LeftFormName;

    const std::string& CustFormName() const { return custFormName_; }
    // Forgets the custom form, so it is looked up again at the next show.
    void SetCustFormName(const std::string& name);

    // The panel forms: null until found by name or set. Setting one empties
    // its name. A form once found stays referenced from one show to the next.
    TForm* BottomForm() const { return bottomForm_; }
    TForm* TopForm() const { return topForm_; }
    TForm* LeftForm() const { return leftForm_; }
    TForm* RightForm() const { return rightForm_; }
    TForm* CustForm() const { return custForm_; }
    void SetBottomForm(TForm* form);
    void SetTopForm(TForm* form);
    void SetLeftForm(TForm* form);
    void SetRightForm(TForm* form);
    void SetCustForm(TForm* form);

    // Copies the forms, their names, the position and its parameters.
    virtual void Assign(const TApCustDlgParams& source);

    // Docks the panels into the dialog window and enlarges it by them.
    virtual void ConnectForms(HWND dialog);
    // Hides the panels and takes them out of the dialog window, which may
    // be about to go; the forms themselves are left to their owners.
    virtual void DisconnectForms();

    // The dialog's client area became width x height: the panels follow in
    // size (never in position) and the file list rectangle grows with it.
    void OnResizeWindow(int clientWidth, int clientHeight);
    // For a context menu asked for at the message's screen point: allow is
    // cleared when a framework control with a popup menu of its own lies
    // there, so the system dialog does not show its menu as well. A menu
    // asked for from the keyboard ((-1, -1)) is for the focused window.
    void TrackContextMenus(bool& allow, UINT message, WPARAM wParam, LPARAM lParam) const;
    // Puts the dialog window where Position and PosParams say.
    void ApSetPosition(HWND dialog) const;

    // The dialog's client size at show; the baseline of OnResizeWindow.
    void SetClientSize(int width, int height);
    // The file list area in dialog client pixels; the custom form goes there.
    const TDlgBounds& FileListRect() const { return fileListRect_; }
    void SetFileListRect(const TDlgBounds& rect) { fileListRect_ = rect; }
    // What the docked panels added to the dialog window; 0 when none is docked.
    int ExtraWidth() const { return extraWidth_; }
    int ExtraHeight() const { return extraHeight_; }
    HWND DialogWindow() const { return dialogWnd_; }

    // Makes the form a borderless child of the dialog in its tab order and
    // shows it, firing its show event; UndockForm hides it (its hide event)
    // and gives it back its own window styles, out of the dialog.
    void DockForm(TForm& form, HWND dialog);
    void UndockForm(TForm* form);

private:
    struct DockedForm {
        TForm* form = nullptr;
        LONG_PTR style = 0;
        LONG_PTR exStyle = 0;
    };
    TDockedPanelSizes PanelSizes() const;
    TForm* ReferenceForm() const;

    TForm* topForm_ = nullptr;
    TForm* leftForm_ = nullptr;
    TForm* bottomForm_ = nullptr;
    TForm* rightForm_ = nullptr;
    TForm* custForm_ = nullptr;
    std::string custFormName_;
    TComponent* dialog_;
    HWND dialogWnd_ = nullptr;
    int lastClientWidth_ = 0;
    int lastClientHeight_ = 0;
    TDlgBounds fileListRect_;
    int extraWidth_ = 0;
    int extraHeight_ = 0;
    // The docked forms with the window styles they had before.
    std::vector<DockedForm> docked_;
};

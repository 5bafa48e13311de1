#pragma once
// The places bar of the extended file dialogs: a borderless form put inside
// the dialog at its left, with a button per place. A click takes the dialog
// to the place; the bar follows the dialog's folder; the user reorders places
// by dragging, deletes and edits them from the popup menu and adds new ones
// by dropping files and folders on the bar.

#include "ExtCtrls.h"
#include "Form.h"
#include "Menus.h"
#include "PageScroller.h"
#include "PlaceButton.h"
#include "PlacesBarOptions.h"
#include "ShellFolders.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

// What the bar needs of the dialog it sits in.
class TApPlacesBarDialog {
public:
    virtual ~TApPlacesBarDialog() = default;
    // The system dialog's window.
    virtual HWND DialogWindow() const = 0;
    virtual std::string GetSelPath() = 0;
    virtual void SetSelPath(const std::string& path) = 0;
    virtual void SetFNameText(const std::string& text) = 0;
    // The current folder's item list; it belongs to the dialog.
    virtual LPCITEMIDLIST GetSelPathPidl() = 0;
};

class TApPlacesBarFrm : public TForm {
public:
    TApPlacesBarFrm();
    ~TApPlacesBarFrm() override;

    TApPlacesBarDialog* Dialog() const { return dialog_; }
    void SetDialog(TApPlacesBarDialog* dialog) { dialog_ = dialog; }
    // The bar keeps the dialog's side for as long as it lives.
    void AdoptDialog(std::unique_ptr<TApPlacesBarDialog> dialog)
    {
        ownedDialog_ = std::move(dialog);
        dialog_ = ownedDialog_.get();
    }
    TApPlaces* Places() const { return places_; }
    void SetPlaces(TApPlaces* places) { places_ = places; }

    // Takes the dialog to the place of button index.
    void OnFolderClick(int index);
    // Presses the button of the dialog's current folder, if a place is it.
    void FollowFolder();
    // Makes the buttons again from the places.
    void UpdatePlaces();
    // The bar's height from the dialog's file list to its file type box.
    void FitToDialog();
    // The button the popup menu was opened for, or null.
    TApPlaceButton* PopupTarget() const;

    void Deleteplace1Click();
    void Changeplace1Click();
    // Adds a place for each file or folder dropped; frees the drop.
    void DropFiles(HDROP drop);

    TPanel Panel1{this, this};
    TPageScroller ps1{this, &Panel1};
    TApPlacesToolBar ToolBar1{this, &ps1};
    TPopupMenu pop1{this};
    TMenuItem* Deleteplace1 = nullptr;
    TMenuItem* Changeplace1 = nullptr;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FormCreate();
    void MovePlace(int from, int to);
    void ShowTargetOnMenu();

    std::unique_ptr<TApPlacesBarDialog> ownedDialog_;
    TApPlacesBarDialog* dialog_ = nullptr;
    TApPlaces* places_ = nullptr;
    // The place the open popup menu acts on, taken when it opens.
    int popupTarget_ = -1;
    // The places' item lists, parsed once per set of buttons: following the
    // folder compares them at every folder change. A place not found is
    // looked for again each time (its folder may appear).
    std::vector<ItemIdList> placeLists_;
};

// Makes a button per place on the bar, in the places' order.
void UpdatePlacesOn(const TApPlaces& places, TApPlacesToolBar& bar);

// Builds the bar inside the dialog's window: moves the dialog's controls to
// make room, loads the places kept in the registry, and shows the bar. The
// caller frees it before the dialog's window goes.
std::unique_ptr<TApPlacesBarFrm> BuildPlacesBarIn(TApPlacesBarDialog& dialog, TApPlacesBarOptions& options);

inline constexpr int PlacesBarExtraWidth = 90;
// How far the dialog's controls move right for the bar, and how much wider
// the dialog gets.
int PlacesBarShift();
inline const char* const DeletePlaceQuestion = "Are you sure you want to delete this place?\rPlace: ";
inline const char* const DeletePlaceCaption = "Place bar";

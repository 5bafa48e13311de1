#pragma once
// The form in which one place of the places bar is made or edited: what it
// points at, its caption and hint, and its two icons from an icon library.
// The bar opens it for "Properties..." and for every file dropped on it.

#include "ExtCtrls.h"
#include "Form.h"
#include "GdiHandles.h"
#include "Grids.h"
#include "Places.h"
#include "SpeedButton.h"
#include "StdCtrls.h"

#include <memory>
#include <string>

class TApAddPlaceFrm : public TForm {
public:
    // Target types, by their position in cbTargetType.
    enum TargetType { ttPath = 0, ttShellFolder = 1, ttRegistryValue = 2 };

    explicit TApAddPlaceFrm(TComponent* owner = nullptr);
    ~TApAddPlaceFrm() override;

    // OK adds a new place to places, or changes place when one is edited.
    void SetPlaces(TApPlaces* places) { places_ = places; }
    void SetPlace(TApPlace* place) { place_ = place; }
    TApPlace* Place() const { return place_; }
    // Puts the edited place into the controls.
    void InitControls();
    // Presets the controls for a file or folder dropped on the bar: a new
    // place named after it, with the library's folder or file icons.
    void PresetForDrop(const std::string& path);
    // The library whose icons the grids show; empty when none.
    const std::string& IconLibrary() const { return library_; }

    // The handlers, public for the bar and the tests.
    void FormShow();
    void chkClick();
    void chkAutoCapClick();
    void btnShowIconsClick();
    void btnBrowseLibClick();
    void Button1Click();

    TComboBox& ePath() { return *ePath_; }

    TPanel Panel1{this, this};
    TImage Image1{this, &Panel1};
    TLabel Label7{this, this, "Fastest way to access your folders and files"};
    TLabel Label8{this, this, "&Target type:"};
    TComboBox cbTargetType{this, this, TComboBoxStyle::csDropDownList};
    TLabel Label1{this, this, "Target:"};

private:
    std::unique_ptr<TComboBox> ePath_;

public:
    TLabel Label2{this, this, "&Caption:"};
    TEdit eShort{this, this};
    TCheckBox chkAutoCap{this, this, "&Auto caption"};
    TLabel Label3{this, this, "&Hint:"};
    TEdit eHint{this, this};
    TLabel Label6{this, this, "&Icons from library:"};
    TEdit eIconLib{this, this, "shell32.dll"};
    TSpeedButton btnShowIcons{this, this, ">"};
    TSpeedButton btnBrowseLib{this, this, "..."};
    TLabel Label4{this, this, "&Normal:"};
    TStringGrid dg1{this, this, 0, 1, 40};
    TLabel Label5{this, this, "S&elected:"};
    TStringGrid dg2{this, this, 0, 1, 40};
    TPanel Bevel1{this, this};
    TButton Button1{this, this, "OK"};
    TButton Button2{this, this, "Cancel"};

private:
    void PlaceControls();
    void NameControls();
    // Makes ePath a drop-down list (shell folders) or a drop-down combo.
    void SetPathStyle(TComboBoxStyle style);
    void FillShellFolders();
    void SelectIcon(TStringGrid& grid, int index);
    void DrawIconCell(HDC dc, int col, const RECT& rect, bool focused);

    TApPlaces* places_ = nullptr;
    TApPlace* place_ = nullptr;
    std::string library_;
    GdiObject<HFONT> titleFont_;
    HICON picture_ = nullptr;
};

// The texts of the form's icon library check.
inline const char* const NoIconsText = "No icons were found in the file";
inline const char* const NoIconsCaption = "New place - Icon library";

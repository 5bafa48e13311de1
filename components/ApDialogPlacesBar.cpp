// The extended file dialog's side of its own places bar: building the bar in
// the dialog, fitting it, following the folder, storing edited places.

#include "ApDialogs.h"

#include "Application.h"
#include "PlacesBarForm.h"

namespace {
// What the bar asks of the dialog, answered by the dialog.
class DialogSide final : public TApPlacesBarDialog {
public:
    explicit DialogSide(TApCustomOpenDialog& dialog) : dialog_(dialog) {}
    HWND DialogWindow() const override { return dialog_.DialogWindow(); }
    std::string GetSelPath() override { return dialog_.GetSelPath(); }
    void SetSelPath(const std::string& path) override { dialog_.SetSelPath(path); }
    void SetFNameText(const std::string& text) override { dialog_.SetFNameText(text); }
    LPCITEMIDLIST GetSelPathPidl() override { return dialog_.GetSelPathPidl(); }

private:
    TApCustomOpenDialog& dialog_;
};

TApPlacesBarFrm* Bar(TForm* form) { return static_cast<TApPlacesBarFrm*>(form); }
} // namespace

void TApCustomOpenDialog::BuildPlacesBar()
{
    auto side = std::make_unique<DialogSide>(*this);
    auto bar = BuildPlacesBarIn(*side, PlacesBar);
    bar->AdoptDialog(std::move(side));
    // The room made for the bar, which the first paint keeps and the close
    // step takes off again.
    FPlacesBarWidth = PlacesBarShift();
    placesBarForm_ = bar.release();
}

void TApCustomOpenDialog::ResizePlacesBar()
{
    if (placesBarForm_)
        Bar(placesBarForm_)->FitToDialog();
}

void TApCustomOpenDialog::DestroyPlacesBar()
{
    if (placesBarForm_) {
        ShowWindow(placesBarForm_->Handle(), SW_HIDE);
        SetParent(placesBarForm_->Handle(), nullptr);
        delete Bar(placesBarForm_);
    }
    placesBarForm_ = nullptr;
    FPlacesBarWidth = 0;
}

void TApCustomOpenDialog::PlacesBarFollowFolder()
{
    if (placesBarForm_)
        Bar(placesBarForm_)->FollowFolder();
}

void TApCustomOpenDialog::SavePlacesBar()
{
    // Whenever the component's bar was up, also where the system's was
    // asked for but the system has none.
    if (!ShowCustomPlacesBar() || PlacesBar.RegistryKey.empty())
        return;
    try {
        PlacesBar.SaveToRegistry();
    } catch (const std::exception& error) {
        // The rest of the close step must still run.
        Application.HandleException(error);
    }
}

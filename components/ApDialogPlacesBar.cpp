// The extended file dialog's side of its own places bar: building the bar in
// the dialog, fitting it, following the folder, storing edited places.
// Until the bar exists the dialog shows none, and these steps do nothing.

#include "ApDialogs.h"

void TApCustomOpenDialog::BuildPlacesBar() { FPlacesBarWidth = 0; }

void TApCustomOpenDialog::ResizePlacesBar() {}

void TApCustomOpenDialog::DestroyPlacesBar()
{
    placesBarForm_ = nullptr;
    FPlacesBarWidth = 0;
}

void TApCustomOpenDialog::PlacesBarFollowFolder() {}

void TApCustomOpenDialog::SavePlacesBar() {}

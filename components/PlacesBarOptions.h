#pragma once
// The places bar options of the extended file dialogs: whether the bar shows,
// what the user may do on it, its places, and the registry key that keeps
// them from one run to the next.

#include "Places.h"

#include <string>

enum class TBorderStyle { bsNone, bsSingle };

class TApPlacesBarOptions {
public:
    // Empty: the places live only as long as the options.
    std::string RegistryKey;
    bool Visible = false;
    bool AllowEdit = true;
    bool AllowDelete = true;
    bool AllowDrop = true;
    bool AutoScroll = true;
    TBorderStyle BorderStyle = TBorderStyle::bsNone;
    // The system's own bar where the system has one.
    bool Native = false;

    TApPlaces& Places() { return places_; }
    const TApPlaces& Places() const { return places_; }
    // Copies the places.
    void SetPlaces(const TApPlaces& places) { places_ = places; }

    // Replaces the places by those kept under RegistryKey, in the order they
    // were saved. Nothing kept yet (no key) changes nothing and says nothing;
    // a key that exists but cannot be opened is reported. A value that is
    // missing or of another type takes a new place's default.
    void LoadFromRegistry();
    // Writes the places under RegistryKey as subkeys "Place_0", "Place_1"...
    // after removing every subkey there. A key that cannot be opened or
    // created writes nothing; a value that cannot be written raises the
    // registry's error.
    void SaveToRegistry() const;

private:
    TApPlaces places_;
};

// Reported by LoadFromRegistry.
inline const char* const PlacesLoadFailedText = "Ostrel Places Bar: Could not load data from registry";

#pragma once
// The places bar of the extended file dialog: which bar is wanted. The bar
// itself, its places and their registry storage are built on this.

class TApPlacesBarOptions {
public:
    // Show a places bar at all.
    bool Visible = false;
    // Let the system draw its own bar where it can (the larger dialog record),
    // instead of the component's.
    bool Native = false;
};

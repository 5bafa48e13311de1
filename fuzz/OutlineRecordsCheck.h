#pragma once
// What every outline reader must hand back, whatever the bytes: a root, and
// parents that point at earlier pages. Aborts otherwise, for the fuzzer.

#include "KbfFormat.h"

#include <cstdlib>

inline void AbortUnlessWellFormed(const KbfOutline& outline)
{
    if (outline.pages.empty())
        std::abort();
    for (std::size_t i = 1; i < outline.pages.size(); ++i) {
        const auto parent = outline.pages[i].parent;
        if (parent < 0 || static_cast<std::size_t>(parent) >= i)
            std::abort();
    }
}

#pragma once
// Which picture of a multi-picture icon suits the screen: the one whose
// colour count matches the screen's, else the richest that the screen can
// show, else the first.

#include "IconFileImage.h"

#include <cstddef>
#include <cstdint>
#include <span>

// The screen's colour value as a directory entry stores colour counts: 0 for
// 24 bits; otherwise 2 to the power of the bits taken modulo 32 and kept in 16
// bits, so 16 bits give 0 and 32 bits give 1.
std::uint16_t ScreenColorValue(int planes, int bitsPerPixel);

// The index of the entry to build; 0 when none fits. `entries` is not empty.
std::size_t ChooseIconEntry(std::span<const IconDirEntry> entries, std::uint16_t screenValue);

#include "IconEntryChoice.h"

std::uint16_t ScreenColorValue(int planes, int bitsPerPixel)
{
    const long long depth = static_cast<long long>(planes) * bitsPerPixel;
    if (depth == 24)
        return 0;
    // Shifting by 32 or more is undefined in C++; the stored value keeps only
    // the low 16 bits of 2 to the power of the depth modulo 32.
    const unsigned shift = static_cast<unsigned>(depth & 31);
    return shift < 16 ? static_cast<std::uint16_t>(1u << shift) : 0;
}

std::size_t ChooseIconEntry(std::span<const IconDirEntry> entries, std::uint16_t screenValue)
{
    bool haveCandidate = false;
    std::size_t candidate = 0;
    unsigned remembered = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const unsigned colors = entries[i].colorCount;
        if (colors == screenValue)
            return i;
        if (!haveCandidate) {
            if (colors <= screenValue) {
                haveCandidate = true;
                candidate = i;
                remembered = colors;
            }
        } else if (colors > remembered) {
            // The remembered count stays that of the first candidate.
            candidate = i;
        }
    }
    return candidate;
}

// Feeds arbitrary bytes to the ActionOutline reader: it must return without
// reading outside the bytes, keep a root, and hand back only parents that
// point at earlier pages.

#include "ActionOutlineFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KbfOutline outline;
    ReadActionOutline(std::string_view(reinterpret_cast<const char*>(data), size), outline);
    if (outline.pages.empty())
        std::abort();
    for (std::size_t i = 1; i < outline.pages.size(); ++i) {
        const auto parent = outline.pages[i].parent;
        if (parent < 0 || static_cast<std::size_t>(parent) >= i)
            std::abort();
    }
    return 0;
}

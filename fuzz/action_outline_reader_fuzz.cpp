// Feeds arbitrary bytes to the ActionOutline reader: it must return without
// reading outside the bytes, keep a root, and hand back only parents that
// point at earlier pages.

#include "ActionOutlineFormat.h"

#include "OutlineRecordsCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KbfOutline outline;
    ReadActionOutline(std::string_view(reinterpret_cast<const char*>(data), size), outline);
    AbortUnlessWellFormed(outline);
    return 0;
}

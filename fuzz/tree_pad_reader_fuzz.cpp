// Feeds arbitrary bytes to the TreePad reader: it must return without a
// crash or a hang, keep a root, and hand back only parents that point at
// earlier pages.

#include "TreePadFormat.h"

#include "OutlineRecordsCheck.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    KbfOutline outline;
    ReadTreePad(std::string_view(reinterpret_cast<const char*>(data), size), outline);
    AbortUnlessWellFormed(outline);
    return 0;
}

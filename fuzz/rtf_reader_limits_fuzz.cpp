// The screen before the rich edit control's RTF reader ends on any bytes,
// passes whatever does not begin as RTF, and gives the same verdict twice.
#include "RtfReaderLimits.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const bool passes = RichEditCanReadRtf(bytes);
    if (passes != RichEditCanReadRtf(bytes))
        std::abort();
    if (!passes && !bytes.starts_with("{\\rtf") && !bytes.starts_with("{\\urtf"))
        std::abort();
    return 0;
}

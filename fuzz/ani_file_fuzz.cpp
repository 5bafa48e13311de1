// Feeds arbitrary bytes to the animated cursor reader. Whatever the bytes it
// must end in contents or the read error, without a crash, a hang or an
// allocation beyond what the bytes could hold; every frame it keeps has an
// image that reads as an icon file image.

#include "AniFile.h"
#include "Exceptions.h"
#include "IconFileImage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AniContents contents;
    try {
        contents = ReadAniContents(std::string_view(reinterpret_cast<const char*>(data), size));
    } catch (const EReadError&) {
        return 0;
    }
    if (contents.frames.empty() || contents.header.steps != contents.frames.size() || contents.title.size() > 255 ||
        contents.creator.size() > 255 || contents.frames.size() > size)
        std::abort();
    for (const AniFrame& frame : contents.frames) {
        if (frame.image < 0 || static_cast<std::size_t>(frame.image) >= contents.images.size())
            std::abort();
    }
    for (const AniImage& image : contents.images) {
        IconDirectory directory;
        if (ReadIconDirectory(image.bytes, directory) != IconImageError::None ||
            directory.header.type != kIconImageType)
            std::abort();
    }
    return 0;
}

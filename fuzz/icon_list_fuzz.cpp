// Feeds arbitrary bytes to the icon list's stream reader and each slot it
// hands out to the icon file image reader. Whatever the bytes, it must end in
// slots or the read error, and never hand out more bytes than it was given.

#include "Exceptions.h"
#include "IconFileImage.h"
#include "IconListStream.h"
#include "Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TStringStream stream(std::string(reinterpret_cast<const char*>(data), size));
    std::size_t handedOut = 0;
    try {
        ReadIconListData(stream, [&](std::string&& bytes) {
            handedOut += bytes.size();
            IconDirectory directory;
            if (ReadIconDirectory(bytes, directory) == IconImageError::None) {
                for (const IconDirEntry& entry : directory.entries) {
                    IconImageParts parts;
                    LocateIconImage(bytes, entry, parts);
                }
            }
        });
    } catch (const EReadError&) {
    }
    if (handedOut > size)
        std::abort();
    return 0;
}

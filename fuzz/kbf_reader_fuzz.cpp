// Feeds arbitrary bytes to the ".kbf" reader. Whatever the bytes, the reader
// must return without a crash, a hang or a huge allocation, leave a usable
// root, and never hand back a parent that does not point at an earlier page.
// What it accepts must write and read back to the same pages.

#include "KbfFormat.h"
#include "Streams.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    KbfOutline outline;
    const KbfReadResult result = ReadKbfBytes(bytes, outline);
    if (outline.pages.empty()) {
        std::abort();
    }
    for (std::size_t i = 1; i < outline.pages.size(); ++i) {
        const KbfPage& page = outline.pages[i];
        if (page.parent < 0 || static_cast<std::size_t>(page.parent) >= i || page.expand < 0 || page.expand > 2) {
            std::abort();
        }
    }
    if (result != KbfReadResult::Ok) {
        return 0;
    }

    TMemoryStream stream;
    WriteKbf(stream, outline, {"d", "u"});
    stream.SetPosition(0);
    KbfOutline again;
    if (ReadKbf(stream, again) != KbfReadResult::Ok || again.pages.size() != outline.pages.size()) {
        std::abort();
    }
    for (std::size_t i = 0; i < outline.pages.size(); ++i) {
        const KbfPage& a = outline.pages[i];
        const KbfPage& b = again.pages[i];
        if (a.body != b.body || a.title != b.title || a.state != b.state ||
            (i > 0 && (a.parent != b.parent || a.expand != b.expand))) {
            std::abort();
        }
    }
    return 0;
}

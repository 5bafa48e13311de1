// Subkey names of any bytes, as a registry key of the places bar may hold
// them, put in saved order: every name comes back once, the numbered places
// first and in their order, the others after them as listed. The captions
// made of the same bytes fit the button they are drawn on.

#include "Places.h"

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

bool IsPlaceKey(const std::string& name)
{
    if (name.size() <= 6)
        return false;
    const std::string prefix = name.substr(0, 6);
    if (!std::equal(prefix.begin(), prefix.end(), "place_", [](char a, char b) {
            return std::tolower(static_cast<unsigned char>(a)) == b;
        }))
        return false;
    return std::all_of(name.begin() + 6, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> listed = Lines(text);
    const std::vector<std::string> ordered = OrderPlaceKeys(listed);

    std::vector<std::string> a = listed;
    std::vector<std::string> b = ordered;
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    if (a != b)
        abort();
    const auto firstOther = std::find_if(ordered.begin(), ordered.end(), [](const auto& n) { return !IsPlaceKey(n); });
    if (std::any_of(firstOther, ordered.end(), IsPlaceKey))
        abort();
    std::vector<std::string> others;
    std::copy_if(listed.begin(), listed.end(), std::back_inserter(others), [](const auto& n) { return !IsPlaceKey(n); });
    if (!std::equal(firstOther, ordered.end(), others.begin(), others.end()))
        abort();

    const auto width = [](const std::string& caption) { return static_cast<int>(caption.size()) * 3; };
    for (int buttonWidth : {0, 20, 87}) {
        const TFittedCaption fitted = FitCaption(text, buttonWidth, width);
        if (fitted.shortened && width(fitted.text) > std::max(buttonWidth - 6, width("...")))
            abort();
        if (!fitted.shortened && fitted.text != text)
            abort();
    }
    PathCaption(text);
    return 0;
}

#include "TextSlices.h"

std::vector<std::string_view> TextSlices(std::string_view text, std::size_t mostLines, std::size_t mostBytes)
{
    std::vector<std::string_view> slices;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = start;
        std::size_t lines = 0;
        while (end < text.size() && lines < mostLines && end - start < mostBytes) {
            const std::size_t feed = text.find('\n', end);
            end = feed == std::string_view::npos ? text.size() : feed + 1;
            ++lines;
        }
        slices.push_back(text.substr(start, end - start));
        start = end;
    }
    if (slices.empty())
        slices.emplace_back();
    return slices;
}

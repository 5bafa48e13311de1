#pragma once
// The text of a long page, as the benchmarks of big pages fill it: prose in
// lines of varying length, the same every run.

#include <cstddef>
#include <string>

// At least bytes long, ending with a line break.
inline std::string ProseOfSize(std::size_t bytes)
{
    std::string text;
    text.reserve(bytes + 200);
    unsigned seed = 1;
    int line = 0;
    while (text.size() < bytes) {
        seed = seed * 1103515245u + 12345u;
        const std::size_t words = 2 + (seed >> 16) % 16;
        text += "Line " + std::to_string(++line);
        for (std::size_t w = 0; w < words; ++w)
            text += " word";
        text += "\r\n";
    }
    return text;
}

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

// The same, with words of many lengths and letters as real prose has them:
// the control's cost of wrapping a paragraph depends on its words, and a
// paragraph of one word repeated costs it a fraction of real text's.
inline std::string WordsOfSize(std::size_t bytes)
{
    static const char* const words[] = {"the",     "of",   "outline", "page",   "tree", "title",   "note",
                                        "text",    "editor", "insert", "file", "window", "long",  "line",
                                        "many",    "words", "appear",  "here",  "a",    "quillo", "between"};
    constexpr std::size_t wordCount = sizeof words / sizeof words[0];
    std::string text;
    text.reserve(bytes + 200);
    unsigned seed = 1;
    while (text.size() < bytes) {
        for (int w = 0; w < 12; ++w) {
            seed = seed * 1103515245u + 12345u;
            if (w > 0)
                text += ' ';
            text += words[(seed >> 16) % wordCount];
        }
        text += "\r\n";
    }
    return text;
}

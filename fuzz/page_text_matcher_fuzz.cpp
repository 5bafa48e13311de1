// Feeds arbitrary page texts and search texts to the page text matcher and
// compares it with a plain search, position by position: it must say "maybe"
// wherever a match whose edges are word boundaries exists (what the edit
// control finds), and it must agree with the plain search of its own rule.
//
// Input: one byte of options (bit 0 match case, bit 1 whole words, bit 2 a
// fold that links two high bytes as well), one byte of search text length,
// the search text, then the page text.

#include "PageTextMatcher.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

namespace {
bool IsWordCharacter(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool SameAt(std::string_view page, std::size_t at, const std::string& text, const TCaseFold& fold)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (fold[static_cast<unsigned char>(page[at + i])] != fold[static_cast<unsigned char>(text[i])])
            return false;
    }
    return true;
}

// strict: both edges must be boundaries; otherwise an edge is ruled out only
// where two word characters meet.
bool PlainSearch(std::string_view page, const std::string& text, bool whole, bool strict, const TCaseFold& fold)
{
    for (std::size_t at = 0; at + text.size() <= page.size(); ++at) {
        if (!SameAt(page, at, text, fold))
            continue;
        if (!whole)
            return true;
        const std::size_t end = at + text.size();
        const bool before = at > 0 && IsWordCharacter(static_cast<unsigned char>(page[at - 1]));
        const bool after = end < page.size() && IsWordCharacter(static_cast<unsigned char>(page[end]));
        const bool joinsBefore = before && (strict || IsWordCharacter(static_cast<unsigned char>(text.front())));
        const bool joinsAfter = after && (strict || IsWordCharacter(static_cast<unsigned char>(text.back())));
        if (!joinsBefore && !joinsAfter)
            return true;
    }
    return false;
}
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const bool matchCase = data[0] & 1;
    const bool whole = data[0] & 2;
    const std::size_t length = data[1];
    if (size - 2 < length)
        return 0;
    const std::string text(reinterpret_cast<const char*>(data + 2), length);
    const std::string_view page(reinterpret_cast<const char*>(data + 2 + length), size - 2 - length);

    TCaseFold fold = AsciiCaseFold();
    if (data[0] & 4) {
        std::array<unsigned char, 256> upper{};
        std::array<unsigned char, 256> lower{};
        for (std::size_t c = 0; c < 256; ++c)
            upper[c] = lower[c] = static_cast<unsigned char>(c);
        upper[0xE9] = 0xC9;
        lower[0xC9] = 0xE9;
        fold = CaseFoldOf(upper, lower);
    }
    const TPageTextMatcher matcher(text, matchCase, whole, fold);
    const bool mayHold = matcher.MayHold(page);
    if (text.empty()) {
        if (mayHold)
            std::abort();
        return 0;
    }
    if (text.find_first_of("\r\n") != std::string::npos) {
        if (!mayHold)
            std::abort();
        return 0;
    }
    TCaseFold used = fold;
    if (matchCase) {
        for (std::size_t c = 0; c < 256; ++c)
            used[c] = static_cast<unsigned char>(c);
    }
    if (mayHold != PlainSearch(page, text, whole, false, used))
        std::abort();
    if (PlainSearch(page, text, whole, true, used) && !mayHold)
        std::abort();
    return 0;
}

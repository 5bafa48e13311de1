#pragma once
// Decides quickly which page text may hold a search text, so that a search
// over a whole outline puts only those pages through the edit control, whose
// own find gives the answer and the match's position. It never misses a text
// the control would find: where it cannot be sure (letters outside A to Z
// that the control may take for one another, a word boundary beside a
// character that is not a letter or digit) it says "maybe".
//
// Portable: the caller gives the case mapping of its code page.

#include <array>
#include <string>
#include <string_view>

// For each byte, the byte it is compared as when letter case does not
// matter: every byte that may be the same letter in the other case maps to
// one byte.
using TCaseFold = std::array<unsigned char, 256>;

// The fold of A to Z and a to z only; every other byte is itself.
TCaseFold AsciiCaseFold();
// The fold of a code page whose upper and lower case mappings are given as
// tables: bytes linked by either mapping, directly or through another byte,
// fold together.
TCaseFold CaseFoldOf(const std::array<unsigned char, 256>& upper, const std::array<unsigned char, 256>& lower);

class TPageTextMatcher {
public:
    TPageTextMatcher(const std::string& text, bool matchCase, bool wholeWord, const TCaseFold& fold);

    // False only when the control certainly finds no match in page.
    bool MayHold(std::string_view page) const;

private:
    bool Folded(unsigned char a, unsigned char b) const { return fold_[a] == fold_[b]; }
    bool MatchesAt(std::string_view page, size_t at) const;
    bool WordBoundaryAllows(std::string_view page, size_t at) const;

    std::string text_;
    bool wholeWord_;
    TCaseFold fold_;
    // Horspool's shift for each folded byte.
    std::array<size_t, 256> shift_{};
    // A text the control never finds (empty), or one the matcher cannot
    // judge (a line break: the control holds a page's line ends otherwise).
    bool never_ = false;
    bool always_ = false;
};

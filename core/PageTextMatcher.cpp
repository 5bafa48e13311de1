#include "PageTextMatcher.h"

#include <numeric>

namespace {
bool IsAsciiWordCharacter(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

unsigned char Root(std::array<unsigned char, 256>& parent, unsigned char c)
{
    while (parent[c] != c)
        c = parent[c] = parent[parent[c]];
    return c;
}
}

TCaseFold AsciiCaseFold()
{
    TCaseFold fold{};
    for (int c = 0; c < 256; ++c)
        fold[static_cast<size_t>(c)] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return fold;
}

TCaseFold CaseFoldOf(const std::array<unsigned char, 256>& upper, const std::array<unsigned char, 256>& lower)
{
    // Union-find over the bytes: each mapping links a byte to its image.
    std::array<unsigned char, 256> parent{};
    std::iota(parent.begin(), parent.end(), static_cast<unsigned char>(0));
    const TCaseFold ascii = AsciiCaseFold();
    for (size_t c = 0; c < 256; ++c) {
        for (unsigned char image : {upper[c], lower[c], ascii[c]}) {
            const unsigned char a = Root(parent, static_cast<unsigned char>(c));
            const unsigned char b = Root(parent, image);
            if (a != b)
                parent[std::max(a, b)] = std::min(a, b);
        }
    }
    TCaseFold fold{};
    for (size_t c = 0; c < 256; ++c)
        fold[c] = Root(parent, static_cast<unsigned char>(c));
    return fold;
}

TPageTextMatcher::TPageTextMatcher(const std::string& text, bool matchCase, bool wholeWord, const TCaseFold& fold)
    : text_(text), wholeWord_(wholeWord)
{
    for (size_t c = 0; c < 256; ++c)
        fold_[c] = matchCase ? static_cast<unsigned char>(c) : fold[c];
    never_ = text_.empty();
    always_ = text_.find_first_of("\r\n") != std::string::npos;
    shift_.fill(text_.size());
    for (size_t at = 0; at + 1 < text_.size(); ++at) {
        const unsigned char folded = fold_[static_cast<unsigned char>(text_[at])];
        shift_[folded] = text_.size() - 1 - at;
    }
}

bool TPageTextMatcher::MayHold(std::string_view page) const
{
    if (never_)
        return false;
    if (always_)
        return true;
    const size_t length = text_.size();
    size_t at = 0;
    while (at + length <= page.size()) {
        if (MatchesAt(page, at) && WordBoundaryAllows(page, at))
            return true;
        at += shift_[fold_[static_cast<unsigned char>(page[at + length - 1])]];
    }
    return false;
}

bool TPageTextMatcher::MatchesAt(std::string_view page, size_t at) const
{
    for (size_t i = text_.size(); i-- > 0;) {
        if (!Folded(static_cast<unsigned char>(page[at + i]), static_cast<unsigned char>(text_[i])))
            return false;
    }
    return true;
}

bool TPageTextMatcher::WordBoundaryAllows(std::string_view page, size_t at) const
{
    if (!wholeWord_)
        return true;
    // Two letters or digits side by side are one word to any word-break
    // rule; anything else may be a boundary.
    const auto first = static_cast<unsigned char>(text_.front());
    const auto last = static_cast<unsigned char>(text_.back());
    const size_t end = at + text_.size();
    if (at > 0 && IsAsciiWordCharacter(first) && IsAsciiWordCharacter(static_cast<unsigned char>(page[at - 1])))
        return false;
    if (end < page.size() && IsAsciiWordCharacter(last) && IsAsciiWordCharacter(static_cast<unsigned char>(page[end])))
        return false;
    return true;
}

#pragma once
// The case conversions of the Change Case command that work by character
// class: only the letters A to Z and a to z change, and the separators that
// start a word are the spaces, punctuation and control characters. Each gives
// a text of the same length; an empty text gives an empty text.
//
// Portable: upper and lower case by the system's own mapping are the
// caller's.

#include <cstdint>
#include <string>

// The first letter of the text and every letter after a separator upper
// case, every other letter lower case.
std::string ToTitleCase(const std::string& text);
// Every letter in the other case.
std::string ToToggleCase(const std::string& text);
// The first character lower case; each later one upper case when the value
// drawn after the character before it is odd, else lower case.
std::string ToRandomCase(const std::string& text);

// The one generator ToRandomCase draws from, for the whole run. Nothing
// seeds it, so every run on every machine draws the same sequence.
std::uint32_t NextCaseRandom();

#pragma once
// The rich edit control wraps a paragraph in time and memory growing with the
// square of its length: it measures the rest of the paragraph again for every
// display line. A 16 KB line takes about a second each time it is wrapped
// (shown, typed in, resized), a 5 MB line would take days; even paragraphs
// of 1 KB of prose cost it 25 times what the same text in lines of 80 does
// (2 MB: 25 s and 1.3 GB against 2.6 s and 0.2 GB). Text read from a file is
// therefore given line breaks in lines far longer than any paragraph, in
// pieces of about a text line; shorter lines are kept as they are.

#include <cstddef>
#include <string>

// Lines of more than this many bytes are cut into pieces.
inline constexpr std::size_t LongestKeptLine = 16 * 1024;
// A cut comes after at most this many bytes of a piece.
inline constexpr std::size_t LinePieceLength = 80;

// The text with CR LF after every piece of the lines longer than
// LongestKeptLine. A piece ends after the last blank in its second half,
// else after its last byte below 0x80 (never between the two bytes of a
// double-byte character), else at its full length.
std::string BreakLongLines(std::string text);

#pragma once
// A long text cut into slices, for a control that takes much text far faster
// a slice at a time than all at once.

#include <cstddef>
#include <string_view>
#include <vector>

// Each slice ends just after a line feed (the last one at the text's end),
// so every slice starts a line and no CR LF pair is split. A slice takes
// line after line while it holds fewer than mostLines lines and fewer than
// mostBytes bytes: a line longer than that is a slice of its own, whole. An
// empty text is one empty slice.
std::vector<std::string_view> TextSlices(std::string_view text, std::size_t mostLines, std::size_t mostBytes);

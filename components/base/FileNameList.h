#pragma once
// The file name box of the file dialogs holds one name, or several, each
// enclosed in double quotes. These routines turn that text into names and
// back.

#include <string>
#include <vector>

// A text beginning with a double quote gives every run between a pair of
// quotes, left to right, until no complete pair is left; when that gives
// nothing, or the text does not begin with a quote, the whole text is the one
// name. An empty text holds no name.
std::vector<std::string> SplitFileNameList(const std::string& text);

// Nothing for no names, the name itself for one, and for more every name
// enclosed in double quotes, separated by one blank.
std::string JoinFileNameList(const std::vector<std::string>& names);

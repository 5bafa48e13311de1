#pragma once
// An outline written as indented text, the source form of the outlines
// Quillo ships (the tutorial, the templates). The build turns it into a
// ".kbf" file with the OutlineFromText tool.
//
//     # A comment: a line starting with '#' is dropped.
//     @subject Getting started          properties, before the first page
//     @description What this outline is for
//     * Root page title                 the root: a star in column 0
//       Text of the root page, indented two more than its star.
//
//       Blank lines inside a text are kept.
//       * A sub page                    two blanks deeper per level
//         Its text.
//         + [3] A collapsed sub page    '+' instead of '*': shown collapsed;
//           Its text.                   "[n]" sets the state icon (1 = none)
//       * Another sub page
//
// A page's text ends where the next title starts; trailing blank lines are
// dropped. Text is bytes in the ANSI code page; tabs count as one column.

#include "KbfFormat.h"

#include <stdexcept>
#include <string>

class OutlineTextError : public std::runtime_error {
public:
    OutlineTextError(int line, const std::string& what);
    int Line() const { return line_; }

private:
    int line_;
};

// The pages in file order (pages[0] the root) and the properties. Throws
// OutlineTextError, naming the line, for text that is no outline: no root,
// a second root, a page more than one level deeper than the one before, text
// less indented than its page, an unknown "@" line or a bad state number.
KbfOutline ParseOutlineText(const std::string& text);

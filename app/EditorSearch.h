#pragma once
// Finding text in a rich edit control with the control's own search, forward
// from a position to the end of its text.

#include "PageTextMatcher.h"

#include <string>

class TQCustomRichEdit;

// What a search asks of a match besides the text: 0 nothing more, 1 whole
// words, 2 the same letter case, 3 both.
enum TFindType : int { ftNone = 0, ftWholeWord = 1, ftMatchCase = 2, ftWholeWordMatchCase = 3 };

TFindType FindTypeOf(bool matchCase, bool wholeWord);

// The control position of the first match at or after start, or -1. An empty
// text, or a start past the end, finds nothing.
int SendFindText(TQCustomRichEdit& editor, const std::string& text, int start, TFindType type);
int FindInEditor(const std::string& text, int start, bool matchCase, bool wholeWord, TQCustomRichEdit& editor);

// The letters the system's ANSI code page takes for one another in either
// case, made once.
const TCaseFold& SystemCaseFold();
// The page text matcher compares single bytes, which is right only when the
// ANSI code page has one byte a character.
bool PageTextMatcherUsable();

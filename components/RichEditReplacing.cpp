// Replacing the selection as one step of undo (a change of case, say), fast
// also for a whole long page, and taking it back with the text put back
// selected and the view kept.
//
// Under Wine the control takes time growing with the square of the lines it
// removes: replacing the whole of a 300 KB page took about 9 s and taking it
// back twice that. Much text therefore goes in as a new whole text, which a
// fresh window takes in time in proportion to its size, and the replacement
// keeps what it replaced to put it back the same way: the control itself
// then has nothing to undo.
#include "RichEdit.h"

#include "Cursors.h"
#include "FlagScope.h"

#include <algorithm>
#include <utility>

bool TQCustomRichEdit::IsMuchText(const std::string& text)
{
    return text.size() > static_cast<std::size_t>(LargeTextLength) ||
           std::count(text.begin(), text.end(), '\r') > LargeLineCount;
}

void TQCustomRichEdit::ReplaceSelectionUndoably(const std::string& text)
{
    const CHARRANGE selection = GetSelection();
    const int from = std::min(selection.cpMin, selection.cpMax);
    const int to = std::max(selection.cpMin, selection.cpMax);
    const TFlagScope own(replacingOwnText_);
    std::string replaced = GetTextRange(from, to);
    if (!IsMuchText(replaced) && !IsMuchText(text)) {
        // The control's own replacement, which it takes back itself; the
        // inserted text ends up selected (EM_REPLACESEL in WndProc).
        SendMessageA(Handle(), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        lastReplacement_ = TUndoableReplacement{from, to - from, GetSelection().cpMax - from, {}, false};
        return;
    }
    const int after = TextLength() - to;
    PutWholeText(GetTextRange(0, from) + text + GetTextRange(to, -1));
    const int end = TextLength() - after;
    SetSelection(from, end, true);
    lastReplacement_ = TUndoableReplacement{from, to - from, end - from, std::move(replaced), true};
    Changed();
    SelectionChange();
}

void TQCustomRichEdit::PutWholeText(const std::string& text)
{
    const LRESULT events = SendMessageA(Handle(), EM_GETEVENTMASK, 0, 0);
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, 0);
    try {
        lines_->LoadPlainText(text);
    } catch (...) {
        SendMessageA(Handle(), EM_SETEVENTMASK, 0, events);
        throw;
    }
    // The window may be a fresh one, which took over the mask cleared.
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, events);
    SetModified(true);
}

void TQCustomRichEdit::TakeBackReplacement()
{
    const TUndoableReplacement last = std::move(*lastReplacement_);
    lastReplacement_.reset();
    const TFlagScope own(replacingOwnText_);
    const TBusyCursorScope busy;
    const int topCharacter = TopCharacter();
    if (last.ownUndo) {
        const int insertedEnd = last.start + last.insertedLength;
        PutWholeText(GetTextRange(0, last.start) + last.replaced + GetTextRange(insertedEnd, -1));
    } else {
        DefaultHandler(EM_UNDO, 0, 0);
    }
    SetSelection(last.start, last.start + last.replacedLength, false);
    ScrollToTop(topCharacter);
    if (last.ownUndo) {
        Changed();
        SelectionChange();
    }
}

// The view is kept by the character in its top row, since the text put back
// may wrap into other lines, and by lines: the control gives its scroll
// position in pixels scaled down to 16 bits once the text is taller than
// that, but takes one set unscaled.
int TQCustomRichEdit::TopCharacter() const
{
    POINTL corner{1, 1};
    return static_cast<int>(SendMessageA(Handle(), EM_CHARFROMPOS, 0, reinterpret_cast<LPARAM>(&corner)));
}

void TQCustomRichEdit::ScrollToTop(int character)
{
    const LRESULT first = SendMessageA(Handle(), EM_GETFIRSTVISIBLELINE, 0, 0);
    SendMessageA(Handle(), EM_LINESCROLL, 0, LineFromChar(character) - first);
}

void TQCustomRichEdit::ForgetReplacementUnlessOwn()
{
    if (!replacingOwnText_)
        lastReplacement_.reset();
}

// Finding in the rich edit control, and its find and replace dialogs.
#include "RichEdit.h"

#include <algorithm>
#include <cstdlib>

int TQCustomRichEdit::FindText(const std::string& text, int start, int length, TRichSearchTypes options)
{
    FINDTEXTEXA find{};
    find.chrg.cpMin = start;
    find.chrg.cpMax = start + std::abs(length);
    find.lpstrText = text.c_str();
    WPARAM flags = 0;
    if (RichEditVersion >= 2 && !(options & stBackward))
        flags |= FR_DOWN;
    if (options & stWholeWord)
        flags |= FR_WHOLEWORD;
    if (options & stMatchCase)
        flags |= FR_MATCHCASE;
    int found = static_cast<int>(SendMessageA(Handle(), EM_FINDTEXTEX, flags, reinterpret_cast<LPARAM>(&find)));
    // Wine's control finds nothing searching up from the very end of the
    // text: there the last match is found going down instead.
    if (found < 0 && (options & stBackward) && RichEditVersion >= 2 && !text.empty() && start >= TextLength())
        found = FindLastBefore(find, flags | FR_DOWN, start);
    if (found >= 0 && (options & stSetSelection))
        SetSelection(find.chrgText.cpMin, find.chrgText.cpMax, true);
    return found;
}

int TQCustomRichEdit::FindLastBefore(FINDTEXTEXA& find, WPARAM downFlags, int end)
{
    FINDTEXTEXA next = find;
    next.chrg = CHARRANGE{0, end};
    int found = -1;
    while (true) {
        const auto at = static_cast<int>(SendMessageA(Handle(), EM_FINDTEXTEX, downFlags, reinterpret_cast<LPARAM>(&next)));
        if (at < 0 || next.chrgText.cpMax > end || next.chrgText.cpMax <= next.chrg.cpMin)
            return found;
        found = at;
        find.chrgText = next.chrgText;
        next.chrg.cpMin = at + 1;
    }
}

bool TQCustomRichEdit::FindEditText(TFindDialog& dialog, bool adjustPosition, bool raiseEvents)
{
    const int selStart = SelStart();
    const int selEnd = selStart + SelLength();
    int start = 0;
    int length = 0;
    TRichSearchTypes options = stSetSelection;
    if (dialog.Options & frDown) {
        start = std::max(selStart, selEnd);
        length = TextLength() - start + 1;
    } else {
        start = std::min(selStart, selEnd);
        length = start + 1;
        options |= stBackward;
    }
    if (dialog.Options & frMatchCase)
        options |= stMatchCase;
    if (dialog.Options & frWholeWord)
        options |= stWholeWord;
    const bool found = FindText(dialog.FindText, start, length, options) >= 0;
    if (!dialog.FindText.empty())
        lastFindDialog_ = &dialog;
    if (!found && raiseEvents)
        TextNotFound(dialog);
    else if (found && adjustPosition)
        AdjustFindDialogPosition(dialog);
    return found;
}

void TQCustomRichEdit::AdjustFindDialogPosition(TFindDialog& dialog)
{
    if (!dialog.Handle())
        return;
    const POINT textTopLeft = ClientToScreen(GetCharPos(SelStart()));
    POINT textBottomRight = ClientToScreen(GetCharPos(SelStart() + SelLength()));
    textBottomRight.y += 20;
    RECT bounds = dialog.BoundsRect();
    if (!PtInRect(&bounds, textTopLeft) && !PtInRect(&bounds, textBottomRight))
        return;
    const int height = bounds.bottom - bounds.top;
    if (textTopLeft.y > height + 20)
        OffsetRect(&bounds, 0, textTopLeft.y - 20 - bounds.bottom);
    else if (textTopLeft.y + height < GetSystemMetrics(SM_CYSCREEN))
        OffsetRect(&bounds, 0, textTopLeft.y + 40 - bounds.top);
    dialog.SetPosition(POINT{bounds.left, bounds.top});
}

void TQCustomRichEdit::SetupFindDialog(TFindDialog& dialog, const std::string& text, const std::string& replacement)
{
    if (!text.empty())
        dialog.FindText = text;
    if (RichEditVersion == 1)
        dialog.Options |= frDown | frHideUpDown;
    dialog.OnFind = [this, &dialog] { FindDialogFind(dialog); };
    dialog.OnClose = [this, &dialog] { FindDialogClose(dialog); };
    if (auto* replace = dynamic_cast<TReplaceDialog*>(&dialog)) {
        if (!replacement.empty())
            replace->ReplaceText = replacement;
        replace->OnReplace = [this, replace] { ReplaceDialogReplace(*replace); };
    }
}

TFindDialog* TQCustomRichEdit::FindDialog(const std::string& text)
{
    if (!findDialog_) {
        findDialog_ = std::make_unique<TFindDialog>();
        if (replaceDialog_)
            findDialog_->FindText = replaceDialog_->FindText;
    }
    SetupFindDialog(*findDialog_, text, {});
    findDialog_->Execute();
    return findDialog_.get();
}

TReplaceDialog* TQCustomRichEdit::ReplaceDialog(const std::string& text, const std::string& replacement)
{
    if (!replaceDialog_) {
        replaceDialog_ = std::make_unique<TReplaceDialog>();
        if (findDialog_)
            replaceDialog_->FindText = findDialog_->FindText;
    }
    SetupFindDialog(*replaceDialog_, text, replacement);
    replaceDialog_->Execute();
    return replaceDialog_.get();
}

void TQCustomRichEdit::FindDialogFind(TFindDialog& dialog) { FindEditText(dialog, true, true); }

void TQCustomRichEdit::FindDialogClose(TFindDialog& dialog) { CloseFindDialog(dialog); }

void TQCustomRichEdit::ReplaceDialogReplace(TReplaceDialog& dialog)
{
    if (!(dialog.Options & frReplaceAll)) {
        if ((dialog.Options & frReplace) && FindEditText(dialog, true, true))
            SetSelText(dialog.ReplaceText);
        return;
    }
    int count = 0;
    auto selectionChange = std::move(OnSelectionChange);
    OnSelectionChange = nullptr;
    SetChangeNotify(false);
    try {
        // Each search starts past the text just put in (before it, going up),
        // so a replacement holding the searched text ends; an empty match
        // would not move on.
        while (FindEditText(dialog, false, false) && SelLength() > 0) {
            SetSelText(dialog.ReplaceText);
            ++count;
        }
        if (count > 0)
            AdjustFindDialogPosition(dialog);
        else
            TextNotFound(dialog);
    } catch (...) {
        SetChangeNotify(true);
        OnSelectionChange = std::move(selectionChange);
        throw;
    }
    SetChangeNotify(true);
    OnSelectionChange = std::move(selectionChange);
    if (count > 0) {
        Changed();
        SelectionChange();
    }
}

bool TQCustomRichEdit::CanFindNext() const
{
    return Handle() && lastFindDialog_ && !lastFindDialog_->FindText.empty();
}

bool TQCustomRichEdit::FindNext()
{
    if (!CanFindNext())
        return false;
    return FindEditText(*lastFindDialog_, false, true);
}

void TQCustomRichEdit::TextNotFound(TFindDialog& dialog)
{
    if (OnTextNotFound)
        OnTextNotFound(this, dialog.FindText);
}

void TQCustomRichEdit::CloseFindDialog(TFindDialog& dialog)
{
    if (OnCloseFindDialog)
        OnCloseFindDialog(this, &dialog);
}

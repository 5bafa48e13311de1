#pragma once
// The rich-text edit control over the system rich edit window. It switches
// between plain-text and rich-text mode by re-streaming its content, reports
// changes, selection changes and link clicks, and exposes its lines as a
// TStrings (RichEditStrings.h), its character and paragraph formats as
// attribute objects (RichEditAttributes.h), and hosts embedded objects
// (RichEditOle.h); it prints (RichEditPrinting.cpp) and finds
// (RichEditFinding.cpp).

#include "Control.h"
#include "ComRef.h"
#include "RichEditAttributes.h"
#include "FindDialogs.h"
#include "RichEditStrings.h"

#include <richedit.h>
#include <richole.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class TMenuItem;
class TRichEditOleCallback;

// Which rich edit library is loaded: 1 (RICHED32) or 2 and 3 (RICHED20);
// 0 until the first control is made.
extern int RichEditVersion;

enum class TRichScrollBars { ssNone, ssHorizontal, ssVertical, ssBoth };

// What the selection holds: text, an object, several characters, several objects.
using TRichSelectionType = unsigned;
inline constexpr TRichSelectionType stText = SEL_TEXT;
inline constexpr TRichSelectionType stObject = SEL_OBJECT;
inline constexpr TRichSelectionType stMultiChar = SEL_MULTICHAR;
inline constexpr TRichSelectionType stMultiObject = SEL_MULTIOBJECT;

// Options of FindText, a set of these bits.
enum TRichSearchType : unsigned { stWholeWord = 1u << 0, stMatchCase = 1u << 1, stBackward = 1u << 2, stSetSelection = 1u << 3 };
using TRichSearchTypes = unsigned;

class TPrinter;

class TQCustomRichEdit : public TControl, public TRichEditFormatHost {
public:
    TQCustomRichEdit(TComponent* owner, TControl* parent);
    ~TQCustomRichEdit() override;

    // Switching re-streams the content in the new mode and keeps the
    // modified flag and the selection.
    bool PlainText() const { return plainText_; }
    virtual void SetPlainText(bool plainText);

    TRichEditStrings& Lines() { return *lines_; }
    const TRichEditStrings& Lines() const { return *lines_; }
    void SetLines(const TStrings& lines) { lines_->Assign(lines); }
    TRichStreamFormat StreamFormat() const { return lines_->Format(); }
    void SetStreamFormat(TRichStreamFormat format) { lines_->SetFormat(format); }
    TRichStreamModes StreamMode() const { return lines_->Mode(); }
    void SetStreamMode(TRichStreamModes mode) { lines_->SetMode(mode); }
    TConversionClass DefaultConversionClass = ConversionClassOf<TConversion>();
    static void RegisterConversionFormat(const std::string& extension, bool plainText, TConversionClass conversionClass)
    {
        RegisterRichEditConversionFormat(extension, plainText, std::move(conversionClass));
    }

    // Empties the text and clears the modified flag. A control holding much
    // text gets a fresh window instead (see ReplaceLargeContent).
    void Clear();
    // Replaces the whole text; over much text, in a fresh window.
    void SetText(const std::string& text);
    bool Modified() const;
    void SetModified(bool modified);
    bool ReadOnly() const;
    void SetReadOnly(bool readOnly);
    // Without re-creating the window: the control wraps to its width or not at all.
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool wordWrap);
    // 0: 16,777,215 characters.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);
    bool HideSelection() const { return hideSelection_; }
    void SetHideSelection(bool hide);
    bool AutoURLDetect() const;
    void SetAutoURLDetect(bool detect);
    bool WordSelection() const;
    void SetWordSelection(bool wordSelection);
    // The character formats of the default text, the selection and the word
    // at the selection, and the paragraph format of the selected paragraphs.
    TQTextAttributes& DefAttributes() { return defAttributes_; }
    TQTextAttributes& SelAttributes() { return selAttributes_; }
    TQTextAttributes& WordAttributes() { return wordAttributes_; }
    TQParaAttributes& ParaAttributes() { return paraAttributes_; }
    void SetDefAttributes(const TQTextAttributes& source) { defAttributes_.Assign(source); }
    void SetSelAttributes(const TQTextAttributes& source) { selAttributes_.Assign(source); }
    void SetWordAttributes(const TQTextAttributes& source) { wordAttributes_.Assign(source); }
    // The screen's pixels per inch when the control was made: turns sizes
    // in points into heights in pixels.
    int ScreenPixelsPerInch() const override { return screenPixelsPerInch_; }
    // Right-to-left reading order: the control mirrors left and right in
    // the paragraph alignment.
    bool RightToLeft() const { return rightToLeft_; }
    void SetRightToLeft(bool rightToLeft);

    // Whether Tab and Enter belong to the text or to the window around it
    // (Tab moves the focus, Enter presses a dialog's default button).
    bool WantTabs() const { return wantTabs_; }
    void SetWantTabs(bool want) { wantTabs_ = want; }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool want) { wantReturns_ = want; }

    // Fixed at creation: the window's styles.
    TRichScrollBars ScrollBars() const { return scrollBars_; }
    bool HideScrollBars() const { return hideScrollBars_; }
    bool SelectionBar() const { return selectionBar_; }

    // Character positions, counting a line break as one character (versions
    // 2 and 3), unlike Text(), which holds CR LF.
    CHARRANGE GetSelection() const;
    void SetSelection(int start, int end, bool scrollCaret);
    int SelStart() const { return GetSelection().cpMin; }
    void SetSelStart(int start) { SetSelection(start, start, false); }
    int SelLength() const;
    void SetSelLength(int length);
    std::string SelText() const;
    // Replaces the selection; afterwards exactly the inserted text is selected.
    void SetSelText(const std::string& text);
    // Replaces the selection as one step that Undo takes back, whatever the
    // undo limit; afterwards the inserted text is selected and shown. Undo
    // selects the text it puts back and leaves the view where it is. Much
    // text goes in as a new whole text (RichEditReplacing.cpp).
    void ReplaceSelectionUndoably(const std::string& text);
    // Copies at most size characters of SelText; returns the count copied.
    int GetSelTextBuf(char* buffer, int size) const;
    void SelectAll() { SetSelection(0, -1, false); }
    // The characters in [start, end); end -1 or past the text means to the
    // end, and end before start gives an empty string.
    std::string GetTextRange(int start, int end) const;
    // The length of the text in character positions.
    int TextLength() const;
    // X: the column of the selection end; Y: its line.
    POINT GetCaretPos() const;
    int LineFromChar(int position) const;
    int GetLineIndex(int line) const;
    int GetLineLength(int position) const;
    // Client pixels of a character position; (0, 0) without a window.
    POINT GetCharPos(int position) const;

    // The control's answer replaces the value asked for.
    int UndoLimit() const { return undoLimit_; }
    void SetUndoLimit(int limit);
    bool CanUndo() const;
    void Undo();
    bool CanRedo() const;
    void Redo();
    void ClearUndo();
    void StopGroupTyping();
    bool CanPaste() const;
    void CutToClipboard();
    void CopyToClipboard();
    void PasteFromClipboard();
    void ClearSelection();

    // Turns EN_CHANGE on or off in the control's event mask.
    void SetChangeNotify(bool on);

    // Embedded objects (RichEditOle.cpp). Changing AllowObjects makes a new
    // window and keeps the text, the modified flag and the selection.
    bool AllowObjects() const { return allowObjects_; }
    void SetAllowObjects(bool allow);
    bool AllowInPlace = true;
    // Offer the selected object's verbs on a right click.
    bool AutoVerbMenu = true;
    // The container title objects show.
    const std::string& Title() const { return title_; }
    void SetTitle(const std::string& title);
    // Present while the window exists and objects are allowed.
    IRichEditOle* OleInterface() const { return oleInterface_.Get(); }
    TRichEditOleCallback& OleCallback() { return *oleCallback_; }
    TRichSelectionType SelectionType() const;
    // Closes every object without saving, last to first.
    void CloseObjects();
    void UpdateHostNames();
    // The menu a right click opens: the control's own, with the selected
    // object's verbs and properties added while it is up.
    virtual TPopupMenu* GetPopupMenu();
    // Built by GetPopupMenu, null when the object offers no verbs.
    TPopupMenu* VerbMenu() const { return verbMenu_.get(); }
    void PopupVerbClick(LONG verb);
    void ObjectPropsClick() { ObjectPropertiesDialog(); }
    // Each returns whether the person confirmed.
    bool PasteSpecialDialog();
    bool InsertObjectDialog();
    bool ObjectPropertiesDialog();
    // An object of the control came up in place (true) or went back (false):
    // the parent form's active OLE control and the focus follow.
    void SetUIActive(bool active);

    // Printing (RichEditPrinting.cpp). The area of each page in printer
    // pixels; empty: the whole page.
    RECT PrintRect{};
    // Prints the whole text as one job of the current printer (Printers.h).
    // Where the control cannot lay the text out (its page range makes no
    // progress), the plain text is laid out and drawn here in the default
    // font and the paragraph indents. An error aborts the job and passes on.
    virtual void Print(const std::string& title);
    // Prints the text as Print prints it once the whole text is put in and
    // prepare has run with all of it selected (to set paragraph formats,
    // say). Where the control lays out no pages, the text goes in a slice at
    // a time, each prepared the same, and the plain-text layout prints the
    // slices onto pages that run on from one to the next: the same pages,
    // without the cost of the whole text in the control. Afterwards the
    // control holds the last slice, or the whole text.
    void PrintText(const std::string& text, const std::string& title, const std::function<void()>& prepare);
    // Told after each printed page ends, with the characters printed so far
    // and the whole text's length.
    std::function<void(long long done, long long total)> OnPrintProgress;

    // Finding (RichEditFinding.cpp). The position found, or negative. The
    // range searched is start to start + |length|; going backward, the last
    // match before start.
    int FindText(const std::string& text, int start, int length, TRichSearchTypes options);
    // The find and replace dialogs, made on first use and shown modeless.
    TFindDialog* FindDialog(const std::string& text);
    TReplaceDialog* ReplaceDialog(const std::string& text, const std::string& replacement);
    // Repeats the last dialog search that had a text.
    bool FindNext();
    bool CanFindNext() const;
    std::function<void(TComponent* sender, const std::string& findText)> OnTextNotFound;
    std::function<void(TComponent* sender, TFindDialog* dialog)> OnCloseFindDialog;

    // What the dialogs' buttons run.
    void FindDialogFind(TFindDialog& dialog);
    void FindDialogClose(TFindDialog& dialog);
    void ReplaceDialogReplace(TReplaceDialog& dialog);

    std::function<void()> OnChange;
    std::function<void()> OnSelectionChange;
    std::function<void(const std::string& URLText, TMouseButton Button)> OnURLClick;
    std::function<void(const RECT& Rect)> OnResizeRequest;
    std::function<void(int StartPos, int EndPos, bool& AllowChange)> OnProtectChange;
    std::function<void(int NumObjects, int NumChars, bool& SaveClipboard)> OnSaveClipboard;

protected:
    LRESULT WndProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool HandleCommand(WORD code) override;
    bool HandleNotify(NMHDR& header, LRESULT& result) override;
    bool HandleContextMenu(int screenX, int screenY) override;

    // Pastes the clipboard's text over the selection as one undoable step;
    // what the control itself does in plain-text mode replaces everything.
    void PastePlainText();
    // The keys with which the control pastes by itself: Ctrl+V, Shift+Ins.
    static bool IsPasteKey(WPARAM key);

    virtual void SelectionChange();
    virtual void URLClick(const std::string& text, TMouseButton button);
    virtual void RequestSize(const RECT& rect);
    virtual bool ProtectChange(int startPos, int endPos);
    virtual bool SaveClipboard(int numObjects, int numChars);
    virtual void TextNotFound(TFindDialog& dialog);
    virtual void CloseFindDialog(TFindDialog& dialog);
    // One page range (EM_FORMATRANGE): the first character not drawn.
    // Null clears the control's layout cache.
    virtual LRESULT FormatRange(bool render, FORMATRANGE* range);

    HWND FormatWindow() const override { return Handle(); }
    bool UseRightToLeftAlignment() const override { return rightToLeft_; }

private:
    // The layout of printing where the control makes none: from character
    // first to the end, starting on the printer's current page.
    void PrintPlainText(TPrinter& printer, int first, const RECT& twips);
    void PrintProgress(long long done, long long total);
    // Whether the control's own page layout makes progress over its text.
    bool LaysOutPages();
    // The default character format as a font for a device of logY pixels
    // per inch; the caller owns it.
    HFONT CreatePrintFont(int logY) const;
    PARAFORMAT2 ParagraphFormatAt(int position);
    bool FindEditText(TFindDialog& dialog, bool adjustPosition, bool raiseEvents);
    // The last match ending at end or before, found by searching down.
    int FindLastBefore(FINDTEXTEXA& find, WPARAM downFlags, int end);
    void AdjustFindDialogPosition(TFindDialog& dialog);
    void SetupFindDialog(TFindDialog& dialog, const std::string& text, const std::string& replacement);

    friend class TRichEditStrings;
    // Fires OnChange as the control's own EN_CHANGE would.
    void Changed();
    void UpdateTextMode();
    LRESULT DialogCode(WPARAM wParam, const MSG* message);
    LRESULT BreakLineInPlainText(WORD key);
    void HandleLink(const ENLINK& link);
    // Emptying the control takes time growing with the square of its line
    // count under Wine (seconds for a long page), destroying it does not:
    // before the whole text is replaced, a control holding much text is
    // swapped for a fresh empty window set up like it. Returns whether it was.
    bool ReplaceLargeContent();
    // Past these, emptying the control costs more than making a fresh window:
    // 3,000 lines take about 0.3 s to empty under Wine, a fresh window a few ms.
    static constexpr int LargeLineCount = 2000;
    static constexpr int LargeTextLength = 100 * 1024;

    // The last replacement of ReplaceSelectionUndoably, for as long as Undo
    // would take it back.
    struct TUndoableReplacement {
        int start = 0;
        // The lengths, in character positions, of what it replaced and of
        // what it put in.
        int replacedLength = 0;
        int insertedLength = 0;
        // What it replaced, when the control keeps no undo of it.
        std::string replaced;
        bool ownUndo = false;
    };
    // Replacing text in place takes the control time growing with the square
    // of the lines it removes, and twice that to take it back.
    static bool IsMuchText(const std::string& text);
    // Streams in the whole text, events off, and leaves the undo empty.
    void PutWholeText(const std::string& text);
    void TakeBackReplacement();
    int TopCharacter() const;
    void ScrollToTop(int character);
    void ForgetReplacementUnlessOwn();
    void RecreateWindow();
    // Registers the callback with the window and takes its interface; the
    // reverse closes the objects and lets the interface go.
    void AttachOle();
    void DetachOle();
    // Takes back the items the verb menu added to the control's own popup.
    void ReleaseVerbMenu();
    void InsertObjectAtSelection(REOBJECT& object, DWORD aspect, HGLOBAL iconPicture);

    // The scroll bar styles the window was made with; the control adds and
    // removes them as the text grows and shrinks.
    DWORD scrollBarStyle_ = 0;
    bool plainText_ = false;
    bool wordWrap_ = true;
    bool hideSelection_ = true;
    bool hideScrollBars_ = true;
    bool selectionBar_ = true;
    bool autoURLDetect_ = true;
    bool wordSelection_ = true;
    bool wantTabs_ = false;
    bool wantReturns_ = true;
    TRichScrollBars scrollBars_ = TRichScrollBars::ssBoth;
    int maxLength_ = 0;
    int undoLimit_ = 100;
    // While the line list edits the text itself, replacements keep no selection.
    bool lineListEditing_ = false;
    std::optional<TUndoableReplacement> lastReplacement_;
    // While ReplaceSelectionUndoably or its Undo change the text, which
    // keeps lastReplacement_.
    bool replacingOwnText_ = false;
    CHARRANGE linkClickRange_{-1, -1};
    TMouseButton linkClickButton_ = TMouseButton::mbLeft;
    // Set by a left click that followed a link: the double-click that click
    // may begin belongs to the link, not to the text shown after it.
    bool linkFollowedByClick_ = false;
    std::unique_ptr<TRichEditStrings> lines_;
    bool rightToLeft_ = false;
    int screenPixelsPerInch_ = 96;
    TQTextAttributes selAttributes_{*this, TQAttributeType::atSelected};
    TQTextAttributes defAttributes_{*this, TQAttributeType::atDefaultText};
    TQTextAttributes wordAttributes_{*this, TQAttributeType::atWord};
    TQParaAttributes paraAttributes_{*this};
    bool allowObjects_ = true;
    std::string title_;
    std::unique_ptr<TRichEditOleCallback> oleCallback_;
    TComRef<IRichEditOle> oleInterface_;
    std::unique_ptr<TPopupMenu> verbMenu_;
    TPopupMenu* extendedPopup_ = nullptr;
    std::vector<TMenuItem*> popupAdditions_;
    std::unique_ptr<TFindDialog> findDialog_;
    std::unique_ptr<TReplaceDialog> replaceDialog_;
    TFindDialog* lastFindDialog_ = nullptr;
};

class TQRichEdit : public TQCustomRichEdit {
public:
    using TQCustomRichEdit::TQCustomRichEdit;
};

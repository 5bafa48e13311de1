#include "RichEdit.h"

#include "ClipboardText.h"
#include "Exceptions.h"
#include "KeyboardState.h"
#include "Menus.h"
#include "RichEditOle.h"
#include "Streams.h"

#include <algorithm>
#include <utility>
#include <vector>

int RichEditVersion = 0;

namespace {
// Loads the newest rich edit library once for the whole run and returns the
// window class it registers.
const char* RichEditClass()
{
    static const char* const className = [] {
        // A missing library must not put up the system's "file not found" box.
        const UINT oldMode = SetErrorMode(SEM_NOOPENFILEERRORBOX);
        const char* name = nullptr;
        if (LoadLibraryA("RICHED20.DLL")) {
            // Every system that still runs is NT 5.0 or later.
            RichEditVersion = 3;
            name = "RichEdit20A";
        } else if (LoadLibraryA("RICHED32.DLL")) {
            RichEditVersion = 1;
            name = "RICHEDIT";
        }
        SetErrorMode(oldMode);
        // The paste-special dialog of embedded objects offers these formats.
        RegisterClipboardFormatA("Embedded Object");
        RegisterClipboardFormatA("Link Source");
        RegisterClipboardFormatA("Rich Text Format");
        RegisterClipboardFormatA("Rich Text Format Without Objects");
        return name;
    }();
    if (!className)
        throw EOutOfResources("Cannot load the rich edit library");
    return className;
}

constexpr DWORD EventMaskV1 = ENM_CHANGE | ENM_REQUESTRESIZE | ENM_SELCHANGE | ENM_PROTECTED;
constexpr DWORD EventMaskV2 = EventMaskV1 | ENM_LINK;

void SendTextMode(HWND window, bool plainText, int undoLimit)
{
    const WPARAM mode =
        (plainText ? TM_PLAINTEXT : TM_RICHTEXT) | (undoLimit < 2 ? TM_SINGLELEVELUNDO : TM_MULTILEVELUNDO);
    SendMessageA(window, EM_SETTEXTMODE, mode, 0);
}
}

TQCustomRichEdit::TQCustomRichEdit(TComponent* owner, TControl* parent)
    : TControl(owner, parent), lines_(std::make_unique<TRichEditStrings>(*this)),
      oleCallback_(std::make_unique<TRichEditOleCallback>(*this))
{
    // The control's own reference: the callback lives as long as the control.
    oleCallback_->AddRef();
    {
        HDC screen = GetDC(nullptr);
        screenPixelsPerInch_ = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(nullptr, screen);
    }
    DWORD style = WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL |
                  ES_SAVESEL;
    if (scrollBars_ == TRichScrollBars::ssVertical || scrollBars_ == TRichScrollBars::ssBoth)
        style |= WS_VSCROLL;
    if (!wordWrap_) {
        style |= ES_AUTOHSCROLL;
        if (scrollBars_ == TRichScrollBars::ssHorizontal || scrollBars_ == TRichScrollBars::ssBoth)
            style |= WS_HSCROLL;
    }
    if (!hideScrollBars_)
        style |= ES_DISABLENOSCROLL;
    if (selectionBar_)
        style |= ES_SELECTIONBAR;
    if (!hideSelection_)
        style |= ES_NOHIDESEL;
    scrollBarStyle_ = style & (WS_VSCROLL | WS_HSCROLL);
    CreateHandle(RichEditClass(), style, WS_EX_CLIENTEDGE);
    SetBounds(0, 0, 185, 89);

    HWND window = Handle();
    SendMessageA(window, EM_SETEVENTMASK, 0, RichEditVersion >= 2 ? EventMaskV2 : EventMaskV1);
    SetMaxLength(maxLength_);
    SetWordSelection(wordSelection_);
    if (RichEditVersion >= 2) {
        SendMessageA(window, EM_AUTOURLDETECT, autoURLDetect_, 0);
        undoLimit_ = static_cast<int>(SendMessageA(window, EM_SETUNDOLIMIT, undoLimit_, 0));
        UpdateTextMode();
        SendMessageA(window, EM_SETLANGOPTIONS, 0, IMF_AUTOFONT);
    }
    if (allowObjects_)
        AttachOle();
    // The control takes its parent's reading order.
    if (parent && parent->Handle() && (GetWindowLongPtrA(parent->Handle(), GWL_EXSTYLE) & WS_EX_RTLREADING))
        SetRightToLeft(true);
    SetModified(false);
}

TQCustomRichEdit::~TQCustomRichEdit()
{
    ReleaseVerbMenu();
    DetachOle();
    // The window goes first: its last notifications must not reach a
    // half-destroyed object. It lets the callback go as it goes.
    DestroyHandle();
}

LRESULT TQCustomRichEdit::WndProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DESTROY:
        // Destroyed with its parent: the objects close before the window goes.
        DetachOle();
        return DefaultHandler(message, wParam, lParam);
    case WM_SETFONT:
        // Without a font the control draws in bold System under Wine. The
        // control makes the font its default character format.
        if (!wParam)
            wParam = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
        return DefaultHandler(message, wParam, lParam);
    case WM_LBUTTONDOWN:
        linkFollowedByClick_ = false;
        return TControl::WndProc(message, wParam, lParam);
    case WM_LBUTTONDBLCLK:
        if (std::exchange(linkFollowedByClick_, false))
            return 0;
        return TControl::WndProc(message, wParam, lParam);
    case WM_PASTE:
        if (!plainText_)
            return DefaultHandler(message, wParam, lParam);
        PastePlainText();
        return 0;
    case WM_KEYDOWN:
        if (plainText_ && IsPasteKey(wParam)) {
            WORD key = static_cast<WORD>(wParam);
            if (OnKeyDown)
                OnKeyDown(key, KeyboardShiftState());
            if (key != 0)
                PastePlainText();
            return 0;
        }
        if (plainText_ && wParam == VK_RETURN && (KeyboardShiftState() & ssShift))
            return BreakLineInPlainText(static_cast<WORD>(wParam));
        return TControl::WndProc(message, wParam, lParam);
    case WM_GETDLGCODE:
        return DialogCode(wParam, reinterpret_cast<const MSG*>(lParam));
    case EM_UNDO:
    case WM_UNDO:
        if (!lastReplacement_)
            return DefaultHandler(message, wParam, lParam);
        TakeBackReplacement();
        return TRUE;
    case EM_CANUNDO:
        return lastReplacement_ ? TRUE : DefaultHandler(message, wParam, lParam);
    case WM_SETTEXT:
    case EM_SETTEXTEX:
    case EM_STREAMIN:
    case EM_EMPTYUNDOBUFFER:
        ForgetReplacementUnlessOwn();
        return DefaultHandler(message, wParam, lParam);
    case EM_REPLACESEL: {
        ForgetReplacementUnlessOwn();
        if (lineListEditing_)
            return DefaultHandler(message, wParam, lParam);
        const CHARRANGE before = GetSelection();
        if (undoLimit_ > 1 && RichEditVersion >= 2)
            wParam = TRUE;
        const LRESULT result = DefaultHandler(message, wParam, lParam);
        // The inserted text ends at the caret: its byte length would count CR
        // LF as two where the control stores one character per break.
        const CHARRANGE after = GetSelection();
        SetSelection(std::min(before.cpMin, before.cpMax), after.cpMax, true);
        return result;
    }
    default:
        return TControl::WndProc(message, wParam, lParam);
    }
}

LRESULT TQCustomRichEdit::BreakLineInPlainText(WORD key)
{
    // The control makes Shift+Enter a break inside the paragraph, which plain
    // text cannot hold: the page got a blank instead of a new line.
    if (OnKeyDown)
        OnKeyDown(key, KeyboardShiftState());
    if (key != 0 && !ReadOnly())
        DefaultHandler(EM_REPLACESEL, undoLimit_ > 1, reinterpret_cast<LPARAM>("\r"));
    return 0;
}

LRESULT TQCustomRichEdit::DialogCode(WPARAM wParam, const MSG* message)
{
    // Asked with the key's message, the control takes itself for a dialog's
    // edit box for the rest of its life: Tab then moves the focus through its
    // parent and still types a tab, and Enter types nothing. It is asked
    // without one, and the key is decided here.
    LRESULT code = DefaultHandler(WM_GETDLGCODE, wParam, 0);
    if (!wantTabs_)
        code &= ~DLGC_WANTTAB;
    if (message && message->message == WM_KEYDOWN) {
        const bool windowsKey = (message->wParam == VK_TAB && !wantTabs_) ||
                                (message->wParam == VK_RETURN && !wantReturns_) || message->wParam == VK_ESCAPE;
        if (windowsKey)
            code &= ~DLGC_WANTALLKEYS;
    }
    return code;
}

bool TQCustomRichEdit::HandleCommand(WORD code)
{
    if (code == EN_CHANGE) {
        // Any other edit is what Undo takes back now.
        ForgetReplacementUnlessOwn();
        Changed();
        return true;
    }
    return TControl::HandleCommand(code);
}

bool TQCustomRichEdit::HandleNotify(NMHDR& header, LRESULT& result)
{
    result = 0;
    switch (header.code) {
    case EN_REQUESTRESIZE:
        RequestSize(reinterpret_cast<REQRESIZE&>(header).rc);
        break;
    case EN_SELCHANGE:
        SelectionChange();
        break;
    case EN_PROTECTED: {
        const auto& protectedChange = reinterpret_cast<ENPROTECTED&>(header);
        result = ProtectChange(protectedChange.chrg.cpMin, protectedChange.chrg.cpMax) ? 0 : 1;
        break;
    }
    case EN_SAVECLIPBOARD: {
        const auto& save = reinterpret_cast<ENSAVECLIPBOARD&>(header);
        result = SaveClipboard(save.cObjectCount, save.cch) ? 0 : 1;
        break;
    }
    case EN_LINK:
        HandleLink(reinterpret_cast<ENLINK&>(header));
        break;
    default:
        break;
    }
    return true;
}

void TQCustomRichEdit::HandleLink(const ENLINK& link)
{
    // A click counts only when button-down and button-up of the same button
    // land on the same link.
    switch (link.msg) {
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        linkClickRange_ = link.chrg;
        linkClickButton_ = link.msg == WM_LBUTTONDOWN ? TMouseButton::mbLeft : TMouseButton::mbRight;
        break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP: {
        const TMouseButton button = link.msg == WM_LBUTTONUP ? TMouseButton::mbLeft : TMouseButton::mbRight;
        const CHARRANGE down = linkClickRange_;
        const bool sameButton = linkClickButton_ == button;
        linkClickRange_ = CHARRANGE{-1, -1};
        if (sameButton && down.cpMin == link.chrg.cpMin && down.cpMax == link.chrg.cpMax) {
            linkFollowedByClick_ = button == TMouseButton::mbLeft;
            URLClick(GetTextRange(link.chrg.cpMin, link.chrg.cpMax), button);
        }
        break;
    }
    default:
        break;
    }
}

void TQCustomRichEdit::Changed()
{
    if (OnChange)
        OnChange();
}

void TQCustomRichEdit::SelectionChange()
{
    if (OnSelectionChange)
        OnSelectionChange();
}

void TQCustomRichEdit::URLClick(const std::string& text, TMouseButton button)
{
    if (OnURLClick)
        OnURLClick(text, button);
}

void TQCustomRichEdit::RequestSize(const RECT& rect)
{
    if (OnResizeRequest)
        OnResizeRequest(rect);
}

bool TQCustomRichEdit::ProtectChange(int startPos, int endPos)
{
    bool allow = false;
    if (OnProtectChange)
        OnProtectChange(startPos, endPos, allow);
    return allow;
}

bool TQCustomRichEdit::SaveClipboard(int numObjects, int numChars)
{
    bool save = true;
    if (OnSaveClipboard)
        OnSaveClipboard(numObjects, numChars, save);
    return save;
}

void TQCustomRichEdit::UpdateTextMode()
{
    if (!Handle() || RichEditVersion < 2)
        return;
    SendTextMode(Handle(), plainText_, undoLimit_);
}

void TQCustomRichEdit::SetPlainText(bool plainText)
{
    if (plainText == plainText_)
        return;
    if (!Handle() || RichEditVersion < 2) {
        plainText_ = plainText;
        return;
    }
    // Re-streaming clears the modified flag and moves the caret to the
    // start; the person's view of the text must not change.
    const bool modified = Modified();
    const CHARRANGE selection = GetSelection();
    const TRichStreamFormat format = lines_->Format();
    const TRichStreamModes mode = lines_->Mode();
    auto restore = [&] {
        lines_->SetFormat(format);
        lines_->SetMode(mode);
        plainText_ = plainText;
    };
    try {
        TMemoryStream stream;
        lines_->SetFormat(plainText ? sfPlainText : sfRichText);
        lines_->SetMode(0);
        lines_->SaveToStream(stream);
        stream.SetPosition(0);
        SetChangeNotify(false);
        try {
            // The text mode can change only in an empty control with nothing to undo.
            ReplaceLargeContent();
            SendMessageA(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
            plainText_ = plainText;
            UpdateTextMode();
        } catch (...) {
            SetChangeNotify(true);
            throw;
        }
        SetChangeNotify(true);
        lines_->LoadFromStream(stream);
    } catch (...) {
        restore();
        throw;
    }
    restore();
    SetSelection(selection.cpMin, selection.cpMax, true);
    SetModified(modified);
}

void TQCustomRichEdit::Clear()
{
    CloseObjects();
    SetText("");
    SetModified(false);
}

void TQCustomRichEdit::SetText(const std::string& text)
{
    ReplaceLargeContent();
    if (!plainText_ || RichEditVersion < 2 || !Handle()) {
        TControl::SetText(text);
        return;
    }
    // The control reads a text set as a whole that starts as RTF does
    // ("{\rtf") as RTF, even in plain-text mode: a page holding such text
    // would show, and on its next edit keep, something else. Streamed in as
    // plain text it stays itself, and a long text goes in faster that way.
    lines_->LoadPlainText(text);
    SetSelection(0, 0, true);
    // As setting the text does: what was set is no edit.
    SetModified(false);
}

bool TQCustomRichEdit::ReplaceLargeContent()
{
    if (!Handle())
        return false;
    const auto lines = SendMessageA(Handle(), EM_GETLINECOUNT, 0, 0);
    if (lines <= LargeLineCount && TextLength() <= LargeTextLength)
        return false;
    RecreateWindow();
    return true;
}

void TQCustomRichEdit::RecreateWindow()
{
    HWND old = Handle();
    const DWORD oldStyle = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(old, GWL_EXSTYLE));
    // Everything else the window carries, whether set at creation, through a
    // setter or by someone changing the style (the main window drops WS_TABSTOP).
    DWORD style = (oldStyle & ~(WS_VSCROLL | WS_HSCROLL | ES_NOHIDESEL | WS_VISIBLE | ES_READONLY)) | scrollBarStyle_;
    if (!hideSelection_)
        style |= ES_NOHIDESEL;
    // Drawing held back for an update bracket hides the window meanwhile:
    // the fresh one is shown as the old one was before the bracket.
    const bool visible = lines_->UpdateCount() > 0 ? lines_->redraw_.ShownBefore() : (oldStyle & WS_VISIBLE) != 0;
    HWND parentWindow = (oldStyle & WS_CHILD) ? GetParent(old) : nullptr;
    RECT bounds{};
    GetWindowRect(old, &bounds);
    if (parentWindow)
        MapWindowPoints(HWND_DESKTOP, parentWindow, reinterpret_cast<POINT*>(&bounds), 2);
    const auto id = GetWindowLongPtrA(old, GWLP_ID);
    const LRESULT eventMask = SendMessageA(old, EM_GETEVENTMASK, 0, 0);
    const LRESULT options = SendMessageA(old, EM_GETOPTIONS, 0, 0);
    const LRESULT font = SendMessageA(old, WM_GETFONT, 0, 0);
    CHARFORMAT2A format{};
    format.cbSize = sizeof format;
    SendMessageA(old, EM_GETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    LRESULT langOptions = 0;
    int zoomNumerator = 0;
    int zoomDenominator = 0;
    if (RichEditVersion >= 2) {
        langOptions = SendMessageA(old, EM_GETLANGOPTIONS, 0, 0);
        SendMessageA(old, EM_GETZOOM, reinterpret_cast<WPARAM>(&zoomNumerator),
                     reinterpret_cast<LPARAM>(&zoomDenominator));
    }

    HWND window = CreateWindowExA(exStyle, RichEditClass(), "", style, bounds.left, bounds.top,
                                  bounds.right - bounds.left, bounds.bottom - bounds.top, parentWindow,
                                  parentWindow ? reinterpret_cast<HMENU>(id) : nullptr, GetModuleHandleA(nullptr),
                                  nullptr);
    if (!window)
        throw EOutOfResources("Error creating window");
    // Set up before the object takes the window over, with no events on, so
    // that the setup reaches no handler.
    SendMessageA(window, EM_SETEVENTMASK, 0, 0);
    // First: later setup keeps the fresh control from taking the plain-text mode.
    if (RichEditVersion >= 2) {
        SendMessageA(window, EM_SETUNDOLIMIT, undoLimit_, 0);
        SendTextMode(window, plainText_, undoLimit_);
    }
    SendMessageA(window, WM_SETFONT,
                 font ? static_cast<WPARAM>(font) : reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    SendMessageA(window, EM_EXLIMITTEXT, 0, maxLength_ > 0 ? maxLength_ : 0xFFFFFF);
    if (RichEditVersion >= 2) {
        SendMessageA(window, EM_AUTOURLDETECT, autoURLDetect_, 0);
        SendMessageA(window, EM_SETLANGOPTIONS, 0, langOptions);
        if (zoomNumerator > 0 && zoomDenominator > 0)
            SendMessageA(window, EM_SETZOOM, zoomNumerator, zoomDenominator);
    }
    SendMessageA(window, EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<LPARAM>(&format));
    SendMessageA(window, EM_SETTARGETDEVICE, 0, wordWrap_ ? 0 : 1);
    SendMessageA(window, EM_SETOPTIONS, ECOOP_SET, options);
    SendMessageA(window, EM_SETREADONLY, (oldStyle & ES_READONLY) != 0, 0);
    SendMessageA(window, EM_SETMODIFY, FALSE, 0);
    SendMessageA(window, EM_SETEVENTMASK, 0, eventMask);

    DetachOle();
    ReplaceHandle(window);
    if (allowObjects_)
        AttachOle();
    // Right behind the old window in the z-order, which is where it stays
    // once the old one is gone. ES_SELECTIONBAR is also WS_MAXIMIZE, so a
    // child made with it fills its parent until placed.
    SetWindowPos(window, old, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                 SWP_NOACTIVATE | (visible ? SWP_SHOWWINDOW : 0));
    if (lines_->UpdateCount() > 0)
        lines_->SetUpdateState(true);
    // The form's focused control stays this object, so moving the focus
    // fires no OnExit or OnEnter.
    if (GetFocus() == old)
        ::SetFocus(window);
    DestroyWindow(old);
}

void TQCustomRichEdit::SetRightToLeft(bool rightToLeft)
{
    if (rightToLeft == rightToLeft_)
        return;
    rightToLeft_ = rightToLeft;
    const LONG_PTR exStyle = GetWindowLongPtrA(Handle(), GWL_EXSTYLE);
    constexpr LONG_PTR rtlStyles = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    SetWindowLongPtrA(Handle(), GWL_EXSTYLE, rightToLeft ? (exStyle | rtlStyles) : (exStyle & ~rtlStyles));
    // The text keeps its side: left-aligned text now starts at the right.
    paraAttributes_.SetAlignment(TParaAlignment::paLeftJustify);
}

bool TQCustomRichEdit::Modified() const { return SendMessageA(Handle(), EM_GETMODIFY, 0, 0) != 0; }

void TQCustomRichEdit::SetModified(bool modified) { SendMessageA(Handle(), EM_SETMODIFY, modified, 0); }

bool TQCustomRichEdit::ReadOnly() const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & ES_READONLY) != 0; }

void TQCustomRichEdit::SetReadOnly(bool readOnly) { SendMessageA(Handle(), EM_SETREADONLY, readOnly, 0); }

void TQCustomRichEdit::SetWordWrap(bool wordWrap)
{
    wordWrap_ = wordWrap;
    // A null target device with width 0 wraps to the window; width 1 never wraps.
    SendMessageA(Handle(), EM_SETTARGETDEVICE, 0, wordWrap ? 0 : 1);
}

void TQCustomRichEdit::SetMaxLength(int length)
{
    maxLength_ = length;
    SendMessageA(Handle(), EM_EXLIMITTEXT, 0, length > 0 ? length : 0xFFFFFF);
}

void TQCustomRichEdit::SetHideSelection(bool hide)
{
    if (hide == hideSelection_)
        return;
    hideSelection_ = hide;
    SendMessageA(Handle(), EM_HIDESELECTION, hide, TRUE);
    // The option, not the message, decides whether a control without the
    // focus shows its selection (a found text in the page, say).
    SendMessageA(Handle(), EM_SETOPTIONS, hide ? ECOOP_AND : ECOOP_OR, hide ? ~ECO_NOHIDESEL : ECO_NOHIDESEL);
}

bool TQCustomRichEdit::AutoURLDetect() const
{
    if (RichEditVersion < 2)
        return autoURLDetect_;
    return SendMessageA(Handle(), EM_GETAUTOURLDETECT, 0, 0) != 0;
}

void TQCustomRichEdit::SetAutoURLDetect(bool detect)
{
    autoURLDetect_ = detect;
    if (RichEditVersion >= 2)
        SendMessageA(Handle(), EM_AUTOURLDETECT, detect, 0);
}

bool TQCustomRichEdit::WordSelection() const
{
    return (SendMessageA(Handle(), EM_GETOPTIONS, 0, 0) & ECO_AUTOWORDSELECTION) != 0;
}

void TQCustomRichEdit::SetWordSelection(bool wordSelection)
{
    wordSelection_ = wordSelection;
    const LRESULT options = SendMessageA(Handle(), EM_GETOPTIONS, 0, 0);
    const LRESULT wanted = wordSelection ? (options | ECO_AUTOWORDSELECTION) : (options & ~ECO_AUTOWORDSELECTION);
    SendMessageA(Handle(), EM_SETOPTIONS, ECOOP_SET, wanted);
}

CHARRANGE TQCustomRichEdit::GetSelection() const
{
    CHARRANGE range{0, 0};
    SendMessageA(Handle(), EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&range));
    return range;
}

void TQCustomRichEdit::SetSelection(int start, int end, bool scrollCaret)
{
    CHARRANGE range{start, end};
    SendMessageA(Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&range));
    if (scrollCaret)
        SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

int TQCustomRichEdit::SelLength() const
{
    const CHARRANGE range = GetSelection();
    return range.cpMax - range.cpMin;
}

void TQCustomRichEdit::SetSelLength(int length)
{
    const int start = GetSelection().cpMin;
    SetSelection(start, start + length, true);
}

std::string TQCustomRichEdit::SelText() const
{
    const CHARRANGE range = GetSelection();
    return GetTextRange(range.cpMin, range.cpMax);
}

void TQCustomRichEdit::SetSelText(const std::string& text)
{
    // Undoable only when the undo limit allows more than one step (see EM_REPLACESEL).
    SendMessageA(Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

int TQCustomRichEdit::GetSelTextBuf(char* buffer, int size) const
{
    if (!buffer || size <= 0)
        return 0;
    const std::string text = SelText();
    const int count = std::min(size, static_cast<int>(text.size()));
    std::copy_n(text.data(), count, buffer);
    if (count < size)
        buffer[count] = '\0';
    return count;
}

int TQCustomRichEdit::TextLength() const
{
    if (RichEditVersion < 2)
        return static_cast<int>(SendMessageA(Handle(), WM_GETTEXTLENGTH, 0, 0));
    GETTEXTLENGTHEX request{GTL_NUMCHARS | GTL_PRECISE, CP_ACP};
    return static_cast<int>(SendMessageA(Handle(), EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&request), 0));
}

std::string TQCustomRichEdit::GetTextRange(int start, int end) const
{
    const int length = TextLength();
    start = std::clamp(start, 0, length);
    if (end < 0 || end > length)
        end = length;
    if (end <= start)
        return {};
    // Two bytes per character, for double-byte code pages, and the terminator.
    std::vector<char> buffer(static_cast<std::size_t>(end - start) * 2 + 1, '\0');
    TEXTRANGEA range{{start, end}, buffer.data()};
    const LRESULT copied = SendMessageA(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    const auto count = static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, static_cast<LRESULT>(buffer.size() - 1)));
    return std::string(buffer.data(), count);
}

POINT TQCustomRichEdit::GetCaretPos() const
{
    const int end = GetSelection().cpMax;
    const int lineStart = static_cast<int>(SendMessageA(Handle(), EM_LINEINDEX, static_cast<WPARAM>(-1), 0));
    return POINT{end - lineStart, LineFromChar(end)};
}

int TQCustomRichEdit::LineFromChar(int position) const
{
    return static_cast<int>(SendMessageA(Handle(), EM_EXLINEFROMCHAR, 0, position));
}

int TQCustomRichEdit::GetLineIndex(int line) const
{
    return static_cast<int>(SendMessageA(Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
}

int TQCustomRichEdit::GetLineLength(int position) const
{
    return static_cast<int>(SendMessageA(Handle(), EM_LINELENGTH, static_cast<WPARAM>(position), 0));
}

POINT TQCustomRichEdit::GetCharPos(int position) const
{
    POINT point{0, 0};
    if (!Handle())
        return point;
    if (RichEditVersion == 2) {
        const LRESULT packed = SendMessageA(Handle(), EM_POSFROMCHAR, static_cast<WPARAM>(position), 0);
        return POINT{static_cast<short>(LOWORD(packed)), static_cast<short>(HIWORD(packed))};
    }
    SendMessageA(Handle(), EM_POSFROMCHAR, reinterpret_cast<WPARAM>(&point), position);
    return point;
}

void TQCustomRichEdit::SetUndoLimit(int limit)
{
    if (limit == undoLimit_)
        return;
    undoLimit_ = limit;
    if (RichEditVersion >= 2 && Handle())
        undoLimit_ = static_cast<int>(SendMessageA(Handle(), EM_SETUNDOLIMIT, limit, 0));
}

bool TQCustomRichEdit::CanUndo() const { return SendMessageA(Handle(), EM_CANUNDO, 0, 0) != 0; }

void TQCustomRichEdit::Undo() { SendMessageA(Handle(), EM_UNDO, 0, 0); }

bool TQCustomRichEdit::CanRedo() const
{
    return RichEditVersion >= 2 && SendMessageA(Handle(), EM_CANREDO, 0, 0) != 0;
}

void TQCustomRichEdit::Redo() { SendMessageA(Handle(), EM_REDO, 0, 0); }

void TQCustomRichEdit::ClearUndo() { SendMessageA(Handle(), EM_EMPTYUNDOBUFFER, 0, 0); }

void TQCustomRichEdit::StopGroupTyping()
{
    if (RichEditVersion >= 2)
        SendMessageA(Handle(), EM_STOPGROUPTYPING, 0, 0);
}

bool TQCustomRichEdit::CanPaste() const { return SendMessageA(Handle(), EM_CANPASTE, 0, 0) != 0; }

void TQCustomRichEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }

void TQCustomRichEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }

void TQCustomRichEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }

void TQCustomRichEdit::PastePlainText()
{
    if (ReadOnly())
        return;
    const std::string text = ClipboardText();
    if (text.empty())
        return;
    // The control's own replacement, which leaves the caret after the text.
    DefaultHandler(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TQCustomRichEdit::IsPasteKey(WPARAM key)
{
    // The control reads the keys held from the thread's keyboard state.
    const bool ctrl = GetKeyState(VK_CONTROL) < 0;
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    return (key == 'V' && ctrl) || (key == VK_INSERT && shift && !ctrl);
}

void TQCustomRichEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }

void TQCustomRichEdit::SetChangeNotify(bool on)
{
    const LRESULT mask = SendMessageA(Handle(), EM_GETEVENTMASK, 0, 0);
    SendMessageA(Handle(), EM_SETEVENTMASK, 0, on ? (mask | ENM_CHANGE) : (mask & ~ENM_CHANGE));
}


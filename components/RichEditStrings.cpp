#include "RichEditStrings.h"

#include <functional>

#include "Exceptions.h"
#include "FlagScope.h"
#include "RichEdit.h"
#include "RtfReaderLimits.h"
#include "SafeFileWriter.h"
#include "Streams.h"
#include "TextSlices.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <exception>
#include <string_view>
#include <vector>

// --- Conversions -----------------------------------------------------------

int TConversion::ConvertReadStream(TStream& stream, char* buffer, int size)
{
    return static_cast<int>(stream.Read(buffer, size));
}

int TConversion::ConvertWriteStream(TStream& stream, const char* buffer, int size)
{
    return static_cast<int>(stream.Write(buffer, size));
}

int TOEMConversion::ConvertReadStream(TStream& stream, char* buffer, int size)
{
    std::vector<char> oem(static_cast<std::size_t>(std::max(size, 1)));
    const int count = TConversion::ConvertReadStream(stream, oem.data(), size);
    if (count > 0)
        OemToCharBuffA(oem.data(), buffer, static_cast<DWORD>(count));
    return count;
}

int TOEMConversion::ConvertWriteStream(TStream& stream, const char* buffer, int size)
{
    std::vector<char> oem(static_cast<std::size_t>(std::max(size, 1)));
    if (size > 0)
        CharToOemBuffA(buffer, oem.data(), static_cast<DWORD>(size));
    return TConversion::ConvertWriteStream(stream, oem.data(), size);
}

namespace {
struct ConversionFormat {
    TConversionClass conversionClass;
    std::string extension;
    bool plainText;
};

// Newest first.
std::vector<ConversionFormat>& ConversionFormats()
{
    static std::vector<ConversionFormat> formats{
        {ConversionClassOf<TConversion>(), "txt", true},
        {ConversionClassOf<TConversion>(), "rtf", false},
    };
    return formats;
}

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

const ConversionFormat* FormatForPath(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/:");
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return nullptr;
    const std::string extension = LowerCase(path.substr(dot + 1));
    for (const ConversionFormat& format : ConversionFormats())
        if (format.extension == extension)
            return &format;
    return nullptr;
}

// What one load or save hands its callback through the cookie.
struct StreamRecord {
    TConversion* converter = nullptr;
    TStream* stream = nullptr;
    // Plain-text loads turn every line break into CR LF; RTF bytes pass
    // untouched (binary runs in RTF count their bytes).
    bool normalize = false;
    int chunkSize = 0;
    const std::function<void(const char*, int)>* observer = nullptr;
    // A CR that ended the last chunk: whether an LF follows is not known yet.
    bool pendingCR = false;
    bool endOfSource = false;
    // Normalised bytes not yet handed to the control.
    std::string output;
    // RTF out: the control ends it with a NUL after the closing brace, which
    // belongs in no file. NULs are passed on only once other bytes follow.
    bool holdTrailingNuls = false;
    int heldNuls = 0;
};

void AppendNormalized(StreamRecord& record, const char* bytes, int count);

// The text with every line break a CR LF, as a plain-text load hands it on.
std::string WithCrLfBreaks(std::string_view text)
{
    StreamRecord record;
    AppendNormalized(record, text.data(), static_cast<int>(text.size()));
    if (record.pendingCR)
        record.output += "\r\n";
    return std::move(record.output);
}

void AppendNormalized(StreamRecord& record, const char* bytes, int count)
{
    int i = 0;
    if (record.pendingCR) {
        record.output += "\r\n";
        record.pendingCR = false;
        if (count > 0 && bytes[0] == '\n')
            i = 1;
    }
    for (; i < count; ++i) {
        const char c = bytes[i];
        if (c == '\r') {
            if (i + 1 == count) {
                record.pendingCR = true;
            } else {
                record.output += "\r\n";
                if (bytes[i + 1] == '\n')
                    ++i;
            }
        } else if (c == '\n') {
            record.output += "\r\n";
        } else {
            record.output += c;
        }
    }
}

// The control calls these from inside EM_STREAMIN / EM_STREAMOUT: no
// exception may leave them, so every failure becomes an error return.
DWORD CALLBACK ReadStreamChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* delivered)
{
    *delivered = 0;
    try {
        auto& record = *reinterpret_cast<StreamRecord*>(cookie);
        if (size <= 0)
            return 0;
        const int wanted = record.chunkSize > 0 ? record.chunkSize : std::max<LONG>(size / 2, 1);
        if (!record.normalize) {
            const int count = record.converter->ConvertReadStream(*record.stream, reinterpret_cast<char*>(buffer),
                                                                  std::min<LONG>(wanted, size));
            *delivered = std::max(count, 0);
            if (record.observer && *record.observer)
                (*record.observer)(reinterpret_cast<const char*>(buffer), *delivered);
            return 0;
        }
        while (record.output.empty() && !record.endOfSource) {
            std::vector<char> chunk(static_cast<std::size_t>(wanted));
            const int count = record.converter->ConvertReadStream(*record.stream, chunk.data(), wanted);
            if (count <= 0) {
                record.endOfSource = true;
                if (record.pendingCR) {
                    record.output += "\r\n";
                    record.pendingCR = false;
                }
            } else {
                AppendNormalized(record, chunk.data(), count);
            }
        }
        const auto count = std::min<std::size_t>(record.output.size(), static_cast<std::size_t>(size));
        std::copy_n(record.output.data(), count, reinterpret_cast<char*>(buffer));
        record.output.erase(0, count);
        *delivered = static_cast<LONG>(count);
        if (record.observer && *record.observer)
            (*record.observer)(reinterpret_cast<const char*>(buffer), *delivered);
        return 0;
    } catch (...) {
        *delivered = 0;
        return 1;
    }
}

// The bytes written, as the converter counts them.
int WriteHoldingTrailingNuls(StreamRecord& record, const char* bytes, int size)
{
    int end = size;
    while (end > 0 && bytes[end - 1] == '\0')
        --end;
    if (end > 0 && record.heldNuls > 0) {
        const std::string nuls(static_cast<size_t>(record.heldNuls), '\0');
        if (record.converter->ConvertWriteStream(*record.stream, nuls.data(), record.heldNuls) != record.heldNuls)
            return 0;
        record.heldNuls = 0;
    }
    const int count = end > 0 ? record.converter->ConvertWriteStream(*record.stream, bytes, end) : 0;
    if (count != end)
        return count;
    record.heldNuls += size - end;
    return size;
}

DWORD CALLBACK WriteStreamChunk(DWORD_PTR cookie, LPBYTE buffer, LONG size, LONG* written)
{
    *written = 0;
    try {
        auto& record = *reinterpret_cast<StreamRecord*>(cookie);
        const char* bytes = reinterpret_cast<const char*>(buffer);
        const int count = record.holdTrailingNuls ? WriteHoldingTrailingNuls(record, bytes, size)
                                                  : record.converter->ConvertWriteStream(*record.stream, bytes, size);
        *written = std::max(count, 0);
        return count == size ? 0 : 2;
    } catch (...) {
        return 2;
    }
}

// Repaints the window after its drawing was held back, its frame included: a
// scroll bar that came or went meanwhile (a long text loaded, say) was never
// drawn, and the frame is no part of the client area.
void RepaintWholeWindow(HWND window) { RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME); }

// The rest of the stream as the converter hands it over, when the control
// can read it as RTF; a converter that fails, or RTF beyond the control's
// limits, fails the load.
std::string ScreenedRtf(TConversion& converter, TStream& stream)
{
    std::string bytes;
    try {
        std::vector<char> block(64 * 1024);
        for (int count; (count = converter.ConvertReadStream(stream, block.data(), static_cast<int>(block.size()))) > 0;)
            bytes.append(block.data(), static_cast<std::size_t>(count));
    } catch (const std::exception&) {
        throw EOutOfResources("Failed to Load Stream");
    }
    if (!RichEditCanReadRtf(bytes))
        throw EOutOfResources("Failed to Load Stream");
    return bytes;
}

// Hidden or not, a control that redraws recomputes its layout after every
// edit, which makes big edits take seconds under Wine. Switching redraw on
// must not show a hidden control, as the default handling of the message would.
// Redraw off for one operation outside any update bracket.
// A fresh window (see TQCustomRichEdit::ReplaceLargeContent) starts with
// redraw on and only needs repainting.
class QuietRedraw {
public:
    QuietRedraw(const TQCustomRichEdit& owner, bool active) : owner_(owner), window_(owner.Handle()), active_(active)
    {
        if (active_)
            redraw_.Suspend(window_);
    }
    ~QuietRedraw()
    {
        if (!active_)
            return;
        if (owner_.Handle() == window_)
            redraw_.Resume(window_);
        RepaintWholeWindow(owner_.Handle());
    }
    QuietRedraw(const QuietRedraw&) = delete;
    QuietRedraw& operator=(const QuietRedraw&) = delete;

private:
    const TQCustomRichEdit& owner_;
    HWND window_;
    bool active_;
    TRedrawSuspension redraw_;
};

// The control's notifications (its event mask) off for one operation, back
// on every path out, on the window the control has then.
class ControlEventsOff {
public:
    explicit ControlEventsOff(const TQCustomRichEdit& owner)
        : owner_(owner), mask_(SendMessageA(owner.Handle(), EM_GETEVENTMASK, 0, 0))
    {
        SendMessageA(owner_.Handle(), EM_SETEVENTMASK, 0, 0);
    }
    ~ControlEventsOff() { SendMessageA(owner_.Handle(), EM_SETEVENTMASK, 0, mask_); }
    ControlEventsOff(const ControlEventsOff&) = delete;
    ControlEventsOff& operator=(const ControlEventsOff&) = delete;

private:
    const TQCustomRichEdit& owner_;
    LRESULT mask_;
};

// Holds back the owner's selection-change event for one operation and gives
// it back on every path out.
class SelectionEventsOff {
public:
    explicit SelectionEventsOff(TQCustomRichEdit& owner)
        : owner_(owner), handler_(std::move(owner.OnSelectionChange))
    {
        owner_.OnSelectionChange = nullptr;
    }
    ~SelectionEventsOff() { owner_.OnSelectionChange = std::move(handler_); }
    SelectionEventsOff(const SelectionEventsOff&) = delete;
    SelectionEventsOff& operator=(const SelectionEventsOff&) = delete;

private:
    TQCustomRichEdit& owner_;
    decltype(TQCustomRichEdit::OnSelectionChange) handler_;
};

// Brackets a batch of line changes with BeginUpdate and EndUpdate on every
// path out. An error while closing the bracket during unwinding is dropped:
// the error that unwinds is the one to report.
class UpdateBracket {
public:
    explicit UpdateBracket(TStrings& lines) : lines_(lines) { lines_.BeginUpdate(); }
    ~UpdateBracket() noexcept(false)
    {
        if (std::uncaught_exceptions() == 0) {
            lines_.EndUpdate();
            return;
        }
        try {
            lines_.EndUpdate();
        } catch (...) {
        }
    }
    UpdateBracket(const UpdateBracket&) = delete;
    UpdateBracket& operator=(const UpdateBracket&) = delete;

private:
    TStrings& lines_;
};

// Splits as TStrings::SetText does: at CR LF, lone CR or lone LF; a break at
// the very end starts no further line.
std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n')
            ++start;
    }
    return lines;
}
}

void RegisterRichEditConversionFormat(const std::string& extension, bool plainText, TConversionClass conversionClass)
{
    auto& formats = ConversionFormats();
    formats.insert(formats.begin(), ConversionFormat{std::move(conversionClass), LowerCase(extension), plainText});
}

// --- TRichEditStrings -----------------------------------------------------

TRichEditStrings::TRichEditStrings(TQCustomRichEdit& owner) : owner_(owner) {}

TRichEditStrings::~TRichEditStrings() = default;

std::string TRichEditStrings::Break() const { return RichEditVersion == 1 ? "\r\n" : "\r"; }

std::string TRichEditStrings::Get(int index) const
{
    if (index < 0)
        return {};
    const int start = owner_.GetLineIndex(index);
    if (start < 0)
        return {};
    // The whole line, however long: EM_GETLINE's buffer would cut it.
    return owner_.GetTextRange(start, start + owner_.GetLineLength(start));
}

int TRichEditStrings::Count() const
{
    const int count = static_cast<int>(SendMessageA(owner_.Handle(), EM_GETLINECOUNT, 0, 0));
    if (count <= 0)
        return 0;
    const int lastStart = owner_.GetLineIndex(count - 1);
    return lastStart >= 0 && owner_.GetLineLength(lastStart) == 0 ? count - 1 : count;
}

void TRichEditStrings::Put(int index, const std::string& text)
{
    if (index < 0)
        return;
    const int start = owner_.GetLineIndex(index);
    if (start < 0)
        return;
    owner_.SetSelection(start, start + owner_.GetLineLength(start), false);
    TFlagScope editing(owner_.lineListEditing_);
    SendMessageA(owner_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void TRichEditStrings::Insert(int index, const std::string& text)
{
    if (index < 0)
        return;
    int position = owner_.GetLineIndex(index);
    std::string inserted;
    if (position >= 0) {
        inserted = text + Break();
    } else {
        position = owner_.GetLineIndex(index - 1);
        if (position < 0)
            return;
        const int length = owner_.GetLineLength(position);
        if (length == 0)
            return;
        position += length;
        inserted = Break() + text;
    }
    owner_.SetSelection(position, position, false);
    {
        TFlagScope editing(owner_.lineListEditing_);
        SendMessageA(owner_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(inserted.c_str()));
    }
    if (RichEditVersion == 1 && owner_.SelStart() != position + static_cast<int>(inserted.size()))
        throw EOutOfResources("RichEdit line insertion error");
}

void TRichEditStrings::Delete(int index)
{
    if (index < 0)
        return;
    const int start = owner_.GetLineIndex(index);
    if (start < 0)
        return;
    int end = owner_.GetLineIndex(index + 1);
    if (end < 0)
        end = start + owner_.GetLineLength(start);
    owner_.SetSelection(start, end, false);
    TFlagScope editing(owner_.lineListEditing_);
    SendMessageA(owner_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(""));
}

void TRichEditStrings::Clear()
{
    // Clearing may put a fresh window in place of the old one: redraw goes
    // back on in whichever window the control has afterwards.
    QuietRedraw quiet(owner_, UpdateCount() == 0);
    owner_.Clear();
}

void TRichEditStrings::SetUpdateState(bool updating)
{
    HWND window = owner_.Handle();
    if (updating)
        redraw_.Suspend(window);
    else
        redraw_.Resume(window);
    if (!updating) {
        RepaintWholeWindow(window);
        // One change for the whole batch, as the control would report it.
        owner_.Changed();
    }
}

std::string TRichEditStrings::GetText() const
{
    if (owner_.WordWrap() || RichEditVersion == 1) {
        // Display lines decide: read them one by one.
        std::string text;
        const int count = Count();
        for (int i = 0; i < count; ++i)
            text += Get(i) + "\r\n";
        return text;
    }
    // Without wrapping, lines are paragraphs: read the whole text once.
    const std::string all = owner_.GetTextRange(0, -1);
    std::string text;
    text.reserve(all.size() + all.size() / 16 + 2);
    for (const char c : all) {
        if (c == '\r')
            text += "\r\n";
        else if (c != '\n')
            text += c;
    }
    if (!all.empty() && all.back() != '\r')
        text += "\r\n";
    return text;
}

void TRichEditStrings::InsertAtEnd(const std::string& joined)
{
    const int count = static_cast<int>(SendMessageA(owner_.Handle(), EM_GETLINECOUNT, 0, 0));
    const int lastStart = owner_.GetLineIndex(std::max(count - 1, 0));
    const int lastLength = lastStart >= 0 ? owner_.GetLineLength(lastStart) : 0;
    const int position = std::max(lastStart, 0) + lastLength;
    std::string inserted = lastLength == 0 ? joined : Break() + joined;
    // A trailing break was added per line; after a non-empty last line the
    // breaks go before each line instead (as inserting at the end line by line does).
    if (lastLength != 0 && inserted.size() >= Break().size())
        inserted.erase(inserted.size() - Break().size());
    owner_.SetSelection(position, position, false);
    TFlagScope editing(owner_.lineListEditing_);
    SendMessageA(owner_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(inserted.c_str()));
}

void TRichEditStrings::SetText(const std::string& text)
{
    std::string joined;
    joined.reserve(text.size() + 16);
    for (const std::string& line : SplitLines(text))
        joined += line + Break();
    owner_.SetChangeNotify(false);
    try {
        BeginUpdate();
        try {
            Clear();
            if (!joined.empty())
                InsertAtEnd(joined);
        } catch (...) {
            owner_.SetChangeNotify(true);
            EndUpdate();
            throw;
        }
        owner_.SetChangeNotify(true);
        EndUpdate();
    } catch (...) {
        owner_.SetChangeNotify(true);
        throw;
    }
}

void TRichEditStrings::AddStrings(const TStrings& source)
{
    std::string joined;
    for (int i = 0; i < source.Count(); ++i)
        joined += source.Get(i) + Break();
    // Appending moves the selection; that is no change a person made.
    SelectionEventsOff quiet(owner_);
    UpdateBracket update(*this);
    if (!joined.empty())
        InsertAtEnd(joined);
}

void TRichEditStrings::Assign(const TStrings& source)
{
    if (&source == this)
        return;
    // Emptying the control moves the selection too; no person moved it.
    SelectionEventsOff quiet(owner_);
    UpdateBracket update(*this);
    Clear();
    AddStrings(source);
}

void TRichEditStrings::LoadFromStream(TStream& stream)
{
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = converter_.get();
    if (!converter) {
        temporary = owner_.DefaultConversionClass();
        converter = temporary.get();
    }
    const bool plain = format_ == sfPlainText || (format_ == sfDefault && owner_.PlainText());
    WPARAM type = plain ? SF_TEXT : SF_RTF;
    if (!plain && (mode_ & smPlainRtf))
        type |= SFF_PLAINRTF;
    if (plain && (mode_ & smUnicode) && RichEditVersion >= 2)
        type |= SF_UNICODE;
    const WPARAM selection = (mode_ & smSelection) ? SFF_SELECTION : 0;
    type |= selection;
    // RTF reaches the control only once screened, so its bytes are read
    // first, before anything changes; the tries after take them from memory.
    TConversion unchanged;
    TConversion* reading = converter;
    TStream* from = &stream;
    std::unique_ptr<TStringStream> screened;
    auto screenRtf = [&] {
        screened = std::make_unique<TStringStream>(ScreenedRtf(*converter, stream));
        reading = &unchanged;
        from = screened.get();
    };
    if (type & SF_RTF)
        screenRtf();
    // Loading over the whole text empties the control first, which a fresh
    // window does far faster when it holds much.
    if (!selection)
        owner_.ReplaceLargeContent();

    HWND window = owner_.Handle();
    auto streamIn = [&](TConversion& conversion, TStream& source, WPARAM streamType) {
        StreamRecord record;
        record.converter = &conversion;
        record.stream = &source;
        record.normalize = (streamType & SF_TEXT) != 0;
        record.chunkSize = ReadChunkSize;
        record.observer = &OnStreamInBlock;
        EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&record), 0, &ReadStreamChunk};
        SendMessageA(window, EM_STREAMIN, streamType, reinterpret_cast<LPARAM>(&edit));
        return edit.dwError;
    };
    QuietRedraw quiet(owner_, UpdateCount() == 0);

    // A failed load empties the whole control, even one meant for the
    // selection only: keep the content so that the retry replaces no more
    // than the selection.
    TMemoryStream kept;
    CHARRANGE keptSelection{0, 0};
    const WPARAM keptType = owner_.PlainText() ? SF_TEXT : SF_RTF;
    if (selection) {
        keptSelection = owner_.GetSelection();
        StreamRecord record;
        record.converter = &unchanged;
        record.stream = &kept;
        EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&record), 0, &WriteStreamChunk};
        SendMessageA(window, EM_STREAMOUT, keptType, reinterpret_cast<LPARAM>(&edit));
    }
    const std::int64_t start = from->Position();
    if (streamIn(*reading, *from, type) != 0) {
        if (selection) {
            kept.SetPosition(0);
            streamIn(unchanged, kept, keptType);
            owner_.SetSelection(keptSelection.cpMin, keptSelection.cpMax, false);
        }
        from->SetPosition(start);
        // The other plain format, still into the selection when that was asked for.
        const WPARAM retry = ((type & SF_RTF) ? SF_TEXT : SF_RTF) | selection;
        if (!screened && (retry & SF_RTF))
            screenRtf();
        if (streamIn(*reading, *from, retry) != 0)
            throw EOutOfResources("Failed to Load Stream");
    }
    owner_.SetSelection(0, 0, true);
}

void TRichEditStrings::LoadPlainText(const std::string& text)
{
    owner_.ReplaceLargeContent();
    const std::string_view whole(text.c_str(), std::min(text.find('\0'), text.size()));
    // The control reads a stream that begins with the UTF-8 byte order mark
    // as UTF-8 to its end, and a piece added after it would be read as ANSI.
    const bool utf8 = whole.substr(0, 3) == "\xEF\xBB\xBF";
    if (whole.size() <= PlainTextPieceBytes || utf8) {
        StreamInPlainText(whole);
        return;
    }
    // Under Wine the control lays a whole text out at the end of the load,
    // in time growing faster than its size (4 MB: 35 s and more, where the
    // same text a piece at a time takes 7 s), and nothing can move or paint
    // meanwhile. So a long text goes in a piece at a time, each told to the
    // observer. The first piece streams in as any text does, so the start
    // is read the same way; the others follow it at the end, their line
    // breaks as the stream would have made them.
    const std::string breaks = WithCrLfBreaks(whole);
    const std::vector<std::string_view> pieces = TextSlices(breaks, SIZE_MAX, PlainTextPieceBytes);
    StreamInPlainText(pieces.front());
    AppendPieces(std::vector<std::string_view>(pieces.begin() + 1, pieces.end()));
}

void TRichEditStrings::StreamInPlainText(std::string_view text)
{
    TStringStream source{std::string(text)};
    TConversion unchanged;
    StreamRecord record;
    record.converter = &unchanged;
    record.stream = &source;
    record.normalize = true;
    record.chunkSize = ReadChunkSize;
    record.observer = &OnStreamInBlock;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&record), 0, &ReadStreamChunk};
    {
        QuietRedraw quiet(owner_, UpdateCount() == 0);
        SendMessageA(owner_.Handle(), EM_STREAMIN, SF_TEXT, reinterpret_cast<LPARAM>(&edit));
    }
    if (edit.dwError != 0)
        throw EOutOfResources("Failed to Load Stream");
}

void TRichEditStrings::AppendPieces(const std::vector<std::string_view>& pieces)
{
    // As during a stream, the control reports nothing of the load: no
    // change, no selection moving.
    const ControlEventsOff events(owner_);
    // Painted once, when all is in: between pieces, where the observer may
    // let messages through, Wine paints the pieces as if selected.
    const QuietRedraw quiet(owner_, UpdateCount() == 0);
    // Nothing to select or to undo: the replacements are the load's own.
    const TFlagScope editing(owner_.lineListEditing_);
    for (const std::string_view piece : pieces) {
        const std::string text(piece);
        CHARRANGE end{-1, -1};
        SendMessageA(owner_.Handle(), EM_EXSETSEL, 0, reinterpret_cast<LPARAM>(&end));
        SendMessageA(owner_.Handle(), EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        if (OnStreamInBlock)
            OnStreamInBlock(text.data(), static_cast<int>(text.size()));
    }
    // A whole load leaves nothing to undo, the pieces included.
    SendMessageA(owner_.Handle(), EM_EMPTYUNDOBUFFER, 0, 0);
}

void TRichEditStrings::SaveToStream(TStream& stream)
{
    std::unique_ptr<TConversion> temporary;
    TConversion* converter = converter_.get();
    if (!converter) {
        temporary = owner_.DefaultConversionClass();
        converter = temporary.get();
    }
    const bool plain = format_ == sfPlainText || (format_ == sfDefault && owner_.PlainText());
    WPARAM type = SF_TEXT;
    if (!plain) {
        type = (mode_ & smNoObjects) ? SF_RTFNOOBJS : SF_RTF;
        if (mode_ & smPlainRtf)
            type |= SFF_PLAINRTF;
    } else if ((mode_ & smUnicode) && RichEditVersion >= 2) {
        type |= SF_UNICODE;
    }
    if (mode_ & smSelection)
        type |= SFF_SELECTION;
    StreamRecord record;
    record.converter = converter;
    record.stream = &stream;
    record.holdTrailingNuls = !plain;
    EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&record), 0, &WriteStreamChunk};
    SendMessageA(owner_.Handle(), EM_STREAMOUT, type, reinterpret_cast<LPARAM>(&edit));
    if (edit.dwError != 0)
        throw EOutOfResources("Failed to Save Stream");
}

void TRichEditStrings::WithFileFormat(const std::string& path, const std::function<void()>& transfer)
{
    // The file's extension chooses the format and converter for this one
    // transfer; the format set before comes back whatever happens.
    const ConversionFormat* entry = FormatForPath(path);
    if (!converter_ && entry)
        converter_ = entry->conversionClass();
    const TRichStreamFormat format = format_;
    if (entry)
        format_ = entry->plainText ? sfPlainText : sfRichText;
    try {
        transfer();
    } catch (...) {
        format_ = format;
        converter_.reset();
        throw;
    }
    format_ = format;
}

void TRichEditStrings::LoadFromFile(const std::string& path)
{
    WithFileFormat(path, [&] {
        TFileStream stream(path, fmOpenRead | fmShareDenyWrite);
        LoadFromStream(stream);
    });
}

void TRichEditStrings::SaveToFile(const std::string& path)
{
    // Never truncated first: a save that fails leaves the file as it was.
    WithFileFormat(path, [&] { WriteStreamSafely(path, [&](TStream& stream) { SaveToStream(stream); }); });
}

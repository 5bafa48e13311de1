#include "KbfFormat.h"

#include "Streams.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace {

constexpr char Lf = '\n';
constexpr char Cr = '\r';
// A text-mode writer may pad a file with this byte; where the reader expects
// a number, a header or white space it ends the text. Inside a counted
// string it is an ordinary byte, because the count says where the text ends
// and stopping there would silently lose the rest of the outline.
constexpr char CtrlZ = 0x1A;

// The smallest CR-free page record: "1" LF "x" twice, then three one-digit
// numbers each followed by white space. Bounds the node count by the bytes
// left before anything is reserved.
constexpr std::size_t MinPageRecordBytes = 9;

// ---- writing into a buffer ----

// Copies the runs between line ends as blocks: a large outline is tens of
// megabytes of text, and a byte-by-byte append would dominate a save.
void AppendText(std::string& out, std::string_view text)
{
    const char* from = text.data();
    const char* const end = from + text.size();
    while (from < end) {
        const char* stop = from;
        while (stop < end && *stop != Cr && *stop != Lf) {
            ++stop;
        }
        out.append(from, stop);
        if (stop == end) {
            break;
        }
        if (*stop == Lf) {
            out += Cr;
            out += Lf;
        }
        from = stop + 1;
    }
}

void AppendNumber(std::string& out, std::int32_t value)
{
    char digits[16];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, written.ptr);
    out += Cr;
    out += Lf;
}

std::size_t CountWithoutCr(std::string_view text)
{
    return text.size() - static_cast<std::size_t>(std::count(text.begin(), text.end(), Cr));
}

void AppendCountedString(std::string& out, std::string_view text)
{
    const std::size_t characters = CountWithoutCr(text);
    // N must fit the reader's int32; a text of 2 GiB cannot be stored.
    if (characters >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::invalid_argument("text too long for an outline file");
    }
    AppendNumber(out, static_cast<std::int32_t>(characters + 1));
    out += 'x';
    AppendText(out, text);
    out += Cr;
    out += Lf;
}

void AppendHeader(std::string& out) { out += "kbf\r\n01\r\n"; }

void AppendPropertiesBlock(std::string& out, const OutlineProperties& properties)
{
    AppendCountedString(out, properties.Subject);
    AppendCountedString(out, properties.Description);
    AppendCountedString(out, properties.Created);
    AppendCountedString(out, properties.Modified);
    AppendCountedString(out, properties.SavedBy);
    AppendNumber(out, properties.Revisions);
    out += "xx\r\n";
}

void AppendPageRecord(std::string& out, const KbfPageView& page)
{
    AppendCountedString(out, page.body);
    AppendCountedString(out, page.title);
    AppendNumber(out, page.parent);
    AppendNumber(out, page.state);
    AppendNumber(out, page.expand);
}

void AppendRootRecord(std::string& out, const KbfPageView& root)
{
    AppendCountedString(out, root.body);
    AppendCountedString(out, root.title);
    AppendNumber(out, root.state);
}

void Flush(TStream& stream, std::string& out)
{
    if (!out.empty()) {
        stream.WriteBuffer(out.data(), static_cast<std::int64_t>(out.size()));
        out.clear();
    }
}

// ---- reading CR-free text ----

// Appends the CR-free text with every LF made CR LF.
void AppendWithCrLf(std::string& out, std::string_view text)
{
    const char* from = text.data();
    const char* const end = from + text.size();
    while (from < end) {
        const auto* lineFeed = static_cast<const char*>(std::memchr(from, Lf, static_cast<std::size_t>(end - from)));
        if (!lineFeed) {
            out.append(from, end);
            break;
        }
        out.append(from, lineFeed);
        out += Cr;
        out += Lf;
        from = lineFeed + 1;
    }
}

std::size_t CountOf(std::string_view text, char c)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), c));
}

// Reads a stream's bytes a block at a time with the CRs dropped, so a large
// file never has to be held whole: every megabyte of fresh memory costs time
// before it is used, and the pages' texts need their own anyway.
class KbfChunks {
public:
    KbfChunks(TStream& stream, std::size_t chunk) : stream_(stream), raw_(chunk, '\0') {}

    // Appends the next block's CR-free bytes; false at the end of the stream.
    bool AppendTo(std::string& out)
    {
        const std::int64_t got = std::min<std::int64_t>(left_, static_cast<std::int64_t>(raw_.size()));
        if (got <= 0) {
            return false;
        }
        stream_.ReadBuffer(raw_.data(), got);
        left_ -= got;
        const std::string_view block(raw_.data(), static_cast<std::size_t>(got));
        const std::size_t start = out.size();
        out.append(block);
        out.resize(static_cast<std::size_t>(std::remove(out.begin() + static_cast<std::ptrdiff_t>(start), out.end(), Cr) -
                                            out.begin()));
        return true;
    }

    // The CR-free size of what is left, the stream's position kept. Throws
    // as the stream does when it cannot be read.
    std::size_t CountLeft()
    {
        const std::int64_t start = stream_.Position();
        std::size_t count = 0;
        for (std::int64_t left = left_; left > 0;) {
            const std::int64_t got = std::min<std::int64_t>(left, static_cast<std::int64_t>(raw_.size()));
            stream_.ReadBuffer(raw_.data(), got);
            left -= got;
            const std::string_view block(raw_.data(), static_cast<std::size_t>(got));
            count += block.size() - CountOf(block, Cr);
        }
        stream_.SetPosition(start);
        return count;
    }

private:
    TStream& stream_;
    std::string raw_;
    std::int64_t left_ = std::max<std::int64_t>(stream_.Size() - stream_.Position(), 0);
};

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Walks the CR-free text: all of it in memory, or a window over it that is
// refilled from a KbfChunks as the walk goes on. Left() always counts the
// whole rest of the text, so the checks against it do not depend on how the
// text arrives.
class KbfCursor {
public:
    explicit KbfCursor(std::string_view text) : text_(text), total_(text.size()) {}
    KbfCursor(KbfChunks& chunks, std::size_t total) : chunks_(&chunks), total_(total) {}

    bool AtEnd() { return ended_ || !More(); }
    std::size_t Left() const { return ended_ ? 0 : total_ - consumed_ - pos_; }

    // Returns whether a line feed was among the bytes skipped.
    bool SkipWhite()
    {
        bool lineFeed = false;
        while (!AtEnd() && IsWhite(text_[pos_])) {
            if (text_[pos_] == CtrlZ) {
                ended_ = true;
                break;
            }
            lineFeed |= text_[pos_] == Lf;
            ++pos_;
        }
        return lineFeed;
    }

    // At most max characters, stopping before a line feed or the end.
    std::string Take(std::size_t max)
    {
        std::string taken;
        while (!AtEnd() && taken.size() < max && text_[pos_] != Lf) {
            if (text_[pos_] == CtrlZ) {
                ended_ = true;
                break;
            }
            taken += text_[pos_++];
        }
        return taken;
    }

    // Skips white space, then an optional minus and at least one digit,
    // within int32, followed by white space or the end. Anything else fails.
    bool Number(std::int32_t& value)
    {
        SkipWhite();
        if (AtEnd()) {
            return false;
        }
        bool negative = false;
        if (text_[pos_] == '-') {
            negative = true;
            ++pos_;
        }
        // The magnitude of INT32_MIN is one more than INT32_MAX.
        const std::int64_t limit = static_cast<std::int64_t>(std::numeric_limits<std::int32_t>::max()) + negative;
        std::int64_t magnitude = 0;
        std::size_t digits = 0;
        while (More() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            magnitude = magnitude * 10 + (text_[pos_] - '0');
            if (magnitude > limit) {
                return false;
            }
            ++pos_;
            ++digits;
        }
        if (digits == 0 || (More() && !IsWhite(text_[pos_]))) {
            return false;
        }
        value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
        return true;
    }

    // A counted string: number N, white space, one guard character of any
    // kind, then N - 1 characters (none for N <= 1). Fails, before taking
    // anything, when fewer characters are left than the count says.
    bool CountedString(std::string& out, KbfLineEnds lineEnds = KbfLineEnds::Lf)
    {
        std::int32_t n = 0;
        return Number(n) && CountedStringBody(n, out, lineEnds);
    }

    bool CountedStringBody(std::int32_t n, std::string& out, KbfLineEnds lineEnds = KbfLineEnds::Lf)
    {
        SkipWhite();
        if (AtEnd()) {
            return false;
        }
        ++pos_; // the guard
        std::size_t length = n > 1 ? static_cast<std::size_t>(n) - 1 : 0;
        if (length > Left()) {
            return false;
        }
        out.clear();
        if (length <= text_.size() - pos_) {
            // All in the window: sized once.
            const std::string_view text = text_.substr(pos_, length);
            if (lineEnds == KbfLineEnds::CrLf) {
                out.reserve(length + CountOf(text, Lf));
                AppendWithCrLf(out, text);
            } else {
                out.assign(text);
            }
            pos_ += length;
            return true;
        }
        while (length > 0 && More()) {
            const std::size_t take = std::min(length, text_.size() - pos_);
            const std::string_view text = text_.substr(pos_, take);
            if (lineEnds == KbfLineEnds::CrLf) {
                AppendWithCrLf(out, text);
            } else {
                out.append(text);
            }
            pos_ += take;
            length -= take;
        }
        return length == 0;
    }

private:
    // True when a character is at pos_, refilling the window when needed.
    bool More()
    {
        while (pos_ >= text_.size()) {
            if (!chunks_) {
                return false;
            }
            window_.erase(0, pos_);
            consumed_ += pos_;
            pos_ = 0;
            if (!chunks_->AppendTo(window_)) {
                chunks_ = nullptr;
                text_ = window_;
                return false;
            }
            text_ = window_;
        }
        return true;
    }

    KbfChunks* chunks_ = nullptr;
    std::string window_;
    std::string_view text_;
    std::size_t total_;
    std::size_t consumed_ = 0;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

KbfReadResult ReadHeader(KbfCursor& in)
{
    const std::string magic = in.Take(3);
    const bool lineFeed = in.SkipWhite();
    const std::string version = in.Take(2);
    if (magic == "kbf" && lineFeed && version == "01") {
        return KbfReadResult::Ok;
    }
    return magic == "kbf" && version != "01" ? KbfReadResult::NewerVersion : KbfReadResult::NotKbfFile;
}

bool ReadPropertiesBlock(KbfCursor& in, OutlineProperties& properties)
{
    if (!in.CountedString(properties.Subject) || !in.CountedString(properties.Description) ||
        !in.CountedString(properties.Created) || !in.CountedString(properties.Modified) ||
        !in.CountedString(properties.SavedBy) || !in.Number(properties.Revisions)) {
        return false;
    }
    in.SkipWhite();
    const bool trailer = in.Take(2) == "xx";
    in.SkipWhite();
    return trailer;
}

bool ReadPageRecord(KbfCursor& in, std::int32_t index, KbfPage& page, KbfLineEnds lineEnds)
{
    return in.CountedString(page.body, lineEnds) && in.CountedString(page.title) && in.Number(page.parent) &&
           in.Number(page.state) && in.Number(page.expand) &&
           // Only a page already read can be the parent: the page itself or a
           // later one would place the page under itself or a placeholder.
           page.parent >= 0 && page.parent < index && page.expand >= KbfNoChildren && page.expand <= KbfExpanded;
}

KbfPage DefaultRoot()
{
    KbfPage root;
    root.title = KbfUntitled;
    root.parent = -1;
    return root;
}

KbfReadResult ReadPages(KbfCursor& in, KbfOutline& outline, KbfLineEnds lineEnds)
{
    std::int32_t count = 0;
    if (!in.Number(count) || count < 1) {
        return KbfReadResult::DamagedPages;
    }
    in.SkipWhite();
    const std::size_t records = static_cast<std::size_t>(count) - 1;
    if (records > in.Left() / MinPageRecordBytes) {
        return KbfReadResult::DamagedPages;
    }
    outline.pages.reserve(records + 1);
    for (std::size_t i = 1; i <= records; ++i) {
        KbfPage page;
        if (!ReadPageRecord(in, static_cast<std::int32_t>(i), page, lineEnds)) {
            return KbfReadResult::DamagedPages;
        }
        outline.pages.push_back(std::move(page));
    }

    // A file that ends after the page records, or whose root count cannot be
    // read or is below 1, leaves the root with the defaults.
    in.SkipWhite();
    std::int32_t n = 0;
    if (in.AtEnd() || !in.Number(n) || n < 1) {
        return KbfReadResult::Ok;
    }
    KbfPage root = DefaultRoot();
    if (!in.CountedStringBody(n, root.body, lineEnds) || !in.CountedString(root.title) || !in.Number(root.state)) {
        return KbfReadResult::DamagedPages;
    }
    outline.pages[0] = std::move(root);
    outline.rootRecordRead = true;
    return KbfReadResult::Ok;
}

} // namespace

const char* KbfReadMessage(KbfReadResult result)
{
    switch (result) {
    case KbfReadResult::Ok:
        return "";
    case KbfReadResult::CannotOpen:
        return "Cannot open input file!";
    case KbfReadResult::NewerVersion:
        return "This file requires newer version of Quillo! Please visit our web site for newer version download!";
    case KbfReadResult::NotKbfFile:
        return "Input file is not Quillo .kbf file!";
    case KbfReadResult::Corrupted:
        return "Input file is corrupted!";
    case KbfReadResult::DamagedPages:
        return "Error loading file!";
    }
    return "Error loading file!";
}

void WriteKbfText(TStream& stream, std::string_view text)
{
    std::string out;
    AppendText(out, text);
    Flush(stream, out);
}

void WriteKbfNumber(TStream& stream, std::int32_t value)
{
    std::string out;
    AppendNumber(out, value);
    Flush(stream, out);
}

void WriteCountedString(TStream& stream, std::string_view text)
{
    std::string out;
    AppendCountedString(out, text);
    Flush(stream, out);
}

void WriteKbfHeader(TStream& stream)
{
    std::string out;
    AppendHeader(out);
    Flush(stream, out);
}

void WritePropertiesBlock(TStream& stream, OutlineProperties& properties, const KbfStamp& stamp)
{
    StampOutlineProperties(properties, stamp);
    std::string out;
    AppendPropertiesBlock(out, properties);
    Flush(stream, out);
}

void WritePageRecord(TStream& stream, const KbfPage& page)
{
    std::string out;
    AppendPageRecord(out, KbfViewOf(page));
    Flush(stream, out);
}

void WriteRootRecord(TStream& stream, const KbfPage& root)
{
    std::string out;
    AppendRootRecord(out, KbfViewOf(root));
    Flush(stream, out);
}

KbfPageView KbfViewOf(const KbfPage& page) { return KbfPageView{page.body, page.title, page.parent, page.state, page.expand}; }

// One system write per block of records rather than per record: a large
// outline has tens of thousands of them.
constexpr std::size_t KbfWriterBlock = 64 * 1024;

KbfWriter::KbfWriter(TStream& stream) : stream_(stream) { out_.reserve(2 * KbfWriterBlock); }

void KbfWriter::Header() { AppendHeader(out_); }

void KbfWriter::PropertiesBlock(OutlineProperties& properties, const KbfStamp& stamp)
{
    StampOutlineProperties(properties, stamp);
    AppendPropertiesBlock(out_, properties);
}

void KbfWriter::Number(std::int32_t value) { AppendNumber(out_, value); }

void KbfWriter::PageRecord(const KbfPageView& page)
{
    AppendPageRecord(out_, page);
    if (out_.size() >= KbfWriterBlock) {
        Flush(stream_, out_);
    }
}

void KbfWriter::RootRecord(const KbfPageView& root) { AppendRootRecord(out_, root); }

void KbfWriter::Finish() { Flush(stream_, out_); }

void WriteKbf(TStream& stream, KbfOutline& outline, const KbfStamp& stamp)
{
    const std::vector<KbfPage>& pages = outline.pages;
    if (pages.empty() || pages.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        throw std::invalid_argument("an outline file needs a root page and an int32 page count");
    }
    for (std::size_t i = 1; i < pages.size(); ++i) {
        if (pages[i].parent < 0 || static_cast<std::size_t>(pages[i].parent) >= i) {
            throw std::invalid_argument("a page's parent must be an earlier page");
        }
    }

    KbfWriter writer(stream);
    writer.Header();
    writer.PropertiesBlock(outline.properties, stamp);
    writer.Number(static_cast<std::int32_t>(pages.size()));
    for (std::size_t i = 1; i < pages.size(); ++i) {
        writer.PageRecord(KbfViewOf(pages[i]));
    }
    writer.RootRecord(KbfViewOf(pages[0]));
    writer.Finish();
}

namespace {

KbfReadResult Parse(KbfCursor& in, KbfOutline& outline, KbfLineEnds lineEnds)
{
    outline.properties = OutlineProperties();
    outline.pages.clear();
    outline.pages.push_back(DefaultRoot());
    outline.rootRecordRead = false;

    const KbfReadResult header = ReadHeader(in);
    if (header != KbfReadResult::Ok) {
        return header;
    }
    OutlineProperties properties;
    if (!ReadPropertiesBlock(in, properties)) {
        return KbfReadResult::Corrupted;
    }
    outline.properties = std::move(properties);
    return ReadPages(in, outline, lineEnds);
}

} // namespace

KbfReadResult ReadKbfBytes(std::string_view bytes, KbfOutline& outline)
{
    std::string text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        if (c != Cr) {
            text += c;
        }
    }
    KbfCursor in(text);
    return Parse(in, outline, KbfLineEnds::Lf);
}

KbfReadResult ReadKbf(TStream& stream, KbfOutline& outline, KbfLineEnds lineEnds)
{
    return ReadKbfInChunks(stream, outline, lineEnds, 1 << 20);
}

KbfReadResult ReadKbfInChunks(TStream& stream, KbfOutline& outline, KbfLineEnds lineEnds, std::size_t chunkBytes)
{
    KbfChunks chunks(stream, std::max<std::size_t>(chunkBytes, 1));
    KbfCursor in(chunks, chunks.CountLeft());
    return Parse(in, outline, lineEnds);
}

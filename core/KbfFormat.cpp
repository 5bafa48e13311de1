#include "KbfFormat.h"

#include "Streams.h"

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

void AppendText(std::string& out, std::string_view text)
{
    for (char c : text) {
        if (c == Cr) {
            continue;
        }
        if (c == Lf) {
            out += Cr;
        }
        out += c;
    }
}

void AppendNumber(std::string& out, std::int32_t value)
{
    out += std::to_string(value);
    out += Cr;
    out += Lf;
}

std::size_t CountWithoutCr(std::string_view text)
{
    std::size_t count = 0;
    for (char c : text) {
        count += c != Cr;
    }
    return count;
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

void AppendPageRecord(std::string& out, const KbfPage& page)
{
    AppendCountedString(out, page.body);
    AppendCountedString(out, page.title);
    AppendNumber(out, page.parent);
    AppendNumber(out, page.state);
    AppendNumber(out, page.expand);
}

void AppendRootRecord(std::string& out, const KbfPage& root)
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

bool IsWhite(char c) { return static_cast<unsigned char>(c) <= 0x20; }

class KbfCursor {
public:
    explicit KbfCursor(std::string_view text) : text_(text) {}

    bool AtEnd() const { return ended_ || pos_ >= text_.size(); }
    std::size_t Left() const { return AtEnd() ? 0 : text_.size() - pos_; }

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
    std::string_view Take(std::size_t max)
    {
        const std::size_t start = pos_;
        while (!AtEnd() && pos_ - start < max && text_[pos_] != Lf) {
            if (text_[pos_] == CtrlZ) {
                ended_ = true;
                break;
            }
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
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
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') {
            magnitude = magnitude * 10 + (text_[pos_] - '0');
            if (magnitude > limit) {
                return false;
            }
            ++pos_;
            ++digits;
        }
        if (digits == 0 || (pos_ < text_.size() && !IsWhite(text_[pos_]))) {
            return false;
        }
        value = static_cast<std::int32_t>(negative ? -magnitude : magnitude);
        return true;
    }

    // A counted string: number N, white space, one guard character of any
    // kind, then N - 1 characters (none for N <= 1). Fails, before taking
    // anything, when fewer characters are left than the count says.
    bool CountedString(std::string& out)
    {
        std::int32_t n = 0;
        return Number(n) && CountedStringBody(n, out);
    }

    bool CountedStringBody(std::int32_t n, std::string& out)
    {
        SkipWhite();
        if (AtEnd()) {
            return false;
        }
        ++pos_; // the guard
        const std::size_t length = n > 1 ? static_cast<std::size_t>(n) - 1 : 0;
        if (length > text_.size() - pos_) {
            return false;
        }
        out.assign(text_.substr(pos_, length));
        pos_ += length;
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    bool ended_ = false;
};

KbfReadResult ReadHeader(KbfCursor& in)
{
    const std::string_view magic = in.Take(3);
    const bool lineFeed = in.SkipWhite();
    const std::string_view version = in.Take(2);
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

bool ReadPageRecord(KbfCursor& in, std::int32_t index, KbfPage& page)
{
    return in.CountedString(page.body) && in.CountedString(page.title) && in.Number(page.parent) &&
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

KbfReadResult ReadPages(KbfCursor& in, KbfOutline& outline)
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
        if (!ReadPageRecord(in, static_cast<std::int32_t>(i), page)) {
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
    if (!in.CountedStringBody(n, root.body) || !in.CountedString(root.title) || !in.Number(root.state)) {
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
    AppendPageRecord(out, page);
    Flush(stream, out);
}

void WriteRootRecord(TStream& stream, const KbfPage& root)
{
    std::string out;
    AppendRootRecord(out, root);
    Flush(stream, out);
}

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

    // One system write per block of records rather than per record: a large
    // outline has tens of thousands of them.
    constexpr std::size_t FlushAt = 64 * 1024;
    std::string out;
    AppendHeader(out);
    StampOutlineProperties(outline.properties, stamp);
    AppendPropertiesBlock(out, outline.properties);
    AppendNumber(out, static_cast<std::int32_t>(pages.size()));
    for (std::size_t i = 1; i < pages.size(); ++i) {
        AppendPageRecord(out, pages[i]);
        if (out.size() >= FlushAt) {
            Flush(stream, out);
        }
    }
    AppendRootRecord(out, pages[0]);
    Flush(stream, out);
}

namespace {

KbfReadResult ParseCrFree(std::string_view text, KbfOutline& outline)
{
    outline.properties = OutlineProperties();
    outline.pages.clear();
    outline.pages.push_back(DefaultRoot());
    outline.rootRecordRead = false;

    KbfCursor in(text);
    const KbfReadResult header = ReadHeader(in);
    if (header != KbfReadResult::Ok) {
        return header;
    }
    OutlineProperties properties;
    if (!ReadPropertiesBlock(in, properties)) {
        return KbfReadResult::Corrupted;
    }
    outline.properties = std::move(properties);
    return ReadPages(in, outline);
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
    return ParseCrFree(text, outline);
}

KbfReadResult ReadKbf(TStream& stream, KbfOutline& outline)
{
    const std::int64_t left = stream.Size() - stream.Position();
    std::string text;
    if (left > 0) {
        if (static_cast<std::uint64_t>(left) > text.max_size()) {
            throw std::length_error("outline file too large");
        }
        text.resize(static_cast<std::size_t>(left));
        stream.ReadBuffer(text.data(), left);
        // In place, so a large file is held once, not twice.
        std::erase(text, Cr);
    }
    return ParseCrFree(text, outline);
}

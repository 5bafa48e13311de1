#pragma once
// The ".kbf" outline file: a small text format holding the outline's
// properties, every page with its body, title, parent, state icon and expand
// state, and the root page last. Branch files use the very same layout; only
// what the caller puts in (the numbering relative to the branch's top page,
// fresh properties) differs.
//
// The codec knows nothing of the tree control: it reads and writes a flat list
// of pages in file order, so it builds natively and can be fuzzed.
//
// On disk every line feed is CR LF; the reader drops every CR before it
// parses, so files with bare LF read the same. Text is bytes in the ANSI code
// page, passed through unchanged. A text may hold any byte, NUL and 0x1A
// included: counted strings are length-delimited, so such texts round-trip.

#include "OutlineProperties.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TStream;

// Expand states of a page record: the node's state in the tree when written.
constexpr std::int32_t KbfNoChildren = 0;
constexpr std::int32_t KbfCollapsed = 1;
constexpr std::int32_t KbfExpanded = 2;

struct KbfPage {
    std::string body;  // LF line ends (CRs are not stored); see KbfLineEnds
    std::string title;
    // Absolute index (file order) of the parent page; always below this
    // page's own index. Unused for the root (pages[0]).
    std::int32_t parent = 0;
    std::int32_t state = 1; // state icon number, kept as read (0 or 20 too)
    std::int32_t expand = KbfNoChildren; // unused for the root
};

// A page record's fields as the writer takes them: the texts are only looked
// at, so writing a page costs no copy of its text.
struct KbfPageView {
    std::string_view body;
    std::string_view title;
    std::int32_t parent = 0;
    std::int32_t state = 1;
    std::int32_t expand = KbfNoChildren;
};

// Line ends of the page bodies a reader hands over: LF as the file holds them,
// or CR LF as the editor keeps a page, which spares the caller converting
// every body again.
enum class KbfLineEnds { Lf, CrLf };

struct KbfOutline {
    OutlineProperties properties;
    // pages[0] is the root (stored last in the file, with only body, title and
    // state); pages[1..] are the other pages in pre-order, the absolute
    // indexes of the tree.
    std::vector<KbfPage> pages;
    // False when the file ended before the root record (or the record's count
    // was below 1): pages[0] then holds the defaults (empty body, state 1,
    // title "Untitled") and the caller decides what the root keeps.
    bool rootRecordRead = false;
};

enum class KbfReadResult {
    Ok,
    CannotOpen,     // the caller's: the file could not be opened
    NewerVersion,   // magic "kbf" with another version
    NotKbfFile,     // anything else in the header
    Corrupted,      // the properties block is damaged (trailer not "xx", ...)
    DamagedPages,   // the node count or a page record is damaged
};

// The message the user sees for a result; empty for Ok.
const char* KbfReadMessage(KbfReadResult result);

// Placeholder title of pages whose record has not been read.
inline constexpr const char* KbfUntitled = "Untitled";

// ---- writing -------------------------------------------------------------
// Each writer throws EWriteError when the stream takes fewer bytes than given
// (TStream::WriteBuffer); callers that must keep the old file write to a
// temporary file and replace the target only after everything succeeded.

// Stores LF as CR LF and drops CRs: the text as the file holds it.
void WriteKbfText(TStream& stream, std::string_view text);
// Decimal, then a line end.
void WriteKbfNumber(TStream& stream, std::int32_t value);
// N = characters + 1 after removing CRs, a line end, the guard "x", the text,
// a line end.
void WriteCountedString(TStream& stream, std::string_view text);
void WriteKbfHeader(TStream& stream);
// Stamps the record first (the stamp stays even if a later write fails),
// then writes the properties block.
void WritePropertiesBlock(TStream& stream, OutlineProperties& properties, const KbfStamp& stamp);
void WritePageRecord(TStream& stream, const KbfPage& page);
void WriteRootRecord(TStream& stream, const KbfPage& root);
KbfPageView KbfViewOf(const KbfPage& page);

// Writes a file piece by piece in the layout's order, gathering the bytes
// into large blocks. Finish writes what is still gathered; the destructor
// does not, since a write may throw.
class KbfWriter {
public:
    explicit KbfWriter(TStream& stream);
    KbfWriter(const KbfWriter&) = delete;
    KbfWriter& operator=(const KbfWriter&) = delete;

    void Header();
    // Stamps the record first, as WritePropertiesBlock does.
    void PropertiesBlock(OutlineProperties& properties, const KbfStamp& stamp);
    void Number(std::int32_t value);
    void PageRecord(const KbfPageView& page);
    void RootRecord(const KbfPageView& root);
    void Finish();

private:
    TStream& stream_;
    std::string out_;
};

// The whole file: header, stamped properties, C = pages.size(), the page
// records 1..C-1 and the root record. Throws std::invalid_argument, before
// writing anything, when pages is empty, larger than an int32 count, or a
// parent does not point at an earlier page: such a file could not be read.
void WriteKbf(TStream& stream, KbfOutline& outline, const KbfStamp& stamp);

// ---- reading -------------------------------------------------------------

// Reads the stream from its position to its end. Whatever the result, pages
// is never empty afterwards: pages[0] is a usable root (the defaults when
// its record was not read) followed by the page records read and checked
// before a failure. properties holds the file's block only when the header
// and the block were read. Never throws for damaged content; a stream that
// cannot be read throws as the stream does.
KbfReadResult ReadKbf(TStream& stream, KbfOutline& outline, KbfLineEnds lineEnds = KbfLineEnds::Lf);
// The same, reading the stream chunkBytes at a time (ReadKbf takes 1 MB):
// the result never depends on the size.
KbfReadResult ReadKbfInChunks(TStream& stream, KbfOutline& outline, KbfLineEnds lineEnds, std::size_t chunkBytes);
// The same on bytes in memory (CR bytes included, as on disk).
KbfReadResult ReadKbfBytes(std::string_view bytes, KbfOutline& outline);

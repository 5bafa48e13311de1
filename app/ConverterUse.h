#pragma once
// The hidden rich edit converter, borrowed to turn a text or RTF file into
// plain text.

#include "AnsiStrings.h"
#include "LongLines.h"
#include "RichEdit.h"
#include "RichEditStrings.h"
#include "Streams.h"

#include <functional>
#include <string>

// The converter is shared with printing and the exports: whatever happens
// while it converts, it ends empty, in plain-text mode and wrapping.
class TConverterUse {
public:
    explicit TConverterUse(TQRichEdit& rich) : rich_(rich) {}
    ~TConverterUse()
    {
        try {
            rich_.SetPlainText(true);
            rich_.Clear();
            rich_.SetWordWrap(true);
        } catch (...) {
            // Cleaning up after a failed load must not hide its error.
        }
    }
    TConverterUse(const TConverterUse&) = delete;
    TConverterUse& operator=(const TConverterUse&) = delete;

    // The file's whole text, its format chosen by its extension; each block
    // read is told to onBlock with its size.
    std::string PlainTextOf(const std::string& path, std::function<void(int bytes)> onBlock = {})
    {
        // A text file loads as plain text in either mode, so it needs no
        // second pass through the plain-text mode: a pass costs as much as
        // the load (seconds for a few megabytes under Wine).
        const bool textFile = LowerCase(ExtractFileExt(path)) == ".txt";
        if (!textFile)
            rich_.SetPlainText(false);
        rich_.SetWordWrap(false);
        {
            const TStreamInWatch told(rich_.Lines(), std::move(onBlock));
            if (textFile)
                LoadTextFile(path);
            else
                rich_.Lines().LoadFromFile(path);
        }
        rich_.SetPlainText(true);
        return rich_.Text();
    }

private:
    // The control takes a line far longer than any paragraph in time growing
    // faster than its length, wrapping or not (a line of 1 MB: 5 s, the same
    // text in lines 1.7 s): such lines come in pieces already.
    void LoadTextFile(const std::string& path)
    {
        std::string bytes;
        {
            TFileStream file(path, fmOpenRead | fmShareDenyWrite);
            bytes.resize(static_cast<std::size_t>(file.Size()));
            if (!bytes.empty())
                file.ReadBuffer(bytes.data(), file.Size());
        }
        TStringStream stream(BreakLongLines(std::move(bytes)));
        TRichEditStrings& lines = rich_.Lines();
        const TRichStreamFormat format = lines.Format();
        lines.SetFormat(sfPlainText);
        try {
            lines.LoadFromStream(stream);
        } catch (...) {
            lines.SetFormat(format);
            throw;
        }
        lines.SetFormat(format);
    }

    TQRichEdit& rich_;
};

#pragma once
// The hidden rich edit converter, borrowed to turn a text or RTF file into
// plain text.

#include "AnsiStrings.h"
#include "RichEdit.h"

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
        if (LowerCase(ExtractFileExt(path)) != ".txt")
            rich_.SetPlainText(false);
        rich_.SetWordWrap(false);
        {
            const TStreamInWatch told(rich_.Lines(), std::move(onBlock));
            rich_.Lines().LoadFromFile(path);
        }
        rich_.SetPlainText(true);
        return rich_.Text();
    }

private:
    TQRichEdit& rich_;
};

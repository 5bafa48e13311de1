#pragma once
// The line list of the rich edit control and its streaming. The list keeps no
// text of its own: every line operation reads or edits the control, and whole
// loads and saves go through the control's stream messages in plain text or
// RTF, through a conversion object that may recode the bytes.

#include "Control.h"
#include "StringList.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TQCustomRichEdit;
class TStream;

enum TRichStreamFormat { sfDefault, sfRichText, sfPlainText };
// A set of these bits.
enum TRichStreamMode : unsigned { smSelection = 1u << 0, smPlainRtf = 1u << 1, smNoObjects = 1u << 2, smUnicode = 1u << 3 };
using TRichStreamModes = unsigned;

// Reads and writes stream bytes unchanged. Each returns the count moved; a
// failure may also throw.
class TConversion {
public:
    virtual ~TConversion() = default;
    virtual int ConvertReadStream(TStream& stream, char* buffer, int size);
    virtual int ConvertWriteStream(TStream& stream, const char* buffer, int size);
};

// The stream holds text in the OEM code page; the control sees ANSI.
class TOEMConversion : public TConversion {
public:
    int ConvertReadStream(TStream& stream, char* buffer, int size) override;
    int ConvertWriteStream(TStream& stream, const char* buffer, int size) override;
};

// Makes a converter; stands where a class would be named.
using TConversionClass = std::function<std::unique_ptr<TConversion>()>;

template <typename T> TConversionClass ConversionClassOf()
{
    return [] { return std::unique_ptr<TConversion>(std::make_unique<T>()); };
}

class TRichEditStrings : public TStrings {
public:
    explicit TRichEditStrings(TQCustomRichEdit& owner);
    ~TRichEditStrings() override;

    // Lines are the control's lines: with word wrap on, every display line of
    // a wrapped paragraph counts as one.
    std::string Get(int index) const override;
    void Put(int index, const std::string& text) override;
    void* GetObject(int) const override { return nullptr; }
    void PutObject(int, void*) override {}
    int Count() const override;
    void Insert(int index, const std::string& text) override;
    void Delete(int index) override;
    void Clear() override;

    // These stand in for the base list's line-by-line versions, which would
    // cost one control edit per line (quadratic in the control): the whole
    // text goes in or out in one operation with the same result.
    std::string GetText() const;
    void SetText(const std::string& text);
    void Assign(const TStrings& source);
    void AddStrings(const TStrings& source);

    // Through EM_STREAMIN / EM_STREAMOUT. A load that fails in the first
    // format retries in the other one; both failing raises "Failed to Load
    // Stream", a failed save "Failed to Save Stream".
    void LoadFromStream(TStream& stream);
    void SaveToStream(TStream& stream);
    // Replaces the whole content with text as it stands, up to its first
    // NUL: plain text whatever the format, mode and converter, even where it
    // starts the way RTF does. A text longer than PlainTextPieceBytes goes in
    // a piece at a time, each piece told to OnStreamInBlock.
    void LoadPlainText(const std::string& text);
    static constexpr std::size_t PlainTextPieceBytes = 64 * 1024;
    // ".txt" is always plain text and ".rtf" always RTF (or what
    // RegisterConversionFormat added); other extensions follow the control.
    void LoadFromFile(const std::string& path);
    // Written safely (SafeFileWriter.h): a failed save leaves the file whole.
    void SaveToFile(const std::string& path);

    TRichStreamFormat Format() const { return format_; }
    void SetFormat(TRichStreamFormat format) { format_ = format; }
    TRichStreamModes Mode() const { return mode_; }
    void SetMode(TRichStreamModes mode) { mode_ = mode; }
    // Null: a fresh converter of the control's DefaultConversionClass per call.
    TConversion* Converter() const { return converter_.get(); }
    void SetConverter(std::unique_ptr<TConversion> converter) { converter_ = std::move(converter); }

    // The most source bytes read per chunk of a load; 0 lets the control's
    // request decide. Tests make it tiny to put chunk edges anywhere.
    int ReadChunkSize = 0;
    // Sees every block of bytes handed to the control during a load, after
    // conversion and line-break handling.
    std::function<void(const char* bytes, int count)> OnStreamInBlock;

protected:
    void SetUpdateState(bool updating) override;

private:
    void StreamInPlainText(std::string_view text);
    // Each piece at the end of the text, in order.
    void AppendPieces(const std::vector<std::string_view>& pieces);
    // Runs transfer with the format and converter the path's extension names.
    void WithFileFormat(const std::string& path, const std::function<void()>& transfer);
    // A fresh window made during an update bracket is switched to no redraw as well.
    friend class TQCustomRichEdit;
    // The break the control stores for a line end: version 1 keeps CR LF.
    std::string Break() const;
    void InsertAtEnd(const std::string& joined);

    TQCustomRichEdit& owner_;
    TRichStreamFormat format_ = sfDefault;
    TRichStreamModes mode_ = 0;
    std::unique_ptr<TConversion> converter_;
    TRedrawSuspension redraw_;
};

// Tells onBlock the size of every block a load hands the control, for as
// long as it lives: how far a long load has come.
class TStreamInWatch {
public:
    TStreamInWatch(TRichEditStrings& lines, std::function<void(int bytes)> onBlock) : lines_(lines)
    {
        if (onBlock)
            lines_.OnStreamInBlock = [onBlock = std::move(onBlock)](const char*, int count) { onBlock(count); };
    }
    ~TStreamInWatch() { lines_.OnStreamInBlock = nullptr; }
    TStreamInWatch(const TStreamInWatch&) = delete;
    TStreamInWatch& operator=(const TStreamInWatch&) = delete;

private:
    TRichEditStrings& lines_;
};

// Adds a file extension (without the dot) for LoadFromFile/SaveToFile; the
// newest registration wins.
void RegisterRichEditConversionFormat(const std::string& extension, bool plainText, TConversionClass conversionClass);

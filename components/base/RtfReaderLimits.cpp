#include "RtfReaderLimits.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace {
// The control's own sizes, and what real RTF stays far within.
constexpr int MaxGroupDepth = 32;
constexpr int MaxTableNesting = MaxGroupDepth;
constexpr int MaxRowCells = 64;
constexpr std::size_t MaxControlWordLetters = 32;
constexpr std::size_t MaxParameterDigits = 10;
constexpr std::size_t MaxNameLength = 255;

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
int HexValue(char c) { return IsDigit(c) ? c - '0' : (c | 0x20) - 'a' + 10; }

// A table level as the control keeps one: the cells its row definition
// places and the cells the row under way has ended. When a row ends, the
// control deletes its cells beyond the defined ones; deleting more than the
// last of them breaks its table structure, and it ends the process.
struct TableLevel {
    int defined = 0;
    int cells = 0;
};

// Reads the bytes token by token as the control's reader does, up to the
// end of the first group, where the control stops reading too.
class RtfScreen {
public:
    explicit RtfScreen(std::string_view bytes) : bytes_(bytes) {}

    bool Passes()
    {
        for (;;) {
            switch (NextToken()) {
            case Step::Go:
                break;
            case Step::End:
                return true;
            case Step::Refuse:
                return false;
            }
        }
    }

private:
    enum class Step { Go, End, Refuse };

    Step NextToken()
    {
        if (position_ >= bytes_.size())
            return Step::End;
        const char c = bytes_[position_++];
        switch (c) {
        case '{':
            nameRun_ = 0;
            return ++depth_ > MaxGroupDepth ? Step::Refuse : Step::Go;
        case '}':
            nameRun_ = 0;
            if (depth_ == nameScopeDepth_)
                nameScopeDepth_ = 0;
            return --depth_ <= 0 ? Step::End : Step::Go;
        case '\r':
        case '\n':
            // The reader drops line ends between tokens.
            return Step::Go;
        case '\t':
            nameRun_ = 0;
            return Step::Go;
        case '\\':
            return Escaped();
        default:
            return TextCharacter(c);
        }
    }

    // A name in the font table or style sheet runs up to a semicolon.
    Step TextCharacter(char c)
    {
        if (nameScopeDepth_ == 0)
            return Step::Go;
        if (c == ';') {
            nameRun_ = 0;
            return Step::Go;
        }
        return ++nameRun_ > MaxNameLength ? Step::Refuse : Step::Go;
    }

    Step Escaped()
    {
        if (position_ >= bytes_.size())
            return Step::End;
        const char c = bytes_[position_];
        if (IsLetter(c))
            return Word();
        ++position_;
        if (c == '\'') {
            // A character in hex; anything else there ends the reading.
            if (position_ + 2 > bytes_.size() || !IsHexDigit(bytes_[position_]) || !IsHexDigit(bytes_[position_ + 1]))
                return Step::End;
            const char decoded = static_cast<char>(HexValue(bytes_[position_]) * 16 + HexValue(bytes_[position_ + 1]));
            position_ += 2;
            return TextCharacter(decoded);
        }
        if (c == ':' || c == '{' || c == '}' || c == '\\')
            return TextCharacter(c);
        nameRun_ = 0;
        return Step::Go;
    }

    Step Word()
    {
        const std::size_t start = position_;
        while (position_ < bytes_.size() && IsLetter(bytes_[position_]))
            ++position_;
        const std::string_view word = bytes_.substr(start, position_ - start);
        if (word.size() > MaxControlWordLetters)
            return Step::Refuse;
        const bool negative = position_ < bytes_.size() && bytes_[position_] == '-';
        if (negative)
            ++position_;
        const std::size_t digitsStart = position_;
        while (position_ < bytes_.size() && IsDigit(bytes_[position_]))
            ++position_;
        const std::string_view digits = bytes_.substr(digitsStart, position_ - digitsStart);
        if (digits.size() > MaxParameterDigits)
            return Step::Refuse;
        if (position_ < bytes_.size() && bytes_[position_] == ' ')
            ++position_;
        long long parameter = 0;
        for (const char digit : digits)
            parameter = parameter * 10 + (digit - '0');
        nameRun_ = 0;
        return ControlWord(word, negative ? -parameter : parameter);
    }

    Step ControlWord(std::string_view word, long long parameter)
    {
        if ((word == "fonttbl" || word == "stylesheet") && nameScopeDepth_ == 0)
            nameScopeDepth_ = depth_;
        else if (word == "trowd")
            Level().defined = 0;
        else if (word == "cellx")
            Level().defined = std::min(Level().defined + 1, MaxRowCells);
        else if (word == "intbl" && nesting_ < 1) {
            Level();
            nesting_ = 1;
        } else if (word == "itap")
            return Nest(parameter);
        else if (word == "cell" || word == "nestcell" || word == "row" || word == "nestrow")
            return TableMark(word);
        return Step::Go;
    }

    // Cells and rows of a table inside a cell end with their own words; the
    // control's table structure breaks on either at the other's level.
    Step TableMark(std::string_view word)
    {
        const bool nested = word.starts_with("nest");
        if (nested != (nesting_ > 1))
            return Step::Refuse;
        if (tables_.empty())
            return Step::Go;
        if (word.ends_with("cell")) {
            ++tables_.back().cells;
            return Step::Go;
        }
        return EndRow();
    }

    // The control opens a table inside a cell one level at a time; opening
    // two at once after a cell of the row has ended breaks its structure.
    Step Nest(long long level)
    {
        if (level > MaxTableNesting)
            return Step::Refuse;
        if (level > nesting_ + 1 && !tables_.empty() && tables_.back().cells > 0)
            return Step::Refuse;
        for (; nesting_ < level; ++nesting_)
            tables_.emplace_back();
        return Step::Go;
    }

    Step EndRow()
    {
        TableLevel& row = tables_.back();
        if (row.defined > 0 && row.cells > row.defined)
            return Step::Refuse;
        row.cells = 0;
        nesting_ = std::max(nesting_ - 1, 0);
        if (nesting_ > 0 && tables_.size() > 1)
            tables_.pop_back();
        return Step::Go;
    }

    TableLevel& Level()
    {
        if (tables_.empty())
            tables_.emplace_back();
        return tables_.back();
    }

    std::string_view bytes_;
    std::size_t position_ = 0;
    int depth_ = 0;
    // The depth of the font table or style sheet being read, 0 outside them.
    int nameScopeDepth_ = 0;
    std::size_t nameRun_ = 0;
    std::vector<TableLevel> tables_;
    int nesting_ = 0;
};
} // namespace

bool RichEditCanReadRtf(std::string_view bytes)
{
    if (!bytes.starts_with("{\\rtf") && !bytes.starts_with("{\\urtf"))
        return true;
    return RtfScreen(bytes).Passes();
}
